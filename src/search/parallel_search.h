// The search on several processors. The search tree is cut below the
// accepted arrangements of nodeDepth rows; worker threads explore those
// subtrees in the search's order, each returning its trial total and the
// arrangements in it that may be shown, with their trial offsets. The
// thread that drives the program runs the levels above the cut itself and
// replays each subtree's result in turn, so that every count, report and
// best is the one the search on one thread meets. Work done ahead is kept
// while it stays valid (a stricter selection) and thrown away otherwise.
//
// The solver (search/proof_search.cpp) splits its search its own way, and
// cannot share this one: here every trial count, shown arrangement and pause
// must come out in order on the driving thread, which can stop, change the
// selection and resume at any arrangement; the solver wants only the first
// best, lets workers skip subtrees against one shared record, and never
// replays anything. What both share is the engine and its EngineBounds.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "search/search_engine.h"

namespace arrowgrid {

// An arrangement a worker met that its selection shows against its own
// running best: where it stands and what a report of it needs.
struct RecordedArrangement {
  int64_t trialOffset = 0;  // trials from the subtree's node to its push
  ArrangementScore score;
  GridBox box;
  std::array<Placement, MAX_WORDS + 1> rows;  // 1..score.wordsPlaced
};

// Beyond this many records a subtree is explored again by the replay.
inline constexpr int32_t RECORDS_PER_SUBTREE = 16;

struct SubtreeResult {
  int64_t trials = 0;       // comparisons in the subtree
  bool overflowed = false;  // more records than kept
  int32_t recordCount = 0;
  std::array<RecordedArrangement, RECORDS_PER_SUBTREE> records;
  int32_t lastRowCount = 0;  // rows of the subtree's last evaluation, 0: none
  std::array<Placement, MAX_WORDS + 1> lastRows;
};

enum class TaskStatus { Free, Waiting, Running, Done };

// One subtree handed out, identified by its place in the search's order.
struct SubtreeTask {
  int64_t sequence = -1;
  TaskStatus status = TaskStatus::Free;
  std::array<Placement, MAX_WORDS + 1> nodeRows;           // 1..nodeDepth
  ArrangementScore bestHint;                               // a best met no later than the node
  SelectionMode recordMode = SelectionMode::NewBestsOnly;  // the selection mode its records follow
  SubtreeResult result;
};

// Where the replay stands between two calls.
enum class ReplayPlace {
  AboveCut,   // in the levels above the cut (or anywhere, after a change of selection)
  Replaying,  // in the subtree of task `current`, showing its records
  Exploring,  // in the subtree of a node, exploring it on this thread
};

struct SearchWorkers {
  int32_t nodeDepth = 0;  // 0: no workers, the search runs on one thread
  std::vector<std::thread> threads;
  std::vector<std::unique_ptr<ArrangementSearch>> workerSearches;  // one per thread
  std::vector<std::unique_ptr<SubtreeResult>> workerResults;       // one per thread

  std::mutex lock;
  std::condition_variable taskWaiting;  // a task to claim, or stopping
  std::condition_variable taskDone;
  bool stopping = false;
  std::atomic<bool> abandon{false};  // raised with stopping: workers leave their subtree
  // Tasks head..tail-1 in the search's order, task s in slot s % size.
  std::vector<SubtreeTask> tasks;
  int64_t head = 0;
  int64_t tail = 0;

  // The planner: a copy of the search that runs ahead through the levels
  // above the cut, finding the nodes to hand out.
  std::unique_ptr<ArrangementSearch> planner;
  bool plannerLive = false;  // planner and tasks follow the replay's position
  bool plannerDone = false;

  ReplayPlace place = ReplayPlace::AboveCut;
  int64_t current = 0;     // Replaying: the task's sequence
  int32_t nextRecord = 0;  // Replaying: the next record to rank
  int64_t nodeTrials = 0;  // Replaying: trialCount at the node's push

  SearchWorkers() = default;
  SearchWorkers(const SearchWorkers&) = delete;
  SearchWorkers& operator=(const SearchWorkers&) = delete;
  ~SearchWorkers();
};

// The depth of the cut for a list of wordCount words (0: not worth it),
// and the workers for the processors available.
int32_t defaultNodeDepth(int32_t wordCount);
int32_t defaultWorkerCount();

// Starts workerCount threads for the search just initialised (initSearch
// run); with nodeDepth 0 or no worker, nothing. Allocates everything the
// parallel search uses; nothing is allocated while it runs.
void startSearchWorkers(SearchWorkers& workers, const ArrangementSearch& search, int32_t workerCount,
                        int32_t nodeDepth);

// Ends the threads, which leave the subtree they are on.
void stopSearchWorkers(SearchWorkers& workers);

// searchUntilShown with the workers: the same stops, counts and state.
// Every accepted arrangement shown (AllAccepted) would have every accepted arrangement recorded: it runs
// on this thread. So do traced searches.
SearchStop searchUntilShownInParallel(ArrangementSearch& search, SearchWorkers& workers,
                                      SelectionMode selectionMode, const TrialsHook& hook);

}  // namespace arrowgrid
