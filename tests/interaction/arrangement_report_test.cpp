// The report screen: counts, grid, trials line and the pause prompt.
#include <gtest/gtest.h>

#include <memory>

#include "interaction/arrangement_report.h"
#include "interaction/trials_line.h"
#include "platform/key_script.h"
#include "search/fast_evaluation.h"
#include "search/grid_evaluation.h"
#include "search/search_engine.h"
#include "search/search_test_support.h"
#include "support/console_session.h"
#include "support/french_texts.h"
#include "support/hand_grid.h"

namespace arrowgrid {
using namespace test_support;
namespace {

struct ReportFixture : ConsoleSessionTest {
  DisplaySettings settings;
  Grid grid = emptyHandGrid(0, -1, 5, 4);
  void SetUp() override {
    putHandCell(grid, 0, 0, CELL_RIGHT_ARROW);
    putHandCell(grid, 1, 0, 'A');
    putHandCell(grid, 2, 0, 'B');
    putHandCell(grid, 3, 0, CELL_BLOCK);
  }
};

TEST_F(ReportFixture, CountsGridAndTrialsLineWithoutPause) {
  // Something of an earlier screen, to be cleared.
  printText(*console, "old", PrintEnding::LineEnd);
  const ReportOutcome outcome = showArrangementReport(*console, {2, 0, 1, 20}, grid, 7, settings);
  EXPECT_EQ(outcome, ReportOutcome::Continue);
  EXPECT_EQ(platform.lineInputs, 0);
  EXPECT_EQ(screenRow(*console, 1), "Nb mots placés = 2          Nb de voisinages non désirés = 0");
  EXPECT_EQ(screenRow(*console, 2), "Nb recoupement = 1          Surface = 5* 4= 20");
  EXPECT_EQ(cellAt(*console, 4, 2), CELL_RIGHT_ARROW);
  EXPECT_EQ(cellAt(*console, 4, 4), 'A');
  EXPECT_EQ(cellAt(*console, 4, 6), 'B');
  EXPECT_EQ(pixelAt(*console, 80, 28), COLOR_FOREGROUND);  // frame's top right corner
  EXPECT_EQ(screenRow(*console, 21), trialsRow("7"));
  EXPECT_EQ(screenRow(*console, 22), "");
  EXPECT_EQ(screenRow(*console, 23), "");
  // The seven blanks follow the count: the cursor stands after them.
  EXPECT_EQ(console->text.cursorRow, 21);
  EXPECT_EQ(console->text.cursorColumn, 40 + 23 + 2 + 7);
}

TEST_F(ReportFixture, CountsOfTheArrangementNotOfTheBestAndLongNumbers) {
  const ReportOutcome outcome =
      showArrangementReport(*console, {50, 123456, 49, 400000}, grid, 12345678901, settings);
  EXPECT_EQ(outcome, ReportOutcome::Continue);
  EXPECT_EQ(screenRow(*console, 1), "Nb mots placés = 50         Nb de voisinages non désirés = 123456");
  EXPECT_EQ(screenRow(*console, 2), "Nb recoupement = 49         Surface = 5* 4= 400000");
  EXPECT_EQ(screenRow(*console, 21), trialsRow("12345678901"));
}

TEST_F(ReportFixture, PausePromptLeadsToTheMenuOnlyForMAlone) {
  struct Case {
    const char* typed;
    ReportOutcome outcome;
  };
  const Case cases[] = {
      {"m", ReportOutcome::Menu},     {"M", ReportOutcome::Menu},      {"  M", ReportOutcome::Menu},
      {"m,x", ReportOutcome::Menu},   {"", ReportOutcome::Continue},   {"mm", ReportOutcome::Continue},
      {"x", ReportOutcome::Continue}, {"m ", ReportOutcome::Continue}, {"menu", ReportOutcome::Continue},
  };
  settings.pauseMode = PauseMode::AfterEachReport;
  for (const Case& c : cases) {
    typeLine(platform.script, c.typed);
    EXPECT_EQ(showArrangementReport(*console, {2, 0, 1, 20}, grid, 3, settings), c.outcome)
        << '"' << c.typed << '"';
    EXPECT_EQ(screenRow(*console, 22), std::string(29, ' ') + REPORT_MENU_PROMPT);
    std::string row23 = std::string(29, ' ') + REPORT_PAUSE_PROMPT + c.typed;
    row23.erase(row23.find_last_not_of(' ') + 1);  // rows are read without trailing blanks
    EXPECT_EQ(screenRow(*console, 23), row23);
  }
  EXPECT_EQ(platform.lineInputs, 9);
}

// A deferred report against the report drawn at once, on two consoles:
// cells, cursor and every pixel agree whenever the deferred one is read.
struct DeferredReportFixture : ::testing::Test {
  ConsoleSession eager, deferred;
  TrialsLineState eagerLine, deferredLine;
  std::unique_ptr<PendingReport> pending = std::make_unique<PendingReport>();
  GridEvaluation evaluation;
  DisplaySettings settings{.selectionMode = SelectionMode::AllAccepted};

