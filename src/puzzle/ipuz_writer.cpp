// The ipuz document. Each cell kind maps to one ipuz value:
//   empty (outside every word)  null in "puzzle" and "solution"
//   block (after a word's end)  "#"
//   clue cell (an arrow cell)   {"cell": "#", "style": {"color": ...}} in "puzzle", "#" in
//                               "solution"; a cell of two clues is divided by a horizontal line
//                               ("divided": "-"), the across clue above, the down clue below
//   letter                      its word number where a word starts, else 0; the letter in "solution"
// Clues sit in the blocks ("clueplacement": "blocks"), each with the
// location of its clue cell, [column, row] from 0 at the top left.
#include "puzzle/ipuz_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>

#include "puzzle/clue_cell_colour.h"
#include "search/grid_evaluation.h"

namespace arrowgrid {

namespace {

using Json = nlohmann::ordered_json;

// Six hex digits, as ipuz writes a colour.
std::string clueCellColour() {
  char colour[8];
  std::snprintf(colour, sizeof colour, "%02X%02X%02X", CLUE_CELL_GREY_LEVEL, CLUE_CELL_GREY_LEVEL,
                CLUE_CELL_GREY_LEVEL);
  return colour;
}

struct Entry {
  int32_t number = 0;  // of its first letter cell
  const Placement* row = nullptr;
};

int32_t columnOf(const Grid& grid, int32_t x) { return x - grid.box.xMin; }
int32_t rowOf(const Grid& grid, int32_t y) { return y - grid.box.yMin; }

// The first letter cell of each placed word, numbered in reading order as
// crossword players number them.
std::map<std::pair<int32_t, int32_t>, int32_t> startNumbers(const IpuzPuzzle& puzzle) {
  std::map<std::pair<int32_t, int32_t>, int32_t> numbers;  // (row, column) -> number
  for (const Placement& row : puzzle.placements) {
    if (row.wordNumber == 0) continue;
    const bool across = row.direction == DIR_HORIZONTAL;
    numbers[{rowOf(puzzle.grid, row.y) + (across ? 0 : 1), columnOf(puzzle.grid, row.x) + (across ? 1 : 0)}] =
        0;
  }
  int32_t next = 0;
  for (auto& [cell, number] : numbers) number = ++next;
  return numbers;
}

Json clueList(const IpuzPuzzle& puzzle, const std::map<std::pair<int32_t, int32_t>, int32_t>& numbers,
              Direction direction) {
  std::vector<Entry> entries;
  for (const Placement& row : puzzle.placements) {
    if (row.wordNumber == 0 || row.direction != direction) continue;
    const bool across = direction == DIR_HORIZONTAL;
    const int32_t number = numbers.at(
        {rowOf(puzzle.grid, row.y) + (across ? 0 : 1), columnOf(puzzle.grid, row.x) + (across ? 1 : 0)});
    entries.push_back(Entry{number, &row});
  }
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.number < b.number; });
  Json list = Json::array();
  for (const Entry& entry : entries) {
    const auto word = static_cast<size_t>(entry.row->wordNumber);
    list.push_back(
        Json{{"number", entry.number},
             {"clue", word < puzzle.clues.size() ? puzzle.clues[word] : std::string()},
             {"answer", puzzle.words.words[word]},
             {"location", {columnOf(puzzle.grid, entry.row->x), rowOf(puzzle.grid, entry.row->y)}}});
  }
  return list;
}

}  // namespace

std::string ipuzText(const IpuzPuzzle& puzzle, std::string& error) {
  const GridBox& box = puzzle.grid.box;
  if (boxSurface(box) > IPUZ_MAX_CELLS) {
    error = "a grid of " + std::to_string(box.width) + " x " + std::to_string(box.height) +
            " cells is too large for an ipuz file (at most " + std::to_string(IPUZ_MAX_CELLS) + " cells)";
    return {};
  }
  const auto numbers = startNumbers(puzzle);
  Json cells = Json::array();
  Json solution = Json::array();
  for (int32_t y = box.yMin; y <= box.yMax; ++y) {
    Json cellRow = Json::array();
    Json solutionRow = Json::array();
    for (int32_t x = box.xMin; x <= box.xMax; ++x) {
      const int32_t code = gridCell(puzzle.grid, x, y);
      if (isLetterCode(code)) {
        const auto number = numbers.find({rowOf(puzzle.grid, y), columnOf(puzzle.grid, x)});
        cellRow.push_back(number == numbers.end() ? 0 : number->second);
        solutionRow.push_back(std::string(1, static_cast<char>(code)));
      } else if (code == CELL_EMPTY) {
        cellRow.push_back(nullptr);
        solutionRow.push_back(nullptr);
      } else if (code == CELL_BLOCK) {
        cellRow.push_back("#");
        solutionRow.push_back("#");
      } else {
        Json style{{"color", clueCellColour()}};
        if (code == CELL_BOTH_ARROWS) style["divided"] = "-";
        cellRow.push_back(Json{{"cell", "#"}, {"style", style}});
        solutionRow.push_back("#");
      }
    }
    cells.push_back(std::move(cellRow));
    solution.push_back(std::move(solutionRow));
  }

  Json document;
  document["version"] = "http://ipuz.org/v2";
  document["kind"] = {"http://ipuz.org/crossword#1", "http://ipuz.org/crossword/arrowword#1"};
  document["origin"] = "arrowgrid " ARROWGRID_VERSION;
  if (!puzzle.title.empty()) document["title"] = puzzle.title;
  if (!puzzle.author.empty()) document["author"] = puzzle.author;
  if (!puzzle.copyright.empty()) document["copyright"] = puzzle.copyright;
  document["dimensions"] = Json{{"width", box.width}, {"height", box.height}};
  document["block"] = "#";
  document["empty"] = 0;
  document["clueplacement"] = "blocks";
  document["puzzle"] = std::move(cells);
  document["solution"] = std::move(solution);
  // ipuz readers refuse an empty list of clues: a grid of words one way only has one list.
  Json clues = Json::object();
  for (const auto& [name, direction] :
       {std::pair{"Across", DIR_HORIZONTAL}, std::pair{"Down", DIR_VERTICAL}}) {
    Json list = clueList(puzzle, numbers, direction);
    if (!list.empty()) clues[name] = std::move(list);
  }
  document["clues"] = std::move(clues);
  return document.dump(2) + "\n";
}

std::string writeIpuzFile(const IpuzPuzzle& puzzle, const std::string& path, ExistingFile existing) {
  std::string error;
  const std::string text = ipuzText(puzzle, error);
  if (!error.empty()) return "cannot write " + path + ": " + error;
  return writeTextSafely(path, existing, text);
}

}  // namespace arrowgrid
