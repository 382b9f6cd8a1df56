// The backtracking enumeration of candidate placements: one trial per letter
// comparison, levels opened after an accepted arrangement, backtracks that
// take the cursor back from the dropped row. Its whole position lives in
// the search state, so each call runs until one push or the end and returns.
// This file holds the trial-by-trial form, the judge of the search engine's
// bulk-counted one (search_engine.h), and what both share.
#pragma once

#include <atomic>
#include <bit>
#include <cstdint>

#include "search/search_data.h"
#include "search/search_trace.h"

namespace arrowgrid {

enum class ResumeOutcome {
  Pushed,    // a matching candidate is the new top row: evaluate it next
  Finished,  // the level of word 1 is exhausted: the search is over
};

// How the search keeps whoever shows the trials line informed without
// knowing the screen: a flag it looks at now and then, raised when a
// picture is wanted, and what it calls then and when it stops. Every field
// may be left empty (a search without a screen).
struct TrialsHook {
  const std::atomic<bool>* refreshWanted = nullptr;
  void (*present)(void* context, int64_t trialCount) = nullptr;  // bring the line to trialCount, show it
  void (*stopped)(void* context, int64_t trialCount) = nullptr;  // the search returns at trialCount
  void* context = nullptr;
};

inline void lookAtRefresh(const TrialsHook& hook, int64_t trialCount) {
  if (hook.refreshWanted != nullptr && hook.refreshWanted->load(std::memory_order_relaxed)) [[unlikely]] {
    hook.present(hook.context, trialCount);
  }
}

inline void reportStop(const TrialsHook& hook, int64_t trialCount) {
  if (hook.stopped != nullptr) hook.stopped(hook.context, trialCount);
}

// The enumeration one trial at a time, exactly as the trial step, the
// level step, the advance, the comparison and the push follow each other:
// runs until a push or the end. The hook's flag is looked at every trial.
// Records comparisons and pushes in *search.trace when it is set.
ResumeOutcome resumeSearchTrialByTrial(ArrangementSearch& search, const TrialsHook& hook = TrialsHook{});

// The enumeration with the search engine's bulk counting, up to the next
// push or the end: the caller evaluates the pushed row. Trial by trial,
// and traced, when search.trace is set. (Defined with the engine.)
ResumeOutcome resumeSearchQuiet(ArrangementSearch& search, const TrialsHook& hook = TrialsHook{});

namespace enumeration_detail {

inline uint64_t wordBit(int32_t wordNumber) { return uint64_t{1} << wordNumber; }

// Bits 1..wordCount.
inline uint64_t allWordBits(int32_t wordCount) {
  return ((wordCount >= 63) ? ~uint64_t{0} : ((uint64_t{1} << (wordCount + 1)) - 1)) & ~uint64_t{1};
}

// The lowest unplaced word above `after`, or 0 when there is none.
inline int32_t nextUnplacedWord(uint64_t unplaced, int32_t after) {
  const uint64_t above = (after >= 63) ? 0 : (unplaced & (~uint64_t{0} << (after + 1)));
  return above == 0 ? 0 : std::countr_zero(above);
}

}  // namespace enumeration_detail

// The row of a matched candidate across the row it crosses: the other
// direction, and the arrow cell placed so that letter letterPos of the new
// word lies on letter crossedPos of the crossed one.
inline Placement placementAcross(const Placement& crossed, const Candidate& candidate) {
  Placement row;
  row.wordNumber = candidate.wordNumber;
  row.direction = crossingDirection(crossed.direction);
  if (row.direction == DIR_HORIZONTAL) {
    row.x = crossed.x - candidate.letterPos;
    row.y = crossed.y + candidate.crossedPos;
  } else {
    row.x = crossed.x + candidate.crossedPos;
    row.y = crossed.y - candidate.letterPos;
  }
  row.letterPos = candidate.letterPos;
  row.crossedRow = candidate.crossedRow;
  row.crossedPos = candidate.crossedPos;
  return row;
}

// Gives up everything below row `row` (2..placedCount) and row itself: the
// next resume goes on at that row's level with the candidate after the one
// that produced it, as the backtrack from it would. With row = placedCount
// after an Accepted evaluation, the subtree of that arrangement is skipped
// (a search that bounds its work calls this; the program's never does).
// Like a rejection, it counts no trial.
inline void skipBelowRow(ArrangementSearch& search, int32_t row) {
  search.state.candidate = candidateOf(search.table.rows[static_cast<size_t>(row)]);
  search.state.placedCount = row - 1;
  search.state.extendFlag = false;
}

}  // namespace arrowgrid
