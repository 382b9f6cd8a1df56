// What the trials line last left on the text layer, so the next print can
// rewrite only the digits that changed when nothing else touched the screen.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/byte_string.h"

namespace arrowgrid {

// The line's label in code page 437, shared by the search and the report,
// and the blanks printed after the count.
inline constexpr std::string_view TRIALS_LABEL = "Nb d'essais effectu\x82s :";
inline constexpr int32_t TRIALS_TRAILING_BLANKS = 7;

struct TrialsLineState {
  bool shown = false;              // the screen holds the full sequence's result for shownCount
  uint64_t seenTextChange = 0;     // TextScreen::changeCount right after our last write
  uint64_t seenSurfaceChange = 0;  // DrawingSurface::changeCount at the same moment
  int64_t shownCount = 0;          // the count on the line (never negative when shown)
  int32_t digitCount = 0;          // its decimal digits, which the screen cells hold
  int64_t fullPrints = 0;          // full print sequences run (the rest were digit updates)
  // The line's texts, built once so that printing them allocates nothing.
  ByteString label = ByteString(TRIALS_LABEL);
  ByteString trailingBlanks = ByteString(TRIALS_TRAILING_BLANKS, ' ');
  ByteString promptBlanks = ByteString(33, ' ');
};

}  // namespace arrowgrid
