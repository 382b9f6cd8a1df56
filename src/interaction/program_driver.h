// The program's entry and top-level flow: one loop over ProgramStep, so that
// no call depth grows with trials, levels or visits to the menu.
#pragma once

#include <cstdint>

#include "display/display_settings.h"
#include "interaction/arrangement_report.h"
#include "interaction/program_options.h"
#include "interaction/trials_line_state.h"
#include "print/grid_export.h"
#include "screen/console.h"
#include "search/parallel_search.h"
#include "search/search_data.h"

namespace arrowgrid {

enum class ProgramStep {
  Intro,           // the two intro screens
  WordEntry,       // enterWordList
  DisplayDialog,   // defaults, then chooseDisplaySettings
  InitSearch,      // initSearch
  Evaluate,        // evaluateArrangementFast of word 1 alone
  Select,          // compareWithBest and the selection of that first arrangement
  Report,          // showArrangementReport of the arrangement selected
  Resume,          // searchUntilShown: trials until an arrangement to show or the end
  SearchFinished,  // "La recherche est terminée", pause prompt
  Menu,            // resultMenu
  Ended,           // endProgram with status 0
};

// The arrangement the user saw reported last, which the menu shows once the
// search has ended: at its end the search's own grid is whatever it tried
// last, never shown and maybe not an arrangement at all. Word 1 alone until
// a report comes. A report with no pause keeps its rows in the PendingReport
// already: they are not copied twice.
struct ReportedArrangement {
  int32_t rowCount = 0;
  PlacementTable table;
  bool inPendingReport = false;  // the last report was one with no pause
  GridEvaluation evaluation;     // built for the menu
};

// All program-wide data, owned by the driver (or built by a test).
struct Program {
  Console console;
  ArrangementSearch search;
  DisplaySettings settings;
  TrialsLineState trialsLine;    // what the trials line last left on screen
  PendingReport pendingReport;   // the last report with no pause, until seen
  ReportedArrangement reported;  // the last report, for the menu after the search
  bool searchEnded = false;      // the menu comes after the end of the search
  SearchWorkers workers;         // the search's threads beside this one
  ProgramOptions options;        // from the command line
  GridExport gridExport;         // the menu's grids as files, from options
  ProgramStep step = ProgramStep::Intro;
};

// Runs the program from its start screens to its end; never returns
// (the run ends through endProgram).
[[noreturn]] void runProgram(Program& program);

// Runs one step and sets program.step to the next; tests drive it directly.
void runStep(Program& program);

}  // namespace arrowgrid
