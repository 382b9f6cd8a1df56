// The real binary with --export in script form: V and C write their files,
// a second run adds to them, and a folder that cannot be written changes
// nothing on the screens.
#include <gtest/gtest.h>

#include "support/binary_run.h"
#include "support/temporary_folder.h"

namespace arrowgrid {
using namespace test_support;

namespace {

// AB, BC, CA with the defaults to the menu, then V, C and F.
const std::string EMPTY_THEN_COMPLETED = "\n\nAB\nBC\nCA\n\nO\n\n\n\nV\n\nC\n\nF\n";

TEST(ExportBinary, EachGridShownIsWrittenAndNothingIsOverwritten) {
  TemporaryFolder folder;
  const BinaryRun first = runBinary(EMPTY_THEN_COMPLETED, 60, {"--export", folder.path});
  EXPECT_EQ(first.exitStatus, 0);
  EXPECT_EQ(first.standardError, "");
  const std::vector<std::string> firstFiles = {"grille-complete-001.pdf", "grille-complete-001.png",
                                               "grille-complete-001.svg", "grille-vide-001.pdf",
                                               "grille-vide-001.png",     "grille-vide-001.svg"};
  EXPECT_EQ(folder.names(), firstFiles);
  const std::string firstPng = fileContent(folder.file("grille-vide-001.png"));

  const BinaryRun second = runBinary(EMPTY_THEN_COMPLETED, 60, {"--export=" + folder.path, "--dpi", "100"});
  EXPECT_EQ(second.exitStatus, 0);
  EXPECT_EQ(folder.names().size(), 12u);
  EXPECT_EQ(fileContent(folder.file("grille-vide-001.png")), firstPng);
  // The second run's options reached its files: a smaller PNG.
  EXPECT_LT(fileContent(folder.file("grille-vide-002.png")).size(), firstPng.size());
  EXPECT_FALSE(fileContent(folder.file("grille-complete-002.pdf")).empty());
}

TEST(ExportBinary, UnwritableFolderLeavesTheScreensAsWithoutExport) {
  TemporaryFolder folder;
  const BinaryRun plain = runBinary(EMPTY_THEN_COMPLETED);
  const std::string missing = folder.file("missing");
  const BinaryRun failing = runBinary(EMPTY_THEN_COMPLETED, 60, {"--export", missing});
  EXPECT_EQ(failing.exitStatus, 0);
  EXPECT_EQ(failing.standardOutput, plain.standardOutput);
  ASSERT_EQ(failing.snapshots.size(), 15u);  // the two grid views among them
  std::string expected;
  for (const char* name : {"grille-vide-001.pdf", "grille-vide-001.svg", "grille-vide-001.png",
                           "grille-complete-001.pdf", "grille-complete-001.svg", "grille-complete-001.png"}) {
    expected += "arrowgrid: cannot write " + missing + "/" + name + ": No such file or directory\n";
  }
  EXPECT_EQ(failing.standardError, expected);
  EXPECT_TRUE(folder.names().empty());
}

}  // namespace
}  // namespace arrowgrid
