// The in-memory test form of the platform layer.
#include "support/scripted_console.h"

#include "screen/cp437.h"

namespace arrowgrid::test_support {

namespace {

ScriptedPlatform& platformOf(void* context) { return *static_cast<ScriptedPlatform*>(context); }

void scriptWaitingForKey(void* context, Console& console) {
  ScriptedPlatform& platform = platformOf(context);
  if (platform.script.pending.empty()) throw ScriptExhausted{};
  feedKeyQueue(platform.script, console.keys);
}

void scriptLineInputStarting(void* context, Console& console) {
  ScriptedPlatform& platform = platformOf(context);
  ++platform.lineInputs;
  if (platform.keepScreens) platform.screens.push_back(screenText(console));
}

void scriptBeep(void* context) { ++platformOf(context).beeps; }

void scriptEndProcess(void*, int32_t status) { throw ProgramEnded{status}; }

void scriptPresent(void* context, Console& console) {
  ScriptedPlatform& platform = platformOf(context);
  if (!platform.wantsEveryPicture) return;
  platform.pictures.push_back(screenText(console));
  console.platform.refreshWanted.store(true);
}

}  // namespace

void attachScriptedPlatform(Console& console, ScriptedPlatform& platform) {
  PlatformLayer& layer = console.platform;
  layer.context = &platform;
  layer.waitingForKey = scriptWaitingForKey;
  layer.lineInputStarting = scriptLineInputStarting;
  layer.beep = scriptBeep;
  layer.endProcess = scriptEndProcess;
  layer.present = scriptPresent;
}

void openTestConsole(Console& console, ScriptedPlatform& platform) {
  attachScriptedPlatform(console, platform);
  openSurface(console.surface);
  setLogicalWindow(console.surface, 0, -2, 80, 23, true);
}

std::string screenRow(const Console& console, int32_t row) {
  const auto first = console.text.cells.begin() + cellIndex(row, 1);
  std::string utf8 = toUtf8(ByteString(first, first + TEXT_COLUMNS));
  while (!utf8.empty() && utf8.back() == ' ') utf8.pop_back();
  return utf8;
}

std::string screenText(const Console& console) {
  std::string text;
  for (int32_t row = 1; row <= TEXT_ROWS; ++row) {
    if (row > 1) text.push_back('\n');
    text += screenRow(console, row);
  }
  return text;
}

uint8_t cellAt(const Console& console, int32_t row, int32_t column) {
  return console.text.cells[static_cast<size_t>(cellIndex(row, column))];
}

uint8_t pixelAt(Console& console, int32_t x, int32_t y) {
  paintPicture(console);
  return console.surface.pixels[static_cast<size_t>(y)][static_cast<size_t>(x)];
}

}  // namespace arrowgrid::test_support
