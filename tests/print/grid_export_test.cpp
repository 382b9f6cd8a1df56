// Numbering of the exported grids: growing over the run, per kind, past any
// file already in the folder.
#include "print/grid_export.h"

#include <gtest/gtest.h>

#include <fstream>

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
  EXPECT_NE(test_support::fileContent(folder.file("grille-001.ipuz")).find("\"clue\": \"Article\""),
            std::string::npos);
  // And the page that plays it, under the same number.
  EXPECT_NE(test_support::fileContent(folder.file("grille-001.html")).find("\"clue\": \"Article\""),
            std::string::npos);
  EXPECT_EQ(exportFileName(GridContent::Solution, 1234, PrintFormat::Png), "grille-complete-1234.png");
}

}  // namespace
}  // namespace arrowgrid
