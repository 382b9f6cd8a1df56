// The real binary with --export in script form: V and C write their files,
// a second run adds to them, and a folder that cannot be written changes
// nothing on the screens.
#include <gtest/gtest.h>

#include <thread>

#include "print/grid_export.h"

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
  const std::vector<std::string> firstFiles = {
      "grille-001.html",         "grille-001.ipuz",     "grille-complete-001.pdf", "grille-complete-001.png",
      "grille-complete-001.svg", "grille-vide-001.pdf", "grille-vide-001.png",     "grille-vide-001.svg"};
  EXPECT_EQ(folder.names(), firstFiles);
  const std::string firstPng = fileContent(folder.file("grille-vide-001.png"));

  const BinaryRun second = runBinary(EMPTY_THEN_COMPLETED, 60, {"--export=" + folder.path, "--dpi", "100"});
  EXPECT_EQ(second.exitStatus, 0);
  EXPECT_EQ(folder.names().size(), 16u);
  EXPECT_EQ(fileContent(folder.file("grille-vide-001.png")), firstPng);
  // The second run's options reached its files: a smaller PNG.
  EXPECT_LT(fileContent(folder.file("grille-vide-002.png")).size(), firstPng.size());
  EXPECT_FALSE(fileContent(folder.file("grille-complete-002.pdf")).empty());
}

// Two runs at once into one folder, each showing its empty grid ten times:
// all sixty files, each number holding one run's three files.
TEST(ExportBinary, TwoRunsAtOnceNeverShareANumber) {
  const std::string words[2] = {"AB\nBC\nCA\n", "CHAT\nTAPIS\n"};
  // What tells the runs' files apart: the SVG's page size (the rest of it
  // numbers its drawings over the run) and the whole PNG.
  const auto signature = [](const std::string& svg, const std::string& png) {
    const size_t size = svg.find(" width=");
    if (size == std::string::npos) return std::string("no SVG");
    return svg.substr(size, svg.find('>', size) - size) + png;
  };
  std::string alone[2];  // each run's, written by it alone
  for (int run = 0; run < 2; ++run) {
    TemporaryFolder own;
    runBinary("\n\n" + words[run] + "\nO\n\n\n\nV\n\nF\n", 60, {"--export", own.path});
    alone[run] =
        signature(fileContent(own.file("grille-vide-001.svg")), fileContent(own.file("grille-vide-001.png")));
    ASSERT_FALSE(alone[run].empty());
  }
  ASSERT_NE(alone[0], alone[1]);

  TemporaryFolder folder;
  std::string script[2];
  BinaryRun runs[2];
  std::thread threads[2];
  for (int run = 0; run < 2; ++run) {
    script[run] = "\n\n" + words[run] + "\nO\n\n\n\n";
    for (int view = 0; view < 10; ++view) script[run] += "V\n\n";
    script[run] += "F\n";
    threads[run] = std::thread([&, run] {
      runs[run] = runBinary(script[run], 120, {"--export", folder.path});
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const BinaryRun& run : runs) {
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.standardError, "");
  }
  const std::vector<std::string> names = folder.names();
  EXPECT_EQ(names.size(), 60u);
  int fromEach[2] = {0, 0};
  for (int number = 1; number <= 20; ++number) {
    const auto file = [&](const char* extension) {
      return fileContent(folder.file(exportFileName(GridContent::Puzzle, number, extension)));
    };
    const std::string pair = signature(file("svg"), file("png"));
    const int run = pair == alone[0] ? 0 : 1;
    EXPECT_EQ(pair, alone[run]) << number;
    ++fromEach[run];
    EXPECT_FALSE(file("pdf").empty()) << number;
  }
  EXPECT_EQ(fromEach[0], 10);
  EXPECT_EQ(fromEach[1], 10);
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
  for (const char* name :
       {"grille-vide-001.pdf", "grille-vide-001.svg", "grille-vide-001.png", "grille-complete-001.pdf",
        "grille-complete-001.svg", "grille-complete-001.png", "grille-001.ipuz", "grille-001.html"}) {
    expected += "arrowgrid: cannot write " + missing + "/" + name + ": No such file or directory\n";
  }
  EXPECT_EQ(failing.standardError, expected);
  EXPECT_TRUE(folder.names().empty());
}

}  // namespace
}  // namespace arrowgrid
