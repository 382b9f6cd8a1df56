// Word list entry driven by scripted keys, read back from the text layer:
// folding, refusals with their count, the end question, the full list, and
// random typing that must never store anything but A-Z and the hyphen.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "interaction/word_entry.h"
#include "platform/key_script.h"
#include "support/console_session.h"
#include "support/french_texts.h"

namespace arrowgrid {
using namespace test_support;
namespace {

struct EntrySession : ConsoleSession {
  WordList list;

  // Types the lines, then runs entry: true when it returned.
  bool enter(std::initializer_list<std::string_view> lines) {
    type(lines);
    return run();
  }
  bool run() {
    return runsToEnd([&] { enterWordList(*console, list); });
  }
};

TEST(WordFolding, LowerCaseOnlyIsFoldedAndTheRestIsCounted) {
  ByteString word = "Arc-en-ciel";
  EXPECT_EQ(foldWord(word), 0);
  EXPECT_EQ(word, "ARC-EN-CIEL");

  // é (130) and every byte above 127 stay as they are; a digit, a blank,
  // an apostrophe and the bytes next to the ranges are untreated.
  word = ByteString("\x82t\x82", 3);
  EXPECT_EQ(foldWord(word), 2);
  EXPECT_EQ(word, ByteString("\x82T\x82", 3));
  word = "@[`{,./ 9'";
  EXPECT_EQ(foldWord(word), 10);
  EXPECT_EQ(word, "@[`{,./ 9'");
  word = "azAZ-";
  EXPECT_EQ(foldWord(word), 0);
  EXPECT_EQ(word, "AZAZ-");
}

TEST(WordEntry, ListsFoldedWordsInZonesAndEndsOnO) {
  EntrySession session;
  session.list.words[5] = "LEFTOVER";  // whatever was there before is cleared
  session.list.wordCount = 7;
  ASSERT_TRUE(session.enter({"chat", "Arc-en-ciel", "x", "", "O"}));
  const WordList& list = session.list;
  ASSERT_EQ(list.wordCount, 3);
  EXPECT_EQ(list.words[1], "CHAT");
  EXPECT_EQ(list.words[2], "ARC-EN-CIEL");
  EXPECT_EQ(list.words[3], "X");
  for (int32_t i = 4; i <= MAX_WORDS; ++i) EXPECT_EQ(list.words[static_cast<size_t>(i)], "") << i;

  EXPECT_EQ(session.row(1), ENTRY_TITLE);
  EXPECT_EQ(session.row(2), "");
  EXPECT_EQ(session.row(3), listedWordRow(1, "CHAT"));
  EXPECT_EQ(session.row(4), listedWordRow(2, "ARC-EN-CIEL"));
  EXPECT_EQ(session.row(5), listedWordRow(3, "X"));
  EXPECT_EQ(session.row(6), listedWordRow(4));
  EXPECT_EQ(session.row(7), ENTRY_END_QUESTION);
  EXPECT_EQ(session.row(8), "O");
}

TEST(WordEntry, TypingStartsInColumn29AndTheEndQuestionBelowIt) {
  EntrySession session;
  typeText(session.platform.script, "ab");
  EXPECT_FALSE(session.run());
  EXPECT_EQ(session.row(3), listedWordRow(1, "ab"));
  EXPECT_EQ(cellAt(*session.console, 3, 29), 'a');

  EntrySession ending;
  EXPECT_FALSE(ending.enter({"ab", "bc", ""}));
  EXPECT_EQ(ending.row(5), listedWordRow(3));
  EXPECT_EQ(ending.row(6), ENTRY_END_QUESTION);
  EXPECT_EQ(ending.console->text.cursorRow, 7);
  EXPECT_EQ(ending.console->text.cursorColumn, 1);
}

TEST(WordEntry, RefusedWordsShowTheirUntreatedCountThenTheSameScreen) {
  struct Case {
    std::string_view typed;
    std::string echo;     // the typing as it stays on row 3
    std::string message;  // row 4
  };
  const Case cases[] = {
      {"été", "été", untreatedCharactersRow(2)},
      {"  chat  ", "  chat", untreatedCharactersRow(2)},
      {"le chat", "le chat", untreatedCharactersRow(1)},
      {"chat2", "chat2", untreatedCharactersRow(1)},
      {"l'arbre", "l'arbre", untreatedCharactersRow(1)},
      {"\"le,chat\"", "\"le,chat\"", untreatedCharactersRow(1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed));
    EntrySession paused;
    EXPECT_FALSE(paused.enter({"mot", c.typed}));
    EXPECT_EQ(paused.row(4), listedWordRow(2, c.echo));
    EXPECT_EQ(paused.row(5), c.message);
    EXPECT_EQ(paused.row(6), "");
    EXPECT_EQ(paused.row(7), PRESS_RETURN);
    EXPECT_EQ(paused.list.wordCount, 1);

    EntrySession after;  // Enter at the pause: the list as it was, asking again
    EXPECT_FALSE(after.enter({"mot", c.typed, ""}));
    EXPECT_EQ(after.row(3), listedWordRow(1, "MOT"));
    EXPECT_EQ(after.row(4), listedWordRow(2));
    EXPECT_EQ(after.row(5), "");
    EXPECT_EQ(after.list.wordCount, 1);
  }
}

TEST(WordEntry, OnlyTheFirstFieldCountsAndRepeatsAreSeparateWords) {
  EntrySession session;
  ASSERT_TRUE(session.enter({"chat,chien", "chat", "", "o"}));
  ASSERT_EQ(session.list.wordCount, 2);
  EXPECT_EQ(session.list.words[1], "CHAT");
  EXPECT_EQ(session.list.words[2], "CHAT");
  EXPECT_EQ(session.row(3), listedWordRow(1, "CHAT"));
  EXPECT_EQ(session.row(4), listedWordRow(2, "CHAT"));
}

TEST(WordEntry, TooFewWordsAreRefusedBeforeTheEndQuestion) {
  EntrySession none;
  EXPECT_FALSE(none.enter({""}));
  EXPECT_EQ(none.row(3), listedWordRow(1));
  EXPECT_EQ(none.row(4), TOO_FEW_WORDS);
  EXPECT_EQ(none.row(5), "");
  EXPECT_EQ(none.row(6), PRESS_RETURN);

  EntrySession again;  // the pause acknowledged: the empty entry screen
  EXPECT_FALSE(again.enter({"  ", ""}));
  EXPECT_EQ(again.row(1), ENTRY_TITLE);
  EXPECT_EQ(again.row(3), listedWordRow(1));
  EXPECT_EQ(again.row(4), "");

  EntrySession one;
  EXPECT_FALSE(one.enter({"a", ""}));
  EXPECT_EQ(one.row(3), listedWordRow(1, "A"));
  EXPECT_EQ(one.row(5), TOO_FEW_WORDS);
  EXPECT_EQ(one.row(7), PRESS_RETURN);

  EntrySession finished;
  ASSERT_TRUE(finished.enter({"", "", "a", "", "", "b", "", "O"}));
  EXPECT_EQ(finished.list.wordCount, 2);
}

TEST(WordEntry, OnlyABareNContinuesEntry) {
  struct Case {
    std::string_view answer;
    bool continues;
  };
  const Case cases[] = {{"n", true},   {"N", true},   {"\"n\"", true}, {"O", false},
                        {"o", false},  {"", false},   {"oui", false},  {"non", false},
                        {"no", false}, {"n ", false}, {"n,", true},    {"nn", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.answer));
    EntrySession session;
    ASSERT_TRUE(session.enter({"ab", "bc", "", c.answer, "cd", "", "O"}));
    if (c.continues) {
      ASSERT_EQ(session.list.wordCount, 3);
      EXPECT_EQ(session.list.words[3], "CD");
    } else {
      EXPECT_EQ(session.list.wordCount, 2);
      EXPECT_EQ(session.list.words[3], "");
    }
  }
}

std::string wordNumbered(int32_t i) {
  return std::string{'w', static_cast<char>('a' + i / 26), static_cast<char>('a' + i % 26)};
}
std::string folded(std::string word) {
  for (char& c : word) c = static_cast<char>(c - 32);
  return word;
}

TEST(WordEntry, FiftyWordsEndEntryWithoutTheQuestion) {
  EntrySession session;
  for (int32_t i = 1; i <= MAX_WORDS; ++i) typeLine(session.platform.script, wordNumbered(i));
  EXPECT_FALSE(session.run());
  // The list has scrolled: words 29 to 50, the message, an empty row, the pause.
  for (int32_t row = 1; row <= 22; ++row) {
    EXPECT_EQ(session.row(row), listedWordRow(row + 28, folded(wordNumbered(row + 28)))) << row;
  }
  EXPECT_EQ(session.row(23), "nombre maximum atteint");
  EXPECT_EQ(session.row(24), "");
  EXPECT_EQ(session.row(25), PRESS_RETURN);
  EXPECT_EQ(session.console->text.cursorColumn, 32);
  EXPECT_EQ(session.list.wordCount, MAX_WORDS);

  // One Enter at that pause ends entry: no yes/no question follows.
  EntrySession full;
  for (int32_t i = 1; i <= MAX_WORDS; ++i) typeLine(full.platform.script, wordNumbered(i));
  typeLine(full.platform.script, "");
  ASSERT_TRUE(full.run());
  ASSERT_EQ(full.list.wordCount, MAX_WORDS);
  EXPECT_EQ(full.list.words[50], "WBY");
}

// Whatever was typed, the list holds only words of A-Z and '-'.
void expectSoundList(const WordList& list, bool returned) {
  ASSERT_GE(list.wordCount, returned ? 2 : 0);
  ASSERT_LE(list.wordCount, MAX_WORDS);
  for (int32_t i = 1; i <= MAX_WORDS; ++i) {
    const ByteString& word = list.words[static_cast<size_t>(i)];
    if (i > list.wordCount) {
      EXPECT_TRUE(word.empty()) << i;
      continue;
    }
    EXPECT_FALSE(word.empty()) << i;
    for (unsigned char c : word) EXPECT_TRUE((c >= 65 && c <= 90) || c == 45) << i << ": " << int(c);
  }
}

TEST(WordEntryFuzz, RandomBytesAndEditingKeysStoreOnlyValidWords) {
  const KeyKind editing[] = {KeyKind::Left,   KeyKind::Right,        KeyKind::Up,
                             KeyKind::Down,   KeyKind::Home,         KeyKind::End,
                             KeyKind::Delete, KeyKind::CloseRequest, KeyKind::Other};
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    EntrySession session;
    for (int line = 0; line < 150; ++line) {
      const int length = static_cast<int>(random() % 60);
      for (int k = 0; k < length; ++k) {
        if (random() % 10 == 0) {
          session.platform.script.pending.push_back(editingKey(editing[random() % 9]));
        } else {
          session.platform.script.pending.push_back(characterKey(static_cast<uint8_t>(1 + random() % 255)));
        }
      }
      session.platform.script.pending.push_back(characterKey(13));
    }
    const bool returned = session.run();
    expectSoundList(session.list, returned);
  }
}

TEST(WordEntryFuzz, MostlyLettersFillTheListAndStayValid) {
  // Letters, hyphens and a few stray bytes, no empty line: most words pass,
  // so the list fills, with refusals mixed in.
  const std::string common = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-";
  for (uint32_t seed = 1; seed <= 8; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    EntrySession session;
    for (int line = 0; line < 120; ++line) {
      const int length = 1 + static_cast<int>(random() % 11);
      for (int k = 0; k < length; ++k) {
        const uint8_t code = random() % 40 == 0 ? static_cast<uint8_t>(128 + random() % 128)
                                                : static_cast<uint8_t>(common[random() % common.size()]);
        session.platform.script.pending.push_back(characterKey(code));
      }
      session.platform.script.pending.push_back(characterKey(13));
    }
    EXPECT_TRUE(session.run());  // the line after the 50th word answers the pause
    expectSoundList(session.list, true);
    EXPECT_EQ(session.list.wordCount, MAX_WORDS);
  }
}

}  // namespace
}  // namespace arrowgrid
