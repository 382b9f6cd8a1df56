// The terminal form: raw keyboard, the text layer drawn as UTF-8 with
// cursor positioning, repainted from a timer and before every key wait.
#include "platform/terminal_form.h"

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
#include "screen/console.h"
#include "screen/cp437.h"

namespace arrowgrid {

namespace {

constexpr int32_t REFRESH_MILLISECONDS = 33;  // about 30 pictures a second at most

// Alternate screen, no cursor mark (as in the window), no autowrap so that a
// narrow terminal clips instead of scrolling.
constexpr char ENTER_SCREEN[] = "\x1b[?1049h\x1b[?25l\x1b[?7l\x1b[0m\x1b[2J";
constexpr char LEAVE_SCREEN[] = "\x1b[0m\x1b[?7h\x1b[?25h\x1b[?1049l";

// What the signal handlers need to put the terminal back. Handlers receive
// no context, so this one record is reachable from them directly.
struct TerminalRestore {
  termios saved{};                           // the terminal as the program found it
  volatile std::sig_atomic_t active = 0;     // raw mode and alternate screen are on
  volatile std::sig_atomic_t resized = 0;    // SIGWINCH: draw everything again
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
  TerminalKeyDecoder decoder;
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
}

void restoreAndDie(int signalNumber) {
  restoreTerminal();
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

void noteResize(int) { restoreState.resized = 1; }

void installHandler(int signalNumber, void (*handler)(int)) {
  struct sigaction previous{};
  sigaction(signalNumber, nullptr, &previous);
  if (previous.sa_handler == SIG_IGN) return;  // started with it ignored: keep it so
  struct sigaction action{};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  sigaction(signalNumber, &action, nullptr);
}

void enterRawMode() {
  tcgetattr(STDIN_FILENO, &restoreState.saved);
  termios raw = restoreState.saved;
  raw.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR | IXON | ISTRIP);
  // ISIG stays on: Ctrl+C typed here still ends the program at once.
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
  raw.c_cc[VMIN] = 0;  // reads return at once with what is there
  raw.c_cc[VTIME] = 0;
  // A stopped program would leave the terminal raw: Ctrl+Z is a plain key.
  raw.c_cc[VSUSP] = _POSIX_VDISABLE;
  std::atexit(restoreTerminal);
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT})
    installHandler(signalNumber, restoreAndDie);
  installHandler(SIGWINCH, noteResize);
  restoreState.active = 1;
  tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  writeAll(ENTER_SCREEN, sizeof ENTER_SCREEN - 1);
}

// Writes the rows whose cells differ from what the terminal shows.
void drawText(TerminalForm& form, const TextScreen& text) {
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
    for (size_t i = first; !changed && i < first + TEXT_COLUMNS; ++i) changed = text.cells[i] != form.shown[i];
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

// --- hooks, all on the logic thread ----------------------------------------

void presentText(void* context, Console& console) {
  drawText(*static_cast<TerminalForm*>(context), console.text);
}

void readTypedKeys(void* context, Console& console) {
  auto& form = *static_cast<TerminalForm*>(context);
  uint8_t bytes[256];
  const ssize_t count = ::read(STDIN_FILENO, bytes, sizeof bytes);
  if (count > 0) {
    decodeTerminalBytes(form.decoder, bytes, static_cast<size_t>(count), console.keys);
  } else if (count == 0) {
    finishPendingKey(form.decoder, console.keys);  // nothing followed a lone Escape
  }
  drawText(form, console.text);  // the echo of the last key, at once
}

void ringBell(void*) { writeAll("\a", 1); }

// A line written on the terminal that shows the screen would be painted
// over at the next repaint, and would scramble the picture until then: it
// waits for the end. Standard error elsewhere gets it at once.
void reportOffScreen(void*, const char* message) {
  struct stat error {}, output {};
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
  enterRawMode();

  PlatformLayer& platform = console.platform;
  platform.context = form;
  platform.lineInputStarting = presentText;
  platform.waitingForKey = readTypedKeys;
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
  logic(context);
  std::abort();  // the logic ends the process itself and never comes back here
}

}  // namespace arrowgrid