  void report(const ArrangementSearch& search) {
    const ArrangementScore score = lastEvaluationScore(search);
    buildArrangementGrid(search, search.state.placedCount, evaluation);
    showArrangementReport(*eager.console, score, evaluation.grid, search.state.trialCount, settings);
    deferArrangementReport(*deferred.console, *pending, search, search.state.placedCount, score, settings,
                           deferredLine);
  }

  // What the search's stop does to the trials line.
  void stopAt(int64_t trialCount) {
    printTrialsLine(*eager.console, eagerLine, trialCount);
    if (PendingReport* held = pendingReport(*deferred.console)) {
      held->heldTrialCount = trialCount;
    } else {
      printTrialsLine(*deferred.console, deferredLine, trialCount);
    }
  }

  void expectSamePicture(const std::string& where) {
    paintPicture(*eager.console);
    paintPicture(*deferred.console);
    EXPECT_EQ(pendingReport(*deferred.console), nullptr) << where;
    EXPECT_EQ(screenText(*deferred.console), screenText(*eager.console)) << where;
    EXPECT_EQ(deferred.console->text.cursorRow, eager.console->text.cursorRow) << where;
    EXPECT_EQ(deferred.console->text.cursorColumn, eager.console->text.cursorColumn) << where;
    EXPECT_EQ(deferred.console->text.printColumn, eager.console->text.printColumn) << where;
    EXPECT_TRUE(deferred.console->surface.pixels == eager.console->surface.pixels) << where;
  }
};

TEST_F(DeferredReportFixture, ReadAtAnyPointItShowsWhatTheReportsDrawnAtOnceShow) {
  for (const bool completeGrid : {true, false}) {
    settings.completeGrid = completeGrid;
    auto search = test_support::makeSearch({"MAISON", "JARDIN", "TABLE", "PORTE", "SOLEIL"});
    int64_t accepted = 0;
    test_support::runWholeSearch(*search, test_support::Evaluator::Fast,
                                 [&](ArrangementSearch& at, EvaluationOutcome outcome) {
                                   if (outcome != EvaluationOutcome::Accepted) return;
                                   ++accepted;
                                   report(at);
                                   // Read right after the report, after its stop, or not at all.
                                   if (accepted % 7 == 0)
                                     expectSamePicture("report " + std::to_string(accepted));
                                   stopAt(at.state.trialCount + accepted);
                                   if (accepted % 5 == 0)
                                     expectSamePicture("stop " + std::to_string(accepted));
                                 });
    ASSERT_GT(accepted, 20);
    // The end of the search writes its message over the last report.
    locateCursor(*eager.console, 22, 30);
    printText(*eager.console, "fin", PrintEnding::LineEnd);
    locateCursor(*deferred.console, 22, 30);
    printText(*deferred.console, "fin", PrintEnding::LineEnd);
    expectSamePicture("end, complete grid " + std::to_string(completeGrid));
    EXPECT_EQ(screenRow(*deferred.console, 22), std::string(29, ' ') + "fin");
  }
}

TEST_F(DeferredReportFixture, NothingIsDrawnUntilReadAndAClearDropsIt) {
  auto search = test_support::makeSearch({"AB", "BC", "CA"});
  ASSERT_EQ(evaluateArrangementFast(*search), EvaluationOutcome::Accepted);
  printText(*deferred.console, "avant", PrintEnding::LineEnd);
  const uint64_t textChanges = deferred.console->text.changeCount;
  const uint64_t surfaceChanges = deferred.console->surface.changeCount;
  deferArrangementReport(*deferred.console, *pending, *search, search->state.placedCount,
                         lastEvaluationScore(*search), settings, deferredLine);
  EXPECT_EQ(deferred.console->text.changeCount, textChanges);
  EXPECT_EQ(deferred.console->surface.changeCount, surfaceChanges);
  EXPECT_EQ(screenRow(*deferred.console, 1), "avant");

  // A clear wipes it unseen: the cleared screen, not the report, is read.
  clearScreen(*deferred.console);
  EXPECT_EQ(pendingReport(*deferred.console), nullptr);
  paintPicture(*deferred.console);
  EXPECT_EQ(screenText(*deferred.console), std::string(24, '\n'));
  for (int32_t y = 0; y < SURFACE_HEIGHT; y += 7)
    EXPECT_EQ(pixelAt(*deferred.console, 17, y), COLOR_BACKGROUND);

  // A print lies over the report drawn first.
  deferArrangementReport(*deferred.console, *pending, *search, search->state.placedCount,
                         lastEvaluationScore(*search), settings, deferredLine);
  locateCursor(*deferred.console, 24, 1);
  printText(*deferred.console, "apres", PrintEnding::NoEnding);
  EXPECT_EQ(screenRow(*deferred.console, 1), "Nb mots placés = 1          Nb de voisinages non désirés = 0");
  EXPECT_EQ(screenRow(*deferred.console, 24), "apres");
}

}  // namespace
}  // namespace arrowgrid
