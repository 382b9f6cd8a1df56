// Constants of the search shared by its records: the table capacity and the
// two directions of a placed word.
#pragma once

#include <cstdint>

namespace arrowgrid {

inline constexpr int32_t MAX_WORDS = 50;

// The two directions of a placed word, by the codes a placement row holds.
// Their names are used as they are, unqualified.
enum class Direction : int32_t {
  DIR_HORIZONTAL = 1,  // letters at increasing x
  DIR_VERTICAL = 2,    // letters at increasing y
};
using enum Direction;

// The code the grid's arrows are counted from (27 minus it is the arrow's).
constexpr int32_t directionCode(Direction direction) { return static_cast<int32_t>(direction); }

// The direction of a word that crosses one placed in `direction`.
constexpr Direction crossingDirection(Direction direction) {
  return direction == DIR_HORIZONTAL ? DIR_VERTICAL : DIR_HORIZONTAL;
}

}  // namespace arrowgrid
