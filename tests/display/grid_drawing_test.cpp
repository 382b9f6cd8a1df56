// The grid drawing against the pixels: glyph places, borders, diagonals, the
// frame, and grids that do not fit the screen.
#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <memory>

#include "display/grid_drawing.h"
#include "support/console_session.h"
#include "support/hand_grid.h"

namespace arrowgrid {
using namespace test_support;
namespace {

struct GridDrawingFixture : ConsoleSessionTest {
  DisplaySettings settings;

  // Every pixel from (x1, y1) to (x2, y2), a row or a column, has colour.
  bool runIs(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t colour) {
    for (int32_t y = y1; y <= y2; ++y)
      for (int32_t x = x1; x <= x2; ++x)
        if (pixelAt(*console, x, y) != colour) return false;
    return true;
  }
  bool lit(int32_t x1, int32_t y1, int32_t x2, int32_t y2) { return runIs(x1, y1, x2, y2, COLOR_FOREGROUND); }
  bool dark(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return runIs(x1, y1, x2, y2, COLOR_BACKGROUND);
  }

  struct Glyph {
    int32_t row, column, code;
  };
  void expectGlyphs(std::initializer_list<Glyph> glyphs) {
    for (const Glyph& g : glyphs)
      EXPECT_TRUE(glyphShownAt(*console, g.row, g.column, g.code)) << g.row << "," << g.column;
  }

  // Text row 4 of LE: arrow, L, E and the block; then the frame's four sides
  // from pixel (0, 28) to (64, frameBottom).
  void expectLeRowAndFrame(int32_t frameBottom) {
    expectGlyphs(
        {{4, 2, CELL_RIGHT_ARROW}, {4, 4, 'L'}, {4, 6, 'E'}, {4, 7, CELL_BLOCK}, {4, 8, CELL_BLOCK}});
    EXPECT_TRUE(lit(0, 28, 64, 28));
    EXPECT_TRUE(lit(64, 28, 64, frameBottom));
    EXPECT_TRUE(lit(0, frameBottom, 64, frameBottom));
    EXPECT_TRUE(lit(0, 28, 0, frameBottom));
    EXPECT_TRUE(dark(65, 20, 80, frameBottom + 10));
    EXPECT_TRUE(dark(0, frameBottom + 1, 64, frameBottom + 10));
  }

