// The console session shared by the tests that drive a console.
#include "support/console_session.h"

#include "platform/key_script.h"
#include "screen/cp437.h"

namespace arrowgrid::test_support {

ConsoleSession::ConsoleSession() : ownConsole(std::make_unique<Console>()), console(ownConsole.get()) {
  openTestConsole(*console, platform);
}

ConsoleSession::ConsoleSession(Console& shared) : console(&shared) { openTestConsole(shared, platform); }

void ConsoleSession::reopen(Console& shared) {
  ownConsole.reset();
  console = &shared;
  platform = ScriptedPlatform{};
  openTestConsole(shared, platform);
}

void ConsoleSession::type(std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) typeLine(platform.script, line);
}

bool ConsoleSession::runsToEnd(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const ScriptExhausted&) {
    return false;
  }
}

void ConsoleSession::print(std::string_view utf8, PrintEnding ending) {
  printText(*console, cp437Text(utf8), ending);
}

void ConsoleSession::expectCursor(int32_t row, int32_t column) const {
  EXPECT_EQ(console->text.cursorRow, row);
  EXPECT_EQ(console->text.cursorColumn, column);
}

}  // namespace arrowgrid::test_support
