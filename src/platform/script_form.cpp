// The console in script form (see script_form.h).
#include "platform/script_form.h"

#include <cstdlib>
#include <string>

#include "screen/cp437.h"

namespace arrowgrid {

namespace {

void snapshotOnLineInput(void* context, Console& console) {
  auto& form = *static_cast<ScriptForm*>(context);
  writeSnapshot(console, form.output);
}

bool readLine(std::FILE* input, std::string& line) {
  line.clear();
  int c;
  while ((c = std::fgetc(input)) != EOF) {
    if (c == '\n') return true;
    line.push_back(static_cast<char>(c));
  }
  return !line.empty();  // a last line without a line feed still counts
}

// The next line of standard input is read only when the program waits for a
// key and has none left, so a script answers prompts in order.
void typeNextLine(void* context, Console& console) {
  auto& form = *static_cast<ScriptForm*>(context);
  if (form.script.pending.empty()) {
    std::string line;
    if (!readLine(form.input, line)) {
      std::fflush(form.output);
      std::fputs("arrowgrid: standard input ended while a typed line was awaited\n", stderr);
      std::_Exit(SCRIPT_INPUT_ENDED_STATUS);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    typeLine(form.script, line);
  }
  feedKeyQueue(form.script, console.keys);
}

void endScriptedProcess(void* context, int32_t status) {
  auto& form = *static_cast<ScriptForm*>(context);
  std::fflush(form.output);
  std::_Exit(status);
}

}  // namespace

void writeSnapshot(const Console& console, std::FILE* output) {
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
  std::fwrite(text.data(), 1, text.size(), output);
  std::fflush(output);
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
