// The ranking of accepted arrangements, the selection table and the report.
#include "search/best_selection.h"

#include "display/grid_drawing.h"
#include "screen/text_screen.h"
#include "search/trials_line.h"

namespace arrowgrid {

namespace {

// -1, 0 or 1 as a is worse than, equal to or better than b, where larger is better.
template <typename T>
int32_t rankLarger(T a, T b) {
  return a > b ? 1 : (a < b ? -1 : 0);
}

}  // namespace

ScoreOrder compareWithBest(ArrangementScore& bestScore, const ArrangementScore& score) {
  int32_t rank = rankLarger(score.wordsPlaced, bestScore.wordsPlaced);
  if (rank == 0) rank = rankLarger(bestScore.unwantedNeighbourhoods, score.unwantedNeighbourhoods);
  if (rank == 0) rank = rankLarger(score.crossings, bestScore.crossings);
  if (rank == 0) rank = rankLarger(bestScore.surface, score.surface);
  if (rank > 0) {
    bestScore = score;
    return ScoreOrder::Better;
  }
  return rank < 0 ? ScoreOrder::Worse : ScoreOrder::Equal;
}

bool isArrangementShown(ScoreOrder order, int32_t selectionMode) {
  if (selectionMode == 0) return true;
  if (selectionMode == 1) return order != ScoreOrder::Worse;
  return order == ScoreOrder::Better;
}

ReportOutcome showArrangementReport(Console& console, const ArrangementScore& score, const Grid& grid,
                                    int64_t trialCount, const DisplaySettings& settings) {
  // Converted once: a report may come at every accepted arrangement.
  static const ByteString wordsLabel = cp437Text("Nb mots placés =");
  static const ByteString unwantedLabel = cp437Text("Nb de voisinages non désirés =");
  static const ByteString trialsLabel = ByteString(TRIALS_LABEL);

  clearScreen(console);
  printText(console, wordsLabel, PrintEnding::NoEnding);
  printNumber(console, score.wordsPlaced, PrintEnding::NextZone);
  printText(console, unwantedLabel, PrintEnding::NoEnding);
  printNumber(console, score.unwantedNeighbourhoods, PrintEnding::NextZone);
  printText(console, "Nb recoupement =", PrintEnding::NoEnding);
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
