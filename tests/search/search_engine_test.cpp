// The engine against the judge (the trial-by-trial enumeration with the
// reference evaluation): on fixed and random word lists, in every selection
// mode, the same arrangements shown at the same trial counts with the same
// scores and rows, the same best, the same final count and cursor, and the
// same grid for the menu at the end.
#include "search/search_engine.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/fast_evaluation.h"
#include "search/grid_evaluation.h"
#include "search/search_test_support.h"

namespace arrowgrid {
using namespace test_support;
namespace {

using test_support::JudgedSearch;
using test_support::makeSearch;

void expectSameSearch(const std::vector<std::string>& words, SelectionMode selectionMode) {
  auto judged = makeSearch(words);
  const JudgedSearch expected = test_support::judgeSearch(*judged, selectionMode);
  auto engine = makeSearch(words);
  const JudgedSearch run = test_support::driveSearch(
      *engine, [selectionMode](size_t) { return selectionMode; },
      [&](SelectionMode mode) { return searchUntilShown(*engine, mode, TrialsHook{}); });
  test_support::expectAsJudged(*engine, run, *judged, expected);
  // Resumed after the end: one trial more, and the end again.
  EXPECT_EQ(searchUntilShown(*engine, selectionMode, TrialsHook{}), SearchStop::Finished);
  EXPECT_EQ(engine->state.trialCount, expected.finalTrialCount + 1);
}

void expectSameSearchInEveryMode(const std::vector<std::string>& words) {
  for (int32_t mode : {0, 1, 2}) {
    SCOPED_TRACE("selection mode " + std::to_string(mode));
    expectSameSearch(words, SelectionMode{mode});
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

void expectSameOnLists(const std::vector<std::vector<std::string>>& lists) {
  for (const auto& words : lists) {
    SCOPED_TRACE(std::to_string(words[0].size()) + " letters: " + words[0].substr(0, 8) + " " +
                 words[1].substr(0, 8) + " ...");
    expectSamePushes(words);
    expectSameSearchInEveryMode(words);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST(SearchEngine, MatchesTheJudgeOnSmallLists) {
  const std::vector<std::vector<std::string>> lists = {
      {"AB", "BC", "CA"},
      {"AA", "AB", "BB"},
      {"ABC", "DE"},                 // nothing in common: every sweep passed over
      {"ABC", "DE", "CXD"},          // word 2 shares nothing with word 1 alone
      {"A-B", "-A-", "B-", "AB-A"},  // hyphens
      {"MAISON", "JARDIN", "TABLE", "PORTE"},
      {"A", "A", "AB", "B", "BA"},
  };
  expectSameOnLists(lists);
}

TEST(SearchEngine, MatchesTheJudgeOnRandomLists) {
  std::mt19937 random(90210);
  std::vector<std::vector<std::string>> lists;
  // Small alphabets give many crossings and clashes, large ones long jumps.
  for (int list = 0; list < 20; ++list) {
    lists.push_back(test_support::randomWords(random, 2, 4, 5, "AB-"));
    lists.push_back(test_support::randomWords(random, 2, 5, 5, "ABCDE"));
    lists.push_back(test_support::randomWords(random, 2, 5, 6, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
  }
  expectSameOnLists(lists);
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
  expectSameOnLists(lists);
}

TEST(SearchEngine, HashedOccupancyMatchesTheJudge) {
  const std::string longWord = test_support::wordForTheHashedGrid();
  ASSERT_TRUE(makeSearch({"AB", longWord})->fast.occupancy.hashed);
  expectSameSearch({"AB", longWord, "BA", "AB"}, SelectionMode::AtLeastAsGood);
}

TEST(SearchEngine, ATableTheGridCannotFollowIsSearchedStepByStep) {
  // Row 2 lies far outside the geometry of any push: the engine takes the
  // step-by-step way with the reference evaluation, and still ends.
  auto search = makeSearch({"AB", "CD", "DA"});
  evaluateArrangementFast(*search);
  search->table.rows[2] = Placement{2, 0, 1000000, DIR_VERTICAL, 1, 1, 1};
  search->state.placedCount = 2;
  search->state.extendFlag = true;
  search->state.candidate = Candidate{2, 1, 1, 1};
  int32_t shown = 0;
  while (searchUntilShown(*search, SelectionMode::AllAccepted, TrialsHook{}) == SearchStop::Shown) ++shown;
  EXPECT_GT(shown, 0);
  EXPECT_EQ(search->state.placedCount, 1);
}

}  // namespace
}  // namespace arrowgrid
