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

// The most grids to choose from (--candidates).
inline constexpr int32_t MAX_CANDIDATES = 20;

// settings.exhaustive: the exhaustive search alone, as solveArrangement.
//
// result.candidates: the answer first, then up to settings.candidates - 1
// other grids that place as many words, best first: the best distinct sets
// of placements that the beam's guaranteed widths kept at their levels (the
// widths that always run to their end, so that the same words and options
// give the same grids on any machine and any number of threads; with
// settings.exhaustive, those widths are run for this alone). The proof
// gives only its answer: what its workers meet besides depends on their
// timing. Fewer when the beam kept fewer such grids.
// The control is only read: it may serve the next list as it is.
SolveResult solveWithStrategies(const WordList& words, const SolveSettings& settings,
                                const SolveControl& control);

const char* strategyName(SolveStrategy strategy);

}  // namespace arrowgrid
