// The letters of the word list copied into one flat byte array, with each
// word's offset and length, so the hot loops of the search read bytes by
// index instead of going through strings. Built by initSearch; the word list
// is fixed from then on.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "search/search_limits.h"

namespace arrowgrid {

struct WordLetters {
  std::vector<uint8_t> letters;                 // every word's letters, word after word
  std::array<int32_t, MAX_WORDS + 2> offset{};  // first letter of word w in letters; [0] unused
  std::array<int32_t, MAX_WORDS + 2> length{};  // letters of word w; 0 beyond wordCount
  int32_t wordCount = 0;                        // copy of WordList::wordCount at build time
  int64_t occupiedCells = 0;                    // sum over the words of length + 2
};

}  // namespace arrowgrid
