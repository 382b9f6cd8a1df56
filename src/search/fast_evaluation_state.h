// The record behind the fast evaluation: an occupancy grid of the accepted
// rows kept from one evaluation to the next, with the cells each row wrote,
// so that an evaluation writes only the newest row and a pop undoes one
// row. All storage is sized once, when the search starts.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "search/arrangement_grid.h"
#include "search/search_limits.h"

namespace arrowgrid {

// One cell as it was before a row wrote it, to put back when the row goes.
struct CellUndo {
  uint32_t slot = 0;     // index into OccupancyGrid::codes
  uint8_t previous = 0;  // code before the write; 0 empties a hashed slot
};

// The cells of the accepted rows. Dense: a square of side cells centred on
// the origin, wide enough for any arrangement of the words. Hashed (when
// that square would be too large): open addressing over packed (x, y) keys,
// sized from the total letters, emptied in the order it was filled.
struct OccupancyGrid {
  bool hashed = false;
  int32_t margin = 0;          // dense: coordinates -margin..margin are stored
  int32_t side = 0;            // dense: 2 * margin + 1
  std::vector<uint8_t> codes;  // dense: side * side, row-major; hashed: one per slot, 0 = free
  std::vector<uint64_t> keys;  // hashed: packed (x, y) of each used slot
  uint32_t slotMask = 0;       // hashed: slot count - 1 (a power of two)
};

// What the accepted rows 1..level add up to.
struct LevelRecord {
  GridBox box;            // box of rows 1..level (level 0: the fixed start box)
  int32_t crossings = 0;  // counts of rows 1..level
  int32_t unwantedNeighbourhoods = 0;
  int32_t undoStart = 0;         // first CellUndo written by this level's row
  std::array<int32_t, 4> row{};  // wordNumber, x, y, direction of the committed row
};

struct FastEvaluation {
  bool prepared = false;  // storage sized for the current word list
  OccupancyGrid occupancy;
  std::vector<CellUndo> undo;  // sized to the most cells all rows can write
  int32_t undoCount = 0;
  std::array<LevelRecord, MAX_WORDS + 1> levels{};
  int32_t committed = 0;     // rows 1..committed are written in occupancy
  bool gridStale = false;    // evaluation.grid lags behind the last evaluation
  int32_t lastRowCount = 0;  // rows the last evaluation looked at (top row included)
  int64_t evaluations = 0;   // evaluations run, for the benchmark
};

}  // namespace arrowgrid
