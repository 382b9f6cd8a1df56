// The search engine: the enumeration with the comparisons it can tell will
// fail counted in bulk, the evaluation of each push on the occupancy grid,
// and the ranking, in one loop that leaves only at an arrangement to show
// or at the end of the search. Every count, arrangement and best it meets
// is the one the trial-by-trial enumeration meets.
#pragma once

#include <atomic>
#include <cstdint>

#include "search/candidate_enumeration.h"
#include "search/search_data.h"
#include "search/selection_mode.h"

namespace arrowgrid {

enum class SearchStop {
  Shown,     // an accepted arrangement that selectionMode shows: placedCount rows, extendFlag set
  Finished,  // the level of word 1 is exhausted: the search is over (with a floor, see EngineBounds)
  Node,      // an accepted arrangement of EngineBounds::nodeDepth rows (see there)
};

// What one run of the engine may do; the defaults are the whole search.
// The parallel search cuts the search tree with them: its workers explore
// the subtree below one arrangement (floorRow), its planner and its replay
// stop at each arrangement whose subtree is handed out (nodeDepth).
struct EngineBounds {
  SelectionMode selectionMode = SelectionMode::AtLeastAsGood;
  // Finished when the level above row floorRow is exhausted, with row
  // floorRow still placed; the trial step after that level's last
  // comparison is left to the level below. 1: the end of the search.
  int32_t floorRow = 1;
  // Node at an accepted arrangement of this many rows (fewer than the
  // words) that is not shown, and on entry at one whose level is not yet
  // open: rows 1..nodeDepth placed, extendFlag set, trialCount that of its
  // push. 0: never.
  int32_t nodeDepth = 0;
  // false: accepted arrangements are neither ranked nor shown.
  bool ranks = true;
  // When raised, the run ends at once (Finished) and its state means
  // nothing: a worker told to stop.
  const std::atomic<bool>* abandon = nullptr;
};

// The engine within bounds, from the trial step after the last evaluation.
SearchStop runSearchEngine(ArrangementSearch& search, const EngineBounds& bounds, const TrialsHook& hook);

// From the trial step after the last evaluation (or after the last stop)
// on: trials, pushes, evaluations and rankings until an accepted
// arrangement ranks as selectionMode shows (search.bestScore updated,
// search.evaluation holding its box and counts, its grid stale) or the end.
// The hook's flag is looked at for every letter of the word being added;
// the hook is told the count at each stop.
SearchStop searchUntilShown(ArrangementSearch& search, SelectionMode selectionMode, const TrialsHook& hook);

// The score of the arrangement last evaluated, when it was accepted.
ArrangementScore lastEvaluationScore(const ArrangementSearch& search);

}  // namespace arrowgrid
