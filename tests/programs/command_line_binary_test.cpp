// Both programs, whole, on what their command lines answer without a search:
// help, version, and the refusals, each with its status, its streams, and
// nothing written to its folder.
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "support/binary_run.h"
#include "support/temporary_folder.h"

namespace arrowgrid::test_support {
namespace {

const std::string GRID = ARROWGRID_BINARY;
const std::string SOLVE = ARROWGRID_SOLVE_BINARY;
const std::string TRY_GRID = "Try 'arrowgrid --help' for more information.\n";
const std::string TRY_SOLVE = "Try 'arrowgrid-solve --help' for more information.\n";
const std::string VERSION = ARROWGRID_VERSION;

TEST(CommandLineBinary, HelpVersionAndRefusalsOfBothPrograms) {
  struct Case {
    std::string binary;
    std::string arguments;  // a blank apart; "@" is a fresh folder, which must stay empty
    int status;
    std::string error;  // standard error, whole
    OutputTarget target = OutputTarget::Captured;
    std::string input = "";
    std::string output = "";  // standard output, whole; its start when there are pieces
    std::string pieces = "";  // what else it holds, a blank apart (what --help lists)
  };
  using enum OutputTarget;
  const Case cases[] = {
      {GRID, "--help", 0, "", Captured, "", "Usage: arrowgrid [OPTION]...\n",
       "--export DIR --page a4|letter|a3"},
      {GRID, "--version", 0, "", Captured, "", "arrowgrid " + VERSION + "\n"},
      {GRID, "--frobnicate", 2, "arrowgrid: --frobnicate: unknown option\n" + TRY_GRID},
      // No display in the test run: the window cannot be had, and says so.
      {GRID, "--window", 1, "arrowgrid: --window: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)\n"},
      // The reason is the failed open's, not whatever errno holds later.
      {GRID, "--export @ --clues @/missing.tsv", 2, "arrowgrid: @/missing.tsv: No such file or directory\n"},
      {GRID, "--help", 1, "arrowgrid: write error: No space left on device\n", FullDisk},
      {GRID, "--version", 1, "arrowgrid: write error: Bad file descriptor\n", Closed},
      {SOLVE, "--help", 0, "", Captured, "", "Usage: arrowgrid-solve [OPTION]... WORD WORD...\n",
       "--words --exhaustive --time-limit --jobs --json --quiet --version"},
      {SOLVE, "--version", 0, "", Captured, "", "arrowgrid-solve " + VERSION + "\n"},
      {SOLVE, "--help", 1, "arrowgrid-solve: write error: No space left on device\n", FullDisk},
      {SOLVE, "--version", 1, "arrowgrid-solve: write error: Bad file descriptor\n", Closed},
      {SOLVE, "chat ch!en --json @/grille.json", 2,
       "arrowgrid-solve: argument 2: word 'ch!en': '!' (U+0021) is not a letter or a hyphen\n"},
      {SOLVE, "chat", 2, "arrowgrid-solve: 1 word given; at least 2 are needed\n"},
      {SOLVE, "--jobs zero a b", 2,
       "arrowgrid-solve: --jobs: 'zero' is not a whole number from 1 to 256\n" + TRY_SOLVE},
      // Refused before the search, not after it with one format written.
      {SOLVE, "AB BC CA --png @/g --title " + std::string(201, 'T'), 2,
       "arrowgrid-solve: --title: 201 characters; at most 200 fit above a grid\n" + TRY_SOLVE},
      {SOLVE, "AB BC CA --png @/g --pdf @/g --title Grille_\xE9t\xE9", 2,
       "arrowgrid-solve: --title: byte 0xE9 at offset 7 is not valid UTF-8\n" + TRY_SOLVE},
      {SOLVE, "--words - --json @/grille.json", 2,
       "arrowgrid-solve: standard input:2: word 'chi en': ' ' (U+0020) is not a letter or a hyphen\n",
       Captured, "chat\nchi en\n"},
      // The list on standard input, a file here, not replaced by the puzzle.
      {SOLVE, "--words - --ipuz /dev/stdin", 2,
       "arrowgrid-solve: --ipuz /dev/stdin: the same file as --words - (standard input)\n", Captured,
       "chat\nchien\n"},
  };
  for (const Case& c : cases) {
    TemporaryFolder folder;
    std::istringstream arguments(folder.inside(c.arguments)), pieces(c.pieces);
    const BinaryRun run =
        runProgram(c.binary, c.input, 30, {std::istream_iterator<std::string>(arguments), {}}, 0, c.target);
    const std::string shown = c.binary + " " + c.arguments.substr(0, 40) + "\n" + run.standardOutput;
    EXPECT_TRUE(run.exitStatus == c.status && run.standardError == folder.inside(c.error))
        << shown << run.standardError;
    EXPECT_EQ(c.pieces.empty() ? run.standardOutput : run.standardOutput.substr(0, c.output.size()), c.output)
        << shown;
    for (std::string piece; pieces >> piece;)
      EXPECT_NE(run.standardOutput.find(piece), std::string::npos) << piece;
    EXPECT_TRUE(folder.names().empty()) << shown;
  }
}

}  // namespace
}  // namespace arrowgrid::test_support
