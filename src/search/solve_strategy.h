// The order in which arrowgrid-solve tries its strategies: the beam search
// first, which gives a clean grid of a long list within a fraction of a
// second, then the proof (the bounded depth-first search, seeded with the
// beam's score) with the time left. A proof that ends gives the depth-first search's answer; a stopped
// one gives the better of the two, not proven.
#pragma once

#include "search/proof_search.h"

namespace arrowgrid {

// Share of a time limit, or of a node limit's evaluations, the beam may use
// before the proof starts; without a limit it runs only its guaranteed widths.
inline constexpr double BEAM_SHARE_OF_TIME_LIMIT = 0.5;

// settings.exhaustive: the exhaustive search alone, as solveArrangement.
// The control is only read: it may serve the next list as it is.
SolveResult solveWithStrategies(const WordList& words, const SolveSettings& settings,
                                const SolveControl& control);

const char* strategyName(SolveStrategy strategy);

}  // namespace arrowgrid
