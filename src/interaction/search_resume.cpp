// The engine's trials hook on the screen, and the end-of-search message.
#include "interaction/search_resume.h"

#include "interaction/arrangement_report.h"
#include "interaction/trials_line.h"

namespace arrowgrid {

namespace {

struct ScreenTrials {
  Console& console;
  TrialsLineState& line;
};

// Nothing reads the text layer while the engine runs but a picture, so the
// line is brought up to date only for one, and when the engine stops.
void presentAtTrial(void* context, int64_t trialCount) {
  ScreenTrials& screen = *static_cast<ScreenTrials*>(context);
  printTrialsLine(screen.console, screen.line, trialCount);
  presentNow(screen.console);
}

void stopAtTrial(void* context, int64_t trialCount) {
  ScreenTrials& screen = *static_cast<ScreenTrials*>(context);
  // Over a report not drawn yet the line waits with it: the next report
  // most often wipes both unseen.
  if (PendingReport* report = pendingReport(screen.console)) {
    report->heldTrialCount = trialCount;
    return;
  }
  printTrialsLine(screen.console, screen.line, trialCount);
}

}  // namespace

SearchStop searchUntilShown(ArrangementSearch& search, Console& console, TrialsLineState& line,
                            SelectionMode selectionMode) {
  ScreenTrials screen{console, line};
  const TrialsHook hook{.refreshWanted = &console.platform.refreshWanted,
                        .present = presentAtTrial,
                        .stopped = stopAtTrial,
                        .context = &screen};
  return searchUntilShown(search, selectionMode, hook);
}

SearchStop searchUntilShown(ArrangementSearch& search, SearchWorkers& workers, Console& console,
                            TrialsLineState& line, SelectionMode selectionMode) {
  ScreenTrials screen{console, line};
  const TrialsHook hook{.refreshWanted = &console.platform.refreshWanted,
                        .present = presentAtTrial,
                        .stopped = stopAtTrial,
                        .context = &screen};
  return searchUntilShownInParallel(search, workers, selectionMode, hook);
}

void printSearchFinished(Console& console) {
  locateCursor(console, 22, 30);
  printText(console, cp437Text("La recherche est terminée"), PrintEnding::LineEnd);
}

}  // namespace arrowgrid
