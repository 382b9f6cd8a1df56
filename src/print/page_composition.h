// A printed page composed once for a grid: the title and author line, each
// clue fitted to its cell or numbered for the list, the list, and the cell
// size they leave. Every format (PDF, SVG, PNG, the puzzle and its
// solution) is drawn from the same composition, so the text breaks alike
// in all of them and is set only once.
#pragma once

#include <string>
#include <vector>

#include "print/clue_cells.h"
#include "print/page_layout.h"
#include "print/text_setting.h"

namespace arrowgrid {

struct PageComposition {
  const TextSetter* setter = nullptr;  // opened by the caller; outlives the composition
  GridBox box;                         // of the grid composed
  LayoutHandle title, byline, list;    // null: none
  double titleSizeMm = 0;
  std::vector<PrintedClue> clues;  // each fitted to its cell, or numbered for the list
  PrintTextBlocks blocks;          // the text around the grid, as the cells were sized for it
};

// Composes grid with the clues of words on the page of options. Returns ""
// or why the page cannot be laid out (the grid too large for it).
std::string composePage(const TextSetter& setter, const Grid& grid, const PuzzleWords& words,
                        const PrintOptions& options, PageComposition& page);

// Where page goes in format: the PDF page, or the picture of an SVG or PNG.
PrintLayout placeComposition(const PageComposition& page, PrintFormat format, const PrintOptions& options);

}  // namespace arrowgrid
