// What the search shows and how: set by the display selection dialog, read by
// the ranking's selection and by the grid drawing.
#pragma once

#include <cstdint>

namespace arrowgrid {

struct DisplaySettings {
  int32_t completeGrid = 1;   // 1: letters drawn; 0 only while the menu draws the empty grid
  int32_t selectionMode = 1;  // 0 all accepted, 1 at least as good as the best, 2 new bests only
  int32_t pauseMode = 0;      // 1: each report ends with a prompt that can lead to the menu
};

}  // namespace arrowgrid
