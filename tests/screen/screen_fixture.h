// A console opened in the test form, as the screen tests start from.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "screen/console.h"
#include "screen/cp437.h"
#include "support/scripted_console.h"

namespace arrowgrid {
using namespace test_support;

class ScreenTest : public ::testing::Test {
 protected:
  ScreenTest() : console_(std::make_unique<Console>()) { openTestConsole(*console_, platform_); }

  Console& console() { return *console_; }
  TextScreen& text() { return console_->text; }
  void print(std::string_view utf8, PrintEnding ending = PrintEnding::NoEnding) {
    printText(*console_, cp437Text(utf8), ending);
  }
  void expectCursor(int32_t row, int32_t column) {
    EXPECT_EQ(text().cursorRow, row);
    EXPECT_EQ(text().cursorColumn, column);
  }

  std::unique_ptr<Console> console_;
  ScriptedPlatform platform_;
};

}  // namespace arrowgrid
