// The program's screen and keyboard: the text layer, the pixel surface it is
// drawn on, the key queue and the platform form behind them. One record,
// created by the program driver (or a test) and passed by reference.
#pragma once

#include <string>

#include "platform/platform_layer.h"
#include "screen/drawing_surface.h"
#include "screen/key_queue.h"
#include "screen/text_screen.h"

namespace arrowgrid {

struct Console {
  TextScreen text;          // logic thread only
  DrawingSurface surface;   // drawn by the logic thread, copied by the form's thread
  KeyQueue keys;            // appended by the form, taken by line input
  PlatformLayer platform;   // the form
};

// Paints every glyph the text layer has changed since it was last drawn.
void flushTextLayer(Console& console);

// Lowers refreshWanted, paints the pending glyphs and presents the picture.
void presentNow(Console& console);

// Presents the picture if the form asked for one; cheap when it did not, so
// a loop may call it as often as it likes.
inline void serviceDisplay(Console& console) {
  if (console.platform.refreshWanted.load(std::memory_order_relaxed)) presentNow(console);
}

// Hands message (one line) to the form, which shows it off the screen.
void reportProblem(Console& console, const std::string& message);

// drawLine in logical coordinates over the text layer: pending glyphs are
// painted first, so a line drawn after a print lies over it.
void drawLine(Console& console, float x1, float y1, float x2, float y2);

}  // namespace arrowgrid
