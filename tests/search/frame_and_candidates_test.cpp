// The frame against the literal reference: every arrangement the
// reference search accepts, kept when its box fits, and the first at the
// best score is the answer; the beam's answer always fits. The grids to
// choose from: distinct, ranked, the answer first, whatever the threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "search/beam_search.h"
#include "search/best_selection.h"
#include "search/grid_evaluation.h"
#include "search/search_start.h"
#include "search/search_test_support.h"
#include "search/solve_strategy.h"

namespace arrowgrid {
using namespace test_support;
namespace {

using Words = std::vector<std::string>;

// The first arrangement in search order with the best score among those
// the reference search accepts and whose box fits the frame.
ScoredArrangement framedReference(const Words& words, const GridFrame& frame) {
  auto search = makeSearch(words);
  ScoredArrangement best;
  runWholeSearch(*search, Evaluator::Reference, [&](ArrangementSearch& s, EvaluationOutcome outcome) {
    if (outcome != EvaluationOutcome::Accepted || !boxFitsFrame(s.evaluation.grid.box, frame)) return;
    const ArrangementScore score = lastEvaluationScore(s);
    if (!best.rows.empty() && compareScores(score, best.score) != ScoreOrder::Better) return;
    best = {score, {s.table.rows.begin(), s.table.rows.begin() + s.state.placedCount + 1}};
  });
  return best;
}

SolveResult solveIn(const Words& words, const GridFrame& frame, bool exhaustive, int32_t jobs,
                    int32_t candidates = 1, bool withBeam = true) {
  const SolveSettings settings{
      .exhaustive = exhaustive, .jobs = jobs, .frame = frame, .candidates = candidates};
  const auto search = makeSearch(words);
  if (!withBeam) return solveArrangement(search->wordList, settings, SolveControl{});
  return solveWithStrategies(search->wordList, settings, SolveControl{});
}

GridBox boxOf(const Words& words, const std::vector<Placement>& rows) {
  auto search = makeSearch(words);
  std::copy(rows.begin(), rows.end(), search->table.rows.begin());
  GridEvaluation evaluation;
  EXPECT_EQ(buildArrangementGrid(*search, static_cast<int32_t>(rows.size()) - 1, evaluation),
            EvaluationOutcome::Accepted);
  return evaluation.grid.box;
}

TEST(Frame, WordOneAloneTakesItsLengthAndTwoColumnsByThreeRows) {
  const std::pair<GridFrame, bool> cases[] = {
      {{0, 0}, true}, {{6, 3}, true}, {{5, 3}, false}, {{6, 2}, false}};
  for (const auto& [frame, fits] : cases)
    EXPECT_EQ(wordOneFitsFrame(makeSearch({"ABCD", "BC"})->wordList, frame), fits)
        << frame.columns << "x" << frame.rows;
}

// Random lists in frames from a little wider than word 1 alone to the
// unframed answer's box, often too small for every word: the bounded proof
// seeded by the beam, the proof alone and every trial all give the
// reference's answer, and the beam's answer fits. Up to five grids to choose
// from: the same on one, two and three threads, distinct sets of
// placements, ranked, each placing as many words and fitting the frame, the
// first being the answer.
TEST(Frame, RandomListsGiveTheBestArrangementThatFitsAndGridsToChooseFrom) {
  std::mt19937 random(24092026);
  int32_t leftOut = 0, framed = 0, several = 0;
  for (int32_t n = 0; n < 120; ++n) {
    Words words;
    do {
      words = randomWords(random, 3, 7, 5, n % 2 == 0 ? "AB" : "ABC-");
    } while (std::any_of(words.begin(), words.end(), [](const auto& w) { return w.size() < 2; }) ||
             std::accumulate(words.begin(), words.end(), std::string()).size() > 18);  // searches stay short
    const GridBox whole = boxOf(words, framedReference(words, {}).rows);
    const int32_t minColumns = static_cast<int32_t>(words[0].size()) + 2;
    const GridFrame frame{
        std::uniform_int_distribution(minColumns, std::max(minColumns, whole.width))(random),
        std::uniform_int_distribution(3, std::max(3, whole.height))(random)};
    const ScoredArrangement expected = framedReference(words, frame);
    SCOPED_TRACE(testing::PrintToString(words) + " in " + std::to_string(frame.columns) + "x" +
                 std::to_string(frame.rows));
    leftOut += expected.score.wordsPlaced < static_cast<int32_t>(words.size());
    framed += !boxFitsFrame(whole, frame);

    const std::tuple<bool, int32_t, bool> runs[] = {
        {false, 1, true}, {false, 2, true}, {true, 2, true}, {false, 2, false}};
    for (const auto& [exhaustive, jobs, withBeam] : runs) {
      const SolveResult result = solveIn(words, frame, exhaustive, jobs, 1, withBeam);
      EXPECT_EQ(result.end, SolveEnd::Complete);
      EXPECT_EQ((ScoredArrangement{result.score, result.rows}), expected) << jobs << withBeam;
      EXPECT_TRUE(!withBeam || result.candidates == std::vector{expected});  // the answer alone
    }
    const BeamResult beam = runBeamSearch(makeSearch(words)->wordList, {.onLevel = {}, .frame = frame});
    EXPECT_TRUE(beam.found && boxFitsFrame(boxOf(words, beam.rows), frame));

    const std::vector<ScoredArrangement> grids = solveIn(words, frame, false, 1, 5).candidates;
    ASSERT_FALSE(grids.empty());
    EXPECT_EQ(grids[0], expected);
    several += grids.size() > 1;
    std::set<std::set<std::tuple<int32_t, int32_t, int32_t, Direction>>> placementSets;
    for (size_t i = 0; i < grids.size(); ++i) {
      EXPECT_EQ(grids[i].score.wordsPlaced, expected.score.wordsPlaced);
      EXPECT_TRUE(boxFitsFrame(boxOf(words, grids[i].rows), frame));
      EXPECT_TRUE(i == 0 || compareScores(grids[i].score, grids[i - 1].score) != ScoreOrder::Better) << i;
      std::set<std::tuple<int32_t, int32_t, int32_t, Direction>> placements;
      for (const Placement& p : std::span(grids[i].rows).subspan(1))
        placements.emplace(p.wordNumber, p.x, p.y, p.direction);
      EXPECT_TRUE(placementSets.insert(placements).second) << "grid " << i << " repeats an earlier one";
    }
    for (const auto& [exhaustive, jobs] : {std::pair{false, 2}, std::pair{false, 3}, std::pair{true, 2}})
      EXPECT_EQ(solveIn(words, frame, exhaustive, jobs, 5).candidates, grids) << jobs << " " << exhaustive;
  }
  // The frames cut most answers, often leave words out, and leave several grids to choose from.
  EXPECT_GT(framed, 60);
  EXPECT_GT(leftOut, 15);
  EXPECT_GT(several, 40);
}

}  // namespace
}  // namespace arrowgrid
