// The grey of a clue cell, the same on paper and in the ipuz file that a
// player's program draws: light enough to write a clue on.
#pragma once

#include <cstdint>

namespace arrowgrid {

inline constexpr uint8_t CLUE_CELL_GREY_LEVEL = 0xD1;  // of 0xFF, for red, green and blue alike

}  // namespace arrowgrid
