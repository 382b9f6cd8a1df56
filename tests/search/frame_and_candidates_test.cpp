// The frame against the literal reference: every arrangement the
// reference search accepts, kept when its box fits, and the first at the
// best score is the answer; the beam's answer always fits. The grids to
// choose from: distinct, ranked, the answer first, whatever the threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
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

std::string listText(const std::vector<std::string>& words, const GridFrame& frame) {
  std::string text;
  for (const auto& word : words) text += word + " ";
  return text + "in " + std::to_string(frame.columns) + "x" + std::to_string(frame.rows);
}

size_t letterCount(const std::vector<std::string>& words) {
  size_t letters = 0;
  for (const auto& word : words) letters += word.size();
  return letters;
}

// The first arrangement in search order with the best score among those
// the reference search accepts and whose box fits the frame; and the box of
// the unframed search's answer.
struct FramedReference {
  ScoredArrangement answer;
  GridBox unframedBox;
};

FramedReference framedReference(const std::vector<std::string>& words, const GridFrame& frame) {
  auto search = makeSearch(words);
  FramedReference reference;
  ArrangementScore unframed;
  bool any = false, anyUnframed = false;
  runWholeSearch(*search, Evaluator::Reference, [&](ArrangementSearch& s, EvaluationOutcome outcome) {
    if (outcome != EvaluationOutcome::Accepted) return;
    const ArrangementScore score = lastEvaluationScore(s);
    if (!anyUnframed || compareScores(score, unframed) == ScoreOrder::Better) {
      anyUnframed = true;
      unframed = score;
      reference.unframedBox = s.evaluation.grid.box;
    }
    if (!boxFitsFrame(s.evaluation.grid.box, frame)) return;
    if (any && compareScores(score, reference.answer.score) != ScoreOrder::Better) return;
    any = true;
    reference.answer.score = score;
    reference.answer.rows.assign(s.table.rows.begin(), s.table.rows.begin() + s.state.placedCount + 1);
  });
  return reference;
}

SolveResult solveIn(const std::vector<std::string>& words, const GridFrame& frame, bool exhaustive,
                    int32_t jobs, int32_t candidates = 1) {
  SolveControl control;
  SolveSettings settings{.exhaustive = exhaustive, .jobs = jobs, .transpositionEntries = size_t{1} << 12};
  settings.frame = frame;
  settings.candidates = candidates;
  return solveWithStrategies(makeSearch(words)->wordList, settings, control);
}

GridBox boxOf(const std::vector<std::string>& words, const std::vector<Placement>& rows) {
  auto search = makeSearch(words);
  std::copy(rows.begin(), rows.end(), search->table.rows.begin());
  GridEvaluation evaluation;
  EXPECT_EQ(buildArrangementGrid(*search, static_cast<int32_t>(rows.size()) - 1, evaluation),
            EvaluationOutcome::Accepted);
  return evaluation.grid.box;
}

std::vector<std::array<int32_t, 4>> placementSet(const std::vector<Placement>& rows) {
  std::vector<std::array<int32_t, 4>> set;
  for (size_t r = 1; r < rows.size(); ++r) set.push_back({rows[r].wordNumber, rows[r].x, rows[r].y, static_cast<int32_t>(rows[r].direction)});
  std::sort(set.begin(), set.end());
  return set;
}

