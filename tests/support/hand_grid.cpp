// Hand-built grids and pixel checks shared by the display, report and menu tests.
#include "support/hand_grid.h"

#include "screen/glyph_set.h"
#include "search/grid_evaluation.h"
#include "support/scripted_console.h"

namespace arrowgrid::test_support {

Grid emptyHandGrid(int32_t xMin, int32_t yMin, int32_t width, int32_t height) {
  Grid grid;
  resetGrid(grid, GridBox{xMin, xMin + width - 1, yMin, yMin + height - 1, width, height});
  return grid;
}

void putHandCell(Grid& grid, int32_t x, int32_t y, int32_t code) { setGridCell(grid, x, y, code); }

namespace {

void putLe(Grid& grid) {
  const int32_t codes[] = {CELL_RIGHT_ARROW, 'L', 'E', CELL_BLOCK};
  for (int32_t x = 0; x < 4; ++x) putHandCell(grid, x, 0, codes[x]);
}

}  // namespace

Grid leGrid() {
  Grid grid = emptyHandGrid(0, -1, 4, 3);
  putLe(grid);
  return grid;
}

Grid leEnGrid() {
  Grid grid = emptyHandGrid(0, -1, 4, 4);
  putLe(grid);
  putHandCell(grid, 2, -1, CELL_DOWN_ARROW);
  putHandCell(grid, 2, 1, 'N');
  putHandCell(grid, 2, 2, CELL_BLOCK);
  return grid;
}

bool glyphShownAt(Console& console, int32_t row, int32_t column, int32_t code) {
  const int32_t left = (column - 1) * GLYPH_WIDTH, top = (row - 1) * GLYPH_HEIGHT;
  for (int32_t y = 1; y < GLYPH_HEIGHT; ++y) {
    const uint8_t bits = GLYPH_BITMAPS[code][y];
    for (int32_t x = 1; x < GLYPH_WIDTH; ++x) {
      const bool set = (bits & (0x80 >> x)) != 0;
      if (pixelAt(console, left + x, top + y) != (set ? COLOR_FOREGROUND : COLOR_BACKGROUND)) return false;
    }
  }
  return true;
}

bool squareInsideBlank(Console& console, int32_t i, int32_t j) {
  for (int32_t y = 14 * j + 15; y < 14 * j + 28; ++y) {
    for (int32_t x = 16 * i - 15; x < 16 * i; ++x) {
      if (pixelAt(console, x, y) != COLOR_BACKGROUND) return false;
    }
  }
  return true;
}

}  // namespace arrowgrid::test_support
