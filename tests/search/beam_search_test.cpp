// The beam search against the tree it searches: every answer a node of it,
// never better than the complete search's best and equal to it when the
// beam kept the whole tree; the same rows on any number of threads; the
// narrow widths' answer whatever the deadline.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/beam_search.h"
#include "search/best_selection.h"
#include "search/search_test_support.h"

namespace arrowgrid {
namespace {

using test_support::makeSearch;
using test_support::randomWords;

WordList wordListOf(const std::vector<std::string>& words) { return makeSearch(words)->wordList; }

// The best score of the complete search, by the engine.
ArrangementScore completeBest(const std::vector<std::string>& words) {
  auto search = makeSearch(words);
  ArrangementScore best;
  test_support::runWholeSearch(*search, test_support::Evaluator::Fast,
                               [&](ArrangementSearch& s, EvaluationOutcome outcome) {
                                 if (outcome != EvaluationOutcome::Accepted) return;
                                 if (best.wordsPlaced == 0) best = lastEvaluationScore(s);
                                 compareWithBest(best, lastEvaluationScore(s));
                               });
  return best;
}

BeamSettings fixedWidths(int32_t width, int32_t threads) {
  BeamSettings settings;
  settings.threads = threads;
  settings.guaranteedWidth = width;
  settings.maxWidth = width;
  return settings;
}

TEST(BeamSearch, AnswersAreTreeNodesNeverBetterThanTheCompleteSearch) {
  std::mt19937 random(20261208);
  int32_t wholeTrees = 0;
  for (int32_t list = 0; list < 150; ++list) {
    std::vector<std::string> words = randomWords(random, 2, 6, 4, "ABCDE");
    if (list % 10 == 0) words.push_back(words[1]);  // a repeated word is a word of its own
    const WordList wordList = wordListOf(words);
    const BeamResult beam = runBeamSearch(wordList, fixedWidths(64, 1 + list % 2));
    ASSERT_TRUE(beam.found) << "list " << list;
    ArrangementScore checked;
    ASSERT_TRUE(isSearchTreeNode(wordList, beam.rows, beam.score.wordsPlaced, checked)) << "list " << list;
    EXPECT_EQ(checked, beam.score);
    ArrangementScore optimum = completeBest(words);
    EXPECT_NE(compareWithBest(optimum, beam.score), ScoreOrder::Better) << "list " << list;
    if (beam.wholeTree) {
      ++wholeTrees;
      EXPECT_EQ(beam.score, optimum) << "list " << list;
    }
  }
  EXPECT_GT(wholeTrees, 20);
}

TEST(BeamSearch, SameRowsAndWorkOnAnyNumberOfThreads) {
  std::mt19937 random(7);
  for (int32_t list = 0; list < 6; ++list) {
    const WordList wordList = wordListOf(randomWords(random, 12, 20, 8, "AEIRSTNLOCDU"));
    const BeamResult one = runBeamSearch(wordList, fixedWidths(32, 1));
    for (int32_t threads : {2, 3}) {
      const BeamResult many = runBeamSearch(wordList, fixedWidths(32, threads));
      EXPECT_EQ(many.rows, one.rows) << "list " << list << ", " << threads << " threads";
      EXPECT_EQ(many.evaluations, one.evaluations);
    }
  }
}

TEST(BeamSearch, GuaranteedWidthsIgnoreTheDeadlineAndTheBudgetDoesNot) {
  const WordList kitchen = wordListOf({"CUISINE", "FOURCHETTE", "COUTEAU", "CUILLERE", "ASSIETTE", "VERRE",
                                       "CASSEROLE", "POELE", "FOUR", "EVIER", "TABLE", "CHAISE"});
  const BeamResult unhurried = runBeamSearch(kitchen, fixedWidths(8, 1));
  BeamSettings late = fixedWidths(8, 2);
  late.maxWidth = BEAM_MAX_WIDTH;
  late.deadline = std::chrono::steady_clock::now() - std::chrono::seconds(1);
  const BeamResult hurried = runBeamSearch(kitchen, late);
  EXPECT_EQ(hurried.rows, unhurried.rows);
  EXPECT_EQ(hurried.widestFinished, 8);
  EXPECT_EQ(hurried.score.wordsPlaced, 12);
  EXPECT_EQ(hurried.score.unwantedNeighbourhoods, 0);

  late.guaranteedEvaluations = 1;  // spent at the first level: nothing is guaranteed
  const BeamResult broke = runBeamSearch(kitchen, late);
  EXPECT_FALSE(broke.found);
  EXPECT_EQ(broke.widestFinished, 0);
}

// A budget of evaluations keeps the same widths, so the same rows, on any
// number of threads, and the widths kept never spent more than it.
TEST(BeamSearch, ABudgetKeepsTheSameWidthsOnAnyNumberOfThreads) {
  std::mt19937 random(11);
  const WordList wordList = wordListOf(randomWords(random, 25, 25, 8, "AEIRSTNLOCDU"));
  // budget, widest width kept: 20 is not even width 1's
  for (const auto& [budget, widest] : {std::pair{20, 0}, {20'000, 4}, {300'000, 32}}) {
    BeamSettings settings;
    settings.deadline = std::chrono::steady_clock::time_point::max();
    settings.evaluationBudget = budget;
    std::vector<Placement> oneThread;
    for (int32_t threads : {1, 2, 3}) {
      settings.threads = threads;
      const BeamResult beam = runBeamSearch(wordList, settings);
      EXPECT_EQ(beam.widestFinished, widest) << budget << " evaluations, " << threads << " threads";
      EXPECT_LE(beam.finishedEvaluations, budget);
      if (threads == 1) oneThread = beam.rows;
      EXPECT_EQ(beam.rows, oneThread) << budget << " evaluations, " << threads << " threads";
    }
  }
}

TEST(BeamSearch, TreeNodeCheckRefusesRowsTheEnumerationCannotMake) {
  const WordList abc = wordListOf({"AB", "BC", "CA"});
  const std::vector<Placement> good = {{},
                                       {1, 0, 0, DIR_HORIZONTAL, 0, 0, 0},
                                       {2, 2, -1, DIR_VERTICAL, 1, 1, 2},
                                       {3, 1, 1, DIR_HORIZONTAL, 1, 2, 2}};
  ArrangementScore score;
  ASSERT_TRUE(isSearchTreeNode(abc, good, 3, score));
  EXPECT_EQ(score, (ArrangementScore{3, 0, 2, 20}));

  struct Broken {
    const char* what;
    int32_t row;
    Placement placement;
  };
  const Broken broken[] = {
      {"word 1 moved", 1, {1, 1, 0, DIR_HORIZONTAL, 0, 0, 0}},
      {"a word placed twice", 3, {2, 1, 1, DIR_HORIZONTAL, 1, 2, 2}},
      {"crossing itself", 2, {2, 2, -1, DIR_VERTICAL, 1, 2, 2}},
      {"letters that differ", 2, {2, 1, -2, DIR_VERTICAL, 2, 1, 2}},
      {"shifted off its crossing", 3, {3, 2, 1, DIR_HORIZONTAL, 1, 2, 2}},
      {"not across", 3, {3, 2, 0, DIR_VERTICAL, 1, 2, 2}},
  };
  for (const Broken& b : broken) {
    std::vector<Placement> rows = good;
    rows[static_cast<size_t>(b.row)] = b.placement;
    EXPECT_FALSE(isSearchTreeNode(abc, rows, 3, score)) << b.what;
  }
  EXPECT_FALSE(isSearchTreeNode(abc, good, 4, score)) << "more rows than words";

  // Placed by the rules, but word 3's arrow lands on word 1's: the
  // evaluation rejects it.
  const WordList aaa = wordListOf({"AA", "AA", "AA"});
  const std::vector<Placement> clash = {{},
                                        {1, 0, 0, DIR_HORIZONTAL, 0, 0, 0},
                                        {2, 1, -1, DIR_VERTICAL, 1, 1, 1},
                                        {3, 0, 0, DIR_HORIZONTAL, 1, 2, 1}};
  EXPECT_TRUE(isSearchTreeNode(aaa, clash, 2, score));
  EXPECT_FALSE(isSearchTreeNode(aaa, clash, 3, score));
}

}  // namespace
}  // namespace arrowgrid
