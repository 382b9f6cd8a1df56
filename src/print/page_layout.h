// Where a printed grid and the text around it go on the page or in the
// picture, in millimetres: the cell size the page allows, portrait or
// landscape, and the margins of each format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "print/print_options.h"
#include "search/arrangement_grid.h"
#include "search/search_data.h"

namespace arrowgrid {

enum class GridContent { Puzzle, Solution };
enum class PrintFormat { Pdf, Svg, Png };

// Cells never grow beyond this (a comfortable letter cell, or a clue cell
// with room for its clue) and are shrunk for big grids; below the minimum a
// page cannot hold the grid legibly at all.
inline constexpr double PRINT_CELL_MAX_MM = 12.0;
inline constexpr double PRINT_CLUE_CELL_MAX_MM = 16.0;
inline constexpr double PRINT_CELL_MIN_MM = 1.0;
inline constexpr double PRINT_PAGE_MARGIN_MM = 15.0;
inline constexpr double PRINT_PICTURE_MARGIN_MM = 4.0;
inline constexpr double PRINT_TITLE_SIZE_MM = 5.0;      // font size of the title line
inline constexpr double PRINT_TITLE_MIN_SIZE_MM = 3.0;  // a long title shrinks to this, then wraps
inline constexpr double PRINT_LIST_GAP_MM = 4.0;        // between the grid and the clue list

// The text around the grid, measured before the cells are sized.
struct PrintTextBlocks {
  double headingMm = 0;  // from the top margin down to the grid: title, author line and a gap; 0: none
  double widthMm = 0;    // the widest line of the heading and of the clue list
  double listMm = 0;     // under the grid: the clue list and the gap above it; 0: none
  bool clues = false;    // the cells hold clues, so they may be larger
};

// Where everything goes, in millimetres from the top-left corner of the PDF
// page or of the SVG/PNG picture. The picture holds the grid at the size the
// page would give it, with a small margin, so a PNG matches the printed page.
struct PrintLayout {
  double widthMm = 0, heightMm = 0;
  bool landscape = false;  // the PDF page is turned
  double cellMm = 0;
  double gridLeftMm = 0, gridTopMm = 0;
  double headingTopMm = 0;  // the top of the title's block
  double listTopMm = 0;     // the top of the clue list under the grid
  double listLeftMm = 0;
  int32_t pages = 1;  // PDF: the list continues on pages of its own
  std::vector<double> listBlockTopsMm;  // each block of the list: its top on its own page, or in the picture
};

// The words of a printed puzzle: what each clue cell says and which word it
// belongs to. Without any clue the grid is drawn as a bare grid.
struct PuzzleWords {
  std::vector<std::string> clues;     // by word number (as in Placement), "" when the word has none
  std::vector<Placement> placements;  // the placed words; rows of word number 0 are skipped
};

// Portrait width and height of a page.
void pageSizeMm(PageSize page, double& widthMm, double& heightMm);

// Lines of the title, the author line and the clue list are broken to
// this width, the page's less its margins, whatever the format, so that
// they break alike in PDF, SVG and PNG.
double printTextWidthMm(PageSize page);

// The layout of a grid over box with the text around it. Sets error,
// naming the grid's size, when the grid cannot fit one page.
PrintLayout layoutPrint(const GridBox& box, PrintFormat format, const PrintOptions& options,
                        const PrintTextBlocks& text, std::string& error);

}  // namespace arrowgrid
