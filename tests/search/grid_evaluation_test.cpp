// The reference evaluation: boxes, cells and counts of small arrangements,
// every row of the cell rules, rejection with its partial grid, and the
// sparse grid of very long words.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "search/grid_evaluation.h"
#include "search/search_test_support.h"

namespace arrowgrid {
using namespace test_support;
namespace {

using test_support::makeSearch;
using test_support::pushRow;
using CellMap = std::map<std::pair<int32_t, int32_t>, int32_t>;

// Every cell of the box equals expected (cells not listed are empty).
void expectCells(const Grid& grid, const CellMap& expected) {
  for (int32_t x = grid.box.xMin; x <= grid.box.xMax; ++x) {
    for (int32_t y = grid.box.yMin; y <= grid.box.yMax; ++y) {
      const auto found = expected.find({x, y});
      const int32_t want = found == expected.end() ? CELL_EMPTY : found->second;
      EXPECT_EQ(gridCell(grid, x, y), want) << "cell (" << x << ", " << y << ")";
    }
  }
}

void expectBox(const GridBox& box, int32_t xMin, int32_t xMax, int32_t yMin, int32_t yMax) {
  EXPECT_EQ(box.xMin, xMin);
  EXPECT_EQ(box.xMax, xMax);
  EXPECT_EQ(box.yMin, yMin);
  EXPECT_EQ(box.yMax, yMax);
  EXPECT_EQ(box.width, xMax - xMin + 1);
  EXPECT_EQ(box.height, yMax - yMin + 1);
}

TEST(GridEvaluation, FirstWordAlone) {
  auto search = makeSearch({"TABLE", "X"});
  EXPECT_EQ(evaluateArrangement(*search), EvaluationOutcome::Accepted);
  const GridEvaluation& e = search->evaluation;
  expectBox(e.grid.box, 0, 6, -1, 1);
  EXPECT_EQ(boxSurface(e.grid.box), 21);
  expectCells(e.grid, {{{0, 0}, 26},
                       {{1, 0}, 'T'},
                       {{2, 0}, 'A'},
                       {{3, 0}, 'B'},
                       {{4, 0}, 'L'},
                       {{5, 0}, 'E'},
                       {{6, 0}, 219}});
  EXPECT_EQ(e.crossings, 0);
  EXPECT_EQ(e.unwantedNeighbourhoods, 0);
  EXPECT_TRUE(search->state.extendFlag);
  EXPECT_EQ(search->state.placedCount, 1);
}

TEST(GridEvaluation, VerticalWordThroughTheFirst) {
  auto search = makeSearch({"ABC", "BD"});
  pushRow(*search, 2, 1, 1, 2);
  EXPECT_EQ(evaluateArrangement(*search), EvaluationOutcome::Accepted);
  const GridEvaluation& e = search->evaluation;
  expectBox(e.grid.box, 0, 4, -1, 2);
  EXPECT_EQ(boxSurface(e.grid.box), 20);
  expectCells(e.grid, {{{0, 0}, 26},
                       {{1, 0}, 65},
                       {{2, 0}, 66},
                       {{3, 0}, 67},
                       {{4, 0}, 219},
                       {{2, -1}, 25},
                       {{2, 1}, 68},
                       {{2, 2}, 219}});
  EXPECT_EQ(e.crossings, 1);
  EXPECT_EQ(e.unwantedNeighbourhoods, 0);
  EXPECT_TRUE(search->state.extendFlag);
}

TEST(GridEvaluation, ThreeWordsInBothShapes) {
  auto search = makeSearch({"AB", "BC", "CA"});
  pushRow(*search, 2, 1, 1, 2);  // BC down through the B
  pushRow(*search, 3, 1, 2, 2);  // CA across through the C
  EXPECT_EQ(evaluateArrangement(*search), EvaluationOutcome::Accepted);
  expectBox(search->evaluation.grid.box, 0, 4, -1, 2);
  expectCells(search->evaluation.grid, {{{0, 0}, 26},
                                        {{1, 0}, 65},
                                        {{2, 0}, 66},
                                        {{3, 0}, 219},
                                        {{2, -1}, 25},
                                        {{2, 1}, 67},
                                        {{2, 2}, 219},
                                        {{1, 1}, 26},
                                        {{3, 1}, 65},
                                        {{4, 1}, 219}});
  EXPECT_EQ(search->evaluation.crossings, 2);
  EXPECT_EQ(search->evaluation.unwantedNeighbourhoods, 0);

  search->state.placedCount = 2;
  pushRow(*search, 3, 2, 1, 1);  // CA down through the A: its C beside BC's arrow
  EXPECT_EQ(evaluateArrangement(*search), EvaluationOutcome::Accepted);
  expectBox(search->evaluation.grid.box, 0, 3, -2, 2);
  EXPECT_EQ(boxSurface(search->evaluation.grid.box), 20);
  EXPECT_EQ(gridCell(search->evaluation.grid, 1, -1), 'C');
  EXPECT_EQ(gridCell(search->evaluation.grid, 1, -2), 25);
  EXPECT_EQ(search->evaluation.crossings, 2);
  EXPECT_EQ(search->evaluation.unwantedNeighbourhoods, 0);
}

TEST(GridEvaluation, LetterAboveAnArrowCountsNothing) {
  auto search = makeSearch({"AB", "CA", "BC"});
  pushRow(*search, 2, 2, 1, 1);  // CA down through the A
  pushRow(*search, 3, 2, 2, 1);  // BC across through the C: its B above AB's arrow
  EXPECT_EQ(evaluateArrangement(*search), EvaluationOutcome::Accepted);
  expectBox(search->evaluation.grid.box, -1, 3, -2, 1);
  EXPECT_EQ(gridCell(search->evaluation.grid, 0, -1), 'B');
  EXPECT_EQ(gridCell(search->evaluation.grid, 0, 0), 26);
  EXPECT_EQ(search->evaluation.crossings, 2);
  EXPECT_EQ(search->evaluation.unwantedNeighbourhoods, 0);
}

TEST(GridEvaluation, WordCrossingTwoWordsAndTouchingOne) {
  auto search = makeSearch({"AXB", "CA", "DB", "CED"});
  pushRow(*search, 2, 2, 1, 1);  // CA down through the A
  pushRow(*search, 3, 2, 1, 3);  // DB down through the B
  pushRow(*search, 4, 1, 2, 1);  // CED across on both C and D
  EXPECT_EQ(evaluateArrangement(*search), EvaluationOutcome::Accepted);
  EXPECT_EQ(search->evaluation.crossings, 4);
  EXPECT_EQ(search->evaluation.unwantedNeighbourhoods, 1);  // the E above the X
  EXPECT_EQ(gridCell(search->evaluation.grid, 0, -1), 26);
  EXPECT_EQ(gridCell(search->evaluation.grid, 4, -1), 219);
}

TEST(GridEvaluation, RejectionKeepsThePartialGrid) {
  auto search = makeSearch({"ABA", "CA", "DA", "CXY"});
  pushRow(*search, 2, 2, 1, 1);  // CA down through the first A
  pushRow(*search, 3, 2, 1, 3);  // DA down through the last A
  pushRow(*search, 4, 1, 2, 1);  // CXY across through C: its Y falls on the D
  search->state.extendFlag = false;
  EXPECT_EQ(evaluateArrangement(*search), EvaluationOutcome::Rejected);
  EXPECT_EQ(search->state.placedCount, 3);
  EXPECT_FALSE(search->state.extendFlag);
  const GridEvaluation& e = search->evaluation;
  expectBox(e.grid.box, 0, 4, -2, 1);
  expectCells(e.grid, {{{0, 0}, 26},
                       {{1, 0}, 'A'},
                       {{2, 0}, 'B'},
                       {{3, 0}, 'A'},
                       {{4, 0}, 219},
                       {{1, -2}, 25},
                       {{1, -1}, 'C'},
                       {{1, 1}, 219},
                       {{3, -2}, 25},
                       {{3, -1}, 'D'},
                       {{3, 1}, 219},
                       {{0, -1}, 26},
                       {{2, -1}, 'X'}});
  EXPECT_EQ(e.crossings, 3);
  EXPECT_EQ(e.unwantedNeighbourhoods, 1);
}

// One step of one row written over a single prepared cell at (0, 0).
enum class Step { HorizontalArrow, VerticalArrow, Letter, Terminator };

struct RuleCase {
  int32_t existing;
  Step step;
  bool accepted;
  int32_t after;  // the cell at (0, 0) after the step (when accepted)
};

TEST(GridEvaluation, EveryRowOfTheCellRules) {
  const int32_t L = 'L';
  const RuleCase cases[] = {
      {CELL_EMPTY, Step::HorizontalArrow, true, 26},
      {CELL_EMPTY, Step::VerticalArrow, true, 25},
      {CELL_EMPTY, Step::Letter, true, L},
      {CELL_EMPTY, Step::Terminator, true, 219},
      {25, Step::HorizontalArrow, true, 27},
      {25, Step::VerticalArrow, false, 25},
      {25, Step::Letter, false, 25},
      {25, Step::Terminator, true, 25},
      {26, Step::HorizontalArrow, false, 26},
      {26, Step::VerticalArrow, true, 27},
      {26, Step::Letter, false, 26},
      {26, Step::Terminator, true, 26},
      {27, Step::HorizontalArrow, false, 27},
      {27, Step::VerticalArrow, false, 27},
      {27, Step::Letter, false, 27},
      {27, Step::Terminator, false, 27},
      {219, Step::HorizontalArrow, true, 26},
      {219, Step::VerticalArrow, true, 25},
      {219, Step::Letter, false, 219},
      {219, Step::Terminator, true, 219},
      {L, Step::HorizontalArrow, false, L},
      {L, Step::VerticalArrow, false, L},
      {L, Step::Letter, true, L},
      {L, Step::Terminator, false, L},
      {'M', Step::HorizontalArrow, false, 'M'},
      {'M', Step::VerticalArrow, false, 'M'},
      {'M', Step::Letter, false, 'M'},
      {'M', Step::Terminator, false, 'M'},
  };
  for (const RuleCase& rule : cases) {
    GridEvaluation e;
    resetGrid(e.grid, GridBox{-5, 5, -5, 5, 11, 11});
    setGridCell(e.grid, 0, 0, rule.existing);
    if (rule.step == Step::Letter) {
      // Letters beside (0, 0): a crossing must not examine them.
      setGridCell(e.grid, 0, -1, 'S');
      setGridCell(e.grid, 0, 1, 'S');
    }
    Placement row{1, 0, 0, DIR_HORIZONTAL, 0, 0, 0};
    if (rule.step == Step::VerticalArrow) row.direction = DIR_VERTICAL;
    if (rule.step == Step::Letter) row.x = -1;
    if (rule.step == Step::Terminator) row.x = -2;
    const bool accepted = writeRowOnGrid("L", row, e);
    SCOPED_TRACE("existing " + std::to_string(rule.existing) + ", step " +
                 std::to_string(static_cast<int>(rule.step)));
    EXPECT_EQ(accepted, rule.accepted);
    EXPECT_EQ(gridCell(e.grid, 0, 0), rule.after);
    const bool crossing = rule.step == Step::Letter && rule.existing == L;
    EXPECT_EQ(e.crossings, crossing ? 1 : 0);
    // Only a letter written on the empty cell looks at its two neighbours.
    const bool written = rule.step == Step::Letter && rule.existing == CELL_EMPTY;
    EXPECT_EQ(e.unwantedNeighbourhoods, written ? 2 : 0);
  }
}

TEST(GridEvaluation, SideCellsOfHorizontalAndVerticalLetters) {
  for (const Direction direction : {DIR_HORIZONTAL, DIR_VERTICAL}) {
    const bool horizontal = direction == DIR_HORIZONTAL;
    // The cells before and after the letter across the direction.
    const int32_t bx = horizontal ? 0 : -1, by = horizontal ? -1 : 0;
    const int32_t ax = horizontal ? 0 : 1, ay = horizontal ? 1 : 0;
    const Placement row{1, horizontal ? -1 : 0, horizontal ? 0 : -1, direction, 0, 0, 0};
    struct Sides {
      int32_t before, after, counted;
    };
    for (const Sides sides : {Sides{'A', 'B', 2}, Sides{'A', 0, 1}, Sides{0, '-', 1}, Sides{25, 26, 0},
                              Sides{27, 219, 0}, Sides{219, 'Z', 1}}) {
      GridEvaluation e;
      resetGrid(e.grid, GridBox{-5, 5, -5, 5, 11, 11});
      setGridCell(e.grid, bx, by, sides.before);
      setGridCell(e.grid, ax, ay, sides.after);
      EXPECT_TRUE(writeRowOnGrid("Q", row, e));
      EXPECT_EQ(e.unwantedNeighbourhoods, sides.counted)
          << "direction " << directionCode(direction) << " sides " << sides.before << "/" << sides.after;
    }
  }
}

TEST(GridEvaluation, TableOutsideTheCrossingGeometryIsRejectedNotWrittenOutOfBounds) {
  auto search = makeSearch({"AB", "CD"});
  // A horizontal word far below the first: its rows lie outside the box.
  search->table.rows[2] = Placement{2, 0, 40, DIR_HORIZONTAL, 1, 1, 1};
  search->state.placedCount = 2;
  EXPECT_EQ(evaluateArrangement(*search), EvaluationOutcome::Rejected);
  EXPECT_EQ(search->state.placedCount, 1);
}

TEST(GridEvaluation, VeryLongWordsKeepOnlyTheWrittenCells) {
  const std::string longWord = std::string(2000, 'A') + "B" + std::string(2095, 'C');
  auto search = makeSearch({longWord, longWord});
  pushRow(*search, 2, 2001, 1, 2001);  // down through the B
  EXPECT_EQ(evaluateArrangement(*search), EvaluationOutcome::Accepted);
  const Grid& grid = search->evaluation.grid;
  EXPECT_EQ(grid.box.width, 4098);
  EXPECT_EQ(grid.box.height, 4098);
  EXPECT_EQ(boxSurface(grid.box), int64_t{4098} * 4098);
  EXPECT_FALSE(grid.dense);
  EXPECT_TRUE(grid.cells.empty());
  EXPECT_EQ(grid.written.size(), 2u * 4098 - 1);
  EXPECT_EQ(gridCell(grid, 2001, 0), 'B');
  EXPECT_EQ(gridCell(grid, 2001, -2001), 25);
  EXPECT_EQ(gridCell(grid, 2001, 2096), 219);
  EXPECT_EQ(gridCell(grid, 5, 5), CELL_EMPTY);
  EXPECT_EQ(search->evaluation.crossings, 1);
  EXPECT_EQ(search->evaluation.unwantedNeighbourhoods, 0);
}

}  // namespace
}  // namespace arrowgrid
