// Outputs that would overwrite the word list or each other, found as files
// before the search, whatever the spelling of their paths.
#include "solve/run_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "support/temporary_folder.h"

namespace arrowgrid {
using namespace test_support;
namespace {

TEST(RunFiles, OutputsThatAreTheWordListOrEachOtherAreNamed) {
  // "@" is a fresh folder holding mots.tsv, the folder sub, a pipe, a link
  // to mots.tsv and a link to nothing.
  struct Case {
    std::string words, json, ipuz, pdf;  // --words, --json, --ipuz, --pdf's prefix; "": not given
    std::string expected;                // "": accepted
  };
  const Case cases[] = {
      {"@/mots.tsv", "@/mots.tsv", "", "", "--json @/mots.tsv: the same file as --words @/mots.tsv"},
      {"@/mots.tsv", "", "@/./mots.tsv", "", "--ipuz @/./mots.tsv: the same file as --words @/mots.tsv"},
      {"@/sub/../mots.tsv", "@/lien", "", "", "--json @/lien: the same file as --words @/sub/../mots.tsv"},
      // Not there yet: the same name in the same folder.
      {"", "@/x-grille.pdf", "", "@/sub/../x",
       "--pdf @/sub/../x-grille.pdf: the same file as --json @/x-grille.pdf"},
      {"@/mots.tsv", "@/g.json", "@/g.ipuz", "@/g", ""},
      // A dangling link is replaced, not followed; a pipe is written into, not
      // replaced; a folder not there is refused later, for what it is.
      {"", "@/perdu", "@/nulle-part.json", "", ""},
      {"@/mots.tsv", "@/tube", "@/tube", "", ""},
      {"", "@/absent/a.json", "@/absent/../a.json", "", ""},
  };
  for (const Case& c : cases) {
    TemporaryFolder folder;
    std::ofstream(folder.file("mots.tsv")) << "chat\nchien\n";
    ASSERT_TRUE(mkdir(folder.file("sub").c_str(), 0755) == 0 &&
                mkfifo(folder.file("tube").c_str(), 0600) == 0 &&
                symlink("mots.tsv", folder.file("lien").c_str()) == 0 &&
                symlink("nulle-part.json", folder.file("perdu").c_str()) == 0);
    const auto in = [&](std::string text) {
      for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1))
        text.replace(at, 1, folder.path);
      return text;
    };
    SolveOptions options;
    options.wordsFromFile = !c.words.empty();
    options.wordsFile = in(c.words);
    options.json = !c.json.empty();
    options.jsonFile = in(c.json);
    options.ipuzFile = in(c.ipuz);
    options.pdfPrefix = in(c.pdf);
    EXPECT_EQ(sameFileProblem(runFiles(options)), in(c.expected)) << c.expected;
  }
}

}  // namespace
}  // namespace arrowgrid
