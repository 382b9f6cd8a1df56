// Runs the real arrowgrid binary in script form: typed lines in, snapshots
// out; and the project's other programs the same way.
#pragma once

#include <csignal>
#include <functional>
#include <string>
#include <vector>

namespace arrowgrid::test_support {

struct BinaryRun {
  int exitStatus = -1;        // the status passed to exit, or -1
  int terminatingSignal = 0;  // the signal that ended it, or 0
  bool signalSent = false;    // runProgram's interruptSignal was sent to it
  std::string standardOutput;
  std::string standardError;
  std::vector<std::string> snapshots;  // one per line input, form feeds removed
};

// Where the binary's standard output goes.
enum class OutputTarget {
  Captured,    // a file, read back into standardOutput
  FullDisk,    // /dev/full: every write fails
  Closed,      // no descriptor 1 at all
  ReaderGone,  // a pipe whose reading end is closed, with SIGPIPE ignored
};

// Starts the binary with no display, standard input from `input` and the
// given arguments, and waits for it to end (at most timeoutSeconds, then it
// is killed).
BinaryRun runBinary(const std::string& input, int timeoutSeconds = 60,
                    const std::vector<std::string>& arguments = {},
                    OutputTarget output = OutputTarget::Captured);

// A program under way, as a test may look at it before signalling it.
struct RunningProgram {
  int pid = 0;
  std::string standardOutputPath;  // where its captured standard output goes
};

// How many threads it runs now (0 once it is gone).
int threadCount(const RunningProgram& program);
// What it has written to its captured standard output so far.
std::string standardOutputSoFar(const RunningProgram& program);

// The same for any program of the project; with interruptAfterMilliseconds
// above 0 it is sent interruptSignal (SIGINT, as Ctrl+C would) that long
// after its start, or, with interruptWhen, at the first look after that
// when interruptWhen holds (it is asked every few milliseconds): a wait on
// the event, not on the clock.
BinaryRun runProgram(const std::string& binary, const std::string& input, int timeoutSeconds,
                     const std::vector<std::string>& arguments, int interruptAfterMilliseconds = 0,
                     OutputTarget output = OutputTarget::Captured, int interruptSignal = SIGINT,
                     const std::function<bool(const RunningProgram&)>& interruptWhen = nullptr);

// The rows of a snapshot (25 lines).
std::vector<std::string> snapshotRows(const std::string& snapshot);

}  // namespace arrowgrid::test_support
