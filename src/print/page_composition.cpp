// The text of the page laid out before anything is drawn: the cells' size
// depends on the height of the text around them, and the clues that fit a
// cell depend on its size.
#include "print/page_composition.h"

#include <algorithm>

#include "print/print_units.h"

namespace arrowgrid {

namespace {

// The title line: its font size, then the gap down to the grid.
constexpr double TITLE_BLOCK_PER_SIZE = 2.0;
constexpr int TITLE_LINES_MAX = 3;
constexpr double BYLINE_SIZE_PT = 10;  // the author line
constexpr double BYLINE_MIN_SIZE_PT = 7;
constexpr int BYLINE_LINES_MAX = 2;
constexpr double BYLINE_GAP_MM = 3;  // below an author line without a title
constexpr double LIST_SIZE_PT = 8;   // the clue list under the grid

std::string bylineText(const PrintOptions& options) {
  if (options.author.empty() || options.copyright.empty()) return options.author + options.copyright;
  return options.author + "\u2003" + options.copyright;
}

// The title (shrunk, then wrapped, to the text width) and the author line.
PrintTextBlocks layHeading(PageComposition& page, const PrintOptions& options) {
  const TextSetter& setter = *page.setter;
  const double widthPt = printTextWidthMm(options.page) * POINTS_PER_MM;
  PrintTextBlocks blocks;
  double textHeightPt = 0, firstLinePt = 0, widestPt = 0, sizePt = 0;
  if (!options.title.empty()) {
    page.title = fitHeading(setter, options.title, LETTER_FAMILY, true, PRINT_TITLE_SIZE_MM * POINTS_PER_MM,
                            PRINT_TITLE_MIN_SIZE_MM * POINTS_PER_MM, widthPt, TITLE_LINES_MAX, sizePt);
    page.titleSizeMm = sizePt / POINTS_PER_MM;
    const TextExtent extent = textExtent(page.title.get());
    PangoRectangle first;
    pango_layout_line_get_extents(pango_layout_get_line_readonly(page.title.get(), 0), nullptr, &first);
    // One line is exactly the first line (the layout's height may differ
    // from the line's by a rounding).
    firstLinePt = pango_layout_get_line_count(page.title.get()) == 1
                      ? extent.height
                      : static_cast<double>(first.height) / PANGO_SCALE;
    textHeightPt += extent.height;
    widestPt = extent.width;
  }
  const std::string byline = bylineText(options);
  if (!byline.empty()) {
    page.byline = fitHeading(setter, byline, CLUE_FAMILY, false, BYLINE_SIZE_PT, BYLINE_MIN_SIZE_PT, widthPt,
                             BYLINE_LINES_MAX, sizePt);
    const TextExtent extent = textExtent(page.byline.get());
    textHeightPt += extent.height;
    widestPt = std::max(widestPt, extent.width);
  }
  blocks.widthMm = widestPt / POINTS_PER_MM;
  if (page.title) {
    blocks.headingMm = TITLE_BLOCK_PER_SIZE * page.titleSizeMm + (textHeightPt - firstLinePt) / POINTS_PER_MM;
  } else if (page.byline) {
    blocks.headingMm = textHeightPt / POINTS_PER_MM + BYLINE_GAP_MM;
  }
  return blocks;
}

}  // namespace

// Sizes the cells with room for the list of the clues that do not fit
// them. A list makes the cells smaller, which may send more clues to it:
// the list only grows, so this ends once its length holds.
std::string composePage(const TextSetter& setter, const Grid& grid, const PuzzleWords& words,
                        const PrintOptions& options, PageComposition& page) {
  page = PageComposition{};
  page.setter = &setter;
  page.box = grid.box;
  PrintTextBlocks blocks = layHeading(page, options);
  const double headingWidthMm = blocks.widthMm;
  page.clues = gatherClues(grid, words);
  blocks.clues = !page.clues.empty();
  std::string error;
  for (int32_t listed = -1;;) {
    page.blocks = blocks;
    const PrintLayout layout = layoutPrint(grid.box, PrintFormat::Pdf, options, blocks, error);
    if (!error.empty() || page.clues.empty()) return error;
    const int32_t now = fitCluesToCells(setter, page.clues, layout.cellMm, options.clueLayout);
    if (now == listed) return "";
    listed = now;
    blocks.widthMm = headingWidthMm;
    blocks.listMm = 0;
    page.list.reset();
    if (listed > 0) {
      page.list = layParagraph(setter, clueListText(page.clues, options.clueLayout), CLUE_FAMILY, LIST_SIZE_PT,
                               printTextWidthMm(options.page) * POINTS_PER_MM);
      const TextExtent extent = textExtent(page.list.get());
      blocks.listMm = PRINT_LIST_GAP_MM + extent.height / POINTS_PER_MM;
      blocks.widthMm = std::max(blocks.widthMm, extent.width / POINTS_PER_MM);
    }
  }
}

PrintLayout placeComposition(const PageComposition& page, PrintFormat format, const PrintOptions& options) {
  std::string error;  // composing laid the same box and text out already
  return layoutPrint(page.box, format, options, page.blocks, error);
}

}  // namespace arrowgrid
