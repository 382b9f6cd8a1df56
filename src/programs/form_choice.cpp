// The choice among the three forms: the one the command line names, else
// the first that works.
#include "programs/form_choice.h"

#include <unistd.h>

#include <cstdio>
#include <string_view>
#include <utility>

#include "base/exit_status.h"
#include "base/message_text.h"
#include "base/safe_file_write.h"
#include "interaction/program_driver.h"
#include "platform/script_form.h"
#include "platform/terminal_form.h"
#include "platform/window_form.h"
#include "platform/window_picture.h"
#include "programs/command_line.h"
#include "puzzle/puzzle_words.h"
#include "puzzle/word_file.h"

namespace arrowgrid {

namespace {

void runProgramLogic(void* context) { runProgram(*static_cast<Program*>(context)); }

bool terminalAvailable() { return isatty(STDIN_FILENO) && isatty(STDOUT_FILENO); }

[[noreturn]] void failToStart(const char* why) {
  std::fprintf(stderr, "arrowgrid: %s\n", why);
  std::fflush(stderr);
  _exit(FORM_UNAVAILABLE_STATUS);
}

}  // namespace

int runWithBestForm(int argc, char** argv) {
  const CommandLine line = parseCommandLine(argc, argv);
  if (line.action != CommandLineAction::Run) {
    return statusWithoutRunning(line.action, "arrowgrid", helpText, line.message);
  }

  // The terminal form puts its own handlers over these, which remove the
  // files too.
  removeUnfinishedFilesOnSignals();
  // The clues before the program's data, which a refusal would leave behind.
  CluesByWord clues;
  if (!line.options.cluesFile.empty()) {
    const WordFileText file = readWordFile(line.options.cluesFile);
    std::string error = file.error;
    if (error.empty()) clues = cluesByWord(file.words, error);
    if (!error.empty()) {
      std::fprintf(stderr, "arrowgrid: %s\n", messageText(error).c_str());
      return BAD_COMMAND_LINE_STATUS;
    }
    for (const std::string& warning : file.warnings)
      std::fprintf(stderr, "arrowgrid: warning: %s\n", messageText(warning).c_str());
  }
  // Program-wide data for the whole run; the process ends without freeing it.
  auto* program = new Program();
  program->options = line.options;
  program->gridExport.clues = std::move(clues);
  auto* script = new ScriptForm();
  const std::string_view path = argc > 0 && argv[0] ? argv[0] : "arrowgrid";
  const FormChoice form = line.options.form;

  if (form == FormChoice::Window || form == FormChoice::Automatic) {
    if (displayAvailable()) {
      runInWindow(program->console, windowTitleOf(path), runProgramLogic,
                  program);  // returns only without a window
      if (form == FormChoice::Window) failToStart("--window: the window could not be opened");
    } else if (form == FormChoice::Window) {
      failToStart("--window: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)");
    }
  }
  if (form == FormChoice::Terminal || form == FormChoice::Automatic) {
    if (terminalAvailable()) runInTerminal(program->console, runProgramLogic, program);
    if (form == FormChoice::Terminal) failToStart("--terminal: standard input and output must be a terminal");
  }
  attachScriptForm(program->console, *script);
  endWhenOutputReaderGoes(*script);
  runProgram(*program);
}

}  // namespace arrowgrid
