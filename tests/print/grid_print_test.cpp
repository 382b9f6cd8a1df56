// The printed grids read back: PNG pixels of the worked examples, the PDF
// page and its fonts, the SVG's XML, and the PDF rasterised against the PNG.
#include "print/grid_print.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "search/grid_evaluation.h"
#include "search/search_test_support.h"
#include "support/hand_grid.h"
#include "support/temporary_folder.h"

namespace arrowgrid {
using namespace test_support;
namespace {

using test_support::commandOutput;
using test_support::makeSearch;
using test_support::pushRow;
using test_support::TemporaryFolder;

// AB, BC down through its B, CA across through the C.
Grid abBcCaGrid() {
  auto search = makeSearch({"AB", "BC", "CA"});
  pushRow(*search, 2, 1, 1, 2);
  pushRow(*search, 3, 1, 2, 2);
  EXPECT_EQ(evaluateArrangement(*search), EvaluationOutcome::Accepted);
  return search->evaluation.grid;
}

// AB; AXY down through its A; ZY across through the Y; QZ down through the
// Z, whose arrow cell is the one of AB: a both-arrows cell at (0, 0).
Grid bothArrowsGrid() {
  auto search = makeSearch({"AB", "AXY", "ZY", "QZ"});
  pushRow(*search, 2, 1, 1, 1);
  pushRow(*search, 3, 2, 2, 3);
  pushRow(*search, 4, 2, 3, 1);
  EXPECT_EQ(evaluateArrangement(*search), EvaluationOutcome::Accepted);
  EXPECT_EQ(gridCell(search->evaluation.grid, 0, 0), CELL_BOTH_ARROWS);
  return search->evaluation.grid;
}

struct Rgb {
  int red, green, blue;
};

struct Png {
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface{nullptr, cairo_surface_destroy};
  int width = 0, height = 0;

