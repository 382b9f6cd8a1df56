// The solver: the search split into items in search order, workers that
// explore the items' subtrees with the engine's enumeration and evaluation,
// and one record of the answer so far.
//
// Not the interactive program's split (search/parallel_search.h): that one
// replays every subtree on one thread so that each count and report comes
// out in order and the search can pause anywhere; this one needs neither,
// and its workers skip subtrees against a record they all share, which a
// replay in order would make wait for every earlier subtree.
//
// [SECTION] Why every number of workers gives the same answer
//
// The items are the arrangements of the first few levels, numbered in the
// order the sequential search meets them; an item of the split depth brings
// its whole subtree, so the items cut the sequential order into consecutive
// stretches. The record keeps the best score found, the lowest item that
// found it and that item's first arrangement with it: a find replaces it when
// its score is higher, or equal from a lower item; a worker's own later equal
// finds never do. Let B be the best score of all and f the first arrangement
// in search order that has it.
//
// A worker skips the rest of a subtree in item i only if the bound O of that
// subtree satisfies, for the record (s, j) it read:
//   O < s, or O == s with j <= i.
// The record's arrangement exists. If j <= i it lies before everything
// skipped (an earlier item, or earlier in item i: the skipped part of a
// subtree comes after all that item i has explored so far), so a skipped
// arrangement with score B would follow one with score B and is not f. If
// j > i the skipped arrangements score below s <= B and are not f either.
// So f is never skipped. Its item finds it (nothing before it in the item
// scores B, nothing scores more), and offers it; no item before f's holds a
// score of B, and items after it cannot replace it with an equal score. The
// record ends as f, for every timing of the workers and every split. The
// cut at a single worker is the sequential rule: skip what cannot beat the
// best so far strictly.
//
// [SECTION] Seeds
//
// A seed is the score Z of an arrangement of the tree found another way. A
// subtree is also skipped when its bound O ranks below Z' = Z with one more
// unit of surface, the score just below Z: everything there ranks at or below
// O, so below Z. Since B >= Z, f is never skipped this way, nor is any
// arrangement that reaches Z: the first one with a score, Z included, is met
// as without the seed. The record rule is kept beside it, so a seed never
// lowers the bar. When the seed arrives after a path's bounds were tested,
// they are tested again (as after a better record). A complete search whose
// answer ranks below Z means Z was not a node of the tree: an error, never
// an answer.
//
// [SECTION] Sets of placements met before (transpositions)
//
// Let N2 be an accepted arrangement of k rows whose set of placements (word
// number, arrow cell, direction) equals that of an accepted N1 that the same
// worker met before, with U(N1) <= U(N2). Then the subtree of N2 is skipped.
// (T1) The cells after N1 and after N2 are the same. A cell's final code
//      depends only on the set of writes that reached it: a letter if any
//      row wrote one (accepted rows never put an arrow or a terminator on a
//      letter, nor a letter on anything but an empty cell or the same
//      letter); else both arrows, or the one arrow, if arrows were written
//      (an arrow over a block makes it an arrow, a terminator over an arrow
//      keeps it); else a block if a terminator was; else empty. The box is
//      the union of the rows', the words placed are the same, and so are the
//      crossings, one per letter cell covered by two words (F2 of
//      search/subtree_bound.cpp). Only U depends on the order.
// (T2) Take D2 below N2: N2's rows, then rows k+1..m. Put the same rows
//      after N1's, each crossing the same placed word as in D2 (its row
//      number in N1's order): D1. The evaluation of a row reads only the
//      cells, so by T1 and induction on the rows each row of D1 is accepted
//      and adds the same unwanted neighbourhoods, crossings and box as in
//      D2, and it is one of the candidates the enumeration tries. So D1 is
//      a node of the tree below N1 with U(D1) = U(D2) - U(N2) + U(N1) <=
//      U(D2) and the rest equal: D1 ranks at or above D2.
// (T3) N1 and N2 have as many rows, so neither lies below the other, and N1
//      was met first: all of N1's subtree comes before all of N2's in search
//      order. Hence D1, skipped or not, comes before D2 and ranks at least
//      as high: D2 is not f, and no arrangement below N2 beats all before
//      it, so the sequence of new bests on one worker is unchanged.
// Guards: the key is by word numbers, not texts (a list may repeat a word,
// and then the words left to place would differ). Each worker has its own
// table and takes items in increasing order, so every entry it holds is
// from a node earlier in search order; another worker's nodes may lie later
// and are never looked up. A set is known by two independent 64-bit sums,
// so a false match is not to be feared in practice. The table is allocated
// once: an entry overwritten is only a skip lost. The exhaustive search
// keeps every trial and uses no table.
//
// [SECTION] The frame
//
// With a frame, the evaluation rejects an arrangement whose box exceeds it.
// A box only grows as rows are added, so the tree searched is the whole
// tree cut where a box first leaves the frame, in the same order: every
// argument above holds in it. In T2, D1's box after each row is D2's (T1),
// so D1 fits wherever D2 does. The bounds stay bounds (subtree_bound.cpp).
#include "search/proof_search.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

#include <time.h>

#include "search/best_selection.h"
#include "search/candidate_enumeration.h"
#include "search/fast_evaluation.h"
#include "search/grid_evaluation.h"
#include "search/search_engine.h"
#include "search/search_start.h"
#include "search/subtree_bound.h"
#include "search/transposition_table.h"

