// The choice among the three forms; there is no option for it.
#include "screen/form_choice.h"

#include <unistd.h>

#include <string_view>

#include "interaction/program_driver.h"
#include "screen/script_form.h"
#include "screen/terminal_form.h"
#include "screen/window_form.h"
#include "screen/window_picture.h"

namespace arrowgrid {

namespace {

void runProgramLogic(void* context) { runProgram(*static_cast<Program*>(context)); }

}  // namespace

int runWithBestForm(int argc, char** argv) {
  // Program-wide data for the whole run; the process ends without freeing it.
  auto* program = new Program();
  auto* script = new ScriptForm();
  const std::string_view path = argc > 0 && argv[0] ? argv[0] : "arrowgrid";
  if (displayAvailable()) {
    runInWindow(program->console, windowTitleOf(path), runProgramLogic, program);  // returns only without a window
  }
  if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) runInTerminal(program->console, runProgramLogic, program);
  attachScriptForm(program->console, *script);
  runProgram(*program);
}

}  // namespace arrowgrid
