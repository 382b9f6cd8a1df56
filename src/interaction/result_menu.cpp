// The result menu: one loop, each pass a fresh screen and one typed answer.
#include "interaction/result_menu.h"

#include "display/grid_drawing.h"
#include "interaction/display_dialog.h"
#include "screen/text_screen.h"

namespace arrowgrid {

namespace {

void showMenu(Console& console) {
  static const ByteString completedLine = cp437Text("       <C> pour imprimer une grille complétée");
  static const ByteString selectionLine = cp437Text("       <S> pour changer la sélection des impressions");
  static const ByteString finishLine = cp437Text("       <F> pour finir l'exécution");
  clearScreen(console);
  printText(console, "MENU", PrintEnding::LineEnd);
  printLineEnd(console);
  printText(console, "entrez <V> pour imprimer une grille vide", PrintEnding::LineEnd);
  printText(console, completedLine, PrintEnding::LineEnd);
  printText(console, selectionLine, PrintEnding::LineEnd);
  printText(console, "       <R> pour continuer la recherche", PrintEnding::LineEnd);
  printText(console, finishLine, PrintEnding::LineEnd);
}

// The grid stays alone on the screen (the page to print) until a line is
// typed; whatever it is, the menu comes back.
void waitOnGridView(Console& console) {
  locateCursor(console, 22, 50);
  (void)inputText(console, ByteString(), false);
}

void exportShownGrid(Console& console, GridExport* exporting, const Grid& grid, GridContent content) {
  if (exporting == nullptr || exporting->directory.empty()) return;
  for (const std::string& problem : exportGrid(*exporting, grid, content))
    reportProblem(console, "arrowgrid: " + problem);
}

bool isCommand(const ByteString& answer, char lower, char upper) {
  return answer == ByteString(1, lower) || answer == ByteString(1, upper);
}

}  // namespace

MenuOutcome resultMenu(Console& console, const Grid& grid, DisplaySettings& settings, GridExport* exporting) {
  for (;;) {
    showMenu(console);
    const ByteString answer = inputText(console, ByteString(), false);
    if (isCommand(answer, 'f', 'F')) return MenuOutcome::Finish;
    if (isCommand(answer, 's', 'S')) {
      chooseDisplaySettings(console, settings);
    } else if (isCommand(answer, 'v', 'V')) {
      clearScreen(console);
      settings.completeGrid = false;  // the puzzle: no letters, for this drawing only
      drawGrid(console, grid, settings);
      settings.completeGrid = true;
      exportShownGrid(console, exporting, grid, GridContent::Puzzle);
      waitOnGridView(console);
    } else if (isCommand(answer, 'c', 'C')) {
      clearScreen(console);
      drawGrid(console, grid, settings);
      exportShownGrid(console, exporting, grid, GridContent::Solution);
      waitOnGridView(console);
    } else if (isCommand(answer, 'r', 'R')) {
      return MenuOutcome::Resume;
    }
  }
}

}  // namespace arrowgrid
