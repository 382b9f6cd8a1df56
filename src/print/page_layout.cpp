// The page's geometry: cells as large as the page and the text around the
// grid allow, never larger than a comfortable cell.
#include "print/page_layout.h"

#include <algorithm>

namespace arrowgrid {

void pageSizeMm(PageSize page, double& widthMm, double& heightMm) {
  switch (page) {
    case PageSize::A4:
      widthMm = 210, heightMm = 297;
      return;
    case PageSize::Letter:
      widthMm = 215.9, heightMm = 279.4;
      return;
    case PageSize::A3:
      widthMm = 297, heightMm = 420;
      return;
  }
}

double printTextWidthMm(PageSize page) {
  double width = 0, height = 0;
  pageSizeMm(page, width, height);
  return width - 2 * PRINT_PAGE_MARGIN_MM;
}

PrintLayout layoutPrint(const GridBox& box, PrintFormat format, const PrintOptions& options,
                        const PrintTextBlocks& text, std::string& error) {
  double pageWidth = 0, pageHeight = 0;
  pageSizeMm(options.page, pageWidth, pageHeight);
  const double cellMax = text.clues ? PRINT_CLUE_CELL_MAX_MM : PRINT_CELL_MAX_MM;

  // Portrait or landscape: whichever lets the cells be larger.
  auto cellFor = [&](double width, double height) {
    const double usableWidth = width - 2 * PRINT_PAGE_MARGIN_MM;
    const double usableHeight = height - 2 * PRINT_PAGE_MARGIN_MM - text.headingMm - text.listMm;
    return std::min({cellMax, usableWidth / box.width, usableHeight / box.height});
  };
  PrintLayout layout;
  const double portraitCell = cellFor(pageWidth, pageHeight);
  const double landscapeCell = cellFor(pageHeight, pageWidth);
  layout.landscape = landscapeCell > portraitCell;
  layout.cellMm = std::max(portraitCell, landscapeCell);
  if (layout.cellMm < PRINT_CELL_MIN_MM) {
    error = "the grid of " + std::to_string(box.width) + " x " + std::to_string(box.height) + " cells" +
            (text.listMm > 0 ? " and its list of clues are" : " is") + " too large for one page";
    return layout;
  }
  if (layout.landscape) std::swap(pageWidth, pageHeight);

  const double gridWidth = layout.cellMm * box.width, gridHeight = layout.cellMm * box.height;
  double margin = PRINT_PAGE_MARGIN_MM;
  if (format == PrintFormat::Pdf) {
    layout.widthMm = pageWidth;
    layout.heightMm = pageHeight;
  } else {
    // The picture widens for text wider than the grid, never beyond the
    // page's text width.
    margin = PRINT_PICTURE_MARGIN_MM;
    layout.widthMm = std::max(gridWidth, text.widthMm) + 2 * margin;
    layout.heightMm = gridHeight + text.headingMm + text.listMm + 2 * margin;
  }
  layout.headingTopMm = margin;
  layout.gridLeftMm = (layout.widthMm - gridWidth) / 2;
  layout.gridTopMm = margin + text.headingMm;
  layout.listTopMm = layout.gridTopMm + gridHeight + PRINT_LIST_GAP_MM;
  return layout;
}

}  // namespace arrowgrid