namespace arrowgrid {

namespace {

using Clock = std::chrono::steady_clock;

// [SECTION] The split

struct SplitItem {
  int32_t rowCount = 0;    // rows of the item's arrangement
  size_t firstRow = 0;     // its rows 1..rowCount in SplitPlan::rows
  bool task = false;       // a worker explores its subtree
  ArrangementScore score;  // not a task: its score, found while splitting
};

struct SplitPlan {
  std::vector<SplitItem> items;  // in search order
  std::vector<Placement> rows;   // rows of every item, item after item
  int64_t comparisons = 0;       // comparisons of the levels opened while splitting
  int64_t evaluations = 0;
  int64_t tasks = 0;
  bool stopped = false;
};

int32_t placedLetters(const ArrangementSearch& search) {
  int32_t letters = 0;
  for (int32_t r = 1; r <= search.state.placedCount; ++r) {
    letters +=
        search.letters.length[static_cast<size_t>(search.table.rows[static_cast<size_t>(r)].wordNumber)];
  }
  return letters;
}

// The level opened below an accepted arrangement compares every letter of
// every unplaced word with every letter of every placed one, once.
int64_t levelComparisons(int32_t placed, int32_t total) { return int64_t{placed} * (total - placed); }

// The arrangements with fewer than `depth` rows, in search order, each an
// item of its own; those with `depth` rows become tasks, their subtrees
// skipped here. A complete arrangement has no subtree and is never a task.
template <typename ShouldStop>
SplitPlan splitSearch(const WordList& words, const GridFrame& frame, int32_t depth, int32_t totalLetters,
                      ShouldStop shouldStop) {
  SplitPlan plan;
  auto search = startedSearch(words, frame);
  auto addItem = [&](bool task) {
    const int32_t k = search->state.placedCount;
    SplitItem item;
    item.rowCount = k;
    item.firstRow = plan.rows.size();
    item.task = task;
    item.score = lastEvaluationScore(*search);
    for (int32_t r = 1; r <= k; ++r) plan.rows.push_back(search->table.rows[static_cast<size_t>(r)]);
    plan.items.push_back(item);
    if (task) {
      ++plan.tasks;
    } else {
      plan.comparisons += levelComparisons(placedLetters(*search), totalLetters);
    }
  };
  evaluateArrangementFast(*search);  // word 1 alone: always accepted
  ++plan.evaluations;
  addItem(false);
  while (resumeSearchQuiet(*search) == ResumeOutcome::Pushed) {
    if (shouldStop(plan.evaluations)) {
      plan.stopped = true;
      break;
    }
    ++plan.evaluations;
    if (evaluateArrangementFast(*search) == EvaluationOutcome::Rejected) continue;
    const int32_t k = search->state.placedCount;
    const bool task = k >= depth && k < words.wordCount;
    addItem(task);
    if (task) skipBelowRow(*search, k);
  }
  return plan;
}

// [SECTION] The record of the answer so far

struct BestRecord {
  std::mutex mutex;
  std::atomic<uint64_t> version{0};  // raised at every change, read without the lock
  bool any = false;
  ArrangementScore score;
  int64_t item = 0;  // the lowest item that found score
  int32_t rowCount = 0;
  std::array<Placement, MAX_WORDS + 1> rows{};
};

// A worker's copy of the record's score and item.
struct Threshold {
  bool any = false;
  ArrangementScore score;
  int64_t item = 0;
  uint64_t version = 0;
};

bool replacesRecord(const Threshold& record, const ArrangementScore& score, int64_t item) {
  if (!record.any) return true;
  const ScoreOrder order = compareScores(score, record.score);
  return order == ScoreOrder::Better || (order == ScoreOrder::Equal && item < record.item);
}

Threshold readRecord(BestRecord& best) {
  std::lock_guard<std::mutex> lock(best.mutex);
  return Threshold{best.any, best.score, best.item, best.version.load(std::memory_order_relaxed)};
}

// rows: the arrangement's rows 1..rowCount, row 1 first.
void offerToRecord(BestRecord& best, const ArrangementScore& score, int64_t item, const Placement* rows,
                   int32_t rowCount, const RecordObserver& onRecord) {
  std::lock_guard<std::mutex> lock(best.mutex);
  const Threshold current{best.any, best.score, best.item, 0};
  if (!replacesRecord(current, score, item)) return;
  best.any = true;
  best.score = score;
  best.item = item;
  best.rowCount = rowCount;
  std::copy(rows, rows + rowCount, best.rows.begin() + 1);
  best.version.fetch_add(1, std::memory_order_release);
  if (onRecord) onRecord(score, item, rows);
}

// A worker's copy of the seed.
struct SeedBar {
  bool any = false;
  ArrangementScore score;
  uint64_t version = 0;
  int64_t item = INT64_MAX;  // the item of the split whose stretch holds the seed; INT64_MAX: not known
};

SeedBar readSeed(SolveSeed& seed, const SplitPlan* plan = nullptr) {
  std::lock_guard<std::mutex> lock(seed.mutex);
  SeedBar bar{seed.any, seed.score, seed.version.load(std::memory_order_relaxed)};
  const auto rowCount = static_cast<int32_t>(seed.rows.size()) - 1;
  if (plan == nullptr || !seed.any || rowCount != seed.score.wordsPlaced) return bar;
  // The item whose rows begin the seed's: a task holding it in its subtree,
  // or the seed itself met while splitting.
  for (size_t i = 0; i < plan->items.size(); ++i) {
    const SplitItem& item = plan->items[i];
    if (item.rowCount > rowCount || (item.rowCount < rowCount && !item.task)) continue;
    const Placement* rows = plan->rows.data() + item.firstRow;
    if (std::equal(rows, rows + item.rowCount, seed.rows.begin() + 1)) {
      bar.item = static_cast<int64_t>(i);
      break;
    }
  }
  return bar;
}

// The score just below `score`: a subtree whose bound ranks below it cannot
// reach `score`.
ArrangementScore justBelow(ArrangementScore score) {
  ++score.surface;
  return score;
}

// [SECTION] Workers

// A task's result under a node limit, written by the worker that ran it.
struct TaskOutcome {
  bool finished = false;  // explored whole; set under commitMutex
  int64_t cost = 0;       // its evaluations, probes included
  bool any = false;
  ArrangementScore score;  // its first best
  int32_t rowCount = 0;
};

struct SharedRun {
  const WordList* words = nullptr;
  const SolveSettings* settings = nullptr;
  const SolveControl* control = nullptr;
  SolveSeed* seed = nullptr;
  const SplitPlan* plan = nullptr;
  BoundTables tables;
  BestRecord best;
  std::atomic<int64_t> nextItem{0};
  std::atomic<bool> stop{false};
  std::atomic<int64_t> comparisons{0};  // added by each worker when it ends
  std::mutex doneMutex;
  std::condition_variable doneSignal;
  int32_t workersDone = 0;  // under doneMutex
  // Under a node limit (see the section at the top): each task's cost and
  // best, folded into the record only at the end, in search order.
  bool budgeted = false;
  int64_t budget = 0;                  // evaluations the tasks may spend together
  std::vector<TaskOutcome> outcomes;   // per item
  std::vector<Placement> outcomeRows;  // each item's best, rows 1..wordCount at item * (wordCount + 1)
  std::mutex commitMutex;
  int64_t committed = 0;                   // items before it are finished and within the budget
  std::atomic<int64_t> committedCost{0};   // what their tasks cost; written under commitMutex
  std::atomic<int64_t> beyond{INT64_MAX};  // this item and every later one lie past the budget
};

struct Worker {
  std::unique_ptr<ArrangementSearch> search;
  BoundLevels levels;
  std::array<ArrangementScore, MAX_WORDS + 1> boundBelow{};  // probed bound of each level on the path
  std::array<PlacementSetKey, MAX_WORDS + 1> setKeys{};      // of rows 1..k, per level of the path
  TranspositionTable transpositions;                         // this worker's own, see the top
  Threshold threshold;
  SeedBar seedBar;
  uint64_t testedVersion = 0;           // record and seed versions the path's bounds were last tested against
  int64_t taskStart = 0;                // evaluations and probes when the task began
  uint32_t epoch = 0;                   // of its table: its stretch's under a node limit, else 0
  std::exception_ptr failure;           // what its thread threw
  int64_t comparisons = 0;              // of the levels its tasks opened: their trials
  std::atomic<int64_t> evaluations{0};  // published for the progress line
  // Exhaustive: the engine publishes its trials count when asked, at the
  // next letter, rather than anything at every evaluation.
  std::atomic<bool> trialsWanted{false};
  std::atomic<int64_t> trials{0};
  double cpuSeconds = 0;  // processor time of its thread, at its end
};

int64_t evaluationsSoFar(const Worker& worker) {
  return worker.search->fast.evaluations + worker.levels.probes;
}

void publishEvaluations(Worker& worker) {
  worker.evaluations.store(evaluationsSoFar(worker), std::memory_order_relaxed);
}

// [SECTION] A node limit: the same answer on every machine
//
// A time limit stops the workers wherever the machine's speed and load have
// brought them; a limit on evaluations must not. Three things in the run
// above depend on the schedule: the split depth (it follows the number of
// workers), the record a worker reads (others' finds arrive when they
// arrive) and the transposition table (it holds what this worker met in
// the items it happened to take). Under a node limit none does:
// - the split is made as for BUDGETED_SPLIT_WORKERS workers, whatever
//   their number, and its own evaluations come first out of the budget;
// - the items are cut into BUDGETED_STRETCHES stretches of consecutive
//   items, fixed by the split alone; a worker takes a whole stretch and
//   runs its tasks in order, as one worker of the run above would;
// - a task skips on the stretch's own record (its best so far, from its
//   first item on) and on the seed: the rules above, with a record that
//   only ever comes from this stretch, so they still never skip f;
// - the table's entries are tagged with the stretch (an epoch): a stretch
//   meets only its own sets, as an empty table would answer.
// Then a task's cost (its evaluations and probes, from its start to its
// end) and what it offers are functions of the words, the seed and the
// tasks before it in its stretch alone. The budget admits the longest run
// of tasks, in search order, whose costs fit in it together; the answer is
// the record's rule applied to the items met while splitting and to the
// finds of the admitted tasks: a fixed set, so a fixed answer, whatever ran
// where and when. A task is abandoned as soon as the costs of the admitted
// tasks before it plus its own cost so far pass the budget (its whole cost
// would, so it is not admitted), and every later task with it. A task
// offers only what beats its stretch's record so far, and the first best of
// the admitted tasks is still offered: nothing before it in its stretch
// reached its score. When every task is admitted the run is complete and its
// answer is f, as without the limit. The seed is the beam's, which the
// budget made the same on every machine too (search/beam_search.h).
inline constexpr int32_t BUDGETED_SPLIT_WORKERS = 8;
inline constexpr int64_t BUDGETED_STRETCHES = 16;

void markBeyond(SharedRun& run, int64_t item) {
  int64_t current = run.beyond.load(std::memory_order_relaxed);
  while (item < current && !run.beyond.compare_exchange_weak(current, item, std::memory_order_relaxed)) {
  }
}

// Whether the task of `item` must be abandoned: it lies past the budget.
bool pastBudget(SharedRun& run, const Worker& worker, int64_t item) {
  if (!run.budgeted) return false;
  if (item >= run.beyond.load(std::memory_order_relaxed)) return true;
  // The admitted tasks all come before this one, which is not finished.
  const int64_t spent = evaluationsSoFar(worker) - worker.taskStart;
  if (run.committedCost.load(std::memory_order_relaxed) + spent <= run.budget) return false;
  markBeyond(run, item);
  return true;
}

// A task explored whole: admitted, with the finished tasks after it, while
// their costs fit.
void finishTask(SharedRun& run, const Worker& worker, int64_t item) {
  std::lock_guard<std::mutex> lock(run.commitMutex);
  TaskOutcome& outcome = run.outcomes[static_cast<size_t>(item)];
  outcome.cost = evaluationsSoFar(worker) - worker.taskStart;
  outcome.finished = true;
  const auto& items = run.plan->items;
  while (run.committed < static_cast<int64_t>(items.size())) {
    const auto next = static_cast<size_t>(run.committed);
    if (items[next].task) {
      const TaskOutcome& done = run.outcomes[next];
      if (!done.finished) break;
      const int64_t total = run.committedCost.load(std::memory_order_relaxed) + done.cost;
      if (total > run.budget) {
        markBeyond(run, run.committed);
        break;
      }
      run.committedCost.store(total, std::memory_order_relaxed);
    }
    ++run.committed;
  }
}

// A find of the task under a node limit: kept with the task, and the
// worker's threshold is its own item's best.
void keepTaskBest(SharedRun& run, Worker& worker, int64_t item, const ArrangementScore& score,
                  int32_t rowCount) {
  TaskOutcome& outcome = run.outcomes[static_cast<size_t>(item)];
  outcome.any = true;
  outcome.score = score;
  outcome.rowCount = rowCount;
  const auto stride = static_cast<size_t>(run.words->wordCount) + 1;
  const Placement* rows = worker.search->table.rows.data() + 1;
  std::copy(rows, rows + rowCount,
            run.outcomeRows.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(item) * stride));
  worker.threshold = Threshold{true, score, item, worker.threshold.version + 1};
}

void refreshThreshold(SharedRun& run, Worker& worker) {
  if (!run.budgeted && run.best.version.load(std::memory_order_acquire) != worker.threshold.version) {
    worker.threshold = readRecord(run.best);
  }
  if (run.seed->version.load(std::memory_order_acquire) != worker.seedBar.version) {
    worker.seedBar = readSeed(*run.seed, run.plan);
  }
}

// Why nothing below an arrangement can change the answer: nothing there
// ranks above `threshold` (strict) or at its level or above (!strict).
struct SkipReason {
  bool skip = false;
  ArrangementScore threshold;
  bool strict = false;
};

// Whether nothing below an arrangement with bound O, in item `item`, can
// change the answer: the record's rule (see the section at the top), or O
// below the seed, where no arrangement with the seed's score or better lies.
SkipReason skipReason(const Worker& worker, const ArrangementScore& bound, int64_t item) {
  if (worker.threshold.any) {
    const ScoreOrder order = compareScores(bound, worker.threshold.score);
    const bool equalAllowed = worker.threshold.item <= item;
    if (order == ScoreOrder::Worse || (order == ScoreOrder::Equal && equalAllowed)) {
      return SkipReason{true, worker.threshold.score, equalAllowed};
    }
  }
  if (worker.seedBar.any) {
    // Past the seed's item, what only equals the seed follows it: the
    // record's rule, with the seed as a record of that item.
    const ScoreOrder order = compareScores(bound, worker.seedBar.score);
    if (order == ScoreOrder::Equal && worker.seedBar.item < item)
      return SkipReason{true, worker.seedBar.score, true};
    const ArrangementScore bar = justBelow(worker.seedBar.score);
    if (compareScores(bound, bar) == ScoreOrder::Worse) return SkipReason{true, bar, false};
  }
  return SkipReason{};
}

enum class NodeStep { Explore, TaskDone };

// Skips the subtree of row `row`; the task ends when that is its root. A
// bound's reason is shown to the tests; a transposition has none.
NodeStep skipSubtree(SharedRun& run, Worker& worker, int32_t row, int32_t rootRows,
                     const SkipReason* reason) {
  if (reason != nullptr && run.control->onCut) {
    run.control->onCut(*worker.search, row, reason->threshold, reason->strict);
  }
  if (row <= rootRows) return NodeStep::TaskDone;
  skipBelowRow(*worker.search, row);
  return NodeStep::Explore;
}

// An accepted arrangement of the task: offered, counted, and its subtree or
// an ancestor's skipped when the bounds allow.
NodeStep acceptArrangement(SharedRun& run, Worker& worker, int64_t item, int32_t rootRows) {
  ArrangementSearch& search = *worker.search;
  const int32_t k = search.state.placedCount;
  recordLevelLetters(search, run.tables, worker.levels, k);
  worker.setKeys[static_cast<size_t>(k)] =
      withPlacement(worker.setKeys[static_cast<size_t>(k - 1)], search.table.rows[static_cast<size_t>(k)]);
  const LevelLetters& level = worker.levels.levels[static_cast<size_t>(k)];
  worker.comparisons += levelComparisons(level.placedLetters, run.tables.totalLetters);
  const ArrangementScore score = lastEvaluationScore(search);
  refreshThreshold(run, worker);
  // The copy may be behind the record, never ahead: what cannot replace it
  // cannot replace the record.
  if (replacesRecord(worker.threshold, score, item)) {
    if (run.budgeted) {
      keepTaskBest(run, worker, item, score, k);
    } else {
      offerToRecord(run.best, score, item, search.table.rows.data() + 1, k, run.control->onRecord);
      refreshThreshold(run, worker);
    }
  }
  const uint64_t version = worker.threshold.version + worker.seedBar.version;
  if (version != worker.testedVersion) {
    // A better record or a seed may rule out the rest of an ancestor's subtree.
    worker.testedVersion = version;
    for (int32_t j = rootRows; j < k; ++j) {
      const SkipReason reason = skipReason(worker, worker.boundBelow[static_cast<size_t>(j)], item);
      if (reason.skip) return skipSubtree(run, worker, j, rootRows, &reason);
    }
  }
  if (k == run.tables.wordCount) return NodeStep::Explore;  // nothing below; the engine drops it
  const SkipReason quick = skipReason(worker, quickBoundBelow(search, run.tables, worker.levels), item);
  if (quick.skip) return skipSubtree(run, worker, k, rootRows, &quick);
  if (worker.transpositions.entries != nullptr &&
      metBeforeWithNoMoreUnwanted(worker.transpositions, worker.setKeys[static_cast<size_t>(k)],
                                  score.unwantedNeighbourhoods, worker.epoch)) {
    return skipSubtree(run, worker, k, rootRows, nullptr);
  }
  const ArrangementScore bound = probedBoundBelow(search, run.tables, worker.levels);
  worker.boundBelow[static_cast<size_t>(k)] = bound;
  const SkipReason probed = skipReason(worker, bound, item);
  if (probed.skip) return skipSubtree(run, worker, k, rootRows, &probed);
  return NodeStep::Explore;
}

void publishTrials(void* context, int64_t taskTrials) {
  auto& worker = *static_cast<Worker*>(context);
  worker.trials.store(worker.comparisons + taskTrials, std::memory_order_relaxed);
  worker.trialsWanted.store(false, std::memory_order_relaxed);
}

// Every trial of the task's subtree in the engine's own loop, which ranks
// each accepted arrangement and leaves only at one that beats the task's
// best so far; those are offered to the record. The root, offered before
// the workers started, is the first best. Below a floor the engine counts
// exactly the comparisons of the levels opened in the subtree, the root's
// included: what the subtree adds to the interactive count.
void runExhaustiveTask(SharedRun& run, Worker& worker, int64_t item) {
  const SplitItem& task = run.plan->items[static_cast<size_t>(item)];
  ArrangementSearch& search = *worker.search;
  const int32_t rootRows = task.rowCount;
  const Placement* rows = run.plan->rows.data() + task.firstRow;  // rows 1..rootRows
  std::copy(rows, rows + rootRows, search.table.rows.begin() + 1);
  const Placement& top = search.table.rows[static_cast<size_t>(rootRows)];
  SearchState& state = search.state;
  state.placedCount = rootRows;
  state.extendFlag = true;
  state.candidate = candidateOf(top);
  state.trialCount = 0;
  // What only equals a record held by this item or an earlier one cannot
  // replace it: start from the record then, to leave the loop less often.
  search.bestScore = task.score;
  const Threshold record = readRecord(run.best);
  if (record.any && record.item <= item && compareScores(record.score, task.score) == ScoreOrder::Better) {
    search.bestScore = record.score;
  }
  const TrialsHook hook{.refreshWanted = &worker.trialsWanted, .present = publishTrials, .context = &worker};
  const EngineBounds bounds{
      .selectionMode = SelectionMode::NewBestsOnly, .floorRow = rootRows, .abandon = &run.stop};
  while (runSearchEngine(search, bounds, hook) == SearchStop::Shown) {
    offerToRecord(run.best, lastEvaluationScore(search), item, search.table.rows.data() + 1,
                  state.placedCount, run.control->onRecord);
  }
  // Abandoned: the count reached, for a search that is not complete anyway.
  worker.comparisons += state.trialCount;
  worker.trials.store(worker.comparisons, std::memory_order_relaxed);
}

// True when the task's subtree was explored whole.
bool runTask(SharedRun& run, Worker& worker, int64_t item) {
  const SplitItem& task = run.plan->items[static_cast<size_t>(item)];
  ArrangementSearch& search = *worker.search;
  const int32_t rootRows = task.rowCount;
  worker.taskStart = evaluationsSoFar(worker);

  // Word 1 alone first, so that the evaluation's grid holds no row of the
  // previous task; then the task's rows on top of it.
  search.state.placedCount = 1;
  evaluateArrangementFast(search);
  for (int32_t r = 2; r <= rootRows; ++r) {
    search.table.rows[static_cast<size_t>(r)] = run.plan->rows[task.firstRow + static_cast<size_t>(r - 1)];
  }
  for (int32_t r = 1; r < rootRows; ++r) {
    recordLevelLetters(search, run.tables, worker.levels, r);
    worker.setKeys[static_cast<size_t>(r)] =
        withPlacement(worker.setKeys[static_cast<size_t>(r - 1)], search.table.rows[static_cast<size_t>(r)]);
  }
  search.state.placedCount = rootRows;
  const bool rootAccepted = evaluateArrangementFast(search) == EvaluationOutcome::Accepted;
  assert(rootAccepted && "a task's root was accepted while splitting");
  if (!rootAccepted) return true;
  if (acceptArrangement(run, worker, item, rootRows) == NodeStep::TaskDone) return true;

  while (!run.stop.load(std::memory_order_relaxed) && !pastBudget(run, worker, item)) {
    publishEvaluations(worker);
    // Finished, or a push at the root's level or above: the subtree is done.
    if (resumeSearchQuiet(search) == ResumeOutcome::Finished || search.state.placedCount <= rootRows)
      return true;
    if (evaluateArrangementFast(search) == EvaluationOutcome::Rejected) continue;
    if (acceptArrangement(run, worker, item, rootRows) == NodeStep::TaskDone) return true;
  }
  return false;
}

// Under a node limit: whole stretches, each from an empty record and table.
void takeStretches(SharedRun& run, Worker& worker) {
  const auto& items = run.plan->items;
  const auto itemCount = static_cast<int64_t>(items.size());
  while (!run.stop.load(std::memory_order_relaxed)) {
    const int64_t stretch = run.nextItem.fetch_add(1, std::memory_order_relaxed);
    if (stretch >= BUDGETED_STRETCHES) break;
    worker.threshold = Threshold{false, {}, 0, worker.threshold.version + 1};
    worker.epoch = static_cast<uint32_t>(stretch + 1);
    const int64_t end = (stretch + 1) * itemCount / BUDGETED_STRETCHES;
    for (int64_t item = stretch * itemCount / BUDGETED_STRETCHES; item < end; ++item) {
      if (run.stop.load(std::memory_order_relaxed) || item >= run.beyond.load(std::memory_order_relaxed))
        break;
      if (!items[static_cast<size_t>(item)].task) continue;
      if (!runTask(run, worker, item)) break;
      finishTask(run, worker, item);
    }
  }
}

void takeTasks(SharedRun& run, Worker& worker) {
  const auto& items = run.plan->items;
  while (!run.stop.load(std::memory_order_relaxed)) {
    const int64_t item = run.nextItem.fetch_add(1, std::memory_order_relaxed);
    if (item >= static_cast<int64_t>(items.size()) || item >= run.beyond.load(std::memory_order_relaxed))
      break;
    if (!items[static_cast<size_t>(item)].task) continue;
    if (run.settings->exhaustive) {
      runExhaustiveTask(run, worker, item);
      publishEvaluations(worker);
    } else {
      runTask(run, worker, item);
    }
  }
}

void workerLoop(SharedRun& run, Worker& worker) {
  // What a worker throws (memory refused, a broken invariant) stops the
  // run and is thrown again on the calling thread, never std::terminate.
  try {
    if (run.budgeted) {
      takeStretches(run, worker);
    } else {
      takeTasks(run, worker);
    }
  } catch (...) {
    worker.failure = std::current_exception();
    run.stop = true;
  }
  publishEvaluations(worker);
  run.comparisons.fetch_add(worker.comparisons, std::memory_order_relaxed);
  timespec cpu{};
  if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu) == 0)
    worker.cpuSeconds = static_cast<double>(cpu.tv_sec) + cpu.tv_nsec * 1e-9;
  std::lock_guard<std::mutex> lock(run.doneMutex);
  ++run.workersDone;
  run.doneSignal.notify_all();
}

