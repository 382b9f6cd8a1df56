// The command line of arrowgrid-solve: its options, and the words given as
// arguments.
#pragma once

#include <string>

#include "programs/command_line_common.h"
#include "solve/solve_options.h"

namespace arrowgrid {

struct SolveCommandLine {
  CommandLineAction action = CommandLineAction::Run;
  SolveOptions options;
  std::string message;  // Refuse: "arrowgrid-solve: ..." and the hint, without a line end
};

SolveCommandLine parseSolveCommandLine(int argc, const char* const* argv);

// The --help text, ending with a line end.
std::string solveHelpText();

}  // namespace arrowgrid
