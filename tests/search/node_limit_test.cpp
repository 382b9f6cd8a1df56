// A node limit's answer, which must not depend on the workers: the same rows
// and end on one, two and three of them, the proven answer once the budget
// is enough, and the literal reference's on small lists (the beam's own
// budget: beam_search_test.cpp; copies of a list in a loaded batch:
// tests/solve/batch_parallel_test.sh). Also the threads a search may run,
// and a worker's exception brought back to its caller.
#include <gtest/gtest.h>

#include <new>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "search/best_selection.h"
#include "search/processor_count.h"
#include "search/proof_search.h"
#include "search/search_test_support.h"
#include "search/solve_strategy.h"

namespace arrowgrid {
namespace {

using test_support::makeSearch;
using test_support::randomWords;

WordList wordListOf(const std::vector<std::string>& words) { return makeSearch(words)->wordList; }

const std::vector<std::string> A8{"MAISON", "JARDIN", "TABLE", "PORTE", "SOLEIL", "FLEUR", "LIVRE", "ARBRE"};
const std::vector<std::string> B8{"CHAT", "LOUP", "VACHE", "CHIEN", "POULE", "SINGE", "ZEBRE", "HIBOU"};

SolveResult budgetedProof(const std::vector<std::string>& words, int64_t nodeLimit, int32_t jobs) {
  SolveSettings settings;
  settings.jobs = jobs;
  settings.nodeLimit = nodeLimit;
  return solveArrangement(wordListOf(words), settings, SolveControl{});
}

// Budgets that stop the proof all along its way, then one that lets it end:
// every stop gives the same answer on one, two and three workers, and the
// answers change along the way (the budget is what decides them).
TEST(NodeLimit, TheProofGivesOneAnswerOnOneTwoAndThreeWorkers) {
  // the words, and how many different answers the budgets meet at least
  for (const auto& [words, least] : {std::pair{&A8, size_t{3}}, {&B8, size_t{2}}}) {
    std::vector<std::vector<Placement>> answers;
    for (int64_t nodeLimit = 500;; nodeLimit += nodeLimit / 2) {
      const std::string what = words->front() + " list, " + std::to_string(nodeLimit) + " evaluations";
      const SolveResult one = budgetedProof(*words, nodeLimit, 1);
      for (int32_t jobs : {2, 3}) {
        const SolveResult many = budgetedProof(*words, nodeLimit, jobs);
        EXPECT_EQ(many.end, one.end) << what << ", " << jobs << " workers";
        EXPECT_EQ(many.rows, one.rows) << what << ", " << jobs << " workers";
      }
      if (answers.empty() || answers.back() != one.rows) answers.push_back(one.rows);
      if (one.end == SolveEnd::Complete) break;
      ASSERT_LT(nodeLimit, 100'000'000) << what << ": never ends";
    }
    EXPECT_EQ(answers.back(), solveArrangement(wordListOf(*words), SolveSettings{}, SolveControl{}).rows);
    EXPECT_GE(answers.size(), least) << words->front() << " list";
  }
}

// A budget that lets the proof end gives the exhaustive search's answer: a
// stretch skipping only on its own finds and on the beam's seed, placed in
// the search order, still never skips it.
TEST(NodeLimit, AnEndedProofGivesTheExhaustiveAnswer) {
  std::mt19937 random(903);
  for (int32_t list = 0; list < 30; ++list) {
    const std::vector<std::string> words = randomWords(random, 4, 6, 5, "ABCD");
    SolveSettings exhaustive;
    exhaustive.exhaustive = true;
    const SolveResult reference = solveArrangement(wordListOf(words), exhaustive, SolveControl{});
    SolveSettings settings;
    settings.jobs = 1 + list % 3;
    settings.nodeLimit = 1'000'000'000;
    const SolveResult budgeted = list % 2 == 0
                                     ? solveWithStrategies(wordListOf(words), settings, SolveControl{})
                                     : budgetedProof(words, settings.nodeLimit, settings.jobs);
    ASSERT_EQ(budgeted.end, SolveEnd::Complete) << "list " << list;
    EXPECT_EQ(budgeted.rows, reference.rows) << "list " << list;
    EXPECT_EQ(budgeted.score, reference.score) << "list " << list;
  }
}

TEST(SearchThreads, NeverMoreThanTheProcessors) {
  // requested (0: as many as the processors), processors, threads run
  for (const auto& [requested, processors, threads] :
       {std::tuple{0, 2, 2}, {256, 2, 2}, {1, 2, 1}, {3, 0, 1}, {300, 512, MAX_SEARCH_THREADS}})
    EXPECT_EQ(searchThreadsFor(requested, processors), threads) << requested << " asked, " << processors;
}

// Observers run on the workers: what they throw stands for a refused
// allocation or a broken invariant there, and must reach the caller.
TEST(SearchThreads, WhatAWorkerThrowsReachesTheCaller) {
  for (int32_t jobs : {1, 2}) {
    SolveControl refused, broken;
    refused.onCut = [](const ArrangementSearch&, int32_t, const ArrangementScore&, bool) {
      throw std::bad_alloc();
    };
    broken.onRecord = [](const ArrangementScore& score, int64_t, const Placement*) {
      if (score.wordsPlaced >= 4) throw std::logic_error("broken");
    };
    EXPECT_THROW(solveArrangement(wordListOf(A8), SolveSettings{false, jobs, 0}, refused), std::bad_alloc);
    EXPECT_THROW(solveArrangement(wordListOf(A8), SolveSettings{false, jobs, 0}, broken), std::logic_error);
  }
}

}  // namespace
}  // namespace arrowgrid
