// Reading a list of words, with or without clues, from a file: one word a
// line, "WORD<TAB>clue" lines, or a JSON array of {"answer", "clue"}
// objects (the shape crossword layout tools take), told apart by the first
// character that is not blank.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
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
  bool unreadable = false;            // when not ok: the file could not be opened or read, not refused
  std::vector<WordText> words;        // clues checked; at most MAX_WORDS
  std::vector<std::string> warnings;  // "FILE:LINE: word 'TEXT' has no clue; its cell stays empty"
  std::string error;                  // when not ok: "FILE:LINE: why", "FILE: item N: why",
                                      // "FILE: cannot be read: why" (the failed system call's reason)
};

// Lines: blank lines and lines starting with '#' are skipped, blanks around
// a word and its clue dropped (no-break spaces too); a line ends at a line
// feed, a carriage return or both. A word may be followed by one or more
// tabs and its clue, and a first line "MOT<TAB>DÉFINITION" or
// "WORD<TAB>CLUE" (any case) is a header. A word without a clue is warned
// of only when others have one. A file in UTF-16 or UTF-32 (by its byte
// order mark or its zero bytes) is refused as such. Reads in bounded steps:
// memory stays flat whatever the input, and a file of more than MAX_WORDS
// words is refused at the first word too many.
//
// The file at path, opened as it is named ("-" is a file named so).
WordFileText readWordFile(const std::string& path);
// An open descriptor read to its end and left open (standard input), named
// name in the messages.
WordFileText readWordDescriptor(int descriptor, const std::string& name);
// Bytes already in memory.
WordFileText readWordText(std::string_view bytes, const std::string& name);

}  // namespace arrowgrid
