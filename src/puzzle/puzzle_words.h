// The words of a finished grid as a puzzle: which word each arrow cell
// starts and the clue the player reads there.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "search/arrangement_grid.h"
#include "search/search_data.h"

namespace arrowgrid {

// Clues by folded word, as a list of clues gives them to a program that
// places words typed elsewhere.
using CluesByWord = std::unordered_map<std::string, std::string>;

CluesByWord cluesByWord(const WordList& words, const std::vector<std::string>& clues);

// The words the grid's arrows start, read from its cells, as rows of a
// table ([0] unused, crossings left 0), each with the number of the first
// word of the list spelt alike that no earlier row took (0 when none).
std::vector<Placement> placementsInGrid(const Grid& grid, const WordList& words);

// The clue of each word of the list (by word number) from clues by word.
std::vector<std::string> cluesOfWords(const WordList& words, const CluesByWord& clues);

// The letters of a placed word read from the grid, from the cell after
// its arrow to the first cell that holds no letter.
std::string wordInGrid(const Grid& grid, const Placement& placement);

}  // namespace arrowgrid