// [SECTION] The run: its clock, its split, its workers, its answer

// When the run must stop, and why: the caller's flag or the time limit.
// Read on the calling thread only.
struct RunClock {
  Clock::time_point started;
  bool limited = false;  // a time limit was given
  Clock::time_point deadline;
  SolveEnd end = SolveEnd::Complete;  // the reason found to stop, if any
};

RunClock startClock(const SolveSettings& settings) {
  RunClock clock;
  clock.started = Clock::now();
  clock.limited = settings.timeLimitSeconds > 0;
  clock.deadline = clock.started + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                       std::min(settings.timeLimitSeconds, 1e9)));
  return clock;
}

bool shouldStop(RunClock& clock, const SolveControl& control) {
  if (control.stopRequested.load(std::memory_order_relaxed)) {
    clock.end = SolveEnd::Interrupted;
    return true;
  }
  if (clock.limited && Clock::now() >= clock.deadline) {
    clock.end = SolveEnd::TimeLimit;
    return true;
  }
  return false;
}

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

SolveStrategy strategyOf(const SolveSettings& settings) {
  return settings.exhaustive ? SolveStrategy::Exhaustive : SolveStrategy::Proof;
}

// A single worker takes the arrangements of two words in turn; several
// workers split deeper, until each has plenty of tasks to take in turn.
// Under a node limit the split is the same for any number of workers, and
// stops when it alone spends the budget.
SplitPlan planSplit(const WordList& words, const SolveSettings& settings, int32_t totalLetters,
                    RunClock& clock, const SolveControl& control) {
  const bool budgeted = settings.nodeLimit > 0 && !settings.exhaustive;
  const int32_t jobs = budgeted ? BUDGETED_SPLIT_WORKERS : std::max(1, settings.jobs);
  SplitPlan plan;
  for (int32_t depth = 2;; ++depth) {
    plan = splitSearch(words, settings.frame, depth, totalLetters, [&](int64_t evaluations) {
      if (budgeted && evaluations >= settings.nodeLimit) {
        clock.end = SolveEnd::NodeLimit;
        return true;
      }
      return shouldStop(clock, control);
    });
    if (plan.stopped || jobs == 1 || plan.tasks >= 32 * int64_t{jobs} || depth >= words.wordCount) break;
  }
  return plan;
}

