// arrowgrid: arranges a list of words into an arrow-word grid.
#include <memory>

#include "interaction/program_driver.h"
#include "screen/script_form.h"

int main(int, char**) {
  // The program's records are large (the pixel surface); keep them off the stack.
  auto program = std::make_unique<arrowgrid::Program>();
  arrowgrid::ScriptForm form;
  arrowgrid::attachScriptForm(program->console, form);
  arrowgrid::runProgram(*program);
}
