// The terminal form: the 80x25 text layer shown full-screen in the terminal
// that started the program, keys read raw from it. Lines are not shown.
#pragma once

#include "screen/platform_layer.h"

namespace arrowgrid {

// Puts the terminal in raw mode on its alternate screen, attaches it to
// console and runs logic(context); never returns. The terminal is restored
// on every way out (program end, Ctrl+C, hangup, termination, a closed
// terminal) and during a stop (Ctrl+Z), after which it is taken back and
// drawn anew.
[[noreturn]] void runInTerminal(Console& console, ProgramLogic logic, void* context);

}  // namespace arrowgrid
