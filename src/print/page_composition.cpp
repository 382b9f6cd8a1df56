// The text of the page laid out before anything is drawn: the cells' size
// depends on the height of the text around them, and the clues that fit a
// cell depend on its size.
#include "print/page_composition.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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

// The list may shrink the cells to stay on the grid's page, by this much at
// most; a longer list continues on a page of its own instead.
constexpr double LIST_SHRINK_MIN = 0.85;
// Under the grid, less than this is left empty rather than start the list.
constexpr double LIST_FIRST_BLOCK_MIN_MM = 12;
// The search for the cell that would hold a clue: steps of this.
constexpr double NEEDED_CELL_PRECISION_MM = 0.1;

const char* pageName(PageSize page) {
  switch (page) {
    case PageSize::A4:
      return "a4";
    case PageSize::Letter:
      return "letter";
    case PageSize::A3:
      return "a3";
  }
  return "";
}

// The smallest cell, to NEEDED_CELL_PRECISION_MM, from fromMm up to the
// largest clue cell, whose box holds clue at minPt or more; 0 when even the
// largest does not.
double neededCellMm(const TextSetter& setter, const PrintedClue& clue, double fromMm, double minPt) {
  double high = PRINT_CLUE_CELL_MAX_MM;
  if (!fitClueToCell(setter, clue, high, minPt)) return 0;
  double low = fromMm;
  while (high - low > NEEDED_CELL_PRECISION_MM) {
    const double middle = (low + high) / 2;
    (fitClueToCell(setter, clue, middle, minPt) ? high : low) = middle;
  }
  return high;
}

void gatherUndrawable(PageComposition& page, const PrintOptions& options) {
  for (const std::string* text : {&options.title, &options.author, &options.copyright})
    addUndrawableCharacters(*page.setter, *text, page.undrawable);
  for (const PrintedClue& clue : page.clues) addUndrawableCharacters(*page.setter, clue.text, page.undrawable);
}

}  // namespace

// The cells as large as the page allows beside the heading; the clues that
// do not fit them go to the list. The list goes under the grid when the
// cells need shrink only a little for it, so that the puzzle stays on one
// page (smaller cells may send more clues to the list: it only grows, so
// this ends once its length holds); else the cells keep their size and the
// list starts in the room left under the grid and goes on over pages of
// the same size.
std::string composePage(const TextSetter& setter, const Grid& grid, const PuzzleWords& words,
                        const PrintOptions& options, PageComposition& page) {
  page = PageComposition{};
  page.setter = &setter;
  page.box = grid.box;
  PrintTextBlocks blocks = layHeading(page, options);
  page.clues = gatherClues(grid, words);
  gatherUndrawable(page, options);
  blocks.clues = !page.clues.empty();
  std::string error;
  const PrintLayout bare = layoutPrint(grid.box, PrintFormat::Pdf, options, blocks, error);
  page.blocks = blocks;
  page.cellMm = bare.cellMm;
  if (!error.empty() || page.clues.empty()) return error;

  const double listSizePt = std::max(CLUE_LIST_SIZE_PT, options.minClueSizePt);
  const double textWidthMm = printTextWidthMm(options.page);
  const double headingWidthMm = blocks.widthMm;
  double cellMm = bare.cellMm;
  bool onePage = true;
  for (int32_t listed = -1;;) {
    const int32_t now = fitCluesToCells(setter, page.clues, cellMm, options.clueLayout, options.minClueSizePt);
    if (now == 0) return "";
    if (now == listed) break;
    listed = now;
    page.list = layClueList(setter, page.clues, textWidthMm, listSizePt);
    blocks.listMm = PRINT_LIST_GAP_MM + balancedListHeightMm(page.list);
    blocks.widthMm = std::max(headingWidthMm, page.list.widthMm);
    std::string tooLarge;
    const PrintLayout shrunk = layoutPrint(grid.box, PrintFormat::Pdf, options, blocks, tooLarge);
    if (!tooLarge.empty() || shrunk.cellMm < LIST_SHRINK_MIN * bare.cellMm) {
      onePage = false;
      break;
    }
    cellMm = shrunk.cellMm;
  }
  if (onePage) {
    placeClueList(page.list, blocks.listMm, blocks.listMm);
  } else {
    cellMm = bare.cellMm;
    fitCluesToCells(setter, page.clues, cellMm, options.clueLayout, options.minClueSizePt);
    page.list = layClueList(setter, page.clues, textWidthMm, listSizePt);
    blocks.listMm = 0;
    blocks.widthMm = std::max(headingWidthMm, page.list.widthMm);
    double firstMm = bare.heightMm - PRINT_PAGE_MARGIN_MM - bare.listTopMm;
    if (firstMm < LIST_FIRST_BLOCK_MIN_MM) firstMm = 0;
    placeClueList(page.list, firstMm, bare.heightMm - 2 * PRINT_PAGE_MARGIN_MM);
  }
  page.blocks = blocks;
  page.cellMm = cellMm;
  return "";
}

