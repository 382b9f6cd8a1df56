// Where the text layer meets the surface and the platform: committing and
// painting pending glyphs, presenting, and the end of the program.
#include "screen/console.h"

#include <cstdio>
#include <cstdlib>

#include "base/message_text.h"

namespace arrowgrid {

void settleDeferredDrawing(Console& console) {
  // Taken off first: the drawing prints and draws through the same calls.
  const DeferredDrawing drawing = console.deferred;
  console.deferred = DeferredDrawing{};
  drawing.draw(drawing.context, console);
}

void commitPendingGlyphs(Console& console) {
  settleScreen(console);
  TextScreen& text = console.text;
  for (int32_t k = 0; k < text.pendingCount; ++k) {
    const uint16_t index = text.pendingCells[static_cast<size_t>(k)];
    text.glyphPending[index] = false;
    drawGlyph(console.surface, index / TEXT_COLUMNS + 1, index % TEXT_COLUMNS + 1, text.cells[index]);
  }
  text.pendingCount = 0;
}

void paintPicture(Console& console) {
  settleScreen(console);
  commitPendingGlyphs(console);
  paintSurface(console.surface);
}

void presentNow(Console& console) {
  settleScreen(console);
  console.platform.refreshWanted.store(false, std::memory_order_relaxed);
  if (console.platform.present) console.platform.present(console.platform.context, console);
}

void reportProblem(Console& console, const std::string& message) {
  // A problem names files, whose names may hold anything.
  const std::string shown = messageText(message, true);
  if (console.platform.reportProblem) {
    console.platform.reportProblem(console.platform.context, shown.c_str());
    return;
  }
  std::fprintf(stderr, "%s\n", shown.c_str());
  std::fflush(stderr);
}

void endProgram(Console& console, int32_t status) {
  if (console.platform.endProcess) console.platform.endProcess(console.platform.context, status);
  // A form whose hook returned must still not let the program run on.
  std::_Exit(status);
}

}  // namespace arrowgrid
