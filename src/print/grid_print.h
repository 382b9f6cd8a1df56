// The print-ready picture of an evaluated grid, as PDF, SVG or PNG: the
// puzzle (no letters) or its solution, drawn the way printed arrow-word
// grids are, meaning exactly what the screen's drawing shows.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "base/safe_file_write.h"
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
  double listTopMm = 0;     // the top of the clue list
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

// The layout renderGridToStream gives grid with words, the text around it
// measured: where each cell is drawn. Sets error as the drawing would.
PrintLayout puzzleLayout(const Grid& grid, const PuzzleWords& words, PrintFormat format,
                         const PrintOptions& options, std::string& error);

// "" when the fonts printing needs can be read, else what is wrong with
// which file: a program checks this before it spends time on a search.
std::string printFilesProblem(const PrintOptions& options);

// One line for each clue of words that its cell cannot hold even at the
// smallest size, and which the printed puzzle lists under the grid instead;
// a program says these once, whatever the number of files it writes.
// error is set when the page itself cannot be laid out.
std::vector<std::string> cluesOutOfTheirCells(const Grid& grid, const PuzzleWords& words,
                                              const PrintOptions& options, std::string& error);

// Draws the grid into out as format; name is the file the messages name.
// Returns "" or a message.
std::string renderGridToStream(const Grid& grid, GridContent content, PrintFormat format,
                               const PrintOptions& options, std::FILE* out, const std::string& name,
                               const PuzzleWords& words = {});

// The one call a program makes: the grid written to path, through a
// temporary file renamed when complete. Returns "" or a message naming path.
std::string printGridFile(const Grid& grid, GridContent content, PrintFormat format,
                          const PrintOptions& options, const std::string& path,
                          ExistingFile existing = ExistingFile::Replace, const PuzzleWords& words = {});

// "pdf", "svg" or "png".
const char* printFormatExtension(PrintFormat format);

}  // namespace arrowgrid
