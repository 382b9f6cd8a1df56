// The search engine: the enumeration with the comparisons it can tell will
// fail counted in bulk, the evaluation of each push on the occupancy grid,
// and the ranking, in one loop that leaves only at an arrangement to show
// or at the end of the search. Every count, arrangement and best it meets
// is the one the trial-by-trial enumeration meets.
#pragma once

#include <cstdint>

#include "search/candidate_enumeration.h"
#include "search/search_data.h"

namespace arrowgrid {

enum class SearchStop {
  Shown,     // an accepted arrangement that selectionMode shows: placedCount rows, extendFlag 1
  Finished,  // the level of word 1 is exhausted: the search is over
};

// From the trial step after the last evaluation (or after the last stop)
// on: trials, pushes, evaluations and rankings until an accepted
// arrangement ranks as selectionMode shows (search.bestScore updated,
// search.evaluation holding its box and counts, its grid stale) or the end.
// The hook's flag is looked at for every letter of the word being added;
// the hook is told the count at each stop.
SearchStop searchUntilShown(ArrangementSearch& search, int32_t selectionMode, const TrialsHook& hook);

// The enumeration alone, with the same bulk counting, up to the next push
// or the end: the caller evaluates the pushed row. Trial by trial, and
// traced, when search.trace is set.
ResumeOutcome resumeSearchQuiet(ArrangementSearch& search, const TrialsHook& hook = TrialsHook{});

// The score of the arrangement last evaluated, when it was accepted.
ArrangementScore lastEvaluationScore(const ArrangementSearch& search);

}  // namespace arrowgrid
