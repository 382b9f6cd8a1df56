// The window form: the program in a 640x350 SDL window. SDL's video, events
// and presentation stay on the calling (main) thread; the program's logic
// runs on a thread of its own.
#pragma once

#include <string>

#include "screen/platform_layer.h"

namespace arrowgrid {

// True when a display server is reachable by name (X11 or Wayland); without
// one SDL would quietly open an invisible off-screen window.
bool displayAvailable();

// Opens the window (or, failing that, a full-screen one) titled title,
// attaches it to console and runs logic(context) on a thread of its own;
// never returns then, the process ends with the status given to
// endProcess. Returns false, with SDL shut down again, when neither window
// could be opened.
bool runInWindow(Console& console, const std::string& title, ProgramLogic logic, void* context);

}  // namespace arrowgrid
