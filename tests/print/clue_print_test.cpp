// Clues printed in their cells: the fitting at every cell size, the text and
// word boxes pdftotext reads back, the same lines in PDF, SVG and PNG, the
// list under the grid, long titles, and damaged fonts named up front.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include <fstream>
#include <map>
#include <regex>

#include "print/clue_cells.h"
#include "print/grid_print.h"
#include "print/print_units.h"
#include "print/text_setting.h"
#include "search/grid_evaluation.h"
#include "search/search_test_support.h"
#include "support/temporary_folder.h"

namespace arrowgrid {
namespace {

using test_support::commandOutput;
using test_support::makeSearch;
using test_support::pushRow;
using test_support::TemporaryFolder;

const std::string LONG_CLUE =
    "Un indice bien trop long pour une demi-case, qui raconte toute une histoire avec force détails "
    "inutiles et digressions";

// AB across; AXY down through its A; ZY across through the Y; QZ down
// through the Z from AB's clue cell, which then holds two clues.
struct CluedGrid {
  Grid grid;
  PuzzleWords words;
};

CluedGrid cluedGrid(const std::vector<std::string>& clues) {
  auto search = makeSearch({"AB", "AXY", "ZY", "QZ"});
  pushRow(*search, 2, 1, 1, 1);
  pushRow(*search, 3, 2, 2, 3);
  pushRow(*search, 4, 2, 3, 1);
  EXPECT_EQ(evaluateArrangement(*search), EvaluationOutcome::Accepted);
  CluedGrid clued{search->evaluation.grid, {}};
  clued.words.clues = clues;
  clued.words.placements.assign(search->table.rows.begin(),
                                search->table.rows.begin() + search->state.placedCount + 1);
  return clued;
}

const std::vector<std::string> CLUES = {"", "Deux lettres", "Sigle", "Fleuve côtier de Bretagne", LONG_CLUE};

struct TextSetterFixture : ::testing::Test {
  TextSetter setter;
  void SetUp() override { ASSERT_EQ(openTextSetter(PrintFiles{}, setter), ""); }
  void TearDown() override { closeTextSetter(setter); }
};

// Each line of layout, as its text.
std::vector<std::string> layoutLines(PangoLayout* layout) {
  std::vector<std::string> lines;
  const char* text = pango_layout_get_text(layout);
  for (GSList* line = pango_layout_get_lines_readonly(layout); line != nullptr; line = line->next) {
    const auto* l = static_cast<PangoLayoutLine*>(line->data);
    lines.emplace_back(text + l->start_index, static_cast<size_t>(l->length));
  }
  return lines;
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST_F(TextSetterFixture, FittedCluesStayInTheirBoxBreakingOnlyBetweenWordsOrAtHyphens) {
  const std::string clues[] = {"Roi des animaux", "Fleuve côtier de Bretagne", "Anticonstitutionnellement",
                               "Proie du chat, ou accessoire de l'ordinateur", LONG_CLUE};
  int32_t fitted = 0, hyphenated = 0;
  for (const std::string& clue : clues) {
    for (double cell = 4; cell <= PRINT_CLUE_CELL_MAX_MM; cell += 0.5) {
      for (const bool shared : {false, true}) {
        SCOPED_TRACE(clue + " in " + std::to_string(cell) + (shared ? " mm, half" : " mm"));
        const PrintedClue where{0, 0, true, shared, clue, 0, nullptr};
        const ClueBox box = clueBox(where, cell);
        const double maxPt = 0.21 * cell * POINTS_PER_MM;
        LayoutHandle layout =
            fitClue(setter, clue, box.width * POINTS_PER_MM, box.height * POINTS_PER_MM, maxPt);
        if (!layout) continue;
        ++fitted;
        const TextExtent extent = textExtent(layout.get());
        EXPECT_GE(extent.left, 0);
        EXPECT_LE(extent.left + extent.width, box.width * POINTS_PER_MM + 1e-6);
        EXPECT_LE(extent.height, box.height * POINTS_PER_MM + 1e-6);
        const double size = pango_font_description_get_size(pango_layout_get_font_description(layout.get())) /
                            double(PANGO_SCALE);
        EXPECT_GE(size, CLUE_SIZE_MIN_PT);
        EXPECT_LE(size, std::max(CLUE_SIZE_MIN_PT, std::min(CLUE_SIZE_MAX_PT, maxPt)));
        EXPECT_EQ(pango_layout_get_unknown_glyphs_count(layout.get()), 0);
        const std::vector<std::string> lines = layoutLines(layout.get());
        for (size_t k = 0; k + 1 < lines.size(); ++k) {
          const bool atSpace = endsWith(lines[k], " "), atHyphen = endsWith(lines[k], "\u00AD");
          EXPECT_TRUE(atSpace || atHyphen || endsWith(lines[k], "-")) << "line " << lines[k];
          hyphenated += atHyphen;
        }
      }
    }
  }
  EXPECT_GT(fitted, 50);
  EXPECT_GT(hyphenated, 0);
  // Worked figures: a short clue at the largest size in a 12 mm cell, a long
  // one nowhere below the largest cell, and a long word only hyphenated.
  LayoutHandle king = fitClue(setter, "Roi des animaux", 11.2 * POINTS_PER_MM, 11.2 * POINTS_PER_MM, 7);
  ASSERT_TRUE(king);
  EXPECT_EQ(pango_font_description_get_size(pango_layout_get_font_description(king.get())), 7 * PANGO_SCALE);
  EXPECT_FALSE(fitClue(setter, LONG_CLUE, 11.2 * POINTS_PER_MM, 5.2 * POINTS_PER_MM, 7));
  EXPECT_EQ(withHyphenationPoints(setter, "L'éléphant préhistorique, porte"),
            "L'élé\u00ADphant pré\u00ADhis\u00ADto\u00ADrique, porte");
}

// The words pdftotext finds on a page, in points from its top-left corner.
struct PdfWord {
  double xMin, yMin, xMax, yMax;
  std::string text;
};

std::vector<PdfWord> pdfWords(const std::string& pdf) {
  int status = 0;
  const std::string html = commandOutput("pdftotext -bbox '" + pdf + "' -", status);
  EXPECT_EQ(status, 0);
  std::vector<PdfWord> words;
  const std::regex word(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator(); ++it) {
    words.push_back(
        {std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4]), (*it)[5]});
  }
  return words;
}

// Letters only: what survives any line breaking.
std::string lettersOf(const std::string& text) {
  std::string letters;
  for (size_t k = 0; k < text.size(); ++k) {
    if (text.compare(k, 2, "\u00AD") == 0) {
      ++k;
    } else if (text[k] != ' ' && text[k] != '-') {
      letters += text[k];
    }
  }
  return letters;
}

// The clue boxes of a page, in points: [across, down] of each clue cell.
struct PageBox {
  double left, top, right, bottom;
  bool holds(const PdfWord& w) const {
    return w.xMin >= left - 0.01 && w.xMax <= right + 0.01 && w.yMin >= top - 0.01 && w.yMax <= bottom + 0.01;
  }
};

PageBox pageBox(const PrintLayout& layout, const PrintedClue& clue, bool wholeCell) {
  const ClueBox box = clueBox(clue, layout.cellMm);
  const double left = layout.gridLeftMm + clue.i * layout.cellMm,
               top = layout.gridTopMm + clue.j * layout.cellMm;
  if (wholeCell)
    return {left * POINTS_PER_MM, top * POINTS_PER_MM, (left + layout.cellMm) * POINTS_PER_MM,
            (top + layout.cellMm) * POINTS_PER_MM};
  return {(left + box.left) * POINTS_PER_MM, (top + box.top) * POINTS_PER_MM,
          (left + box.left + box.width) * POINTS_PER_MM, (top + box.top + box.height) * POINTS_PER_MM};
}

TEST(CluePrint, PdfHoldsEveryClueInsideItsBoxAndListsWhatDoesNotFit) {
  TemporaryFolder folder;
  const CluedGrid clued = cluedGrid(CLUES);
  for (const ClueLayout clueLayout : {ClueLayout::InCells, ClueLayout::List}) {
    PrintOptions options;
    options.clueLayout = clueLayout;
    SCOPED_TRACE(clueLayout == ClueLayout::List ? "list" : "in cells");
    const std::string path = folder.file("puzzle.pdf");
    ASSERT_EQ(printGridFile(clued.grid, GridContent::Puzzle, PrintFormat::Pdf, options, path,
                            ExistingFile::Replace, clued.words),
              "");
    std::string error;
    const PrintLayout layout = puzzleLayout(clued.grid, clued.words, PrintFormat::Pdf, options, error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(layout.cellMm, PRINT_CLUE_CELL_MAX_MM);
    const std::vector<PdfWord> words = pdfWords(path);
    std::vector<PrintedClue> clues = gatherClues(clued.grid, clued.words);
    ASSERT_EQ(clues.size(), 4u);
    std::string listed;
    for (const PdfWord& w : words)
      if (w.yMin > layout.listTopMm * POINTS_PER_MM - 1) listed += w.text + " ";
    int32_t number = 0;
    for (const PrintedClue& clue : clues) {
      SCOPED_TRACE(clue.text);
      const bool inCell = clueLayout == ClueLayout::InCells && clue.text != LONG_CLUE;
      // Everything in the clue's cell lies in its box (or half box), and
      // reads back as the clue, or as its number when it is listed.
      std::string inBox;
      const PageBox box = pageBox(layout, clue, false), cell = pageBox(layout, clue, true);
      for (const PdfWord& w : words) {
        const double x = (w.xMin + w.xMax) / 2, y = (w.yMin + w.yMax) / 2;
        if (x < cell.left || x > cell.right || y < box.top || y > box.bottom) continue;
        EXPECT_TRUE(box.holds(w)) << w.text;
        inBox += w.text;
      }
      if (inCell) {
        EXPECT_EQ(lettersOf(inBox), lettersOf(clue.text));
      } else {
        EXPECT_EQ(inBox, std::to_string(++number));
        EXPECT_NE(lettersOf(listed).find(lettersOf(std::to_string(number) + clue.text)), std::string::npos)
            << listed;
      }
    }
    // Only the long clue, which runs down, is listed when clues go in cells.
    EXPECT_EQ(listed.find("Horizontalement") != std::string::npos, clueLayout == ClueLayout::List) << listed;
    EXPECT_NE(listed.find("Verticalement"), std::string::npos) << listed;
    const std::string expectedSummary =
        clueLayout == ClueLayout::List ? ""
                                       : "1 of 4 clues did not fit their cells (16.0 mm cells on a4, at 5 pt or "
                                         "more): listed under the grid; 1 too long even for a 16 mm cell";
    TextSetter setter;
    ASSERT_EQ(openTextSetter(options.files, setter), "");
    PageComposition composed;
    EXPECT_EQ(composePage(setter, clued.grid, clued.words, options, composed), "");
    EXPECT_EQ(listedCluesSummary(composed, options), expectedSummary);
    composed = PageComposition{};
    closeTextSetter(setter);
  }
}

// The rows of a clue box in a picture that hold ink, top to bottom.
std::vector<bool> inkRows(cairo_surface_t* png, double left, double top, double right, double bottom) {
  std::vector<bool> rows;
  const unsigned char* data = cairo_image_surface_get_data(png);
  const int stride = cairo_image_surface_get_stride(png);
  for (int y = static_cast<int>(std::ceil(top)); y < static_cast<int>(bottom); ++y) {
    bool ink = false;
    for (int x = static_cast<int>(std::ceil(left)); x < static_cast<int>(right); ++x) {
      const uint32_t pixel = *reinterpret_cast<const uint32_t*>(data + y * stride + 4 * x);
      ink = ink || ((pixel >> 8) & 0xff) < 128;
    }
    rows.push_back(ink);
  }
  return rows;
}

// Distinct values, each within tolerance of the one before joined to it.
std::vector<double> distinctLevels(std::vector<double> values, double tolerance) {
  std::sort(values.begin(), values.end());
  std::vector<double> levels;
  for (const double v : values)
    if (levels.empty() || v - levels.back() > tolerance) levels.push_back(v);
  return levels;
}

TEST(CluePrint, CluesBreakIntoTheSameLinesInPdfSvgAndPng) {
  TemporaryFolder folder;
  const CluedGrid clued = cluedGrid({"", "Petit félin domestique", "Accessoire de l'ordinateur",
                                     "Fleuve côtier de Bretagne", "Rongeur aux longues oreilles"});
  PrintOptions options;
  options.dpi = 150;
  for (const PrintFormat format : {PrintFormat::Pdf, PrintFormat::Svg, PrintFormat::Png}) {
    ASSERT_EQ(printGridFile(clued.grid, GridContent::Solution, format, options,
                            folder.file(std::string("grid.") + printFormatExtension(format)),
                            ExistingFile::Replace, clued.words),
              "");
  }
  ASSERT_EQ(rasterisePdf(folder, "grid", 150), 0);
  std::string error;
  const PrintLayout page = puzzleLayout(clued.grid, clued.words, PrintFormat::Pdf, options, error);
  const PrintLayout picture = puzzleLayout(clued.grid, clued.words, PrintFormat::Png, options, error);
  const std::vector<PdfWord> words = pdfWords(folder.file("grid.pdf"));
  const std::string svg = test_support::fileContent(folder.file("grid.svg"));
  const std::regex glyph(R"re(<use xlink:href="#glyph[^"]*" x="([\d.]+)" y="([\d.]+)")re");
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> pagePng(
      cairo_image_surface_create_from_png(folder.file("page.png").c_str()), cairo_surface_destroy);
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> gridPng(
      cairo_image_surface_create_from_png(folder.file("grid.png").c_str()), cairo_surface_destroy);
  const double pixelsPerMm = 150 / 25.4;

  for (const PrintedClue& clue : gatherClues(clued.grid, clued.words)) {
    SCOPED_TRACE(clue.text);
    // PDF: the lines of its words; SVG: the baselines of its glyphs; both in
    // mm from the top of the clue's box.
    const PageBox onPage = pageBox(page, clue, false);
    std::vector<double> pdfLines, svgLines;
    for (const PdfWord& w : words)
      if (onPage.holds(w)) pdfLines.push_back(w.yMax / POINTS_PER_MM - onPage.top / POINTS_PER_MM);
    const PageBox inPicture = pageBox(picture, clue, false);
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), glyph); it != std::sregex_iterator(); ++it) {
      const double x = std::stod((*it)[1]) * POINTS_PER_MM, y = std::stod((*it)[2]) * POINTS_PER_MM;
      if (x >= inPicture.left && x <= inPicture.right && y >= inPicture.top && y <= inPicture.bottom)
        svgLines.push_back((y - inPicture.top) / POINTS_PER_MM);
    }
    pdfLines = distinctLevels(pdfLines, 0.3);
    svgLines = distinctLevels(svgLines, 0.3);
    ASSERT_GE(pdfLines.size(), 2u);
    ASSERT_EQ(pdfLines.size(), svgLines.size());
    for (size_t k = 1; k < pdfLines.size(); ++k)
      EXPECT_NEAR(pdfLines[k] - pdfLines[0], svgLines[k] - svgLines[0], 0.05);

    // PNG against the PDF rasterised: ink on the same rows of the box.
    const double scale = pixelsPerMm / POINTS_PER_MM;
    const std::vector<bool> fromPage = inkRows(pagePng.get(), onPage.left * scale, onPage.top * scale,
                                               onPage.right * scale, onPage.bottom * scale);
    const std::vector<bool> fromPicture =
        inkRows(gridPng.get(), inPicture.left * scale, inPicture.top * scale, inPicture.right * scale,
                inPicture.bottom * scale);
    int32_t differing = 0;
    for (size_t row = 0; row < std::min(fromPage.size(), fromPicture.size()); ++row)
      differing += fromPage[row] != fromPicture[row];
    EXPECT_LE(differing, 2 * static_cast<int32_t>(pdfLines.size()) + 2);
  }
}

