// Text of the solver's answer.
#include "solve/solve_report.h"

#include "search/solve_strategy.h"

#include <cstdio>
#include <string>

#include "search/grid_evaluation.h"

namespace arrowgrid {

namespace {

std::string repeated(const std::string& piece, int64_t count) {
  std::string text;
  for (int64_t i = 0; i < count; ++i) text += piece;
  return text;
}

std::string line(const char* label, const std::string& value) {
  char text[32];
  std::snprintf(text, sizeof text, "%-25s", label);
  return text + value + "\n";
}

std::string secondsText(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f s", seconds);
  return text;
}

std::string provenText(const SolveResult& result, const SolveSettings& settings) {
  switch (result.end) {
    case SolveEnd::Complete:
      return result.foundBy == SolveStrategy::Exhaustive ? "yes (every trial run)" : "yes";
    case SolveEnd::TimeLimit: {
      // Stopping at the limit is the usual end of a long list, not a failure.
      char text[128];
      std::snprintf(text, sizeof text, "Best grid found in %g s; not proven best (--time-limit none proves it)",
                    settings.timeLimitSeconds);
      return text;
    }
    case SolveEnd::NodeLimit:
      return "no: stopped at the node limit (" + std::to_string(settings.nodeLimit) +
             " evaluations), best found so far";
    case SolveEnd::Interrupted:
      return "no: interrupted, best found so far";
  }
  return {};
}

}  // namespace

std::string cellGlyph(int32_t code) {
  switch (code) {
    case CELL_EMPTY:
      return " ";
    case CELL_DOWN_ARROW:
      return "↓";
    case CELL_RIGHT_ARROW:
      return "→";
    case CELL_BOTH_ARROWS:
      return "↘";
    case CELL_BLOCK:
      return "■";
    default:
      return std::string(1, static_cast<char>(code));
  }
}

std::string gridText(const Grid& grid) {
  const GridBox& box = grid.box;
  const std::string rule = repeated("─", 2 * int64_t{box.width} + 1);
  std::string text = "┌" + rule + "┐\n";
  for (int32_t y = box.yMin; y <= box.yMax; ++y) {
    text += "│";
    for (int32_t x = box.xMin; x <= box.xMax; ++x) {
      text += ' ';
      text += cellGlyph(gridCell(grid, x, y));
    }
    text += " │\n";
  }
  return text + "└" + rule + "┘\n";
}

std::string countsText(const ArrangementScore& score, const GridBox& box, int32_t wordCount) {
  std::string text;
  text += line("Words placed:", std::to_string(score.wordsPlaced) + " of " + std::to_string(wordCount));
  text += line("Unwanted neighbourhoods:", std::to_string(score.unwantedNeighbourhoods));
  text += line("Crossings:", std::to_string(score.crossings));
  text += line("Surface:", std::to_string(score.surface));
  text += line("Box:", std::to_string(box.width) + " x " + std::to_string(box.height) + ", columns " +
                           std::to_string(box.xMin) + " to " + std::to_string(box.xMax) + ", rows " +
                           std::to_string(box.yMin) + " to " + std::to_string(box.yMax));
  return text;
}

std::string candidateHeading(int32_t number, int32_t count) {
  const std::string heading = "Grid " + std::to_string(number) + " of " + std::to_string(count);
  return heading + (number == 1 ? ": the answer\n" : ": another grid the first, quick search met\n");
}

std::string summaryText(const SolveResult& result, const SolveSettings& settings) {
  std::string text = countsText(result.score, result.evaluation.grid.box, result.wordCount);
  if (settings.frame.columns > 0) {
    text += line("Frame:", std::to_string(settings.frame.columns) + " x " + std::to_string(settings.frame.rows));
  }
  if (settings.candidates > 1) {
    const auto found = static_cast<int32_t>(result.candidates.size());
    text += line("Grids to choose from:",
                 std::to_string(found) + " of " + std::to_string(settings.candidates) + " asked" +
                     (found < settings.candidates ? " (no more different grids with as many words were met)"
                                                  : ""));
  }
  if (result.foundBy == SolveStrategy::Exhaustive) {
    text += line("Trials:", std::to_string(result.trials) +
                                (result.end == SolveEnd::Complete ? "" : " (the search was stopped)"));
  }
  text += line("Found by:", strategyName(result.foundBy));
  text += line("Time:", secondsText(result.seconds));
  // At the limit the sentence stands alone: "Proven best: no" read as a failure.
  const std::string proven = provenText(result, settings);
  text += result.end == SolveEnd::TimeLimit ? proven + "\n" : line("Proven best:", proven);
  return text;
}

}  // namespace arrowgrid