// The items met while splitting are offered to the record in search order;
// a bounded task offers its root itself, an exhaustive one's engine does not.
void offerSplitItems(SharedRun& run) {
  const SplitPlan& plan = *run.plan;
  for (size_t i = 0; i < plan.items.size(); ++i) {
    const SplitItem& item = plan.items[i];
    if (item.task && !run.settings->exhaustive) continue;
    offerToRecord(run.best, item.score, static_cast<int64_t>(i), plan.rows.data() + item.firstRow,
                  item.rowCount, run.control->onRecord);
  }
}

using Workers = std::vector<std::unique_ptr<Worker>>;

// Everything the workers use, allocated before they start: nothing is
// allocated while they run.
Workers makeWorkers(const WordList& words, const SolveSettings& settings, int32_t jobs) {
  size_t entries = settings.transpositionEntries;
  if (entries == SIZED_TRANSPOSITION_TABLE)
    entries = transpositionEntriesFor(words.wordCount, settings.timeLimitSeconds, settings.nodeLimit);
  Workers workers;
  for (int32_t j = 0; j < jobs; ++j) {
    auto worker = std::make_unique<Worker>();
    worker->search = startedSearch(words, settings.frame);
    worker->levels.accepted.reserve(size_t{1} << 14);
    if (!settings.exhaustive && entries > 0) allocateTranspositionTable(worker->transpositions, entries);
    workers.push_back(std::move(worker));
  }
  return workers;
}

