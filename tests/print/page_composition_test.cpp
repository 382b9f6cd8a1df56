// The page composed once for a grid: clues no smaller than their floor and
// clear of their cell's edges, the one line that says what would fit the
// listed clues, the list in columns and over pages, words too long for a
// column broken, and characters no font has.
#include "print/page_composition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <tuple>

#include "print/grid_print.h"
#include "print/print_units.h"
#include "support/hand_grid.h"
#include "support/temporary_folder.h"

namespace arrowgrid {
namespace {

// The clues of the bench's 25 words of the school, after the header line.
std::vector<std::string> schoolClues() {
  std::vector<std::string> clues;
  std::istringstream lines(test_support::fileContent(ARROWGRID_BENCH_LISTS "/school-25-clues.tsv"));
  for (std::string line; std::getline(lines, line);) clues.push_back(line.substr(line.find('\t') + 1));
  return {clues.begin() + 1, clues.end()};
}
const std::vector<std::string> SCHOOL_CLUES = schoolClues();

// A grid of width x height whose clue cells run down the first column (every
// third one starts two words: the across clue above, the down clue below),
// composed with a text setter of its own, which outlives the layouts.
struct Composed {
  Grid grid;
  PuzzleWords words{{""}, {}};
  TextSetter setter;
  PageComposition page;
  Composed(int32_t width, int32_t height, const std::vector<std::string>& clues, const PrintOptions& options)
      : grid(test_support::emptyHandGrid(0, 0, width, height)) {
    for (int32_t k = 0, row = 0; k < std::ssize(clues); ++row) {
      const bool both = row % 3 == 0 && k + 1 < std::ssize(clues);
      test_support::putHandCell(grid, 0, row, both ? CELL_BOTH_ARROWS : CELL_RIGHT_ARROW);
      for (int32_t word = 0; word <= both; ++word) {
        words.clues.push_back(clues[static_cast<size_t>(k)]);
        words.placements.push_back(Placement{++k, 0, row, word ? DIR_VERTICAL : DIR_HORIZONTAL, 0, 0, 0});
      }
    }
    EXPECT_EQ(openTextSetter(options.files, setter), "");
    EXPECT_EQ(composePage(setter, grid, words, options, page), "");
  }
  ~Composed() {
    page = PageComposition{};
    closeTextSetter(setter);
  }
};

double sizePt(const LayoutHandle& text) {
  return pango_font_description_get_size(pango_layout_get_font_description(text.get())) / double(PANGO_SCALE);
}

// The summary's suggestion is checked by what it promises: the page or frame
// it names gives cells of the size it names, and those hold every listed
// clue but the ones it says are too long for any cell.
TEST(PageComposition, CluesInCellsKeepTheirFloorAndTheSummarySuggestsCellsThatHoldTheListed) {
  // The grid's width and height, the page, the floor, and the start of the
  // summary's suggestion ("": none, every listed clue too long).
  const std::tuple<int32_t, int32_t, PageSize, double, std::string> cases[] = {
      {6, 9, PageSize::A4, 5, ""},
      {6, 9, PageSize::A4, 9, ""},
      {12, 20, PageSize::A4, 8, "--page a3"},
      {12, 22, PageSize::A4, 6, "--page a3"},
      {12, 30, PageSize::A4, 5, "--frame"},
      {12, 30, PageSize::A4, 6, "--frame"},
      {12, 30, PageSize::A3, 8, "--frame"}};
  // How many clues are listed; the cells, then the page and frame, that
  // would hold them; how many are too long for any cell. "": none listed.
  const std::regex summaryParts(
      R"((?:(\d+) of \d+ clues [^;]*(?:; cells of ([\d.]+) mm would hold (?:them|the others): )"
      R"(((?:--page (\w+), or )?--frame (\d+)x(\d+)))?(?:; (\d+) too long.*)?)?)");
  for (const auto& [width, height, page, minPt, suggests] : cases) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + " at " + std::to_string(minPt));
    PrintOptions options;
    options.page = page;
    options.minClueSizePt = minPt;
    const Composed composed(width, height, SCHOOL_CLUES, options);
    const std::string summary = listedCluesSummary(composed.page, options);
    std::smatch part;
    ASSERT_TRUE(std::regex_match(summary, part, summaryParts)) << summary;
    EXPECT_EQ(part[3].str().substr(0, suggests.size()), suggests) << summary;
    EXPECT_EQ(part[3].matched, !suggests.empty()) << summary;
    double holdingMm = PRINT_CLUE_CELL_MAX_MM;  // with no suggestion, the cell none fits
    if (part[3].matched) {
      // The cells the suggestion gives, the grid alone on its page.
      const double neededMm = std::stod(part[2]);
      const PrintTextBlocks alone{composed.page.blocks.headingMm, composed.page.blocks.widthMm, 0, true};
      std::string error;
      const GridBox frame{.width = std::stoi(part[5]), .height = std::stoi(part[6])};
      holdingMm = layoutPrint(frame, PrintFormat::Pdf, options, alone, error).cellMm;
      EXPECT_GE(holdingMm, neededMm);
      options.page = PageSize::A3;  // the only page the cases suggest, as checked above
      const double onPageMm = layoutPrint(composed.page.box, PrintFormat::Pdf, options, alone, error).cellMm;
      EXPECT_TRUE(!part[4].matched || onPageMm >= neededMm) << onPageMm;
    }
    int32_t listed = 0, held = 0;
    for (const PrintedClue& clue : composed.page.clues) {
      listed += clue.number != 0;
      held += clue.number != 0 && fitClueToCell(composed.setter, clue, holdingMm, minPt);
      if (clue.number != 0) continue;
      EXPECT_GE(sizePt(clue.layout), minPt) << clue.text;
      // Centred in its box: the room left on each side, against the edges
      // of its cell, or of its half of a divided cell.
      const ClueBox box = clueBox(clue, composed.page.cellMm);
      const TextExtent text = textExtent(clue.layout.get());
      const double halfMm = (clue.shared && !clue.across) * composed.page.cellMm / 2;
      EXPECT_GE((box.width - text.width / POINTS_PER_MM) / 2 + box.left, 0.8 - 1e-9) << clue.text;
      EXPECT_GE((box.height - text.height / POINTS_PER_MM) / 2 + box.top - halfMm, 0.8 - 1e-9) << clue.text;
    }
    EXPECT_LT(listed, std::ssize(composed.page.clues));  // the sizes above were checked on something
    for (const ClueListEntry& entry : composed.page.list.entries)
      EXPECT_GE(sizePt(entry.text), std::max(minPt, CLUE_LIST_SIZE_PT));
    EXPECT_EQ(part[1].str(), listed == 0 ? "" : std::to_string(listed)) << summary;
    EXPECT_EQ(held, listed - (part[7].matched ? std::stoi(part[7]) : 0)) << summary;
  }
}

