// The real binary in script form runs the whole search of AB, BC, CA.
#include <gtest/gtest.h>

#include "support/binary_run.h"
#include "support/french_texts.h"

namespace arrowgrid {
using namespace test_support;

namespace {

TEST(SearchBinary, ThreeWordSearchEndsAtTrial26) {
  // Two intro pauses, three words, the end of the list and its confirmation,
  // the two dialog defaults, then the pause after the end of the search; the
  // input ends at the menu.
  const BinaryRun run = runBinary("\n\nAB\nBC\nCA\n\nO\n\n\n\n");
  ASSERT_GE(run.snapshots.size(), 2u);
  EXPECT_EQ(snapshotRows(run.snapshots.back())[0], MENU_TITLE);
  const auto rows = snapshotRows(run.snapshots[run.snapshots.size() - 2]);
  ASSERT_EQ(rows.size(), 25u);
  EXPECT_EQ(rows[20], trialsRow("26"));
  EXPECT_EQ(rows[21], SEARCH_FINISHED_ROW);
  EXPECT_EQ(rows[23], PRESS_RETURN);
}

}  // namespace
}  // namespace arrowgrid
