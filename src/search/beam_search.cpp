// The beam search: levels of kept arrangements, each child evaluated on the
// occupancy grid of its parent, children pooled per thread, merged and cut
// down to the width at each level.
//
// [SECTION] Why the kept children do not depend on the threads
//
// A child's rank is (unwanted ascending, crossings descending, surface
// ascending, order ascending), where order is (parent's place in the beam,
// child's place among its parent's children): a total order fixed by the
// level alone. Children with the same set of placements leave the same
// cells, so they differ only in unwanted neighbourhoods; of such a set only
// the child ranking first matters. The answer of a level is therefore the
// first `width` sets by rank, each with its first-ranked child. A pool may
// drop a child only when `width` other sets already rank ahead of it there:
// nothing met later can bring it back into the first `width`, since sets
// only ever gain better children. So whatever parents a thread expanded,
// and in whatever order, the pools together still hold every set of the
// answer with its first-ranked child, and the last merge finds it.
#include "search/beam_search.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <thread>

#include "search/best_selection.h"
#include "search/candidate_enumeration.h"
#include "search/fast_evaluation.h"
#include "search/grid_evaluation.h"
#include "search/placement_set_key.h"
#include "search/search_start.h"

namespace arrowgrid {

namespace {

using Clock = std::chrono::steady_clock;
using enumeration_detail::allWordBits;
using enumeration_detail::nextUnplacedWord;
using enumeration_detail::wordBit;

// [SECTION] Children and their pools

struct BeamChild {
  PlacementSetKey set;  // of its placements
  uint64_t order = 0;   // parent << 32 | child number within the parent
  int32_t unwanted = 0;
  int32_t crossings = 0;
  int64_t surface = 0;
  Placement row;  // the row the child adds to its parent
};

bool ranksAhead(const BeamChild& a, const BeamChild& b) {
  if (a.unwanted != b.unwanted) return a.unwanted < b.unwanted;
  if (a.crossings != b.crossings) return a.crossings > b.crossings;
  if (a.surface != b.surface) return a.surface < b.surface;
  return a.order < b.order;
}

bool sameSet(const BeamChild& a, const BeamChild& b) { return a.set == b.set; }

struct ChildPool {
  std::vector<BeamChild> children;  // sized once per width; the first `count` are live
  size_t count = 0;
  bool hasCutoff = false;
  BeamChild cutoff;        // once set, `keep` distinct sets rank at or ahead of it
  bool truncated = false;  // some child was dropped for rank, not as a repeat
};

void clearPool(ChildPool& pool) {
  pool.count = 0;
  pool.hasCutoff = false;
  pool.truncated = false;
}

// Leaves one child per set (the first-ranked) and at most `keep` sets, the
// first-ranked, in no particular order.
void compactPool(ChildPool& pool, size_t keep) {
  const auto begin = pool.children.begin();
  auto end = begin + static_cast<std::ptrdiff_t>(pool.count);
  std::sort(begin, end, [](const BeamChild& a, const BeamChild& b) {
    if (a.set.first != b.set.first) return a.set.first < b.set.first;
    if (a.set.second != b.set.second) return a.set.second < b.set.second;
    return ranksAhead(a, b);
  });
  end = std::unique(begin, end, sameSet);
  size_t live = static_cast<size_t>(end - begin);
  if (live > keep) {
    std::nth_element(begin, begin + static_cast<std::ptrdiff_t>(keep - 1), end, ranksAhead);
    pool.truncated = true;
    live = keep;
    pool.cutoff = begin[static_cast<std::ptrdiff_t>(keep - 1)];
    pool.hasCutoff = true;
  } else if (live == keep && live > 0) {
    pool.cutoff = *std::max_element(begin, end, ranksAhead);
    pool.hasCutoff = true;
  }
  pool.count = live;
}

void offerChild(ChildPool& pool, const BeamChild& child, size_t keep) {
  if (pool.hasCutoff && !ranksAhead(child, pool.cutoff)) {
    pool.truncated = true;
    return;
  }
  if (pool.count == pool.children.size()) compactPool(pool, keep);
  pool.children[pool.count++] = child;
}

// [SECTION] Candidates
//
// Every node of a level that a guaranteed width expanded is offered; the
// list keeps the first `capacity` distinct sets by (score, order met), each
// with its best-ranking node. A set dropped for rank that comes back with a
// better score is judged afresh, so the list is exactly that ranking. Its
// slots are sized once.

struct CandidateSlot {
  ArrangementScore score;
  PlacementSetKey set;
  uint64_t met = 0;             // order of offering
  std::vector<Placement> rows;  // rows 1..score.wordsPlaced; sized to the stride
};

struct CandidateList {
  std::vector<CandidateSlot> slots;  // the first `count` are live, best first
  size_t count = 0;
  uint64_t offered = 0;
};

bool candidateAhead(const ArrangementScore& score, uint64_t met, const CandidateSlot& slot) {
  const ScoreOrder order = compareScores(score, slot.score);
  return order == ScoreOrder::Better || (order == ScoreOrder::Equal && met < slot.met);
}

// rows: the node's rows 1..score.wordsPlaced.
void offerCandidate(CandidateList& list, const ArrangementScore& score, const PlacementSetKey& set,
                    const Placement* rows) {
  const uint64_t met = list.offered++;
  const auto slots = list.slots.begin();
  auto at = [&](size_t i) { return slots + static_cast<std::ptrdiff_t>(i); };
  for (size_t i = 0; i < list.count; ++i) {
    if (!(list.slots[i].set == set)) continue;
    if (!candidateAhead(score, met, list.slots[i])) return;
    // Leaves its place for the better node of the same set.
    std::rotate(at(i), at(i + 1), at(list.count));
    --list.count;
    break;
  }
  size_t place = 0;
  while (place < list.count && !candidateAhead(score, met, list.slots[place])) ++place;
  if (place == list.slots.size()) return;
  if (list.count == list.slots.size()) --list.count;  // the last one goes
  // The free slot at `count` moves to `place`, its storage reused.
  std::rotate(at(place), at(list.count), at(list.count + 1));
  CandidateSlot& slot = list.slots[place];
  slot.score = score;
  slot.set = set;
  slot.met = met;
  std::copy(rows + 1, rows + score.wordsPlaced + 1, slot.rows.begin() + 1);
  ++list.count;
}

// [SECTION] Levels of the beam

struct BeamLevel {
  int32_t depth = 0;                  // rows of every node
  int32_t size = 0;                   // nodes, ranked: node 0 first
  std::vector<Placement> rows;        // node i's row r at i * stride + r
  std::vector<PlacementSetKey> sets;  // each node's
  std::vector<ArrangementScore> scores;
};

struct BeamWorker {
  std::unique_ptr<ArrangementSearch> search;  // its occupancy grid follows the parent expanded
  ChildPool pool;
  int64_t evaluations = 0;
  int64_t probeWork = 0;  // its evaluations weighted by the length of the word probed
};

struct BeamRun {
  const WordList* words = nullptr;
  const BeamSettings* settings = nullptr;
  ArrangementScore best;  // of the widths finished so far
  size_t stride = 0;      // wordCount + 1
  size_t width = 0;
  bool guaranteed = false;  // this width runs to its end
  BeamLevel current;
  BeamLevel next;
  ChildPool merged;
  std::vector<std::unique_ptr<BeamWorker>> workers;
  std::atomic<int32_t> nextParent{0};
  std::atomic<bool> abandoned{false};
  CandidateList candidates;
  std::atomic<int64_t> spent{0};  // evaluations of the widths so far, added parent by parent
};

void offerLevel(BeamRun& run) {
  const BeamLevel& level = run.current;
  for (int32_t i = 0; i < level.size; ++i) {
    const auto n = static_cast<size_t>(i);
    offerCandidate(run.candidates, level.scores[n], level.sets[n], level.rows.data() + n * run.stride);
  }
}

// Past the budget as soon as the count of the parents expanded so far is:
// the level's whole count is then past it too, whatever the threads did.
bool overBudget(const BeamRun& run) {
  const int64_t budget = run.settings->evaluationBudget;
  return budget > 0 && run.spent.load(std::memory_order_relaxed) > budget;
}

bool timeIsUp(const BeamSettings& settings) {
  return (settings.stop != nullptr && settings.stop->load(std::memory_order_relaxed)) ||
         Clock::now() >= settings.deadline;
}

// Every child of parent p in the enumeration's order: unplaced words in
// turn, each letter of the word against every letter of the placed rows.
void expandNode(BeamRun& run, BeamWorker& worker, int32_t p) {
  ArrangementSearch& search = *worker.search;
  const BeamLevel& level = run.current;
  const int32_t k = level.depth;
  const Placement* rows = level.rows.data() + static_cast<size_t>(p) * run.stride;
  std::copy(rows + 1, rows + k + 1, search.table.rows.begin() + 1);
  search.state.placedCount = k;
  // Every kept node was accepted on its parent's grid: a node the grid
  // cannot follow is a fault of the beam, kept out of the answer.
  const bool synced = syncOccupancy(search, k);
  assert(synced && "a node kept by the beam is an accepted arrangement");
  if (!synced) return;

  const WordLetters& words = search.letters;
  uint64_t unplaced = allWordBits(words.wordCount);
  for (int32_t r = 1; r <= k; ++r) unplaced &= ~wordBit(rows[r].wordNumber);
  const PlacementSetKey parentSet = level.sets[static_cast<size_t>(p)];
  uint64_t childNumber = 0;
  int64_t probeWeight = 1;  // of the word tried

  auto tryChild = [&](int32_t w, int32_t letterPos, int32_t r, int32_t crossedPos) {
    const Placement row = placementAcross(rows[r], Candidate{w, letterPos, r, crossedPos});
    ++worker.evaluations;
    worker.probeWork += probeWeight;
    const RowProbe probe = probeRowOnTop(search, row);
    if (probe.outcome != EvaluationOutcome::Accepted) return;
    BeamChild child;
    child.set = withPlacement(parentSet, row);
    child.order = (static_cast<uint64_t>(p) << 32) | childNumber++;
    child.unwanted = probe.unwantedNeighbourhoods;
    child.crossings = probe.crossings;
    child.surface = boxSurface(probe.box);
    child.row = row;
    offerChild(worker.pool, child, run.width);
  };

  for (int32_t w = nextUnplacedWord(unplaced, 0); w != 0; w = nextUnplacedWord(unplaced, w)) {
    const int32_t length = words.length[static_cast<size_t>(w)];
    probeWeight = 1 + length / BEAM_LETTERS_PER_EVALUATION;
    const uint8_t* letters = words.letters.data() + words.offset[static_cast<size_t>(w)];
    for (int32_t letterPos = 1; letterPos <= length; ++letterPos) {
      const uint8_t letter = letters[letterPos - 1];
      for (int32_t r = 1; r <= k; ++r) {
        const auto crossed = static_cast<size_t>(rows[r].wordNumber);
        const int32_t crossedLength = words.length[crossed];
        if (crossedLength <= POSITION_MASK_LETTERS) {
          uint64_t mask = words.positions[crossed][static_cast<size_t>(letter - LETTER_CODE_BASE)];
          for (; mask != 0; mask &= mask - 1) tryChild(w, letterPos, r, std::countr_zero(mask) + 1);
        } else {
          const uint8_t* crossedLetters = words.letters.data() + words.offset[crossed];
          for (int32_t i = 1; i <= crossedLength; ++i) {
            if (crossedLetters[i - 1] == letter) tryChild(w, letterPos, r, i);
          }
        }
      }
    }
  }
}

// A worker's share of a level: parents taken one at a time until none is
// left or a width that may be abandoned runs out of time.
void expandShare(BeamRun& run, BeamWorker& worker) {
  for (;;) {
    if (!run.guaranteed && (run.abandoned.load(std::memory_order_relaxed) || timeIsUp(*run.settings))) {
      run.abandoned.store(true, std::memory_order_relaxed);
      return;
    }
    if (overBudget(run)) {
      run.abandoned.store(true, std::memory_order_relaxed);
      return;
    }
    const int32_t p = run.nextParent.fetch_add(1, std::memory_order_relaxed);
    if (p >= run.current.size) return;
    const int64_t before = worker.evaluations;
    expandNode(run, worker, p);
    run.spent.fetch_add(worker.evaluations - before, std::memory_order_relaxed);
  }
}

// Threads beside the caller's that take a share of every level.
struct BeamCrew {
  BeamRun* run = nullptr;
  std::mutex mutex;
  std::condition_variable wake;
  std::condition_variable done;
  uint64_t generation = 0;  // raised for each level
  int32_t busy = 0;         // helpers still on the current level
  bool quit = false;
  std::vector<std::thread> threads;

