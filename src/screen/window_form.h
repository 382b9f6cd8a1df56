// The window form: the program in a 640x350 SDL window. SDL's video, events
// and presentation stay on the calling (main) thread; the program's logic
// runs on a thread of its own.
#pragma once

#include <string>

namespace arrowgrid {

struct Program;

// True when a display server is reachable by name (X11 or Wayland); without
// one SDL would quietly open an invisible off-screen window.
bool displayAvailable();

// Opens the window (or, failing that, a full-screen one) titled title and
// runs the program in it; never returns then, the process ends with the
// program's status. Returns false, with SDL shut down again, when neither
// could be opened.
bool runInWindow(Program& program, const std::string& title);

}  // namespace arrowgrid
