// The reference evaluation: box, grid, the three writing steps per row with
// the cell rules, crossings and unwanted neighbourhoods.
#include "search/grid_evaluation.h"

#include <algorithm>

namespace arrowgrid {

namespace {

uint64_t sparseKey(int32_t x, int32_t y) {
  return (uint64_t{static_cast<uint32_t>(x)} << 32) | uint64_t{static_cast<uint32_t>(y)};
}

bool insideBox(const GridBox& box, int32_t x, int32_t y) {
  return x >= box.xMin && x <= box.xMax && y >= box.yMin && y <= box.yMax;
}

size_t denseIndex(const GridBox& box, int32_t x, int32_t y) {
  return static_cast<size_t>(x - box.xMin) * static_cast<size_t>(box.height) +
         static_cast<size_t>(y - box.yMin);
}

}  // namespace

void resetGrid(Grid& grid, const GridBox& box) {
  grid.box = box;
  grid.dense = boxSurface(box) <= GRID_DENSE_LIMIT;
  if (grid.dense) {
    grid.cells.assign(static_cast<size_t>(boxSurface(box)), CELL_EMPTY);
    grid.written.clear();
  } else {
    grid.cells.clear();
    grid.cells.shrink_to_fit();
    grid.written.clear();
  }
}

void setGridCell(Grid& grid, int32_t x, int32_t y, int32_t code) {
  if (!insideBox(grid.box, x, y)) return;
  if (grid.dense) {
    grid.cells[denseIndex(grid.box, x, y)] = static_cast<uint8_t>(code);
  } else {
    grid.written[sparseKey(x, y)] = static_cast<uint8_t>(code);
  }
}

// Every cell a row reads or writes must lie in the box: the enumeration's
// geometry guarantees it, and a table that breaks that geometry is rejected
// rather than written out of bounds.
bool writeRowOnGrid(const ByteString& word, const Placement& row, GridEvaluation& out) {
  Grid& grid = out.grid;
  const int32_t length = textLength(word);
  const int32_t dx = row.direction == DIR_HORIZONTAL ? 1 : 0;
  const int32_t dy = 1 - dx;
  const int32_t arrow = 27 - directionCode(row.direction);
  int32_t x = row.x;
  int32_t y = row.y;

  // Arrow cell.
  if (!insideBox(grid.box, x, y)) return false;
  const int32_t arrowCell = gridCell(grid, x, y);
  if (arrowCell == CELL_BOTH_ARROWS || arrowCell == arrow) return false;
  if (isLetterCode(arrowCell)) return false;
  const bool otherArrow = arrowCell == CELL_DOWN_ARROW || arrowCell == CELL_RIGHT_ARROW;
  setGridCell(grid, x, y, otherArrow ? CELL_BOTH_ARROWS : arrow);

  // Letters, with their side cells across the word's direction.
  for (int32_t i = 1; i <= length; ++i) {
    x += dx;
    y += dy;
    if (!insideBox(grid.box, x, y)) return false;
    const int32_t letter = codeAt(word, i);
    const int32_t cell = gridCell(grid, x, y);
    if (cell == letter) {
      ++out.crossings;
      continue;
    }
    if (cell != CELL_EMPTY) return false;
    setGridCell(grid, x, y, letter);
    const int32_t sideX[2] = {x - dy, x + dy};
    const int32_t sideY[2] = {y - dx, y + dx};
    for (int32_t s = 0; s < 2; ++s) {
      if (!insideBox(grid.box, sideX[s], sideY[s])) return false;
      if (isLetterCode(gridCell(grid, sideX[s], sideY[s]))) ++out.unwantedNeighbourhoods;
    }
  }

  // Terminator cell.
  x += dx;
  y += dy;
  if (!insideBox(grid.box, x, y)) return false;
  const int32_t end = gridCell(grid, x, y);
  if (end == CELL_DOWN_ARROW || end == CELL_RIGHT_ARROW) return true;
  if (end != CELL_EMPTY && end != CELL_BLOCK) return false;
  setGridCell(grid, x, y, CELL_BLOCK);
  return true;
}

int32_t gridCell(const Grid& grid, int32_t x, int32_t y) {
  if (!insideBox(grid.box, x, y)) return CELL_EMPTY;
  if (grid.dense) {
    const size_t index = denseIndex(grid.box, x, y);
    return index < grid.cells.size() ? grid.cells[index] : CELL_EMPTY;
  }
  const auto found = grid.written.find(sparseKey(x, y));
  return found == grid.written.end() ? CELL_EMPTY : found->second;
}

GridBox arrangementBox(const WordList& words, const PlacementTable& table, int32_t rowCount) {
  GridBox box{0, 1, -1, 1, 0, 0};
  for (int32_t r = 1; r <= rowCount; ++r) {
    const Placement& row = table.rows[static_cast<size_t>(r)];
    const int32_t length = textLength(words.words[static_cast<size_t>(row.wordNumber)]);
    if (row.direction == DIR_HORIZONTAL) {
      box.xMin = std::min(box.xMin, row.x);
      box.xMax = std::max(box.xMax, row.x + length + 1);
    } else {
      box.yMin = std::min(box.yMin, row.y);
      box.yMax = std::max(box.yMax, row.y + length + 1);
    }
  }
  box.width = box.xMax - box.xMin + 1;
  box.height = box.yMax - box.yMin + 1;
  return box;
}

EvaluationOutcome buildArrangementGrid(const WordList& words, const PlacementTable& table, int32_t rowCount,
                                       GridEvaluation& out) {
  resetGrid(out.grid, arrangementBox(words, table, rowCount));
  out.crossings = 0;
  out.unwantedNeighbourhoods = 0;
  for (int32_t r = 1; r <= rowCount; ++r) {
    const Placement& row = table.rows[static_cast<size_t>(r)];
    if (!writeRowOnGrid(words.words[static_cast<size_t>(row.wordNumber)], row, out)) {
      return EvaluationOutcome::Rejected;
    }
  }
  return EvaluationOutcome::Accepted;
}

EvaluationOutcome buildArrangementGrid(const ArrangementSearch& search, int32_t rowCount,
                                       GridEvaluation& out) {
  return buildArrangementGrid(search.wordList, search.table, rowCount, out);
}

EvaluationOutcome evaluateArrangement(ArrangementSearch& search) {
  const EvaluationOutcome outcome = buildArrangementGrid(search, search.state.placedCount, search.evaluation);
  // The grid is now the one of this evaluation, whatever evaluated before.
  search.fast.gridStale = false;
  search.fast.lastRowCount = search.state.placedCount;
  if (outcome == EvaluationOutcome::Rejected) {
    --search.state.placedCount;
  } else {
    search.state.extendFlag = true;
  }
  return outcome;
}

}  // namespace arrowgrid
