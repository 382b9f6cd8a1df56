// arrowgrid-solve: the best arrow-word grid of a word list, from the command line.
#include "solve/solve_program.h"

int main(int argc, char** argv) { return arrowgrid::runSolveProgram(argc, argv); }
