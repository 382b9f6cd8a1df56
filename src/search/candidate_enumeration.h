// The backtracking enumeration of candidate placements: one trial per letter
// comparison, levels opened after an accepted arrangement, backtracks that
// take the cursor back from the dropped row. Its whole position lives in
// the search state, so each call runs until one push or the end and returns.
#pragma once

#include <bit>
#include <cstdint>

#include "search/search_data.h"
#include "search/search_trace.h"

namespace arrowgrid {

enum class ResumeOutcome {
  Pushed,    // a matching candidate is the new top row: evaluate it next
  Finished,  // the level of word 1 is exhausted: the search is over
};

// resumeSearch without any screen: the same trials, comparisons and pushes.
// Tests and the benchmark drive the search with it.
ResumeOutcome resumeSearchQuiet(ArrangementSearch& search);

// The hook of a search without a screen.
struct QuietTrials {
  void trial(int64_t) {}
  void done(int64_t) {}
};

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
  row.direction = crossed.direction % 2 + 1;
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
  const Placement& dropped = search.table.rows[static_cast<size_t>(row)];
  search.state.candidate = Candidate{dropped.wordNumber, dropped.letterPos, dropped.crossedRow, dropped.crossedPos};
  search.state.placedCount = row - 1;
  search.state.extendFlag = 0;
}

