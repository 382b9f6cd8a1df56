// The grids the interactive program shows, also written to a folder: each
// as PDF, SVG and PNG under a number that grows over the run and never
// takes the place of a file already there.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "print/grid_print.h"
#include "puzzle/puzzle_words.h"

namespace arrowgrid {

struct GridExport {
  std::string directory;  // empty: nothing is written
  PrintOptions options;
  int32_t lastPuzzleNumber = 0;  // the last numbers this run used
  int32_t lastSolutionNumber = 0;
  CluesByWord clues = {};  // the clue of each placed word, by folded word (--clues)
};

// "grille-vide-007.pdf" or "grille-complete-012.png": three digits at least;
// the ipuz file, puzzle and solution in one, "grille-012.ipuz", and the
// page that plays it, "grille-012.html".
std::string exportFileName(GridContent content, int32_t number, PrintFormat format);
std::string exportFileName(GridContent content, int32_t number, std::string_view extension);

// A number taken for one grid's files in every format at once: other runs
// writing into the same folder pass it over while it is held. It is held by
// a lock on the hidden reservation file, which the system lets go when the
// process ends, however it ends.
struct ExportNumber {
  int32_t number = 0;
  std::string reservation;  // the hidden file that holds it
  int lockDescriptor = -1;  // the reservation file, open and locked while held
  int unfinishedSlot = -1;  // removed with the files being written on a signal
  int error = 0;            // errno when no number could be taken
};

// Takes the first number from `from` on whose files, one for each of
// extensions, none is in the folder yet and that no other run holds. A
// reservation left by a run that ended without letting it go (killed) is
// taken over, and the temporary files that run left for that number removed.
ExportNumber reserveExportNumber(const std::string& directory, GridContent content, int32_t from,
                                 const std::vector<std::string_view>& extensions);

// Lets the number go once its files are written.
void releaseExportNumber(ExportNumber& reserved);

// Writes grid to the folder in the three formats (and a completed grid as
// ipuz and as a page too) under the next number of its kind that none of those files
// there already has, reserved for them. Returns one message for each file
// that could not be written (none when all were).
std::vector<std::string> exportGrid(GridExport& exporting, const Grid& grid, GridContent content);

}  // namespace arrowgrid
