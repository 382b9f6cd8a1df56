// Which accepted arrangements the search stops to show: the user's choice in
// the display dialog, by the numbers the dialog offers.
#pragma once

#include <cstdint>

namespace arrowgrid {

enum class SelectionMode : int32_t {
  AllAccepted = 0,    // every accepted arrangement
  AtLeastAsGood = 1,  // those at least as good as the best so far
  NewBestsOnly = 2,   // only those better than the best so far
};

// A looser mode shows more: every arrangement a mode shows, a looser one
// shows too.
inline bool isLooser(SelectionMode mode, SelectionMode than) { return mode < than; }

}  // namespace arrowgrid
