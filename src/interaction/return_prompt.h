// The prompt that holds a screen until Return: shared by the driver's screens
// and the word entry, which sits below the driver.
#pragma once

#include "screen/console.h"

namespace arrowgrid {

// "pressez <RETURN> pour continuer" after a line end; the typing is discarded.
void waitForReturn(Console& console);

}  // namespace arrowgrid
