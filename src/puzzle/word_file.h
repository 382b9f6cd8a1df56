// Reading a list of words, with or without clues, from a file: one word a
// line, "WORD<TAB>clue" lines, or a JSON array of {"answer", "clue"}
// objects (the shape crossword layout tools take), told apart by the first
// character that is not blank.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "puzzle/word_input.h"

namespace arrowgrid {

// A line holds at most a 100-letter word and a 200-character clue (four
// bytes each at worst) with room to spare; anything longer is not a list.
inline constexpr int64_t WORD_LINE_MAX_BYTES = 4096;
// A JSON list of the most words allowed, each with its longest clue, is
// far below this.
inline constexpr int64_t WORD_JSON_MAX_BYTES = 1 << 20;

struct WordFileText {
  bool ok = false;
  std::vector<WordText> words;        // clues checked; at most MAX_WORDS
  std::vector<std::string> warnings;  // "FILE:LINE: word 'TEXT' has no clue; its cell stays empty"
  std::string error;                  // when not ok: "FILE:LINE: why", "FILE: item N: why"
};

// Lines: blank lines and lines starting with '#' are skipped, blanks around
// a word and a final carriage return dropped; a word may be followed by one
// or more tabs and its clue, and a first line "MOT<TAB>DÉFINITION" or
// "WORD<TAB>CLUE" (any case) is a header. A word without a clue is warned
// of only when others have one. Reads in bounded steps: memory stays flat
// whatever the input, and a file of more than MAX_WORDS words is refused
// at the first word too many. A stream that fails to read is left for the caller
// to report (in.bad()).
WordFileText readWordFile(std::istream& in, const std::string& name);

}  // namespace arrowgrid
