// The search's program-wide data: the word list, the placement table used as
// a stack, the search state with its enumeration cursor, the best score and
// the grid of the arrangement last evaluated. The whole position of the
// search lives here, never on a call stack, so it can be left for a report
// or the menu and resumed exactly where it stopped.
#pragma once

#include <cstdint>
#include <vector>

#include "base/byte_string.h"
#include "search/arrangement_grid.h"
#include "search/fast_evaluation_state.h"
#include "search/search_limits.h"
#include "search/word_letters.h"

namespace arrowgrid {

struct WordList {
  std::vector<ByteString> words = std::vector<ByteString>(MAX_WORDS + 1);  // 1..MAX_WORDS; [0] unused
  int32_t wordCount = 0;  // entries 1..wordCount hold A-Z and '-' only
};

// One row of the table: a placed word.
struct Placement {
  int32_t wordNumber = 0;  // index into WordList
  int32_t x = 0;           // arrow cell column
  int32_t y = 0;           // arrow cell row
  Direction direction{};   // DIR_HORIZONTAL or DIR_VERTICAL; 0 in a row not in use
  int32_t letterPos = 0;   // letter of this word on the crossing
  int32_t crossedRow = 0;  // table row of the word crossed
  int32_t crossedPos = 0;  // letter of the crossed word on the crossing
  bool operator==(const Placement&) const = default;
};

struct PlacementTable {
  std::vector<Placement> rows = std::vector<Placement>(MAX_WORDS + 1);  // 1..MAX_WORDS; [0] unused
};

struct Candidate {
  int32_t wordNumber = 0;
  int32_t letterPos = 0;
  int32_t crossedRow = 0;
  int32_t crossedPos = 0;
  bool operator==(const Candidate&) const = default;
};

// The candidate that produced a row: the level goes on after it.
inline Candidate candidateOf(const Placement& row) {
  return Candidate{row.wordNumber, row.letterPos, row.crossedRow, row.crossedPos};
}

struct SearchState {
  int32_t placedCount = 0;     // live rows, 1..wordCount
  int32_t extendFlag = false;  // 1: next step opens a level (or drops a complete arrangement)
  int64_t trialCount = 0;      // 64 bits: billions of trials pass in minutes
  Candidate candidate;         // the enumeration cursor
};

struct ArrangementScore {
  int32_t wordsPlaced = 0;             // more is better
  int32_t unwantedNeighbourhoods = 0;  // fewer is better
  int32_t crossings = 0;               // more is better
  int64_t surface = 0;                 // smaller is better; 64 bits, boxes of long words are huge
  bool operator==(const ArrangementScore&) const = default;
};

enum class ScoreOrder { Better, Equal, Worse };

// An arrangement kept for later: its score and rows 1..score.wordsPlaced ([0] unused).
struct ScoredArrangement {
  ArrangementScore score;
  std::vector<Placement> rows;
  bool operator==(const ScoredArrangement&) const = default;
};

struct SearchTrace;

struct ArrangementSearch {
  WordList wordList;
  PlacementTable table;
  SearchState state;
  ArrangementScore bestScore;
  GridEvaluation evaluation;     // Grid, GridBox and counts of the last evaluation
  WordLetters letters;           // flat copy of the words, built by initSearch
  FastEvaluation fast;           // incremental grid of the accepted rows
  GridFrame frame;               // the solver's: the fast evaluation rejects a box beyond it
  SearchTrace* trace = nullptr;  // tests only: records comparisons and pushes
};

}  // namespace arrowgrid
