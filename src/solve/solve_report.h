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

// The words placed, unwanted neighbourhoods, crossings, surface and box of
// one grid, one per line.
std::string countsText(const ArrangementScore& score, const GridBox& box, int32_t wordCount);

// The line above grid `number` of `count` when several are asked for: the
// first is the answer, the others what the beam met.
std::string candidateHeading(int32_t number, int32_t count);

// The counts, box, frame, grids found, trials (exhaustive), time and proof,
// one per line.
std::string summaryText(const SolveResult& result, const SolveSettings& settings);

}  // namespace arrowgrid
