// arrowgrid's options, on the shared command-line pieces.
#include "programs/command_line.h"

#include <array>
#include <vector>

#include "base/exit_status.h"

namespace arrowgrid {

namespace {

constexpr std::string_view PROGRAM = "arrowgrid";

// The options and the fields they fill; words are collected to be ignored.
void defineOptions(CLI::App& app, CommandLine& line, StandardFlags& flags, std::vector<std::string>& words) {
  prepareCommandLine(app);
  ProgramOptions& options = line.options;
  const auto formFlag = [&](const char* name, FormChoice form, const char* description) {
    return app.add_flag_callback(
        name, [&options, form] { options.form = form; }, description);
  };
  CLI::Option* window =
      formFlag("--window", FormChoice::Window, "show the program in a window (needs a display)");
  CLI::Option* terminal = formFlag("--terminal", FormChoice::Terminal,
                                   "show it full-screen in this terminal (needs a terminal on standard input "
                                   "and output)");
  CLI::Option* script = formFlag("--script", FormChoice::Script,
                                 "read typed lines from standard input and write a text snapshot to standard "
                                 "output at every prompt");
  window->excludes(terminal);
  window->excludes(script);
  terminal->excludes(script);
  app.add_option("--export", options.exportDirectory,
                 "also write every grid the result menu shows (V, C) to DIR as PDF, SVG and PNG: "
                 "grille-vide-NNN.pdf ... and grille-complete-NNN.pdf ..., and each completed grid as the "
                 "ipuz puzzle grille-NNN.ipuz and the web page grille-NNN.html that plays it, NNN growing over the run, never over an existing file. A file "
                 "that cannot be written is reported on standard error (held "
                 "until the end when that is the terminal form's own screen) and the program goes on.")
      ->option_text("DIR");
  app.add_option("--clues", options.cluesFile,
                 "the clues of the exported grids' words, from FILE: lines of a word, a tab and its clue, or "
                 "a JSON list of {\"answer\": ..., \"clue\": ...} objects (as arrowgrid-solve --words "
                 "reads them); each placed word takes the clue given for it; only with --export")
      ->option_text("FILE");
  addPrintOptions(app, options.print, "--export");
  addStandardFlags(app, flags);
  app.add_option("words", words);
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  CLI::App app;
  StandardFlags flags;
  std::vector<std::string> words;  // received and ignored
  defineOptions(app, line, flags, words);
  line.action = parseArguments(app, flags, PROGRAM, argc, argv, line.message);
  if (line.action != CommandLineAction::Run) return line;
  // Without a folder these would silently change nothing.
  std::string given = firstGiven(app, PRINT_OPTION_NAMES);
  if (given.empty()) given = firstGiven(app, {"--clues"});
  if (!given.empty() && line.options.exportDirectory.empty()) {
    line.action = CommandLineAction::Refuse;
    line.message = refusalOf(PROGRAM, given + ": needs --export");
  }
  return line;
}

std::string helpText() {
  CommandLine line;
  CLI::App app;
  StandardFlags flags;
  std::vector<std::string> words;
  defineOptions(app, line, flags, words);
  static constexpr std::array<ExitStatusLine, 6> statuses = {{
      {SUCCESS_STATUS, "finished from the menu"},
      {FORM_UNAVAILABLE_STATUS,
       "the chosen form could not be started, or --help or --version could not "
       "be written"},
      {BAD_COMMAND_LINE_STATUS, "bad command line"},
      {SCRIPT_INPUT_ENDED_STATUS, "script form: the input ended while a line was awaited"},
      {OUTPUT_FAILED_STATUS, "script form: standard output could not be written"},
      {WINDOW_LOST_STATUS, "window form: the window or its display was lost"},
  }};
  return "Usage: arrowgrid [OPTION]...\n"
         "Arrange 2 to 50 words into an arrow-word grid. The words, the display\n"
         "choices and the menu are typed in the program (in French). Without\n"
         "--window, --terminal or --script: the window when a display is available,\n"
         "else the terminal when both ends are terminals, else the script.\n"
         "\n" +
         optionsHelp(app) + "\n" + exitStatusHelp(statuses) +
         "The terminal form ends as by a hangup (SIGHUP) when its terminal closes.\n";
}

}  // namespace arrowgrid
