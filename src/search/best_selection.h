// Ranking of an accepted arrangement against the best met so far, and the
// choice of what is shown.
#pragma once

#include <cstdint>

#include "search/search_data.h"

namespace arrowgrid {

// How score ranks against other, field by field: more words, fewer unwanted
// neighbourhoods, more crossings, smaller surface. Changes nothing.
ScoreOrder compareScores(const ArrangementScore& score, const ArrangementScore& other);

// compareScores(score, bestScore); on Better, bestScore takes all four
// fields of score.
ScoreOrder compareWithBest(ArrangementScore& bestScore, const ArrangementScore& score);

// selectionMode 0 shows every accepted arrangement, 1 those not Worse, 2 only
// the Better ones (any other mode shows as 2 does).
bool isArrangementShown(ScoreOrder order, int32_t selectionMode);

}  // namespace arrowgrid
