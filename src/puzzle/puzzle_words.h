// The words of a finished grid as a puzzle: which word each arrow cell
// starts and the clue the player reads there, for a program that places
// words typed elsewhere and takes their clues from a list.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "puzzle/word_input.h"
#include "search/arrangement_grid.h"
#include "search/search_data.h"

namespace arrowgrid {

// Clues by folded word.
using CluesByWord = std::unordered_map<std::string, std::string>;

// The clues of a list read from a file, by folded word; the first clue
// given for a word wins. Sets error ("PLACE: word 'TEXT': why") for a word
// that cannot be folded.
CluesByWord cluesByWord(const std::vector<WordText>& words, std::string& error);

// The grid's words read from its arrows, numbered in reading order of
// their arrow cells (across before down), with their clues.
struct GridPuzzle {
  WordList words;
  std::vector<Placement> placements;  // [0] unused; crossings left 0
  std::vector<std::string> clues;     // by word number, "" when none was given
};

GridPuzzle puzzleOfGrid(const Grid& grid, const CluesByWord& clues);

// The letters of a placed word read from the grid, from the cell after
// its arrow to the first cell that holds no letter.
std::string wordInGrid(const Grid& grid, const Placement& placement);

}  // namespace arrowgrid