struct DamagedFont {
  const char* name;
  std::string content;  // "": the file is not there at all
  const char* why;
};

TEST(CluePrint, DamagedFontsAreNamedBeforeAnythingIsWritten) {
  TemporaryFolder folder;
  const std::string font = test_support::fileContent(PrintFiles{}.clueFont);
  const DamagedFont fonts[] = {
      {"missing.ttf", "", "No such file or directory"},
      {"text.ttf", "not a font at all\n", "not a font FreeType can read"},
      {"cut.ttf", font.substr(0, font.size() / 2), "not a font FreeType can read"},
      {"scrambled.ttf", font.substr(0, 20000) + std::string(40000, '\xff') + font.substr(60000),
       "the font file is damaged"},
  };
  for (const DamagedFont& damaged : fonts) {
    SCOPED_TRACE(damaged.name);
    const std::string path = folder.file(damaged.name);
    if (!damaged.content.empty()) std::ofstream(path, std::ios::binary) << damaged.content;
    PrintOptions options;
    options.files.clueFont = path;
    const std::string problem = printFilesProblem(options);
    EXPECT_EQ(problem.rfind("font " + path + ": " + damaged.why, 0), 0u) << problem;
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(renderGridToStream(cluedGrid(CLUES).grid, GridContent::Solution, PrintFormat::Png, options, out,
                                 "grille.png"),
              "cannot write grille.png: " + problem);
    EXPECT_EQ(std::ftell(out), 0);
    std::fclose(out);
  }
}

