// Speed of complete searches: trials and evaluations per second with the
// trials line kept on the text layer (an in-memory console whose platform
// hooks do nothing), the same searches with the screen left out, their
// ratio, and the heap allocations made while the searches run.
// Run on demand: cmake --build build --target bench_search && build/bench/bench_search
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "counted_allocations.h"
#include "interaction/program_driver.h"
#include "interaction/search_resume.h"
#include "screen/console.h"
#include "search/fast_evaluation.h"
#include "search/search_engine.h"
#include "search/search_start.h"

using namespace arrowgrid;

namespace {

struct WordListCase {
  const char* name;
  std::vector<std::string> words;
  int64_t finalCount;
};

struct Measure {
  double seconds = 0;
  int64_t trials = 0;
  int64_t evaluations = 0;
  long long allocations = 0;
  int64_t finalCount = 0;
  int64_t fullPrints = 0;
};

void setWordList(WordList& list, const std::vector<std::string>& words) {
  list.wordCount = static_cast<int32_t>(words.size());
  for (size_t i = 0; i < words.size(); ++i) list.words[i + 1] = words[i];
}

std::unique_ptr<ArrangementSearch> startSearch(const std::vector<std::string>& words) {
  auto search = std::make_unique<ArrangementSearch>();
  setWordList(search->wordList, words);
  initSearch(*search);
  return search;
}

Measure runSearch(const std::vector<std::string>& words, Console* console) {
  auto search = startSearch(words);
  TrialsLineState line;
  Measure m;
  const long long allocationsBefore = counted_allocations::count;
  const auto started = std::chrono::steady_clock::now();
  evaluateArrangementFast(*search);
  // Selection mode 2: the engine leaves its loop only at a new best.
  if (console != nullptr) {
    while (searchUntilShown(*search, *console, line, SelectionMode::NewBestsOnly) == SearchStop::Shown) {
    }
  } else {
    while (searchUntilShown(*search, SelectionMode::NewBestsOnly, TrialsHook{}) == SearchStop::Shown) {
    }
  }
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  m.allocations = counted_allocations::count - allocationsBefore;
  m.finalCount = search->state.trialCount;
  m.trials = search->state.trialCount - 1;
  m.evaluations = search->fast.evaluations;
  m.fullPrints = line.fullPrints;
  return m;
}

// The whole program loop from the start of the search to its end, with the
// reports the default selection (mode 1, no pause) shows: what they cost.
struct ReportedRun {
  double seconds = 0;
  int64_t reports = 0;
  int64_t finalCount = 0;
};

ReportedRun runWithReports(const std::vector<std::string>& words) {
  auto program = std::make_unique<Program>();
  openSurface(program->console.surface);
  setLogicalWindow(program->console.surface, 0, -2, 80, 23, true);
  setWordList(program->search.wordList, words);
  program->settings = DisplaySettings{
      .completeGrid = true, .selectionMode = SelectionMode::AtLeastAsGood, .pauseMode = PauseMode::NoPause};
  program->step = ProgramStep::InitSearch;
  ReportedRun run;
  const auto started = std::chrono::steady_clock::now();
  while (program->step != ProgramStep::SearchFinished) {
    run.reports += program->step == ProgramStep::Report;
    runStep(*program);
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  run.finalCount = program->search.state.trialCount;
  return run;
}

// The fastest of several runs of each kind, the two kinds alternating so
// that a busy spell of the machine weighs on both alike.
void bestOf(int runs, const std::vector<std::string>& words, Console* console, Measure& shown,
            Measure& quiet) {
  for (int i = 0; i < runs; ++i) {
    const Measure s = runSearch(words, console);
    if (i == 0 || s.seconds < shown.seconds) shown = s;
    const Measure q = runSearch(words, nullptr);
    if (i == 0 || q.seconds < quiet.seconds) quiet = q;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
  const std::vector<WordListCase> cases = {
      {"MAISON JARDIN TABLE PORTE SOLEIL FLEUR LIVRE",
       {"MAISON", "JARDIN", "TABLE", "PORTE", "SOLEIL", "FLEUR", "LIVRE"},
       11'136'537},
      {"CHAT LOUP VACHE CHIEN POULE SINGE ZEBRE HIBOU",
       {"CHAT", "LOUP", "VACHE", "CHIEN", "POULE", "SINGE", "ZEBRE", "HIBOU"},
       2'907'411},
  };

  auto console = std::make_unique<Console>();
  openSurface(console->surface);
  setLogicalWindow(console->surface, 0, -2, 80, 23, true);

  bool allGood = true;
  double screenSeconds = 0, quietSeconds = 0;
  int64_t allTrials = 0;
  for (const WordListCase& c : cases) {
    Measure shown, quiet;
    bestOf(runs, c.words, console.get(), shown, quiet);
    const bool countsRight = shown.finalCount == c.finalCount && quiet.finalCount == c.finalCount;
    allGood = allGood && countsRight && shown.allocations == 0 && quiet.allocations == 0;
    screenSeconds += shown.seconds;
    quietSeconds += quiet.seconds;
    allTrials += shown.trials;
    std::printf("%s\n", c.name);
    std::printf("  final counter %lld (expected %lld)%s\n", static_cast<long long>(shown.finalCount),
                static_cast<long long>(c.finalCount), countsRight ? "" : "  MISMATCH");
    std::printf(
        "  with trials line: %.3f s, %.1f M trials/s, %.2f M evaluations/s, %lld allocations, "
        "%lld full line prints\n",
        shown.seconds, shown.trials / shown.seconds / 1e6, shown.evaluations / shown.seconds / 1e6,
        shown.allocations, static_cast<long long>(shown.fullPrints));
    std::printf("  screen left out:  %.3f s, %.1f M trials/s, %.2f M evaluations/s, %lld allocations\n",
                quiet.seconds, quiet.trials / quiet.seconds / 1e6, quiet.evaluations / quiet.seconds / 1e6,
                quiet.allocations);
    std::printf("  evaluations %lld (%.1f%% of trials); ratio with/without screen %.3f\n",
                static_cast<long long>(shown.evaluations), 100.0 * shown.evaluations / shown.trials,
                quiet.seconds / shown.seconds);
    ReportedRun reported = runWithReports(c.words);
    for (int i = 1; i < runs; ++i) {
      const ReportedRun r = runWithReports(c.words);
      if (r.seconds < reported.seconds) reported = r;
    }
    allGood = allGood && reported.finalCount == c.finalCount;
    std::printf(
        "  program loop with reports (mode 1, no pause): %.3f s, %lld reports, %.1f us a report "
        "beyond the search with the trials line\n",
        reported.seconds, static_cast<long long>(reported.reports),
        reported.reports > 0 ? (reported.seconds - shown.seconds) / reported.reports * 1e6 : 0.0);
  }
  std::printf("overall: %.1f M trials/s with the trials line, ratio %.3f\n", allTrials / screenSeconds / 1e6,
              quietSeconds / screenSeconds);
  return allGood ? 0 : 1;
}
