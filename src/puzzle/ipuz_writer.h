// The puzzle as an ipuz file, the open JSON format puzzle players read: an
// arrow-word grid with its clues in their cells, written so that a player
// that knows only crosswords still opens it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/safe_file_write.h"
#include "search/arrangement_grid.h"
#include "search/search_data.h"

namespace arrowgrid {

// A grid larger than this would give a file of tens of megabytes that no
// player shows; printing refuses such grids long before.
inline constexpr int64_t IPUZ_MAX_CELLS = int64_t{1} << 20;

struct IpuzPuzzle {
  const Grid& grid;
  const std::vector<Placement>& placements;  // the placed words; rows of word number 0 are skipped
  const WordList& words;
  const std::vector<std::string>& clues;  // by word number, "" when the word has none
  std::string title, author, copyright;   // "" when not given
};

// The whole document, ending with a line end; "" with error set when the
// grid is too large.
std::string ipuzText(const IpuzPuzzle& puzzle, std::string& error);

// Writes the document to path through a temporary file renamed when
// complete. Returns "" or a message naming path.
std::string writeIpuzFile(const IpuzPuzzle& puzzle, const std::string& path,
                          ExistingFile existing = ExistingFile::Replace);

}  // namespace arrowgrid
