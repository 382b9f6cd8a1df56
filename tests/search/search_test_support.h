// Building searches from word lists and driving them to their end the way
// the program's step loop does: evaluate, then resume, until finished.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "search/search_data.h"

namespace arrowgrid::testing_support {

// A search over these words, initialised (initSearch run, nothing evaluated).
std::unique_ptr<ArrangementSearch> makeSearch(const std::vector<std::string>& words);

enum class Evaluator { Reference, Fast };

EvaluationOutcome evaluateWith(ArrangementSearch& search, Evaluator evaluator);

struct SearchRun {
  int64_t evaluations = 0;
  int64_t accepted = 0;
  int64_t finalTrialCount = 0;
};

// First evaluation, then resume/evaluate until the search is over. afterEach
// (if given) runs after every evaluation with its outcome.
SearchRun runWholeSearch(
    ArrangementSearch& search, Evaluator evaluator,
    const std::function<void(ArrangementSearch&, EvaluationOutcome)>& afterEach = nullptr);

// Places word `wordNumber` across row crossedRow the way a push does and
// makes it the new top row.
Placement pushRow(ArrangementSearch& search, int32_t wordNumber, int32_t letterPos, int32_t crossedRow,
                  int32_t crossedPos);

}  // namespace arrowgrid::testing_support