  int32_t shownCells() {
    int32_t count = 0;
    for (int32_t row = 1; row <= TEXT_ROWS; ++row)
      for (int32_t column = 1; column <= TEXT_COLUMNS; ++column)
        if (cellAt(*console, row, column) != ' ') ++count;
    return count;
  }
};

TEST_F(GridDrawingFixture, LeAloneShowsItsGlyphsSquaresAndFrame) {
  drawGrid(*console, leGrid(), settings);

  EXPECT_EQ(shownCells(), 5);
  expectLeRowAndFrame(70);
  // Four squares between pixel rows 42 and 56, every border complete
  // although later glyphs covered parts of earlier ones.
  EXPECT_TRUE(lit(0, 42, 64, 42));
  EXPECT_TRUE(lit(0, 56, 64, 56));
  for (int32_t x : {16, 32, 48}) EXPECT_TRUE(lit(x, 42, x, 56)) << x;
  // Rows 1 and 3 are empty: blank inside, no edges between their cells.
  for (int32_t i = 1; i <= 4; ++i) {
    EXPECT_TRUE(squareInsideBlank(*console, i, 1)) << i;
    EXPECT_TRUE(squareInsideBlank(*console, i, 3)) << i;
  }
  for (int32_t x : {16, 32, 48}) {
    EXPECT_TRUE(dark(x, 29, x, 41)) << x;
    EXPECT_TRUE(dark(x, 57, x, 69)) << x;
  }
}

TEST_F(GridDrawingFixture, EmptyGridDiffersOnlyByItsLetters) {
  drawGrid(*console, leGrid(), settings);
  paintPicture(*console);
  const PixelRows completed = console->surface.pixels;

  clearScreen(*console);
  settings.completeGrid = false;
  drawGrid(*console, leGrid(), settings);
  EXPECT_EQ(cellAt(*console, 4, 4), ' ');
  EXPECT_EQ(cellAt(*console, 4, 6), ' ');
  EXPECT_EQ(shownCells(), 3);
  paintPicture(*console);
  const PixelRows& empty = console->surface.pixels;

  // Letter cells are text row 4, columns 4 and 6: pixels 42..55 by 24..31 and 40..47.
  int32_t differing = 0;
  for (int32_t y = 0; y < SURFACE_HEIGHT; ++y) {
    for (int32_t x = 0; x < SURFACE_WIDTH; ++x) {
      if (completed[y][x] == empty[y][x]) continue;
      ++differing;
      const bool inLetterCell = y >= 42 && y <= 55 && ((x >= 24 && x <= 31) || (x >= 40 && x <= 47));
      EXPECT_TRUE(inLetterCell) << x << "," << y;
    }
  }
  EXPECT_GT(differing, 0);
  EXPECT_TRUE(glyphShownAt(*console, 4, 4, ' '));
  EXPECT_TRUE(glyphShownAt(*console, 4, 6, ' '));
}

TEST_F(GridDrawingFixture, LeWithEnLeavesItsNineEmptyCellsBlank) {
  drawGrid(*console, leEnGrid(), settings);

  EXPECT_EQ(shownCells(), 9);
  expectLeRowAndFrame(84);
  expectGlyphs({{3, 5, CELL_DOWN_ARROW}, {5, 6, 'N'}, {6, 5, CELL_BLOCK}, {6, 6, CELL_BLOCK}});

  // The column of EN: squares from pixel row 28 to 84 between x 32 and 48.
  EXPECT_TRUE(lit(32, 28, 32, 84));
  EXPECT_TRUE(lit(48, 28, 48, 84));
  for (int32_t y : {42, 56, 70}) EXPECT_TRUE(lit(32, y, 48, y)) << y;

  const int32_t emptyCells[][2] = {{1, 1}, {2, 1}, {4, 1}, {1, 3}, {2, 3}, {4, 3}, {1, 4}, {2, 4}, {4, 4}};
  for (const auto& cell : emptyCells)
    EXPECT_TRUE(squareInsideBlank(*console, cell[0], cell[1])) << cell[0] << "," << cell[1];
  // Edges between two empty cells belong to no square.
  EXPECT_TRUE(dark(16, 29, 16, 41));  // (1,1) | (2,1)
  EXPECT_TRUE(dark(16, 57, 16, 83));  // (1,3) | (2,3) and (1,4) | (2,4)
  EXPECT_TRUE(dark(1, 70, 31, 70));   // (1,3)-(1,4) and (2,3)-(2,4)
  EXPECT_TRUE(dark(49, 70, 63, 70));  // (4,3)-(4,4)
}

TEST_F(GridDrawingFixture, BothArrowsCellGetsItsDiagonalAndNoGlyph) {
  Grid grid = emptyHandGrid(0, 0, 3, 2);
  putHandCell(grid, 1, 1, CELL_BOTH_ARROWS);  // i = 2, j = 2
  drawGrid(*console, grid, settings);

  EXPECT_EQ(shownCells(), 0);
  // From (32, 56) to (16, 42), the exact pixels of the line.
  const int32_t diagonal[][2] = {{32, 56}, {31, 55}, {30, 54}, {29, 53}, {28, 52}, {27, 52},
                                 {26, 51}, {25, 50}, {24, 49}, {23, 48}, {22, 47}, {21, 46},
                                 {20, 45}, {19, 45}, {18, 44}, {17, 43}, {16, 42}};
  for (const auto& p : diagonal)
    EXPECT_EQ(pixelAt(*console, p[0], p[1]), COLOR_FOREGROUND) << p[0] << "," << p[1];
  int32_t litInside = 0;
  for (int32_t y = 43; y < 56; ++y)
    for (int32_t x = 17; x < 32; ++x) litInside += pixelAt(*console, x, y) == COLOR_FOREGROUND;
  EXPECT_EQ(litInside, 15);
  // Its four borders.
  EXPECT_TRUE(lit(16, 42, 32, 42));
  EXPECT_TRUE(lit(16, 56, 32, 56));
  EXPECT_TRUE(lit(16, 42, 16, 56));
  EXPECT_TRUE(lit(32, 42, 32, 56));
}

TEST_F(GridDrawingFixture, FortyWideGridLosesOnlyItsRightmostLines) {
  // One word across the whole width, its block in text columns 79 and 80;
  // a second, empty row under it.
  Grid grid = emptyHandGrid(0, 0, 40, 2);
  putHandCell(grid, 0, 0, CELL_RIGHT_ARROW);
  for (int32_t x = 1; x <= 38; ++x) putHandCell(grid, x, 0, 'A' + x % 26);
  putHandCell(grid, 39, 0, CELL_BLOCK);
  drawGrid(*console, grid, settings);

  expectGlyphs({{3, 79, CELL_BLOCK}, {3, 80, CELL_BLOCK}, {3, 78, 'A' + 38 % 26}});
  EXPECT_TRUE(lit(0, 28, 639, 28));
  EXPECT_TRUE(lit(0, 42, 639, 42));
  EXPECT_TRUE(lit(0, 56, 639, 56));
  EXPECT_TRUE(lit(624, 28, 624, 42));
  // The right frame line at pixel column 640 is off the surface, not moved onto 639.
  EXPECT_TRUE(dark(639, 43, 639, 55));
  EXPECT_EQ(shownCells(), 41);
}

TEST_F(GridDrawingFixture, GridTooLargeForTheScreenPrintsNothingOutOfPlaceAndNeverScrolls) {
  Grid grid = emptyHandGrid(0, 0, 45, 25);
  putHandCell(grid, 39, 21, CELL_BLOCK);       // text row 24, columns 79 and 80
  putHandCell(grid, 0, 22, CELL_DOWN_ARROW);   // row 25, column 1
  putHandCell(grid, 4, 22, CELL_RIGHT_ARROW);  // row 25, column 10
  putHandCell(grid, 6, 22, 'A');               // row 25, column 14
  putHandCell(grid, 39, 22, CELL_BLOCK);       // row 25, columns 79 and 80
  // Cells past column 40 or row 23 have no place on the screen.
  putHandCell(grid, 40, 0, 'Q');
  putHandCell(grid, 44, 10, 'Q');
  putHandCell(grid, 41, 22, CELL_BLOCK);
  putHandCell(grid, 3, 23, 'Z');
  putHandCell(grid, 3, 24, CELL_RIGHT_ARROW);
  putHandCell(grid, 42, 24, 'Z');
  drawGrid(*console, grid, settings);

  EXPECT_EQ(shownCells(), 7);
  expectGlyphs({{24, 79, CELL_BLOCK},
                {24, 80, CELL_BLOCK},
                {25, 1, CELL_DOWN_ARROW},
                {25, 10, CELL_RIGHT_ARROW},
                {25, 14, 'A'},
                {25, 79, CELL_BLOCK},
                {25, 80, CELL_BLOCK}});
  // Not shifted: rows 1 and 2 still empty, the frame's top still at pixel row 28.
  EXPECT_TRUE(dark(0, 0, 639, 27));
  EXPECT_TRUE(lit(0, 28, 639, 28));
  EXPECT_TRUE(lit(0, 28, 0, 349));
  EXPECT_TRUE(lit(624, 322, 639, 322));  // borders of the two blocks of column 40
  EXPECT_TRUE(lit(624, 336, 639, 336));

  // What a report prints next lands where it is asked to, still unshifted.
  locateCursor(*console, 21, 40);
  printText(*console, "Nb", PrintEnding::NoEnding);
  EXPECT_EQ(cellAt(*console, 21, 40), 'N');
  EXPECT_TRUE(dark(0, 0, 639, 27));
}

TEST_F(GridDrawingFixture, HugeBoxCostsOnlyWhatTheScreenShows) {
  // A billion cells, stored sparsely: visiting each would take seconds.
  Grid grid = emptyHandGrid(0, 0, 40000, 25000);
  ASSERT_FALSE(grid.dense);
  putHandCell(grid, 0, 0, CELL_RIGHT_ARROW);
  putHandCell(grid, 1, 0, 'A');
  putHandCell(grid, 30000, 3, 'Q');
  const auto start = std::chrono::steady_clock::now();
  drawGrid(*console, grid, settings);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

  EXPECT_EQ(shownCells(), 2);
  expectGlyphs({{3, 2, CELL_RIGHT_ARROW}, {3, 4, 'A'}});
  EXPECT_TRUE(lit(0, 28, 639, 28));
  EXPECT_TRUE(lit(0, 28, 0, 349));
}

}  // namespace
}  // namespace arrowgrid
