// The solver's answer for programs, as JSON. The fields are listed in the
// docs/json.md; they only ever grow.
#pragma once

#include <string>

#include "search/search_data.h"
#include "solve/solve_search.h"

namespace arrowgrid {

// The whole document, indented, ending with a line end.
std::string resultJsonText(const SolveResult& result, const WordList& words);

// The JSON name of a cell's kind: "empty", "down-arrow", "right-arrow",
// "both-arrows", "block" or "letter".
const char* cellKindName(int32_t code);

}  // namespace arrowgrid
