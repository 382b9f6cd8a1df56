// The letters of the word list copied into one flat byte array, with each
// word's offset and length, so the hot loops of the search read bytes by
// index instead of going through strings; and, per word, where each letter
// occurs, so the enumeration can jump from one matching comparison to the
// next. Built by initSearch; the word list is fixed from then on.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "search/search_limits.h"

namespace arrowgrid {

// Letter codes run from '-' (45) to 'Z' (90): index code - 45.
inline constexpr int32_t LETTER_CODE_BASE = 45;
inline constexpr int32_t LETTER_CODE_COUNT = 46;
// Words up to this length have position masks; longer ones are scanned.
inline constexpr int32_t POSITION_MASK_LETTERS = 64;

struct WordLetters {
  std::vector<uint8_t> letters;                 // every word's letters, word after word
  std::array<int32_t, MAX_WORDS + 2> offset{};  // first letter of word w in letters; [0] unused
  std::array<int32_t, MAX_WORDS + 2> length{};  // letters of word w; 0 beyond wordCount
  int32_t wordCount = 0;                        // copy of WordList::wordCount at build time
  int64_t occupiedCells = 0;                    // sum over the words of length + 2
  // Bit code - 45 for each letter code that word w holds.
  std::array<uint64_t, MAX_WORDS + 2> letterSet{};
  // Bit i - 1 for each position i of word w that holds code - 45 (words of
  // up to POSITION_MASK_LETTERS letters).
  std::array<std::array<uint64_t, LETTER_CODE_COUNT>, MAX_WORDS + 2> positions{};
};

}  // namespace arrowgrid
