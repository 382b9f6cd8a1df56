// Grids built by hand for the drawing, report and menu tests, and a check
// that a glyph really reached the pixels of its text cell.
#pragma once

#include <cstdint>

#include "screen/console.h"
#include "search/arrangement_grid.h"

namespace arrowgrid::test_support {

// A grid over the box from (xMin, yMin), every cell empty: dense unless
// the box is too large for that.
Grid emptyHandGrid(int32_t xMin, int32_t yMin, int32_t width, int32_t height);
void putHandCell(Grid& grid, int32_t x, int32_t y, int32_t code);

// LE alone, horizontal, arrow cell at the origin: box x 0..3, y -1..1.
Grid leGrid();
// LE with EN down through its E: box x 0..3, y -1..2.
Grid leEnGrid();

// The pixels of text cell (row, column) show the glyph of code, apart from
// its first pixel row and column, where cell borders may run.
bool glyphShownAt(Console& console, int32_t row, int32_t column, int32_t code);

// Every pixel strictly inside the square of drawing cell (i, j) is background.
bool squareInsideBlank(Console& console, int32_t i, int32_t j);

}  // namespace arrowgrid::test_support
