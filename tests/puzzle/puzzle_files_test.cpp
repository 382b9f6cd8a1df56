// A solved grid as a puzzle: its words read back from the arrows, the ipuz
// document's cells, numbers and clue locations, and the JSON's clues.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "puzzle/ipuz_writer.h"
#include "puzzle/puzzle_words.h"
#include "solve/result_json.h"
#include "search/proof_search.h"
#include "support/temporary_folder.h"

namespace arrowgrid {
namespace {

// AMI ETE OSE CAR ERE: the proven grid has a cell that starts two words.
//   . . . . ↓ . . .      row 0
//   . . . . C . . .      row 1
//   . . . ↘ A M I ■      row 2
//   . . → E R E ■ .      row 3
//   . . . T ■ . . .      row 4
//   → O S E ■ . . .      row 5
//   . . . ■ . . . .      row 6
struct SolvedFive {
  WordList words;
  std::vector<std::string> clues{"", "Compagnon", "", "N'a pas peur", "Autocar", "Époque"};
  SolveResult result;
  SolvedFive() {
    words.wordCount = 5;
    const char* texts[] = {"AMI", "ETE", "OSE", "CAR", "ERE"};
    for (int32_t w = 1; w <= 5; ++w) words.words[static_cast<size_t>(w)] = texts[w - 1];
    SolveControl control;
    result = solveArrangement(words, SolveSettings{}, control);
  }
};

TEST(PuzzleFiles, ArrowsGiveBackThePlacedWordsWithTheirClues) {
  const SolvedFive five;
  std::vector<WordText> list;
  for (int32_t w = 1; w <= 5; ++w)
    list.push_back(WordText{std::string(five.words.words[static_cast<size_t>(w)]), "list",
                            five.clues[static_cast<size_t>(w)]});
  list[0].text = "ami";  // folded before it is looked up
  std::string error;
  const GridPuzzle read = puzzleOfGrid(five.result.evaluation.grid, cluesByWord(list, error));
  ASSERT_EQ(error, "");
  ASSERT_EQ(read.placements.size(), five.result.rows.size());
  for (const Placement& row : std::vector(five.result.rows.begin() + 1, five.result.rows.end())) {
    const auto found = std::find_if(read.placements.begin(), read.placements.end(), [&](const Placement& r) {
      return r.x == row.x && r.y == row.y && r.direction == row.direction;
    });
    ASSERT_NE(found, read.placements.end());
    const auto number = static_cast<size_t>(found->wordNumber);
    EXPECT_EQ(read.words.words[number], five.words.words[static_cast<size_t>(row.wordNumber)]);
    EXPECT_EQ(read.clues[number], five.clues[static_cast<size_t>(row.wordNumber)]);
  }
  list[1].text = "été!";
  cluesByWord(list, error);
  EXPECT_EQ(error, "list: word 'été!': '!' (U+0021) is not a letter or a hyphen");
}

TEST(PuzzleFiles, IpuzCellsNumbersAndClueLocations) {
  const SolvedFive five;
  const IpuzPuzzle puzzle{
      five.result.evaluation.grid, five.result.rows, five.words, five.clues, "Titre", "", ""};
  std::string error;
  const auto ipuz = nlohmann::json::parse(ipuzText(puzzle, error));
  ASSERT_EQ(error, "");
  EXPECT_EQ(ipuz["puzzle"][2][3],
            nlohmann::json::parse(R"({"cell": "#", "style": {"color": "D1D1D1", "divided": "-"}})"));
  EXPECT_EQ(ipuz["puzzle"][0][4]["style"].count("divided"), 0u);
  EXPECT_EQ(ipuz["puzzle"][1][4], 1);  // C of CAR, first in reading order
  EXPECT_EQ(ipuz["puzzle"][2][4], 2);  // A of AMI
  EXPECT_EQ(ipuz["puzzle"][3][3], 3);  // E of ERE and of ETE
  EXPECT_EQ(ipuz["puzzle"][3][5], 0);
  EXPECT_EQ(ipuz["puzzle"][2][7], "#");
  EXPECT_EQ(ipuz["solution"][3][5], "E");
  EXPECT_EQ(ipuz["solution"][0][0], nullptr);
  EXPECT_EQ(ipuz["title"], "Titre");
  EXPECT_EQ(ipuz.count("author"), 0u);
  EXPECT_EQ(ipuz["clues"]["Across"], nlohmann::json::parse(R"([
      {"number": 2, "clue": "Compagnon", "answer": "AMI", "location": [3, 2]},
      {"number": 3, "clue": "Époque", "answer": "ERE", "location": [2, 3]},
      {"number": 4, "clue": "N'a pas peur", "answer": "OSE", "location": [0, 5]}])"));
  EXPECT_EQ(ipuz["clues"]["Down"], nlohmann::json::parse(R"([
      {"number": 1, "clue": "Autocar", "answer": "CAR", "location": [4, 0]},
      {"number": 3, "clue": "", "answer": "ETE", "location": [3, 2]}])"));

  // The same in the JSON answer: each placement's clue, each arrow cell's.
  const auto json = nlohmann::json::parse(resultJsonText(five.result, five.words, five.clues));
  for (const auto& placement : json["placements"]) {
    const std::string& clue = five.clues[placement["word"].get<size_t>()];
    EXPECT_EQ(placement["clue"], clue.empty() ? nlohmann::json() : nlohmann::json(clue));
  }
  const auto& both = json["cells"][2][3]["clues"];
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0]["direction"], "right");
  EXPECT_EQ(both[0]["clue"], "Compagnon");
  EXPECT_EQ(both[1]["direction"], "down");
  EXPECT_EQ(both[1]["clue"], nullptr);
}

TEST(PuzzleFiles, IpuzRefusalsNameTheFile) {
  const SolvedFive five;
  test_support::TemporaryFolder folder;
  const IpuzPuzzle puzzle{five.result.evaluation.grid, five.result.rows, five.words, five.clues, "", "", ""};
  EXPECT_EQ(writeIpuzFile(puzzle, folder.file("none/grid.ipuz")),
            "cannot write " + folder.file("none/grid.ipuz") + ": No such file or directory");
  EXPECT_EQ(writeIpuzFile(puzzle, folder.file("grid.ipuz")), "");
  std::string error;
  EXPECT_EQ(test_support::fileContent(folder.file("grid.ipuz")), ipuzText(puzzle, error));

  Grid huge;
  huge.box = GridBox{0, 1999, 0, 999, 2000, 1000};
  huge.dense = false;
  const IpuzPuzzle large{huge, five.result.rows, five.words, five.clues, "", "", ""};
  EXPECT_EQ(writeIpuzFile(large, folder.file("huge.ipuz")),
            "cannot write " + folder.file("huge.ipuz") +
                ": a grid of 2000 x 1000 cells is too large for an ipuz file (at most 1048576 cells)");
  EXPECT_EQ(folder.names(), std::vector<std::string>{"grid.ipuz"});
}

}  // namespace
}  // namespace arrowgrid
