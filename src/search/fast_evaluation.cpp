// The incremental evaluation: an occupancy grid of the accepted rows with
// per-row undo, the newest row written on top of it by the same cell rules
// as the reference evaluation.
#include "search/fast_evaluation.h"

#include <algorithm>
#include <bit>

#include "search/grid_evaluation.h"
#include "search/search_start.h"

namespace arrowgrid {

namespace {

inline bool isLetterByte(uint8_t code) {
  return static_cast<uint8_t>(code - 65) < 26 || code == 45;
}

// Dense cells: a position is an index into the square; a step along or
// across a word is 1 or side.
struct DenseCells {
  uint8_t* codes;
  int32_t margin;
  int32_t side;
  using Position = int64_t;
  Position at(int32_t x, int32_t y) const {
    return (int64_t{y} + margin) * side + (int64_t{x} + margin);
  }
  Position step(Position p, int32_t dx, int32_t dy) const { return p + dx + int64_t{dy} * side; }
  uint32_t find(Position p) const { return static_cast<uint32_t>(p); }
  void claim(uint32_t, Position) const {}
};

// Hashed cells: a position is a pair of coordinates; find returns the slot
// holding it or the free slot where it would go.
struct HashedCells {
  uint8_t* codes;
  uint64_t* keys;
  uint32_t slotMask;
  struct Position {
    int32_t x;
    int32_t y;
  };
  static uint64_t keyOf(Position p) {
    return (uint64_t{static_cast<uint32_t>(p.x)} << 32) | uint64_t{static_cast<uint32_t>(p.y)};
  }
  Position at(int32_t x, int32_t y) const { return Position{x, y}; }
  Position step(Position p, int32_t dx, int32_t dy) const { return Position{p.x + dx, p.y + dy}; }
  uint32_t find(Position p) const {
    const uint64_t key = keyOf(p);
    uint32_t slot = static_cast<uint32_t>((key * 0x9E3779B97F4A7C15ULL) >> 32) & slotMask;
    while (codes[slot] != 0 && keys[slot] != key) slot = (slot + 1) & slotMask;
    return slot;
  }
  void claim(uint32_t slot, Position p) const { keys[slot] = keyOf(p); }
};

struct RowCounts {
  int32_t crossings;
  int32_t unwantedNeighbourhoods;
};

// Writes one row onto the occupancy grid with the cell rules, logging every
// write; false at the first broken rule (the caller undoes the partial row).
template <typename Cells>
bool writeRowFast(const Cells& cells, FastEvaluation& fast, const uint8_t* word, int32_t length,
                  const std::array<int32_t, 4>& row, RowCounts& counts) {
  uint8_t* const codes = cells.codes;
  CellUndo* const undo = fast.undo.data();
  int32_t undoCount = fast.undoCount;
  const int32_t dx = row[3] == DIR_HORIZONTAL ? 1 : 0;
  const int32_t dy = 1 - dx;
  const uint8_t arrow = static_cast<uint8_t>(27 - row[3]);
  auto write = [&](uint32_t slot, typename Cells::Position p, uint8_t code) {
    undo[undoCount++] = CellUndo{slot, codes[slot]};
    cells.claim(slot, p);
    codes[slot] = code;
  };
  bool ok = true;

  typename Cells::Position p = cells.at(row[1], row[2]);
  {
    const uint32_t slot = cells.find(p);
    const uint8_t cell = codes[slot];
    if (cell == CELL_BOTH_ARROWS || cell == arrow || isLetterByte(cell)) {
      ok = false;
    } else {
      write(slot, p, (cell == CELL_DOWN_ARROW || cell == CELL_RIGHT_ARROW) ? CELL_BOTH_ARROWS : arrow);
    }
  }
  for (int32_t i = 0; ok && i < length; ++i) {
    p = cells.step(p, dx, dy);
    const uint32_t slot = cells.find(p);
    const uint8_t cell = codes[slot];
    const uint8_t letter = word[i];
    if (cell == letter) {
      ++counts.crossings;
      continue;
    }
    if (cell != CELL_EMPTY) {
      ok = false;
      break;
    }
    write(slot, p, letter);
    counts.unwantedNeighbourhoods += isLetterByte(codes[cells.find(cells.step(p, -dy, -dx))]);
    counts.unwantedNeighbourhoods += isLetterByte(codes[cells.find(cells.step(p, dy, dx))]);
  }
  if (ok) {
    p = cells.step(p, dx, dy);
    const uint32_t slot = cells.find(p);
    const uint8_t cell = codes[slot];
    if (cell == CELL_EMPTY || cell == CELL_BLOCK) {
      write(slot, p, CELL_BLOCK);
    } else if (cell != CELL_DOWN_ARROW && cell != CELL_RIGHT_ARROW) {
      ok = false;
    }
  }
  fast.undoCount = undoCount;
  return ok;
}

bool writeRowOnOccupancy(FastEvaluation& fast, const uint8_t* word, int32_t length,
                         const std::array<int32_t, 4>& row, RowCounts& counts) {
  OccupancyGrid& occupancy = fast.occupancy;
  return occupancy.hashed
             ? writeRowFast(HashedCells{occupancy.codes.data(), occupancy.keys.data(), occupancy.slotMask},
                            fast, word, length, row, counts)
             : writeRowFast(DenseCells{occupancy.codes.data(), occupancy.margin, occupancy.side}, fast, word,
                            length, row, counts);
}

void undoTo(FastEvaluation& fast, int32_t undoStart) {
  uint8_t* const codes = fast.occupancy.codes.data();
  for (int32_t i = fast.undoCount - 1; i >= undoStart; --i) {
    const CellUndo& entry = fast.undo[static_cast<size_t>(i)];
    codes[entry.slot] = entry.previous;
  }
  fast.undoCount = undoStart;
}

GridBox extendBox(GridBox box, const std::array<int32_t, 4>& row, int32_t length) {
  if (row[3] == DIR_HORIZONTAL) {
    box.xMin = std::min(box.xMin, row[1]);
    box.xMax = std::max(box.xMax, row[1] + length + 1);
    box.width = box.xMax - box.xMin + 1;
  } else {
    box.yMin = std::min(box.yMin, row[2]);
    box.yMax = std::max(box.yMax, row[2] + length + 1);
    box.height = box.yMax - box.yMin + 1;
  }
  return box;
}

std::array<int32_t, 4> rowKey(const Placement& row) {
  return {row.wordNumber, row.x, row.y, row.direction};
}

// Whether the row can be written without leaving the storage: a dense
// square must hold all its cells and side cells, the undo log its writes.
// The enumeration's geometry always passes; a hand-made table may not.
bool rowFits(const FastEvaluation& fast, const WordLetters& words, const std::array<int32_t, 4>& row) {
  if (row[0] < 1 || row[0] > words.wordCount) return false;
  if (row[3] != DIR_HORIZONTAL && row[3] != DIR_VERTICAL) return false;
  const int64_t length = words.length[static_cast<size_t>(row[0])];
  if (fast.undoCount + length + 2 > static_cast<int64_t>(fast.undo.size())) return false;
  if (fast.occupancy.hashed) return true;
  const int64_t m = fast.occupancy.margin;
  const int64_t x = row[1];
  const int64_t y = row[2];
  const int64_t xEnd = row[3] == DIR_HORIZONTAL ? x + length + 1 : x;
  const int64_t yEnd = row[3] == DIR_VERTICAL ? y + length + 1 : y;
  return x - 1 >= -m && xEnd + 1 <= m && y - 1 >= -m && yEnd + 1 <= m;
}

// Writes row level on top of rows 1..level-1 and fills levels[level];
// on a broken rule its cells are undone.
bool writeLevel(ArrangementSearch& search, int32_t level) {
  FastEvaluation& fast = search.fast;
  const std::array<int32_t, 4> row = rowKey(search.table.rows[static_cast<size_t>(level)]);
  const WordLetters& words = search.letters;
  const LevelRecord& below = fast.levels[static_cast<size_t>(level - 1)];
  LevelRecord& top = fast.levels[static_cast<size_t>(level)];
  const int32_t length = words.length[static_cast<size_t>(row[0])];
  const uint8_t* word = words.letters.data() + words.offset[static_cast<size_t>(row[0])];
  top.box = extendBox(below.box, row, length);
  top.undoStart = fast.undoCount;
  top.row = row;
  RowCounts counts{below.crossings, below.unwantedNeighbourhoods};
  const bool ok = writeRowOnOccupancy(fast, word, length, row, counts);
  top.crossings = counts.crossings;
  top.unwantedNeighbourhoods = counts.unwantedNeighbourhoods;
  if (!ok) undoTo(fast, top.undoStart);
  return ok;
}

// A table the occupancy grid cannot follow: evaluate it the reference way
// and start the occupancy grid afresh next time.
EvaluationOutcome evaluateByReference(ArrangementSearch& search) {
  undoTo(search.fast, 0);
  search.fast.committed = 0;
  return evaluateArrangement(search);
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

EvaluationOutcome evaluateArrangementFast(ArrangementSearch& search) {
  FastEvaluation& fast = search.fast;
  if (!fast.prepared) {
    buildWordLetters(search.wordList, search.letters);
    prepareFastEvaluation(search);
  }
  ++fast.evaluations;
  const int32_t top = search.state.placedCount;

  // Bring the occupancy grid to rows 1..top-1: drop the rows popped since
  // (each evaluation follows exactly one push), then write any missing row.
  while (fast.committed > top - 1) {
    undoTo(fast, fast.levels[static_cast<size_t>(fast.committed)].undoStart);
    --fast.committed;
  }
  if (fast.committed > 0 && fast.levels[static_cast<size_t>(fast.committed)].row !=
                                rowKey(search.table.rows[static_cast<size_t>(fast.committed)])) {
    undoTo(fast, 0);
    fast.committed = 0;
  }
  while (fast.committed < top - 1) {
    const int32_t level = fast.committed + 1;
    if (!rowFits(fast, search.letters, rowKey(search.table.rows[static_cast<size_t>(level)])) ||
        !writeLevel(search, level)) {
      return evaluateByReference(search);
    }
    fast.committed = level;
  }
  if (!rowFits(fast, search.letters, rowKey(search.table.rows[static_cast<size_t>(top)]))) {
    return evaluateByReference(search);
  }

  const bool accepted = writeLevel(search, top);
  const LevelRecord& level = fast.levels[static_cast<size_t>(top)];
  GridEvaluation& evaluation = search.evaluation;
  evaluation.grid.box = level.box;
  evaluation.crossings = level.crossings;
  evaluation.unwantedNeighbourhoods = level.unwantedNeighbourhoods;
  fast.gridStale = true;
  fast.lastRowCount = top;
  if (accepted) {
    fast.committed = top;
    search.state.extendFlag = 1;
    return EvaluationOutcome::Accepted;
  }
  --search.state.placedCount;
  return EvaluationOutcome::Rejected;
}

RowProbe probeRowOnTop(ArrangementSearch& search, const Placement& row) {
  FastEvaluation& fast = search.fast;
  RowProbe probe;
  const std::array<int32_t, 4> key = rowKey(row);
  if (!fast.prepared || fast.committed != search.state.placedCount || !rowFits(fast, search.letters, key)) {
    return probe;
  }
  const WordLetters& words = search.letters;
  const LevelRecord& below = fast.levels[static_cast<size_t>(fast.committed)];
  const int32_t length = words.length[static_cast<size_t>(key[0])];
  const uint8_t* word = words.letters.data() + words.offset[static_cast<size_t>(key[0])];
  const int32_t undoStart = fast.undoCount;
  RowCounts counts{below.crossings, below.unwantedNeighbourhoods};
  const bool ok = writeRowOnOccupancy(fast, word, length, key, counts);
  undoTo(fast, undoStart);
  if (ok) {
    probe.outcome = EvaluationOutcome::Accepted;
    probe.crossings = counts.crossings;
    probe.unwantedNeighbourhoods = counts.unwantedNeighbourhoods;
    probe.box = extendBox(below.box, key, length);
  }
  return probe;
}

GridBox boxWithRow(const GridBox& box, const Placement& row, int32_t length) {
  return extendBox(box, rowKey(row), length);
}

void ensureGrid(ArrangementSearch& search) {
  if (!search.fast.gridStale) return;
  buildArrangementGrid(search, search.fast.lastRowCount, search.evaluation);
  search.fast.gridStale = false;
}

}  // namespace arrowgrid
