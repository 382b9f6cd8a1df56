// The solver against the engine's own complete search: the same answer,
// rows and counts, with the bounds and with every trial, on one worker and
// on two; the interactive program's trials count; and every skipped subtree
// checked against what is really below it.
#include <gtest/gtest.h>

#include <mutex>
#include <new>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "search/best_selection.h"
#include "search/candidate_enumeration.h"
#include "search/fast_evaluation.h"
#include "search/grid_evaluation.h"
#include "search/processor_count.h"
#include "search/proof_search.h"
#include "search/search_test_support.h"
#include "search/solve_strategy.h"
#include "search/subtree_bound.h"

namespace arrowgrid {
using namespace test_support;
namespace {

using test_support::Evaluator;
using test_support::makeSearch;
using test_support::runWholeSearch;

// A new best: its score and rows 1..score.wordsPlaced ([0] unused).
struct BestEvent {
  ArrangementScore score;
  std::vector<Placement> rows;
  bool operator==(const BestEvent&) const = default;
};

// What the interactive program shows last with selection mode 2: the rows
// of the last Better arrangement (word 1 alone when nothing ever is), after
// the sequence of new bests from word 1 alone on.
struct EngineAnswer {
  std::vector<Placement> rows;
  ArrangementScore score;
  int64_t finalTrialCount = 0;
  std::vector<BestEvent> bests;
};

EngineAnswer engineAnswer(const std::vector<std::string>& words) {
  auto search = makeSearch(words);
  EngineAnswer answer;
  answer.rows = {Placement{}, search->table.rows[1]};
  answer.finalTrialCount =
      runWholeSearch(*search, Evaluator::Fast, [&](ArrangementSearch& s, EvaluationOutcome outcome) {
        if (outcome != EvaluationOutcome::Accepted) return;
        const ArrangementScore score = lastEvaluationScore(s);
        const bool first = answer.score.wordsPlaced == 0;  // word 1 alone
        if (!first && compareWithBest(s.bestScore, score) != ScoreOrder::Better) return;
        answer.score = score;
        answer.rows.assign(s.table.rows.begin(), s.table.rows.begin() + s.state.placedCount + 1);
        answer.bests.push_back(BestEvent{score, answer.rows});
      }).finalTrialCount;
  return answer;
}

WordList wordListOf(const std::vector<std::string>& words) {
  WordList list;
  list.wordCount = static_cast<int32_t>(words.size());
  for (size_t i = 0; i < words.size(); ++i) list.words[i + 1] = words[i];
  return list;
}

// bests, when given, receives every change of the answer so far.
SolveResult solve(const std::vector<std::string>& words, bool exhaustive, int32_t jobs,
                  const CutObserver& onCut = nullptr, const ArrangementScore* seed = nullptr,
                  std::vector<BestEvent>* bests = nullptr, size_t transpositionEntries = size_t{1} << 16,
                  const std::vector<Placement>& seedRows = {}) {
  SolveControl control;
  control.onCut = onCut;
  SolveSeed seeded;
  if (seed != nullptr) seedSolve(seeded, *seed, seedRows);
  if (bests != nullptr) {
    control.onRecord = [bests](const ArrangementScore& score, int64_t, const Placement* rows) {
      BestEvent event{score, {Placement{}}};
      event.rows.insert(event.rows.end(), rows, rows + score.wordsPlaced);
      bests->push_back(event);
    };
  }
  const SolveSettings settings{
      .exhaustive = exhaustive, .jobs = jobs, .transpositionEntries = transpositionEntries};
  return solveArrangement(wordListOf(words), settings, control, seeded, nullptr);
}

// The new bests that reach `seed` or beat it.
std::vector<BestEvent> bestsFrom(const std::vector<BestEvent>& bests, const ArrangementScore& seed) {
  std::vector<BestEvent> kept;
  for (const BestEvent& event : bests) {
    if (compareScores(event.score, seed) != ScoreOrder::Worse) kept.push_back(event);
  }
  return kept;
}

std::string listText(const std::vector<std::string>& words) {
  std::string text;
  for (const auto& word : words) text += word + " ";
  return text;
}

// Small alphabets so that words cross often; repeated words and hyphens.
// At most maxLetters letters in all, so that complete searches stay short.
std::vector<std::string> randomList(std::mt19937& random, int32_t maxWords, size_t maxLetters) {
  static const char* const ALPHABETS[] = {"AB", "ABC", "AB-", "ABCD", "ABCDE-"};
  for (;;) {
    const std::string alphabet = ALPHABETS[random() % 5];
    const int32_t count = 2 + static_cast<int32_t>(random() % static_cast<uint32_t>(maxWords - 1));
    std::vector<std::string> words;
    size_t letters = 0;
    for (int32_t w = 0; w < count; ++w) {
      if (!words.empty() && random() % 6 == 0) {
        words.push_back(words[random() % words.size()]);
      } else {
        const int32_t length = 2 + static_cast<int32_t>(random() % 6);
        std::string word;
        for (int32_t i = 0; i < length; ++i) word += alphabet[random() % alphabet.size()];
        words.push_back(word);
      }
      letters += words.back().size();
    }
    if (letters <= maxLetters) return words;
  }
}

void expectEngineAnswer(const SolveResult& result, const EngineAnswer& expected, const std::string& what) {
  EXPECT_EQ(result.end, SolveEnd::Complete) << what;
  EXPECT_EQ(result.score, expected.score) << what;
  EXPECT_EQ(result.rows, expected.rows) << what;
}

TEST(SolveSearch, ThreeWordsGiveTheArrangementOfTrial7) {
  const SolveResult result = solve({"AB", "BC", "CA"}, false, 1);
  EXPECT_EQ(result.score, (ArrangementScore{3, 0, 2, 20}));
  ASSERT_EQ(result.rows.size(), 4u);
  EXPECT_EQ(result.rows[2], (Placement{2, 2, -1, DIR_VERTICAL, 1, 1, 2}));
  EXPECT_EQ(result.rows[3], (Placement{3, 1, 1, DIR_HORIZONTAL, 1, 2, 2}));
  EXPECT_EQ(solve({"AB", "BC", "CA"}, true, 2).trials, 26);
}

TEST(SolveSearch, WordsThatNeverCrossLeaveWordOneAlone) {
  const SolveResult result = solve({"ABC", "DE"}, false, 2);
  EXPECT_EQ(result.score, (ArrangementScore{1, 0, 0, 15}));
  EXPECT_EQ(result.rows.size(), 2u);
  EXPECT_EQ(solve({"ABC", "DE"}, true, 1).trials, 8);
}

// With the bounds and the sets met before, with a seed (one of the engine's
// new bests, the last included; every other list with its rows, placing it
// in the search order) and a table small enough to overwrite, and with
// every trial: the engine's answer; on one worker, the engine's very
// sequence of new bests (from the seed on, when seeded).
TEST(SolveSearch, RandomListsGiveTheEngineAnswerWithAndWithoutBounds) {
  std::mt19937 random(20240611);
  int64_t transpositions = 0;
  for (int32_t n = 0; n < 200; ++n) {
    const std::vector<std::string> words = randomList(random, 6, 20);
    const EngineAnswer expected = engineAnswer(words);
    const BestEvent& seedEvent = expected.bests[random() % expected.bests.size()];
    const ArrangementScore seed = seedEvent.score;
    const std::vector<Placement> seedRows = n % 2 == 0 ? seedEvent.rows : std::vector<Placement>{};
    for (int32_t jobs : {1, 2}) {
      const std::string what = listText(words) + "jobs " + std::to_string(jobs);
      std::vector<BestEvent> bests, seededBests;
      const SolveResult bounded = solve(words, false, jobs, nullptr, nullptr, &bests);
      expectEngineAnswer(bounded, expected, what);
      transpositions += bounded.transpositions;
      expectEngineAnswer(solve(words, false, jobs, nullptr, &seed, &seededBests, 4, seedRows), expected,
                         what + " seeded");
      if (jobs == 1) {
        EXPECT_EQ(bests, expected.bests) << what;
        EXPECT_EQ(bestsFrom(seededBests, seed), bestsFrom(expected.bests, seed)) << what << " seeded";
      }
      const SolveResult exhaustive = solve(words, true, jobs);
      expectEngineAnswer(exhaustive, expected, what + " exhaustive");
      EXPECT_EQ(exhaustive.trials, expected.finalTrialCount) << what;
    }
  }
  EXPECT_GT(transpositions, 1000);
}

// A seed no arrangement reaches is a caller's error, never an answer.
TEST(SolveSearch, SeedBeyondTheBestIsAnError) {
  const std::vector<std::string> words{"MAISON", "JARDIN", "TABLE", "PORTE"};
  const ArrangementScore best = solve(words, false, 1).score;
  ArrangementScore beyond = best;
  --beyond.surface;
  for (int32_t jobs : {1, 2}) {
    EXPECT_THROW(solve(words, false, jobs, nullptr, &beyond), std::logic_error);
    EXPECT_EQ(solve(words, false, jobs, nullptr, &best).score, best);
  }
}

TEST(SolveSearch, SevenWordsGiveTheSameAnswerOnOneTwoAndThreeWorkers) {
  const std::vector<std::string> words{"MAISON", "JARDIN", "TABLE", "PORTE", "SOLEIL", "FLEUR", "LIVRE"};
  const SolveResult one = solve(words, false, 1);
  EXPECT_EQ(one.score, (ArrangementScore{7, 0, 7, 112}));
  for (int32_t jobs : {2, 3}) {
    const SolveResult more = solve(words, false, jobs);
    EXPECT_EQ(more.rows, one.rows);
    EXPECT_EQ(more.score, one.score);
  }
}

// Every arrangement strictly below rows 1..root of `search`, by the engine.
std::vector<ArrangementScore> scoresBelow(const ArrangementSearch& at, int32_t root) {
  auto search = std::make_unique<ArrangementSearch>(at);
  search->trace = nullptr;
  search->state.placedCount = root;
  std::vector<ArrangementScore> scores;
  if (evaluateArrangement(*search) != EvaluationOutcome::Accepted) return scores;
  while (resumeSearchQuiet(*search) == ResumeOutcome::Pushed && search->state.placedCount > root) {
    if (evaluateArrangement(*search) == EvaluationOutcome::Accepted)
      scores.push_back(lastEvaluationScore(*search));
  }
  return scores;
}

TEST(SolveSearch, EverySkippedSubtreeHoldsNothingThatCouldChangeTheAnswer) {
  std::mt19937 random(77);
  std::mutex mutex;
  int64_t cuts = 0;
  int64_t violations = 0;
  const CutObserver check = [&](const ArrangementSearch& search, int32_t cutRow,
                                const ArrangementScore& threshold, bool strict) {
    int64_t bad = 0;
    for (const ArrangementScore& score : scoresBelow(search, cutRow)) {
      const ScoreOrder order = compareScores(score, threshold);
      if (order == ScoreOrder::Better || (order == ScoreOrder::Equal && !strict)) ++bad;
    }
    std::lock_guard<std::mutex> lock(mutex);
    ++cuts;
    violations += bad;
  };
  for (int32_t n = 0; n < 60; ++n) {
    const std::vector<std::string> words = randomList(random, 6, 16);
    for (int32_t jobs : {1, 2}) solve(words, false, jobs, check);
  }
  EXPECT_GT(cuts, 1000);
  EXPECT_EQ(violations, 0);
}

// At every accepted arrangement of a complete search, both bounds rank at
// or above everything below it.
TEST(SolveSearch, BoundsHoldAtEveryArrangement) {
  std::mt19937 random(5);
  int64_t checked = 0;
  int64_t tight = 0;  // probed bounds that something below reaches exactly
  for (int32_t n = 0; n < 60; ++n) {
    const std::vector<std::string> words = randomList(random, 5, 14);
    auto search = makeSearch(words);
    BoundTables tables;
    buildBoundTables(search->letters, tables);
    BoundLevels levels;
    runWholeSearch(*search, Evaluator::Fast, [&](ArrangementSearch& s, EvaluationOutcome outcome) {
      if (outcome != EvaluationOutcome::Accepted) return;
      recordLevelLetters(s, tables, levels, s.state.placedCount);
      const ArrangementScore quick = quickBoundBelow(s, tables, levels);
      // From the parent's rows when it has them, and from every row afresh.
      BoundLevels afresh = levels;
      afresh.acceptedKnown[static_cast<size_t>(s.state.placedCount - 1)] = false;
      const ArrangementScore probed = probedBoundBelow(s, tables, levels);
      EXPECT_EQ(probedBoundBelow(s, tables, afresh), probed) << listText(words);
      EXPECT_NE(compareScores(probed, quick), ScoreOrder::Better) << listText(words);
      bool reached = false;
      for (const ArrangementScore& below : scoresBelow(s, s.state.placedCount)) {
        EXPECT_NE(compareScores(below, probed), ScoreOrder::Better) << listText(words);
        reached = reached || below == probed;
      }
      ++checked;
      tight += reached;
    });
  }
  EXPECT_GT(checked, 1000);
  EXPECT_GT(tight, checked / 10);
}

// Stopped mid-subtree, with and without the bounds: the answer is a real
// arrangement of the words with the score it is given; the exhaustive
// progress line's trials count moves while the engine runs.
TEST(SolveSearch, TimeLimitStopsWithTheBestSoFar) {
  std::vector<std::string> words;
  for (const char* word : {"ABCDE", "BCDEA", "CDEAB", "DEABC", "EABCD", "ABCDE", "BCDEA", "CDEAB", "DEABC",
                           "EABCD", "ACEBD", "BDACE"}) {
    words.push_back(word);
  }
  for (bool exhaustive : {false, true}) {
    for (int32_t jobs : {1, 2}) {
      const std::string what =
          std::string(exhaustive ? "exhaustive" : "bounded") + ", jobs " + std::to_string(jobs);
      SolveControl control;
      std::vector<int64_t> ticks;
      control.onTick = [&](const SolveProgress& progress) { ticks.push_back(progress.trials); };
      const SolveResult result =
          solveArrangement(wordListOf(words), SolveSettings{exhaustive, jobs, 0.3}, control);
      EXPECT_EQ(result.end, SolveEnd::TimeLimit) << what;
      EXPECT_LT(result.seconds, 5.0) << what;
      EXPECT_GE(result.score.wordsPlaced, 2) << what;

      auto check = makeSearch(words);
      std::copy(result.rows.begin(), result.rows.end(), check->table.rows.begin());
      check->state.placedCount = result.score.wordsPlaced;
      ASSERT_EQ(evaluateArrangement(*check), EvaluationOutcome::Accepted) << what;
      EXPECT_EQ(lastEvaluationScore(*check), result.score) << what;
      if (exhaustive) {
        ASSERT_GE(ticks.size(), 2u) << what;
        EXPECT_GT(ticks.back(), ticks.front()) << what;
      }
    }
  }
}

// One control for several lists: what the beam found for the first does not
// bind the proof of the next, whose best lies below it.
TEST(SolveStrategies, AControlServesTheNextListAsItIs) {
  const std::vector<std::string> crossing{"ABC", "BCA", "CAB", "ACB"};
  const std::vector<std::string> apart{"AB", "CD"};
  SolveControl reused;
  int32_t ticks = 0;
  reused.onTick = [&](const SolveProgress&) { ++ticks; };
  const SolveSettings settings{false, 1, 0};
  const SolveResult first = solveWithStrategies(wordListOf(crossing), settings, reused);
  ASSERT_GT(first.score.wordsPlaced, 2);
  const int32_t ticksOfFirst = ticks;
  EXPECT_GT(ticksOfFirst, 0);

  const SolveResult second = solveWithStrategies(wordListOf(apart), settings, reused);
  SolveControl fresh;
  const SolveResult alone = solveWithStrategies(wordListOf(apart), settings, fresh);
  EXPECT_EQ(second.end, SolveEnd::Complete);
  EXPECT_EQ(second.score, alone.score);
  EXPECT_EQ(second.rows, alone.rows);
  EXPECT_GT(ticks, ticksOfFirst);  // the caller's own tick, still in place
}

// The beam first, then the proof: a proof that ends gives the engine's
// answer even where the beam reached its score; one stopped on twenty
// words gives the beam's clean grid, which the guaranteed widths reach
// whatever the machine's speed.
TEST(SolveStrategies, AFinishedProofGivesTheEngineAnswerAStoppedOneTheBeams) {
  std::mt19937 random(8122026);
  for (int32_t n = 0; n < 40; ++n) {
    const std::vector<std::string> words = randomList(random, 5, 18);
    SolveControl control;
    const SolveResult result =
        solveWithStrategies(wordListOf(words), SolveSettings{false, 1 + n % 2, 0}, control);
    expectEngineAnswer(result, engineAnswer(words), listText(words));
    EXPECT_EQ(result.foundBy, SolveStrategy::Proof);
  }

  const std::vector<std::string> kitchen{"CUISINE",  "FOURCHETTE", "COUTEAU", "CUILLERE",  "ASSIETTE",
                                         "VERRE",    "CASSEROLE",  "POELE",   "FOUR",      "EVIER",
                                         "TABLE",    "CHAISE",     "NAPPE",   "BOUTEILLE", "CARAFE",
                                         "SALADIER", "PLATEAU",    "TASSE",   "BOL",       "THEIERE"};
  SolveControl control;
  std::vector<SolveStrategy> strategies;
  control.onTick = [&](const SolveProgress& progress) { strategies.push_back(progress.strategy); };
  const SolveResult result = solveWithStrategies(wordListOf(kitchen), SolveSettings{false, 2, 0.2}, control);
  EXPECT_EQ(result.end, SolveEnd::TimeLimit);
  EXPECT_EQ(result.foundBy, SolveStrategy::Beam);
  EXPECT_EQ(result.score.wordsPlaced, 20);
  EXPECT_EQ(result.score.unwantedNeighbourhoods, 0);
  EXPECT_EQ(result.evaluation.crossings, result.score.crossings);
  EXPECT_EQ(boxSurface(result.evaluation.grid.box), result.score.surface);
  ASSERT_FALSE(strategies.empty());
  EXPECT_EQ(strategies.front(), SolveStrategy::Beam);
}

// A node limit's answer, which must not depend on the workers: the same rows
// and end on one, two and three of them, the proven answer once the budget
// is enough, and the literal reference's on small lists (the beam's own
// budget: beam_search_test.cpp; copies of a list in a loaded batch:
// tests/solve/batch_parallel_test.sh). Also the threads a search may run,
// and a worker's exception brought back to its caller.
const std::vector<std::string> A8{"MAISON", "JARDIN", "TABLE", "PORTE", "SOLEIL", "FLEUR", "LIVRE", "ARBRE"};
const std::vector<std::string> B8{"CHAT", "LOUP", "VACHE", "CHIEN", "POULE", "SINGE", "ZEBRE", "HIBOU"};

SolveResult budgetedProof(const std::vector<std::string>& words, int64_t nodeLimit, int32_t jobs) {
  SolveSettings settings{.jobs = jobs, .nodeLimit = nodeLimit};
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
        EXPECT_TRUE(many.end == one.end && many.rows == one.rows) << what << ", " << jobs << " workers";
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
    const WordList words = wordListOf(randomWords(random, 4, 6, 5, "ABCD"));
    const SolveResult reference = solveArrangement(words, SolveSettings{.exhaustive = true}, SolveControl{});
    const SolveSettings settings{.jobs = 1 + list % 3, .nodeLimit = 1'000'000'000};
    const SolveResult budgeted = list % 2 == 0 ? solveWithStrategies(words, settings, SolveControl{})
                                               : solveArrangement(words, settings, SolveControl{});
    ASSERT_EQ(budgeted.end, SolveEnd::Complete) << "list " << list;
    EXPECT_TRUE(budgeted.rows == reference.rows && budgeted.score == reference.score) << "list " << list;
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
