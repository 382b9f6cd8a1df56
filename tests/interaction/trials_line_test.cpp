// The trials line: whatever happened on the screen in between, a print
// leaves the text layer and the picture exactly as the full print sequence
// would; and the search keeps the line and the end message on screen.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "interaction/search_resume.h"
#include "interaction/trials_line.h"
#include "screen/console.h"
#include "screen/cp437.h"
#include "search/grid_evaluation.h"
#include "search/search_test_support.h"
#include "support/console_session.h"
#include "support/french_texts.h"

namespace arrowgrid {
using namespace test_support;
namespace {

// Two consoles fed the same operations: one prints the trials line the
// quick way, the other always with the full sequence.
class TrialsLineTest : public ::testing::Test {
 protected:
  void onBoth(const std::function<void(Console&)>& operation) {
    operation(*quick_.console);
    operation(*full_.console);
  }

  // The line printed for count, as a picture or a stop of the search would.
  void trial(int64_t count) {
    printTrialsLine(*quick_.console, quickLine_, count);
    printTrialsLineFull(*full_.console, fullLine_, count);
    expectSameText();
  }

  // The line at first, first + step, ... up to last; with presentEvery, the
  // glyphs are painted every so many prints.
  void trials(int64_t first, int64_t last, int64_t step = 1, int64_t presentEvery = 0) {
    int64_t prints = 0;
    for (int64_t count = first; count <= last && !HasFailure(); count += step) {
      trial(count);
      if (presentEvery > 0 && ++prints % presentEvery == 0) {
        paintPicture(*quick_.console);
        paintPicture(*full_.console);
      }
    }
  }

  void expectSameText() {
    const TextScreen& a = quick_.console->text;
    const TextScreen& b = full_.console->text;
    ASSERT_EQ(a.cells, b.cells) << "quick:\n"
                                << screenText(*quick_.console) << "\nfull:\n"
                                << screenText(*full_.console);
    ASSERT_EQ(a.cursorRow, b.cursorRow);
    ASSERT_EQ(a.cursorColumn, b.cursorColumn);
    ASSERT_EQ(a.printColumn, b.printColumn);
    ASSERT_EQ(a.pendingScroll, b.pendingScroll);
  }

  void expectSamePicture() {
    paintPicture(*quick_.console);
    paintPicture(*full_.console);
    EXPECT_TRUE(quick_.console->surface.pixels == full_.console->surface.pixels);
  }