  ~BeamCrew() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      quit = true;
    }
    wake.notify_all();
    for (auto& thread : threads) thread.join();
  }
};

void crewLoop(BeamCrew& crew, BeamWorker& worker) {
  uint64_t seen = 0;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(crew.mutex);
      crew.wake.wait(lock, [&] { return crew.quit || crew.generation != seen; });
      if (crew.quit) return;
      seen = crew.generation;
    }
    expandShare(*crew.run, worker);
    std::lock_guard<std::mutex> lock(crew.mutex);
    if (--crew.busy == 0) crew.done.notify_all();
  }
}

void expandLevel(BeamRun& run, BeamCrew& crew) {
  for (auto& worker : run.workers) clearPool(worker->pool);
  run.nextParent.store(0);
  {
    std::lock_guard<std::mutex> lock(crew.mutex);
    crew.busy = static_cast<int32_t>(crew.threads.size());
    ++crew.generation;
  }
  crew.wake.notify_all();
  expandShare(run, *run.workers[0]);
  std::unique_lock<std::mutex> lock(crew.mutex);
  crew.done.wait(lock, [&] { return crew.busy == 0; });
}

// The next level from the pools: their sets merged, the first `width` by
// rank, in rank order. False when the level has no child at all.
bool buildNextLevel(BeamRun& run, bool& truncated) {
  ChildPool& merged = run.merged;
  clearPool(merged);
  for (auto& worker : run.workers) {
    ChildPool& pool = worker->pool;
    compactPool(pool, run.width);
    truncated = truncated || pool.truncated;
    std::copy_n(pool.children.begin(), pool.count,
                merged.children.begin() + static_cast<std::ptrdiff_t>(merged.count));
    merged.count += pool.count;
  }
  compactPool(merged, run.width);
  truncated = truncated || merged.truncated;
  if (merged.count == 0) return false;
  const auto begin = merged.children.begin();
  std::sort(begin, begin + static_cast<std::ptrdiff_t>(merged.count), ranksAhead);

  const BeamLevel& current = run.current;
  BeamLevel& next = run.next;
  const int32_t depth = current.depth + 1;
  next.depth = depth;
  next.size = static_cast<int32_t>(merged.count);
  for (size_t i = 0; i < merged.count; ++i) {
    const BeamChild& child = merged.children[i];
    const size_t parent = static_cast<size_t>(child.order >> 32);
    const auto from = current.rows.begin() + static_cast<std::ptrdiff_t>(parent * run.stride);
    const auto to = next.rows.begin() + static_cast<std::ptrdiff_t>(i * run.stride);
    std::copy(from + 1, from + depth, to + 1);
    to[depth] = child.row;
    next.sets[i] = child.set;
    next.scores[i] = ArrangementScore{depth, child.unwanted, child.crossings, child.surface};
  }
  std::swap(run.current, run.next);
  return true;
}

