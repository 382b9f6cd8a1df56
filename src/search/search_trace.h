// A record of what the enumeration compares and pushes, for tests. The
// search fills it only when ArrangementSearch::trace points at one; the
// pointer is tested once per resume, and the untraced enumeration is a
// separate instance with no trace code in its loop.
#pragma once

#include <cstdint>
#include <vector>

#include "search/search_data.h"

namespace arrowgrid {

enum class TraceKind { Comparison, Push };

struct TraceEvent {
  TraceKind kind = TraceKind::Comparison;
  Candidate candidate;        // the cursor at the comparison or push
  uint8_t newLetter = 0;      // Comparison: letter letterPos of the word being added
  uint8_t crossedLetter = 0;  // Comparison: letter crossedPos of the crossed row's word
  int64_t trialCount = 0;     // the count shown when the event happened
  Placement row;              // Push: the row written
};

struct SearchTrace {
  std::vector<TraceEvent> events;
};

}  // namespace arrowgrid
