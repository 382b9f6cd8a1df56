// Reports per second: the whole report screen of one arrangement (clear,
// counts, grid drawing, trials line), as the search shows each selected one,
// with the pixels left unpainted and with the picture painted after each.
// Run on demand: cmake --build build --target bench_report && build/bench/bench_report
#include <time.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "interaction/arrangement_report.h"
#include "screen/console.h"
#include "search/grid_evaluation.h"

using namespace arrowgrid;

namespace {

// A 14 by 12 box with three crossing words: a grid of the size the search
// reports for a handful of short words.
Grid typicalGrid() {
  Grid grid;
  resetGrid(grid, GridBox{0, 13, -1, 10, 14, 12});
  const char* across = "ARROWGRID";
  setGridCell(grid, 0, 0, CELL_RIGHT_ARROW);
  for (int32_t k = 0; across[k] != 0; ++k) setGridCell(grid, 1 + k, 0, across[k]);
  setGridCell(grid, 10, 0, CELL_BLOCK);
  for (int32_t x : {2, 7}) {
    setGridCell(grid, x, -1, CELL_DOWN_ARROW);
    for (int32_t y = 1; y <= 8; ++y) setGridCell(grid, x, y, 'A' + y);
    setGridCell(grid, x, 9, CELL_BLOCK);
  }
  setGridCell(grid, 0, 0, CELL_BOTH_ARROWS);
  return grid;
}

double processorSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

int main() {
  auto console = std::make_unique<Console>();
  openSurface(console->surface);
  setLogicalWindow(console->surface, 0, -2, 80, 23, true);
  const Grid grid = typicalGrid();
  const DisplaySettings settings;  // no pause
  const ArrangementScore score{3, 0, 2, 168};

  // Without pixels read: the script and terminal forms, or a window between
  // two refreshes. With: every report painted, as if each were looked at.
  constexpr int64_t REPORTS = 200'000;
  for (const bool readPixels : {false, true}) {
    const auto started = std::chrono::steady_clock::now();
    const double processorStarted = processorSeconds();
    for (int64_t trial = 1; trial <= REPORTS; ++trial) {
      showArrangementReport(*console, score, grid, trial, settings);
      if (readPixels) paintPicture(*console);
    }
    paintPicture(*console);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    // On a busy machine the wall clock also says how much of a core we got;
    // the processor time does not.
    const double busy = processorSeconds() - processorStarted;
    std::printf(
        "%lld reports of a %dx%d grid, pixels %s: %.3f s (%.3f s of processor), "
        "%.0f reports per processor second, %.2f us each\n",
        static_cast<long long>(REPORTS), grid.box.width, grid.box.height,
        readPixels ? "read after each" : "never read     ", seconds, busy, REPORTS / busy,
        1e6 * busy / REPORTS);
  }
  return 0;
}
