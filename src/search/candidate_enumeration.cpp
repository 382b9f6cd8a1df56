// The enumeration one trial at a time, written step for step and reading
// the words and the table directly: slow, and the judge of the engine.
#include "search/candidate_enumeration.h"

#include <cassert>

namespace arrowgrid {

namespace {

struct TrialByTrial {
  ArrangementSearch& search;
  SearchState& state;
  Candidate& cursor;
  const TrialsHook& hook;

  int32_t wordCount() const { return search.wordList.wordCount; }
  int32_t wordLength(int32_t w) const { return textLength(search.wordList.words[static_cast<size_t>(w)]); }
  const Placement& row(int32_t r) const { return search.table.rows[static_cast<size_t>(r)]; }
  int32_t rowLength(int32_t r) const { return wordLength(row(r).wordNumber); }
  uint8_t letter(int32_t w, int32_t pos) const {
    return static_cast<uint8_t>(search.wordList.words[static_cast<size_t>(w)][static_cast<size_t>(pos - 1)]);
  }
  bool isPlaced(int32_t w) const {
    for (int32_t r = 1; r <= state.placedCount; ++r) {
      if (row(r).wordNumber == w) return true;
    }
    return false;
  }

  void trialStep() {
    ++state.trialCount;
    lookAtRefresh(hook, state.trialCount);
  }

  // The cursor names a word, a letter and a live row: else it is past its
  // bounds (the search over) and goes straight to the end of the level.
  bool cursorLive() const {
    return cursor.wordNumber >= 1 && cursor.wordNumber <= wordCount() && cursor.letterPos >= 1 &&
           cursor.letterPos <= wordLength(cursor.wordNumber) && cursor.crossedRow >= 1 &&
           cursor.crossedRow <= state.placedCount && cursor.crossedPos >= 0;
  }

  // The advance; false when the level of word 1 is exhausted.
  bool advance(bool exhausted) {
    for (;;) {
      if (!exhausted) {
        if (++cursor.crossedPos <= rowLength(cursor.crossedRow)) return true;
        if (++cursor.crossedRow <= state.placedCount) {
          cursor.crossedPos = 1;
          return true;
        }
        if (++cursor.letterPos <= wordLength(cursor.wordNumber)) {
          cursor.crossedRow = 1;
          cursor.crossedPos = 1;
          return true;
        }
        do {
          ++cursor.wordNumber;
        } while (cursor.wordNumber <= wordCount() && isPlaced(cursor.wordNumber));
        if (cursor.wordNumber <= wordCount()) {
          cursor.letterPos = cursor.crossedRow = cursor.crossedPos = 1;
          return true;
        }
      }
      if (state.placedCount == 1) return false;
      // Backtrack: not a trial.
      const Placement& dropped = row(state.placedCount);
      cursor = candidateOf(dropped);
      --state.placedCount;
      exhausted = false;
    }
  }

  ResumeOutcome run() {
    trialStep();
    bool exhausted = false;
    if (state.extendFlag) {
      if (state.placedCount == wordCount()) {
        --state.placedCount;  // the cursor still describes the dropped row
      } else {
        cursor.wordNumber = 2;
        while (isPlaced(cursor.wordNumber)) ++cursor.wordNumber;
        assert(cursor.wordNumber <= wordCount() && "a level opens only while a word is left to place");
        cursor.letterPos = 1;
        cursor.crossedRow = 1;
        cursor.crossedPos = 0;
      }
      state.extendFlag = false;
    }
    exhausted = !cursorLive();
    while (advance(exhausted)) {
      exhausted = false;
      const uint8_t newLetter = letter(cursor.wordNumber, cursor.letterPos);
      const uint8_t crossedLetter = letter(row(cursor.crossedRow).wordNumber, cursor.crossedPos);
      if (search.trace != nullptr) {
        search.trace->events.push_back(TraceEvent{TraceKind::Comparison, cursor, newLetter, crossedLetter,
                                                  state.trialCount, Placement{}});
      }
      if (newLetter == crossedLetter) {
        assert(state.placedCount < wordCount() && "a push never overflows the table");
        const Placement pushed = placementAcross(row(cursor.crossedRow), cursor);
        search.table.rows[static_cast<size_t>(++state.placedCount)] = pushed;
        if (search.trace != nullptr) {
          search.trace->events.push_back(TraceEvent{TraceKind::Push, cursor, 0, 0, state.trialCount, pushed});
        }
        reportStop(hook, state.trialCount);
        return ResumeOutcome::Pushed;
      }
      trialStep();
    }
    reportStop(hook, state.trialCount);
    return ResumeOutcome::Finished;
  }
};

}  // namespace

ResumeOutcome resumeSearchTrialByTrial(ArrangementSearch& search, const TrialsHook& hook) {
  return TrialByTrial{search, search.state, search.state.candidate, hook}.run();
}

}  // namespace arrowgrid
