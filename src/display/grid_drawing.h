// The arrow-word picture of a grid: arrow and block glyphs and letters on the
// text layer, cell borders, diagonals and the outer frame as drawn lines.
#pragma once

#include "display/display_settings.h"
#include "screen/console.h"
#include "search/arrangement_grid.h"

namespace arrowgrid {

// Grid column i and row j of the box (from 1) take text row j + 2 and text
// columns 2i - 1 and 2i, so the picture starts at row 3, under the counts.
inline constexpr int32_t GRID_FIRST_TEXT_ROW = 3;
// Cells beyond these reach no text cell and every line of theirs is clipped.
inline constexpr int32_t GRID_VISIBLE_WIDTH = TEXT_COLUMNS / 2;                      // 40
inline constexpr int32_t GRID_VISIBLE_HEIGHT = TEXT_ROWS - GRID_FIRST_TEXT_ROW + 1;  // 23

// Draws every cell of the grid column by column, top to bottom, then the
// outer frame; letters only when settings.completeGrid. Clears
// nothing; the cursor is left wherever the last glyph put it.
void drawGrid(Console& console, const Grid& grid, const DisplaySettings& settings);

}  // namespace arrowgrid
