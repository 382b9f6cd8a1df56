// resumeSearch with its screen duties, and the end-of-search message.
#include "interaction/search_resume.h"

#include "interaction/trials_line.h"

namespace arrowgrid {

namespace {

// The picture is about to be taken: the record must match the screen, and
// the next trial checks the screen again.
[[gnu::noinline]] TrialsRun presentDuringRun(Console& console, TrialsLineState& line, TrialsRun run,
                                             int64_t trialCount) {
  endTrialsRun(console, line, run, trialCount);
  serviceDisplay(console);
  return TrialsRun{};
}

// The trials line of each trial, and a picture when the window wants one.
struct ScreenTrials {
  Console* console;
  TrialsLineState* line;
  TrialsRun run;

  void trial(int64_t trialCount) {
    if (advanceTrialsRun(run)) [[likely]] return;
    run = settleTrialsRun(*console, *line, run, trialCount);
    // Looked at when the last two digits wrap: at least every hundredth
    // trial, well under a microsecond apart during a search.
    if (console->platform.refreshWanted.load(std::memory_order_relaxed)) [[unlikely]] {
      run = presentDuringRun(*console, *line, run, trialCount);
    }
  }
  void done(int64_t trialCount) { endTrialsRun(*console, *line, run, trialCount); }
};

}  // namespace

ResumeOutcome resumeSearch(ArrangementSearch& search, Console& console, TrialsLineState& line) {
  const TrialsRun run = beginTrialsRun(console, line, search.state.trialCount);
  return runEnumerationWith(search, ScreenTrials{&console, &line, run});
}

void printSearchFinished(Console& console) {
  locateCursor(console, 22, 30);
  printText(console, cp437Text("La recherche est terminée"), PrintEnding::LineEnd);
}

}  // namespace arrowgrid
