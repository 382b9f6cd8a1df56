// Drawing and wiping the progress line with carriage returns.
#include "solve/progress_line.h"

#include "search/solve_strategy.h"

namespace arrowgrid {

std::string progressText(const SolveProgress& progress, double rate) {
  char text[160];
  std::snprintf(text, sizeof text,
                "%s %.1f s  %.2f M %s/s  best: %d words, %d unwanted, %d crossings, surface %lld",
                strategyName(progress.strategy), progress.seconds, rate / 1e6,
                progress.strategy == SolveStrategy::Exhaustive ? "trials" : "eval", progress.best.wordsPlaced,
                progress.best.unwantedNeighbourhoods, progress.best.crossings,
                static_cast<long long>(progress.best.surface));
  return text;
}

void showProgress(ProgressLine& line, const SolveProgress& progress) {
  if (line.out == nullptr) return;
  // At most ten refreshes a second, whatever the caller's pace.
  if (line.lastSeconds >= 0 && progress.seconds - line.lastSeconds < 0.1) return;
  const double interval = progress.seconds - (line.lastSeconds < 0 ? 0 : line.lastSeconds);
  const int64_t count =
      progress.strategy == SolveStrategy::Exhaustive ? progress.trials : progress.evaluations;
  if (interval > 0) line.rate = static_cast<double>(count - line.lastCount) / interval;
  line.lastSeconds = progress.seconds;
  line.lastCount = count;
  std::string text = progressText(progress, line.rate);
  const size_t width = text.size();
  if (width < line.shownWidth) text += std::string(line.shownWidth - width, ' ');
  std::fprintf(line.out, "\r%s", text.c_str());
  std::fflush(line.out);
  line.shownWidth = width;
}

void wipeProgress(ProgressLine& line) {
  if (line.out == nullptr || line.shownWidth == 0) return;
  std::fprintf(line.out, "\r%s\r", std::string(line.shownWidth, ' ').c_str());
  std::fflush(line.out);
  line.shownWidth = 0;
}

}  // namespace arrowgrid
