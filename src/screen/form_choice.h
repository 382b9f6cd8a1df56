// Which form serves the program: the window when a display is there, else
// the terminal when standard input and output are terminals, else the script.
#pragma once

namespace arrowgrid {

// Builds the program-wide data and runs the program in the best form; the
// process ends inside with the program's status.
int runWithBestForm(int argc, char** argv);

}  // namespace arrowgrid
