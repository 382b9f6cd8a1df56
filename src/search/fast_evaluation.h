// The evaluation the search runs: rows 1..placedCount-1 are an arrangement
// accepted before and already written in an occupancy grid kept between
// evaluations, so only the newest row is written and checked. Outcome, box
// and counts are those of evaluateArrangement; the Grid itself is rebuilt
// only when someone reads it (ensureGrid).
#pragma once

#include "search/search_data.h"

namespace arrowgrid {

// Occupancy squares up to this many cells are dense; beyond, hashed.
inline constexpr int64_t OCCUPANCY_DENSE_LIMIT = int64_t{1} << 24;

// Sizes the occupancy grid and the undo log for search.letters and empties
// them. initSearch calls it; nothing allocates after it.
void prepareFastEvaluation(ArrangementSearch& search);

// Makes the occupancy grid hold rows 1..rowCount of the table, keeping the
// levels already written that still match it. False (the grid emptied) when
// a row cannot be written: a table the enumeration did not build.
bool syncOccupancy(ArrangementSearch& search, int32_t rowCount);

// Makes levels[rowCount]'s box and counts those of the last evaluation and
// marks its grid stale (rows 1..rowCount of the table, the top one perhaps
// rejected).
void noteEvaluation(ArrangementSearch& search, int32_t rowCount);

// Same contract as evaluateArrangement, and an arrangement whose box exceeds
// search.frame is Rejected too (its subtree holds nothing within the frame):
// Rejected pops the top row, Accepted
// sets extendFlag; evaluation's box and counts are set at once, its grid
// is marked stale.
EvaluationOutcome evaluateArrangementFast(ArrangementSearch& search);

// Makes search.evaluation.grid the grid of the last evaluation (after a
// Rejected, the partial grid of the rejected candidate, whose row is still
// in the table above placedCount). Call before reading the grid; valid until
// the next push, which is always followed by an evaluation.
void ensureGrid(ArrangementSearch& search);

// What one more row, of a word not in rows 1..placedCount, would make of the
// arrangement last accepted by evaluateArrangementFast (within search.frame,
// as that evaluation judges it): its outcome and, when
// Accepted, the counts and box of the whole. The row is written and undone;
// the search, its table and its next evaluation are as before.
struct RowProbe {
  EvaluationOutcome outcome = EvaluationOutcome::Rejected;
  int32_t crossings = 0;  // whole arrangement, row included
  int32_t unwantedNeighbourhoods = 0;
  GridBox box;
};
RowProbe probeRowOnTop(ArrangementSearch& search, const Placement& row);

// The box grown by one more row of `length` letters, as the evaluation grows
// it: a horizontal row widens it, a vertical one makes it taller.
GridBox boxWithRow(const GridBox& box, const Placement& row, int32_t length);

}  // namespace arrowgrid
