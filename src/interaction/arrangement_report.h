// The report screen of an accepted arrangement, shown when the selection
// admits it.
#pragma once

#include <cstdint>

#include "display/display_settings.h"
#include "screen/console.h"
#include "search/search_data.h"

namespace arrowgrid {

enum class ReportOutcome { Continue, Menu };

// The report screen: the counts of score on rows 1 and 2, the grid from row
// 3, the trials line on row 21 and, when settings.pauseMode is not 0, the
// prompt on rows 22 and 23. Menu only for an answer of exactly "m" or "M".
ReportOutcome showArrangementReport(Console& console, const ArrangementScore& score, const Grid& grid,
                                    int64_t trialCount, const DisplaySettings& settings);

}  // namespace arrowgrid
