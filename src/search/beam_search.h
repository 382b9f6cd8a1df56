// A beam search over the tree the depth-first search enumerates, for the
// long lists where that search never leaves its first rows in any time a
// person waits. Level by level, every child of every kept arrangement is
// evaluated by the engine's evaluation; children holding the same set of
// placements are merged; the best `width` go on. Widths double (1, 2, 4,
// ...): the narrow ones always run to their end, so the same words give at
// least their grid on any machine and under any load; wider ones run while
// time remains. The answer is re-checked as a node of the tree before it is
// returned, and is the same whatever the number of threads.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "search/search_data.h"

namespace arrowgrid {

// Widths up to this always run to their end, whatever the deadline, while
// the evaluations they have made stay under the budget (counted at the end
// of each level, so the same words give up at the same point on every
// machine). An evaluation of a word of BEAM_LETTERS_PER_EVALUATION letters
// or more counts 1 + length / BEAM_LETTERS_PER_EVALUATION times, as its
// probe reads that many more cells: on 50 words of 100 letters the budget
// ends them in a fraction of a second; the rest of that width then runs as
// time allows.
inline constexpr int32_t BEAM_GUARANTEED_WIDTH = 16;
inline constexpr int64_t BEAM_GUARANTEED_EVALUATIONS = 4'000'000;
inline constexpr int32_t BEAM_LETTERS_PER_EVALUATION = 16;
// Past the guaranteed widths, this many wider runs in a row that find
// nothing better end the beam: the time left goes to whoever runs next.
inline constexpr int32_t BEAM_STALLED_WIDTHS = 3;
// The widest beam tried: its rows take about 50 MB on 50 words.
inline constexpr int32_t BEAM_MAX_WIDTH = 1 << 14;

struct BeamSettings {
  int32_t threads = 1;  // share each level's children; the answer does not depend on it
  int32_t guaranteedWidth = BEAM_GUARANTEED_WIDTH;
  int64_t guaranteedEvaluations = BEAM_GUARANTEED_EVALUATIONS;
  int32_t maxWidth = BEAM_MAX_WIDTH;
  // Wider beams than the guaranteed ones are abandoned at the deadline or
  // when stop is raised (the better answer of the finished ones stays).
  std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
  const std::atomic<bool>* stop = nullptr;
  // Evaluations all widths together may spend (0: no such limit): a width
  // that would pass it is abandoned, even a guaranteed one. Whether a width
  // passes it is decided by the count of whole levels, the same for any
  // number of threads, so the widths kept are too.
  int64_t evaluationBudget = 0;
  // On the calling thread at the end of each level: the best of the widths
  // finished so far (word 1 alone before any) and the evaluations made.
  std::function<void(const ArrangementScore& best, int64_t evaluations)> onLevel;
  GridFrame frame{};       // children whose box exceeds it are dropped; word 1 alone must fit
  int32_t candidates = 0;  // how many to keep in BeamResult::candidates
};

struct BeamResult {
  bool found = false;           // rows passed the tree-node check
  ArrangementScore score;       // of rows, by the reference evaluation
  std::vector<Placement> rows;  // rows 1..score.wordsPlaced; [0] unused
  int32_t widthFound = 0;       // the width whose run found the answer
  int32_t widestFinished = 0;   // the widest run that ended
  bool wholeTree = false;       // a run kept every distinct child: no width can do better
  int64_t evaluations = 0;      // children evaluated, abandoned runs included
  int64_t finishedEvaluations = 0;  // those of the widths that ended: the same on every machine
  // The best `candidates` distinct sets of placements among the nodes of
  // every level expanded by a guaranteed width, best first, then in the
  // order met; each passed the tree-node check. Like those levels, they do
  // not depend on the threads, the machine or the deadline.
  std::vector<ScoredArrangement> candidates;
};

BeamResult runBeamSearch(const WordList& words, const BeamSettings& settings);

// Whether rows 1..rowCount are a node of the search tree: row 1 word 1 at
// the origin, across; each later row an unplaced word across an earlier
// row on a shared letter, placed as the enumeration places it; and every
// prefix accepted by the reference evaluation; and its box within the
// frame. Sets score when it is.
bool isSearchTreeNode(const WordList& words, const std::vector<Placement>& rows, int32_t rowCount,
                      ArrangementScore& score, const GridFrame& frame = {});

}  // namespace arrowgrid
