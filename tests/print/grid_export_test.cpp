// Numbering of the exported grids: growing over the run, per kind, past any
// file already in the folder.
#include "print/grid_export.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "base/safe_file_write.h"

#include "support/hand_grid.h"
#include "support/temporary_folder.h"

namespace arrowgrid {
using namespace test_support;
namespace {

TEST(GridExport, NumbersGrowPerKindAndSkipFilesAlreadyThere) {
  test_support::TemporaryFolder folder;
  std::ofstream(folder.file("grille-vide-002.svg")) << "an earlier run's";
  GridExport exporting{folder.path + "/", PrintOptions{}, 0, 0, {{"LE", "Article"}}};

  EXPECT_TRUE(exportGrid(exporting, leGrid(), GridContent::Puzzle).empty());
  EXPECT_TRUE(exportGrid(exporting, leGrid(), GridContent::Puzzle).empty());
  EXPECT_TRUE(exportGrid(exporting, leGrid(), GridContent::Solution).empty());
  EXPECT_EQ(folder.names(),
            (std::vector<std::string>{"grille-001.ipuz", "grille-complete-001.pdf", "grille-complete-001.png",
                                      "grille-complete-001.svg", "grille-vide-001.pdf", "grille-vide-001.png",
                                      "grille-vide-001.svg", "grille-vide-002.svg", "grille-vide-003.pdf",
                                      "grille-vide-003.png", "grille-vide-003.svg"}));
  EXPECT_EQ(test_support::fileContent(folder.file("grille-vide-002.svg")), "an earlier run's");
  // The completed grid's puzzle file, with the clue of its word.
  EXPECT_NE(test_support::fileContent(folder.file("grille-001.ipuz")).find("\"clue\": \"Article\""),
            std::string::npos);
  EXPECT_EQ(exportFileName(GridContent::Solution, 1234, PrintFormat::Png), "grille-complete-1234.png");
}

// A reservation outlives a run killed outright; the next run takes it over,
// with what that run left half-written, but never a live run's.
TEST(GridExport, ReservationsOfRunsThatAreGoneAreTakenOver) {
  enum class Holder { Killed, KilledAfterThePdf, Alive };
  struct Case {
    Holder holder;
    int32_t expectedNumber;
    std::vector<std::string> names;  // the folder's, while the number is held
  };
  const std::string pngTemporary = ".grille-vide-001.png.PID-0.tmp";  // PID: the holder's
  const Case cases[] = {
      {Holder::Killed, 1, {".grille-vide-001.reserved"}},
      {Holder::KilledAfterThePdf, 2, {".grille-vide-002.reserved", "grille-vide-001.pdf"}},
      {Holder::Alive, 2, {".grille-vide-001.reserved", pngTemporary, ".grille-vide-002.reserved"}},
  };
  const std::vector<std::string_view> extensions{"pdf", "svg", "png"};
  for (const Case& c : cases) {
    TemporaryFolder folder;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
      // The other run: its number taken, its PNG half drawn, then it waits.
      ExportNumber reserved = reserveExportNumber(folder.path, GridContent::Puzzle, 1, extensions);
      std::ofstream(folder.file(temporaryFileName("grille-vide-001.png", getpid(), 0))) << "half";
      if (c.holder == Holder::KilledAfterThePdf) std::ofstream(folder.file("grille-vide-001.pdf")) << "whole";
      const char number = static_cast<char>(reserved.number);
      if (write(ready[1], &number, 1) != 1) _exit(1);
      pause();
      _exit(0);
    }
    close(ready[1]);
    char holderNumber = 0;
    ASSERT_EQ(read(ready[0], &holderNumber, 1), 1);
    close(ready[0]);
    EXPECT_EQ(holderNumber, 1);
    if (c.holder != Holder::Alive) {
      kill(holder, SIGKILL);
      waitpid(holder, nullptr, 0);
    }

    ExportNumber ours = reserveExportNumber(folder.path, GridContent::Puzzle, 1, extensions);
    EXPECT_EQ(ours.error, 0);
    EXPECT_EQ(ours.number, c.expectedNumber);
    std::vector<std::string> expected;
    for (std::string name : c.names) {
      if (const size_t at = name.find("PID"); at != std::string::npos) name.replace(at, 3, std::to_string(holder));
      expected.push_back(name);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folder.names(), expected);
    if (c.holder == Holder::Alive) {
      // The live run's, untouched.
      EXPECT_EQ(fileContent(folder.file(temporaryFileName("grille-vide-001.png", holder, 0))), "half");
      kill(holder, SIGKILL);
      waitpid(holder, nullptr, 0);
    }
    releaseExportNumber(ours);
  }
}

}  // namespace
}  // namespace arrowgrid
