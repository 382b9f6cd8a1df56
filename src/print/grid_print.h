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

// Cells never grow beyond this (a comfortable clue cell) and are shrunk for
// big grids; below the minimum a page cannot hold the grid legibly at all.
inline constexpr double PRINT_CELL_MAX_MM = 12.0;
inline constexpr double PRINT_CELL_MIN_MM = 1.0;
inline constexpr double PRINT_PAGE_MARGIN_MM = 15.0;
inline constexpr double PRINT_PICTURE_MARGIN_MM = 4.0;
inline constexpr double PRINT_TITLE_SIZE_MM = 5.0;  // font size of the title line

// The letters' font, from Debian's fonts-dejavu-core.
inline constexpr const char* PRINT_FONT_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// Where everything goes, in millimetres from the top-left corner of the PDF
// page or of the SVG/PNG picture. The picture holds the grid at the size the
// page would give it, with a small margin, so a PNG matches the printed page.
struct PrintLayout {
  double widthMm = 0, heightMm = 0;
  bool landscape = false;  // the PDF page is turned
  double cellMm = 0;
  double gridLeftMm = 0, gridTopMm = 0;
  double titleSizeMm = 0;  // 0: no title line
  double titleBaselineMm = 0;
};

// The words of a printed puzzle: what each clue cell says and which word it
// belongs to. Without any clue the grid is drawn as a bare grid.
struct PuzzleWords {
  std::vector<std::string> clues;     // by word number (as in Placement), "" when the word has none
  std::vector<Placement> placements;  // the placed words; rows of word number 0 are skipped
};

// Portrait width and height of a page.
void pageSizeMm(PageSize page, double& widthMm, double& heightMm);

// The layout of a grid over box; titleAdvancePerMm is the width of the title
// at a 1 mm font (0 without a title). Sets error, naming the grid's size,
// when the grid cannot fit one page.
PrintLayout layoutPrint(const GridBox& box, PrintFormat format, const PrintOptions& options,
                        double titleAdvancePerMm, std::string& error);

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
