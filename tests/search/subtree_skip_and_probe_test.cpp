// The two hooks of a search that bounds its work: skipping the subtree of an
// accepted arrangement, which must leave the rest of the search exactly as it
// was, and probing a row read-only, which must agree with pushing and
// evaluating it and change nothing that follows.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/candidate_enumeration.h"
#include "search/fast_evaluation.h"
#include "search/grid_evaluation.h"
#include "search/search_test_support.h"

namespace arrowgrid {
using namespace test_support;
namespace {

using test_support::makeSearch;

// The rows pushed by a whole search, each with the rows it was pushed onto.
std::vector<std::vector<Placement>> pushedArrangements(ArrangementSearch& search, int32_t skipAtRows = 0) {
  std::vector<std::vector<Placement>> arrangements;
  bool skipped = false;
  evaluateArrangementFast(search);
  while (resumeSearchQuiet(search) == ResumeOutcome::Pushed) {
    const int32_t k = search.state.placedCount;
    arrangements.emplace_back(search.table.rows.begin() + 1, search.table.rows.begin() + k + 1);
    if (evaluateArrangementFast(search) == EvaluationOutcome::Accepted && !skipped && k == skipAtRows) {
      skipBelowRow(search, k);
      skipped = true;
    }
  }
  return arrangements;
}

TEST(SubtreeSkip, SkippingAnAcceptedArrangementDropsExactlyItsSubtree) {
  const std::vector<std::string> words{"MAISON", "JARDIN", "TABLE", "PORTE", "SOLEIL"};
  auto whole = makeSearch(words);
  const auto all = pushedArrangements(*whole);
  for (int32_t rows : {2, 3, 4}) {
    auto skipping = makeSearch(words);
    const auto kept = pushedArrangements(*skipping, rows);
    // The first accepted arrangement of `rows` rows is the root of the
    // skipped subtree: every push below it goes, every other one stays in
    // the same order.
    auto rootAccepted = [&](const std::vector<Placement>& arrangement) {
      auto check = makeSearch(words);
      std::copy(arrangement.begin(), arrangement.end(), check->table.rows.begin() + 1);
      GridEvaluation grid;
      return buildArrangementGrid(*check, static_cast<int32_t>(arrangement.size()), grid) ==
             EvaluationOutcome::Accepted;
    };
    size_t root = 0;
    while (!(all[root].size() == static_cast<size_t>(rows) && rootAccepted(all[root]))) ++root;
    std::vector<std::vector<Placement>> expected(all.begin(), all.begin() + static_cast<ptrdiff_t>(root) + 1);
    size_t next = root + 1;
    while (next < all.size() && all[next].size() > static_cast<size_t>(rows)) ++next;
    expected.insert(expected.end(), all.begin() + static_cast<ptrdiff_t>(next), all.end());
    EXPECT_LT(kept.size(), all.size()) << rows;
    EXPECT_EQ(kept, expected) << rows;
    EXPECT_EQ(skipping->state.placedCount, 1);
  }
}

TEST(RowProbe, AgreesWithPushingAndEvaluatingAndChangesNothing) {
  std::mt19937 random(42);
  int64_t probes = 0;
  int64_t accepted = 0;
  for (int32_t n = 0; n < 8; ++n) {
    std::vector<std::string> words;
    for (int32_t w = 0; w < 5; ++w) {
      std::string word;
      for (uint32_t i = 0, length = 2 + random() % 4; i < length; ++i) word += "ABC-"[random() % 4];
      words.push_back(word);
    }
    auto probed = makeSearch(words);
    auto plain = makeSearch(words);
    auto reference = makeSearch(words);
    for (;;) {
      const EvaluationOutcome outcome = evaluateArrangementFast(*probed);
      ASSERT_EQ(outcome, evaluateArrangementFast(*plain));
      const int32_t k = probed->state.placedCount;
      if (outcome == EvaluationOutcome::Accepted && k < static_cast<int32_t>(words.size())) {
        // Every row the next level could push, probed on the grid of this
        // arrangement and checked by building the grid with it from scratch.
        std::copy(probed->table.rows.begin() + 1, probed->table.rows.begin() + k + 1,
                  reference->table.rows.begin() + 1);
        for (int32_t crossedRow = 1; crossedRow <= k; ++crossedRow) {
          const Placement& crossed = probed->table.rows[static_cast<size_t>(crossedRow)];
          const ByteString& crossedWord = test_support::wordOfRow(*probed, crossedRow);
          for (int32_t w = 1; w <= static_cast<int32_t>(words.size()); ++w) {
            bool placed = false;
            for (int32_t r = 1; r <= k; ++r)
              placed = placed || probed->table.rows[static_cast<size_t>(r)].wordNumber == w;
            if (placed) continue;
            const ByteString& word = words[static_cast<size_t>(w - 1)];
            for (int32_t letterPos = 1; letterPos <= textLength(word); ++letterPos) {
              for (int32_t crossedPos = 1; crossedPos <= textLength(crossedWord); ++crossedPos) {
                if (codeAt(word, letterPos) != codeAt(crossedWord, crossedPos)) continue;
                const Placement row =
                    placementAcross(crossed, Candidate{w, letterPos, crossedRow, crossedPos});
                const RowProbe probe = probeRowOnTop(*probed, row);
                reference->table.rows[static_cast<size_t>(k + 1)] = row;
                GridEvaluation grid;
                const EvaluationOutcome expected = buildArrangementGrid(*reference, k + 1, grid);
                ++probes;
                ASSERT_EQ(probe.outcome, expected);
                if (expected != EvaluationOutcome::Accepted) continue;
                ++accepted;
                EXPECT_EQ(probe.crossings, grid.crossings);
                EXPECT_EQ(probe.unwantedNeighbourhoods, grid.unwantedNeighbourhoods);
                EXPECT_EQ(boxSurface(probe.box), boxSurface(grid.grid.box));
                EXPECT_EQ(probe.box.xMin, grid.grid.box.xMin);
                EXPECT_EQ(probe.box.yMin, grid.grid.box.yMin);
              }
            }
          }
        }
      }
      const ResumeOutcome resumed = resumeSearchQuiet(*probed);
      ASSERT_EQ(resumed, resumeSearchQuiet(*plain));
      ASSERT_EQ(probed->state.trialCount, plain->state.trialCount);
      if (resumed == ResumeOutcome::Finished) break;
    }
  }
  EXPECT_GT(probes, 1000);
  EXPECT_GT(accepted, 100);
}

}  // namespace
}  // namespace arrowgrid
