// Building searches from word lists and driving them to their end the way
// the program's step loop does: evaluate, then resume, until finished.
#pragma once

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "search/search_data.h"
#include "search/search_engine.h"

namespace arrowgrid::test_support {

// A search over these words, initialised (initSearch run, nothing evaluated).
std::unique_ptr<ArrangementSearch> makeSearch(const std::vector<std::string>& words);

// minWords to maxWords words of 1 to maxLength letters from the alphabet.
std::vector<std::string> randomWords(std::mt19937& random, int32_t minWords, int32_t maxWords,
                                     int32_t maxLength, const std::string& alphabet);

// 2100 letters that cross AB on both its letters: beside AB, the words are
// too long for the dense occupancy grid.
std::string wordForTheHashedGrid();

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

// An arrangement a search showed: its trial count, score and rows.
struct ShownArrangement {
  int64_t trialCount = 0;
  ArrangementScore score;
  std::vector<Placement> rows;
  bool operator==(const ShownArrangement&) const = default;
};

struct JudgedSearch {
  std::vector<ShownArrangement> shown;
  int64_t finalTrialCount = 0;
  int64_t evaluations = 0;
};

// The selection mode in force after `shown` arrangements were shown, as a
// user changing it from the menu would.
using ModeSchedule = std::function<SelectionMode(size_t shown)>;

// The judge: the trial-by-trial enumeration with the reference evaluation
// and the ranking, from word 1 alone to the end, keeping what the selection
// shows. The search is left at its end.
JudgedSearch judgeSearch(ArrangementSearch& search, const ModeSchedule& selectionMode);
JudgedSearch judgeSearch(ArrangementSearch& search, SelectionMode selectionMode);

// The shown arrangement at the search's top (rows 1..placedCount).
ShownArrangement shownNow(const ArrangementSearch& search, const ArrangementScore& score);

// The search as the program drives it: word 1 alone evaluated and ranked,
// then resume (given the selection mode in force) until the end; each
// shown arrangement's grid is built as a report would.
JudgedSearch driveSearch(ArrangementSearch& search, const ModeSchedule& selectionMode,
                         const std::function<SearchStop(SelectionMode selectionMode)>& resume);

// Expects a driven search to have shown, counted and ended as the judged
// one: the same arrangements, best, final count and cursor, and the same
// grid for the menu at the end.
void expectAsJudged(ArrangementSearch& search, const JudgedSearch& run, const ArrangementSearch& judged,
                    const JudgedSearch& expected);

// Places word `wordNumber` across row crossedRow the way a push does and
// makes it the new top row.
Placement pushRow(ArrangementSearch& search, int32_t wordNumber, int32_t letterPos, int32_t crossedRow,
                  int32_t crossedPos);

inline const ByteString& wordOfRow(const ArrangementSearch& search, int32_t row) {
  return search.wordList.words[static_cast<size_t>(search.table.rows[static_cast<size_t>(row)].wordNumber)];
}

}  // namespace arrowgrid::test_support
