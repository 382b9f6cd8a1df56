// The report screen of an accepted arrangement, shown when the selection
// admits it.
#pragma once

#include <cstdint>

#include "display/display_settings.h"
#include "interaction/trials_line_state.h"
#include "screen/console.h"
#include "search/search_data.h"

namespace arrowgrid {

enum class ReportOutcome { Continue, Menu };

// The report screen: the counts of score on rows 1 and 2, the grid from row
// 3, the trials line on row 21 and, when settings.pauseMode is not 0, the
// prompt on rows 22 and 23. Menu only for an answer of exactly "m" or "M".
ReportOutcome showArrangementReport(Console& console, const ArrangementScore& score, const Grid& grid,
                                    int64_t trialCount, const DisplaySettings& settings);

// A report with no pause, kept to be drawn when something reads the screen:
// in selection mode 0 reports come by the hundred thousand and each but the
// last is replaced unseen. Holds its own copy of the rows, since the search
// moves on; owned by the program driver, built once.
struct PendingReport {
  ArrangementScore score;
  int64_t trialCount = 0;
  DisplaySettings settings;
  int32_t rowCount = 0;
  PlacementTable table;
  const WordList* words = nullptr;
  TrialsLineState* trialsLine = nullptr;
  // The count of the search's stop after the report, whose trials line
  // would have been printed over it; -1 when none came yet.
  int64_t heldTrialCount = -1;
  GridEvaluation evaluation;  // the grid, built only when drawn
};

// Keeps the report of the arrangement the search last accepted (rows
// 1..rowCount of its table) to be drawn later, in place of
// showArrangementReport with settings.pauseMode 0. It replaces a report
// still pending, which the new one's clear would wipe unseen.
void deferArrangementReport(Console& console, PendingReport& pending, const ArrangementSearch& search,
                            int32_t rowCount, const ArrangementScore& score, const DisplaySettings& settings,
                            TrialsLineState& trialsLine);

// The report pending on console, or null: the search's stop holds its trials
// line there rather than drawing the report to print it.
PendingReport* pendingReport(Console& console);

}  // namespace arrowgrid
