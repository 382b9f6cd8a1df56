// The program's screen and keyboard: the text layer, the pixel surface it is
// drawn on, the key queue and the platform form behind them. One record,
// created by the program driver (or a test) and passed by reference.
#pragma once

#include <string>

#include "screen/drawing_surface.h"
#include "screen/key_queue.h"
#include "screen/platform_layer.h"
#include "screen/text_screen.h"

namespace arrowgrid {

// A picture drawn later: what the text layer and the surface would show once
// `draw` ran on them. A report no one sees before the next one replaces it
// then costs a few stores instead of a screen. Whatever reads or changes the
// text layer or the surface settles it first; a clear drops it unseen, so a
// deferred drawing may change nothing that a clear does not wipe.
struct DeferredDrawing {
  void (*draw)(void* context, Console& console) = nullptr;
  void* context = nullptr;
};

struct Console {
  DeferredDrawing deferred;  // logic thread only
  TextScreen text;           // logic thread only
  DrawingSurface surface;    // drawn and painted by the logic thread, copied by the form
  KeyQueue keys;             // appended by the form, taken by line input
  PlatformLayer platform;    // the form
};

// Runs the deferred drawing, if any, before anything reads or changes the
// picture.
void settleDeferredDrawing(Console& console);
inline void settleScreen(Console& console) {
  if (console.deferred.draw != nullptr) settleDeferredDrawing(console);
}

// Hands every glyph the text layer changed since the last call to the
// surface, in the order of drawing; paints nothing.
void commitPendingGlyphs(Console& console);

// Brings the surface's pixels up to date with everything printed and drawn.
// Whatever reads pixels calls it first: the window's present, a test.
void paintPicture(Console& console);

// Lowers refreshWanted and presents the picture. Only a form that shows
// pixels paints them (the terminal and the script show the text layer).
void presentNow(Console& console);

// Presents the picture if the form asked for one; cheap when it did not, so
// a loop may call it as often as it likes.
inline void serviceDisplay(Console& console) {
  if (console.platform.refreshWanted.load(std::memory_order_relaxed)) presentNow(console);
}

// Hands message (one line) to the form, which shows it off the screen.
void reportProblem(Console& console, const std::string& message);

// drawLine in logical coordinates over the text layer: pending glyphs are
// committed first, so a line drawn after a print lies over it.
inline void drawLine(Console& console, float x1, float y1, float x2, float y2) {
  settleScreen(console);
  if (console.text.pendingCount > 0) commitPendingGlyphs(console);
  drawLine(console.surface, x1, y1, x2, y2);
}

}  // namespace arrowgrid
