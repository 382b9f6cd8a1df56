// Keys of sets of placements and the table of the sets met: a key follows the
// set whatever the order of its rows, tells word numbers apart, and the table
// answers "met with no more unwanted neighbourhoods" and evicts the older of a
// full bucket's two sets.
#include "search/transposition_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace arrowgrid {
namespace {

PlacementSetKey keyOf(const std::vector<Placement>& rows) {
  PlacementSetKey key;
  for (const Placement& row : rows) key = withPlacement(key, row);
  return key;
}

TEST(TranspositionTable, KeysFollowTheSetNotTheOrderNorTheCrossing) {
  const Placement a{1, 0, 0, DIR_HORIZONTAL, 0, 0, 0};
  const Placement b{2, 2, -1, DIR_VERTICAL, 1, 1, 2};
  const Placement c{3, 1, 1, DIR_HORIZONTAL, 1, 2, 2};
  Placement cOtherCrossing = c;  // the same place found across another row
  cOtherCrossing.crossedRow = 1;
  cOtherCrossing.letterPos = 2;
  EXPECT_EQ(keyOf({a, b, c}), keyOf({a, c, b}));
  EXPECT_EQ(keyOf({a, b, c}), keyOf({c, b, a}));
  EXPECT_EQ(keyOf({a, b, c}), keyOf({a, b, cOtherCrossing}));

  // A repeated word: the same texts in swapped places are another set.
  Placement bAsWord3 = b, cAsWord2 = c;
  bAsWord3.wordNumber = 3;
  cAsWord2.wordNumber = 2;
  Placement bAcross = b;
  bAcross.direction = DIR_HORIZONTAL;
  Placement bMoved = b;
  ++bMoved.y;
  for (const auto& other : {std::vector<Placement>{a, bAsWord3, cAsWord2},
                            {a, bAcross, c},
                            {a, bMoved, c},
                            {a, b},
                            {a, b, c, b}}) {
    EXPECT_NE(keyOf(other), keyOf({a, b, c}));
  }
}

TEST(TranspositionTable, MetBeforeOnlyWithNoMoreUnwanted) {
  TranspositionTable table;
  allocateTranspositionTable(table, 8);
  const PlacementSetKey key = keyOf({Placement{1, 0, 0, DIR_HORIZONTAL, 0, 0, 0}});
  struct Step {
    int32_t unwanted;
    bool met;
  };
  // First meeting, again, worse, better (recorded), then level with the better.
  for (const Step& step :
       {Step{3, false}, Step{3, true}, Step{5, true}, Step{2, false}, Step{2, true}, Step{3, true}}) {
    EXPECT_EQ(metBeforeWithNoMoreUnwanted(table, key, step.unwanted), step.met) << step.unwanted;
  }
  EXPECT_EQ(table.skips, 4);
}

// A bucket holds two sets: a third one meeting it evicts the older of the
// two, and sets of other buckets stay.
TEST(TranspositionTable, AFullBucketEvictsItsOlderSet) {
  TranspositionTable table;
  allocateTranspositionTable(table, 8);
  std::vector<PlacementSetKey> sameBucket;
  PlacementSetKey elsewhere;
  const auto bucketOf = [&](const PlacementSetKey& key) { return key.first & table.bucketMask; };
  for (int32_t w = 1; sameBucket.size() < 3 || elsewhere == PlacementSetKey{}; ++w) {
    const PlacementSetKey key = keyOf({Placement{w, w, 0, DIR_VERTICAL, 0, 0, 0}});
    if (sameBucket.empty() || bucketOf(key) == bucketOf(sameBucket[0])) {
      if (sameBucket.size() < 3) sameBucket.push_back(key);
    } else {
      elsewhere = key;
    }
  }
  const PlacementSetKey a = sameBucket[0], b = sameBucket[1], c = sameBucket[2];
  struct Step {
    PlacementSetKey key;
    bool met;
    const char* what;
  };
  for (const Step& step :
       {Step{a, false, "a recorded"}, Step{elsewhere, false, "elsewhere recorded"},
        Step{b, false, "b recorded beside a"}, Step{a, true, "a still held"},
        Step{c, false, "c evicts a, the older"}, Step{b, true, "b still held"}, Step{c, true, "c held"},
        Step{a, false, "a was evicted, evicts b"}, Step{b, false, "b was evicted"},
        Step{elsewhere, true, "another bucket untouched"}}) {
    EXPECT_EQ(metBeforeWithNoMoreUnwanted(table, step.key, 0), step.met) << step.what;
  }
}

}  // namespace
}  // namespace arrowgrid
