// Both programs, whole, on what their command lines answer without a search:
// help, version, and the refusals, each with its status, its streams, and
// nothing written to its folder.
#include <gtest/gtest.h>

#include "support/binary_run.h"
#include "support/temporary_folder.h"

namespace arrowgrid::test_support {
namespace {

const std::string TRY_GRID = "Try 'arrowgrid --help' for more information.\n";
const std::string TRY_SOLVE = "Try 'arrowgrid-solve --help' for more information.\n";

TEST(CommandLineBinary, HelpVersionAndRefusalsOfBothPrograms) {
  struct Case {
    const char* binary;
    std::vector<std::string> arguments;  // "@" stands for a fresh folder, which must stay empty
    int status;
    std::string error;  // standard error, whole
    std::string output = "";  // standard output, whole; its start when there are pieces
    std::vector<std::string> outputPieces = {};  // what else it holds (the options --help lists)
    OutputTarget target = OutputTarget::Captured;
    std::string input = "";
  };
  const std::string version = ARROWGRID_VERSION;
  const Case cases[] = {
      {ARROWGRID_BINARY, {"--help"}, 0, "", "Usage: arrowgrid [OPTION]...\n", {"--export DIR", "--page a4|letter|a3"}},
      {ARROWGRID_BINARY, {"--version"}, 0, "", "arrowgrid " + version + "\n"},
      {ARROWGRID_BINARY, {"--frobnicate"}, 2, "arrowgrid: --frobnicate: unknown option\n" + TRY_GRID},
      // No display in the test run: the window cannot be had, and says so.
      {ARROWGRID_BINARY, {"--window"}, 1,
       "arrowgrid: --window: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)\n"},
      // The reason is the failed open's, not whatever errno holds later.
      {ARROWGRID_BINARY, {"--export", "@", "--clues", "@/missing.tsv"}, 2,
       "arrowgrid: @/missing.tsv: No such file or directory\n"},
      {ARROWGRID_BINARY, {"--help"}, 1, "arrowgrid: write error: No space left on device\n", "", {},
       OutputTarget::FullDisk},
      {ARROWGRID_BINARY, {"--version"}, 1, "arrowgrid: write error: Bad file descriptor\n", "", {},
       OutputTarget::Closed},
      {ARROWGRID_SOLVE_BINARY, {"--help"}, 0, "", "Usage: arrowgrid-solve [OPTION]... WORD WORD...\n",
       {"--words", "--exhaustive", "--time-limit", "--jobs", "--json", "--quiet", "--version"}},
      {ARROWGRID_SOLVE_BINARY, {"--version"}, 0, "", "arrowgrid-solve " + version + "\n"},
      {ARROWGRID_SOLVE_BINARY, {"--help"}, 1, "arrowgrid-solve: write error: No space left on device\n", "", {},
       OutputTarget::FullDisk},
      {ARROWGRID_SOLVE_BINARY, {"--version"}, 1, "arrowgrid-solve: write error: Bad file descriptor\n", "", {},
       OutputTarget::Closed},
      {ARROWGRID_SOLVE_BINARY, {"chat", "ch!en", "--json", "@/grille.json"}, 2,
       "arrowgrid-solve: argument 2: word 'ch!en': '!' (U+0021) is not a letter or a hyphen\n"},
      {ARROWGRID_SOLVE_BINARY, {"chat"}, 2, "arrowgrid-solve: 1 word given; at least 2 are needed\n"},
      {ARROWGRID_SOLVE_BINARY, {"--jobs", "zero", "a", "b"}, 2,
       "arrowgrid-solve: --jobs: 'zero' is not a whole number from 1 to 256\n" + TRY_SOLVE},
      // Refused before the search, not after it with one format written.
      {ARROWGRID_SOLVE_BINARY, {"AB", "BC", "CA", "--png", "@/g", "--title", std::string(201, 'T')}, 2,
       "arrowgrid-solve: --title: 201 characters; at most 200 fit above a grid\n" + TRY_SOLVE},
      {ARROWGRID_SOLVE_BINARY, {"AB", "BC", "CA", "--png", "@/g", "--pdf", "@/g", "--title", "Grille \xE9t\xE9"},
       2, "arrowgrid-solve: --title: byte 0xE9 at offset 7 is not valid UTF-8\n" + TRY_SOLVE},
      {ARROWGRID_SOLVE_BINARY, {"--words", "-", "--json", "@/grille.json"}, 2,
       "arrowgrid-solve: standard input:2: word 'chi en': ' ' (U+0020) is not a letter or a hyphen\n", "", {},
       OutputTarget::Captured, "chat\nchi en\n"},
      {ARROWGRID_SOLVE_BINARY, {"AB", "BC", "--json", "@/g-grille.svg", "--svg", "@/g"}, 2,
       "arrowgrid-solve: --svg @/g-grille.svg: the same file as --json @/g-grille.svg\n"},
  };
  for (const Case& c : cases) {
    TemporaryFolder folder;
    const auto inFolder = [&](std::string text) {
      for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + folder.path.size()))
        text.replace(at, 1, folder.path);
      return text;
    };
    std::vector<std::string> arguments;
    for (const std::string& argument : c.arguments) arguments.push_back(inFolder(argument));
    const BinaryRun run = runProgram(c.binary, c.input, 30, arguments, 0, c.target);
    const std::string shown = std::string(c.binary) + " " + (arguments.empty() ? "" : arguments[0]) + " ...";
    EXPECT_EQ(run.exitStatus, c.status) << shown;
    EXPECT_EQ(run.standardError, inFolder(c.error)) << shown;
    if (c.outputPieces.empty()) {
      EXPECT_EQ(run.standardOutput, c.output) << shown;
    }
    EXPECT_TRUE(run.standardOutput.starts_with(c.output)) << shown << "\n" << run.standardOutput;
    for (const std::string& piece : c.outputPieces)
      EXPECT_NE(run.standardOutput.find(piece), std::string::npos) << shown << ": " << piece;
    EXPECT_TRUE(folder.names().empty()) << shown;
  }
}

}  // namespace
}  // namespace arrowgrid::test_support
