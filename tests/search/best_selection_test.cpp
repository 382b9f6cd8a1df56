// The ranking against the best, the selection table, and the report screen
// with its pause prompt.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "search/best_selection.h"
#include "screen/key_script.h"
#include "support/hand_grid.h"
#include "support/scripted_console.h"

namespace arrowgrid {
namespace {

TEST(Ranking, FirstDifferingFieldDecidesAndOnlyBetterMovesTheBest) {
  const ArrangementScore best{3, 0, 2, 60};
  struct Case {
    ArrangementScore score;
    ScoreOrder order;
  };
  const Case cases[] = {
      {{3, 1, 2, 40}, ScoreOrder::Worse},   // one more unwanted outweighs a smaller surface
      {{3, 0, 3, 80}, ScoreOrder::Better},  // one more crossing outweighs a larger surface
      {{4, 5, 0, 200}, ScoreOrder::Better}, // more words outweigh everything
      {{3, 0, 2, 60}, ScoreOrder::Equal},
      {{2, 0, 9, 1}, ScoreOrder::Worse},
      {{3, 0, 2, 61}, ScoreOrder::Worse},
      {{3, 0, 2, 59}, ScoreOrder::Better},
  };
  for (const Case& c : cases) {
    ArrangementScore bestScore = best;
    EXPECT_EQ(compareWithBest(bestScore, c.score), c.order) << c.score.crossings << " " << c.score.surface;
    EXPECT_EQ(bestScore, c.order == ScoreOrder::Better ? c.score : best);
  }
}

TEST(Ranking, SurfacesBeyond32BitsCompare) {
  ArrangementScore best{2, 0, 1, int64_t{1} << 40};
  EXPECT_EQ(compareWithBest(best, {2, 0, 1, (int64_t{1} << 40) + 1}), ScoreOrder::Worse);
  EXPECT_EQ(compareWithBest(best, {2, 0, 1, int64_t{1} << 33}), ScoreOrder::Better);
  EXPECT_EQ(best.surface, int64_t{1} << 33);
}

TEST(Selection, TableOfModesAndOrders) {
  EXPECT_TRUE(isArrangementShown(ScoreOrder::Better, 0));
  EXPECT_TRUE(isArrangementShown(ScoreOrder::Equal, 0));
  EXPECT_TRUE(isArrangementShown(ScoreOrder::Worse, 0));
  EXPECT_TRUE(isArrangementShown(ScoreOrder::Better, 1));
  EXPECT_TRUE(isArrangementShown(ScoreOrder::Equal, 1));
  EXPECT_FALSE(isArrangementShown(ScoreOrder::Worse, 1));
  EXPECT_TRUE(isArrangementShown(ScoreOrder::Better, 2));
  EXPECT_FALSE(isArrangementShown(ScoreOrder::Equal, 2));
  EXPECT_FALSE(isArrangementShown(ScoreOrder::Worse, 2));
}

// The accepted arrangements of AB, BC, CA in the order the search meets
// them, with their trial counts; the best starts as word 1 alone, surface 4.
TEST(Selection, AbBcCaReportsPerModeAndFinalBest) {
  struct Accepted {
    ArrangementScore score;
    int64_t trial;
    ScoreOrder order;
  };
  const Accepted run[] = {
      {{1, 0, 0, 12}, 1, ScoreOrder::Worse},  {{2, 0, 1, 16}, 3, ScoreOrder::Better},
      {{3, 0, 2, 20}, 7, ScoreOrder::Better}, {{3, 0, 2, 20}, 8, ScoreOrder::Equal},
      {{2, 0, 1, 16}, 16, ScoreOrder::Worse}, {{3, 0, 2, 20}, 18, ScoreOrder::Equal},
      {{3, 0, 2, 20}, 23, ScoreOrder::Equal},
  };
  const std::vector<int64_t> expected[] = {{1, 3, 7, 8, 16, 18, 23}, {3, 7, 8, 18, 23}, {3, 7}};
  for (int32_t mode = 0; mode <= 2; ++mode) {
    ArrangementScore best{1, 0, 0, 4};
    std::vector<int64_t> shown;
    for (const Accepted& a : run) {
      const ScoreOrder order = compareWithBest(best, a.score);
      EXPECT_EQ(order, a.order) << "trial " << a.trial;
      if (isArrangementShown(order, mode)) shown.push_back(a.trial);
    }
    EXPECT_EQ(shown, expected[mode]) << "mode " << mode;
    EXPECT_EQ(best, (ArrangementScore{3, 0, 2, 20}));
  }
}

struct ReportFixture : ::testing::Test {
  std::unique_ptr<Console> console = std::make_unique<Console>();
  ScriptedPlatform platform;
  DisplaySettings settings;
  Grid grid = emptyHandGrid(0, -1, 5, 4);
  void SetUp() override {
    openTestConsole(*console, platform);
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
  EXPECT_EQ(screenRow(*console, 21), std::string(39, ' ') + "Nb d'essais effectués : 7");
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
  EXPECT_EQ(screenRow(*console, 21), std::string(39, ' ') + "Nb d'essais effectués : 12345678901");
}

TEST_F(ReportFixture, PausePromptLeadsToTheMenuOnlyForMAlone) {
  struct Case {
    const char* typed;
    ReportOutcome outcome;
  };
  const Case cases[] = {
      {"m", ReportOutcome::Menu},      {"M", ReportOutcome::Menu},
      {"  M", ReportOutcome::Menu},    {"m,x", ReportOutcome::Menu},
      {"", ReportOutcome::Continue},   {"mm", ReportOutcome::Continue},
      {"x", ReportOutcome::Continue},  {"m ", ReportOutcome::Continue},
      {"menu", ReportOutcome::Continue},
  };
  settings.pauseMode = 1;
  for (const Case& c : cases) {
    typeLine(platform.script, c.typed);
    EXPECT_EQ(showArrangementReport(*console, {2, 0, 1, 20}, grid, 3, settings), c.outcome) << '"' << c.typed << '"';
    EXPECT_EQ(screenRow(*console, 22), std::string(29, ' ') + "entrez <M> pour aller au menu, ou");
    std::string row23 = std::string(29, ' ') + "pressez <return> pour continuer" + c.typed;
    row23.erase(row23.find_last_not_of(' ') + 1);  // rows are read without trailing blanks
    EXPECT_EQ(screenRow(*console, 23), row23);
  }
  EXPECT_EQ(platform.lineInputs, 9);
}

}  // namespace
}  // namespace arrowgrid
