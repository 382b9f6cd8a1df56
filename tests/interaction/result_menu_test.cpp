// The result menu: its screen, whole-answer commands, the two grid views and
// the way back from the display dialog.
#include <gtest/gtest.h>

#include <memory>

#include "interaction/result_menu.h"
#include "platform/key_script.h"
#include "support/console_session.h"
#include "support/french_texts.h"
#include "support/hand_grid.h"

namespace arrowgrid {
using namespace test_support;
namespace {

struct MenuFixture : ConsoleSessionTest {
  DisplaySettings settings;
  Grid grid = leGrid();
  void expectMenuScreen() {
    EXPECT_EQ(screenRow(*console, 1), MENU_TITLE);
    EXPECT_EQ(screenRow(*console, 2), "");
    EXPECT_EQ(screenRow(*console, 3), "entrez <V> pour imprimer une grille vide");
    EXPECT_EQ(screenRow(*console, 4), "       <C> pour imprimer une grille complétée");
    EXPECT_EQ(screenRow(*console, 5), "       <S> pour changer la sélection des impressions");
    EXPECT_EQ(screenRow(*console, 6), "       <R> pour continuer la recherche");
    EXPECT_EQ(screenRow(*console, 7), MENU_FINISH_ROW);
  }
};

TEST_F(MenuFixture, OnlyWholeCommandLettersLeaveTheMenu) {
  type({"fin", "FF", "", "f ", "x", "F"});
  EXPECT_EQ(resultMenu(*console, grid, settings), MenuOutcome::Finish);
  EXPECT_EQ(platform.lineInputs, 6);
  expectMenuScreen();
  EXPECT_EQ(screenRow(*console, 8), "F");
}

TEST_F(MenuFixture, EitherCaseResumesOrFinishes) {
  type({"r", "R", "f"});
  EXPECT_EQ(resultMenu(*console, grid, settings), MenuOutcome::Resume);
  EXPECT_EQ(resultMenu(*console, grid, settings), MenuOutcome::Resume);
  EXPECT_EQ(resultMenu(*console, grid, settings), MenuOutcome::Finish);
  EXPECT_TRUE(settings.completeGrid);
}

TEST_F(MenuFixture, EmptyGridViewShowsNoLettersAndWaitsAtRow22Column50) {
  type({"v"});
  EXPECT_THROW(resultMenu(*console, grid, settings), ScriptExhausted);
  for (int32_t row : {1, 2, 5, 6, 7, 8}) EXPECT_EQ(screenRow(*console, row), "") << row;
  EXPECT_EQ(cellAt(*console, 4, 2), CELL_RIGHT_ARROW);
  EXPECT_EQ(cellAt(*console, 4, 4), ' ');
  EXPECT_EQ(cellAt(*console, 4, 6), ' ');
  EXPECT_EQ(cellAt(*console, 4, 7), CELL_BLOCK);
  EXPECT_EQ(pixelAt(*console, 64, 70), COLOR_FOREGROUND);  // the frame's corner
  EXPECT_EQ(pixelAt(*console, 32, 49), COLOR_FOREGROUND);  // a border between the letters
  EXPECT_EQ(console->text.cursorRow, 22);
  EXPECT_EQ(console->text.cursorColumn, 50);
  EXPECT_TRUE(settings.completeGrid);
}

TEST_F(MenuFixture, CompletedGridAfterTheEmptyOneHasItsLettersAgain) {
  type({"V", "any line", "C"});
  EXPECT_THROW(resultMenu(*console, grid, settings), ScriptExhausted);
  EXPECT_EQ(screenRow(*console, 1), "");
  EXPECT_EQ(cellAt(*console, 4, 2), CELL_RIGHT_ARROW);
  EXPECT_EQ(cellAt(*console, 4, 4), 'L');
  EXPECT_EQ(cellAt(*console, 4, 6), 'E');
  EXPECT_EQ(cellAt(*console, 4, 8), CELL_BLOCK);
  EXPECT_TRUE(glyphShownAt(*console, 4, 4, 'L'));
  EXPECT_EQ(console->text.cursorRow, 22);
  EXPECT_EQ(console->text.cursorColumn, 50);
  EXPECT_EQ(platform.lineInputs, 4);  // menu, view, menu, view
}

TEST_F(MenuFixture, SelectionDialogReturnsToTheMenu) {
  type({"S", "0", "1"});
  EXPECT_THROW(resultMenu(*console, grid, settings), ScriptExhausted);
  expectMenuScreen();
  EXPECT_EQ(settings.selectionMode, SelectionMode{0});
  EXPECT_EQ(settings.pauseMode, PauseMode{1});
  type({"s", "2", "0", "r"});
  EXPECT_EQ(resultMenu(*console, grid, settings), MenuOutcome::Resume);
  EXPECT_EQ(settings.selectionMode, SelectionMode{2});
  EXPECT_EQ(settings.pauseMode, PauseMode{0});
  EXPECT_TRUE(settings.completeGrid);
}

}  // namespace
}  // namespace arrowgrid