// The enumeration proper. hook.trial(trialCount) runs at every trial step,
// after the count is raised; it is where the screen is kept up to date;
// hook.done(trialCount) runs once before returning. The hook is taken by
// value so that its state can live in registers through the loop.
// The level step can only apply to the first trial of a call (only an
// evaluation sets extendFlag), so the loop proper is the advance, the
// compare and the next trial step. With Traced, comparisons and pushes are
// recorded in *search.trace; the program's searches run without it.
template <bool Traced, typename TrialHook>
ResumeOutcome runEnumeration(ArrangementSearch& search, TrialHook hook) {
  using namespace enumeration_detail;
  SearchState& state = search.state;
  const WordLetters& words = search.letters;
  Placement* const rows = search.table.rows.data();
  const uint8_t* const letters = words.letters.data();
  const int32_t wordCount = words.wordCount;
  SearchTrace* const trace = Traced ? search.trace : nullptr;

  // Working copies of the cursor and counters, stored back on the way out.
  int32_t wordNumber = state.candidate.wordNumber;
  int32_t letterPos = state.candidate.letterPos;
  int32_t crossedRow = state.candidate.crossedRow;
  int32_t crossedPos = state.candidate.crossedPos;
  int32_t placedCount = state.placedCount;
  int64_t trials = state.trialCount;
  uint64_t unplaced = allWordBits(wordCount);
  for (int32_t r = 1; r <= placedCount; ++r) unplaced &= ~wordBit(rows[r].wordNumber);

  // Derived from the cursor, refreshed whenever its word or crossed row
  // changes: the letter of the word being added, the crossed word's letters
  // (indexed from 1) and its length.
  uint8_t newLetter = 0;
  const uint8_t* crossedLetters = letters;
  int32_t crossedLength = 0;
  auto loadNewLetter = [&] {
    newLetter = letters[words.offset[static_cast<size_t>(wordNumber)] + letterPos - 1];
  };
  auto loadCrossedWord = [&] {
    const int32_t w = rows[crossedRow].wordNumber;
    crossedLetters = letters + words.offset[static_cast<size_t>(w)] - 1;
    crossedLength = words.length[static_cast<size_t>(w)];
  };
  auto cursor = [&] { return Candidate{wordNumber, letterPos, crossedRow, crossedPos}; };
  auto storeBack = [&] {
    state.candidate = cursor();
    state.placedCount = placedCount;
    state.trialCount = trials;
    state.extendFlag = 0;
    hook.done(trials);
  };

  // The advance once the crossed word's letters are used up: the next
  // crossed row, the next letter, the next unplaced word, else backtracks;
  // false when the level of word 1 is exhausted. Entered with exhausted set,
  // it goes straight to the end of the level.
  auto advanceBeyondCrossedWord = [&](bool exhausted) {
    for (;;) {
      if (!exhausted) {
        if (++crossedRow <= placedCount) {
          crossedPos = 1;
          loadCrossedWord();
          return true;
        }
        if (++letterPos <= words.length[static_cast<size_t>(wordNumber)]) {
          crossedRow = 1;
          crossedPos = 1;
          loadNewLetter();
          loadCrossedWord();
          return true;
        }
        const int32_t next = nextUnplacedWord(unplaced, wordNumber);
        if (next != 0) {
          wordNumber = next;
          letterPos = crossedRow = crossedPos = 1;
          loadNewLetter();
          loadCrossedWord();
          return true;
        }
        wordNumber = wordCount + 1;
      }
      if (placedCount == 1) return false;
      // Backtrack (no trial): the previous level continues after the
      // candidate that produced the dropped row.
      const Placement& dropped = rows[placedCount];
      wordNumber = dropped.wordNumber;
      letterPos = dropped.letterPos;
      crossedRow = dropped.crossedRow;
      crossedPos = dropped.crossedPos;
      unplaced |= wordBit(dropped.wordNumber);
      --placedCount;
      exhausted = false;
      loadNewLetter();
      loadCrossedWord();
      if (++crossedPos <= crossedLength) return true;
    }
  };

  // Trial step.
  ++trials;
  hook.trial(trials);

  // Level step.
  if (state.extendFlag == 1) {
    if (placedCount == wordCount) {
      // Every word placed: drop the top row; the cursor still describes it.
      unplaced |= wordBit(rows[placedCount].wordNumber);
      --placedCount;
    } else {
      wordNumber = nextUnplacedWord(unplaced, 1);
      letterPos = 1;
      crossedRow = 1;
      crossedPos = 0;
    }
  }

  // A cursor past its bounds (the search already over) or one naming a dead
  // row goes straight to the end of the level, so no stale row and no word
  // beyond the list is ever read.
  bool compare;
  if (wordNumber < 1 || wordNumber > wordCount || letterPos < 1 ||
      letterPos > words.length[static_cast<size_t>(wordNumber)] || crossedRow < 1 ||
      crossedRow > placedCount || crossedPos < 0) {
    compare = advanceBeyondCrossedWord(true);
  } else {
    loadNewLetter();
    loadCrossedWord();
    compare = ++crossedPos <= crossedLength || advanceBeyondCrossedWord(false);
  }

  while (compare) {
    // Compare.
    const uint8_t crossedLetter = crossedLetters[crossedPos];
    if constexpr (Traced) {
      trace->events.push_back(TraceEvent{TraceKind::Comparison, cursor(), newLetter, crossedLetter, trials,
                                         Placement{}});
    }
    if (newLetter == crossedLetter) {
      // Push.
      const Placement row =
          placementAcross(rows[crossedRow], Candidate{wordNumber, letterPos, crossedRow, crossedPos});
      ++placedCount;
      rows[placedCount] = row;
      if constexpr (Traced) trace->events.push_back(TraceEvent{TraceKind::Push, cursor(), 0, 0, trials, row});
      storeBack();
      return ResumeOutcome::Pushed;
    }
    // Next trial step, then the advance.
    ++trials;
    hook.trial(trials);
    compare = ++crossedPos <= crossedLength || advanceBeyondCrossedWord(false);
  }
  storeBack();
  return ResumeOutcome::Finished;
}

// Runs the enumeration, traced when search.trace is set.
template <typename TrialHook>
ResumeOutcome runEnumerationWith(ArrangementSearch& search, TrialHook hook) {
  return search.trace != nullptr ? runEnumeration<true>(search, hook) : runEnumeration<false>(search, hook);
}

}  // namespace arrowgrid
