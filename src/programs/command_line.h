// The command line of arrowgrid: --help, --version, the choice of form and
// --export. Words that are not options are received and ignored.
#pragma once

#include <string>
#include <string_view>

#include "interaction/program_options.h"

namespace arrowgrid {

inline constexpr std::string_view PROGRAM_VERSION = ARROWGRID_VERSION;

enum class CommandLineAction {
  Run,       // options filled: start the program
  ShowHelp,  // print helpText to standard output, exit 0
  ShowVersion,
  Refuse,  // message says why; exit 2
};

struct CommandLine {
  CommandLineAction action = CommandLineAction::Run;
  ProgramOptions options;
  std::string message;  // with Refuse: "arrowgrid: ..." without a line end
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// The --help text, ending with a line end.
std::string helpText();

}  // namespace arrowgrid
