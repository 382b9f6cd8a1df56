// Printed characters per second for the search's trials line: the counter
// rewritten at row 21 with its label, and the two blank lines below it.
// With "window", the same run with the window open (under a display), whose
// pictures must cost the logic almost nothing.
// Run on demand: cmake --build build --target bench_trials_line && build/bench/bench_trials_line [window]
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "platform/window_form.h"
#include "screen/console.h"

using namespace arrowgrid;

namespace {

double threadProcessorSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void rewriteTrialsLine(void* context) {
  Console& console = *static_cast<Console*>(context);
  openSurface(console.surface);
  setLogicalWindow(console.surface, 0, -2, 80, 23, true);
  const ByteString label = cp437Text("Nb d'essais effectués :");
  const ByteString trailingBlanks(7, ' ');
  const ByteString blankLine(33, ' ');

  constexpr int64_t REWRITES = 5'000'000;
  int64_t printed = 0;
  const auto started = std::chrono::steady_clock::now();
  const double processorStarted = threadProcessorSeconds();
  for (int64_t trial = 1; trial <= REWRITES; ++trial) {
    locateCursor(console, 21, 40);
    printText(console, label, PrintEnding::NoEnding);
    printNumber(console, trial, PrintEnding::NoEnding);
    printText(console, trailingBlanks, PrintEnding::NoEnding);
    locateCursor(console, 22, 30);
    printText(console, blankLine, PrintEnding::NoEnding);
    locateCursor(console, 23, 30);
    printText(console, blankLine, PrintEnding::NoEnding);
    printed += textLength(label) + static_cast<int32_t>(std::to_string(trial).size()) + 1 + 7 + 2 * 33;
    // As the search does between trials; a display that asked for a picture gets it.
    serviceDisplay(console);
  }
  paintPicture(console);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  // On a busy machine the wall-clock figure also says how much of a core the
  // logic got; per second of its own processor time it does not.
  const double processorSeconds = threadProcessorSeconds() - processorStarted;
  std::printf("%lld rewrites of the trials line, %lld characters in %.3f s\n",
              static_cast<long long>(REWRITES), static_cast<long long>(printed), seconds);
  std::printf("%.0f characters per second, %.0f trials lines per second, %.0f per processor second\n",
              printed / seconds, REWRITES / seconds, REWRITES / processorSeconds);
  std::fflush(stdout);
  endProgram(console, 0);
}

}  // namespace

int main(int argc, char** argv) {
  auto console = std::make_unique<Console>();
  if (argc > 1 && std::strcmp(argv[1], "window") == 0) {
    runInWindow(*console, "bench_trials_line", rewriteTrialsLine, console.get());
    std::fprintf(stderr, "no window could be opened\n");
    return 1;
  }
  rewriteTrialsLine(console.get());
}
