// The best score that any arrangement below an accepted one could reach, so
// that the solver can skip a subtree that cannot beat the best found so far.
// The bounds and why they hold are written out in subtree_bound.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "search/search_data.h"

namespace arrowgrid {

inline constexpr int32_t LETTER_KINDS = 27;  // A-Z, then the hyphen

// Per-word facts the bounds read, built once per word list.
struct BoundTables {
  int32_t wordCount = 0;
  int32_t totalLetters = 0;
  std::array<uint32_t, MAX_WORDS + 1> letterMask{};  // bit l: the word holds letter kind l
  std::array<std::array<int32_t, LETTER_KINDS>, MAX_WORDS + 1> letterCount{};  // occurrences per kind
  std::array<uint64_t, MAX_WORDS + 1> sharing{};  // bit v: word v (not w itself) shares a letter with w
  std::array<int32_t, MAX_WORDS + 1> length{};
};

// What the rows 1..level of the arrangement under construction hold, kept per
// level so that a child's record is its parent's plus one row.
struct LevelLetters {
  std::array<int32_t, LETTER_KINDS> uncrossed{};     // letter cells that only one word covers
  int32_t placedLetters = 0;                         // letters in the rows
  std::array<int32_t, MAX_WORDS + 1> rowsSharing{};  // per word: rows whose word shares a letter with it
};

// A row accepted on top of an arrangement, and what it added.
struct ProbedRow {
  Placement row;
  int32_t unwanted = 0;
  int32_t crossings = 0;
};

struct BoundLevels {
  std::array<LevelLetters, MAX_WORDS + 1> levels{};  // [0]: nothing placed
  int64_t probes = 0;                                // rows probed, for the progress line
  // The rows that could join each level's arrangement next and were
  // accepted, level after level: level k's are [acceptedEnd[k-1], acceptedEnd[k]).
  std::vector<ProbedRow> accepted;
  std::array<size_t, MAX_WORDS + 1> acceptedEnd{};
  std::array<bool, MAX_WORDS + 1> acceptedKnown{};  // level k's list is that of its current arrangement
};

void buildBoundTables(const WordLetters& words, BoundTables& tables);

// Records row `level` of the table on top of level - 1 (rows 1..level must be
// an accepted arrangement).
void recordLevelLetters(const ArrangementSearch& search, const BoundTables& tables, BoundLevels& levels,
                        int32_t level);

// An optimistic score O for the arrangements strictly below the accepted one
// in rows 1..placedCount: every one of them ranks at or below O. The quick
// bound reads only counts; the probed one tries every row that could join
// the arrangement next (search must hold the arrangement just accepted by
// evaluateArrangementFast) and is much stronger.
ArrangementScore quickBoundBelow(const ArrangementSearch& search, const BoundTables& tables,
                                 const BoundLevels& levels);
ArrangementScore probedBoundBelow(ArrangementSearch& search, const BoundTables& tables, BoundLevels& levels);

}  // namespace arrowgrid
