// The real binary in script form through word entry and the display dialog:
// one snapshot per prompt, as a user at the window would see it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/binary_run.h"
#include "support/french_texts.h"

namespace arrowgrid {
using namespace test_support;

namespace {

TEST(EntryBinary, WordListAndDialogAnswersShowOnTheSnapshots) {
  const BinaryRun run = runBinary(
      "\n\n"           // the two intro pauses
      "chat\nchien\n"  // words 1 and 2
      "été\n\n"        // refused, then the pause
      "\nn\n"          // end? no
      "chat\n\nO\n"    // word 3 repeats word 1; end
      "0\n1\n");       // selection mode 0, pause mode 1
  EXPECT_EQ(run.terminatingSignal, 0) << run.standardError;
  ASSERT_GE(run.snapshots.size(), 13u) << run.standardError;
  auto rows = [&](size_t i) { return snapshotRows(run.snapshots[i]); };

  const auto firstWord = rows(2);
  ASSERT_EQ(firstWord.size(), 25u);
  EXPECT_EQ(firstWord[0], ENTRY_TITLE);
  EXPECT_EQ(firstWord[1], "");
  EXPECT_EQ(firstWord[2], listedWordRow(1));

  const auto refused = rows(5);
  EXPECT_EQ(refused[2], listedWordRow(1, "CHAT"));
  EXPECT_EQ(refused[3], listedWordRow(2, "CHIEN"));
  EXPECT_EQ(refused[4], listedWordRow(3, "été"));
  EXPECT_EQ(refused[5], untreatedCharactersRow(2));
  EXPECT_EQ(refused[6], "");
  EXPECT_EQ(refused[7], PRESS_RETURN);

  EXPECT_EQ(rows(6)[4], listedWordRow(3));
  EXPECT_EQ(rows(7)[5], ENTRY_END_QUESTION);
  EXPECT_EQ(rows(8)[4], listedWordRow(3));

  const auto lastQuestion = rows(10);
  EXPECT_EQ(lastQuestion[4], listedWordRow(3, "CHAT"));
  EXPECT_EQ(lastQuestion[5], listedWordRow(4));
  EXPECT_EQ(lastQuestion[6], ENTRY_END_QUESTION);

  const auto selection = rows(11);
  EXPECT_EQ(selection[0], SELECTION_FIRST_ROW);
  EXPECT_EQ(selection[3], choiceRow(" 1"));
  const auto pause = rows(12);
  EXPECT_EQ(pause[3], choiceRow(" 1") + "0");
  EXPECT_EQ(pause[7], choiceRow(" 0"));

  // The search follows the dialog and waits at its first prompt, where the
  // script has run out.
  EXPECT_EQ(run.exitStatus, 3);
}

}  // namespace
}  // namespace arrowgrid
