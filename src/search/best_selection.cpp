// The ranking of accepted arrangements and the selection table.
#include "search/best_selection.h"

namespace arrowgrid {

namespace {

// -1, 0 or 1 as a is worse than, equal to or better than b, where larger is better.
template <typename T>
int32_t rankLarger(T a, T b) {
  return a > b ? 1 : (a < b ? -1 : 0);
}

}  // namespace

ScoreOrder compareWithBest(ArrangementScore& bestScore, const ArrangementScore& score) {
  int32_t rank = rankLarger(score.wordsPlaced, bestScore.wordsPlaced);
  if (rank == 0) rank = rankLarger(bestScore.unwantedNeighbourhoods, score.unwantedNeighbourhoods);
  if (rank == 0) rank = rankLarger(score.crossings, bestScore.crossings);
  if (rank == 0) rank = rankLarger(bestScore.surface, score.surface);
  if (rank > 0) {
    bestScore = score;
    return ScoreOrder::Better;
  }
  return rank < 0 ? ScoreOrder::Worse : ScoreOrder::Equal;
}

bool isArrangementShown(ScoreOrder order, int32_t selectionMode) {
  if (selectionMode == 0) return true;
  if (selectionMode == 1) return order != ScoreOrder::Worse;
  return order == ScoreOrder::Better;
}

}  // namespace arrowgrid
