// Building the grid of the arrangement in the table, from scratch, with the
// cell rules and the two counts. This is the reference evaluation: the fast
// one must leave the same outcome, box, counts and cells.
#pragma once

#include <cstdint>

#include "search/search_data.h"

namespace arrowgrid {

// Boxes up to this many cells are stored densely; larger ones keep only the
// cells written, so a list of very long words cannot exhaust memory.
inline constexpr int64_t GRID_DENSE_LIMIT = int64_t{1} << 22;

// A letter code (A-Z or '-'): anything but empty, an arrow or a block.
inline bool isLetterCode(int32_t code) {
  return code != CELL_EMPTY && code != CELL_DOWN_ARROW && code != CELL_RIGHT_ARROW &&
         code != CELL_BOTH_ARROWS && code != CELL_BLOCK;
}

inline int64_t boxSurface(const GridBox& box) { return int64_t{box.width} * int64_t{box.height}; }

// Re-creates the grid over box with every cell empty: dense up to
// GRID_DENSE_LIMIT cells, else sparse.
void resetGrid(Grid& grid, const GridBox& box);
void setGridCell(Grid& grid, int32_t x, int32_t y, int32_t code);

// Writes one row onto out.grid by the cell rules, adding to out's counts;
// false at the first broken rule, with the cells written so far kept.
bool writeRowOnGrid(const ByteString& word, const Placement& row, GridEvaluation& out);

// The box of rows 1..rowCount, from the fixed start (columns 0..1, rows -1..1).
GridBox arrangementBox(const WordList& words, const PlacementTable& table, int32_t rowCount);

// Writes rows 1..rowCount of the table into out (grid over their box, counts
// from 0) and stops at the first broken rule. Touches no search state.
EvaluationOutcome buildArrangementGrid(const ArrangementSearch& search, int32_t rowCount,
                                       GridEvaluation& out);
// The same from a table of rows kept apart from the search's.
EvaluationOutcome buildArrangementGrid(const WordList& words, const PlacementTable& table, int32_t rowCount,
                                       GridEvaluation& out);

// The evaluation of rows 1..placedCount: Rejected pops the top row (grid,
// box and counts stay as built up to the clash); Accepted sets extendFlag.
EvaluationOutcome evaluateArrangement(ArrangementSearch& search);

}  // namespace arrowgrid
