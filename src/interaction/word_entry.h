// Word list entry: the words the search will arrange, typed one per line,
// folded to capitals and kept only when made of A to Z and the hyphen.
#pragma once

#include <cstdint>

#include "base/byte_string.h"
#include "screen/console.h"
#include "search/search_data.h"

namespace arrowgrid {

// Starts from an empty list and returns with 2..MAX_WORDS words, each made
// only of A to Z and the hyphen, in the order they were typed.
void enterWordList(Console& console, WordList& wordList);

// Folds a..z to A..Z in place (no other byte changes) and returns how many
// bytes are then neither A..Z nor the hyphen.
int32_t foldWord(ByteString& word);

}  // namespace arrowgrid
