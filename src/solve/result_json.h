// The solver's answer for programs, as JSON. The fields are listed in the
// docs/json.md; they only ever grow.
#pragma once

#include <string>
#include <vector>

#include "search/search_data.h"
#include "search/proof_search.h"

namespace arrowgrid {

// The whole document, indented, ending with a line end; clues by word
// number ("" or missing: none); the frame asked for (0 x 0: none).
std::string resultJsonText(const SolveResult& result, const WordList& words,
                           const std::vector<std::string>& clues = {}, const GridFrame& frame = {});

// The JSON name of a cell's kind: "empty", "down-arrow", "right-arrow",
// "both-arrows", "block" or "letter".
const char* cellKindName(int32_t code);

}  // namespace arrowgrid
