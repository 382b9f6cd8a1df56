// The in-memory console that tests drive: keys come from a script, beeps and
// line inputs are counted, the end of the program unwinds as an exception,
// and the screen is read back as text or pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/key_script.h"
#include "screen/console.h"

namespace arrowgrid::test_support {

// Thrown by endProcess: the program ended with status.
struct ProgramEnded {
  int32_t status;
};

// Thrown when the program waits for a key and the script has none left.
struct ScriptExhausted {};

struct ScriptedPlatform {
  KeyScript script;                  // keys still to type
  int32_t beeps = 0;                 // beeps asked for so far
  int32_t lineInputs = 0;            // line inputs started so far
  bool keepScreens = false;          // record the screen at every line input
  std::vector<std::string> screens;  // screenText at each line input, when kept
  // A form that asks for a new picture as soon as it got one, recording
  // screenText at each.
  bool wantsEveryPicture = false;
  std::vector<std::string> pictures;
};

void attachScriptedPlatform(Console& console, ScriptedPlatform& platform);

// attachScriptedPlatform, openSurface and the program's logical window.
void openTestConsole(Console& console, ScriptedPlatform& platform);

// The row's cells (1..25) as UTF-8, trailing blanks removed.
std::string screenRow(const Console& console, int32_t row);
// The 25 rows joined with '\n'.
std::string screenText(const Console& console);
uint8_t cellAt(const Console& console, int32_t row, int32_t column);
// The pixel's palette index once every pending glyph is painted.
uint8_t pixelAt(Console& console, int32_t x, int32_t y);

}  // namespace arrowgrid::test_support
