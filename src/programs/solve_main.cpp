// arrowgrid-solve: the best arrow-word grid of a word list, from the command line.
#include "programs/solve_command_line.h"
#include "programs/standard_descriptors.h"
#include "solve/solve_program.h"

int main(int argc, char** argv) {
  using namespace arrowgrid;
  holdStandardDescriptors();
  const SolveCommandLine line = parseSolveCommandLine(argc, argv);
  if (line.action != CommandLineAction::Run) {
    return statusWithoutRunning(line.action, SOLVE_PROGRAM, solveHelpText, line.message);
  }
  return runSolveProgram(line.options);
}
