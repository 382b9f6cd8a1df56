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

// The enumeration proper. onTrial(trialCount) runs at every trial step,
// after the count is raised; it is where the screen is kept up to date.
template <typename TrialHook>
ResumeOutcome runEnumeration(ArrangementSearch& search, TrialHook&& onTrial) {
  using namespace enumeration_detail;
  SearchState& state = search.state;
  const WordLetters& words = search.letters;
  Placement* const rows = search.table.rows.data();
  const uint8_t* const letters = words.letters.data();
  const int32_t wordCount = words.wordCount;

  // Working copies of the cursor and counters, stored back on the way out.
  Candidate c = state.candidate;
  int32_t placedCount = state.placedCount;
  int64_t trials = state.trialCount;
  int32_t extendFlag = state.extendFlag;
  uint64_t unplaced = allWordBits(wordCount);
  for (int32_t r = 1; r <= placedCount; ++r) unplaced &= ~wordBit(rows[r].wordNumber);

  // Derived from c, refreshed whenever its word or crossed row changes:
  // the letter of the word being added, the crossed word's letters (indexed
  // from 1) and its length.
  uint8_t newLetter = 0;
  const uint8_t* crossedLetters = letters;
  int32_t crossedLength = 0;
  auto loadNewLetter = [&] {
    newLetter = letters[words.offset[static_cast<size_t>(c.wordNumber)] + c.letterPos - 1];
  };
  auto loadCrossedWord = [&] {
    const int32_t w = rows[c.crossedRow].wordNumber;
    crossedLetters = letters + words.offset[static_cast<size_t>(w)] - 1;
    crossedLength = words.length[static_cast<size_t>(w)];
  };
  auto storeBack = [&] {
    state.candidate = c;
    state.placedCount = placedCount;
    state.trialCount = trials;
    state.extendFlag = extendFlag;
  };

  bool cursorLoaded = false;
  for (;;) {
    // Trial step.
    ++trials;
    onTrial(trials);

    // Level step.
    if (extendFlag == 1) {
      if (placedCount == wordCount) {
        // Every word placed: drop the top row; c still describes it.
        unplaced |= wordBit(rows[placedCount].wordNumber);
        --placedCount;
      } else {
        c = Candidate{nextUnplacedWord(unplaced, 1), 1, 1, 0};
      }
      extendFlag = 0;
      cursorLoaded = false;
    }

    // Advance. A cursor past its bounds (the search already over) or one
    // naming a dead row goes straight to the exhausted level, so no stale
    // row or word beyond the list is ever read.
    bool exhausted = false;
    if (!cursorLoaded) {
      if (c.wordNumber < 1 || c.wordNumber > wordCount || c.letterPos < 1 ||
          c.letterPos > words.length[static_cast<size_t>(c.wordNumber)] || c.crossedRow < 1 ||
          c.crossedRow > placedCount || c.crossedPos < 0) {
        exhausted = true;
      } else {
        loadNewLetter();
        loadCrossedWord();
        cursorLoaded = true;
      }
    }
    if (exhausted || ++c.crossedPos > crossedLength) {
      for (;;) {
        if (!exhausted) {
          if (++c.crossedRow <= placedCount) {
            c.crossedPos = 1;
            loadCrossedWord();
            break;
          }
          if (++c.letterPos <= words.length[static_cast<size_t>(c.wordNumber)]) {
            c.crossedRow = 1;
            c.crossedPos = 1;
            loadNewLetter();
            loadCrossedWord();
            break;
          }
          const int32_t next = nextUnplacedWord(unplaced, c.wordNumber);
          if (next != 0) {
            c = Candidate{next, 1, 1, 1};
            loadNewLetter();
            loadCrossedWord();
            break;
          }
          c.wordNumber = wordCount + 1;
        }
        // The level is exhausted.
        if (placedCount == 1) {
          storeBack();
          return ResumeOutcome::Finished;
        }
        // Backtrack (no trial): the previous level continues after the
        // candidate that produced the dropped row.
        const Placement& dropped = rows[placedCount];
        c = Candidate{dropped.wordNumber, dropped.letterPos, dropped.crossedRow, dropped.crossedPos};
        unplaced |= wordBit(dropped.wordNumber);
        --placedCount;
        exhausted = false;
        loadNewLetter();
        loadCrossedWord();
        cursorLoaded = true;
        if (++c.crossedPos <= crossedLength) break;
      }
    }

    // Compare.
    const uint8_t crossedLetter = crossedLetters[c.crossedPos];
    if (search.trace != nullptr) {
      search.trace->events.push_back(
          TraceEvent{TraceKind::Comparison, c, newLetter, crossedLetter, trials, Placement{}});
    }
    if (newLetter != crossedLetter) continue;

    // Push.
    const Placement& crossed = rows[c.crossedRow];
    Placement row;
    row.wordNumber = c.wordNumber;
    row.direction = crossed.direction % 2 + 1;
    if (row.direction == DIR_HORIZONTAL) {
      row.x = crossed.x - c.letterPos;
      row.y = crossed.y + c.crossedPos;
    } else {
      row.x = crossed.x + c.crossedPos;
      row.y = crossed.y - c.letterPos;
    }
    row.letterPos = c.letterPos;
    row.crossedRow = c.crossedRow;
    row.crossedPos = c.crossedPos;
    ++placedCount;
    rows[placedCount] = row;
    if (search.trace != nullptr) {
      search.trace->events.push_back(TraceEvent{TraceKind::Push, c, 0, 0, trials, row});
    }
    storeBack();
    return ResumeOutcome::Pushed;
  }
}

}  // namespace arrowgrid
