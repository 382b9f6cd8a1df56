// The page composed once for a grid: clues no smaller than their floor and
// clear of their cell's edges, the list in columns and over pages, words
// too long for a column broken, characters no font has, and the one line
// that says what would fit the listed clues.
#include "print/page_composition.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <sstream>

#include "print/grid_print.h"
#include "print/print_units.h"
#include "support/hand_grid.h"
#include "support/temporary_folder.h"

namespace arrowgrid {
namespace {

using test_support::TemporaryFolder;

// The clues of the bench's 25 words of the school, after the header line.
std::vector<std::string> schoolClues() {
  std::vector<std::string> clues;
  std::istringstream lines(test_support::fileContent(ARROWGRID_BENCH_LISTS "/school-25-clues.tsv"));
  for (std::string line; std::getline(lines, line);) clues.push_back(line.substr(line.find('\t') + 1));
  clues.erase(clues.begin());
  return clues;
}
const std::vector<std::string> SCHOOL_CLUES = schoolClues();

// A grid of width x height whose clue cells run down the first column: every
// third one starts two words (the across clue above, the down clue below).
struct HandPuzzle {
  Grid grid;
  PuzzleWords words;
};

HandPuzzle columnPuzzle(int32_t width, int32_t height, const std::vector<std::string>& clues) {
  HandPuzzle puzzle{test_support::emptyHandGrid(0, 0, width, height), {{""}, {}}};
  for (size_t k = 0, row = 0; k < clues.size(); ++row) {
    const bool both = row % 3 == 0 && k + 1 < clues.size();
    test_support::putHandCell(puzzle.grid, 0, static_cast<int32_t>(row), both ? CELL_BOTH_ARROWS : CELL_RIGHT_ARROW);
    for (const Direction direction : {DIR_HORIZONTAL, DIR_VERTICAL}) {
      if (direction == DIR_VERTICAL && !both) break;
      puzzle.words.clues.push_back(clues[k++]);
      puzzle.words.placements.push_back(
          Placement{static_cast<int32_t>(k), 0, static_cast<int32_t>(row), direction, 0, 0, 0});
    }
  }
  return puzzle;
}

double layoutSizePt(PangoLayout* layout) {
  return pango_font_description_get_size(pango_layout_get_font_description(layout)) / double(PANGO_SCALE);
}

struct Composed {
  TextSetter setter;
  PageComposition page;
  std::string error;
  Composed(const HandPuzzle& puzzle, const PrintOptions& options) {
    EXPECT_EQ(openTextSetter(options.files, setter), "");
    error = composePage(setter, puzzle.grid, puzzle.words, options, page);
  }
  ~Composed() {
    page = PageComposition{};
    closeTextSetter(setter);
  }
};

struct FloorCase {
  int32_t width, height;  // of the grid
  double minPt;
};

TEST(PageComposition, CluesKeepTheirFloorAndClearTheirCellsEdges) {
  const FloorCase cases[] = {{6, 9, 5}, {6, 9, 8}, {12, 20, 8}, {12, 30, 5}, {12, 30, 6}};
  for (const FloorCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " at " + std::to_string(c.minPt));
    PrintOptions options;
    options.minClueSizePt = c.minPt;
    const Composed composed(columnPuzzle(c.width, c.height, SCHOOL_CLUES), options);
    ASSERT_EQ(composed.error, "");
    int32_t inCells = 0;
    for (const PrintedClue& clue : composed.page.clues) {
      if (clue.number != 0) continue;
      ++inCells;
      EXPECT_GE(layoutSizePt(clue.layout.get()), c.minPt) << clue.text;
      // Centred in its box: the room left on each side, against the edges
      // of its cell, or of its half of a divided cell.
      const TextExtent extent = textExtent(clue.layout.get());
      const ClueBox box = clueBox(clue, composed.page.cellMm);
      const double cell = composed.page.cellMm, half = clue.shared ? cell / 2 : cell;
      const double sideMm = (box.width - extent.width / POINTS_PER_MM) / 2 + box.left;
      const double aboveMm = (box.height - extent.height / POINTS_PER_MM) / 2 + box.top - (cell - half) * !clue.across;
      EXPECT_GE(sideMm, 0.8 - 1e-9) << clue.text;
      EXPECT_GE(aboveMm, 0.8 - 1e-9) << clue.text;
    }
    for (const ClueListEntry& entry : composed.page.list.entries)
      EXPECT_GE(layoutSizePt(entry.text.get()), std::max(c.minPt, CLUE_LIST_SIZE_PT));
    EXPECT_GT(inCells, 0);  // the sizes above were checked on something
  }
}

struct ListCase {
  const char* name;
  std::vector<std::string> clues;
  int32_t height;  // of the grid, 12 columns wide
  int32_t blocks;  // of the list: 1, all under the grid
  double oneLineShare;  // of the clues at least, each on one line
};

TEST(PageComposition, TheListSetsOneClueALineInColumnsAndGoesOnOverPages) {
  const std::string longWord(200, 'x');
  const ListCase cases[] = {
      {"school", SCHOOL_CLUES, 20, 1, 0.75},
      {"a word of 200 letters", {"Court", longWord, "Court aussi"}, 6, 1, 0},
      {"50 clues of 200 characters", std::vector<std::string>(50, std::string(199, 'a') + " b"), 50, 3, 0},
  };
  TemporaryFolder folder;
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.name);
    PrintOptions options;
    options.clueLayout = ClueLayout::List;
    const HandPuzzle puzzle = columnPuzzle(12, c.height, c.clues);
    const Composed composed(puzzle, options);
    ASSERT_EQ(composed.error, "");
    const ClueList& list = composed.page.list;
    EXPECT_EQ(static_cast<int32_t>(list.blockHeightsMm.size()), c.blocks);
    EXPECT_EQ(list.entries.size(), c.clues.size() + 2);  // and the two headings
    int32_t oneLine = 0;
    for (size_t k = 0; k < list.entries.size(); ++k) {
      PangoLayout* text = list.entries[k].text.get();
      EXPECT_LE(textExtent(text).width / POINTS_PER_MM, list.columnMm + 1e-6);
      oneLine += !list.entries[k].heading && pango_layout_get_line_count(text) == 1;
      // A number is never alone on its line.
      const std::string first(pango_layout_get_text(text), static_cast<size_t>(pango_layout_get_line_readonly(text, 0)->length));
      EXPECT_NE(first.find_first_not_of("0123456789\t\u2060"), std::string::npos) << first;
      EXPECT_LE(list.places[k].leftMm + list.columnMm, list.widthMm + 1e-6);
    }
    EXPECT_GE(oneLine, c.oneLineShare * static_cast<double>(c.clues.size()));
    EXPECT_GT(list.columns, c.oneLineShare > 0 ? 1 : 0);
    for (const double height : list.blockHeightsMm) EXPECT_LE(height, 297 - 2 * PRINT_PAGE_MARGIN_MM);
    EXPECT_LE(list.widthMm, printTextWidthMm(options.page));
    const std::string path = folder.file("list.pdf");
    ASSERT_EQ(writeComposedPage(composed.page, puzzle.grid, GridContent::Puzzle, PrintFormat::Pdf, options, path), "");
    int status = 0;
    const std::string info = test_support::commandOutput("pdfinfo '" + path + "'", status);
    EXPECT_NE(info.find("Pages:           " + std::to_string(c.blocks)), std::string::npos) << info;
  }
}

