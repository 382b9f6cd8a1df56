// The 8x14 code page 437 glyph set compiled into the program.
#pragma once

#include <cstdint>

namespace arrowgrid {

// GLYPH_BITMAPS[code][row]: bit 7 is the leftmost pixel of the row.
extern const uint8_t GLYPH_BITMAPS[256][14];

}  // namespace arrowgrid
