// The report screen: counts, grid, trials line and the pause prompt.
#include <gtest/gtest.h>

#include <memory>

#include "interaction/arrangement_report.h"
#include "platform/key_script.h"
#include "support/hand_grid.h"
#include "support/scripted_console.h"

namespace arrowgrid {
namespace {

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
