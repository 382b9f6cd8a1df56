// Search drivers and table builders shared by the search tests.
#include "search/search_test_support.h"

#include "search/best_selection.h"
#include "search/fast_evaluation.h"
#include "search/grid_evaluation.h"
#include "search/search_engine.h"
#include "search/search_start.h"

namespace arrowgrid::testing_support {

std::unique_ptr<ArrangementSearch> makeSearch(const std::vector<std::string>& words) {
  auto search = std::make_unique<ArrangementSearch>();
  search->wordList.wordCount = static_cast<int32_t>(words.size());
  for (size_t i = 0; i < words.size(); ++i) search->wordList.words[i + 1] = words[i];
  initSearch(*search);
  return search;
}

EvaluationOutcome evaluateWith(ArrangementSearch& search, Evaluator evaluator) {
  return evaluator == Evaluator::Fast ? evaluateArrangementFast(search) : evaluateArrangement(search);
}

SearchRun runWholeSearch(ArrangementSearch& search, Evaluator evaluator,
                         const std::function<void(ArrangementSearch&, EvaluationOutcome)>& afterEach) {
  SearchRun run;
  for (;;) {
    const EvaluationOutcome outcome = evaluateWith(search, evaluator);
    ++run.evaluations;
    if (outcome == EvaluationOutcome::Accepted) ++run.accepted;
    if (afterEach) afterEach(search, outcome);
    if (resumeSearchQuiet(search) == ResumeOutcome::Finished) break;
  }
  run.finalTrialCount = search.state.trialCount;
  return run;
}

ShownArrangement shownNow(const ArrangementSearch& search, const ArrangementScore& score) {
  ShownArrangement shown{search.state.trialCount, score, {}};
  const auto& rows = search.table.rows;
  shown.rows.assign(rows.begin() + 1, rows.begin() + 1 + search.state.placedCount);
  return shown;
}

JudgedSearch judgeSearch(ArrangementSearch& search, int32_t selectionMode) {
  return judgeSearch(search, [selectionMode](size_t) { return selectionMode; });
}

JudgedSearch judgeSearch(ArrangementSearch& search, const ModeSchedule& selectionMode) {
  JudgedSearch judged;
  EvaluationOutcome outcome = evaluateArrangement(search);
  for (;;) {
    ++judged.evaluations;
    if (outcome == EvaluationOutcome::Accepted) {
      const ArrangementScore score = lastEvaluationScore(search);
      if (isArrangementShown(compareWithBest(search.bestScore, score), selectionMode(judged.shown.size()))) {
        judged.shown.push_back(shownNow(search, score));
      }
    }
    if (resumeSearchTrialByTrial(search) == ResumeOutcome::Finished) break;
    outcome = evaluateArrangement(search);
  }
  judged.finalTrialCount = search.state.trialCount;
  return judged;
}

Placement pushRow(ArrangementSearch& search, int32_t wordNumber, int32_t letterPos, int32_t crossedRow,
                  int32_t crossedPos) {
  const Placement row = placementAcross(search.table.rows[static_cast<size_t>(crossedRow)],
                                       Candidate{wordNumber, letterPos, crossedRow, crossedPos});
  search.table.rows[static_cast<size_t>(++search.state.placedCount)] = row;
  search.state.extendFlag = 0;
  return row;
}

}  // namespace arrowgrid::testing_support
