// Grid drawing: glyphs through the text layer, lines through drawLine in the
// logical window where one unit is one text column across, one text row down.
#include "display/grid_drawing.h"

#include <algorithm>

#include "screen/text_screen.h"

namespace arrowgrid {

namespace {

// A glyph print ends its line only to move the cursor along; where that line
// end would carry the cursor below row 25 it would scroll the whole picture
// up under the cells still to come, so there the print keeps the cursor.
PrintEnding glyphEnding(int32_t row, int32_t column) {
  const bool lastRow = row == TEXT_ROWS;
  const bool wrapsOntoLastRow = row == TEXT_ROWS - 1 && column == TEXT_COLUMNS;
  return lastRow || wrapsOntoLastRow ? PrintEnding::NoEnding : PrintEnding::LineEnd;
}

void printGlyph(Console& console, int32_t row, int32_t column, int32_t code) {
  locateCursor(console, row, column);
  printText(console, characterOf(code), glyphEnding(row, column));
}

void printBlock(Console& console, int32_t row, int32_t leftColumn) {
  locateCursor(console, row, leftColumn);
  printText(console, characterOf(CELL_BLOCK), PrintEnding::NoEnding);
  printText(console, characterOf(CELL_BLOCK), glyphEnding(row, leftColumn + 1));
}

void line(Console& console, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  drawLine(console, static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
           static_cast<float>(y2));
}

// The square of cell (i, j) runs from (2i - 2, j - 1) to (2i, j).
void drawBorders(Console& console, int32_t i, int32_t j) {
  const int32_t left = 2 * i - 2, right = 2 * i, top = j - 1, bottom = j;
  line(console, left, top, right, top);
  line(console, right, top, right, bottom);
  line(console, right, bottom, left, bottom);
  line(console, left, bottom, left, top);
}

}  // namespace

void drawGrid(Console& console, const Grid& grid, const DisplaySettings& settings) {
  const GridBox& box = grid.box;
  // Only the cells that reach the screen are visited: the others would print
  // nowhere and draw only clipped lines, and a box of long words can hold
  // millions of them.
  const int32_t columns = std::min(box.width, GRID_VISIBLE_WIDTH);
  const int32_t rows = std::min(box.height, GRID_VISIBLE_HEIGHT);
  for (int32_t i = 1; i <= columns; ++i) {
    for (int32_t j = 1; j <= rows; ++j) {
      const int32_t code = gridCell(grid, box.xMin + i - 1, box.yMin + j - 1);
      if (code == CELL_EMPTY) continue;
      const int32_t row = j + GRID_FIRST_TEXT_ROW - 1;
      if (code == CELL_DOWN_ARROW) {
        printGlyph(console, row, 2 * i - 1, code);
      } else if (code == CELL_RIGHT_ARROW) {
        printGlyph(console, row, 2 * i, code);
      } else if (code == CELL_BOTH_ARROWS) {
        line(console, 2 * i, j, 2 * i - 2, j - 1);
      } else if (code == CELL_BLOCK) {
        printBlock(console, row, 2 * i - 1);
      } else if (settings.completeGrid) {
        printGlyph(console, row, 2 * i, code);
      }
      drawBorders(console, i, j);
    }
  }
  const int64_t frameRight = 2 * static_cast<int64_t>(box.width);
  const int64_t frameBottom = box.height;
  line(console, 0, 0, frameRight, 0);
  line(console, frameRight, 0, frameRight, frameBottom);
  line(console, frameRight, frameBottom, 0, frameBottom);
  line(console, 0, frameBottom, 0, 0);
}

}  // namespace arrowgrid