TEST(PageComposition, CharactersNoFontHasAreNamedOnce) {
  const std::pair<std::string, std::vector<uint32_t>> cases[] = {
      {"Chat, café et œuf", {}},
      {"porte\u00ADmanteau, a\u00A0b, \u202F!, \u05E9\u05DC\u05D5\u05DD", {}},  // invisible, spaces, Hebrew
      {"Le mot 中文, encore 中", {0x4E2D, 0x6587}},
  };
  TextSetter setter;
  ASSERT_EQ(openTextSetter(PrintFiles{}, setter), "");
  for (const auto& [text, expected] : cases) {
    std::vector<uint32_t> found;
    addUndrawableCharacters(setter, text, found);
    EXPECT_EQ(found, expected) << text;
  }
  closeTextSetter(setter);
  PrintOptions options;
  options.title = "Grille 文";
  const Composed composed(columnPuzzle(4, 4, {"Le mot 中文"}), options);
  EXPECT_EQ(undrawableCharactersWarning(composed.page),
            "the fonts have no glyph for U+4E2D '中', U+6587 '文': printed as boxes");
}

// The clues the summary says fit no cell at all.
int32_t tooLong(const std::string& summary) {
  std::smatch found;
  return std::regex_search(summary, found, std::regex(R"(; (\d+) too long)")) ? std::stoi(found[1]) : 0;
}

struct SummaryCase {
  int32_t width, height;
  PageSize page;
  double minPt;
  const char* suggests;  // the option the summary gives first
};

TEST(PageComposition, TheSummaryOfListedCluesSuggestsAPageOrAFrameThatHoldsThem) {
  const SummaryCase cases[] = {
      {12, 22, PageSize::A4, 6, "--page a3"},
      {12, 30, PageSize::A4, 6, "--frame"},
      {12, 30, PageSize::A3, 8, "--frame"},
  };
  for (const SummaryCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.height) + " rows at " + std::to_string(c.minPt));
    PrintOptions options;
    options.page = c.page;
    options.minClueSizePt = c.minPt;
    const HandPuzzle puzzle = columnPuzzle(c.width, c.height, SCHOOL_CLUES);
    const Composed composed(puzzle, options);
    const std::string summary = listedCluesSummary(composed.page, options);
    std::smatch found;
    ASSERT_TRUE(std::regex_search(summary, found, std::regex(R"(cells of ([\d.]+) mm would hold (?:them|the others): (--[^;]*))")))
        << summary;
    EXPECT_EQ(found[2].str().rfind(c.suggests, 0), 0u) << summary;
    // The cells the suggestion gives, the grid alone on its page.
    const double needed = std::stod(found[1]);
    PrintTextBlocks alone = composed.page.blocks;
    alone.listMm = 0;
    std::string error;
    std::smatch frame;
    PrintOptions suggested = options;
    GridBox box = puzzle.grid.box;
    if (std::regex_search(summary, frame, std::regex(R"(--page (\w+))"))) {
      suggested.page = frame[1] == "a3" ? PageSize::A3 : frame[1] == "letter" ? PageSize::Letter : PageSize::A4;
      EXPECT_GE(layoutPrint(box, PrintFormat::Pdf, suggested, alone, error).cellMm, needed);
    }
    ASSERT_TRUE(std::regex_search(summary, frame, std::regex(R"(--frame (\d+)x(\d+))"))) << summary;
    box.width = std::stoi(frame[1]);
    box.height = std::stoi(frame[2]);
    const double cell = layoutPrint(box, PrintFormat::Pdf, options, alone, error).cellMm;
    EXPECT_GE(cell, needed);
    int32_t held = 0;
    for (const PrintedClue& clue : composed.page.clues) held += clue.number != 0 && fitClueToCell(composed.setter, clue, cell, c.minPt);
    EXPECT_EQ(held, std::stoi(summary) - tooLong(summary));
  }
}

}  // namespace
}  // namespace arrowgrid
