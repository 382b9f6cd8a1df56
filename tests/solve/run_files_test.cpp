// Outputs that would overwrite the word list or each other, found as files
// before the search, whatever the spelling of their paths.
#include "solve/run_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <tuple>

#include "support/binary_run.h"
#include "support/temporary_folder.h"

namespace arrowgrid {
using namespace test_support;
namespace {

TEST(RunFiles, OutputsThatAreTheWordListOrEachOtherAreNamed) {
  // Paths are in a fresh folder ("@" stands for it); mots.tsv and grille.json
  // are there, with the folder "sub", a pipe, a link to mots.tsv and one to
  // nothing.
  struct Case {
    std::string words;  // --words; "": words on the command line
    std::string json;   // "": not asked for
    std::string ipuz;
    std::string pdf;  // the prefix
    std::string svg;
    std::string expected;  // "": accepted
  };
  const Case cases[] = {
      {"@/mots.tsv", "@/mots.tsv", "", "", "", "--json @/mots.tsv: the same file as --words @/mots.tsv"},
      {"@/mots.tsv", "", "@/./mots.tsv", "", "", "--ipuz @/./mots.tsv: the same file as --words @/mots.tsv"},
      {"@/mots.tsv", "@/lien", "", "", "", "--json @/lien: the same file as --words @/mots.tsv"},
      {"@/sub/../mots.tsv", "", "@/mots.tsv", "", "",
       "--ipuz @/mots.tsv: the same file as --words @/sub/../mots.tsv"},
      // Not there yet: the same name in the same folder.
      {"", "@/neuf.json", "@/sub/../neuf.json", "", "",
       "--ipuz @/sub/../neuf.json: the same file as --json @/neuf.json"},
      {"", "@/x-grille.pdf", "", "@/sub/../x", "", "--pdf @/sub/../x-grille.pdf: the same file as --json @/x-grille.pdf"},
      {"", "", "@/x-solution.svg", "", "@/x", "--svg @/x-solution.svg: the same file as --ipuz @/x-solution.svg"},
      {"@/mots.tsv", "@/grille.json", "@/grille.ipuz", "@/x", "@/x", ""},
      {"@/mots.tsv", "-", "", "", "", ""},
      // A dangling link is replaced, not followed: another file than its target.
      {"", "@/perdu", "@/nulle-part.json", "", "", ""},
      // Written into, not replaced; a folder not there is refused later, for what it is.
      {"@/mots.tsv", "@/tube", "@/tube", "", "", ""},
      {"", "@/absent/a.json", "@/absent/../a.json", "", "", ""},
  };
  for (const Case& c : cases) {
    TemporaryFolder folder;
    std::ofstream(folder.file("mots.tsv")) << "chat\nchien\n";
    std::ofstream(folder.file("grille.json")) << "{}\n";
    ASSERT_EQ(mkdir(folder.file("sub").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo(folder.file("tube").c_str(), 0600), 0);
    ASSERT_EQ(symlink("mots.tsv", folder.file("lien").c_str()), 0);
    ASSERT_EQ(symlink("nulle-part.json", folder.file("perdu").c_str()), 0);
    const auto inFolder = [&](std::string text) {
      for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1))
        text.replace(at, 1, folder.path);
      return text;
    };
    SolveOptions options;
    options.wordsFromFile = !c.words.empty();
    options.wordsFile = inFolder(c.words);
    options.json = !c.json.empty();
    options.jsonFile = inFolder(c.json);
    options.ipuzFile = inFolder(c.ipuz);
    options.pdfPrefix = inFolder(c.pdf);
    options.svgPrefix = inFolder(c.svg);
    EXPECT_EQ(sameFileProblem(runFiles(options)), inFolder(c.expected)) << c.expected;
  }
}

// The whole program: the list given on standard input, refused before it is
// read, left whole.
TEST(RunFiles, TheWordListOnStandardInputIsNotReplaced) {
  TemporaryFolder folder;
  const std::string list = folder.file("mots.tsv");
  std::ofstream(list) << "chat\tFélin\nchien\tCanidé\n";
  const BinaryRun run = runProgram("/bin/sh", "", 60,
                                   {"-c", "exec \"$0\" --words - --ipuz \"$1\" < \"$1\"",
                                    ARROWGRID_SOLVE_BINARY, list});
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.standardError, "arrowgrid-solve: --ipuz " + list +
                                   ": the same file as --words - (standard input)\n");
  EXPECT_EQ(fileContent(list), "chat\tFélin\nchien\tCanidé\n");
}

// Grid 1 keeps today's names; the others take their number before the
// extension, and join the files checked against each other.
TEST(RunFiles, EveryGridToChooseFromHasItsNumberedFiles) {
  const std::tuple<const char*, int32_t, const char*> names[] = {
      {"puzzle.ipuz", 1, "puzzle.ipuz"},         {"puzzle.ipuz", 2, "puzzle-2.ipuz"},
      {"out/puzzle.v1.ipuz", 12, "out/puzzle.v1-12.ipuz"}, {"notes", 3, "notes-3"},
      {"out.d/notes", 2, "out.d/notes-2"},       {".ipuz", 2, ".ipuz-2"},
  };
  for (const auto& [file, number, expected] : names) EXPECT_EQ(candidateFile(file, number), expected) << file;
  EXPECT_EQ(candidatePrefix("x", 1), "x");
  EXPECT_EQ(candidatePrefix("x", 2), "x-2");

  SolveOptions options;
  options.ipuzFile = "g.ipuz";
  options.svgPrefix = "grid";
  options.jsonFile = "g-2.ipuz";
  options.json = true;
  EXPECT_EQ(sameFileProblem(runFiles(options)), "");
  options.candidates = 2;
  EXPECT_EQ(sameFileProblem(runFiles(options)), "--ipuz g-2.ipuz: the same file as --json g-2.ipuz");
  options.jsonFile = "grid-2-solution.svg";
  EXPECT_EQ(sameFileProblem(runFiles(options)),
            "--svg grid-2-solution.svg: the same file as --json grid-2-solution.svg");
}

}  // namespace
}  // namespace arrowgrid
