// A printed page composed once for a grid: the title and author line, each
// clue fitted to its cell or numbered for the list, the list in columns,
// and the cell size they leave. Every format (PDF, SVG, PNG, the puzzle and
// its solution) is drawn from the same composition, so the text breaks
// alike in all of them and is set only once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "print/clue_cells.h"
#include "print/clue_list.h"
#include "print/page_layout.h"
#include "print/text_setting.h"

namespace arrowgrid {

struct PageComposition {
  const TextSetter* setter = nullptr;  // opened by the caller; outlives the composition
  GridBox box;                         // of the grid composed
  LayoutHandle title, byline;          // null: none
  double titleSizeMm = 0;
  std::vector<PrintedClue> clues;  // each fitted to its cell, or numbered for the list
  ClueList list;                   // the numbered clues, placed in blocks
  PrintTextBlocks blocks;          // the text around the grid on the first page, as the cells were sized
  double cellMm = 0;
  std::vector<uint32_t> undrawable;  // characters of the text that no font of the setter has, once each
};

// Composes grid with the clues of words on the page of options. Returns ""
// or why the page cannot be laid out (the grid too large for it).
std::string composePage(const TextSetter& setter, const Grid& grid, const PuzzleWords& words,
                        const PrintOptions& options, PageComposition& page);

// Where page goes in format: the PDF's pages, or the picture of an SVG or PNG.
PrintLayout placeComposition(const PageComposition& page, PrintFormat format, const PrintOptions& options);

// One line when clues of page had to be listed: how many of how many did
// not fit their cells, at what cell size and page, and the page or frame
// whose cells would hold them; "" when every clue is in its cell (or the
// list was asked for).
std::string listedCluesSummary(const PageComposition& page, const PrintOptions& options);

// "" or a warning naming the characters of page that print as boxes.
std::string undrawableCharactersWarning(const PageComposition& page);

}  // namespace arrowgrid