  explicit Png(const std::string& path) {
    surface.reset(cairo_image_surface_create_from_png(path.c_str()));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return;
    width = cairo_image_surface_get_width(surface.get());
    height = cairo_image_surface_get_height(surface.get());
  }
  Rgb at(double x, double y) const {
    const int column = static_cast<int>(x), row = static_cast<int>(y);
    const uint8_t* data = cairo_image_surface_get_data(surface.get());
    const auto* pixel =
        reinterpret_cast<const uint32_t*>(data + row * cairo_image_surface_get_stride(surface.get())) +
        column;
    return {static_cast<int>((*pixel >> 16) & 0xff), static_cast<int>((*pixel >> 8) & 0xff),
            static_cast<int>(*pixel & 0xff)};
  }
  bool dark(double x, double y) const { return at(x, y).red < 80; }
  bool white(double x, double y) const { return at(x, y).red > 245; }
  bool grey(double x, double y) const { return std::abs(at(x, y).red - 209) <= 4; }
};

constexpr int32_t DPI = 150;

// Pixel positions of a cell, from the layout the renderer used.
struct CellPlace {
  double left, top, size;
  double x(double across) const { return left + across * size; }
  double y(double down) const { return top + down * size; }
};

CellPlace cellPlace(const Grid& grid, int32_t i, int32_t j) {
  std::string error;
  PrintOptions options;
  options.dpi = DPI;
  const PrintLayout layout = layoutPrint(grid.box, PrintFormat::Png, options, PrintTextBlocks{}, error);
  const double scale = DPI / 25.4;
  return {(layout.gridLeftMm + i * layout.cellMm) * scale, (layout.gridTopMm + j * layout.cellMm) * scale,
          layout.cellMm * scale};
}

int32_t darkPixelsInside(const Png& png, const CellPlace& cell) {
  int32_t count = 0;
  for (double y = cell.y(0.15); y < cell.y(0.85); ++y)
    for (double x = cell.x(0.15); x < cell.x(0.85); ++x) count += png.at(x, y).red < 128;
  return count;
}

// Dark pixels on a row within 4 pixels of x: the width of a vertical line.
int32_t darkAcross(const Png& png, double x, double y) {
  int32_t count = 0;
  for (double at = x - 4; at <= x + 4; ++at) count += png.dark(at, y);
  return count;
}

// Every cell of the grid against what its code must look like.
void expectCellsDrawn(const Grid& grid, const Png& png, GridContent content) {
  const GridBox& box = grid.box;
  for (int32_t i = 0; i < box.width; ++i) {
    for (int32_t j = 0; j < box.height; ++j) {
      const int32_t code = gridCell(grid, box.xMin + i, box.yMin + j);
      const CellPlace c = cellPlace(grid, i, j);
      SCOPED_TRACE(::testing::Message() << "cell " << i << "," << j << " code " << code);
      if (code == CELL_EMPTY) {
        EXPECT_TRUE(png.white(c.x(0.5), c.y(0.5)));
        // No border between two empty cells.
        if (i + 1 < box.width && gridCell(grid, box.xMin + i + 1, box.yMin + j) == CELL_EMPTY) {
          EXPECT_TRUE(png.white(c.x(1), c.y(0.5)));
        }
      } else if (code == CELL_BLOCK) {
        EXPECT_TRUE(png.dark(c.x(0.5), c.y(0.5)));
        EXPECT_TRUE(png.dark(c.x(0.2), c.y(0.8)));
      } else if (isLetterCode(code)) {
        EXPECT_TRUE(png.white(c.x(0.2), c.y(0.2)));
        const int32_t ink = darkPixelsInside(png, c);
        if (content == GridContent::Puzzle) {
          EXPECT_EQ(ink, 0);
        } else {
          EXPECT_GT(ink, c.size * c.size / 25);
        }
      } else {
        const bool right = code != CELL_DOWN_ARROW, down = code != CELL_RIGHT_ARROW;
        EXPECT_TRUE(png.grey(c.x(0.25), c.y(0.75)));
        EXPECT_TRUE(png.grey(c.x(0.75), c.y(0.25)));
        // The arrow's body just inside the edge it points through.
        EXPECT_EQ(png.dark(c.x(0.9), c.y(0.5)), right);
        EXPECT_EQ(png.dark(c.x(0.5), c.y(0.9)), down);
        // The diagonal from the top-left corner to the bottom-right one.
        const bool both = code == CELL_BOTH_ARROWS;
        EXPECT_EQ(png.dark(c.x(0.3), c.y(0.3)), both);
        EXPECT_EQ(png.dark(c.x(0.65), c.y(0.65)), both);
      }
      // Every edge of a non-empty cell is a border line.
      if (code != CELL_EMPTY && code != CELL_BLOCK) {
        EXPECT_TRUE(png.dark(c.x(0), c.y(0.3)) || png.dark(c.x(0) - 1, c.y(0.3)));
        EXPECT_TRUE(png.dark(c.x(0.3), c.y(1)) || png.dark(c.x(0.3), c.y(1) - 1));
      }
    }
  }
}

struct WorkedExample {
  const char* name;
  Grid grid;
};

TEST(GridPrint, WorkedExamplesAsPngShowEveryCellAsPrintedGridsDo) {
  TemporaryFolder folder;
  const WorkedExample examples[] = {
      {"ab-bc-ca", abBcCaGrid()}, {"le", leGrid()}, {"le-en", leEnGrid()}, {"both-arrows", bothArrowsGrid()}};
  PrintOptions options;
  options.dpi = DPI;
  for (const WorkedExample& example : examples) {
    for (const GridContent content : {GridContent::Puzzle, GridContent::Solution}) {
      SCOPED_TRACE(std::string(example.name) + (content == GridContent::Puzzle ? " puzzle" : " solution"));
      const std::string path = folder.file(std::string(example.name) + ".png");
      ASSERT_EQ(printGridFile(example.grid, content, PrintFormat::Png, options, path), "");
      const Png png(path);
      ASSERT_GT(png.width, 0);
      // The picture is the grid at 12 mm a cell plus its margins.
      const double cellPixels = 12 * DPI / 25.4;
      EXPECT_NEAR(png.width, (example.grid.box.width * 12 + 8) * DPI / 25.4, 1);
      EXPECT_NEAR(cellPlace(example.grid, 0, 0).size, cellPixels, 0.01);
      expectCellsDrawn(example.grid, png, content);
      // The outer frame is thicker than the borders inside: 0.72 mm is 4
      // pixels, 0.24 mm one pixel (between the L and the E of LE).
      const CellPlace first = cellPlace(example.grid, 0, 0);
      EXPECT_EQ(darkAcross(png, first.x(0), first.y(0.5)), 4);
      const CellPlace e = cellPlace(example.grid, 2, 1);
      if (std::string(example.name) == "le") {
        EXPECT_EQ(darkAcross(png, e.x(0), e.y(0.15)), 1);
      }
    }
  }
}

TEST(GridPrint, LayoutFitsThePageTurnsItWhenThatHelpsAndRefusesWhatCannotFit) {
  std::string error;
  PrintOptions options;
  GridBox box{0, 3, -1, 1, 4, 3};
  PrintLayout layout = layoutPrint(box, PrintFormat::Pdf, options, PrintTextBlocks{}, error);
  EXPECT_EQ(layout.cellMm, 12);  // never larger
  EXPECT_FALSE(layout.landscape);
  EXPECT_EQ(layout.widthMm, 210);
  EXPECT_EQ(layout.heightMm, 297);
  EXPECT_EQ(layout.gridLeftMm, (210 - 48) / 2.0);
  EXPECT_EQ(layout.gridTopMm, PRINT_PAGE_MARGIN_MM);

  // 40 across, 10 down: A4 turned gives (297 - 30) / 40 mm a cell.
  box = GridBox{0, 39, 0, 9, 40, 10};
  layout = layoutPrint(box, PrintFormat::Pdf, options, PrintTextBlocks{}, error);
  EXPECT_TRUE(layout.landscape);
  EXPECT_DOUBLE_EQ(layout.cellMm, 267.0 / 40);
  EXPECT_EQ(layout.widthMm, 297);
  options.page = PageSize::A3;
  EXPECT_DOUBLE_EQ(layoutPrint(box, PrintFormat::Pdf, options, PrintTextBlocks{}, error).cellMm, 390.0 / 40);
  EXPECT_EQ(error, "");

  // The PNG and SVG take the page's cells with their own small margin.
  layout = layoutPrint(box, PrintFormat::Svg, options, PrintTextBlocks{}, error);
  EXPECT_DOUBLE_EQ(layout.widthMm, 390 + 2 * PRINT_PICTURE_MARGIN_MM);

  // Text wider than the grid widens the picture; a heading and a list take
  // height from the cells on the page, which may then grow with clues.
  box = GridBox{0, 3, -1, 1, 4, 3};
  options.page = PageSize::A4;
  layout = layoutPrint(box, PrintFormat::Png, options, PrintTextBlocks{10, 100, 0, false}, error);
  EXPECT_DOUBLE_EQ(layout.widthMm, 100 + 2 * PRINT_PICTURE_MARGIN_MM);
  EXPECT_DOUBLE_EQ(layout.gridTopMm, layout.headingTopMm + 10);
  box = GridBox{0, 9, 0, 19, 10, 20};
  layout = layoutPrint(box, PrintFormat::Pdf, options, PrintTextBlocks{17, 0, 20, true}, error);
  EXPECT_DOUBLE_EQ(layout.cellMm, (297 - 30 - 17 - 20) / 20.0);
  EXPECT_DOUBLE_EQ(
      layoutPrint(GridBox{0, 2, 0, 2, 3, 3}, PrintFormat::Pdf, options, PrintTextBlocks{0, 0, 0, true}, error)
          .cellMm,
      PRINT_CLUE_CELL_MAX_MM);

  layoutPrint(GridBox{0, 999, 0, 9, 1000, 10}, PrintFormat::Pdf, options, PrintTextBlocks{}, error);
  EXPECT_EQ(error, "the grid of 1000 x 10 cells is too large for one page");
}

std::string pdfInfo(const std::string& path) {
  int status = 0;
  std::string info = commandOutput("pdfinfo '" + path + "' 2>&1", status);
  EXPECT_EQ(status, 0) << info;
  return info;
}

TEST(GridPrint, PdfIsOnePageOfTheChosenSizeWithItsFontEmbedded) {
  TemporaryFolder folder;
  const std::string path = folder.file("grid.pdf");
  PrintOptions options;
  ASSERT_EQ(printGridFile(abBcCaGrid(), GridContent::Solution, PrintFormat::Pdf, options, path), "");
  std::string info = pdfInfo(path);
  EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Page size:       595.276 x 841.89 pts (A4)"), std::string::npos) << info;

  int status = 0;
  const std::string fonts = commandOutput("pdffonts '" + path + "'", status);
  ASSERT_EQ(status, 0);
  // One font, DejaVu Sans Bold, subset and embedded ("emb yes").
  EXPECT_NE(fonts.find("DejaVuSans-Bold"), std::string::npos) << fonts;
  EXPECT_NE(fonts.find(" yes yes "), std::string::npos) << fonts;
  EXPECT_EQ(fonts.find(" no "), std::string::npos) << fonts;

  options.page = PageSize::Letter;
  options.title = "Grille n° 7";
  ASSERT_EQ(printGridFile(abBcCaGrid(), GridContent::Puzzle, PrintFormat::Pdf, options, path), "");
  info = pdfInfo(path);
  EXPECT_NE(info.find("Page size:       612 x 792 pts (letter)"), std::string::npos) << info;
  EXPECT_NE(info.find("Title:           Grille n° 7"), std::string::npos) << info;

  // A grid far wider than high: the page is turned.
  Grid wide = emptyHandGrid(0, 0, 30, 3);
  putHandCell(wide, 0, 1, CELL_RIGHT_ARROW);
  for (int32_t x = 1; x < 29; ++x) putHandCell(wide, x, 1, 'A');
  putHandCell(wide, 29, 1, CELL_BLOCK);
  options.page = PageSize::A3;
  ASSERT_EQ(printGridFile(wide, GridContent::Puzzle, PrintFormat::Pdf, options, path), "");
  EXPECT_NE(pdfInfo(path).find("Page size:       1190.55 x 841.89 pts (A3)"), std::string::npos);
}

TEST(GridPrint, SvgIsWellFormedAndMeasuredInMillimetres) {
  TemporaryFolder folder;
  const std::string path = folder.file("grid.svg");
  PrintOptions options;
  options.title = "A & B <C>";  // characters XML must escape
  ASSERT_EQ(printGridFile(leEnGrid(), GridContent::Solution, PrintFormat::Svg, options, path), "");
  int status = 0;
  const std::string complaints = commandOutput("xmllint --noout '" + path + "' 2>&1", status);
  EXPECT_EQ(status, 0) << complaints;
  const std::string svg = test_support::fileContent(path);
  // 4 by 4 cells of 12 mm, 4 mm margins, a 10 mm title line.
  EXPECT_NE(svg.find("width=\"56mm\" height=\"66mm\" viewBox=\"0 0 56 66\""), std::string::npos)
      << svg.substr(0, 300);
}

// The extent of the dark pixels: the outer frame of the grid.
struct Extent {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

Extent darkExtent(const Png& png) {
  Extent e;
  for (int y = 0; y < png.height; ++y)
    for (int x = 0; x < png.width; ++x)
      if (png.dark(x, y))
        e = {std::min(e.left, x), std::min(e.top, y), std::max(e.right, x), std::max(e.bottom, y)};
  return e;
}

TEST(GridPrint, PdfRasterisedMatchesThePngCellForCell) {
  TemporaryFolder folder;
  const Grid grid = abBcCaGrid();
  PrintOptions options;
  options.dpi = DPI;
  ASSERT_EQ(printGridFile(grid, GridContent::Solution, PrintFormat::Pdf, options, folder.file("grid.pdf")),
            "");
  ASSERT_EQ(printGridFile(grid, GridContent::Solution, PrintFormat::Png, options, folder.file("grid.png")),
            "");
  ASSERT_EQ(rasterisePdf(folder, "grid", 150), 0);
  const Png page(folder.file("page.png")), png(folder.file("grid.png"));
  ASSERT_NEAR(page.width, 1240, 1);  // A4 at 150 dpi
  const Extent onPage = darkExtent(page), inPng = darkExtent(png);
  EXPECT_NEAR(onPage.right - onPage.left, inPng.right - inPng.left, 2);
  EXPECT_NEAR(onPage.bottom - onPage.top, inPng.bottom - inPng.top, 2);

  // The same colour class at the middle of every cell, measured from the frame.
  const double cell = 12 * DPI / 25.4;
  auto shade = [](const Png& p, double x, double y) { return p.dark(x, y) ? 0 : p.white(x, y) ? 2 : 1; };
  for (int32_t i = 0; i < grid.box.width; ++i) {
    for (int32_t j = 0; j < grid.box.height; ++j) {
      const double dx = (i + 0.3) * cell, dy = (j + 0.3) * cell;
      EXPECT_EQ(shade(page, onPage.left + dx, onPage.top + dy), shade(png, inPng.left + dx, inPng.top + dy))
          << i << "," << j;
    }
  }
}

TEST(GridPrint, FullDiskIsReportedWithTheFileName) {
  std::FILE* full = std::fopen("/dev/full", "wb");
  ASSERT_NE(full, nullptr);
  for (const PrintFormat format : {PrintFormat::Pdf, PrintFormat::Svg, PrintFormat::Png}) {
    EXPECT_EQ(
        renderGridToStream(leGrid(), GridContent::Solution, format, PrintOptions{}, full, "out/grille.x"),
        "cannot write out/grille.x: No space left on device");
    std::clearerr(full);
  }
  std::fclose(full);
}

}  // namespace
}  // namespace arrowgrid
