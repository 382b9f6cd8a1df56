// Parsing of arrowgrid's options, in the usual GNU form.
#include "programs/command_line.h"

namespace arrowgrid {

namespace {

CommandLine refuse(std::string why) {
  CommandLine line;
  line.action = CommandLineAction::Refuse;
  line.message = "arrowgrid: " + why + "\nTry 'arrowgrid --help' for more information.";
  return line;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  bool formGiven = false;
  auto chooseForm = [&](FormChoice form, std::string_view name) -> bool {
    if (formGiven && line.options.form != form) {
      line = refuse("only one of --window, --terminal and --script may be given (" + std::string(name) + ")");
      return false;
    }
    formGiven = true;
    line.options.form = form;
    return true;
  };
  bool optionsEnded = false;
  std::string printOptionGiven;  // the first one, for the message if --export is missing
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i] != nullptr ? argv[i] : "";
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') continue;  // received and ignored
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      line.action = CommandLineAction::ShowHelp;
      return line;
    } else if (arg == "--version") {
      line.action = CommandLineAction::ShowVersion;
      return line;
    } else if (arg == "--window") {
      if (!chooseForm(FormChoice::Window, arg)) return line;
    } else if (arg == "--terminal") {
      if (!chooseForm(FormChoice::Terminal, arg)) return line;
    } else if (arg == "--script") {
      if (!chooseForm(FormChoice::Script, arg)) return line;
    } else if (arg == "--export" || arg.starts_with("--export=")) {
      std::string directory;
      if (arg == "--export") {
        if (i + 1 >= argc || argv[i + 1] == nullptr) return refuse("option '--export' requires a folder");
        directory = argv[++i];
      } else {
        directory = std::string(arg.substr(9));
      }
      if (directory.empty()) return refuse("option '--export' requires a folder");
      line.options.exportDirectory = directory;
    } else if (std::string error;
               const int32_t taken = takePrintOption(argc, argv, i, line.options.print, error)) {
      if (!error.empty()) return refuse(error);
      if (printOptionGiven.empty()) printOptionGiven = std::string(arg.substr(0, arg.find('=')));
      i += taken - 1;
    } else {
      return refuse("unrecognized option '" + std::string(arg) + "'");
    }
  }
  // Without a folder these would silently change nothing.
  if (!printOptionGiven.empty() && line.options.exportDirectory.empty()) {
    return refuse("option '" + printOptionGiven + "' needs --export");
  }
  return line;
}

std::string helpText() {
  return "Usage: arrowgrid [OPTION]...\n"
         "Arrange 2 to 50 words into an arrow-word grid. The words, the display\n"
         "choices and the menu are typed in the program (in French).\n"
         "\n"
         "  --window         show the program in a window (needs a display)\n"
         "  --terminal       show it full-screen in this terminal (needs a terminal\n"
         "                   on standard input and output)\n"
         "  --script         read typed lines from standard input and write a text\n"
         "                   snapshot to standard output at every prompt\n"
         "                   (default: the window when a display is available, else\n"
         "                   the terminal when both ends are terminals, else the script)\n"
         "  --export DIR     also write every grid the result menu shows (V, C) to\n"
         "                   DIR as PDF, SVG and PNG: grille-vide-NNN.pdf ... and\n"
         "                   grille-complete-NNN.pdf ..., NNN growing over the run,\n"
         "                   never over an existing file. A file that cannot be\n"
         "                   written is reported on standard error (held until the\n"
         "                   end when that is the terminal form's own screen) and\n"
         "                   the program goes on.\n" +
         std::string(printOptionsHelp()) +
         "                   (these three only with --export)\n"
         "  -h, --help       display this help and exit\n"
         "      --version    output version information and exit\n"
         "\n"
         "Exit status:\n"
         "  0  finished from the menu\n"
         "  1  the chosen form could not be started\n"
         "  2  bad command line\n"
         "  3  script form: the input ended while a line was awaited\n"
         "  4  script form: standard output could not be written\n"
         "  5  window form: the window or its display was lost\n"
         "The terminal form ends as by a hangup (SIGHUP) when its terminal closes.\n";
}

}  // namespace arrowgrid
