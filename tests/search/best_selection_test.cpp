// The ranking against the best and the selection table.
#include <gtest/gtest.h>

#include <vector>

#include "search/best_selection.h"

namespace arrowgrid {
namespace {

TEST(Ranking, FirstDifferingFieldDecidesAndOnlyBetterMovesTheBest) {
  const ArrangementScore best{3, 0, 2, 60};
  struct Case {
    ArrangementScore score;
    ScoreOrder order;
  };
  const Case cases[] = {
      {{3, 1, 2, 40}, ScoreOrder::Worse},    // one more unwanted outweighs a smaller surface
      {{3, 0, 3, 80}, ScoreOrder::Better},   // one more crossing outweighs a larger surface
      {{4, 5, 0, 200}, ScoreOrder::Better},  // more words outweigh everything
      {{3, 0, 2, 60}, ScoreOrder::Equal},   {{2, 0, 9, 1}, ScoreOrder::Worse},
      {{3, 0, 2, 61}, ScoreOrder::Worse},   {{3, 0, 2, 59}, ScoreOrder::Better},
  };
  const ScoreOrder mirrored[] = {ScoreOrder::Worse, ScoreOrder::Equal, ScoreOrder::Better};  // by c.order
  for (const Case& c : cases) {
    EXPECT_EQ(compareScores(c.score, best), c.order);
    EXPECT_EQ(compareScores(best, c.score), mirrored[static_cast<int>(c.order)]);
    ArrangementScore bestScore = best;
    EXPECT_EQ(compareWithBest(bestScore, c.score), c.order) << c.score.crossings << " " << c.score.surface;
    EXPECT_EQ(bestScore, c.order == ScoreOrder::Better ? c.score : best);
  }
}

TEST(Ranking, SurfacesBeyond32BitsCompare) {
  ArrangementScore best{2, 0, 1, int64_t{1} << 40};
  EXPECT_EQ(compareWithBest(best, {2, 0, 1, (int64_t{1} << 40) + 1}), ScoreOrder::Worse);
  EXPECT_EQ(compareWithBest(best, {2, 0, 1, int64_t{1} << 33}), ScoreOrder::Better);
  EXPECT_EQ(best.surface, int64_t{1} << 33);
}

TEST(Selection, TableOfModesAndOrders) {
  using enum SelectionMode;
  EXPECT_TRUE(isArrangementShown(ScoreOrder::Better, AllAccepted));
  EXPECT_TRUE(isArrangementShown(ScoreOrder::Equal, AllAccepted));
  EXPECT_TRUE(isArrangementShown(ScoreOrder::Worse, AllAccepted));
  EXPECT_TRUE(isArrangementShown(ScoreOrder::Better, AtLeastAsGood));
  EXPECT_TRUE(isArrangementShown(ScoreOrder::Equal, AtLeastAsGood));
  EXPECT_FALSE(isArrangementShown(ScoreOrder::Worse, AtLeastAsGood));
  EXPECT_TRUE(isArrangementShown(ScoreOrder::Better, NewBestsOnly));
  EXPECT_FALSE(isArrangementShown(ScoreOrder::Equal, NewBestsOnly));
  EXPECT_FALSE(isArrangementShown(ScoreOrder::Worse, NewBestsOnly));
}

// The accepted arrangements of AB, BC, CA in the order the search meets
// them, with their trial counts; the best starts as word 1 alone, surface 4.
TEST(Selection, AbBcCaReportsPerModeAndFinalBest) {
  struct Accepted {
    ArrangementScore score;
    int64_t trial;
    ScoreOrder order;
  };
  const Accepted run[] = {
      {{1, 0, 0, 12}, 1, ScoreOrder::Worse},  {{2, 0, 1, 16}, 3, ScoreOrder::Better},
      {{3, 0, 2, 20}, 7, ScoreOrder::Better}, {{3, 0, 2, 20}, 8, ScoreOrder::Equal},
      {{2, 0, 1, 16}, 16, ScoreOrder::Worse}, {{3, 0, 2, 20}, 18, ScoreOrder::Equal},
      {{3, 0, 2, 20}, 23, ScoreOrder::Equal},
  };
  const std::vector<int64_t> expected[] = {{1, 3, 7, 8, 16, 18, 23}, {3, 7, 8, 18, 23}, {3, 7}};
  for (int32_t mode = 0; mode <= 2; ++mode) {
    ArrangementScore best{1, 0, 0, 4};
    std::vector<int64_t> shown;
    for (const Accepted& a : run) {
      const ScoreOrder order = compareWithBest(best, a.score);
      EXPECT_EQ(order, a.order) << "trial " << a.trial;
      if (isArrangementShown(order, SelectionMode{mode})) shown.push_back(a.trial);
    }
    EXPECT_EQ(shown, expected[mode]) << "mode " << mode;
    EXPECT_EQ(best, (ArrangementScore{3, 0, 2, 20}));
  }
}

}  // namespace
}  // namespace arrowgrid
