// Numbering of the exported grids: growing over the run, per kind, past any
// file already in the folder.
#include "print/grid_export.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <tuple>

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
            (std::vector<std::string>{"grille-001.html", "grille-001.ipuz", "grille-complete-001.pdf", "grille-complete-001.png",
                                      "grille-complete-001.svg", "grille-vide-001.pdf", "grille-vide-001.png",
                                      "grille-vide-001.svg", "grille-vide-002.svg", "grille-vide-003.pdf",
                                      "grille-vide-003.png", "grille-vide-003.svg"}));
  EXPECT_EQ(test_support::fileContent(folder.file("grille-vide-002.svg")), "an earlier run's");
  // The completed grid's puzzle file, with the clue of its word.
  // And the page that plays it, under the same number.
  for (const char* name : {"grille-001.ipuz", "grille-001.html"})
    EXPECT_NE(test_support::fileContent(folder.file(name)).find("\"clue\": \"Article\""), std::string::npos);
  EXPECT_EQ(exportFileName(GridContent::Solution, 1234, PrintFormat::Png), "grille-complete-1234.png");
}

// A reservation outlives a run killed outright; the next run takes it over,
// with what that run left half-written, but never a live run's.
TEST(GridExport, ReservationsOfRunsThatAreGoneAreTakenOver) {
  // The holder killed (else alive), whether it had finished its PDF, the next
  // run's number, the folder's names then but for the temporary files.
  const std::tuple<bool, bool, int32_t, std::vector<std::string>> cases[] = {
      {true, false, 1, {".grille-vide-001.reserved"}},
      {true, true, 2, {".grille-vide-002.reserved", "grille-vide-001.pdf"}},
      {false, false, 2, {".grille-vide-001.reserved", ".grille-vide-002.reserved"}}};
  const std::vector<std::string_view> extensions{"pdf", "svg", "png"};
  for (const auto& [killed, pdfWritten, number, names] : cases) {
    TemporaryFolder folder;
    int ready[2];
    const pid_t holder = pipe(ready) == 0 ? fork() : -1;
    if (holder == 0) {  // the other run: its number taken, its PNG half drawn, then it waits
      const char held =
          static_cast<char>(reserveExportNumber(folder.path, GridContent::Puzzle, 1, extensions).number);
      std::ofstream(folder.file(temporaryFileName("grille-vide-001.png", getpid(), 0))) << "half";
      if (pdfWritten) std::ofstream(folder.file("grille-vide-001.pdf")) << "whole";
      if (write(ready[1], &held, 1) == 1) pause();
      _exit(1);
    }
    char held = 0;
    ASSERT_TRUE(holder > 0 && read(ready[0], &held, 1) == 1 && held == 1);
    if (killed && kill(holder, SIGKILL) == 0) waitpid(holder, nullptr, 0);

    ExportNumber ours = reserveExportNumber(folder.path, GridContent::Puzzle, 1, extensions);
    EXPECT_EQ(ours.number, number);
    std::vector<std::string> left = folder.names();
    std::erase_if(left, [](const std::string& name) { return name.ends_with(".tmp"); });
    EXPECT_EQ(left, names);
    // Removed, or the live run's and untouched.
    EXPECT_EQ(fileContent(folder.file(temporaryFileName("grille-vide-001.png", holder, 0))),
              killed ? "" : "half");
    releaseExportNumber(ours);
    if (!killed && kill(holder, SIGKILL) == 0) waitpid(holder, nullptr, 0);
    close(ready[0]), close(ready[1]);
  }
}

}  // namespace
}  // namespace arrowgrid
