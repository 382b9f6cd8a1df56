// Line input: what typing shows and returns, every editing key, the line
// end after the text, the first field, and keys typed ahead of a prompt.
#include <atomic>
#include <chrono>
#include <thread>

#include "screen/cp437.h"
#include "support/console_session.h"

namespace arrowgrid {
using namespace test_support;
namespace {

class LineInput : public ConsoleSessionTest {
 protected:
  void type(std::string_view utf8) { typeText(platform.script, utf8); }
  void press(KeyKind kind) { platform.script.pending.push_back(editingKey(kind)); }
  void pressCode(uint8_t code) { platform.script.pending.push_back(characterKey(code)); }
  std::string input() { return toUtf8(inputText(*console, ByteString(), false)); }
  std::string typedLine(std::string_view utf8) {
    typeLine(platform.script, utf8);
    return input();
  }
};

using FirstField = ::testing::Test;

TEST_F(LineInput, ReturnsTheFirstFieldOfTheTypedLine) {
  EXPECT_EQ(typedLine("  chat  "), "chat  ");
  EXPECT_EQ(typedLine("chat,chien"), "chat");
  EXPECT_EQ(typedLine("\"le,chat\" x"), "le,chat");
  EXPECT_EQ(typedLine("   "), "");
  EXPECT_EQ(typedLine("été"), "été");
  EXPECT_EQ(platform.lineInputs, 5);
}

TEST_F(LineInput, TypingFollowsThePromptTextAndEndsTheLine) {
  print("mot No", PrintEnding::NextZone);
  printNumber(*console, 3, PrintEnding::NextZone);
  EXPECT_EQ(typedLine("AB"), "AB");
  EXPECT_EQ(screenRow(*console, 1), "mot No         3            AB");
  expectCursor(2, 1);
  EXPECT_EQ(console->text.printColumn, 0);
}

TEST_F(LineInput, PromptAndQuestionMarkArePrintedFirst) {
  typeLine(platform.script, "x");
  EXPECT_EQ(toUtf8(inputText(*console, cp437Text("Nom"), true)), "x");
  EXPECT_EQ(screenRow(*console, 1), "Nom? x");
}

TEST_F(LineInput, LeftInsertsBeforeTheLastCharacter) {
  type("ab");
  press(KeyKind::Left);
  EXPECT_EQ(typedLine("x"), "axb");
  EXPECT_EQ(screenRow(*console, 1), "axb");
  expectCursor(2, 1);
}

TEST_F(LineInput, HomeEndRightAndLeftStayWithinTheLine) {
  type("bc");
  press(KeyKind::Right);  // already at the end
  press(KeyKind::Home);
  press(KeyKind::Left);  // already at the start
  type("a");
  press(KeyKind::End);
  EXPECT_EQ(typedLine("d"), "abcd");
  EXPECT_EQ(screenRow(*console, 1), "abcd");
}

TEST_F(LineInput, BackspaceRemovesTheCharacterBeforeThePoint) {
  pressCode(8);  // at the start: nothing
  type("abc");
  press(KeyKind::Left);
  pressCode(8);
  EXPECT_EQ(typedLine(""), "ac");
  EXPECT_EQ(screenRow(*console, 1), "ac");
}

TEST_F(LineInput, DeleteRemovesAtThePointAndBeepsAtTheEnd) {
  type("abc");
  press(KeyKind::Delete);
  EXPECT_EQ(platform.beeps, 0);
  press(KeyKind::Home);
  press(KeyKind::Delete);
  EXPECT_EQ(typedLine(""), "bc");
  EXPECT_EQ(platform.beeps, 1);
  EXPECT_EQ(screenRow(*console, 1), "bc");
}

TEST_F(LineInput, EscapeErasesTheLineFromTheScreen) {
  locateCursor(*console, 4, 10);
  print("> ");
  type("abcdef");
  pressCode(27);
  EXPECT_EQ(typedLine("xy"), "xy");
  EXPECT_EQ(screenRow(*console, 4), "         > xy");
}

TEST_F(LineInput, TabInsertsBlanksToTheNextMultipleOfEight) {
  type("ab");
  pressCode(9);  // place 2: six blanks
  type("c");
  press(KeyKind::Home);
  type("x");
  pressCode(9);  // place 1: seven blanks
  press(KeyKind::End);
  type("1234567");
  pressCode(9);  // place 24: eight blanks
  EXPECT_EQ(typedLine("|"), "x" + std::string(7, ' ') + "ab      c1234567" + std::string(8, ' ') + "|");
}

TEST_F(LineInput, UpAndDownMoveEightyPlacesWithinTheLine) {
  type(std::string(85, 'a'));
  press(KeyKind::Up);  // place 5
  type("X");
  press(KeyKind::Down);  // place 86, the end
  type("Y");
  press(KeyKind::Home);
  press(KeyKind::Up);    // would leave the line: ignored
  press(KeyKind::Down);  // place 80
  press(KeyKind::Down);  // would pass the end: ignored
  type("Z");
  const std::string expected =
      std::string(5, 'a') + "X" + std::string(74, 'a') + "Z" + std::string(6, 'a') + "Y";
  EXPECT_EQ(typedLine(""), expected);
}

TEST_F(LineInput, KeysWithoutACharacterAreIgnored) {
  type("a");
  press(KeyKind::CloseRequest);
  press(KeyKind::Other);
  pressCode(1);
  pressCode(7);
  pressCode(31);
  EXPECT_EQ(typedLine("b"), "ab");
  EXPECT_EQ(platform.beeps, 0);
  EXPECT_EQ(screenRow(*console, 1), "ab");
}

TEST_F(LineInput, LineFeedAlsoEndsTheLine) {
  type("ok");
  pressCode(10);
  EXPECT_EQ(input(), "ok");
}

TEST_F(LineInput, LineEndGoesAfterTheTextWhereverThePointWas) {
  locateCursor(*console, 5, 70);
  type(std::string(20, 'q'));
  press(KeyKind::Home);
  EXPECT_EQ(typedLine(""), std::string(20, 'q'));
  EXPECT_EQ(screenRow(*console, 6), std::string(9, 'q'));
  expectCursor(7, 1);
}

TEST_F(LineInput, TypingPastRow25ScrollsTheScreen) {
  locateCursor(*console, 25, 75);
  EXPECT_EQ(typedLine("abcdefghij"), "abcdefghij");
  // One scroll when the text passed column 80, one for the line end.
  EXPECT_EQ(screenRow(*console, 23), std::string(74, ' ') + "abcdef");
  EXPECT_EQ(screenRow(*console, 24), "ghij");
  expectCursor(25, 1);
}

TEST_F(LineInput, TextEndingInColumn80IsFollowedByItsNextRow) {
  locateCursor(*console, 24, 1);
  EXPECT_EQ(typedLine(std::string(80, 'm')), std::string(80, 'm'));
  EXPECT_EQ(screenRow(*console, 24), std::string(80, 'm'));
  expectCursor(25, 1);

  EXPECT_EQ(typedLine(std::string(80, 'n')), std::string(80, 'n'));
  EXPECT_EQ(screenRow(*console, 23), std::string(80, 'm'));
  EXPECT_EQ(screenRow(*console, 24), std::string(80, 'n'));
  EXPECT_EQ(screenRow(*console, 25), "");
  expectCursor(25, 1);
}

TEST_F(LineInput, PendingScrollIsCarriedOutBeforeTyping) {
  locateCursor(*console, 25, 1);
  print(std::string(80, 'x'));
  ASSERT_TRUE(console->text.pendingScroll);
  EXPECT_EQ(typedLine("ok"), "ok");
  EXPECT_EQ(screenRow(*console, 23), std::string(80, 'x'));
  EXPECT_EQ(screenRow(*console, 24), "ok");
  expectCursor(25, 1);
}

TEST_F(LineInput, EditingALineThatScrolledOffTheTopStaysSafe) {
  type(std::string(2100, 'a'));
  press(KeyKind::Home);
  type("b");
  pressCode(27);
  type(std::string(30, 'c'));
  for (int32_t i = 0; i < 5; ++i) pressCode(8);
  EXPECT_EQ(typedLine("d"), std::string(25, 'c') + "d");
  EXPECT_EQ(screenRow(*console, 1), std::string(25, 'c') + "d");
}

TEST_F(LineInput, FifteenKeysTypedAheadAreKeptAndASixteenthDropsTheOldest) {
  for (const char c : std::string_view("abcdefghijklmno"))
    pushKey(console->keys, characterKey(static_cast<uint8_t>(c)));
  pushKey(console->keys, characterKey(13));
  EXPECT_EQ(input(), "bcdefghijklmno");

  for (const char c : std::string_view("abcdefghijklmn"))
    pushKey(console->keys, characterKey(static_cast<uint8_t>(c)));
  pushKey(console->keys, characterKey(13));
  EXPECT_EQ(input(), "abcdefghijklmn");
}

TEST_F(LineInput, LongScriptedLinesAreNotCutByTheQueueLimit) {
  const std::string line(300, 'w');
  EXPECT_EQ(typedLine(line), line);
}

TEST_F(LineInput, AnExhaustedScriptStopsTheWait) {
  type("abc");
  EXPECT_THROW(input(), ScriptExhausted);
}

TEST(LineInputWait, KeysFromAnotherThreadArriveWithoutSpinning) {
  auto console = std::make_unique<Console>();
  openSurface(console->surface);
  std::atomic<int32_t> waits{0};
  console->platform.context = &waits;
  console->platform.waitingForKey = [](void* context, Console&) {
    ++*static_cast<std::atomic<int32_t>*>(context);
  };
  std::thread typist([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    for (const char c : std::string_view("ok\r"))
      pushKey(console->keys, characterKey(static_cast<uint8_t>(c)));
  });
  const ByteString line = inputText(*console, ByteString(), false);
  typist.join();
  EXPECT_EQ(line, "ok");
  // One look every 25 ms: about six, never thousands.
  EXPECT_GE(waits.load(), 3);
  EXPECT_LE(waits.load(), 12);
}

// A paste into the window: its thread appends keys far faster than line
// input takes them, yet the whole line arrives.
TEST(LineInputWait, APasteAtAPromptLosesNoKey) {
  auto console = std::make_unique<Console>();
  openSurface(console->surface);
  std::atomic<bool> waiting{false};
  console->platform.context = &waiting;
  console->platform.waitingForKey = [](void* context, Console&) {
    *static_cast<std::atomic<bool>*>(context) = true;
  };
  const std::string pasted(100, 'p');
  std::thread typist([&] {
    while (!waiting) std::this_thread::yield();
    for (const char c : pasted + "\r") pushKey(console->keys, characterKey(static_cast<uint8_t>(c)));
  });
  const ByteString line = inputText(*console, ByteString(), false);
  typist.join();
  EXPECT_EQ(line, pasted);
}

TEST(FirstField, QuotesCommasBlanksAndTheLengthCap) {
  EXPECT_EQ(firstField(" \t\tchat"), "chat");
  EXPECT_EQ(firstField("a\"b,c"), "a\"b");
  EXPECT_EQ(firstField("\"open, quote"), "open, quote");
  EXPECT_EQ(firstField("\"\""), "");
  EXPECT_EQ(firstField(",x"), "");
  EXPECT_EQ(firstField(""), "");
  EXPECT_EQ(firstField(" \t "), "");
  EXPECT_EQ(firstField(std::string(5000, 'k')), std::string(INPUT_FIELD_MAX, 'k'));
  EXPECT_EQ(firstField("\"" + std::string(5000, 'k') + "\""), std::string(INPUT_FIELD_MAX, 'k'));
}

}  // namespace
}  // namespace arrowgrid
