// The engine against the judge (the trial-by-trial enumeration with the
// reference evaluation): on fixed and random word lists, in every selection
// mode, the same arrangements shown at the same trial counts with the same
// scores and rows, the same best, the same final count and cursor, and the
// same grid for the menu at the end.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/best_selection.h"
#include "search/fast_evaluation.h"
#include "search/grid_evaluation.h"
#include "search/search_engine.h"
#include "search/search_test_support.h"

namespace arrowgrid {
namespace {

using testing_support::JudgedSearch;
using testing_support::makeSearch;
using testing_support::ShownArrangement;

// The engine as the program drives it: word 1 alone ranked first, then
// searchUntilShown until the end.
JudgedSearch runEngine(ArrangementSearch& search, int32_t selectionMode) {
  JudgedSearch run;
  if (evaluateArrangementFast(search) == EvaluationOutcome::Accepted) {
    const ArrangementScore score = lastEvaluationScore(search);
    if (isArrangementShown(compareWithBest(search.bestScore, score), selectionMode)) {
      run.shown.push_back(testing_support::shownNow(search, score));
    }
  }
  while (searchUntilShown(search, selectionMode, TrialsHook{}) == SearchStop::Shown) {
    run.shown.push_back(testing_support::shownNow(search, lastEvaluationScore(search)));
    ensureGrid(search);  // as a report does: the score must match the grid's box
    EXPECT_EQ(boxSurface(search.evaluation.grid.box), run.shown.back().score.surface);
  }
  run.finalTrialCount = search.state.trialCount;
  return run;
}

void expectSameSearch(const std::vector<std::string>& words, int32_t selectionMode) {
  auto judged = makeSearch(words);
  auto engine = makeSearch(words);
  const JudgedSearch expected = testing_support::judgeSearch(*judged, selectionMode);
  const JudgedSearch actual = runEngine(*engine, selectionMode);
  ASSERT_EQ(actual.shown.size(), expected.shown.size());
  for (size_t i = 0; i < expected.shown.size(); ++i) {
    ASSERT_EQ(actual.shown[i], expected.shown[i]) << "shown arrangement " << i << " at trial "
                                                  << expected.shown[i].trialCount;
  }
  EXPECT_EQ(actual.finalTrialCount, expected.finalTrialCount);
  EXPECT_EQ(engine->bestScore, judged->bestScore);
  EXPECT_EQ(engine->state.candidate, judged->state.candidate);
  EXPECT_EQ(engine->state.placedCount, 1);
  // The menu at the end shows the last evaluation, rejected or not.
  ensureGrid(*engine);
  EXPECT_EQ(engine->evaluation.grid.box.xMin, judged->evaluation.grid.box.xMin);
  EXPECT_EQ(engine->evaluation.grid.box.yMax, judged->evaluation.grid.box.yMax);
  EXPECT_EQ(engine->evaluation.grid.cells, judged->evaluation.grid.cells);
  EXPECT_EQ(engine->evaluation.crossings, judged->evaluation.crossings);
  // Resumed after the end: one trial more, and the end again.
  EXPECT_EQ(searchUntilShown(*engine, selectionMode, TrialsHook{}), SearchStop::Finished);
  EXPECT_EQ(engine->state.trialCount, expected.finalTrialCount + 1);
}

void expectSameSearchInEveryMode(const std::vector<std::string>& words) {
  for (int32_t mode : {0, 1, 2}) {
    SCOPED_TRACE("selection mode " + std::to_string(mode));
    expectSameSearch(words, mode);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

// Push by push, the bulk-counted enumeration leaves the cursor, the rows
// and the count where the trial-by-trial one does, rejections included.
void expectSamePushes(const std::vector<std::string>& words) {
  auto judged = makeSearch(words);
  auto engine = makeSearch(words);
  evaluateArrangement(*judged);
  evaluateArrangement(*engine);
  for (int64_t push = 0;; ++push) {
    const ResumeOutcome expected = resumeSearchTrialByTrial(*judged);
    ASSERT_EQ(resumeSearchQuiet(*engine), expected) << "push " << push;
    ASSERT_EQ(engine->state.trialCount, judged->state.trialCount) << "push " << push;
    ASSERT_EQ(engine->state.candidate, judged->state.candidate) << "push " << push;
    ASSERT_EQ(engine->state.placedCount, judged->state.placedCount) << "push " << push;
    if (expected == ResumeOutcome::Finished) return;
    ASSERT_EQ(engine->table.rows[static_cast<size_t>(engine->state.placedCount)],
              judged->table.rows[static_cast<size_t>(judged->state.placedCount)]);
    evaluateArrangement(*judged);
    evaluateArrangement(*engine);
  }
}

std::vector<std::string> randomWords(std::mt19937& random, int32_t maxWords, int32_t maxLength,
                                     const std::string& alphabet) {
  std::uniform_int_distribution<int32_t> count(2, maxWords), length(1, maxLength);
  std::uniform_int_distribution<size_t> letter(0, alphabet.size() - 1);
  std::vector<std::string> words(static_cast<size_t>(count(random)));
  for (std::string& word : words) {
    for (int32_t i = length(random); i > 0; --i) word += alphabet[letter(random)];
  }
  return words;
}

TEST(SearchEngine, MatchesTheJudgeOnSmallLists) {
  const std::vector<std::vector<std::string>> lists = {
      {"AB", "BC", "CA"},
      {"AA", "AB", "BB"},
      {"ABC", "DE"},                              // nothing in common: every sweep passed over
      {"ABC", "DE", "CXD"},                       // word 2 shares nothing with word 1 alone
      {"A-B", "-A-", "B-", "AB-A"},               // hyphens
      {"MAISON", "JARDIN", "TABLE", "PORTE"},
      {"A", "A", "AB", "B", "BA"},
  };
  for (const auto& words : lists) {
    SCOPED_TRACE(words[0] + " " + words[1] + " ...");
    expectSamePushes(words);
    expectSameSearchInEveryMode(words);
    if (HasFatalFailure()) return;
  }
}

TEST(SearchEngine, MatchesTheJudgeOnRandomLists) {
  std::mt19937 random(90210);
  for (int list = 0; list < 60; ++list) {
    // Small alphabets give many crossings and clashes, large ones long jumps.
    const std::string alphabet = list % 3 == 0 ? "AB-" : (list % 3 == 1 ? "ABCDE" : "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const std::vector<std::string> words = randomWords(random, 5, 6, alphabet);
    SCOPED_TRACE("list " + std::to_string(list) + ": " + words[0] + " " + words[1] + " ...");
    expectSamePushes(words);
    expectSameSearchInEveryMode(words);
    if (HasFatalFailure()) return;
  }
}

TEST(SearchEngine, WordsAroundThePositionMaskWidthMatchTheJudge) {
  // 64 letters still have masks (the last two alike, so a sweep goes on
  // from position 63 to 64), 65 and more are scanned.
  std::string masked(64, 'C');
  masked[0] = 'A';
  masked[31] = 'B';
  std::string scanned(70, 'D');
  scanned[1] = 'B';
  scanned[64] = 'A';
  scanned[69] = 'C';
  const std::vector<std::vector<std::string>> lists = {
      {"AB", masked, "CAB"},
      {masked, scanned, "AD"},
      {scanned, "BA", masked},
  };
  for (const auto& words : lists) {
    SCOPED_TRACE(std::to_string(words[0].size()) + " letters first");
    expectSamePushes(words);
    expectSameSearchInEveryMode(words);
    if (HasFatalFailure()) return;
  }
}

TEST(SearchEngine, HashedOccupancyMatchesTheJudge) {
  std::string longWord(2100, 'C');
  longWord[700] = 'A';
  longWord[1400] = 'B';
  longWord[1401] = 'A';
  auto probe = makeSearch({"AB", longWord});
  ASSERT_TRUE(probe->fast.occupancy.hashed);
  expectSameSearch({"AB", longWord, "CAB"}, 1);
}

TEST(SearchEngine, ATableTheGridCannotFollowIsSearchedStepByStep) {
  // Row 2 lies far outside the geometry of any push: the engine takes the
  // step-by-step way with the reference evaluation, and still ends.
  auto search = makeSearch({"AB", "CD", "DA"});
  evaluateArrangementFast(*search);
  search->table.rows[2] = Placement{2, 0, 1000000, DIR_VERTICAL, 1, 1, 1};
  search->state.placedCount = 2;
  search->state.extendFlag = 1;
  search->state.candidate = Candidate{2, 1, 1, 1};
  int32_t shown = 0;
  while (searchUntilShown(*search, 0, TrialsHook{}) == SearchStop::Shown) ++shown;
  EXPECT_GT(shown, 0);
  EXPECT_EQ(search->state.placedCount, 1);
}

}  // namespace
}  // namespace arrowgrid