TEST(CluePrint, LongTitlesFitThePageTextWidthInEveryFormat) {
  TemporaryFolder folder;
  PrintOptions options;
  options.dpi = 600;
  const std::string words[] = {"Grille", "géante", "d'été", "pour", "les", "lecteurs", "patients"};
  for (int32_t k = 0; options.title.size() < 200; ++k)
    options.title += std::string(k ? " " : "") + words[k % 7];
  options.author = "\u05E9\u05DC\u05D5\u05DD";   // right to left
  options.copyright = "\u00A9 Cafe\u0301 2026";  // a combining accent
  const CluedGrid clued = cluedGrid(CLUES);
  const double widest = printTextWidthMm(options.page) + 2 * PRINT_PICTURE_MARGIN_MM;
  std::string error;
  for (const PrintFormat format : {PrintFormat::Pdf, PrintFormat::Svg, PrintFormat::Png}) {
    const PrintLayout layout = puzzleLayout(clued.grid, clued.words, format, options, error);
    EXPECT_LE(layout.widthMm, format == PrintFormat::Pdf ? 210 : widest);
    EXPECT_LT(layout.gridTopMm, 40);  // a few lines of title, not a column of them
    const std::string path = folder.file(std::string("t.") + printFormatExtension(format));
    EXPECT_EQ(printGridFile(clued.grid, GridContent::Puzzle, format, options, path, ExistingFile::Replace,
                            clued.words),
              "");
  }
  int status = 0;
  const std::string text = commandOutput("pdftotext '" + folder.file("t.pdf") + "' -", status);
  EXPECT_NE(text.find("Grille géante d'été"), std::string::npos) << text;
  EXPECT_NE(text.find("\u05E9\u05DC\u05D5\u05DD"), std::string::npos) << text;
}

}  // namespace
}  // namespace arrowgrid
