// The fast evaluation against the reference one: two searches over the same
// words run in lockstep, one evaluated each way, compared at every
// evaluation (outcome, state, box, counts, and the cells after ensureGrid).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/fast_evaluation.h"
#include "search/grid_evaluation.h"
#include "search/search_engine.h"
#include "search/search_test_support.h"

namespace arrowgrid {
using namespace test_support;
namespace {

using test_support::makeSearch;
using test_support::pushRow;

void expectSameGrid(const Grid& fast, const Grid& reference) {
  ASSERT_EQ(fast.box.xMin, reference.box.xMin);
  ASSERT_EQ(fast.box.xMax, reference.box.xMax);
  ASSERT_EQ(fast.box.yMin, reference.box.yMin);
  ASSERT_EQ(fast.box.yMax, reference.box.yMax);
  ASSERT_EQ(fast.box.width, reference.box.width);
  ASSERT_EQ(fast.box.height, reference.box.height);
  ASSERT_EQ(fast.dense, reference.dense);
  // Same box, same storage form: the stored cells must be equal.
  EXPECT_EQ(fast.cells, reference.cells);
  EXPECT_EQ(fast.written, reference.written);
}

struct Differential {
  int64_t evaluations = 0;
  int64_t rejected = 0;
  int64_t trials = 0;
};

// Runs both searches to their end (or maxEvaluations), checking each step.
Differential runDifferential(const std::vector<std::string>& words, int64_t maxEvaluations = -1) {
  auto fast = makeSearch(words);
  auto reference = makeSearch(words);
  Differential result;
  for (;;) {
    const EvaluationOutcome fastOutcome = evaluateArrangementFast(*fast);
    const EvaluationOutcome referenceOutcome = evaluateArrangement(*reference);
    ++result.evaluations;
    result.rejected += referenceOutcome == EvaluationOutcome::Rejected;
    EXPECT_EQ(fastOutcome, referenceOutcome);
    EXPECT_EQ(fast->state.placedCount, reference->state.placedCount);
    EXPECT_EQ(fast->state.extendFlag, reference->state.extendFlag);
    EXPECT_EQ(fast->evaluation.crossings, reference->evaluation.crossings);
    EXPECT_EQ(fast->evaluation.unwantedNeighbourhoods, reference->evaluation.unwantedNeighbourhoods);
    const GridBox& fb = fast->evaluation.grid.box;
    const GridBox& rb = reference->evaluation.grid.box;
    EXPECT_TRUE(fb.xMin == rb.xMin && fb.xMax == rb.xMax && fb.yMin == rb.yMin && fb.yMax == rb.yMax &&
                fb.width == rb.width && fb.height == rb.height)
        << "box at evaluation " << result.evaluations;
    ensureGrid(*fast);
    expectSameGrid(fast->evaluation.grid, reference->evaluation.grid);
    if (::testing::Test::HasFailure()) {
      ADD_FAILURE() << "first difference at evaluation " << result.evaluations;
      return result;
    }
    if (result.evaluations == maxEvaluations) break;
    const ResumeOutcome fastResume = resumeSearchQuiet(*fast);
    const ResumeOutcome referenceResume = resumeSearchQuiet(*reference);
    EXPECT_EQ(fastResume, referenceResume);
    EXPECT_EQ(fast->state.trialCount, reference->state.trialCount);
    if (referenceResume == ResumeOutcome::Finished) break;
  }
  result.trials = reference->state.trialCount;
  // At the end (the menu's moment) the grid is still the last evaluation's.
  ensureGrid(*fast);
  expectSameGrid(fast->evaluation.grid, reference->evaluation.grid);
  return result;
}

TEST(FastEvaluation, MatchesTheReferenceOnSmallLists) {
  const std::vector<std::vector<std::string>> lists = {
      {"AB", "BC", "CA"},
      {"AA", "AB", "BB"},
      {"ABA", "ABA", "BAB"},              // repeated words
      {"A-B", "-A-", "B-", "AB-A"},       // hyphens
      {"AAB", "ABA", "BAA", "AB", "BB"},  // words sharing many letters
      {"A", "A", "AB", "B", "BA"},        // one-letter words
      {"ABCD", "BCDA", "CDAB", "DABC"},
      {"ABC", "DE"},
  };
  for (const auto& words : lists) {
    SCOPED_TRACE(words[0] + " ...");
    const Differential d = runDifferential(words);
    EXPECT_GT(d.evaluations, 0);
  }
}

TEST(FastEvaluation, MatchesTheReferenceOnRandomLists) {
  std::mt19937 random(20240611);
  int64_t rejected = 0;
  for (int list = 0; list < 40; ++list) {
    std::uniform_int_distribution<int> count(2, 5), length(1, 4), letter(0, 3);
    std::vector<std::string> words(static_cast<size_t>(count(random)));
    for (std::string& word : words) {
      for (int i = length(random); i > 0; --i) word += "AB-C"[letter(random)];
    }
    SCOPED_TRACE("list " + std::to_string(list));
    rejected += runDifferential(words).rejected;
    if (::testing::Test::HasFailure()) return;
  }
  EXPECT_GT(rejected, 0);  // the lists do exercise the clash rules
}

TEST(FastEvaluation, MatchesTheReferenceWithLongWordsInTheHashedGrid) {
  // 2 + 2102 letters: the dense square would pass its limit, so the
  // occupancy grid is hashed; the long word crosses AB on both letters.
  const std::string longWord = test_support::wordForTheHashedGrid();
  auto probe = makeSearch({"AB", longWord});
  EXPECT_TRUE(probe->fast.occupancy.hashed);
  const Differential d = runDifferential({"AB", longWord, "CAB"});
  EXPECT_GT(d.evaluations, 5);
}

TEST(FastEvaluation, ReferenceEvaluationInBetweenKeepsItInStep) {
  auto fast = makeSearch({"AB", "BC", "CA"});
  auto reference = makeSearch({"AB", "BC", "CA"});
  int32_t round = 0;
  for (;;) {
    // Every third evaluation goes the reference way on the fast search too.
    const EvaluationOutcome a =
        (round++ % 3 == 1) ? evaluateArrangement(*fast) : evaluateArrangementFast(*fast);
    const EvaluationOutcome b = evaluateArrangement(*reference);
    ASSERT_EQ(a, b);
    ASSERT_EQ(fast->evaluation.crossings, reference->evaluation.crossings);
    ASSERT_EQ(fast->evaluation.unwantedNeighbourhoods, reference->evaluation.unwantedNeighbourhoods);
    ensureGrid(*fast);
    expectSameGrid(fast->evaluation.grid, reference->evaluation.grid);
    resumeSearchQuiet(*reference);
    if (resumeSearchQuiet(*fast) == ResumeOutcome::Finished) break;
  }
}

TEST(FastEvaluation, RejectedCandidateGridShowsItsPartialRow) {
  auto search = makeSearch({"ABA", "CA", "DA", "CXY"});
  EXPECT_EQ(evaluateArrangementFast(*search), EvaluationOutcome::Accepted);
  pushRow(*search, 2, 2, 1, 1);
  EXPECT_EQ(evaluateArrangementFast(*search), EvaluationOutcome::Accepted);
  pushRow(*search, 3, 2, 1, 3);
  EXPECT_EQ(evaluateArrangementFast(*search), EvaluationOutcome::Accepted);
  pushRow(*search, 4, 1, 2, 1);  // its Y falls on the D
  EXPECT_EQ(evaluateArrangementFast(*search), EvaluationOutcome::Rejected);
  EXPECT_EQ(search->state.placedCount, 3);
  EXPECT_EQ(search->evaluation.crossings, 3);
  EXPECT_EQ(search->evaluation.unwantedNeighbourhoods, 1);
  ensureGrid(*search);
  EXPECT_EQ(gridCell(search->evaluation.grid, 0, -1), 26);
  EXPECT_EQ(gridCell(search->evaluation.grid, 2, -1), 'X');
  EXPECT_EQ(gridCell(search->evaluation.grid, 3, -1), 'D');
  EXPECT_EQ(search->evaluation.grid.box.xMax, 4);
}

TEST(FastEvaluation, TableOutsideTheGeometryFallsBackToTheReference) {
  auto search = makeSearch({"AB", "CD"});
  EXPECT_EQ(evaluateArrangementFast(*search), EvaluationOutcome::Accepted);
  search->table.rows[2] = Placement{2, 0, 1000000, DIR_HORIZONTAL, 1, 1, 1};
  search->state.placedCount = 2;
  EXPECT_EQ(evaluateArrangementFast(*search), EvaluationOutcome::Rejected);
  EXPECT_EQ(search->state.placedCount, 1);
}

TEST(FastEvaluation, FiftyWordsOfTheLongestLengthStayBounded) {
  std::vector<std::string> words;
  for (int w = 0; w < MAX_WORDS; ++w) {
    std::string word(4096, static_cast<char>('A' + w % 26));
    word[static_cast<size_t>(w)] = 'Z';
    words.push_back(word);
  }
  auto search = makeSearch(words);
  EXPECT_TRUE(search->fast.occupancy.hashed);
  EXPECT_LE(search->fast.occupancy.codes.size(), size_t{1} << 20);
  // A bounded stretch of the search, checked against the reference.
  const Differential d = runDifferential(words, 12);
  EXPECT_EQ(d.evaluations, 12);
}

}  // namespace
}  // namespace arrowgrid
