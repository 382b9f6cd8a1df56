// The real binary in script form, from the first report of AB, BC, CA with a
// pause after each report, through the end of the search, to the finish.
#include <gtest/gtest.h>

#include "support/binary_run.h"
#include "support/french_texts.h"

namespace arrowgrid {
using namespace test_support;

namespace {

TEST(ResultsBinary, PausedReportsThenTheMenuAndFinish) {
  const BinaryRun run = runBinary(
      "\n\nAB\nBC\nCA\n\nO\n"  // intro pauses, the words, the end of the list
      "\n1\n"                  // selection mode 1 kept, a pause after each report
      "\n\n\n\n\n"             // the five reports
      "\n"                     // the pause after the end of the search
      "F\n");
  EXPECT_EQ(run.exitStatus, 0) << run.standardError;
  ASSERT_EQ(run.snapshots.size(), 16u);

  struct Report {
    const char* counts1;
    const char* counts2;
    const char* trials;
  };
  const Report reports[] = {
      {"Nb mots placés = 2          Nb de voisinages non désirés = 0",
       "Nb recoupement = 1          Surface = 4* 4= 16", "3"},
      {"Nb mots placés = 3          Nb de voisinages non désirés = 0",
       "Nb recoupement = 2          Surface = 5* 4= 20", "7"},
      {"Nb mots placés = 3          Nb de voisinages non désirés = 0",
       "Nb recoupement = 2          Surface = 4* 5= 20", "8"},
      {"Nb mots placés = 3          Nb de voisinages non désirés = 0",
       "Nb recoupement = 2          Surface = 4* 5= 20", "18"},
      {"Nb mots placés = 3          Nb de voisinages non désirés = 0",
       "Nb recoupement = 2          Surface = 5* 4= 20", "23"},
  };
  for (size_t i = 0; i < 5; ++i) {
    const auto rows = snapshotRows(run.snapshots[9 + i]);
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0], reports[i].counts1) << i;
    EXPECT_EQ(rows[1], reports[i].counts2) << i;
    EXPECT_EQ(rows[20], trialsRow("") + reports[i].trials) << i;
    EXPECT_EQ(rows[21], std::string(29, ' ') + REPORT_MENU_PROMPT) << i;
    EXPECT_EQ(rows[22], std::string(29, ' ') + REPORT_PAUSE_PROMPT) << i;
  }

  // The end keeps the last report's counts and grid above the message.
  const auto end = snapshotRows(run.snapshots[14]);
  EXPECT_EQ(end[0], reports[4].counts1);
  EXPECT_EQ(end[20], trialsRow("26"));
  EXPECT_EQ(end[21], SEARCH_FINISHED_ROW);
  EXPECT_EQ(end[22], "");
  EXPECT_EQ(end[23], PRESS_RETURN);

  const auto menu = snapshotRows(run.snapshots[15]);
  EXPECT_EQ(menu[0], MENU_TITLE);
  EXPECT_EQ(menu[6], MENU_FINISH_ROW);
}

}  // namespace
}  // namespace arrowgrid