void sizeLevel(BeamLevel& level, size_t width, size_t stride) {
  level.rows.resize(width * stride);
  level.sets.resize(width);
  level.scores.resize(width);
}

// Every level is expanded whole, so at a level's end this count is the same
// for any number of threads.
// What the guaranteed widths spend: a long word's probe reads that many
// more cells.
int64_t probeWorkMade(const BeamRun& run) {
  int64_t work = 0;
  for (const auto& worker : run.workers) work += worker->probeWork;
  return work;
}

int64_t evaluationsMade(const BeamRun& run) {
  int64_t evaluations = 0;
  for (const auto& worker : run.workers) evaluations += worker->evaluations;
  return evaluations;
}

struct WidthOutcome {
  bool finished = false;   // not abandoned
  bool truncated = false;  // some level dropped a set for rank
  ArrangementScore score;  // of its best node
  std::vector<Placement> rows;
};

ArrangementScore wordOneAlone(const WordList& words) {
  return ArrangementScore{1, 0, 0, 3 * (int64_t{textLength(words.words[1])} + 2)};
}

// One beam of run.width from word 1 alone to the deepest level with a child.
WidthOutcome runWidth(BeamRun& run, BeamCrew& crew) {
  const size_t width = run.width;
  const size_t poolSize = std::max<size_t>(2 * width, 256);
  sizeLevel(run.current, width, run.stride);
  sizeLevel(run.next, width, run.stride);
  for (auto& worker : run.workers) worker->pool.children.resize(poolSize);
  run.merged.children.resize(run.workers.size() * width);
  run.abandoned.store(false);

  BeamLevel& root = run.current;
  const Placement first{1, 0, 0, DIR_HORIZONTAL, 0, 0, 0};
  root.depth = 1;
  root.size = 1;
  root.rows[1] = first;
  root.sets[0] = withPlacement(PlacementSetKey{}, first);
  root.scores[0] = wordOneAlone(*run.words);

  WidthOutcome outcome;
  if (run.guaranteed) offerLevel(run);
  while (run.current.depth < run.words->wordCount) {
    expandLevel(run, crew);
    if (run.abandoned.load() || overBudget(run)) return outcome;
    // Expanded whole, whatever the time: the next level is the same on any machine.
    const bool wholeLevel = run.guaranteed;
    if (run.guaranteed && probeWorkMade(run) > run.settings->guaranteedEvaluations) run.guaranteed = false;
    if (run.settings->onLevel) run.settings->onLevel(run.best, evaluationsMade(run));
    if (!buildNextLevel(run, outcome.truncated)) break;
    if (wholeLevel) offerLevel(run);
  }
  outcome.finished = true;
  outcome.score = run.current.scores[0];
  const auto best = run.current.rows.begin();
  outcome.rows.assign(best, best + run.current.depth + 1);
  return outcome;
}

}  // namespace

