// The incremental evaluation: an occupancy grid of the accepted rows with
// per-row undo, the newest row checked and written on top of it by the same
// cell rules as the reference evaluation.
#include "search/fast_evaluation.h"

#include <algorithm>
#include <bit>

#include "search/grid_evaluation.h"
#include "search/occupancy_cells.h"
#include "search/search_start.h"

namespace arrowgrid {

namespace {

using occupancy::RowCounts;
using occupancy::RowShape;

std::array<int32_t, 4> rowKey(const Placement& row) {
  return {row.wordNumber, row.x, row.y, directionCode(row.direction)};
}

// Whether the row can be written without leaving the storage: a dense
// square must hold all its cells and side cells, the undo log its writes.
// The enumeration's geometry always passes; a hand-made table may not.
bool rowFits(const FastEvaluation& fast, const WordLetters& words, const Placement& row) {
  if (row.wordNumber < 1 || row.wordNumber > words.wordCount) return false;
  if (row.direction != DIR_HORIZONTAL && row.direction != DIR_VERTICAL) return false;
  const int64_t length = words.length[static_cast<size_t>(row.wordNumber)];
  if (fast.undoCount + length + 2 > static_cast<int64_t>(fast.undo.size())) return false;
  if (fast.occupancy.hashed) return true;
  const int64_t m = fast.occupancy.margin;
  const int64_t x = row.x;
  const int64_t y = row.y;
  const int64_t xEnd = row.direction == DIR_HORIZONTAL ? x + length + 1 : x;
  const int64_t yEnd = row.direction == DIR_VERTICAL ? y + length + 1 : y;
  return x - 1 >= -m && xEnd + 1 <= m && y - 1 >= -m && yEnd + 1 <= m;
}

RowShape shapeOf(const WordLetters& words, const Placement& row) {
  const auto w = static_cast<size_t>(row.wordNumber);
  return RowShape{words.letters.data() + words.offset[w], words.length[w], row.x, row.y, row.direction};
}

// Checks row `level` on top of rows 1..level-1 and fills levels[level] with
// its box and counts; its cells are written only when it fits.
template <typename Cells>
bool evaluateLevel(const Cells& cells, ArrangementSearch& search, int32_t level) {
  FastEvaluation& fast = search.fast;
  const Placement& placement = search.table.rows[static_cast<size_t>(level)];
  const RowShape row = shapeOf(search.letters, placement);
  const LevelRecord& below = fast.levels[static_cast<size_t>(level - 1)];
  LevelRecord& top = fast.levels[static_cast<size_t>(level)];
  RowCounts counts{below.crossings, below.unwantedNeighbourhoods};
  top.box = occupancy::extendBox(below.box, row);
  const bool fits = occupancy::rowFitsCells(cells, row, counts) && boxFitsFrame(top.box, search.frame);
  top.crossings = counts.crossings;
  top.unwantedNeighbourhoods = counts.unwantedNeighbourhoods;
  top.undoStart = fast.undoCount;
  top.row = rowKey(placement);
  if (fits) occupancy::writeRowCells(cells, row, fast.undo.data(), fast.undoCount);
  return fits;
}

bool evaluateLevel(ArrangementSearch& search, int32_t level) {
  OccupancyGrid& grid = search.fast.occupancy;
  return grid.hashed ? evaluateLevel(occupancy::hashedCells(grid), search, level)
                     : evaluateLevel(occupancy::denseCells(grid), search, level);
}

void dropLevelsAbove(FastEvaluation& fast, int32_t rowCount) {
  while (fast.committed > rowCount) {
    occupancy::undoCells(fast, fast.levels[static_cast<size_t>(fast.committed)].undoStart);
    --fast.committed;
  }
}

}  // namespace

void prepareFastEvaluation(ArrangementSearch& search) {
  FastEvaluation& fast = search.fast;
  OccupancyGrid& occupancy = fast.occupancy;
  const int64_t occupied = search.letters.occupiedCells;
  // Every cell of an arrangement, side cells included, lies within this
  // distance of the origin: the words form one chain from word 1.
  const int64_t margin = occupied + 2;
  const int64_t side = 2 * margin + 1;
  occupancy.hashed = side * side > OCCUPANCY_DENSE_LIMIT;
  occupancy.keys.clear();
  if (occupancy.hashed) {
    // At most `occupied` cells are written at once; keep the load under 1/4.
    const uint64_t slots = std::bit_ceil(static_cast<uint64_t>(std::max<int64_t>(64, 4 * occupied)));
    occupancy.margin = 0;
    occupancy.side = 0;
    occupancy.slotMask = static_cast<uint32_t>(slots - 1);
    occupancy.codes.assign(slots, CELL_EMPTY);
    occupancy.keys.assign(slots, 0);
  } else {
    occupancy.margin = static_cast<int32_t>(margin);
    occupancy.side = static_cast<int32_t>(side);
    occupancy.slotMask = 0;
    occupancy.codes.assign(static_cast<size_t>(side * side), CELL_EMPTY);
  }
  fast.undo.assign(static_cast<size_t>(occupied), CellUndo{});
  fast.undoCount = 0;
  fast.levels.fill(LevelRecord{});
  fast.levels[0].box = GridBox{0, 1, -1, 1, 2, 3};
  fast.committed = 0;
  fast.gridStale = false;
  fast.lastRowCount = 0;
  fast.evaluations = 0;
  fast.prepared = true;
}

bool syncOccupancy(ArrangementSearch& search, int32_t rowCount) {
  FastEvaluation& fast = search.fast;
  if (!fast.prepared) {
    buildWordLetters(search.wordList, search.letters);
    prepareFastEvaluation(search);
  }
  // Keep the written levels that still match the table, then write the rest.
  dropLevelsAbove(fast, rowCount);
  int32_t kept = 0;
  while (kept < fast.committed && fast.levels[static_cast<size_t>(kept + 1)].row ==
                                      rowKey(search.table.rows[static_cast<size_t>(kept + 1)])) {
    ++kept;
  }
  dropLevelsAbove(fast, kept);
  while (fast.committed < rowCount) {
    const int32_t level = fast.committed + 1;
    if (!rowFits(fast, search.letters, search.table.rows[static_cast<size_t>(level)]) ||
        !evaluateLevel(search, level)) {
      dropLevelsAbove(fast, 0);
      return false;
    }
    fast.committed = level;
  }
  return true;
}

void noteEvaluation(ArrangementSearch& search, int32_t rowCount) {
  const LevelRecord& level = search.fast.levels[static_cast<size_t>(rowCount)];
  GridEvaluation& evaluation = search.evaluation;
  evaluation.grid.box = level.box;
  evaluation.crossings = level.crossings;
  evaluation.unwantedNeighbourhoods = level.unwantedNeighbourhoods;
  search.fast.gridStale = true;
  search.fast.lastRowCount = rowCount;
}

EvaluationOutcome evaluateArrangementFast(ArrangementSearch& search) {
  const int32_t top = search.state.placedCount;
  // A table the occupancy grid cannot follow is evaluated the reference way.
  if (!syncOccupancy(search, top - 1) ||
      !rowFits(search.fast, search.letters, search.table.rows[static_cast<size_t>(top)])) {
    const int32_t extendFlag = search.state.extendFlag;
    const EvaluationOutcome outcome = evaluateArrangement(search);
    if (outcome == EvaluationOutcome::Rejected || boxFitsFrame(search.evaluation.grid.box, search.frame))
      return outcome;
    search.state.extendFlag = extendFlag;
    --search.state.placedCount;
    return EvaluationOutcome::Rejected;
  }
  ++search.fast.evaluations;
  const bool accepted = evaluateLevel(search, top);
  noteEvaluation(search, top);
  if (accepted) {
    search.fast.committed = top;
    search.state.extendFlag = true;
    return EvaluationOutcome::Accepted;
  }
  --search.state.placedCount;
  return EvaluationOutcome::Rejected;
}

RowProbe probeRowOnTop(ArrangementSearch& search, const Placement& row) {
  FastEvaluation& fast = search.fast;
  RowProbe probe;
  if (!fast.prepared || fast.committed != search.state.placedCount || !rowFits(fast, search.letters, row)) {
    return probe;
  }
  // A row is checked before any of its cells is written: nothing to undo.
  const LevelRecord& below = fast.levels[static_cast<size_t>(fast.committed)];
  const RowShape shape = shapeOf(search.letters, row);
  RowCounts counts{below.crossings, below.unwantedNeighbourhoods};
  OccupancyGrid& grid = fast.occupancy;
  const bool fits = grid.hashed ? occupancy::rowFitsCells(occupancy::hashedCells(grid), shape, counts)
                                : occupancy::rowFitsCells(occupancy::denseCells(grid), shape, counts);
  const GridBox box = occupancy::extendBox(below.box, shape);
  if (fits && boxFitsFrame(box, search.frame)) {
    probe.outcome = EvaluationOutcome::Accepted;
    probe.crossings = counts.crossings;
    probe.unwantedNeighbourhoods = counts.unwantedNeighbourhoods;
    probe.box = box;
  }
  return probe;
}

GridBox boxWithRow(const GridBox& box, const Placement& row, int32_t length) {
  return occupancy::extendBox(box, RowShape{nullptr, length, row.x, row.y, row.direction});
}

void ensureGrid(ArrangementSearch& search) {
  if (!search.fast.gridStale) return;
  buildArrangementGrid(search, search.fast.lastRowCount, search.evaluation);
  search.fast.gridStale = false;
}

}  // namespace arrowgrid
