// The grids the interactive program shows, also written to a folder: each
// as PDF, SVG and PNG under a number that grows over the run and never
// takes the place of a file already there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "print/grid_print.h"

namespace arrowgrid {

struct GridExport {
  std::string directory;  // empty: nothing is written
  PrintOptions options;
  int32_t lastPuzzleNumber = 0;  // the last numbers this run used
  int32_t lastSolutionNumber = 0;
};

// "grille-vide-007.pdf" or "grille-complete-012.png": three digits at least.
std::string exportFileName(GridContent content, int32_t number, PrintFormat format);

// Writes grid to the folder in the three formats under the next number of
// its kind that none of the three files there already has. Returns one
// message for each file that could not be written (none when all were).
std::vector<std::string> exportGrid(GridExport& exporting, const Grid& grid, GridContent content);

}  // namespace arrowgrid
