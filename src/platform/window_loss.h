// The window lost under the program: its display server gone, or the window
// destroyed by another program. Either ends the process at once, from the
// window thread, with a message and WINDOW_LOST_STATUS: no exit handler and
// no static destructor runs while the logic thread still uses the program's
// data, and the program does not wait on for keys that can no longer come.
#pragma once

struct SDL_Window;

namespace arrowgrid {

// Replaces the display library's own error handlers, which end the process
// with exit(). Does nothing on a display without such handlers.
void watchForWindowLoss(SDL_Window* window);

}  // namespace arrowgrid
