// The console session that the screen, display and interaction tests start
// from: a console opened in the scripted test form, typing into it, running
// a step until it returns or the typed keys run out, and reading it back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "screen/console.h"
#include "support/scripted_console.h"

namespace arrowgrid::test_support {

struct ConsoleSession {
  std::unique_ptr<Console> ownConsole;  // empty when the console belongs to a program
  Console* console;
  ScriptedPlatform platform;

  // A console of its own: too large for the stack.
  ConsoleSession();
  // A console held elsewhere, such as a Program's.
  explicit ConsoleSession(Console& shared);
  ConsoleSession(const ConsoleSession&) = delete;
  ConsoleSession& operator=(const ConsoleSession&) = delete;

  // Starts over on another console held elsewhere, with nothing typed or counted.
  void reopen(Console& shared);

  // Each line as typed characters followed by Enter.
  void type(std::initializer_list<std::string_view> lines);
  // True when step returned, false when it still waited for a key once the
  // typed keys ran out (its screen is then the one the user would see).
  bool runsToEnd(const std::function<void()>& step);
  // UTF-8 printed through the code page, as the program prints.
  void print(std::string_view utf8, PrintEnding ending = PrintEnding::NoEnding);
  std::string row(int32_t r) const { return screenRow(*console, r); }
  void expectCursor(int32_t row, int32_t column) const;
};

// The same session as a GoogleTest fixture.
struct ConsoleSessionTest : ::testing::Test, ConsoleSession {};

}  // namespace arrowgrid::test_support
