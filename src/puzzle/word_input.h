// The words of a grid: UTF-8 text folded the way arrow-word grids are
// written (capitals without accents, the ligatures spelt out, the hyphen
// kept), each with the clue the player reads for it, if any.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/search_data.h"

namespace arrowgrid {

inline constexpr int32_t MAX_WORD_LETTERS = 100;  // keeps the printed grid and its JSON of sane size

// One word folded: ok, or the first character that has no place in a grid.
struct FoldedWord {
  bool ok = false;
  std::string word;          // A-Z and '-' when ok
  std::string badCharacter;  // when not ok: the character as shown to the user, e.g. "'€' (U+20AC)"
};

FoldedWord foldWordText(std::string_view text);

// A word as typed and where it came from, for the messages.
struct WordText {
  std::string text;
  std::string place;      // "argument 3", "words.txt:4" or "words.json: item 2"
  std::string clue = {};  // checked (see clue_text.h); "" when the word has none
};

struct WordListInput {
  bool ok = false;
  WordList list;
  std::vector<std::string> clues;  // by word number ([0] unused), "" when the word has none
  std::string error;               // when not ok: "PLACE: word 'TEXT': why", without the program's name
};

// Folds the words and checks their number (2..MAX_WORDS) and length.
WordListInput buildWordList(const std::vector<WordText>& words);

}  // namespace arrowgrid
