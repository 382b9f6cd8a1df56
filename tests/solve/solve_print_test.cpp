// arrowgrid-solve --pdf/--svg/--png: the puzzle and the solution of its
// answer as files, and the refusals that leave nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "support/binary_run.h"
#include "support/temporary_folder.h"

namespace arrowgrid {
using namespace test_support;

namespace {

BinaryRun solve(const std::vector<std::string>& arguments) {
  return runProgram(ARROWGRID_SOLVE_BINARY, "", 60, arguments);
}

TEST(SolvePrint, EachFormatWritesThePuzzleAndTheSolution) {
  TemporaryFolder folder;
  const std::string prefix = folder.file("abc");
  const BinaryRun run = solve({"--quiet", "--pdf", prefix, "--svg", prefix, "--png", prefix, "--page",
                               "letter", "--title", "Trois mots", "AB", "BC", "CA"});
  EXPECT_EQ(run.exitStatus, 0) << run.standardError;
  EXPECT_EQ(folder.names(),
            (std::vector<std::string>{"abc-grille.pdf", "abc-grille.png", "abc-grille.svg",
                                      "abc-solution.pdf", "abc-solution.png", "abc-solution.svg"}));
  EXPECT_EQ(fileContent(folder.file("abc-grille.pdf")).substr(0, 5), "%PDF-");
  EXPECT_EQ(fileContent(folder.file("abc-solution.png")).substr(1, 3), "PNG");
  // Both carry the title; only the solution the letters' glyphs too.
  auto glyphUses = [](const std::string& svg) {
    size_t count = 0;
    for (size_t at = svg.find("#glyph"); at != std::string::npos; at = svg.find("#glyph", at + 1)) ++count;
    return count;
  };
  const size_t puzzleUses = glyphUses(fileContent(folder.file("abc-grille.svg")));
  EXPECT_GT(puzzleUses, 0u);  // the title
  // One more glyph for each of the four letter cells: A B on the first row, C A on the second.
  EXPECT_EQ(glyphUses(fileContent(folder.file("abc-solution.svg"))), puzzleUses + 4);
  int status = 0;
  const std::string info = commandOutput("pdfinfo '" + folder.file("abc-solution.pdf") + "'", status);
  EXPECT_NE(info.find("612 x 792"), std::string::npos) << info;  // US letter
}

// A clue too long for its cell even at the smallest size is listed under
// the grid, and said once on standard error, not once a file.
TEST(SolvePrint, AClueThatDoesNotFitIsSaidOnceOnStandardError) {
  TemporaryFolder folder;
  const std::string clue(190, 'x');  // one word: no space or hyphen to break at
  std::ofstream(folder.file("mots.tsv")) << "AB\t" << clue << "\nBC\tCourt\nCA\tAussi court\n";
  const BinaryRun run = solve(
      {"--quiet", "--words", folder.file("mots.tsv"), "--pdf", folder.file("p"), "--svg", folder.file("p")});
  EXPECT_EQ(run.exitStatus, 0) << run.standardError;
  EXPECT_EQ(run.standardError,
            "arrowgrid-solve: 1 of 3 clues did not fit their cells (16.0 mm cells on a4, at 5 pt or more): "
            "listed under the grid; 1 too long even for a 16 mm cell\n");
}

// Every clue of a 25-word list at 6 pt or more, read back from the PDF: a
// word's box is the font's ascent and descent, 1.164 of its size in DejaVu.
// The clues that go to the list are said in one line.
TEST(SolvePrint, MinClueSizeHoldsInTheCellsAndInTheList) {
  TemporaryFolder folder;
  const BinaryRun run = solve({"--quiet", "--time-limit", "1", "-j", "1", "--words",
                               ARROWGRID_BENCH_LISTS "/school-25-clues.tsv", "--min-clue-size", "6", "--pdf",
                               folder.file("p")});
  EXPECT_EQ(run.exitStatus, 0) << run.standardError;
  int status = 0;
  const std::string words = commandOutput("pdftotext -bbox '" + folder.file("p-grille.pdf") + "' -", status);
  const std::regex word(R"re(yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">([^<]*)<)re");
  int32_t checked = 0;
  for (auto it = std::sregex_iterator(words.begin(), words.end(), word); it != std::sregex_iterator(); ++it) {
    if ((*it)[3].str().find_first_not_of("0123456789") == std::string::npos) continue;  // a number in its cell
    EXPECT_GE((std::stod((*it)[2]) - std::stod((*it)[1])) / 1.164, 6 - 0.01) << (*it)[3];
    ++checked;
  }
  EXPECT_GT(checked, 100);
  const bool listed = words.find("Horizontalement") != std::string::npos || words.find("Verticalement") != std::string::npos;
  EXPECT_EQ(run.standardError.find("clues did not fit their cells") != std::string::npos, listed) << run.standardError;
  EXPECT_EQ(std::count(run.standardError.begin(), run.standardError.end(), '\n'), listed ? 1 : 0);
}

TEST(SolvePrint, RefusalsWriteNothing) {
  TemporaryFolder folder;
  const BinaryRun missing = solve({"--quiet", "--png", folder.file("nowhere/abc"), "AB", "BC"});
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_TRUE(missing.standardOutput.empty());
  EXPECT_NE(missing.standardError.find("cannot write " + folder.file("nowhere/abc-grille.png")),
            std::string::npos)
      << missing.standardError;

  const BinaryRun alone = solve({"--quiet", "--dpi", "300", "AB", "BC"});
  EXPECT_EQ(alone.exitStatus, 2);
  const BinaryRun badPage = solve({"--quiet", "--pdf", folder.file("x"), "--page", "a5", "AB", "BC"});
  EXPECT_EQ(badPage.exitStatus, 2);
  EXPECT_TRUE(folder.names().empty());
}

}  // namespace
}  // namespace arrowgrid
