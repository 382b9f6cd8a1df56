// arrowgrid-solve from its command line to its exit status: read and fold
// the words, solve, print the grid and the counts, write the JSON.
#pragma once

namespace arrowgrid {

// The exit status: 0 answered, 1 run-time failure, 2 bad command line or
// words (nothing written), 130 interrupted (the best so far written).
int runSolveProgram(int argc, char** argv);

}  // namespace arrowgrid
