// The puzzle page as written: the ipuz document embedded whole, outside text
// that cannot break out of its place, a policy that forbids the network, and
// clues broken where French hyphenation allows. Playing it is the browser
// test's part (puzzle_page_browser.sh).
#include "page/puzzle_page.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "print/print_options.h"
#include "print/text_setting.h"
#include "puzzle/puzzle_words.h"
#include "support/hand_grid.h"
#include "support/temporary_folder.h"

namespace arrowgrid {
namespace {

constexpr std::string_view PUZZLE_START = R"(<script type="application/json" id="puzzle">)";

struct PageText {
  std::string text, error;
  std::string ipuz;  // the puzzle's ipuz document, for comparison
};

// LE across with EN down through its E, each with its clue.
PageText pageOf(const std::string& title, const std::string& author, const std::string& copyright,
                const std::string& clue, bool hyphenated = false) {
  const GridPuzzle grid = puzzleOfGrid(test_support::leEnGrid(), {{"LE", clue}, {"EN", "Dans"}});
  const std::vector<std::string> broken =
      hyphenated ? withHyphenationPoints(PrintFiles{}.hyphenation, grid.clues) : std::vector<std::string>{};
  const IpuzPuzzle puzzle{test_support::leEnGrid(), grid.placements, grid.words, grid.clues,
                          title, author, copyright};
  PageText page;
  page.text = puzzlePageText(PuzzlePage{puzzle, broken}, page.error);
  page.ipuz = ipuzText(puzzle, page.error);
  return page;
}

size_t count(const std::string& text, std::string_view part) {
  size_t found = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
  return found;
}

// The JSON of the data block that starts with start, its \u escapes read.
nlohmann::json dataBlock(const std::string& page, std::string_view start) {
  const size_t from = page.find(start) + start.size();
  return nlohmann::json::parse(page.substr(from, page.find("</script>", from) - from));
}

TEST(PuzzlePage, EmbedsTheIpuzDocumentWhole) {
  const PageText page = pageOf("Deux mots", "Moi", "© 2026", "Article");
  ASSERT_EQ(page.error, "");
  EXPECT_EQ(dataBlock(page.text, PUZZLE_START), nlohmann::json::parse(page.ipuz));
}

// Text from outside in every place it reaches the page, hostile or plain.
struct OutsideTextCase {
  const char* place;
  std::string title, author, copyright, clue;
  std::string shown;  // what the page must hold for it
};

TEST(PuzzlePage, OutsideTextStaysText) {
  const std::string hostile = "</script><script>alert(1)</script><img src=x onerror=alert(2)>";
  const std::vector<OutsideTextCase> cases = {
      {"title", hostile, "", "", "Article", "<title>&lt;/script&gt;&lt;script&gt;alert(1)"},
      {"author", "T", hostile + " & \"co\"", "", "Article",
       "<p class=\"author\">&lt;/script&gt;&lt;script&gt;alert(1)&lt;/script&gt;&lt;img src=x onerror=alert(2)&gt; "
       "&amp; &quot;co&quot;</p>"},
      {"copyright", "T", "", hostile, "Article", "<p class=\"copyright\">&lt;/script&gt;"},
      {"clue", "T", "", "", hostile, R"(\u003c/script\u003e\u003cscript\u003ealert(1))"},
  };
  for (const OutsideTextCase& c : cases) {
    SCOPED_TRACE(c.place);
    const PageText page = pageOf(c.title, c.author, c.copyright, c.clue);
    ASSERT_EQ(page.error, "");
    EXPECT_NE(page.text.find(c.shown), std::string::npos);
    EXPECT_EQ(page.text.find("<script>alert"), std::string::npos);
    EXPECT_EQ(page.text.find("<img"), std::string::npos);
    // The two data blocks and the page's own script: no other element opens or closes.
    EXPECT_EQ(count(page.text, "<script"), 3u);
    EXPECT_EQ(count(page.text, "</script>"), 3u);
  }
  // The clue comes back as it was given.
  const PageText page = pageOf("T", "", "", hostile);
  EXPECT_EQ(dataBlock(page.text, PUZZLE_START)["clues"]["Across"][0]["clue"], hostile);
}

TEST(PuzzlePage, ForbidsTheNetworkAndLoadsNothing) {
  const PageText page = pageOf("T", "", "", "Article");
  const size_t policy = page.text.find(R"(<meta http-equiv="Content-Security-Policy" content="default-src 'none';)");
  ASSERT_NE(policy, std::string::npos);
  const std::string line = page.text.substr(policy, page.text.find('>', policy) - policy);
  EXPECT_NE(line.find("script-src 'sha256-"), std::string::npos);
  EXPECT_NE(line.find("style-src 'sha256-"), std::string::npos);
  EXPECT_EQ(line.find("unsafe"), std::string::npos);
  for (const std::string_view fetching : {" src=", " href=", "<link", "@import", "url("})
    EXPECT_EQ(page.text.find(fetching), std::string::npos) << fetching;
  EXPECT_EQ(page.text.find("%%"), std::string::npos);  // every field filled
}

// Clue breaks from the print's French hyphenation, by clue text; a clue
// without a break point is not repeated.
TEST(PuzzlePage, CluesBrokenWhereFrenchHyphenationAllows) {
  const std::string soft = "\xC2\xAD";
  const std::vector<std::string> broken =
      withHyphenationPoints(PrintFiles{}.hyphenation, {"", "Petit félin domestique", "Dans"});
  EXPECT_EQ(broken[1], "Petit félin do" + soft + "mes" + soft + "tique");
  EXPECT_EQ(broken[2], "Dans");
  EXPECT_EQ(withHyphenationPoints("/nonexistent/hyph_fr.dic", {"domestique"})[0], "domestique");

  const PageText page = pageOf("T", "", "", "Petit félin domestique", true);
  EXPECT_EQ(dataBlock(page.text, R"(<script type="application/json" id="clue-breaks">)"),
            (nlohmann::json{{"Petit félin domestique", broken[1]}}));
}

TEST(PuzzlePage, WrittenWholeOrNotAtAll) {
  test_support::TemporaryFolder folder;
  const GridPuzzle grid = puzzleOfGrid(test_support::leEnGrid(), {});
  const IpuzPuzzle puzzle{test_support::leEnGrid(), grid.placements, grid.words, grid.clues, "", "", ""};
  const std::vector<std::string> none;
  EXPECT_EQ(writePuzzlePage(PuzzlePage{puzzle, none}, folder.file("page.html")), "");
  EXPECT_NE(test_support::fileContent(folder.file("page.html")).find("<title>Mots fléchés</title>"),
            std::string::npos);
  EXPECT_EQ(writePuzzlePage(PuzzlePage{puzzle, none}, folder.file("page.html"), ExistingFile::Keep),
            "cannot write " + folder.file("page.html") + ": File exists");
  EXPECT_EQ(folder.names(), std::vector<std::string>{"page.html"});
}

}  // namespace
}  // namespace arrowgrid
