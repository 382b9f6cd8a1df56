// The workers, the planner that hands them subtrees in the search's order,
// and the replay of their results on the thread that drives the program.
#include "search/parallel_search.h"

#include <algorithm>
#include <chrono>

#include "search/best_selection.h"
#include "search/processor_count.h"
#include "search/search_start.h"

namespace arrowgrid {

namespace {

// Subtrees planned ahead of the replay.
constexpr int64_t TASKS_AHEAD = 64;

SubtreeTask& taskOf(SearchWorkers& workers, int64_t sequence) {
  return workers.tasks[static_cast<size_t>(sequence % static_cast<int64_t>(workers.tasks.size()))];
}

void copyRows(const Placement* from, Placement* to, int32_t first, int32_t last) {
  std::copy(from + first, from + last + 1, to + first);
}

// A worker's search holds the node (rows 1..depth, trialCount 0): the
// subtree below it, with the arrangements its selection shows recorded.
void exploreSubtree(ArrangementSearch& search, int32_t depth, const ArrangementScore& bestHint,
                    SelectionMode recordMode, const std::atomic<bool>& abandon, SubtreeResult& result) {
  SearchState& state = search.state;
  state.placedCount = depth;
  state.extendFlag = true;
  state.candidate = candidateOf(search.table.rows[static_cast<size_t>(depth)]);
  state.trialCount = 0;
  search.bestScore = bestHint;
  search.fast.lastRowCount = 0;
  result.recordCount = 0;
  result.overflowed = false;
  const EngineBounds bounds{.selectionMode = recordMode, .floorRow = depth, .abandon = &abandon};
  while (runSearchEngine(search, bounds, TrialsHook{}) == SearchStop::Shown) {
    if (result.recordCount == RECORDS_PER_SUBTREE) {
      result.overflowed = true;
      return;
    }
    RecordedArrangement& record = result.records[static_cast<size_t>(result.recordCount++)];
    record.trialOffset = state.trialCount;
    record.score = lastEvaluationScore(search);
    record.box = search.evaluation.grid.box;
    copyRows(search.table.rows.data(), record.rows.data(), 1, state.placedCount);
  }
  result.trials = state.trialCount;
  result.lastRowCount = search.fast.lastRowCount;
  copyRows(search.table.rows.data(), result.lastRows.data(), 1, result.lastRowCount);
}

void copyResult(const SubtreeResult& from, SubtreeResult& to) {
  to.trials = from.trials;
  to.overflowed = from.overflowed;
  to.recordCount = from.recordCount;
  std::copy(from.records.begin(), from.records.begin() + from.recordCount, to.records.begin());
  to.lastRowCount = from.lastRowCount;
  copyRows(from.lastRows.data(), to.lastRows.data(), 1, from.lastRowCount);
}

SubtreeTask* firstWaiting(SearchWorkers& workers) {
  for (int64_t s = workers.head; s < workers.tail; ++s) {
    if (taskOf(workers, s).status == TaskStatus::Waiting) return &taskOf(workers, s);
  }
  return nullptr;
}

void workerLoop(SearchWorkers& workers, size_t index) {
  ArrangementSearch& search = *workers.workerSearches[index];
  SubtreeResult& result = *workers.workerResults[index];
  const int32_t depth = workers.nodeDepth;
  std::unique_lock<std::mutex> hold(workers.lock);
  for (;;) {
    SubtreeTask* task = nullptr;
    while (!workers.stopping && (task = firstWaiting(workers)) == nullptr) workers.taskWaiting.wait(hold);
    if (workers.stopping) return;
    // The task's inputs are taken while the lock is held: once thrown
    // away, its slot may be given to another task.
    task->status = TaskStatus::Running;
    const int64_t sequence = task->sequence;
    const ArrangementScore bestHint = task->bestHint;
    const SelectionMode recordMode = task->recordMode;
    copyRows(task->nodeRows.data(), search.table.rows.data(), 1, depth);
    hold.unlock();
    exploreSubtree(search, depth, bestHint, recordMode, workers.abandon, result);
    hold.lock();
    SubtreeTask& slot = taskOf(workers, sequence);
    if (!workers.stopping && slot.sequence == sequence && slot.status == TaskStatus::Running) {
      copyResult(result, slot.result);
      slot.status = TaskStatus::Done;
      workers.taskDone.notify_all();
    }
  }
}

// Every task planned is thrown away; the planner starts again from the
// replay's position when next needed.
void discardTasks(SearchWorkers& workers) {
  const std::lock_guard<std::mutex> hold(workers.lock);
  for (int64_t s = workers.head; s < workers.tail; ++s) taskOf(workers, s).status = TaskStatus::Free;
  workers.head = workers.tail;
  workers.plannerLive = false;
}

void releaseHead(SearchWorkers& workers) {
  const std::lock_guard<std::mutex> hold(workers.lock);
  taskOf(workers, workers.head).status = TaskStatus::Free;
  ++workers.head;
}

// The planner takes the replay's position: the same one, or, when the
// replay is inside the subtree of a node, the position after that node.
void restartPlanner(SearchWorkers& workers, const ArrangementSearch& search) {
  ArrangementSearch& planner = *workers.planner;
  const SearchState& state = search.state;
  const int32_t depth = workers.nodeDepth;
  const bool pendingNode = state.extendFlag && state.placedCount == depth;
  if (workers.place != ReplayPlace::AboveCut || (state.placedCount >= depth && !pendingNode)) {
    copyRows(search.table.rows.data(), planner.table.rows.data(), 1, depth);
    skipBelowRow(planner, depth);
  } else {
    copyRows(search.table.rows.data(), planner.table.rows.data(), 1, state.placedCount);
    planner.state.placedCount = state.placedCount;
    planner.state.extendFlag = state.extendFlag;
    planner.state.candidate = state.candidate;
  }
  workers.plannerLive = true;
  workers.plannerDone = false;
}

// Plans tasks up to TASKS_AHEAD beyond the replay, recorded for selectionMode.
void planTasks(SearchWorkers& workers, const ArrangementSearch& search, SelectionMode selectionMode) {
  if (!workers.plannerLive) restartPlanner(workers, search);
  ArrangementSearch& planner = *workers.planner;
  const int32_t depth = workers.nodeDepth;
  const EngineBounds bounds{.selectionMode = selectionMode, .nodeDepth = depth, .ranks = false};
  while (!workers.plannerDone && workers.tail - workers.head < TASKS_AHEAD) {
    if (runSearchEngine(planner, bounds, TrialsHook{}) != SearchStop::Node) {
      workers.plannerDone = true;
      break;
    }
    {
      const std::lock_guard<std::mutex> hold(workers.lock);
      SubtreeTask& task = taskOf(workers, workers.tail);
      task.sequence = workers.tail;
      task.status = TaskStatus::Waiting;
      copyRows(planner.table.rows.data(), task.nodeRows.data(), 1, depth);
      // The replay is behind the planner: its best is no better than the
      // best at the node.
      task.bestHint = search.bestScore;
      task.recordMode = selectionMode;
      ++workers.tail;
    }
    workers.taskWaiting.notify_one();
    skipBelowRow(planner, depth);  // its subtree is the task's
  }
}

bool headHoldsNode(SearchWorkers& workers, const ArrangementSearch& search) {
  if (workers.head == workers.tail) return false;
  const SubtreeTask& task = taskOf(workers, workers.head);
  return std::equal(task.nodeRows.begin() + 1, task.nodeRows.begin() + 1 + workers.nodeDepth,
                    search.table.rows.begin() + 1);
}

// Waits for the oldest task, planning more and letting the display take
// pictures (of the count at the node) meanwhile.
void waitForHead(SearchWorkers& workers, const ArrangementSearch& search, SelectionMode selectionMode,
                 const TrialsHook& hook) {
  for (;;) {
    {
      std::unique_lock<std::mutex> hold(workers.lock);
      if (taskOf(workers, workers.head).status == TaskStatus::Done) return;
      workers.taskDone.wait_for(hold, std::chrono::milliseconds(2));
      if (taskOf(workers, workers.head).status == TaskStatus::Done) return;
    }
    planTasks(workers, search, selectionMode);
    lookAtRefresh(hook, search.state.trialCount);
  }
}

// The search at a recorded arrangement, as the engine leaves it when it
// shows one.
void takeRecord(ArrangementSearch& search, const RecordedArrangement& record, int64_t nodeTrials) {
  const int32_t rowCount = record.score.wordsPlaced;
  copyRows(record.rows.data(), search.table.rows.data(), 1, rowCount);
  SearchState& state = search.state;
  state.placedCount = rowCount;
  state.extendFlag = true;
  state.trialCount = nodeTrials + record.trialOffset;
  state.candidate = candidateOf(search.table.rows[static_cast<size_t>(rowCount)]);
  search.evaluation.grid.box = record.box;
  search.evaluation.crossings = record.score.crossings;
  search.evaluation.unwantedNeighbourhoods = record.score.unwantedNeighbourhoods;
  search.fast.lastRowCount = rowCount;
  search.fast.gridStale = true;
}

// The search after the subtree, as the engine leaves it past the backtrack
// that drops the node's row.
void takeSubtreeEnd(ArrangementSearch& search, const SubtreeResult& result, int64_t nodeTrials,
                    int32_t depth) {
  search.state.trialCount = nodeTrials + result.trials;
  if (result.lastRowCount > 0) {
    copyRows(result.lastRows.data(), search.table.rows.data(), depth + 1, result.lastRowCount);
    search.fast.lastRowCount = result.lastRowCount;
    search.fast.gridStale = true;
  }
  skipBelowRow(search, depth);
}

}  // namespace

SearchWorkers::~SearchWorkers() { stopSearchWorkers(*this); }

// Deep enough that the subtrees are many and none is a large share of the
// search (in A8 the largest below two words holds 28 % of the trials, below
// three 3.7 %, below four 0.4 %), shallow enough that each is worth handing out.
int32_t defaultNodeDepth(int32_t wordCount) {
  if (wordCount < 4) return 0;
  if (wordCount <= 5) return 2;
  return wordCount == 6 ? 3 : 4;
}

int32_t defaultWorkerCount() { return availableProcessors(); }

void startSearchWorkers(SearchWorkers& workers, const ArrangementSearch& search, int32_t workerCount,
                        int32_t nodeDepth) {
  stopSearchWorkers(workers);
  if (nodeDepth < 2 || nodeDepth >= search.wordList.wordCount || workerCount < 1) return;
  workers.nodeDepth = nodeDepth;
  workers.tasks.assign(static_cast<size_t>(TASKS_AHEAD), SubtreeTask{});
  workers.head = workers.tail = 0;
  workers.planner = startedSearch(search.wordList);
  workers.plannerLive = false;
  workers.place = ReplayPlace::AboveCut;
  workers.stopping = false;
  workers.abandon.store(false);
  for (int32_t i = 0; i < workerCount; ++i) {
    workers.workerSearches.push_back(startedSearch(search.wordList));
    workers.workerResults.push_back(std::make_unique<SubtreeResult>());
  }
  for (size_t i = 0; i < static_cast<size_t>(workerCount); ++i) {
    workers.threads.emplace_back(workerLoop, std::ref(workers), i);
  }
}

void stopSearchWorkers(SearchWorkers& workers) {
  {
    const std::lock_guard<std::mutex> hold(workers.lock);
    workers.stopping = true;
    workers.abandon.store(true);
  }
  workers.taskWaiting.notify_all();
  for (std::thread& thread : workers.threads) thread.join();
  workers.threads.clear();
  workers.workerSearches.clear();
  workers.workerResults.clear();
  workers.nodeDepth = 0;
}

SearchStop searchUntilShownInParallel(ArrangementSearch& search, SearchWorkers& workers,
                                      SelectionMode selectionMode, const TrialsHook& hook) {
  if (workers.nodeDepth == 0 || search.trace != nullptr) return searchUntilShown(search, selectionMode, hook);
  const int32_t depth = workers.nodeDepth;

  // Wherever the replay stands, the search state is exact: a looser
  // selection than the tasks (the one being replayed included) were
  // recorded for throws them away, and the subtree being replayed is
  // explored further on this thread.
  bool looser = selectionMode == SelectionMode::AllAccepted;
  {
    const std::lock_guard<std::mutex> hold(workers.lock);
    for (int64_t s = workers.head; s < workers.tail; ++s)
      looser |= isLooser(selectionMode, taskOf(workers, s).recordMode);
  }
  if (looser) {
    if (workers.place == ReplayPlace::Replaying) workers.place = ReplayPlace::Exploring;
    discardTasks(workers);
  }
  if (selectionMode == SelectionMode::AllAccepted) {
    workers.place = ReplayPlace::AboveCut;
    return searchUntilShown(search, selectionMode, hook);
  }

  for (;;) {
    switch (workers.place) {
      case ReplayPlace::Replaying: {
        const SubtreeResult& result = taskOf(workers, workers.current).result;
        while (workers.nextRecord < result.recordCount) {
          const RecordedArrangement& record = result.records[static_cast<size_t>(workers.nextRecord++)];
          if (isArrangementShown(compareWithBest(search.bestScore, record.score), selectionMode)) {
            takeRecord(search, record, workers.nodeTrials);
            reportStop(hook, search.state.trialCount);
            return SearchStop::Shown;
          }
        }
        takeSubtreeEnd(search, result, workers.nodeTrials, depth);
        releaseHead(workers);
        workers.place = ReplayPlace::AboveCut;
        break;
      }
      case ReplayPlace::Exploring:
        if (runSearchEngine(search, EngineBounds{.selectionMode = selectionMode, .floorRow = depth}, hook) ==
            SearchStop::Shown) {
          return SearchStop::Shown;
        }
        skipBelowRow(search, depth);
        workers.place = ReplayPlace::AboveCut;
        break;
      case ReplayPlace::AboveCut: {
        planTasks(workers, search, selectionMode);
        const SearchStop stop =
            runSearchEngine(search, EngineBounds{.selectionMode = selectionMode, .nodeDepth = depth}, hook);
        if (stop != SearchStop::Node) return stop;
        // The planner meets the nodes in the same order: the oldest task
        // is this node's, unless the planner started after it.
        if (!headHoldsNode(workers, search)) {
          discardTasks(workers);
          workers.place = ReplayPlace::Exploring;
          break;
        }
        waitForHead(workers, search, selectionMode, hook);
        if (taskOf(workers, workers.head).result.overflowed) {
          releaseHead(workers);
          workers.place = ReplayPlace::Exploring;
          break;
        }
        workers.current = workers.head;
        workers.nextRecord = 0;
        workers.nodeTrials = search.state.trialCount;
        workers.place = ReplayPlace::Replaying;
        break;
      }
    }
  }
}

}  // namespace arrowgrid
