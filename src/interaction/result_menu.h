// The result menu: the current grid empty or completed, the display
// selection, resuming the search or finishing.
#pragma once

#include "display/display_settings.h"
#include "print/grid_export.h"
#include "screen/console.h"
#include "search/arrangement_grid.h"

namespace arrowgrid {

enum class MenuOutcome { Resume, Finish };

// Shows the menu until the user resumes the search (R) or finishes (F); the
// caller carries either out. V and C show grid (the arrangement last
// evaluated) without or with letters until a line is typed; S runs the
// display dialog on settings. With exporting (and its folder), each grid
// shown is also written as files; a failure is reported off the screen.
MenuOutcome resultMenu(Console& console, const Grid& grid, DisplaySettings& settings,
                       GridExport* exporting = nullptr);

}  // namespace arrowgrid
