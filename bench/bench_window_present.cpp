// Throughput of the trials line (rewrite the count, service the display),
// as the search does at every trial, with no picture at all (the script
// form) and with the window open: presenting must cost the logic almost
// nothing.
//
//   bench_window_present script|window [seconds]
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "screen/console.h"
#include "screen/window_form.h"

namespace {

using namespace arrowgrid;

struct BenchRun {
  Console* console = nullptr;
  double seconds = 5;
  const char* form = "script";
};

double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void trialsLoop(void* context) {
  auto& run = *static_cast<BenchRun*>(context);
  Console& console = *run.console;
  openSurface(console.surface);
  setLogicalWindow(console.surface, 0.0f, -2.0f, 80.0f, 23.0f, true);
  clearScreen(console);
  const ByteString label = cp437Text("Nb d'essais effectués");
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const double cpuStart = threadCpuSeconds();
  int64_t trials = 0;
  double elapsed = 0;
  while (elapsed < run.seconds) {
    for (int k = 0; k < 10000; ++k) {
      ++trials;
      locateCursor(console, 21, 1);
      printText(console, label, PrintEnding::NoEnding);
      printNumber(console, trials, PrintEnding::NoEnding);
      serviceDisplay(console);
    }
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  }
  // Per second of the logic thread's own processor time too: on a busy
  // machine the wall-clock figure mostly says how much of a core it got.
  const double cpu = threadCpuSeconds() - cpuStart;
  std::printf("%s: %.0f trials/s over %.1f s; %.0f trials per processor second of the logic thread\n",
              run.form, static_cast<double>(trials) / elapsed, elapsed, static_cast<double>(trials) / cpu);
  std::fflush(stdout);
  endProgram(console, 0);
}

void endAtOnce(void*, int32_t status) { std::_Exit(status); }

}  // namespace

int main(int argc, char** argv) {
  auto console = std::make_unique<Console>();
  BenchRun run;
  run.console = console.get();
  if (argc > 1) run.form = argv[1];
  if (argc > 2) run.seconds = std::atof(argv[2]);
  if (std::strcmp(run.form, "window") == 0) {
    if (!runInWindow(*console, "bench_window_present", trialsLoop, &run)) {
      std::fprintf(stderr, "no window could be opened\n");
      return 1;
    }
  }
  console->platform.endProcess = endAtOnce;
  trialsLoop(&run);
}
