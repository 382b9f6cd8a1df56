// Search drivers and table builders shared by the search tests.
#include "search/search_test_support.h"

#include <gtest/gtest.h>

#include "search/best_selection.h"
#include "search/fast_evaluation.h"
#include "search/grid_evaluation.h"
#include "search/search_engine.h"
#include "search/search_start.h"

namespace arrowgrid::test_support {

std::unique_ptr<ArrangementSearch> makeSearch(const std::vector<std::string>& words) {
  auto search = std::make_unique<ArrangementSearch>();
  search->wordList.wordCount = static_cast<int32_t>(words.size());
  for (size_t i = 0; i < words.size(); ++i) search->wordList.words[i + 1] = words[i];
  initSearch(*search);
  return search;
}

std::vector<std::string> randomWords(std::mt19937& random, int32_t minWords, int32_t maxWords,
                                     int32_t maxLength, const std::string& alphabet) {
  std::uniform_int_distribution<int32_t> count(minWords, maxWords), length(1, maxLength);
  std::uniform_int_distribution<size_t> letter(0, alphabet.size() - 1);
  std::vector<std::string> words(static_cast<size_t>(count(random)));
  for (std::string& word : words) {
    for (int32_t i = length(random); i > 0; --i) word += alphabet[letter(random)];
  }
  return words;
}

std::string wordForTheHashedGrid() {
  std::string word(2100, 'C');
  word[700] = 'A';
  word[1400] = 'B';
  word[1401] = 'A';
  return word;
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

JudgedSearch judgeSearch(ArrangementSearch& search, SelectionMode selectionMode) {
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

JudgedSearch driveSearch(ArrangementSearch& search, const ModeSchedule& selectionMode,
                         const std::function<SearchStop(SelectionMode selectionMode)>& resume) {
  JudgedSearch run;
  if (evaluateArrangementFast(search) == EvaluationOutcome::Accepted) {
    const ArrangementScore score = lastEvaluationScore(search);
    if (isArrangementShown(compareWithBest(search.bestScore, score), selectionMode(0))) {
      run.shown.push_back(shownNow(search, score));
    }
  }
  while (resume(selectionMode(run.shown.size())) == SearchStop::Shown) {
    run.shown.push_back(shownNow(search, lastEvaluationScore(search)));
    ensureGrid(search);  // as a report does: the score must match the grid's box
    EXPECT_EQ(boxSurface(search.evaluation.grid.box), run.shown.back().score.surface);
  }
  run.finalTrialCount = search.state.trialCount;
  return run;
}

void expectAsJudged(ArrangementSearch& search, const JudgedSearch& run, const ArrangementSearch& judged,
                    const JudgedSearch& expected) {
  ASSERT_EQ(run.shown.size(), expected.shown.size());
  for (size_t i = 0; i < expected.shown.size(); ++i) {
    ASSERT_EQ(run.shown[i], expected.shown[i])
        << "shown arrangement " << i << " at trial " << expected.shown[i].trialCount;
  }
  EXPECT_EQ(run.finalTrialCount, expected.finalTrialCount);
  EXPECT_EQ(search.bestScore, judged.bestScore);
  EXPECT_EQ(search.state.candidate, judged.state.candidate);
  EXPECT_EQ(search.state.placedCount, 1);
  // The menu at the end shows the last evaluation, rejected or not.
  ensureGrid(search);
  const Grid& grid = search.evaluation.grid;
  EXPECT_EQ(grid.box.xMin, judged.evaluation.grid.box.xMin);
  EXPECT_EQ(grid.box.yMax, judged.evaluation.grid.box.yMax);
  EXPECT_EQ(grid.cells, judged.evaluation.grid.cells);
  EXPECT_EQ(search.evaluation.crossings, judged.evaluation.crossings);
}

Placement pushRow(ArrangementSearch& search, int32_t wordNumber, int32_t letterPos, int32_t crossedRow,
                  int32_t crossedPos) {
  const Placement row = placementAcross(search.table.rows[static_cast<size_t>(crossedRow)],
                                        Candidate{wordNumber, letterPos, crossedRow, crossedPos});
  search.table.rows[static_cast<size_t>(++search.state.placedCount)] = row;
  search.state.extendFlag = false;
  return row;
}

}  // namespace arrowgrid::test_support
