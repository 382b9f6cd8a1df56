// Ranking of an accepted arrangement against the best met so far, the choice
// of what is shown, and the report screen with its optional pause.
#pragma once

#include <cstdint>

#include "display/display_settings.h"
#include "screen/console.h"
#include "search/search_data.h"

namespace arrowgrid {

// Ranks score against bestScore field by field (more words, fewer unwanted
// neighbourhoods, more crossings, smaller surface); on Better, bestScore
// takes all four fields of score.
ScoreOrder compareWithBest(ArrangementScore& bestScore, const ArrangementScore& score);

// selectionMode 0 shows every accepted arrangement, 1 those not Worse, 2 only
// the Better ones (any other mode shows as 2 does).
bool isArrangementShown(ScoreOrder order, int32_t selectionMode);

enum class ReportOutcome { Continue, Menu };

// The report screen: the counts of score on rows 1 and 2, the grid from row
// 3, the trials line on row 21 and, when settings.pauseMode is not 0, the
// prompt on rows 22 and 23. Menu only for an answer of exactly "m" or "M".
ReportOutcome showArrangementReport(Console& console, const ArrangementScore& score, const Grid& grid,
                                    int64_t trialCount, const DisplaySettings& settings);

}  // namespace arrowgrid