BeamResult runBeamSearch(const WordList& words, const BeamSettings& settings) {
  BeamResult result;
  if (words.wordCount < 1 || words.wordCount > MAX_WORDS) return result;
  BeamRun run;
  run.words = &words;
  run.settings = &settings;
  run.stride = static_cast<size_t>(words.wordCount) + 1;
  const int32_t threads = std::max(1, settings.threads);
  for (int32_t t = 0; t < threads; ++t) {
    auto worker = std::make_unique<BeamWorker>();
    worker->search = startedSearch(words, settings.frame);
    run.workers.push_back(std::move(worker));
  }
  run.candidates.slots.resize(static_cast<size_t>(std::max(0, settings.candidates)));
  for (CandidateSlot& slot : run.candidates.slots) slot.rows.resize(run.stride);
  BeamCrew crew;
  crew.run = &run;
  for (int32_t t = 1; t < threads; ++t) {
    crew.threads.emplace_back(crewLoop, std::ref(crew), std::ref(*run.workers[static_cast<size_t>(t)]));
  }

  bool any = false;
  ArrangementScore& bestScore = run.best;
  bestScore = wordOneAlone(words);
  std::vector<Placement> bestRows;
  int32_t stalled = 0;  // finished widths past the guaranteed ones that found nothing better
  for (int32_t width = 1; width <= std::max(1, settings.maxWidth); width *= 2) {
    run.width = static_cast<size_t>(width);
    run.guaranteed =
        width <= settings.guaranteedWidth && probeWorkMade(run) <= settings.guaranteedEvaluations;
    if (!run.guaranteed && timeIsUp(settings)) break;
    WidthOutcome outcome = runWidth(run, crew);
    if (!outcome.finished) break;
    result.widestFinished = width;
    result.finishedEvaluations = run.spent.load();
    if (!any || compareScores(outcome.score, bestScore) == ScoreOrder::Better) {
      any = true;
      bestScore = outcome.score;
      bestRows = std::move(outcome.rows);
      result.widthFound = width;
      stalled = 0;
    } else if (width > settings.guaranteedWidth && ++stalled >= BEAM_STALLED_WIDTHS) {
      break;
    }
    if (!outcome.truncated) {
      result.wholeTree = true;
      break;
    }
    if (width > std::numeric_limits<int32_t>::max() / 2) break;
  }
  result.evaluations = evaluationsMade(run);

  // Used only as nodes of the tree, scored by the reference evaluation.
  if (any && isSearchTreeNode(words, bestRows, bestScore.wordsPlaced, result.score, settings.frame)) {
    result.found = true;
    result.rows = std::move(bestRows);
  }
  for (size_t i = 0; i < run.candidates.count; ++i) {
    CandidateSlot& slot = run.candidates.slots[i];
    ScoredArrangement kept;
    if (!isSearchTreeNode(words, slot.rows, slot.score.wordsPlaced, kept.score, settings.frame)) continue;
    kept.rows.assign(slot.rows.begin(), slot.rows.begin() + slot.score.wordsPlaced + 1);
    result.candidates.push_back(std::move(kept));
  }
  return result;
}

