// The progress line on standard error while the solver runs: elapsed time,
// evaluations per second (trials per second when exhaustive) and the best so far, rewritten in place at most
// ten times a second and wiped at the end.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "search/proof_search.h"

namespace arrowgrid {

struct ProgressLine {
  std::FILE* out = nullptr;  // nullptr: nothing is shown
  size_t shownWidth = 0;     // characters of the line now on screen
  double lastSeconds = -1;   // when it was last rewritten
  int64_t lastCount = 0;     // evaluations, or trials when exhaustive
  double rate = 0;           // of that count per second over the last interval
};

// The text of one refresh, rate in evaluations (or trials) per second.
std::string progressText(const SolveProgress& progress, double rate);

void showProgress(ProgressLine& line, const SolveProgress& progress);
void wipeProgress(ProgressLine& line);

}  // namespace arrowgrid