TEST(PageComposition, TheListSetsOneClueALineInColumnsAndGoesOnOverPages) {
  // The clues, the height of the grid (12 columns wide), the list's blocks
  // (each a page; 1: all under the grid), the share of the clues at least
  // each on one line.
  const std::tuple<const char*, std::vector<std::string>, int32_t, size_t, double> cases[] = {
      {"school", SCHOOL_CLUES, 20, 1, 0.75},
      {"a word of 200 letters", {"Court", std::string(200, 'x'), "Court aussi"}, 6, 1, 0},
      {"50 clues of 200 characters", std::vector<std::string>(50, std::string(199, 'a') + " b"), 50, 3, 0},
  };
  test_support::TemporaryFolder folder;
  PrintOptions options;
  options.clueLayout = ClueLayout::List;
  for (const auto& [name, clues, height, blocks, oneLineShare] : cases) {
    SCOPED_TRACE(name);
    const Composed composed(12, height, clues, options);
    const ClueList& list = composed.page.list;
    EXPECT_EQ(list.entries.size(), clues.size() + 2);  // and the two headings
    int32_t oneLine = 0;
    for (size_t k = 0; k < list.entries.size(); ++k) {
      PangoLayout* text = list.entries[k].text.get();
      EXPECT_LE(textExtent(text).width / POINTS_PER_MM, list.columnMm + 1e-6);
      EXPECT_LE(list.places[k].leftMm + list.columnMm, list.widthMm + 1e-6);
      oneLine += !list.entries[k].heading && pango_layout_get_line_count(text) == 1;
      // A number is never alone on its line.
      const std::string first(pango_layout_get_text(text),
                              static_cast<size_t>(pango_layout_get_line_readonly(text, 0)->length));
      EXPECT_NE(first.find_first_not_of("0123456789\t\u2060"), std::string::npos) << first;
    }
    EXPECT_GE(oneLine, oneLineShare * static_cast<double>(clues.size()));
    EXPECT_GT(list.columns, oneLineShare > 0 ? 1 : 0);
    EXPECT_LE(list.widthMm, printTextWidthMm(options.page));
    for (const double blockMm : list.blockHeightsMm) EXPECT_LE(blockMm, 297 - 2 * PRINT_PAGE_MARGIN_MM);
    const std::string path = folder.file("list.pdf");
    int status = 0;
    ASSERT_EQ(
        writeComposedPage(composed.page, composed.grid, GridContent::Puzzle, PrintFormat::Pdf, options, path),
        "");
    EXPECT_EQ(test_support::commandOutput("pdfinfo '" + path + "' | grep Pages", status),
              "Pages:           " + std::to_string(blocks) + "\n");
  }
}

// A title and a clue: the fonts have accents, invisible characters, spaces
// and Hebrew, not Chinese, each named once whatever text it comes from.
TEST(PageComposition, CharactersNoFontHasAreNamedOnce) {
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"Chat, café et œuf", "porte\u00ADmanteau, a\u00A0b, \u202F!, \u05E9\u05DC\u05D5\u05DD", ""},
      {"Grille 文", "Le mot 中文, encore 中",
       "the fonts have no glyph for U+4E2D '中', U+6587 '文': printed as boxes"},
  };
  PrintOptions options;
  for (const auto& [title, clue, warning] : cases) {
    options.title = title;
    EXPECT_EQ(undrawableCharactersWarning(Composed(4, 4, {clue}, options).page), warning) << clue;
  }
}

}  // namespace
}  // namespace arrowgrid
