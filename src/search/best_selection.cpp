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

ScoreOrder compareScores(const ArrangementScore& score, const ArrangementScore& other) {
  int32_t rank = rankLarger(score.wordsPlaced, other.wordsPlaced);
  if (rank == 0) rank = rankLarger(other.unwantedNeighbourhoods, score.unwantedNeighbourhoods);
  if (rank == 0) rank = rankLarger(score.crossings, other.crossings);
  if (rank == 0) rank = rankLarger(other.surface, score.surface);
  return rank > 0 ? ScoreOrder::Better : (rank < 0 ? ScoreOrder::Worse : ScoreOrder::Equal);
}

ScoreOrder compareWithBest(ArrangementScore& bestScore, const ArrangementScore& score) {
  const ScoreOrder order = compareScores(score, bestScore);
  if (order == ScoreOrder::Better) bestScore = score;
  return order;
}

bool isArrangementShown(ScoreOrder order, SelectionMode selectionMode) {
  switch (selectionMode) {
    case SelectionMode::AllAccepted:
      return true;
    case SelectionMode::AtLeastAsGood:
      return order != ScoreOrder::Worse;
    case SelectionMode::NewBestsOnly:
      break;
  }
  return order == ScoreOrder::Better;
}

}  // namespace arrowgrid