void prepareBudget(SharedRun& run, const SplitPlan& plan) {
  const SolveSettings& settings = *run.settings;
  run.budgeted = settings.nodeLimit > 0 && !settings.exhaustive;
  if (!run.budgeted) return;
  run.budget = settings.nodeLimit - plan.evaluations;
  run.outcomes.assign(plan.items.size(), TaskOutcome{});
  run.outcomeRows.assign(plan.items.size() * (static_cast<size_t>(run.words->wordCount) + 1), Placement{});
}

// Under a node limit, the best of each admitted task joins the record, in
// search order; the run is complete when every task was admitted.
void foldAdmittedTasks(SharedRun& run, RunClock& clock) {
  if (!run.budgeted) return;
  const auto stride = static_cast<size_t>(run.words->wordCount) + 1;
  const auto& items = run.plan->items;
  int64_t spent = 0;
  size_t i = 0;
  for (; i < items.size(); ++i) {
    if (!items[i].task) continue;
    const TaskOutcome& outcome = run.outcomes[i];
    if (!outcome.finished || spent + outcome.cost > run.budget) break;
    spent += outcome.cost;
    if (!outcome.any) continue;
    offerToRecord(run.best, outcome.score, static_cast<int64_t>(i), run.outcomeRows.data() + i * stride,
                  outcome.rowCount, run.control->onRecord);
  }
  if (clock.end == SolveEnd::Complete && i < items.size()) clock.end = SolveEnd::NodeLimit;
}

