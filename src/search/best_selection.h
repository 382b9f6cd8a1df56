// Ranking of an accepted arrangement against the best met so far, and the
// choice of what is shown.
#pragma once

#include <cstdint>

#include "search/search_data.h"
#include "search/selection_mode.h"

namespace arrowgrid {

// How score ranks against other, field by field: more words, fewer unwanted
// neighbourhoods, more crossings, smaller surface. Changes nothing.
ScoreOrder compareScores(const ArrangementScore& score, const ArrangementScore& other);

// compareScores(score, bestScore); on Better, bestScore takes all four
// fields of score.
ScoreOrder compareWithBest(ArrangementScore& bestScore, const ArrangementScore& score);

// Whether an accepted arrangement that ranks `order` against the best so
// far is shown.
bool isArrangementShown(ScoreOrder order, SelectionMode selectionMode);

}  // namespace arrowgrid
