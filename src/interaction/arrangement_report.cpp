// The report screen of an accepted arrangement: counts, grid, trials line
// and the optional pause.
#include "interaction/arrangement_report.h"

#include <algorithm>
#include "display/grid_drawing.h"

#include "interaction/trials_line.h"
#include "screen/text_screen.h"
#include "search/grid_evaluation.h"

namespace arrowgrid {

ReportOutcome showArrangementReport(Console& console, const ArrangementScore& score, const Grid& grid,
                                    int64_t trialCount, const DisplaySettings& settings) {
  // Converted once: a report may come at every accepted arrangement.
  static const ByteString wordsLabel = cp437Text("Nb mots placés =");
  static const ByteString unwantedLabel = cp437Text("Nb de voisinages non désirés =");
  static const ByteString crossingsLabel =
      ByteString("Nb recoupement =");  // as a temporary: one allocation a report
  static const ByteString trialsLabel = ByteString(TRIALS_LABEL);

  clearScreen(console);
  printText(console, wordsLabel, PrintEnding::NoEnding);
  printNumber(console, score.wordsPlaced, PrintEnding::NextZone);
  printText(console, unwantedLabel, PrintEnding::NoEnding);
  printNumber(console, score.unwantedNeighbourhoods, PrintEnding::NextZone);
  printText(console, crossingsLabel, PrintEnding::NoEnding);
  printNumber(console, score.crossings, PrintEnding::NextZone);
  printText(console, "Surface =", PrintEnding::NoEnding);
  printNumber(console, grid.box.width, PrintEnding::NoEnding);
  printText(console, "*", PrintEnding::NoEnding);
  printNumber(console, grid.box.height, PrintEnding::NoEnding);
  printText(console, "=", PrintEnding::NoEnding);
  printNumber(console, score.surface, PrintEnding::LineEnd);

  drawGrid(console, grid, settings);

  locateCursor(console, TRIALS_ROW, TRIALS_COLUMN);
  printText(console, trialsLabel, PrintEnding::NoEnding);
  printNumber(console, trialCount, PrintEnding::NoEnding);
  printText(console, ByteString(TRIALS_TRAILING_BLANKS, ' '), PrintEnding::NoEnding);

  if (settings.pauseMode == PauseMode::NoPause) return ReportOutcome::Continue;
  locateCursor(console, 22, 30);
  printText(console, "entrez <M> pour aller au menu, ou", PrintEnding::LineEnd);
  locateCursor(console, 23, 30);
  printText(console, "pressez <return> pour continuer", PrintEnding::NoEnding);
  const ByteString answer = inputText(console, ByteString(), false);
  return answer == "m" || answer == "M" ? ReportOutcome::Menu : ReportOutcome::Continue;
}

namespace {

void drawPendingReport(void* context, Console& console) {
  PendingReport& pending = *static_cast<PendingReport*>(context);
  buildArrangementGrid(*pending.words, pending.table, pending.rowCount, pending.evaluation);
  showArrangementReport(console, pending.score, pending.evaluation.grid, pending.trialCount,
                        pending.settings);
  if (pending.heldTrialCount >= 0) printTrialsLine(console, *pending.trialsLine, pending.heldTrialCount);
  pending.heldTrialCount = -1;
}

}  // namespace

void deferArrangementReport(Console& console, PendingReport& pending, const ArrangementSearch& search,
                            int32_t rowCount, const ArrangementScore& score, const DisplaySettings& settings,
                            TrialsLineState& trialsLine) {
  // A drawing of another kind goes first; a report of ours is replaced.
  if (console.deferred.draw != drawPendingReport) settleScreen(console);
  pending.score = score;
  pending.trialCount = search.state.trialCount;
  pending.settings = settings;
  pending.rowCount = rowCount;
  std::copy_n(search.table.rows.begin() + 1, rowCount, pending.table.rows.begin() + 1);
  pending.words = &search.wordList;
  pending.trialsLine = &trialsLine;
  pending.heldTrialCount = -1;
  console.deferred = DeferredDrawing{drawPendingReport, &pending};
}

PendingReport* pendingReport(Console& console) {
  return console.deferred.draw == drawPendingReport ? static_cast<PendingReport*>(console.deferred.context)
                                                    : nullptr;
}

}  // namespace arrowgrid
