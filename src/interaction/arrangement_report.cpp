// The report screen of an accepted arrangement: counts, grid, trials line
// and the optional pause.
#include "interaction/arrangement_report.h"

#include "display/grid_drawing.h"
#include "interaction/trials_line.h"
#include "screen/text_screen.h"

namespace arrowgrid {

ReportOutcome showArrangementReport(Console& console, const ArrangementScore& score, const Grid& grid,
                                    int64_t trialCount, const DisplaySettings& settings) {
  // Converted once: a report may come at every accepted arrangement.
  static const ByteString wordsLabel = cp437Text("Nb mots placés =");
  static const ByteString unwantedLabel = cp437Text("Nb de voisinages non désirés =");
  static const ByteString crossingsLabel = ByteString("Nb recoupement =");  // as a temporary: one allocation a report
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

  if (settings.pauseMode == 0) return ReportOutcome::Continue;
  locateCursor(console, 22, 30);
  printText(console, "entrez <M> pour aller au menu, ou", PrintEnding::LineEnd);
  locateCursor(console, 23, 30);
  printText(console, "pressez <return> pour continuer", PrintEnding::NoEnding);
  const ByteString answer = inputText(console, ByteString(), false);
  return answer == "m" || answer == "M" ? ReportOutcome::Menu : ReportOutcome::Continue;
}

}  // namespace arrowgrid
