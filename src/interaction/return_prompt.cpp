// The prompt that holds a screen until Return.
#include "interaction/return_prompt.h"

#include "screen/text_screen.h"

namespace arrowgrid {

void waitForReturn(Console& console) {
  printLineEnd(console);
  printText(console, cp437Text("pressez <RETURN> pour continuer"), PrintEnding::NoEnding);
  (void)inputText(console, ByteString(), false);  // whatever is typed is discarded
}

}  // namespace arrowgrid
