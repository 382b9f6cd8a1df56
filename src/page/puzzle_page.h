// The puzzle as one web page that plays it: the page's HTML, style sheet and
// script with the puzzle's ipuz document embedded, nothing fetched from
// anywhere, so that one file sent to a player opens offline in any browser.
#pragma once

#include <string>
#include <vector>

#include "base/safe_file_write.h"
#include "puzzle/ipuz_writer.h"

namespace arrowgrid {

struct PuzzlePage {
  const IpuzPuzzle& puzzle;
  // By word number like puzzle.clues: each clue with soft hyphens where it
  // may be broken (browsers do not hyphenate French offline); a missing or
  // empty entry leaves the clue whole.
  const std::vector<std::string>& brokenClues;
};

// The whole page; "" with error set when the puzzle cannot be written (a
// grid too large for its ipuz document).
std::string puzzlePageText(const PuzzlePage& page, std::string& error);

// Writes the page to path through a temporary file renamed when complete.
// Returns "" or a message naming path.
std::string writePuzzlePage(const PuzzlePage& page, const std::string& path,
                            ExistingFile existing = ExistingFile::Replace);

}  // namespace arrowgrid