// The counts so far; asks each exhaustive engine for its trials count, for
// the next tick.
SolveProgress progressNow(SharedRun& run, const Workers& workers, const RunClock& clock) {
  SolveProgress now;
  now.seconds = secondsSince(clock.started);
  now.strategy = strategyOf(*run.settings);
  now.evaluations = run.plan->evaluations;
  for (const auto& worker : workers) now.evaluations += worker->evaluations.load(std::memory_order_relaxed);
  now.best = readRecord(run.best).score;
  now.trials = 2 + run.plan->comparisons;
  for (const auto& worker : workers) {
    now.trials += worker->trials.load(std::memory_order_relaxed);
    worker->trialsWanted.store(true, std::memory_order_relaxed);
  }
  return now;
}

// Starts a thread per worker, then ticks and watches the clock on the
// calling thread until every worker has ended.
void runWorkers(SharedRun& run, Workers& workers, RunClock& clock, const ProgressTick& onTick) {
  std::vector<std::thread> threads;
  try {
    for (auto& worker : workers) threads.emplace_back(workerLoop, std::ref(run), std::ref(*worker));
  } catch (...) {
    run.stop = true;
    for (auto& thread : threads) thread.join();
    throw;
  }
  auto nextTick = Clock::now();
  std::unique_lock<std::mutex> lock(run.doneMutex);
  while (run.workersDone < static_cast<int32_t>(threads.size())) {
    run.doneSignal.wait_for(lock, std::chrono::milliseconds(20));
    if (run.workersDone == static_cast<int32_t>(threads.size())) break;
    lock.unlock();
    if (!run.stop.load() && shouldStop(clock, *run.control)) run.stop = true;
    if (onTick && Clock::now() >= nextTick) {
      onTick(progressNow(run, workers, clock));
      nextTick = Clock::now() + std::chrono::milliseconds(100);
    }
    lock.lock();
  }
  lock.unlock();
  for (auto& thread : threads) thread.join();
  for (auto& worker : workers) {
    if (worker->failure) std::rethrow_exception(worker->failure);
  }
}

