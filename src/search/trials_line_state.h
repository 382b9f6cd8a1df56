// What the trials line last left on the text layer, so the next trial can
// rewrite only the digits that changed when nothing else touched the screen.
#pragma once

#include <array>
#include <cstdint>

namespace arrowgrid {

struct TrialsLineState {
  bool shown = false;               // the full line was printed and nothing is known to differ
  uint64_t seenTextChange = 0;      // TextScreen::changeCount right after our last write
  uint64_t seenSurfaceChange = 0;   // DrawingSurface::changeCount at the same moment
  int64_t shownCount = 0;           // the count on the line
  std::array<uint8_t, 20> digits{}; // its decimal digits, most significant first
  int32_t digitCount = 0;
};

}  // namespace arrowgrid
