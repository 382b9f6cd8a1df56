// Clues matched to their cells, fitted, and the list of those that do not fit.
#include "print/clue_cells.h"

#include <algorithm>

#include "print/print_units.h"
#include "search/search_limits.h"

namespace arrowgrid {

namespace {

// A clue's largest size in a cell: above this share of the cell, even a
// short clue would crowd its box.
constexpr double CLUE_SIZE_PER_CELL = 0.21;

bool startsWord(int32_t code, bool across) {
  if (code == CELL_BOTH_ARROWS) return true;
  return code == (across ? CELL_RIGHT_ARROW : CELL_DOWN_ARROW);
}

constexpr double NUMBER_SIZE_PER_CELL = 0.16;  // a listed clue's number in its cell
constexpr double LINE_PER_SIZE = 1.2;          // a line's height, in sizes of its type
}  // namespace

bool hasClues(const PuzzleWords& words) {
  return std::any_of(words.clues.begin(), words.clues.end(), [](const std::string& c) { return !c.empty(); });
}

std::vector<PrintedClue> gatherClues(const Grid& grid, const PuzzleWords& words) {
  std::vector<PrintedClue> clues;
  for (const Placement& row : words.placements) {
    if (row.wordNumber <= 0 || static_cast<size_t>(row.wordNumber) >= words.clues.size()) continue;
    const std::string& text = words.clues[static_cast<size_t>(row.wordNumber)];
    const bool across = row.direction == DIR_HORIZONTAL;
    const int32_t code = gridCell(grid, row.x, row.y);
    if (text.empty() || !startsWord(code, across)) continue;
    PrintedClue clue;
    clue.i = row.x - grid.box.xMin;
    clue.j = row.y - grid.box.yMin;
    clue.across = across;
    clue.shared = code == CELL_BOTH_ARROWS;
    clue.text = text;
    clues.push_back(std::move(clue));
  }
  std::sort(clues.begin(), clues.end(), [](const PrintedClue& a, const PrintedClue& b) {
    if (a.j != b.j) return a.j < b.j;
    if (a.i != b.i) return a.i < b.i;
    return a.across && !b.across;
  });
  return clues;
}

ClueBox clueBox(const PrintedClue& clue, double cellMm) {
  const double height = clue.shared ? cellMm / 2 : cellMm;
  const double top = clue.shared && !clue.across ? cellMm / 2 : 0;
  return {CLUE_PADDING_MM, top + CLUE_PADDING_MM, cellMm - 2 * CLUE_PADDING_MM, height - 2 * CLUE_PADDING_MM};
}

LayoutHandle fitClueToCell(const TextSetter& setter, const PrintedClue& clue, double cellMm, double minPt) {
  const ClueBox box = clueBox(clue, cellMm);
  return fitClue(setter, clue.text, box.width * POINTS_PER_MM, box.height * POINTS_PER_MM,
                 CLUE_SIZE_PER_CELL * cellMm * POINTS_PER_MM, minPt);
}

int32_t fitCluesToCells(const TextSetter& setter, std::vector<PrintedClue>& clues, double cellMm,
                        ClueLayout clueLayout, double minPt) {
  int32_t listed = 0;
  for (PrintedClue& clue : clues) {
    clue.layout = clueLayout == ClueLayout::InCells ? fitClueToCell(setter, clue, cellMm, minPt) : nullptr;
    clue.number = clue.layout ? 0 : ++listed;
    // A number as large as the clues' floor where its box has room for it.
    const double numberPt = std::max(NUMBER_SIZE_PER_CELL * cellMm * POINTS_PER_MM,
                                     std::min(minPt, clueBox(clue, cellMm).height * POINTS_PER_MM / LINE_PER_SIZE));
    if (clue.number != 0) clue.layout = layText(setter, std::to_string(clue.number), CLUE_FAMILY, true, numberPt, 0);
  }
  return listed;
}

}  // namespace arrowgrid
