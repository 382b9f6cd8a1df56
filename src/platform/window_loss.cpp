// Loss of the window on X11 (see window_loss.h). Kept apart from the window
// form so that Xlib's macros stay out of the rest of the program.
#include "platform/window_loss.h"

#if ARROWGRID_WITH_X11
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "base/exit_status.h"
#endif

namespace arrowgrid {

#if ARROWGRID_WITH_X11

namespace {

// Called from inside Xlib: nothing but a write and _exit.
[[noreturn]] void endForLostWindow(const char* why) {
  char message[160];
  const int length = std::snprintf(message, sizeof message, "arrowgrid: %s\n", why);
  if (length > 0) {
    const size_t size = std::min(static_cast<size_t>(length), sizeof message - 1);
    const ssize_t written = ::write(STDERR_FILENO, message, size);
    (void)written;  // nothing more to do when standard error is gone too
  }
  _exit(WINDOW_LOST_STATUS);
}

int displayLost(Display*) { endForLostWindow("the connection to the display was lost"); }

// Xlib's default handler would print the error and call exit(). SDL catches
// the errors it expects with handlers of its own around its requests; any
// other means the window is gone (destroyed by another program, say).
int requestRefused(Display*, XErrorEvent* error) {
  char why[96];
  std::snprintf(why, sizeof why, "the display refused a request on the window (X error %d)",
                static_cast<int>(error->error_code));
  endForLostWindow(why);
}

}  // namespace

void watchForWindowLoss(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
  XSetIOErrorHandler(displayLost);
  XSetErrorHandler(requestRefused);
}

#else

void watchForWindowLoss(SDL_Window*) {}

#endif

}  // namespace arrowgrid
