// The one seam between the program's logic and the machine: the window, the
// terminal, the script on standard input, or a test's scripted keys. Each
// form fills these hooks; the logic calls only these.
#pragma once

#include <atomic>
#include <cstdint>

namespace arrowgrid {

struct Console;

// The program's logic as a form runs it: on its own thread in the window
// form, on the main thread in the others.
using ProgramLogic = void (*)(void* context);

struct PlatformLayer {
  void* context = nullptr;  // the form's own record, passed back to every hook

  // The program starts waiting for a typed line (the prompt is on screen).
  // The script form writes its snapshot here, the terminal form repaints.
  void (*lineInputStarting)(void* context, Console& console) = nullptr;

  // The key queue is empty and the program waits for a key. A form that has
  // keys of its own to give (script lines, a test's script) appends them
  // here; the window form has nothing to do, its thread appends keys itself.
  void (*waitingForKey)(void* context, Console& console) = nullptr;

  // A tone of about 1000 Hz for 250 ms.
  void (*beep)(void* context) = nullptr;

  // Shows the current picture. Called on the logic thread, between two
  // operations, when refreshWanted was raised; a form that shows pixels
  // paints them first (paintPicture).
  void (*present)(void* context, Console& console) = nullptr;

  // Closes the window and ends the process with status. Must not return
  // (the test form unwinds with an exception of its own).
  void (*endProcess)(void* context, int32_t status) = nullptr;

  // A problem the user must learn of without the screen changing (a grid
  // that could not be written): one line, no line end. Null: a line on
  // standard error at once.
  void (*reportProblem)(void* context, const char* message) = nullptr;

  // Raised by the form's own thread (display refresh, terminal timer) when
  // it wants a new picture; lowered by the logic thread when it presents.
  std::atomic<bool> refreshWanted{false};
};

}  // namespace arrowgrid
