// The best arrangement of a word list without a screen: the arrangement the
// interactive program would show last when it shows only new bests, that is
// the first one in search order that reaches the best score. The default
// search skips subtrees that provably cannot beat the best found so far; the
// exhaustive one runs every trial. Both split the search over worker threads
// and give the same answer whatever their number.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "search/search_data.h"

namespace arrowgrid {

// Sizes each worker's table from the list and the limits (see transpositionEntriesFor).
inline constexpr size_t SIZED_TRANSPOSITION_TABLE = SIZE_MAX;

struct SolveSettings {
  bool exhaustive = false;  // every trial, no skipped subtree
  int32_t jobs = 1;         // worker threads, 1 or more (arrowgrid-solve runs no more than the processors)
  double timeLimitSeconds = 0;  // stop with the best so far after this long; 0: no limit
  // Entries of each worker's table of sets of placements met (see
  // proof_search.cpp); its pages are touched only as it fills. 0: no table.
  size_t transpositionEntries = SIZED_TRANSPOSITION_TABLE;
  // Evaluations the search may spend (the beam's and the proof's, probes
  // included); the answer is then the same on every machine, at any load and
  // for any number of workers (see proof_search.cpp). 0: no such limit. The
  // exhaustive search counts trials and takes none.
  int64_t nodeLimit = 0;
  // Only arrangements whose box fits count; word 1 alone must fit
  // (wordOneFitsFrame). The answer is then the first in search order with
  // the best score among those that fit, with as many words as fit.
  GridFrame frame{};
  // The grids to choose from, the answer included (see SolveResult::candidates).
  int32_t candidates = 1;
};

enum class SolveEnd {
  Complete,     // the whole search ran: the answer is proven best
  TimeLimit,    // stopped at the time limit
  NodeLimit,    // stopped when the evaluations allowed were spent
  Interrupted,  // stopped because SolveControl::stopRequested was set
};

// Which strategy found the answer (or the best so far).
enum class SolveStrategy { Beam, Proof, Exhaustive };

struct SolveResult {
  ArrangementScore score;  // of the answer
  int32_t wordCount = 0;
  std::vector<Placement> rows;  // the answer's rows 1..score.wordsPlaced; [0] unused
  GridEvaluation evaluation;    // its grid and counts, built by the engine's evaluation
  SolveEnd end = SolveEnd::Complete;
  SolveStrategy foundBy = SolveStrategy::Proof;  // Exhaustive exactly when every trial was run
  int64_t trials = 0;                            // exhaustive: the interactive program's final trials count
  int64_t evaluations = 0;                       // arrangements and rows evaluated, probes included
  int64_t transpositions = 0;                    // subtrees skipped as met before in another order
  double seconds = 0;                            // wall-clock time of the search
  std::vector<double> workerCpuSeconds;          // processor time of each worker thread, for the benchmark
  // solveWithStrategies only: up to settings.candidates distinct sets of
  // placements, best first; [0] is the answer, the others place as many
  // words and come from the beam's guaranteed widths (solve_strategy.h).
  std::vector<ScoredArrangement> candidates;
};

// What a progress line shows.
struct SolveProgress {
  double seconds = 0;
  int64_t evaluations = 0;  // the bounded search's measure of work
  int64_t trials = 0;       // the exhaustive one's: its engine tells evaluations only when it stops
  SolveStrategy strategy = SolveStrategy::Proof;  // the one running
  ArrangementScore best;                          // the best so far (word 1 alone before anything else)
};

// A skipped subtree, reported to tests before it is skipped: rows 1..cutRow
// of `search` are its root, and nothing below may rank above `threshold`
// (strict) or at its level or above (!strict). Called on worker threads.
using CutObserver = std::function<void(const ArrangementSearch& search, int32_t cutRow,
                                       const ArrangementScore& threshold, bool strict)>;

// The answer so far changed: its score, the item of the split that found it
// and its rows 1..score.wordsPlaced. Called on worker threads, under the
// record's lock.
using RecordObserver =
    std::function<void(const ArrangementScore& score, int64_t item, const Placement* rows)>;

// A score that another strategy reached with an arrangement it checked to be
// a node of this search's tree; see seedSolve.
struct SolveSeed {
  std::mutex mutex;
  bool any = false;
  ArrangementScore score;
  std::vector<Placement> rows;  // its rows 1..score.wordsPlaced ([0] unused) when given
  std::atomic<uint64_t> version{0};  // raised at every seed, read without the lock
};

using ProgressTick = std::function<void(const SolveProgress&)>;

// What the caller gives a solve and may give the next one as it is: the
// solve only reads it.
struct SolveControl {
  std::atomic<bool> stopRequested{false};  // set from outside (Ctrl+C) to stop early
  ProgressTick onTick;                     // on the calling thread, about 10 times a second
  CutObserver onCut;                       // tests only: subtrees skipped by a bound
  RecordObserver onRecord;                 // tests only
};

// Lets the search skip every subtree that cannot reach `score`, from now on
// (before or while solveArrangement runs, from any thread). The score must be
// that of an arrangement of the same words that the search itself can meet:
// the rows follow the placement rules and every prefix is accepted, as the
// caller has checked. The answer stays the first arrangement in search order
// with the best score, which is `score` or better; a complete search that
// ends below it throws std::logic_error (the seed was not such a node). A
// seed below an earlier one changes nothing. Subtrees that can only equal
// the seed are still explored: the first arrangement with its score may lie
// in them.
// Given the arrangement's rows too, the search also skips, in the part of
// the search order after the arrangement's stretch of the split, what can
// only equal `score`: the first arrangement with it lies no later.
void seedSolve(SolveSeed& seed, const ArrangementScore& score, const std::vector<Placement>& rows = {});

// words: 2..MAX_WORDS words of A-Z and '-'. Runs on settings.jobs worker
// threads while the calling thread waits, ticks and watches the time;
// throws std::system_error when threads cannot be started, and what a
// worker threw (std::bad_alloc when its memory is refused) once every
// worker has stopped. `seed` belongs to this one solve (seedSolve); its
// progress goes to `onTick`, which may be empty, instead of the control's.
SolveResult solveArrangement(const WordList& words, const SolveSettings& settings,
                             const SolveControl& control, SolveSeed& seed, const ProgressTick& onTick);

// The same without a seed, ticking the control's onTick.
SolveResult solveArrangement(const WordList& words, const SolveSettings& settings,
                             const SolveControl& control);

}  // namespace arrowgrid