PrintLayout placeComposition(const PageComposition& page, PrintFormat format, const PrintOptions& options) {
  std::string error;  // composing laid the same box and text out already
  PrintLayout layout = layoutPrint(page.box, format, options, page.blocks, error);
  const std::vector<double>& heights = page.list.blockHeightsMm;
  layout.listLeftMm = (layout.widthMm - page.list.widthMm) / 2;
  double pictureTop = layout.listTopMm;
  for (size_t block = 0; block < heights.size(); ++block) {
    if (format == PrintFormat::Pdf) {
      layout.listBlockTopsMm.push_back(block == 0 ? layout.listTopMm : PRINT_PAGE_MARGIN_MM);
    } else {
      // In a picture the blocks follow one another under the grid.
      layout.listBlockTopsMm.push_back(pictureTop);
      pictureTop += heights[block] + (heights[block] > 0 ? PRINT_LIST_GAP_MM : 0);
    }
  }
  if (heights.size() > 1) {
    if (format == PrintFormat::Pdf) {
      layout.pages = static_cast<int32_t>(heights.size());
    } else {
      layout.heightMm = pictureTop - PRINT_LIST_GAP_MM + PRINT_PICTURE_MARGIN_MM;
    }
  }
  return layout;
}

std::string listedCluesSummary(const PageComposition& page, const PrintOptions& options) {
  if (options.clueLayout == ClueLayout::List || page.list.entries.empty()) return "";
  int32_t listed = 0, tooLong = 0;
  double neededMm = 0;
  for (const PrintedClue& clue : page.clues) {
    if (clue.number == 0) continue;
    ++listed;
    const double cell = neededCellMm(*page.setter, clue, page.cellMm, options.minClueSizePt);
    if (cell == 0) ++tooLong;
    neededMm = std::max(neededMm, cell);
  }
  char text[512];
  std::snprintf(text, sizeof text,
                "%d of %zu clues did not fit their cells (%.1f mm cells on %s, at %g pt or more): listed "
                "under the grid",
                listed, page.clues.size(), page.cellMm, pageName(options.page), options.minClueSizePt);
  std::string summary = text;
  if (neededMm > 0) {
    // The page whose cells would be large enough, the grid alone on it.
    PrintTextBlocks alone = page.blocks;
    alone.listMm = 0;
    std::string suggestion;
    for (const PageSize size : {PageSize::A4, PageSize::Letter, PageSize::A3}) {
      PrintOptions other = options;
      other.page = size;
      std::string error;
      const PrintLayout layout = layoutPrint(page.box, PrintFormat::Pdf, other, alone, error);
      if (error.empty() && size != options.page && layout.cellMm >= neededMm) {
        suggestion = std::string("--page ") + pageName(size);
        break;
      }
    }
    // The largest grid whose cells on this page would be large enough, the
    // page turned as the grid is.
    double pageWidth = 0, pageHeight = 0;
    pageSizeMm(options.page, pageWidth, pageHeight);
    if (page.box.width > page.box.height) std::swap(pageWidth, pageHeight);
    const int32_t columns = static_cast<int32_t>(std::floor((pageWidth - 2 * PRINT_PAGE_MARGIN_MM) / neededMm));
    const int32_t rows = static_cast<int32_t>(
        std::floor((pageHeight - 2 * PRINT_PAGE_MARGIN_MM - page.blocks.headingMm) / neededMm));
    std::snprintf(text, sizeof text, "%s--frame %dx%d", suggestion.empty() ? "" : ", or ", columns, rows);
    suggestion += text;
    std::snprintf(text, sizeof text, "; cells of %.1f mm would hold %s: %s", neededMm,
                  tooLong > 0 ? "the others" : "them", suggestion.c_str());
    summary += text;
  }
  if (tooLong > 0) {
    std::snprintf(text, sizeof text, "; %d too long even for a %g mm cell", tooLong, PRINT_CLUE_CELL_MAX_MM);
    summary += text;
  }
  return summary;
}

std::string undrawableCharactersWarning(const PageComposition& page) {
  if (page.undrawable.empty()) return "";
  std::string named;
  for (size_t k = 0; k < page.undrawable.size(); ++k) {
    if (k == 8) {
      named += ", and " + std::to_string(page.undrawable.size() - k) + " more";
      break;
    }
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X '", page.undrawable[k]);
    char utf8[8] = {};
    g_unichar_to_utf8(page.undrawable[k], utf8);
    named += std::string(k == 0 ? "" : ", ") + code + utf8 + "'";
  }
  return "the fonts have no glyph for " + named + ": printed as boxes";
}

}  // namespace arrowgrid
