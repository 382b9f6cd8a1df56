// The terminal form: raw keyboard read on a thread of its own, the text
// layer drawn as UTF-8 with cursor positioning, repainted from a timer and
// before every key wait; the terminal given back on a stop and on every end.
#include "platform/terminal_form.h"

#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/terminal_keys.h"
#include "base/safe_file_write.h"
#include "screen/console.h"
#include "screen/cp437.h"

namespace arrowgrid {

namespace {

constexpr int32_t REFRESH_MILLISECONDS = 33;  // about 30 pictures a second at most
// A lone Escape byte is the Escape key once this long passes with nothing after it.
constexpr int ESCAPE_WAIT_MILLISECONDS = 25;
constexpr size_t READ_CHUNK = 256;  // bytes taken from the terminal at a time

// Alternate screen, no cursor mark (as in the window), no autowrap so that a
// narrow terminal clips instead of scrolling.
constexpr char ENTER_SCREEN[] = "\x1b[?1049h\x1b[?25l\x1b[?7l\x1b[0m\x1b[2J";
constexpr char LEAVE_SCREEN[] = "\x1b[0m\x1b[?7h\x1b[?25h\x1b[?1049l";

// What the signal handlers need to put the terminal back. Handlers receive
// no context, so this one record is reachable from them directly.
struct TerminalRestore {
  termios saved{};                               // the terminal as the program found it
  volatile std::sig_atomic_t active = 0;         // raw mode and alternate screen are on
  volatile std::sig_atomic_t resized = 0;        // SIGWINCH: draw everything again
  volatile std::sig_atomic_t stopRequested = 0;  // SIGTSTP: give the terminal back, then stop
  volatile std::sig_atomic_t continued = 0;      // SIGCONT: take it back, draw everything
  // Problems held back from the screen, written to standard error once the
  // terminal is given back; a fixed buffer, since a handler writes it out.
  char heldProblems[8192] = {};
  volatile std::sig_atomic_t heldLength = 0;
  volatile std::sig_atomic_t problemsLeftOut = 0;
};
TerminalRestore restoreState;

struct TerminalForm {
  std::array<uint8_t, TEXT_CELLS> shown{};  // cells as last written to the terminal
  bool shownValid = false;                  // false: write every row next time
  std::string output;                       // one picture's bytes, reserved once
  TerminalKeyDecoder decoder;               // the reading thread's
};

void writeAll(const char* bytes, size_t length, int descriptor = STDOUT_FILENO) {
  while (length > 0) {
    const ssize_t written = ::write(descriptor, bytes, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      return;
    }
    bytes += written;
    length -= static_cast<size_t>(written);
  }
}

// Async-signal-safe: only write and tcsetattr.
void restoreTerminal() {
  if (!restoreState.active) return;
  restoreState.active = 0;
  writeAll(LEAVE_SCREEN, sizeof LEAVE_SCREEN - 1);
  tcsetattr(STDIN_FILENO, TCSANOW, &restoreState.saved);
  writeAll(restoreState.heldProblems, static_cast<size_t>(restoreState.heldLength), STDERR_FILENO);
  static constexpr char leftOut[] = "arrowgrid: further problems left out\n";
  if (restoreState.problemsLeftOut) writeAll(leftOut, sizeof leftOut - 1, STDERR_FILENO);
  // Told once: a stop gives the terminal back too, and the end may follow.
  restoreState.heldLength = 0;
  restoreState.problemsLeftOut = 0;
}

void restoreAndDie(int signalNumber) {
  removeUnfinishedFiles();
  restoreTerminal();
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

void noteResize(int) { restoreState.resized = 1; }
void noteStop(int) { restoreState.stopRequested = 1; }
void noteContinue(int) { restoreState.continued = 1; }

void installHandler(int signalNumber, void (*handler)(int)) {
  struct sigaction previous {};
  sigaction(signalNumber, nullptr, &previous);
  if (previous.sa_handler == SIG_IGN) return;  // started with it ignored: keep it so
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigaction(signalNumber, &action, nullptr);
}

// Raw mode (and the alternate screen) from the settings the terminal had
// when the program found it.
void takeTerminal(TerminalForm& form) {
  termios raw = restoreState.saved;
  raw.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR | IXON | ISTRIP);
  // ISIG stays on: Ctrl+C typed here still ends the program at once, and
  // Ctrl+Z stops it with the terminal given back.
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
  raw.c_cc[VMIN] = 0;  // reads return at once with what is there
  raw.c_cc[VTIME] = 0;
  restoreState.continued = 0;
  restoreState.active = 1;
  tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  writeAll(ENTER_SCREEN, sizeof ENTER_SCREEN - 1);
  form.shownValid = false;  // the alternate screen starts blank
}

void enterRawMode(TerminalForm& form) {
  tcgetattr(STDIN_FILENO, &restoreState.saved);
  std::atexit(restoreTerminal);
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT})
    installHandler(signalNumber, restoreAndDie);
  installHandler(SIGWINCH, noteResize);
  installHandler(SIGTSTP, noteStop);
  installHandler(SIGCONT, noteContinue);
  takeTerminal(form);
}

// Ctrl+Z or SIGTSTP: the terminal as it was found, then the stop itself;
// on SIGCONT the terminal is taken again as the shell now leaves it.
void stopUntilContinued(TerminalForm& form) {
  restoreState.stopRequested = 0;
  restoreTerminal();
  struct sigaction stopNow {};
  stopNow.sa_handler = SIG_DFL;
  sigemptyset(&stopNow.sa_mask);
  sigaction(SIGTSTP, &stopNow, nullptr);
  std::raise(SIGTSTP);  // returns once continued (at once in an orphaned process group)
  installHandler(SIGTSTP, noteStop);
  tcgetattr(STDIN_FILENO, &restoreState.saved);
  takeTerminal(form);
}

