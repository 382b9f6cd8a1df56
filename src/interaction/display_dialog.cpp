// The display selection dialog. A refused value is kept in the setting on
// purpose: the dialog starts over showing it as the current value.
#include "interaction/display_dialog.h"

#include "screen/text_screen.h"

namespace arrowgrid {

void askSetting(Console& console, int32_t& setting) {
  printText(console, cp437Text("Votre choix (df"), PrintEnding::NoEnding);
  printNumber(console, setting, PrintEnding::NoEnding);
  printText(console, cp437Text(") ="), PrintEnding::NoEnding);
  const ByteString answer = inputText(console, ByteString(), false);
  if (answer.empty()) return;
  setting = roundToInteger(numberValue(answer));
}

void chooseDisplaySettings(Console& console, DisplaySettings& settings) {
  for (;;) {
    clearScreen(console);
    printText(console, cp437Text("entrez <0> pour afficher toutes les solutions valides"),
              PrintEnding::LineEnd);
    printText(console, cp437Text("       <1> pour n'afficher que les meilleures solutions"),
              PrintEnding::LineEnd);
    printText(console, cp437Text("       <2> pour n'afficher que les premières des meilleures"),
              PrintEnding::LineEnd);
    auto selection = static_cast<int32_t>(settings.selectionMode);
    askSetting(console, selection);
    settings.selectionMode = static_cast<SelectionMode>(selection);
    if (selection < 0 || selection > 2) continue;

    printLineEnd(console);
    printText(console, cp437Text("entrez <0> pour ne pas faire de pause"), PrintEnding::LineEnd);
    printText(console, cp437Text("       <1> pour faire une pause après chaque impression"),
              PrintEnding::LineEnd);
    auto pause = static_cast<int32_t>(settings.pauseMode);
    askSetting(console, pause);
    settings.pauseMode = static_cast<PauseMode>(pause);
    if (pause < 0 || pause > 1) continue;
    return;
  }
}

}  // namespace arrowgrid
