// The enumeration's order of comparisons, its pushes, backtracks and trial
// counts on small word lists, and resuming after the end.
#include <gtest/gtest.h>

#include <string>

#include "search/grid_evaluation.h"
#include "search/search_engine.h"
#include "search/search_test_support.h"

namespace arrowgrid {
using namespace test_support;
namespace {

using test_support::Evaluator;
using test_support::makeSearch;
using test_support::runWholeSearch;

struct TracedRun {
  SearchTrace trace;
  int64_t finalTrialCount = 0;
  std::string comparedLetters;  // "DA DB ..." : new letter then crossed letter
  std::vector<Placement> pushes;
  int32_t comparisons = 0;
};

TracedRun traceWholeSearch(ArrangementSearch& search) {
  TracedRun run;
  search.trace = &run.trace;
  run.finalTrialCount = runWholeSearch(search, Evaluator::Reference).finalTrialCount;
  search.trace = nullptr;
  for (const TraceEvent& event : run.trace.events) {
    if (event.kind == TraceKind::Comparison) {
      ++run.comparisons;
      if (!run.comparedLetters.empty()) run.comparedLetters += ' ';
      run.comparedLetters += static_cast<char>(event.newLetter);
      run.comparedLetters += static_cast<char>(event.crossedLetter);
    } else {
      run.pushes.push_back(event.row);
    }
  }
  return run;
}

// A row as the table's seven numbers, the direction by its code.
Placement row(int32_t w, int32_t x, int32_t y, int32_t d, int32_t lp, int32_t cr, int32_t cp) {
  return Placement{w, x, y, static_cast<Direction>(d), lp, cr, cp};
}

TEST(CandidateEnumeration, WordsWithoutCommonLetterCompareEveryPairAndEnd) {
  auto search = makeSearch({"ABC", "DE"});
  const TracedRun run = traceWholeSearch(*search);
  EXPECT_EQ(run.comparedLetters, "DA DB DC EA EB EC");
  EXPECT_TRUE(run.pushes.empty());
  EXPECT_EQ(run.finalTrialCount, 8);
  EXPECT_EQ(search->state.placedCount, 1);
}

TEST(CandidateEnumeration, CompleteArrangementIsDroppedWithoutATrial) {
  auto search = makeSearch({"AB", "CA"});
  const TracedRun run = traceWholeSearch(*search);
  EXPECT_EQ(run.comparedLetters, "CA CB AA AB");
  ASSERT_EQ(run.pushes.size(), 1u);
  EXPECT_EQ(run.pushes[0], row(2, 1, -2, 2, 2, 1, 1));
  EXPECT_EQ(run.finalTrialCount, 6);
  // The comparison after the drop is the very next trial after the push.
  EXPECT_EQ(run.trace.events[2].trialCount, 4);
  EXPECT_EQ(run.trace.events[4].trialCount, 5);
}

TEST(CandidateEnumeration, ThreeWordsPushInOrderAndBacktrack) {
  auto search = makeSearch({"AB", "BC", "CA"});
  const TracedRun run = traceWholeSearch(*search);
  EXPECT_EQ(run.comparisons, 24);
  EXPECT_EQ(run.finalTrialCount, 26);
  ASSERT_EQ(run.pushes.size(), 6u);
  EXPECT_EQ(run.pushes[0], row(2, 2, -1, 2, 1, 1, 2));  // BC down through the B of AB
  EXPECT_EQ(run.pushes[1], row(3, 1, 1, 1, 1, 2, 2));   // CA across through the C of BC
  EXPECT_EQ(run.pushes[2], row(3, 1, -2, 2, 2, 1, 1));  // CA down through the A of AB
  // After the level of BC is exhausted, CA becomes the second word and BC
  // is tried as the third, first down through the B of AB, then across CA.
  EXPECT_EQ(run.pushes[3], row(3, 1, -2, 2, 2, 1, 1));
  EXPECT_EQ(run.pushes[4], row(2, 2, -1, 2, 1, 1, 2));
  EXPECT_EQ(run.pushes[5], row(2, -1, -1, 1, 2, 2, 1));
  EXPECT_EQ(run.comparedLetters, "BA BB CA CB CB CC AA AB AB AC CA CB CA CB AA BA BB BC BA CA CB CC CA AB");
}

TEST(CandidateEnumeration, ThreeWordsAcceptedArrangementsAndTheirTrials) {
  auto search = makeSearch({"AB", "BC", "CA"});
  struct Seen {
    int64_t trial;
    int32_t words, unwanted, crossings;
    int64_t surface;
    bool operator==(const Seen&) const = default;
  };
  std::vector<Seen> seen;
  runWholeSearch(*search, Evaluator::Reference, [&](ArrangementSearch& s, EvaluationOutcome outcome) {
    if (outcome != EvaluationOutcome::Accepted) return;
    seen.push_back(Seen{s.state.trialCount, s.state.placedCount, s.evaluation.unwantedNeighbourhoods,
                        s.evaluation.crossings, boxSurface(s.evaluation.grid.box)});
  });
  const std::vector<Seen> expected = {{1, 1, 0, 0, 12}, {3, 2, 0, 1, 16},  {7, 3, 0, 2, 20},
                                      {8, 3, 0, 2, 20}, {16, 2, 0, 1, 16}, {18, 3, 0, 2, 20},
                                      {23, 3, 0, 2, 20}};
  EXPECT_EQ(seen, expected);
}

TEST(CandidateEnumeration, BacktrackRestoresTheCursorFromTheDroppedRow) {
  auto search = makeSearch({"AA", "AB", "BB"});
  const TracedRun run = traceWholeSearch(*search);
  EXPECT_EQ(run.comparisons, 24);
  EXPECT_EQ(run.finalTrialCount, 26);
  ASSERT_EQ(run.pushes.size(), 6u);
  EXPECT_EQ(run.pushes[0], row(2, 1, -1, 2, 1, 1, 1));
  EXPECT_EQ(run.pushes[1].wordNumber, 3);
  EXPECT_EQ(run.pushes[2].wordNumber, 3);
  EXPECT_EQ(run.pushes[3], row(2, 2, -1, 2, 1, 1, 2));
  // Right after BB's level is exhausted the restored cursor compares the A
  // of AB with the second A of AA, which is the push above.
  size_t thirdPush = 0;
  int32_t pushesSeen = 0;
  for (size_t i = 0; i < run.trace.events.size(); ++i) {
    if (run.trace.events[i].kind == TraceKind::Push && ++pushesSeen == 4) thirdPush = i;
  }
  const TraceEvent& match = run.trace.events[thirdPush - 1];
  EXPECT_EQ(match.kind, TraceKind::Comparison);
  EXPECT_EQ(match.candidate, (Candidate{2, 1, 1, 2}));
}

TEST(CandidateEnumeration, EntriesWithTheSameTextAreSeparateWords) {
  auto search = makeSearch({"AB", "AB"});
  const TracedRun run = traceWholeSearch(*search);
  // Word 2 against word 1: A-A matches (down through the A), then after the
  // drop A-B, B-A, B-B matches (down through the B).
  EXPECT_EQ(run.comparedLetters, "AA AB BA BB");
  ASSERT_EQ(run.pushes.size(), 2u);
  EXPECT_EQ(run.pushes[0], row(2, 1, -1, 2, 1, 1, 1));
  EXPECT_EQ(run.pushes[1], row(2, 2, -2, 2, 2, 1, 2));
  EXPECT_EQ(run.finalTrialCount, 6);  // 2 plus the 4 comparisons
}

TEST(CandidateEnumeration, RejectedCandidateCostsOneTrial) {
  // These words clash often (letters side by side, arrows on letters); a
  // rejected push is followed by the next comparison on the very next trial.
  auto search = makeSearch({"AB", "BA", "AA"});
  SearchTrace trace;
  search->trace = &trace;
  int64_t rejected = 0;
  runWholeSearch(*search, Evaluator::Reference, [&](ArrangementSearch&, EvaluationOutcome outcome) {
    if (outcome == EvaluationOutcome::Rejected) ++rejected;
  });
  ASSERT_GT(rejected, 0);
  int32_t comparisons = 0;
  for (const TraceEvent& event : trace.events) comparisons += event.kind == TraceKind::Comparison;
  EXPECT_EQ(search->state.trialCount, comparisons + 2);
  // Every comparison sits on its own trial, pushes included.
  int64_t previous = 1;
  for (const TraceEvent& event : trace.events) {
    if (event.kind != TraceKind::Comparison) continue;
    EXPECT_EQ(event.trialCount, previous + 1);
    previous = event.trialCount;
  }
}

TEST(CandidateEnumeration, ResumingAfterTheEndCountsOneTrialAndEndsAgain) {
  auto search = makeSearch({"AB", "BC", "CA"});
  runWholeSearch(*search, Evaluator::Reference);
  // Leave stale rows above placedCount that a careless advance would read.
  const Candidate cursor = search->state.candidate;
  SearchTrace trace;
  search->trace = &trace;
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(resumeSearchQuiet(*search), ResumeOutcome::Finished);
    EXPECT_EQ(search->state.trialCount, 26 + i);
  }
  EXPECT_TRUE(trace.events.empty());
  EXPECT_EQ(search->state.placedCount, 1);
  EXPECT_EQ(search->state.candidate, cursor);
  EXPECT_GT(search->state.candidate.wordNumber, search->wordList.wordCount);
  search->trace = nullptr;
}

TEST(CandidateEnumeration, TrialCountIsSixtyFourBits) {
  auto search = makeSearch({"AB", "CD"});
  search->state.trialCount = int64_t{2147483647} - 1;
  runWholeSearch(*search, Evaluator::Reference);
  EXPECT_EQ(search->state.trialCount, int64_t{2147483647} - 1 + 5);
}

}  // namespace
}  // namespace arrowgrid
