// Cell codes, the bounding box and the grid of the arrangement last
// evaluated, as the grid drawing and the result menu read them.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace arrowgrid {

inline constexpr int32_t CELL_EMPTY = 0;
inline constexpr int32_t CELL_DOWN_ARROW = 25;
inline constexpr int32_t CELL_RIGHT_ARROW = 26;
inline constexpr int32_t CELL_BOTH_ARROWS = 27;
inline constexpr int32_t CELL_BLOCK = 219;

struct GridBox {
  int32_t xMin = 0, xMax = 0;  // columns of the grid
  int32_t yMin = 0, yMax = 0;  // rows of the grid
  int32_t width = 0;           // xMax - xMin + 1
  int32_t height = 0;          // yMax - yMin + 1
};

// The most columns and rows a grid's box may take (the solver's --frame);
// 0 either way: no limit that way. A box only grows as rows are added, so an
// arrangement whose box exceeds the frame has no descendant within it.
struct GridFrame {
  int32_t columns = 0;
  int32_t rows = 0;
  bool operator==(const GridFrame&) const = default;
};

inline bool boxFitsFrame(const GridBox& box, const GridFrame& frame) {
  return (frame.columns == 0 || box.width <= frame.columns) && (frame.rows == 0 || box.height <= frame.rows);
}

// The grid over its box. Small boxes are stored densely; a box too large
// for that keeps only the cells written, so storage follows the words.
struct Grid {
  GridBox box;
  bool dense = true;
  std::vector<uint8_t> cells;                     // dense: width*height, column-major by x then y
  std::unordered_map<uint64_t, uint8_t> written;  // sparse: key of (x, y) -> code
};

// The code at (x, y) of the box; CELL_EMPTY for a cell never written.
int32_t gridCell(const Grid& grid, int32_t x, int32_t y);

struct GridEvaluation {
  Grid grid;
  int32_t crossings = 0;
  int32_t unwantedNeighbourhoods = 0;
};

enum class EvaluationOutcome { Rejected, Accepted };

}  // namespace arrowgrid
