// The engine loop. Each comparison still counts one trial, but a sweep of
// one letter of the new word over the placed words jumps from one matching
// position to the next with the words' position masks, and a letter (or a
// whole word) that no placed word holds is passed over at once; the trials
// passed are added in one step. A match is pushed and evaluated in place:
// the row is checked on the occupancy grid before any cell is written, an
// accepted one is ranked, and only an arrangement to show leaves the loop.
#include "search/search_engine.h"

#include <array>
#include <cassert>

#include "search/best_selection.h"
#include "search/fast_evaluation.h"
#include "search/grid_evaluation.h"
#include "search/occupancy_cells.h"

namespace arrowgrid {

namespace {

using namespace enumeration_detail;
using occupancy::RowCounts;
using occupancy::RowShape;

enum class EngineStop { Pushed, Shown, Finished, Node };

// What rows 1..k hold together: the letter codes of their words (bit
// code - 45) and their total length, the comparisons of one sweep.
struct PlacedLetters {
  uint64_t codes = 0;
  int64_t length = 0;
};

// StopAtPush: the enumeration alone, leaving at the first push (cells unused).
template <typename Cells, bool StopAtPush>
EngineStop runEngine(ArrangementSearch& search, const Cells& cells, const EngineBounds& bounds,
                     const TrialsHook& hook) {
  SearchState& state = search.state;
  const WordLetters& words = search.letters;
  Placement* const rows = search.table.rows.data();
  FastEvaluation& fast = search.fast;
  LevelRecord* const levels = fast.levels.data();
  CellUndo* const undo = fast.undo.data();
  const uint8_t* const letters = words.letters.data();
  const int32_t wordCount = words.wordCount;
  const int32_t floorRow = bounds.floorRow;
  auto lengthOf = [&](int32_t w) { return words.length[static_cast<size_t>(w)]; };
  auto letterOf = [&](int32_t w, int32_t pos) {
    return letters[words.offset[static_cast<size_t>(w)] + pos - 1];
  };

  // Working copies, stored back on the way out.
  int32_t wordNumber = state.candidate.wordNumber;
  int32_t letterPos = state.candidate.letterPos;
  int32_t crossedRow = state.candidate.crossedRow;
  int32_t crossedPos = state.candidate.crossedPos;
  int32_t placedCount = state.placedCount;
  int64_t trials = state.trialCount;
  int32_t committed = fast.committed;
  int32_t undoCount = fast.undoCount;
  int64_t evaluations = 0;
  int32_t lastRowCount = 0;
  uint8_t newLetter = 0;

  uint64_t unplaced = allWordBits(wordCount);
  std::array<PlacedLetters, MAX_WORDS + 1> placed;
  placed[0] = PlacedLetters{};
  auto place = [&](int32_t r, int32_t w) {
    unplaced &= ~wordBit(w);
    const PlacedLetters& below = placed[static_cast<size_t>(r - 1)];
    placed[static_cast<size_t>(r)] =
        PlacedLetters{below.codes | words.letterSet[static_cast<size_t>(w)], below.length + lengthOf(w)};
  };
  for (int32_t r = 1; r <= placedCount; ++r) place(r, rows[r].wordNumber);

  // The cursor to the next letter of the new word that some placed word
  // holds (then crossedRow 1, crossedPos 0), counting the sweeps passed
  // over; a backtrack when the level is exhausted (then the cursor is the
  // dropped row's, to go on after); false at the end of the search. With
  // exhausted, straight to the end of the level.
  auto nextLetter = [&](bool exhausted) {
    lookAtRefresh(hook, trials);
    if (bounds.abandon != nullptr && bounds.abandon->load(std::memory_order_relaxed)) [[unlikely]]
      return false;
    for (;;) {
      if (!exhausted) {
        const PlacedLetters sweep = placed[static_cast<size_t>(placedCount)];
        const int32_t length = lengthOf(wordNumber);
        while (++letterPos <= length) {
          newLetter = letterOf(wordNumber, letterPos);
          if ((sweep.codes >> (newLetter - LETTER_CODE_BASE)) & 1) {
            crossedRow = 1;
            crossedPos = 0;
            return true;
          }
          trials += sweep.length;
        }
        int32_t next = nextUnplacedWord(unplaced, wordNumber);
        while (next != 0 && (words.letterSet[static_cast<size_t>(next)] & sweep.codes) == 0) {
          trials += lengthOf(next) * sweep.length;
          next = nextUnplacedWord(unplaced, next);
        }
        if (next != 0) {
          wordNumber = next;
          letterPos = 0;
          continue;
        }
        if (placedCount == floorRow) {
          if (floorRow == 1) {
            // Every bound passed, as the trial-by-trial advance leaves them.
            wordNumber = wordCount + 1;
            letterPos = lengthOf(wordCount) + 1;
            crossedRow = 2;
            crossedPos = lengthOf(rows[1].wordNumber) + 1;
          }
          return false;
        }
      } else if (placedCount == floorRow) {
        return false;
      }
      // Backtrack (no trial): the level below goes on after the candidate
      // that produced the dropped row.
      const Placement& dropped = rows[placedCount];
      wordNumber = dropped.wordNumber;
      letterPos = dropped.letterPos;
      crossedRow = dropped.crossedRow;
      crossedPos = dropped.crossedPos;
      unplaced |= wordBit(wordNumber);
      --placedCount;
      newLetter = letterOf(wordNumber, letterPos);
      return true;
    }
  };

  auto openLevel = [&] {
    wordNumber = nextUnplacedWord(unplaced, 1);
    letterPos = 0;
    return nextLetter(false);
  };

  // The trial step's level step, then the advance from the cursor.
  EngineStop stop = EngineStop::Finished;
  bool going;
  if (state.extendFlag && placedCount < wordCount && placedCount == bounds.nodeDepth) {
    stop = EngineStop::Node;  // its subtree is the caller's
    going = false;
  } else if (state.extendFlag && placedCount < wordCount) {
    going = openLevel();
  } else {
    if (state.extendFlag) {
      // Every word placed: drop the top row; the cursor still describes it.
      unplaced |= wordBit(rows[placedCount].wordNumber);
      --placedCount;
    }
    // A cursor past its bounds (the search already over) or naming a dead
    // row goes straight to the end of the level.
    const bool live = wordNumber >= 1 && wordNumber <= wordCount && letterPos >= 1 &&
                      letterPos <= lengthOf(wordNumber) && crossedRow >= 1 && crossedRow <= placedCount &&
                      crossedPos >= 0;
    if (live) {
      newLetter = letterOf(wordNumber, letterPos);
      going = true;
    } else {
      going = nextLetter(true);
    }
  }

  while (going) {
    // The rest of the sweep: row crossedRow from position crossedPos + 1,
    // then the rows after it.
    const auto code = static_cast<size_t>(newLetter - LETTER_CODE_BASE);
    int32_t match = 0;
    for (;;) {
      const int32_t crossedWord = rows[crossedRow].wordNumber;
      const int32_t length = lengthOf(crossedWord);
      if (crossedPos > length) crossedPos = length;  // nothing left in this row
      if (length <= POSITION_MASK_LETTERS) {
        const uint64_t mask = words.positions[static_cast<size_t>(crossedWord)][code];
        const uint64_t rest = crossedPos < 64 ? mask & (~uint64_t{0} << crossedPos) : 0;
        if (rest != 0) match = std::countr_zero(rest) + 1;
      } else {
        const uint8_t* crossedLetters = letters + words.offset[static_cast<size_t>(crossedWord)] - 1;
        for (int32_t i = crossedPos + 1; i <= length && match == 0; ++i) {
          if (crossedLetters[i] == newLetter) match = i;
        }
      }
      if (match != 0) {
        trials += match - crossedPos;
        crossedPos = match;
        break;
      }
      trials += length - crossedPos;
      if (++crossedRow > placedCount) break;
      crossedPos = 0;
    }
    if (match == 0) {
      going = nextLetter(false);
      continue;
    }

    // Push: the new row across the crossed one, its fields written once.
    const Placement& crossed = rows[crossedRow];
    const int32_t top = placedCount + 1;
    assert(top <= wordCount && "a push never overflows the table");
    const Placement& row = rows[top] =
        placementAcross(crossed, Candidate{wordNumber, letterPos, crossedRow, crossedPos});
    const int32_t x = row.x;
    const int32_t y = row.y;
    const Direction direction = row.direction;
    if constexpr (StopAtPush) {
      placedCount = top;
      stop = EngineStop::Pushed;
      break;
    } else {
      // Evaluate: the grid holds rows 1..committed; drop those popped since.
      ++evaluations;
      lastRowCount = top;
      while (committed > placedCount) {
        const int32_t start = levels[committed].undoStart;
        for (int32_t i = undoCount - 1; i >= start; --i) cells.codes[undo[i].slot] = undo[i].previous;
        undoCount = start;
        --committed;
      }
      const LevelRecord& below = levels[placedCount];
      const RowShape shape{letters + words.offset[static_cast<size_t>(wordNumber)], lengthOf(wordNumber), x,
                           y, direction};
      RowCounts counts{below.crossings, below.unwantedNeighbourhoods};
      if (!occupancy::rowFitsCells(cells, shape, counts)) continue;  // rejected: nothing was written

      const GridBox box = occupancy::extendBox(below.box, shape);
      if (!boxFitsFrame(box, search.frame)) continue;  // rejected as evaluateArrangementFast rejects it
      if (top < wordCount) {
        // Written only when a level opens on it; a complete one is dropped.
        LevelRecord& level = levels[top];
        level.box = box;
        level.crossings = counts.crossings;
        level.unwantedNeighbourhoods = counts.unwantedNeighbourhoods;
        level.undoStart = undoCount;
        level.row = {wordNumber, x, y, directionCode(direction)};
        occupancy::writeRowCells(cells, shape, undo, undoCount);
        committed = top;
      }
      const ArrangementScore score{top, counts.unwantedNeighbourhoods, counts.crossings,
                                   int64_t{box.width} * int64_t{box.height}};
      if (bounds.ranks &&
          isArrangementShown(compareWithBest(search.bestScore, score), bounds.selectionMode)) {
        placedCount = top;
        search.evaluation.grid.box = box;
        search.evaluation.crossings = counts.crossings;
        search.evaluation.unwantedNeighbourhoods = counts.unwantedNeighbourhoods;
        stop = EngineStop::Shown;
        break;
      }
      if (top == wordCount) continue;  // dropped at once: the level goes on after it
      placedCount = top;
      if (top == bounds.nodeDepth) {
        stop = EngineStop::Node;
        break;
      }
      place(top, wordNumber);
      going = openLevel();
    }
  }
  // The trial step that finds the search over.
  if (stop == EngineStop::Finished && floorRow == 1) ++trials;

  state.candidate = Candidate{wordNumber, letterPos, crossedRow, crossedPos};
  state.placedCount = placedCount;
  state.trialCount = trials;
  state.extendFlag = stop == EngineStop::Shown || stop == EngineStop::Node;
  fast.committed = committed;
  fast.undoCount = undoCount;
  if (evaluations > 0) {
    fast.evaluations += evaluations;
    fast.lastRowCount = lastRowCount;
    fast.gridStale = true;
  }
  reportStop(hook, trials);
  return stop;
}

EngineStop runEngine(ArrangementSearch& search, const EngineBounds& bounds, const TrialsHook& hook) {
  OccupancyGrid& grid = search.fast.occupancy;
  return grid.hashed
             ? runEngine<occupancy::HashedCells, false>(search, occupancy::hashedCells(grid), bounds, hook)
             : runEngine<occupancy::DenseCells, false>(search, occupancy::denseCells(grid), bounds, hook);
}

// One push at a time, each evaluated apart: for a table the occupancy grid
// cannot follow, and for traced searches (the plain bounds only).
SearchStop searchStepByStep(ArrangementSearch& search, SelectionMode selectionMode, const TrialsHook& hook) {
  for (;;) {
    if (resumeSearchQuiet(search, hook) == ResumeOutcome::Finished) return SearchStop::Finished;
    if (evaluateArrangementFast(search) != EvaluationOutcome::Accepted) continue;
    if (isArrangementShown(compareWithBest(search.bestScore, lastEvaluationScore(search)), selectionMode)) {
      return SearchStop::Shown;
    }
  }
}

}  // namespace

SearchStop runSearchEngine(ArrangementSearch& search, const EngineBounds& bounds, const TrialsHook& hook) {
  const SearchState& state = search.state;
  // The rows the next evaluation builds on: all but a complete arrangement's last.
  const int32_t accepted = state.extendFlag && state.placedCount == search.wordList.wordCount
                               ? state.placedCount - 1
                               : state.placedCount;
  if (search.trace != nullptr || !syncOccupancy(search, accepted)) {
    return searchStepByStep(search, bounds.selectionMode, hook);
  }
  switch (runEngine(search, bounds, hook)) {
    case EngineStop::Shown:
      return SearchStop::Shown;
    case EngineStop::Node:
      return SearchStop::Node;
    default:
      return SearchStop::Finished;
  }
}

SearchStop searchUntilShown(ArrangementSearch& search, SelectionMode selectionMode, const TrialsHook& hook) {
  return runSearchEngine(search, EngineBounds{.selectionMode = selectionMode}, hook);
}

ResumeOutcome resumeSearchQuiet(ArrangementSearch& search, const TrialsHook& hook) {
  if (search.trace != nullptr) return resumeSearchTrialByTrial(search, hook);
  const occupancy::DenseCells unused{nullptr, 0, 0};
  return runEngine<occupancy::DenseCells, true>(search, unused, EngineBounds{}, hook) == EngineStop::Pushed
             ? ResumeOutcome::Pushed
             : ResumeOutcome::Finished;
}

ArrangementScore lastEvaluationScore(const ArrangementSearch& search) {
  const GridEvaluation& evaluation = search.evaluation;
  return ArrangementScore{search.state.placedCount, evaluation.unwantedNeighbourhoods, evaluation.crossings,
                          boxSurface(evaluation.grid.box)};
}

}  // namespace arrowgrid
