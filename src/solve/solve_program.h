// arrowgrid-solve from its options to its exit status: read and fold the
// words, solve, print the grid and the counts, write the JSON.
#pragma once

#include "solve/solve_options.h"

namespace arrowgrid {

// The exit status: SUCCESS_STATUS answered, FAILURE_STATUS run-time
// failure, BAD_COMMAND_LINE_STATUS bad words (nothing written),
// INTERRUPTED_STATUS (the best so far written).
int runSolveProgram(const SolveOptions& options);

}  // namespace arrowgrid
