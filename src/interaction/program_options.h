// What the command line asks of a run: which form shows the program and
// where the grids the result menu shows are also written as files.
#pragma once

#include <string>

#include "print/print_options.h"

namespace arrowgrid {

enum class FormChoice {
  Automatic,  // the window with a display, else the terminal, else the script
  Window,
  Terminal,
  Script,
};

struct ProgramOptions {
  FormChoice form = FormChoice::Automatic;
  std::string exportDirectory;  // empty: no file is written
  std::string cluesFile;        // the exported grids' clues (--clues); empty: none
  PrintOptions print;           // page, resolution and title of those files
};

}  // namespace arrowgrid
