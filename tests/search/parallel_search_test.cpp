// The search with workers against the judge: one worker and several, the
// tree cut at different depths, the selection changed between reports as
// from the menu; the same arrangements shown at the same trial counts, the
// same best, final count and cursor, and the same grid at the end.
#include "search/parallel_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/search_test_support.h"

namespace arrowgrid {
using namespace test_support;
namespace {

using test_support::JudgedSearch;
using test_support::makeSearch;
using test_support::ModeSchedule;

struct Split {
  int32_t workers;
  int32_t nodeDepth;
};

void expectSameAsJudge(const std::vector<std::string>& words, Split split, const ModeSchedule& mode) {
  auto judged = makeSearch(words);
  const JudgedSearch expected = test_support::judgeSearch(*judged, mode);
  auto search = makeSearch(words);
  SearchWorkers workers;
  startSearchWorkers(workers, *search, split.workers, split.nodeDepth);
  const JudgedSearch run = test_support::driveSearch(*search, mode, [&](SelectionMode selectionMode) {
    return searchUntilShownInParallel(*search, workers, selectionMode, TrialsHook{});
  });
  test_support::expectAsJudged(*search, run, *judged, expected);
  EXPECT_EQ(searchUntilShownInParallel(*search, workers, mode(run.shown.size()), TrialsHook{}),
            SearchStop::Finished);
  EXPECT_EQ(search->state.trialCount, expected.finalTrialCount + 1);
}

ModeSchedule fixedMode(int32_t mode) {
  return [mode](size_t) { return SelectionMode{mode}; };
}

// Changes at every few reports, through every pair of modes.
ModeSchedule changingMode() {
  return [](size_t shown) {
    static constexpr int32_t MODES[] = {2, 1, 2, 0, 1, 0, 2, 2, 1, 1};
    return SelectionMode{MODES[(shown / 2) % 10]};
  };
}

const std::vector<Split> SPLITS = {{1, 2}, {3, 2}, {2, 3}, {4, 4}};

TEST(ParallelSearch, MatchesTheJudgeOnAKnownList) {
  const std::vector<std::string> words = {"MAISON", "JARDIN", "TABLE", "PORTE", "SOLEIL"};
  for (const Split& split : SPLITS) {
    for (int32_t mode : {1, 2}) {
      SCOPED_TRACE("workers " + std::to_string(split.workers) + ", cut at " +
                   std::to_string(split.nodeDepth) + ", mode " + std::to_string(mode));
      expectSameAsJudge(words, split, fixedMode(mode));
      if (HasFatalFailure()) return;
    }
  }
}

TEST(ParallelSearch, MatchesTheJudgeOnRandomListsWithTheSelectionChanged) {
  std::mt19937 random(4242);
  for (int list = 0; list < 80; ++list) {
    const std::vector<std::string> words =
        test_support::randomWords(random, 4, 5, 5, list % 2 == 0 ? "AB-C" : "ABCDEFGH");
    const Split split = SPLITS[static_cast<size_t>(list) % SPLITS.size()];
    if (split.nodeDepth >= static_cast<int32_t>(words.size())) continue;
    SCOPED_TRACE("list " + std::to_string(list) + ": " + words[0] + " " + words[1] + " ...");
    expectSameAsJudge(words, split, list % 3 == 0 ? changingMode() : fixedMode(1 + list % 2));
    if (HasFatalFailure()) return;
  }
}

TEST(ParallelSearch, SubtreesWithMoreRecordsThanKeptAreExploredByTheReplay) {
  // Every arrangement of these words ties: mode 1 records them all.
  const std::vector<std::string> words = {"AA", "AA", "AA", "AA", "AA"};
  expectSameAsJudge(words, Split{2, 2}, fixedMode(1));
}

}  // namespace
}  // namespace arrowgrid
