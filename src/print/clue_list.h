// The list of clues under the grid: one clue a line, its number hanging in
// the margin, under "Horizontalement" and "Verticalement", in as many
// columns as the page's width allows. What the space under the grid cannot
// hold continues on pages of its own (in a picture, below it).
#pragma once

#include <cstdint>
#include <vector>

#include "print/clue_cells.h"
#include "print/text_setting.h"

namespace arrowgrid {

inline constexpr double CLUE_LIST_SIZE_PT = 8;  // the list's type, unless the clues' floor is larger

struct ClueListEntry {
  LayoutHandle text;  // a heading or one clue, broken to the column's width
  double heightMm = 0;
  bool heading = false;
};

// Where an entry goes: block 0 is the space under the grid, each further
// block a page of its own; millimetres from the block's top-left corner.
struct ClueListPlace {
  int32_t block = 0;
  double leftMm = 0, topMm = 0;
};

struct ClueList {
  std::vector<ClueListEntry> entries;  // headings and clues in reading order
  std::vector<ClueListPlace> places;   // one for each entry, once placed
  std::vector<double> blockHeightsMm;  // the height each block takes; block 0 may be empty (0)
  int32_t columns = 0;
  double columnMm = 0;  // the width of one column
  double widthMm = 0;   // the columns and the gaps between them
};

// The entries of every numbered clue of clues at sizePt, the columns as many
// as textWidthMm holds at the width most entries need on one line. A word
// too long for a column is broken where it must be, never inside a number.
ClueList layClueList(const TextSetter& setter, const std::vector<PrintedClue>& clues, double textWidthMm,
                     double sizePt);

// Places the entries into columns: at most firstMm high under the grid (0:
// nothing there), then blocks at most pageMm high each; the columns of the
// last block are balanced. A heading never ends a column.
void placeClueList(ClueList& list, double firstMm, double pageMm);

// The height of the whole list in one block of balanced columns.
double balancedListHeightMm(const ClueList& list);

}  // namespace arrowgrid
