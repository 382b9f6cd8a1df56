// The command line of arrowgrid: --help, --version, the choice of form and
// --export with its print options. Words that are not options are received
// and ignored.
#pragma once

#include <string>

#include "interaction/program_options.h"
#include "programs/command_line_common.h"

namespace arrowgrid {

struct CommandLine {
  CommandLineAction action = CommandLineAction::Run;
  ProgramOptions options;
  std::string message;  // with Refuse: "arrowgrid: ..." and the hint, without a line end
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// The --help text, ending with a line end.
std::string helpText();

}  // namespace arrowgrid