// The record's rows, and their grid and score built afresh by the engine.
void takeRecordedAnswer(const WordList& words, BestRecord& best, SolveResult& result) {
  {
    std::lock_guard<std::mutex> lock(best.mutex);
    assert(best.any && "word 1 alone, the first item of every split, is offered before any worker starts");
    result.rows.assign(best.rows.begin(), best.rows.begin() + best.rowCount + 1);
  }
  auto answer = startedSearch(words);
  const int32_t rowCount = static_cast<int32_t>(result.rows.size()) - 1;
  std::copy(result.rows.begin() + 1, result.rows.end(), answer->table.rows.begin() + 1);
  buildArrangementGrid(*answer, rowCount, result.evaluation);
  result.score = ArrangementScore{rowCount, result.evaluation.unwantedNeighbourhoods,
                                  result.evaluation.crossings, boxSurface(result.evaluation.grid.box)};
}

SolveResult runResult(const WordList& words, SharedRun& run, const Workers& workers, const RunClock& clock) {
  SolveResult result;
  result.wordCount = words.wordCount;
  result.end = clock.end;
  result.foundBy = strategyOf(*run.settings);
  result.seconds = secondsSince(clock.started);
  result.evaluations = progressNow(run, workers, clock).evaluations;
  for (const auto& worker : workers) result.transpositions += worker->transpositions.skips;
  result.trials = 2 + run.plan->comparisons + run.comparisons.load();
  for (const auto& worker : workers) result.workerCpuSeconds.push_back(worker->cpuSeconds);
  takeRecordedAnswer(words, run.best, result);
  return result;
}

