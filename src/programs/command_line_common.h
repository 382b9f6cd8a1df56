// What both programs' command lines share, on CLI11: the GNU conventions
// they follow, the print options, the wording of refusals, the --help layout
// and the writing of what --help and --version print.
//
// To add an option: in the program's own file (command_line.cpp or
// solve_command_line.cpp), one app.add_option or app.add_flag call naming
// the field it fills, with `->option_text("VALUE")` for what --help shows
// after its name and its help sentence as the description (wrapped and
// aligned by optionsHelp). Check its value with `->check(...)`: a CLI11
// validator wrapped in `explained`; or `->transform(wholeNumberFrom(...))`,
// which also takes away leading zeros. A bad value is then refused as
// "PROGRAM: --name: 'VALUE' why". An option that both
// programs take goes beside addPrintOptions here. A refusal that depends on
// several options is a line after parseArguments, through refusalOf.
#pragma once

#include <CLI/CLI.hpp>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "print/print_options.h"

namespace arrowgrid {

enum class CommandLineAction {
  Run,          // options filled: start the program
  ShowHelp,     // the help text on standard output, exit 0
  ShowVersion,  // one line on standard output, exit 0
  Refuse,       // the message on standard error, exit BAD_COMMAND_LINE_STATUS
};

inline constexpr std::string_view PROGRAM_VERSION = ARROWGRID_VERSION;

// The options every program has, filled by parseArguments.
struct StandardFlags {
  bool help = false;
  bool version = false;
};

// Sets app up for the conventions both programs follow: the last of a
// repeated option wins, `--` ends the options, unknown options are named by
// parseArguments.
void prepareCommandLine(CLI::App& app);
// -h/--help and --version: added last, as --help lists them last.
void addStandardFlags(CLI::App& app, StandardFlags& flags);

// --page, --dpi and --title into print; onlyWith names the option they need
// ("--export"), shown in their help.
void addPrintOptions(CLI::App& app, PrintOptions& print, std::string_view onlyWith);
inline constexpr std::initializer_list<const char*> PRINT_OPTION_NAMES = {"--page", "--dpi", "--title"};

// A validator that refuses with "'VALUE' why" where check refuses.
CLI::Validator explained(const CLI::Validator& check, const std::string& why);
// Decimal digits only (CLI11 alone would read 0x10 and 010), from min to max.
CLI::Validator wholeNumberFrom(int64_t min, int64_t max);

// Parses the arguments into the fields the app's options name. Returns Run,
// ShowHelp, ShowVersion, or Refuse with message set by refusalOf.
CommandLineAction parseArguments(CLI::App& app, const StandardFlags& flags, std::string_view program,
                                 int argc, const char* const* argv, std::string& message);

// "PROGRAM: why" and the hint to --help, without a final line end.
std::string refusalOf(std::string_view program, std::string_view why);

// Of names ("--page"), the first given on the command line, or "".
std::string firstGiven(const CLI::App& app, std::initializer_list<const char*> names);

// The app's options, one per paragraph, their descriptions wrapped to 79
// columns and starting in one column.
std::string optionsHelp(const CLI::App& app);

struct ExitStatusLine {
  int status;
  const char* meaning;
};
// "Exit status:" and one aligned line per status.
std::string exitStatusHelp(std::span<const ExitStatusLine> lines);

// For every action but Run: prints what it asks for (help from helpText,
// "PROGRAM VERSION", or the refusal in message) and returns the exit status.
int statusWithoutRunning(CommandLineAction action, std::string_view program, std::string (*helpText)(),
                         const std::string& message);

// Writes text to standard output and flushes it; false, with
// "PROGRAM: write error: REASON" on standard error, when that fails.
bool writeStandardOutput(std::string_view program, std::string_view text);

}  // namespace arrowgrid