bool isSearchTreeNode(const WordList& words, const std::vector<Placement>& rows, int32_t rowCount,
                      ArrangementScore& score, const GridFrame& frame) {
  if (rowCount < 1 || rowCount > words.wordCount || rows.size() <= static_cast<size_t>(rowCount))
    return false;
  if (!(rows[1] == Placement{1, 0, 0, DIR_HORIZONTAL, 0, 0, 0})) return false;
  uint64_t used = wordBit(1);
  for (int32_t r = 2; r <= rowCount; ++r) {
    const Placement& row = rows[static_cast<size_t>(r)];
    if (row.wordNumber < 1 || row.wordNumber > words.wordCount || (used & wordBit(row.wordNumber)) != 0) {
      return false;
    }
    used |= wordBit(row.wordNumber);
    if (row.crossedRow < 1 || row.crossedRow >= r) return false;
    const Placement& crossed = rows[static_cast<size_t>(row.crossedRow)];
    const ByteString& word = words.words[static_cast<size_t>(row.wordNumber)];
    const ByteString& crossedWord = words.words[static_cast<size_t>(crossed.wordNumber)];
    if (row.letterPos < 1 || row.letterPos > textLength(word) || row.crossedPos < 1 ||
        row.crossedPos > textLength(crossedWord) ||
        codeAt(word, row.letterPos) != codeAt(crossedWord, row.crossedPos)) {
      return false;
    }
    const Candidate candidate{row.wordNumber, row.letterPos, row.crossedRow, row.crossedPos};
    if (!(placementAcross(crossed, candidate) == row)) return false;
  }
  PlacementTable table;
  std::copy(rows.begin() + 1, rows.begin() + rowCount + 1, table.rows.begin() + 1);
  GridEvaluation evaluation;
  for (int32_t k = 1; k <= rowCount; ++k) {
    if (buildArrangementGrid(words, table, k, evaluation) != EvaluationOutcome::Accepted) return false;
  }
  if (!boxFitsFrame(evaluation.grid.box, frame)) return false;  // nor does any longer arrangement
  score = ArrangementScore{rowCount, evaluation.unwantedNeighbourhoods, evaluation.crossings,
                           boxSurface(evaluation.grid.box)};
  return true;
}

}  // namespace arrowgrid