// Writes the rows whose cells differ from what the terminal shows.
void drawText(TerminalForm& form, const TextScreen& text) {
  if (restoreState.stopRequested) {
    stopUntilContinued(form);
  } else if (restoreState.continued) {
    takeTerminal(form);  // stopped and continued from outside: raw again, all drawn anew
  }
  if (restoreState.resized) {
    restoreState.resized = 0;
    form.shownValid = false;
    form.output = "\x1b[2J";
  } else {
    form.output.clear();
  }
  for (int32_t row = 1; row <= TEXT_ROWS; ++row) {
    const auto first = static_cast<size_t>(cellIndex(row, 1));
    bool changed = !form.shownValid;
    for (size_t i = first; !changed && i < first + TEXT_COLUMNS; ++i)
      changed = text.cells[i] != form.shown[i];
    if (!changed) continue;
    form.output += "\x1b[";
    form.output += std::to_string(row);
    form.output += ";1H";
    const auto* cells = text.cells.data() + first;
    form.output += toUtf8(ByteString(reinterpret_cast<const char*>(cells), TEXT_COLUMNS));
    std::copy(cells, cells + TEXT_COLUMNS, form.shown.begin() + static_cast<ptrdiff_t>(first));
  }
  form.shownValid = true;
  if (form.output.empty()) return;
  writeAll(form.output.data(), form.output.size());
}

// The terminal is gone (end of input or a read error): the program ends as
// a hangup ends it, even when SIGHUP was ignored, with what can be restored put back.
[[noreturn]] void endByHangup() {
  restoreTerminal();
  std::signal(SIGHUP, SIG_DFL);
  sigset_t hangup;
  sigemptyset(&hangup);
  sigaddset(&hangup, SIGHUP);
  pthread_sigmask(SIG_UNBLOCK, &hangup, nullptr);
  std::raise(SIGHUP);
  _exit(128 + SIGHUP);
}

// The reading thread: typed bytes to keys as soon as they come, during a
// search too (the queue then keeps the last 15). While a paste waits whole
// in the queue, the rest of it stays in the terminal until there is room.
[[noreturn]] void readTerminalKeys(TerminalForm& form, KeyQueue& keys) {
  uint8_t bytes[READ_CHUNK];
  for (;;) {
    if (waitingKeyCount(keys) > KEYS_HELD_MAX - static_cast<int32_t>(READ_CHUNK) - 2) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      continue;
    }
    pollfd input{STDIN_FILENO, POLLIN, 0};
    const int ready = poll(&input, 1, form.decoder.count > 0 ? ESCAPE_WAIT_MILLISECONDS : -1);
    if (ready < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      endByHangup();
    }
    if (ready == 0) {
      finishPendingKey(form.decoder, keys);  // nothing followed a lone Escape
      continue;
    }
    if (input.revents & POLLIN) {
      const ssize_t count = ::read(STDIN_FILENO, bytes, sizeof bytes);
      if (count > 0) {
        decodeTerminalBytes(form.decoder, bytes, static_cast<size_t>(count), keys);
        continue;
      }
      if (count < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      endByHangup();  // readable yet nothing to read: the terminal has closed
    }
    if (input.revents & (POLLHUP | POLLERR | POLLNVAL)) endByHangup();
  }
}

// --- hooks, all on the logic thread ----------------------------------------

void presentText(void* context, Console& console) {
  drawText(*static_cast<TerminalForm*>(context), console.text);
}

void ringBell(void*) { writeAll("\a", 1); }

// A line written on the terminal that shows the screen would be painted
// over at the next repaint, and would scramble the picture until then: it
// waits for the end. Standard error elsewhere gets it at once.
void reportOffScreen(void*, const char* message) {
  struct stat error {
  }, output{};
  const bool onScreen = isatty(STDERR_FILENO) && fstat(STDERR_FILENO, &error) == 0 &&
                        fstat(STDOUT_FILENO, &output) == 0 && error.st_rdev == output.st_rdev;
  const std::string line = std::string(message) + "\n";
  if (!onScreen) {
    writeAll(line.data(), line.size(), STDERR_FILENO);
    return;
  }
  const auto held = static_cast<size_t>(restoreState.heldLength);
  if (held + line.size() > sizeof restoreState.heldProblems) {
    restoreState.problemsLeftOut = 1;
    return;
  }
  std::copy(line.begin(), line.end(), restoreState.heldProblems + held);
  restoreState.heldLength = static_cast<std::sig_atomic_t>(held + line.size());
}

void endInTerminal(void*, int32_t status) {
  restoreTerminal();
  std::_Exit(status);
}

}  // namespace

void runInTerminal(Console& console, ProgramLogic logic, void* context) {
  // Lives until the process ends, like the program itself.
  auto* form = new TerminalForm();
  form->output.reserve(TEXT_CELLS * 3 + TEXT_ROWS * 8 + 8);
  enterRawMode(*form);

  PlatformLayer& platform = console.platform;
  platform.context = form;
  platform.lineInputStarting = presentText;
  platform.waitingForKey = presentText;  // the echo of the last keys, at once
  platform.beep = ringBell;
  platform.present = presentText;
  platform.endProcess = endInTerminal;
  platform.reportProblem = reportOffScreen;

  std::thread timer([&platform] {
    for (;;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(REFRESH_MILLISECONDS));
      platform.refreshWanted.store(true, std::memory_order_relaxed);
    }
  });
  timer.detach();
  std::thread reader([form, &console] { readTerminalKeys(*form, console.keys); });
  reader.detach();
  logic(context);
  std::abort();  // the logic ends the process itself and never comes back here
}

}  // namespace arrowgrid
