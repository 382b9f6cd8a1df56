// Printed characters per second for the search's trials line: the counter
// rewritten at row 21 with its label, and the two blank lines below it.
// Run on demand: cmake --build build --target bench_trials_line && build/bench/bench_trials_line
#include <chrono>
#include <cstdio>
#include <memory>

#include "screen/console.h"

using namespace arrowgrid;

int main() {
  auto console = std::make_unique<Console>();
  openSurface(console->surface);
  setLogicalWindow(console->surface, 0, -2, 80, 23, true);
  const ByteString label = cp437Text("Nb d'essais effectués :");
  const ByteString trailingBlanks(7, ' ');
  const ByteString blankLine(33, ' ');

  constexpr int64_t REWRITES = 5'000'000;
  int64_t printed = 0;
  const auto started = std::chrono::steady_clock::now();
  for (int64_t trial = 1; trial <= REWRITES; ++trial) {
    locateCursor(*console, 21, 40);
    printText(*console, label, PrintEnding::NoEnding);
    printNumber(*console, trial, PrintEnding::NoEnding);
    printText(*console, trailingBlanks, PrintEnding::NoEnding);
    locateCursor(*console, 22, 30);
    printText(*console, blankLine, PrintEnding::NoEnding);
    locateCursor(*console, 23, 30);
    printText(*console, blankLine, PrintEnding::NoEnding);
    printed += textLength(label) + textLength(formatNumber(trial)) + 7 + 2 * 33;
    // As the search does between trials; a display that asked for a picture gets it.
    serviceDisplay(*console);
  }
  flushTextLayer(*console);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("%lld rewrites of the trials line, %lld characters in %.3f s\n",
              static_cast<long long>(REWRITES), static_cast<long long>(printed), seconds);
  std::printf("%.0f characters per second, %.0f trials lines per second\n", printed / seconds,
              REWRITES / seconds);
  return 0;
}
