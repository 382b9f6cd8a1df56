// The display selection dialog: which accepted arrangements the search shows
// and whether it pauses after each report.
#pragma once

#include <cstdint>

#include "display/display_settings.h"
#include "screen/console.h"

namespace arrowgrid {

// Asks for selectionMode (0..2) then pauseMode (0..1) on a cleared screen,
// starting over until both are in range. Never touches completeGrid; the
// driver calls it once after word entry, the result menu whenever asked.
void chooseDisplaySettings(Console& console, DisplaySettings& settings);

// "Votre choix (df <current>) =" and the typed answer: an empty answer keeps
// setting, any other becomes its number rounded to an integer, unchecked.
void askSetting(Console& console, int32_t& setting);

}  // namespace arrowgrid
