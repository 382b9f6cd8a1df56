// Which form serves the program: the one the command line names; else the
// window when a display is there, else the terminal when standard input and
// output are terminals, else the script.
#pragma once

namespace arrowgrid {

// Reads the command line, builds the program-wide data and runs the program
// in the chosen form; the process ends inside with the program's status.
// Returns only for --help, --version and a refused command line.
int runWithBestForm(int argc, char** argv);

}  // namespace arrowgrid
