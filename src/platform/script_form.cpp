// The console in script form (see script_form.h).
#include "platform/script_form.h"

#include <poll.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "screen/cp437.h"

namespace arrowgrid {

namespace {

[[noreturn]] void endScript(ScriptForm& form, int status) {
  if (form.end) form.end(status);
  std::_Exit(status);
}

// A snapshot nobody can read: going on would search on for no one.
[[noreturn]] void failOutput(ScriptForm& form, int error) {
  std::fprintf(form.messages, "arrowgrid: standard output could not be written: %s\n", std::strerror(error));
  std::fflush(form.messages);
  endScript(form, OUTPUT_FAILED_STATUS);
}

void snapshotOnLineInput(void* context, Console& console) {
  auto& form = *static_cast<ScriptForm*>(context);
  errno = 0;
  if (!writeSnapshot(console, form.output)) failOutput(form, errno != 0 ? errno : EIO);
}

// The next line of standard input is read only when the program waits for a
// key and has none left, so a script answers prompts in order.
void typeNextLine(void* context, Console& console) {
  auto& form = *static_cast<ScriptForm*>(context);
  if (form.script.pending.empty()) {
    std::string line;
    if (!readScriptLine(form.input, line)) {
      std::fflush(form.output);
      std::fputs("arrowgrid: standard input ended while a typed line was awaited\n", form.messages);
      std::fflush(form.messages);
      endScript(form, SCRIPT_INPUT_ENDED_STATUS);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    typeLine(form.script, line);
  }
  feedKeyQueue(form.script, console.keys);
}

void endScriptedProcess(void* context, int32_t status) {
  auto& form = *static_cast<ScriptForm*>(context);
  errno = 0;
  if (std::fflush(form.output) != 0) failOutput(form, errno != 0 ? errno : EIO);
  endScript(form, status);
}

}  // namespace

bool writeSnapshot(const Console& console, std::FILE* output) {
  std::string text;
  for (int32_t row = 1; row <= TEXT_ROWS; ++row) {
    const auto* first = console.text.cells.data() + cellIndex(row, 1);
    ByteString cells(reinterpret_cast<const char*>(first), TEXT_COLUMNS);
    const auto last = cells.find_last_not_of(' ');
    cells.resize(last == ByteString::npos ? 0 : last + 1);
    text += toUtf8(cells);
    text += '\n';
  }
  text += "\f\n";
  const bool written = std::fwrite(text.data(), 1, text.size(), output) == text.size();
  return std::fflush(output) == 0 && written && !std::ferror(output);
}

bool readScriptLine(std::FILE* input, std::string& line, size_t limit) {
  line.clear();
  bool readAny = false;
  int c;
  while ((c = getc_unlocked(input)) != EOF) {
    readAny = true;
    if (c == '\n') return true;
    if (line.size() < limit) line.push_back(static_cast<char>(c));
  }
  return readAny;
}

void endWhenOutputReaderGoes(ScriptForm& form) {
  struct stat kind {};
  if (fstat(fileno(form.output), &kind) != 0 || !S_ISFIFO(kind.st_mode)) return;
  std::thread watcher([&form] {
    // No event asked for: only an error (no reader left) or a hangup ends the wait.
    pollfd output{fileno(form.output), 0, 0};
    while (poll(&output, 1, -1) < 0 && errno == EINTR) {
    }
    if ((output.revents & (POLLERR | POLLHUP)) == 0) return;
    struct sigaction pipeAction {};
    sigaction(SIGPIPE, nullptr, &pipeAction);
    if (pipeAction.sa_handler == SIG_DFL) {
      std::raise(SIGPIPE);
      return;  // blocked: the next write tells instead
    }
    failOutput(form, EPIPE);
  });
  watcher.detach();
}

void attachScriptForm(Console& console, ScriptForm& form) {
  PlatformLayer& platform = console.platform;
  platform.context = &form;
  platform.lineInputStarting = snapshotOnLineInput;
  platform.waitingForKey = typeNextLine;
  platform.beep = nullptr;     // no sound on a script
  platform.present = nullptr;  // the snapshots are the only picture
  platform.endProcess = endScriptedProcess;
}

}  // namespace arrowgrid