// The search meets every arrangement that could reach the seed: a complete
// one that ends below it was seeded with no arrangement of the search.
void checkAgainstSeed(const SolveResult& result, SolveSeed& seed) {
  const SeedBar bar = readSeed(seed);
  if (result.end == SolveEnd::Complete && bar.any &&
      compareScores(result.score, justBelow(bar.score)) != ScoreOrder::Better) {
    throw std::logic_error(
        "the complete search ended below its seed: the seed is no arrangement of the search");
  }
}

}  // namespace

SolveResult solveArrangement(const WordList& words, const SolveSettings& settings,
                             const SolveControl& control, SolveSeed& seed, const ProgressTick& onTick) {
  if (!wordOneFitsFrame(words, settings.frame))
    throw std::invalid_argument("word 1 alone does not fit the frame: no arrangement does");
  RunClock clock = startClock(settings);
  SharedRun run;
  run.words = &words;
  run.settings = &settings;
  run.control = &control;
  run.seed = &seed;
  const int32_t jobs = std::max(1, settings.jobs);
  {
    auto probe = startedSearch(words);
    buildBoundTables(probe->letters, run.tables);
  }
  const SplitPlan plan = planSplit(words, settings, run.tables.totalLetters, clock, control);
  run.plan = &plan;
  offerSplitItems(run);
  Workers workers;
  if (!plan.stopped) {
    prepareBudget(run, plan);
    workers = makeWorkers(words, settings, jobs);
    runWorkers(run, workers, clock, onTick);
    foldAdmittedTasks(run, clock);
  }
  SolveResult result = runResult(words, run, workers, clock);
  checkAgainstSeed(result, seed);
  return result;
}

SolveResult solveArrangement(const WordList& words, const SolveSettings& settings,
                             const SolveControl& control) {
  SolveSeed none;
  return solveArrangement(words, settings, control, none, control.onTick);
}

void seedSolve(SolveSeed& seed, const ArrangementScore& score, const std::vector<Placement>& rows) {
  std::lock_guard<std::mutex> lock(seed.mutex);
  if (seed.any && compareScores(score, seed.score) != ScoreOrder::Better) return;
  seed.any = true;
  seed.score = score;
  seed.rows = rows;
  seed.version.fetch_add(1, std::memory_order_release);
}

}  // namespace arrowgrid
