// The terminal form: the 80x25 text layer shown full-screen in the terminal
// that started the program, keys read raw from it. Lines are not shown.
#pragma once

namespace arrowgrid {

struct Program;

// Puts the terminal in raw mode on its alternate screen and runs the
// program; never returns, and the terminal is restored on every way out
// (program end, Ctrl+C, hang-up, termination).
[[noreturn]] void runInTerminal(Program& program);

}  // namespace arrowgrid