  ConsoleSession quick_, full_;
  TrialsLineState quickLine_, fullLine_;
};

TEST_F(TrialsLineTest, ConsecutiveCountsAcrossEveryWidth) {
  trials(1, 1200);
  trials(999'999'990, 1'000'000'010);     // ten digits reach column 80
  trials(9'999'999'990, 10'000'000'010);  // eleven wrap onto row 22
  trials(999'999'999'999'999'990, 1'000'000'000'000'000'010);
  expectSamePicture();
  // Almost every trial only rewrote digits.
  EXPECT_LT(quickLine_.fullPrints, 12);
  // Nineteen digits run past column 80: the last two continue on row 22.
  EXPECT_EQ(screenRow(*quick_.console, 21), trialsRow("10000000000000000"));
  EXPECT_EQ(screenRow(*quick_.console, 22), "10");
}

TEST_F(TrialsLineTest, JumpsOfAnyLengthRewriteOnlyTheirDigits) {
  // The search shows the line after jumps over many trials at once.
  trials(1, 100'000, 997);
  EXPECT_EQ(quickLine_.fullPrints, 4);  // one per width met: 1, 3, 4 and 5 digits
  expectSamePicture();
  // A picture paints the surface: the print after it is a full one.
  trials(100'003, 999'999, 12'345, 5);
  expectSamePicture();
}

TEST_F(TrialsLineTest, OtherOutputInBetweenIsOverwrittenAsTheFullSequenceWould) {
  trials(1, 20);
  onBoth([](Console& c) { printText(c, cp437Text("ailleurs"), PrintEnding::NoEnding); });
  trials(21, 30);
  onBoth([](Console& c) {  // over the line itself
    locateCursor(c, 21, 60);
    printText(c, cp437Text("XXXXXXXXXXXXXXX"), PrintEnding::NoEnding);
  });
  trials(31, 40);
  onBoth([](Console& c) {  // the report's prompt, then its answer line
    locateCursor(c, 22, 30);
    printText(c, cp437Text(REPORT_MENU_PROMPT), PrintEnding::LineEnd);
    locateCursor(c, 23, 30);
    printText(c, cp437Text(REPORT_PAUSE_PROMPT), PrintEnding::NoEnding);
  });
  trials(41, 50);
  onBoth([](Console& c) { clearScreen(c); });
  trials(51, 60);
  onBoth([](Console& c) {  // ends in the last cell: a pending scroll
    locateCursor(c, 25, 76);
    printText(c, cp437Text("fin!!"), PrintEnding::NoEnding);
  });
  ASSERT_TRUE(quick_.console->text.pendingScroll);
  trials(61, 70);
  expectSamePicture();
}

TEST_F(TrialsLineTest, LinesDrawnOverTheRowAreRepaintedByTheNextTrial) {
  trials(1, 5);
  paintPicture(*quick_.console);
  paintPicture(*full_.console);
  // A line across row 21 (logical y 18) with no text operation in between.
  onBoth([](Console& c) { drawLine(c, 0.0f, 18.5f, 80.0f, 18.5f); });
  trials(6, 8);
  expectSamePicture();
}

TEST_F(TrialsLineTest, PicturesBetweenPrintsKeepThePictureRight) {
  int64_t count = 1;
  for (int64_t length : {1, 2, 17, 3, 150, 1, 1, 99, 250, 4}) {
    trials(count, count + length - 1, 1, 7);
    count += length;
    expectSamePicture();
  }
  trials(count, count + 2000, 3, 333);
  expectSamePicture();
}

TEST_F(TrialsLineTest, CountsThatGoBackOrChangeWidthRunTheFullSequenceWhenNeeded) {
  trials(100, 110);
  trial(110);
  trial(50);
  trial(51);
  onBoth([](Console& c) { locateCursor(c, 3, 3); });
  trial(7);
  trial(7);
  expectSamePicture();
}

TEST(SearchResume, WholeSearchShowsTheFinalCountAndTheEndMessage) {
  auto search = test_support::makeSearch({"AB", "BC", "CA"});
  ConsoleSession session;
  TrialsLineState line;
  session.console->platform.refreshWanted.store(true);
  evaluateArrangement(*search);
  while (searchUntilShown(*search, *session.console, line, SelectionMode::AllAccepted) == SearchStop::Shown) {
  }
  printSearchFinished(*session.console);
  EXPECT_EQ(search->state.trialCount, 26);
  EXPECT_EQ(screenRow(*session.console, 21), trialsRow("26"));
  EXPECT_EQ(screenRow(*session.console, 22), SEARCH_FINISHED_ROW);
  EXPECT_EQ(screenRow(*session.console, 23), "");
  EXPECT_EQ(session.console->text.cursorRow, 23);
  EXPECT_EQ(session.console->text.cursorColumn, 1);
  // A window that asked for a picture during the search got it.
  EXPECT_FALSE(session.console->platform.refreshWanted.load());

  // Resumed after the end: one more trial on screen, and the end again.
  EXPECT_EQ(searchUntilShown(*search, *session.console, line, SelectionMode::AllAccepted),
            SearchStop::Finished);
  EXPECT_EQ(screenRow(*session.console, 21), trialsRow("27"));
}

TEST(SearchResume, PicturesDuringLongJumpsShowTheLineOfTheirTrial) {
  auto search = test_support::makeSearch({"MAISON", "JARDIN", "TABLE", "PORTE", "SOLEIL"});
  ConsoleSession session;
  session.platform.wantsEveryPicture = true;
  session.console->platform.refreshWanted.store(true);
  printText(*session.console, cp437Text("le dialogue"), PrintEnding::NoEnding);
  evaluateArrangement(*search);
  TrialsLineState line;
  while (searchUntilShown(*search, *session.console, line, SelectionMode::NewBestsOnly) ==
         SearchStop::Shown) {
  }
  ASSERT_GT(session.platform.pictures.size(), 100u);
  // Each picture shows the line as the full sequence leaves it, over what
  // was on the screen, its count rising from picture to picture.
  const std::string label = trialsRow("");
  int64_t previous = 1;
  for (const std::string& picture : session.platform.pictures) {
    std::vector<std::string> rows(1);
    for (char c : picture) {
      if (c == '\n') {
        rows.emplace_back();
      } else {
        rows.back().push_back(c);
      }
    }
    ASSERT_EQ(rows[0], "le dialogue");
    ASSERT_EQ(rows[20].substr(0, label.size()), label);
    const int64_t count = std::stoll(rows[20].substr(label.size()));
    ASSERT_GE(count, previous);
    previous = count;
    ASSERT_EQ(rows[21], "");
    ASSERT_EQ(rows[22], "");
  }
  EXPECT_EQ(screenRow(*session.console, 21), label + std::to_string(search->state.trialCount));
}

}  // namespace
}  // namespace arrowgrid
