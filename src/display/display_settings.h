// What the search shows and how: set by the display selection dialog, read by
// the ranking's selection and by the grid drawing.
#pragma once

#include <cstdint>

#include "search/selection_mode.h"

namespace arrowgrid {

enum class PauseMode : int32_t {
  NoPause = 0,
  AfterEachReport = 1,  // each report ends with a prompt that can lead to the menu
};

struct DisplaySettings {
  bool completeGrid = true;  // letters drawn; false only while the menu draws the empty grid
  SelectionMode selectionMode = SelectionMode::AtLeastAsGood;
  PauseMode pauseMode = PauseMode::NoPause;
};

}  // namespace arrowgrid
