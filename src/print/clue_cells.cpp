// Clues matched to their cells, fitted, and the list of those that do not fit.
#include "print/clue_cells.h"

#include <glib.h>

#include <algorithm>

#include "print/print_units.h"
#include "search/search_limits.h"

namespace arrowgrid {

namespace {

// Clear of the grid's frame, whose inner half reaches 3% into the cell.
constexpr double CLUE_PADDING_PER_CELL = 0.04;
// A clue's largest size in a cell: above this share of the cell, even a
// short clue would crowd its box.
constexpr double CLUE_SIZE_PER_CELL = 0.21;

bool startsWord(int32_t code, bool across) {
  if (code == CELL_BOTH_ARROWS) return true;
  return code == (across ? CELL_RIGHT_ARROW : CELL_DOWN_ARROW);
}

std::string escapedMarkup(const std::string& text) {
  gchar* escaped = g_markup_escape_text(text.c_str(), static_cast<gssize>(text.size()));
  std::string result(escaped);
  g_free(escaped);
  return result;
}

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
  const double padding = CLUE_PADDING_PER_CELL * cellMm;
  return {padding, top + padding, cellMm - 2 * padding, height - 2 * padding};
}

int32_t fitCluesToCells(const TextSetter& setter, std::vector<PrintedClue>& clues, double cellMm,
                        ClueLayout clueLayout) {
  int32_t listed = 0;
  const double maxPt = CLUE_SIZE_PER_CELL * cellMm * POINTS_PER_MM;
  for (PrintedClue& clue : clues) {
    clue.layout.reset();
    if (clueLayout == ClueLayout::InCells) {
      const ClueBox box = clueBox(clue, cellMm);
      clue.layout = fitClue(setter, clue.text, box.width * POINTS_PER_MM, box.height * POINTS_PER_MM, maxPt);
    }
    clue.number = clue.layout ? 0 : ++listed;
  }
  return listed;
}

std::string clueListText(const std::vector<PrintedClue>& clues, ClueLayout clueLayout) {
  // Entries run on in one paragraph, apart by an em space: the way printed
  // puzzles set their lists, and far shorter than a line each.
  auto entries = [&](bool wanted, bool anyDirection) {
    std::string text;
    for (const PrintedClue& clue : clues) {
      if (clue.number == 0 || (!anyDirection && clue.across != wanted)) continue;
      if (!text.empty()) text += "\u2003";
      text += "<b>" + std::to_string(clue.number) + "</b>\u00A0" + escapedMarkup(clue.text);
    }
    return text;
  };
  if (clueLayout == ClueLayout::InCells) return entries(true, true);
  std::string text;
  for (const bool across : {true, false}) {
    const std::string group = entries(across, false);
    if (group.empty()) continue;
    if (!text.empty()) text += "\n";
    text += std::string("<b>") + (across ? "Horizontalement" : "Verticalement") + "</b>\u2003" + group;
  }
  return text;
}

}  // namespace arrowgrid
