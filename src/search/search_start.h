// Starting the search: the table, the search state and the best score set
// for word 1 alone, and the derived storage of the search sized once.
#pragma once

#include <memory>

#include "search/search_data.h"

namespace arrowgrid {

// Puts word 1 at the origin, horizontal, as the only row; trialCount 1,
// extendFlag set, BestScore (1, 0, 0, length of word 1 + 2). Prints nothing;
// the caller evaluates the one-word arrangement next.
void initSearch(ArrangementSearch& search);

// A search of its own over a copy of `words`, initialised: for each thread
// or each pass that needs one. Word 1 alone must fit the frame.
std::unique_ptr<ArrangementSearch> startedSearch(const WordList& words, const GridFrame& frame = {});

// Whether word 1 alone, where every arrangement starts, fits the frame.
bool wordOneFitsFrame(const WordList& words, const GridFrame& frame);

// Copies the word list into search.letters (flat bytes with offsets).
void buildWordLetters(const WordList& wordList, WordLetters& letters);

}  // namespace arrowgrid
