// arrowgrid-solve's search on the word lists of bench/lists: time to the
// proven best with one worker and with two (medians), against every trial
// with one worker; for the lists not proven within a minute, the best found
// after 1, 10 and 60 seconds. Prints Markdown tables for docs/benchmarks.md. On a
// machine shared with other work the wall clock says little about the
// workers, so the processor time of the busiest worker is given too: the
// wall clock the search would take on an otherwise idle machine. Each run
// waits (at most two minutes) for a moment when nothing else runs.
// Run on demand: cmake --build build --target bench_solve && build/bench/bench_solve [RUNS [CAP]]
// (RUNS repeats per measure, default 3; CAP seconds for every trial, default 300).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "puzzle/word_file.h"
#include "search/proof_search.h"

using namespace arrowgrid;

namespace {

constexpr double PROOF_LIMIT = 60;

struct Measure {
  bool proven = false;
  double seconds = 0;    // wall clock
  double busiest = 0;    // processor seconds of the busiest worker
  double processor = 0;  // processor seconds of all workers
  ArrangementScore score;
};

// Processes running on the machine right now, this one included.
int runningProcesses() {
  std::ifstream in("/proc/stat");
  for (std::string key; in >> key;) {
    if (key == "procs_running") {
      int count = 0;
      in >> count;
      return count;
    }
  }
  return 1;
}

// Waits, at most two minutes, for a moment when nothing else runs: the
// machine is shared, and a search that competes for the processors says
// little about the workers.
void waitForQuiet() {
  int quietChecks = 0;
  for (int i = 0; i < 600 && quietChecks < 3; ++i) {
    quietChecks = runningProcesses() <= 1 ? quietChecks + 1 : 0;
    if (quietChecks < 3) std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
}

Measure runSolver(const WordList& words, bool exhaustive, int32_t jobs, double limit) {
  waitForQuiet();
  SolveControl control;
  const SolveResult result = solveArrangement(words, SolveSettings{exhaustive, jobs, limit}, control);
  Measure m{result.end == SolveEnd::Complete, result.seconds, 0, 0, result.score};
  for (double cpu : result.workerCpuSeconds) {
    m.busiest = std::max(m.busiest, cpu);
    m.processor += cpu;
  }
  return m;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Medians of `runs` runs; stops repeating once one is not proven.
Measure medianRun(const WordList& words, int32_t jobs, int runs) {
  std::vector<double> wall, busiest, processor;
  Measure last;
  for (int i = 0; i < runs; ++i) {
    last = runSolver(words, false, jobs, PROOF_LIMIT);
    if (!last.proven) return last;
    wall.push_back(last.seconds);
    busiest.push_back(last.busiest);
    processor.push_back(last.processor);
  }
  last.seconds = median(wall);
  last.busiest = median(busiest);
  last.processor = median(processor);
  return last;
}

std::string scoreText(const ArrangementScore& s) {
  char text[64];
  std::snprintf(text, sizeof text, "%d, %d, %d, %lld", s.wordsPlaced, s.unwantedNeighbourhoods, s.crossings,
                static_cast<long long>(s.surface));
  return text;
}

std::string secondsText(const Measure& m, double limit) {
  char text[32];
  if (!m.proven) {
    std::snprintf(text, sizeof text, "not in %g s", limit);
  } else {
    std::snprintf(text, sizeof text, "%.3f s", m.seconds);
  }
  return text;
}

// Wall clock, then the processor time of the busiest worker.
std::string timesText(const Measure& m, double limit) {
  if (!m.proven) return secondsText(m, limit);
  char text[48];
  std::snprintf(text, sizeof text, "%.3f s (%.3f s)", m.seconds, m.busiest);
  return text;
}

std::string loadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

struct ListFile {
  std::string name;
  WordList words;
};

std::vector<ListFile> readLists() {
  std::vector<std::filesystem::path> paths;
  for (const auto& entry : std::filesystem::directory_iterator(ARROWGRID_BENCH_LISTS)) {
    if (entry.path().extension() == ".txt") paths.push_back(entry.path());
  }
  // Shortest lists first, then by name.
  std::vector<ListFile> lists;
  for (const auto& path : paths) {
    const WordFileText file = readWordFile(path.string());
    const WordListInput input =
        file.ok ? buildWordList(file.words) : WordListInput{false, {}, {}, file.error};
    if (!input.ok) {
      std::fprintf(stderr, "bench_solve: %s\n", input.error.c_str());
      std::exit(1);
    }
    lists.push_back(ListFile{path.stem().string(), input.list});
  }
  std::sort(lists.begin(), lists.end(), [](const ListFile& a, const ListFile& b) {
    return a.words.wordCount != b.words.wordCount ? a.words.wordCount < b.words.wordCount : a.name < b.name;
  });
  return lists;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const double cap = argc > 2 ? std::atof(argv[2]) : 300;
  std::printf("Load average at the start: %s; %d runs per median\n\n", loadAverage().c_str(), runs);
  std::printf(
      "| list | words | answer (words, unwanted, crossings, surface) | proven best, 1 worker | 2 workers | "
      "speed-up | from processor time | every trial, 1 worker | share of it |\n");
  std::printf("|---|---|---|---|---|---|---|---|---|\n");
  std::vector<const ListFile*> unproven;
  const std::vector<ListFile> lists = readLists();
  for (const ListFile& list : lists) {
    const Measure one = medianRun(list.words, 1, runs);
    const Measure two = medianRun(list.words, 2, runs);
    std::string speedUp = "-";
    std::string cpuSpeedUp = "-";
    std::string exhaustiveText = "not run";
    std::string share = "-";
    if (one.proven && two.proven) {
      char text[32];
      std::snprintf(text, sizeof text, "%.2fx", one.seconds / two.seconds);
      speedUp = text;
      std::snprintf(text, sizeof text, "%.2fx", one.busiest / two.busiest);
      cpuSpeedUp = text;
    }
    if (one.proven) {
      const Measure every = runSolver(list.words, true, 1, cap);
      exhaustiveText = secondsText(every, cap);
      char text[32];
      std::snprintf(text, sizeof text, every.proven ? "1/%.0f" : "< 1/%.0f", every.seconds / one.seconds);
      share = text;
    } else {
      unproven.push_back(&list);
    }
    std::printf("| %s | %d | %s | %s | %s | %s | %s | %s | %s |\n", list.name.c_str(), list.words.wordCount,
                scoreText(two.proven ? two.score : one.score).c_str(), timesText(one, PROOF_LIMIT).c_str(),
                timesText(two, PROOF_LIMIT).c_str(), speedUp.c_str(), cpuSpeedUp.c_str(),
                exhaustiveText.c_str(), share.c_str());
    std::fflush(stdout);
  }

  if (!unproven.empty()) {
    std::printf("\nNot proven within %g s: the best found so far, 2 workers\n\n", PROOF_LIMIT);
    std::printf("| list | words | after 1 s | after 10 s | after 60 s |\n|---|---|---|---|---|\n");
    for (const ListFile* list : unproven) {
      std::printf("| %s | %d", list->name.c_str(), list->words.wordCount);
      for (double limit : {1.0, 10.0, 60.0}) {
        std::printf(" | %s", scoreText(runSolver(list->words, false, 2, limit).score).c_str());
      }
      std::printf(" |\n");
      std::fflush(stdout);
    }
  }
  std::printf("\nLoad average at the end: %s\n", loadAverage().c_str());
  return 0;
}
