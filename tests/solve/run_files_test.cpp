// Outputs that would overwrite the word list or each other, found as files
// before the search, whatever the spelling of their paths.
#include "solve/run_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>

#include "programs/solve_command_line.h"
#include "support/temporary_folder.h"

namespace arrowgrid {
using namespace test_support;
namespace {

TEST(RunFiles, OutputsThatAreTheWordListOrEachOtherAreNamed) {
  // "@" is a fresh folder holding mots.tsv, the folder sub, a pipe, a link to
  // mots.tsv and a link to nothing. A command line, and its refusal ("": none).
  const std::pair<std::string, std::string> cases[] = {
      {"--words @/mots.tsv --ipuz @/./mots.tsv", "--ipuz @/./mots.tsv: the same file as --words @/mots.tsv"},
      {"--words @/mots.tsv --html @/./mots.tsv", "--html @/./mots.tsv: the same file as --words @/mots.tsv"},
      {"--words @/sub/../mots.tsv --json @/lien",
       "--json @/lien: the same file as --words @/sub/../mots.tsv"},
      // Not there yet: the same name in the same folder.
      {"AB BC --json @/x-grille.pdf --pdf @/sub/../x",
       "--pdf @/sub/../x-grille.pdf: the same file as --json @/x-grille.pdf"},
      {"--words @/mots.tsv --json @/x.json --ipuz @/x.ipuz --pdf @/x --svg @/x --png @/x", ""},
      // A dangling link is replaced, not followed; a pipe is written into, not
      // replaced; a folder not there is refused later, for what it is.
      {"AB BC --json @/perdu --ipuz @/nulle-part.json", ""},
      {"--words @/mots.tsv --json @/tube --ipuz @/tube", ""},
      {"AB BC --json @/absent/a.json --ipuz @/absent/../a.json", ""},
      // Grids to choose from: the others' numbered files join the check.
      {"AB BC --ipuz @/g.ipuz --svg @/grid --json @/g-2.ipuz", ""},
      {"AB BC --ipuz @/g.ipuz --json @/g-2.ipuz --candidates 2",
       "--ipuz @/g-2.ipuz: the same file as --json @/g-2.ipuz"},
      {"AB BC --svg @/grid --json @/grid-2-solution.svg --candidates 2",
       "--svg @/grid-2-solution.svg: the same file as --json @/grid-2-solution.svg"},
  };
  for (const auto& [line, expected] : cases) {
    TemporaryFolder folder;
    std::ofstream(folder.file("mots.tsv")) << "chat\nchien\n";
    ASSERT_TRUE(mkdir(folder.file("sub").c_str(), 0755) == 0 &&
                mkfifo(folder.file("tube").c_str(), 0600) == 0 &&
                symlink("mots.tsv", folder.file("lien").c_str()) == 0 &&
                symlink("nulle-part.json", folder.file("perdu").c_str()) == 0);
    std::istringstream split("arrowgrid-solve " + folder.inside(line));
    std::vector<std::string> words{std::istream_iterator<std::string>(split), {}};
    std::vector<const char*> arguments;
    for (const std::string& word : words) arguments.push_back(word.c_str());
    const SolveOptions options = parseSolveCommandLine(int(arguments.size()), arguments.data()).options;
    EXPECT_EQ(sameFileProblem(runFiles(options)), folder.inside(expected)) << line;
  }
}

// Grid 1 keeps today's names; the others take their number before the
// extension.
TEST(RunFiles, EveryGridToChooseFromHasItsNumberedFiles) {
  // Grid 1's names and a plain extension are in the binary run's files.
  const std::tuple<const char*, int32_t, const char*> names[] = {
      {"out/puzzle.v1.ipuz", 12, "out/puzzle.v1-12.ipuz"}, {"notes", 3, "notes-3"},
      {"out.d/notes", 2, "out.d/notes-2"}, {".ipuz", 2, ".ipuz-2"}};
  for (const auto& [file, number, expected] : names) EXPECT_EQ(candidateFile(file, number), expected) << file;
}

}  // namespace
}  // namespace arrowgrid
