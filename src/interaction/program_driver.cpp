// The driver: start-up, the two intro screens, and the loop that hands
// control from step to step until the user finishes from the result menu.
#include "interaction/program_driver.h"

#include <algorithm>

#include "interaction/arrangement_report.h"
#include "interaction/display_dialog.h"
#include "interaction/result_menu.h"
#include "interaction/return_prompt.h"
#include "interaction/search_resume.h"
#include "interaction/word_entry.h"
#include "screen/text_screen.h"
#include "search/best_selection.h"
#include "search/fast_evaluation.h"
#include "search/grid_evaluation.h"
#include "search/search_start.h"

namespace arrowgrid {

namespace {

// The credit and payment details are not published with this program.
constexpr const char* NOT_DISCLOSED = "(non communiqué)";

void printRow(Console& console, std::string_view utf8) {
  printText(console, cp437Text(utf8), PrintEnding::LineEnd);
}

void showIntroScreens(Console& console) {
  const std::string indent16(16, ' ');
  const std::string indent20(20, ' ');

  clearScreen(console);
  printRow(console, "Ce programme peut prendre un temps assez long avant d'avoir exploré");
  printRow(console, "toutes les possibilités. Pour quitter le programme avant la fin de son");
  printRow(console, "exécution, presser simultanément <Ctrl> et <Pause>");
  printLineEnd(console);
  printRow(console, "");
  printRow(console, std::string(23, '.') + "sauf");
  for (int line = 0; line < 4; ++line) printRow(console, indent16 + NOT_DISCLOSED);
  printLineEnd(console);
  waitForReturn(console);

  clearScreen(console);
  printRow(console, "Si vous êtes content de ce programme, merci de nous le faire savoir,");
  printRow(console, "notamment en versant 1 EURO");
  printRow(console, "         soit par virement bancaire au compte");
  printRow(console, indent16 + NOT_DISCLOSED);
  for (int line = 0; line < 3; ++line) printRow(console, indent20 + NOT_DISCLOSED);
  printRow(console, indent16 + "IBAN : " + NOT_DISCLOSED);
  printRow(console, indent16 + "BIC code : " + NOT_DISCLOSED);
  printLineEnd(console);
  printRow(console, "         soit par mandat postal, chèque, lettre... à la même adresse");
  printLineEnd(console);
  waitForReturn(console);
}

void keepReportedRows(ReportedArrangement& reported, const PlacementTable& table, int32_t rowCount) {
  reported.rowCount = rowCount;
  std::copy_n(table.rows.begin() + 1, rowCount, reported.table.rows.begin() + 1);
  reported.inPendingReport = false;
}

// The grid the menu shows: from a report's prompt, the arrangement just
// reported, still the search's last evaluation; after the end of the search,
// the arrangement reported last.
const Grid& menuGrid(Program& program) {
  if (!program.searchEnded) {
    ensureGrid(program.search);
    return program.search.evaluation.grid;
  }
  ReportedArrangement& reported = program.reported;
  const PendingReport& pending = program.pendingReport;
  if (reported.inPendingReport) {
    buildArrangementGrid(program.search.wordList, pending.table, pending.rowCount, reported.evaluation);
  } else {
    buildArrangementGrid(program.search.wordList, reported.table, reported.rowCount, reported.evaluation);
  }
  return reported.evaluation.grid;
}

// The report of the arrangement last evaluated, accepted and selected; its
// prompt may lead to the menu.
ProgramStep reportArrangement(Program& program) {
  ArrangementSearch& search = program.search;
  if (program.settings.pauseMode == PauseMode::NoPause) {
    // Nothing waits on it: drawn when something reads the screen, or never.
    deferArrangementReport(program.console, program.pendingReport, search, search.fast.lastRowCount,
                           lastEvaluationScore(search), program.settings, program.trialsLine);
    program.reported.inPendingReport = true;
    return ProgramStep::Resume;
  }
  ensureGrid(search);
  keepReportedRows(program.reported, search.table, search.fast.lastRowCount);
  const ReportOutcome outcome =
      showArrangementReport(program.console, lastEvaluationScore(search), search.evaluation.grid,
                            search.state.trialCount, program.settings);
  return outcome == ReportOutcome::Menu ? ProgramStep::Menu : ProgramStep::Resume;
}

}  // namespace

void runStep(Program& program) {
  Console& console = program.console;
  switch (program.step) {
    case ProgramStep::Intro:
      showIntroScreens(console);
      program.step = ProgramStep::WordEntry;
      return;
    case ProgramStep::WordEntry:
      enterWordList(console, program.search.wordList);
      program.step = ProgramStep::DisplayDialog;
      return;
    case ProgramStep::DisplayDialog:
      // The first dialog offers these as the defaults.
      program.settings = DisplaySettings{.completeGrid = true,
                                         .selectionMode = SelectionMode::AtLeastAsGood,
                                         .pauseMode = PauseMode::NoPause};
      chooseDisplaySettings(console, program.settings);
      program.step = ProgramStep::InitSearch;
      return;
    case ProgramStep::InitSearch:
      initSearch(program.search);
      keepReportedRows(program.reported, program.search.table, 1);  // word 1 alone
      program.searchEnded = false;
      program.trialsLine = TrialsLineState{};
      // One processor: the search on this thread alone is the faster.
      if (defaultWorkerCount() > 1) {
        startSearchWorkers(program.workers, program.search, defaultWorkerCount(),
                           defaultNodeDepth(program.search.wordList.wordCount));
      }
      program.step = ProgramStep::Evaluate;  // word 1 alone
      return;
    case ProgramStep::Evaluate:
      program.step = evaluateArrangementFast(program.search) == EvaluationOutcome::Accepted
                         ? ProgramStep::Select
                         : ProgramStep::Resume;
      return;
    case ProgramStep::Select:
      program.step =
          isArrangementShown(compareWithBest(program.search.bestScore, lastEvaluationScore(program.search)),
                             program.settings.selectionMode)
              ? ProgramStep::Report
              : ProgramStep::Resume;
      return;
    case ProgramStep::Report:
      program.step = reportArrangement(program);
      return;
    case ProgramStep::Resume:
      // Nothing reads keys while the search runs: only the last 15 typed are kept.
      setKeysRead(console.keys, false);
      program.searchEnded = false;
      program.step = searchUntilShown(program.search, program.workers, console, program.trialsLine,
                                      program.settings.selectionMode) == SearchStop::Shown
                         ? ProgramStep::Report
                         : ProgramStep::SearchFinished;
      return;
    case ProgramStep::SearchFinished:
      printSearchFinished(console);
      waitForReturn(console);
      program.searchEnded = true;
      program.step = ProgramStep::Menu;
      return;
    case ProgramStep::Menu:
      program.step =
          resultMenu(console, menuGrid(program), program.settings, &program.gridExport) == MenuOutcome::Resume
              ? ProgramStep::Resume
              : ProgramStep::Ended;
      return;
    case ProgramStep::Ended:
      endProgram(console, 0);
  }
}

void runProgram(Program& program) {
  // The program-wide records were created with the Program (MAX_WORDS is a
  // constant, so the table and the list are sized before anything else).
  openSurface(program.console.surface);
  setLogicalWindow(program.console.surface, 0.0f, -2.0f, 80.0f, 23.0f, true);
  program.gridExport.directory = program.options.exportDirectory;
  program.gridExport.options = program.options.print;
  program.step = ProgramStep::Intro;
  for (;;) runStep(program);
}

}  // namespace arrowgrid