TEST(Frame, WordOneAloneTakesItsLengthAndTwoColumnsByThreeRows) {
  struct Case {
    GridFrame frame;
    bool fits;
  };
  const Case cases[] = {
      {{0, 0}, true}, {{6, 3}, true}, {{5, 3}, false}, {{6, 2}, false}, {{0, 3}, true}, {{6, 0}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(wordOneFitsFrame(makeSearch({"ABCD", "BC"})->wordList, c.frame), c.fits)
        << c.frame.columns << "x" << c.frame.rows;
  }
}

// Frames from a little wider than word 1 alone to the unframed answer's
// box, often too small for every word: the bounded proof seeded by the
// beam, the proof alone on two workers and every trial all give the
// reference's answer, and the beam's answer fits.
TEST(Frame, RandomListsAndFramesGiveTheBestArrangementThatFits) {
  std::mt19937 random(24092026);
  int32_t leftOut = 0, framed = 0;
  for (int32_t n = 0; n < 120; ++n) {
    std::vector<std::string> words;
    do {
      words = randomWords(random, 3, 7, 5, n % 2 == 0 ? "AB" : "ABC-");
    } while (std::any_of(words.begin(), words.end(), [](const auto& word) { return word.size() < 2; }) ||
             letterCount(words) > 18);  // complete searches stay short
    const GridBox whole = framedReference(words, GridFrame{}).unframedBox;
    const int32_t minColumns = static_cast<int32_t>(words[0].size()) + 2;
    std::uniform_int_distribution<int32_t> columns(minColumns, std::max(minColumns, whole.width));
    std::uniform_int_distribution<int32_t> rows(3, std::max(3, whole.height));
    const GridFrame frame{columns(random), rows(random)};
    const FramedReference expected = framedReference(words, frame);
    const std::string what = listText(words, frame);
    leftOut += expected.answer.score.wordsPlaced < static_cast<int32_t>(words.size());
    framed += !boxFitsFrame(whole, frame);

    for (const auto& [exhaustive, jobs] : {std::pair{false, 1}, std::pair{false, 2}, std::pair{true, 2}}) {
      const SolveResult result = solveIn(words, frame, exhaustive, jobs);
      EXPECT_EQ(result.end, SolveEnd::Complete) << what;
      EXPECT_EQ(result.score, expected.answer.score) << what << " jobs " << jobs;
      EXPECT_EQ(result.rows, expected.answer.rows) << what << " jobs " << jobs;
    }
    SolveControl control;
    SolveSettings proofAlone{.jobs = 2};
    proofAlone.frame = frame;
    EXPECT_EQ(solveArrangement(makeSearch(words)->wordList, proofAlone, control).rows, expected.answer.rows)
        << what;

    BeamSettings beamSettings;
    beamSettings.frame = frame;
    const BeamResult beam = runBeamSearch(makeSearch(words)->wordList, beamSettings);
    ASSERT_TRUE(beam.found) << what;
    EXPECT_TRUE(boxFitsFrame(boxOf(words, beam.rows), frame)) << what;
  }
  // The frames cut most answers, and often leave words out.
  EXPECT_GT(framed, 60);
  EXPECT_GT(leftOut, 15);
}

// Up to five grids on one, two and three threads: the same grids, distinct
// sets of placements, ranked, each placing as many words and fitting the
// frame, the first being the answer without the option.
TEST(Candidates, DistinctRankedTheAnswerFirstWhateverTheThreads) {
  std::mt19937 random(5122026);
  std::vector<std::vector<std::string>> lists{
      {"MAISON", "JARDIN", "TABLE", "PORTE", "SOLEIL", "FLEUR", "LIVRE"}};
  while (lists.size() < 30) {
    const std::vector<std::string> words = randomWords(random, 4, 7, 5, "ABCDE");
    if (letterCount(words) <= 20) lists.push_back(words);
  }
  int32_t several = 0;
  for (const auto& words : lists) {
    for (const GridFrame frame : {GridFrame{}, GridFrame{14, 9}}) {
      if (!wordOneFitsFrame(makeSearch(words)->wordList, frame)) continue;
      const std::string what = listText(words, frame);
      const SolveResult alone = solveIn(words, frame, false, 1);
      ASSERT_EQ(alone.candidates.size(), 1u) << what;
      const SolveResult one = solveIn(words, frame, false, 1, 5);
      ASSERT_FALSE(one.candidates.empty()) << what;
      EXPECT_EQ(one.candidates[0], (ScoredArrangement{alone.score, alone.rows})) << what;
      several += one.candidates.size() > 1;
      for (size_t i = 0; i < one.candidates.size(); ++i) {
        const ScoredArrangement& candidate = one.candidates[i];
        EXPECT_EQ(candidate.score.wordsPlaced, alone.score.wordsPlaced) << what;
        EXPECT_TRUE(boxFitsFrame(boxOf(words, candidate.rows), frame)) << what;
        for (size_t j = 0; j < i; ++j) {
          EXPECT_NE(placementSet(one.candidates[j].rows), placementSet(candidate.rows)) << what;
          EXPECT_NE(compareScores(candidate.score, one.candidates[j].score), ScoreOrder::Better) << what;
        }
      }
      for (int32_t jobs : {2, 3}) EXPECT_EQ(solveIn(words, frame, false, jobs, 5).candidates, one.candidates) << what;
      EXPECT_EQ(solveIn(words, frame, true, 2, 5).candidates, one.candidates) << what << " exhaustive";
    }
  }
  EXPECT_GT(several, 30);
}

}  // namespace
}  // namespace arrowgrid
