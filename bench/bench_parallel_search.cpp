// The whole search of a word list in selection mode 2 on this thread alone
// and with workers (counts and cut depths), side by side: wall time, the
// final counter and the arrangements shown, which must all agree, and the
// heap allocations made while the search runs, which must be none.
// Run on demand: cmake --build build --target bench_parallel_search &&
//   build/bench/bench_parallel_search [runs] [words...]   (default A8)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "counted_allocations.h"
#include "search/fast_evaluation.h"
#include "search/parallel_search.h"
#include "search/search_engine.h"
#include "search/search_start.h"

using namespace arrowgrid;

namespace {

struct Run {
  double seconds = 0;
  int64_t finalCount = 0;
  int64_t shown = 0;
  long long allocations = 0;
};

Run runSearch(const std::vector<std::string>& words, int32_t workerCount, int32_t nodeDepth) {
  auto search = std::make_unique<ArrangementSearch>();
  search->wordList.wordCount = static_cast<int32_t>(words.size());
  for (size_t i = 0; i < words.size(); ++i) search->wordList.words[i + 1] = words[i];
  initSearch(*search);
  SearchWorkers workers;
  if (workerCount > 0) startSearchWorkers(workers, *search, workerCount, nodeDepth);
  Run run;
  const long long allocationsBefore = counted_allocations::count;
  const auto started = std::chrono::steady_clock::now();
  evaluateArrangementFast(*search);
  while (searchUntilShownInParallel(*search, workers, SelectionMode::NewBestsOnly, TrialsHook{}) ==
         SearchStop::Shown)
    ++run.shown;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  run.allocations = counted_allocations::count - allocationsBefore;
  run.finalCount = search->state.trialCount;
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
  const std::vector<std::string> words = argc > 2
                                             ? std::vector<std::string>(argv + 2, argv + argc)
                                             : std::vector<std::string>{"MAISON", "JARDIN", "TABLE", "PORTE",
                                                                        "SOLEIL", "FLEUR",  "LIVRE", "ARBRE"};
  struct Setting {
    const char* name;
    int32_t workers;
    int32_t depth;
  };
  const Setting settings[] = {{"one thread", 0, 0},
                              {"1 worker, cut 4", 1, 4},
                              {"2 workers, cut 2", 2, 2},
                              {"2 workers, cut 3", 2, 3},
                              {"2 workers, cut 4", 2, 4}};
  Run reference;
  bool agree = true;
  for (const Setting& setting : settings) {
    Run best;
    for (int i = 0; i < runs; ++i) {
      const Run run = runSearch(words, setting.workers, setting.depth);
      if (i == 0 || run.seconds < best.seconds) best = run;
    }
    if (setting.workers == 0) reference = best;
    const bool same =
        best.finalCount == reference.finalCount && best.shown == reference.shown && best.allocations == 0;
    agree = agree && same;
    std::printf("%-18s %.3f s  final counter %lld, %lld shown, %lld allocations%s\n", setting.name,
                best.seconds, static_cast<long long>(best.finalCount), static_cast<long long>(best.shown),
                best.allocations, same ? "" : "  MISMATCH");
  }
  return agree ? 0 : 1;
}
