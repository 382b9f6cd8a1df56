// Reading a grid's words back from its arrows, and clues by word.
#include "puzzle/puzzle_words.h"

#include "search/grid_evaluation.h"

namespace arrowgrid {

CluesByWord cluesByWord(const WordList& words, const std::vector<std::string>& clues) {
  CluesByWord byWord;
  for (int32_t w = 1; w <= words.wordCount && static_cast<size_t>(w) < clues.size(); ++w) {
    // The first clue given for a word wins, as it would in the list read top down.
    if (!clues[static_cast<size_t>(w)].empty())
      byWord.emplace(std::string(words.words[static_cast<size_t>(w)]), clues[static_cast<size_t>(w)]);
  }
  return byWord;
}

std::string wordInGrid(const Grid& grid, const Placement& placement) {
  const int32_t dx = placement.direction == DIR_HORIZONTAL ? 1 : 0;
  const int32_t dy = 1 - dx;
  std::string word;
  for (int32_t x = placement.x + dx, y = placement.y + dy; x <= grid.box.xMax && y <= grid.box.yMax;
       x += dx, y += dy) {
    const int32_t code = gridCell(grid, x, y);
    if (!isLetterCode(code)) break;
    word += static_cast<char>(code);
  }
  return word;
}

std::vector<Placement> placementsInGrid(const Grid& grid, const WordList& words) {
  std::vector<Placement> rows(1);
  std::vector<bool> taken(static_cast<size_t>(words.wordCount) + 1, false);
  for (int32_t y = grid.box.yMin; y <= grid.box.yMax; ++y) {
    for (int32_t x = grid.box.xMin; x <= grid.box.xMax; ++x) {
      const int32_t code = gridCell(grid, x, y);
      for (const int32_t direction : {DIR_HORIZONTAL, DIR_VERTICAL}) {
        const bool starts = code == CELL_BOTH_ARROWS ||
                            code == (direction == DIR_HORIZONTAL ? CELL_RIGHT_ARROW : CELL_DOWN_ARROW);
        if (!starts) continue;
        Placement row;
        row.x = x, row.y = y, row.direction = direction;
        const std::string text = wordInGrid(grid, row);
        for (int32_t w = 1; w <= words.wordCount && row.wordNumber == 0; ++w) {
          if (!taken[static_cast<size_t>(w)] && words.words[static_cast<size_t>(w)] == text) {
            taken[static_cast<size_t>(w)] = true;
            row.wordNumber = w;
          }
        }
        rows.push_back(row);
      }
    }
  }
  return rows;
}

std::vector<std::string> cluesOfWords(const WordList& words, const CluesByWord& clues) {
  std::vector<std::string> byNumber(static_cast<size_t>(words.wordCount) + 1);
  for (int32_t w = 1; w <= words.wordCount; ++w) {
    const auto found = clues.find(std::string(words.words[static_cast<size_t>(w)]));
    if (found != clues.end()) byNumber[static_cast<size_t>(w)] = found->second;
  }
  return byNumber;
}

}  // namespace arrowgrid
