// The solver's answer for people: the grid drawn with box-drawing
// characters, then the counts, the box, the time and whether it is proven.
#pragma once

#include <string>

#include "search/arrangement_grid.h"
#include "search/proof_search.h"

namespace arrowgrid {

// The glyph of one cell: "→", "↓", "↘" (both arrows), "■", a letter, or " ".
std::string cellGlyph(int32_t code);

// The grid in a frame, one line per grid row, cells a blank apart.
std::string gridText(const Grid& grid);

// The counts, box, trials (exhaustive), time and proof, one per line.
std::string summaryText(const SolveResult& result, const SolveSettings& settings);

}  // namespace arrowgrid
