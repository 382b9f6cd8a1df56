// The cells of the occupancy grid as the fast evaluation and the search
// engine read and write them: a dense square or a hash of packed
// coordinates behind one small interface, and one row checked against the
// cell rules before any of its cells is written, so that a rejected row
// leaves nothing to undo.
#pragma once

#include <algorithm>
#include <cstdint>

#include "search/arrangement_grid.h"
#include "search/fast_evaluation_state.h"
#include "search/search_limits.h"

namespace arrowgrid::occupancy {

// Letters are the codes 45 ('-') to 90 ('Z'); every other code a cell holds
// (empty, the arrows, the block) lies outside that range.
inline bool isLetterByte(uint8_t code) { return static_cast<uint8_t>(code - 45) <= 45; }

// Dense cells: a position is an index into the square; a step along or
// across a word is 1 or side.
struct DenseCells {
  uint8_t* codes;
  int32_t margin;
  int32_t side;
  using Position = int64_t;
  Position at(int32_t x, int32_t y) const { return (int64_t{y} + margin) * side + (int64_t{x} + margin); }
  Position step(Position p, int32_t dx, int32_t dy) const { return p + dx + int64_t{dy} * side; }
  uint32_t find(Position p) const { return static_cast<uint32_t>(p); }
  void claim(uint32_t, Position) const {}
};

// Hashed cells: a position is a pair of coordinates; find returns the slot
// holding it or the free slot where it would go. Slots are freed in the
// reverse order of their filling, so no probe chain is ever broken.
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

inline DenseCells denseCells(OccupancyGrid& grid) {
  return DenseCells{grid.codes.data(), grid.margin, grid.side};
}
inline HashedCells hashedCells(OccupancyGrid& grid) {
  return HashedCells{grid.codes.data(), grid.keys.data(), grid.slotMask};
}

// A row as the evaluation needs it: the word's letters and where it lies.
struct RowShape {
  const uint8_t* word;  // letter 1 at word[0]
  int32_t length;
  int32_t x;
  int32_t y;
  Direction direction;
};

struct RowCounts {
  int32_t crossings;
  int32_t unwantedNeighbourhoods;
};

// Whether the row can be written over the cells by the cell rules; adds its
// crossings and unwanted neighbourhoods to counts (on a clash, those met
// before it, as the reference leaves them). Writes nothing: a row's own
// cells lie in one line and its side cells beside it, so no cell the row
// would write is read again by a later step of the same row.
template <typename Cells>
inline bool rowFitsCells(const Cells& cells, const RowShape& row, RowCounts& counts) {
  const uint8_t* const codes = cells.codes;
  const int32_t dx = row.direction == DIR_HORIZONTAL ? 1 : 0;
  const int32_t dy = 1 - dx;
  const auto arrow = static_cast<uint8_t>(27 - directionCode(row.direction));
  typename Cells::Position p = cells.at(row.x, row.y);
  const uint8_t arrowCell = codes[cells.find(p)];
  if (arrowCell == CELL_BOTH_ARROWS || arrowCell == arrow || isLetterByte(arrowCell)) return false;
  for (int32_t i = 0; i < row.length; ++i) {
    p = cells.step(p, dx, dy);
    const uint8_t cell = codes[cells.find(p)];
    if (cell == row.word[i]) {
      ++counts.crossings;
      continue;
    }
    if (cell != CELL_EMPTY) return false;
    counts.unwantedNeighbourhoods += isLetterByte(codes[cells.find(cells.step(p, -dy, -dx))]);
    counts.unwantedNeighbourhoods += isLetterByte(codes[cells.find(cells.step(p, dy, dx))]);
  }
  p = cells.step(p, dx, dy);
  const uint8_t end = codes[cells.find(p)];
  return end == CELL_EMPTY || end == CELL_BLOCK || end == CELL_DOWN_ARROW || end == CELL_RIGHT_ARROW;
}

// Writes a row that rowFitsCells accepted, logging each cell's old code.
template <typename Cells>
inline void writeRowCells(const Cells& cells, const RowShape& row, CellUndo* undo, int32_t& undoCount) {
  uint8_t* const codes = cells.codes;
  const int32_t dx = row.direction == DIR_HORIZONTAL ? 1 : 0;
  const int32_t dy = 1 - dx;
  auto write = [&](uint32_t slot, typename Cells::Position p, uint8_t code) {
    undo[undoCount++] = CellUndo{slot, codes[slot]};
    cells.claim(slot, p);
    codes[slot] = code;
  };
  typename Cells::Position p = cells.at(row.x, row.y);
  uint32_t slot = cells.find(p);
  const uint8_t arrowCell = codes[slot];
  write(slot, p,
        (arrowCell == CELL_DOWN_ARROW || arrowCell == CELL_RIGHT_ARROW)
            ? static_cast<uint8_t>(CELL_BOTH_ARROWS)
            : static_cast<uint8_t>(27 - directionCode(row.direction)));
  for (int32_t i = 0; i < row.length; ++i) {
    p = cells.step(p, dx, dy);
    slot = cells.find(p);
    if (codes[slot] == CELL_EMPTY) write(slot, p, row.word[i]);  // else a crossing, kept
  }
  p = cells.step(p, dx, dy);
  slot = cells.find(p);
  if (codes[slot] == CELL_EMPTY) write(slot, p, CELL_BLOCK);  // a block or an arrow stays
}

// Puts back the cells logged from undoStart on, newest first.
inline void undoCells(FastEvaluation& fast, int32_t undoStart) {
  uint8_t* const codes = fast.occupancy.codes.data();
  const CellUndo* const undo = fast.undo.data();
  for (int32_t i = fast.undoCount - 1; i >= undoStart; --i) codes[undo[i].slot] = undo[i].previous;
  fast.undoCount = undoStart;
}

inline GridBox extendBox(GridBox box, const RowShape& row) {
  if (row.direction == DIR_HORIZONTAL) {
    box.xMin = std::min(box.xMin, row.x);
    box.xMax = std::max(box.xMax, row.x + row.length + 1);
    box.width = box.xMax - box.xMin + 1;
  } else {
    box.yMin = std::min(box.yMin, row.y);
    box.yMax = std::max(box.yMax, row.y + row.length + 1);
    box.height = box.yMax - box.yMin + 1;
  }
  return box;
}

}  // namespace arrowgrid::occupancy
