// Constants of the search shared by its records: the table capacity and the
// two directions of a placed word.
#pragma once

#include <cstdint>

namespace arrowgrid {

inline constexpr int32_t MAX_WORDS = 50;
inline constexpr int32_t DIR_HORIZONTAL = 1;
inline constexpr int32_t DIR_VERTICAL = 2;

// The direction of a word that crosses one placed in `direction`.
constexpr int32_t crossingDirection(int32_t direction) { return DIR_HORIZONTAL + DIR_VERTICAL - direction; }

}  // namespace arrowgrid
