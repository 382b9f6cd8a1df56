// The clues of a printed puzzle, cell by cell: which clue cell and which half
// of it each clue takes, in the order a reader meets them (row by row, left
// to right, the word across before the word down).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "print/page_layout.h"
#include "print/text_setting.h"

namespace arrowgrid {

struct PrintedClue {
  int32_t i = 0, j = 0;  // the clue cell, counted from the box's top-left corner
  bool across = true;    // the word runs to the right (else down)
  bool shared = false;   // the cell starts two words: this clue has its upper or lower half
  std::string text;      // as the word list gives it
  int32_t number = 0;    // in the list under the grid; 0: written in its cell
  LayoutHandle layout;   // what its cell shows: the clue fitted, or its number
};

// Every clue of words whose placement starts at a clue cell of grid with
// the same direction; words without a clue are left out.
std::vector<PrintedClue> gatherClues(const Grid& grid, const PuzzleWords& words);

// True when any word of words has a clue: the grid is then drawn as a puzzle
// with its clues, else as a bare grid.
bool hasClues(const PuzzleWords& words);

// Fits each clue into its cell (or half cell) of cellMm at minPt or more,
// or, when it cannot be fitted (or every clue is listed), numbers it for
// the list and lays out the number its cell shows. Returns how many are listed.
int32_t fitCluesToCells(const TextSetter& setter, std::vector<PrintedClue>& clues, double cellMm,
                        ClueLayout clueLayout, double minPt);

// The layout of clue in its cell of cellMm at minPt or more; null when it
// does not fit.
LayoutHandle fitClueToCell(const TextSetter& setter, const PrintedClue& clue, double cellMm, double minPt);

// The clue's box inside a cell of cellMm, in millimetres from the cell's
// top-left corner: the whole cell or its half, CLUE_PADDING_MM inside its edges.
inline constexpr double CLUE_PADDING_MM = 0.8;  // clear of the lines, the text reads apart from them

struct ClueBox {
  double left = 0, top = 0, width = 0, height = 0;
};
ClueBox clueBox(const PrintedClue& clue, double cellMm);

}  // namespace arrowgrid
