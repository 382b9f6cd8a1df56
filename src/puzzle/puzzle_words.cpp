// Reading a grid's words back from its arrows, and clues by word.
#include "puzzle/puzzle_words.h"

#include "base/message_text.h"
#include "search/grid_evaluation.h"

namespace arrowgrid {

CluesByWord cluesByWord(const std::vector<WordText>& words, std::string& error) {
  CluesByWord byWord;
  for (const WordText& word : words) {
    const FoldedWord folded = foldWordText(word.text);
    if (!folded.ok || folded.word.empty()) {
      error = word.place + ": word '" + messageText(word.text) +
              "': " + (folded.ok ? "empty" : folded.badCharacter + " is not a letter or a hyphen");
      return {};
    }
    if (!word.clue.empty()) byWord.emplace(folded.word, word.clue);
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

GridPuzzle puzzleOfGrid(const Grid& grid, const CluesByWord& clues) {
  GridPuzzle puzzle;
  puzzle.placements.resize(1);
  puzzle.clues.resize(1);
  for (int32_t y = grid.box.yMin; y <= grid.box.yMax; ++y) {
    for (int32_t x = grid.box.xMin; x <= grid.box.xMax; ++x) {
      const int32_t code = gridCell(grid, x, y);
      for (const Direction direction : {DIR_HORIZONTAL, DIR_VERTICAL}) {
        const bool starts = code == CELL_BOTH_ARROWS ||
                            code == (direction == DIR_HORIZONTAL ? CELL_RIGHT_ARROW : CELL_DOWN_ARROW);
        // A grid of the search never holds more words than a list.
        if (!starts || puzzle.words.wordCount == MAX_WORDS) continue;
        Placement row;
        row.x = x, row.y = y, row.direction = direction;
        row.wordNumber = ++puzzle.words.wordCount;
        const std::string text = wordInGrid(grid, row);
        puzzle.words.words[static_cast<size_t>(row.wordNumber)] = text;
        const auto clue = clues.find(text);
        puzzle.clues.push_back(clue == clues.end() ? std::string() : clue->second);
        puzzle.placements.push_back(row);
      }
    }
  }
  return puzzle;
}

}  // namespace arrowgrid
