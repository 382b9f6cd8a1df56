// The script form's input: an over-long line is typed up to its first
// 16384 bytes, the rest read past without being kept.
#include "platform/script_form.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace arrowgrid {
namespace {

struct ScriptOnMemory {
  explicit ScriptOnMemory(std::string text) : input(std::move(text)) {
    console = std::make_unique<Console>();
    openSurface(console->surface);
    form.input = fmemopen(input.data(), input.size(), "r");
    form.output = std::fopen("/dev/null", "w");
    attachScriptForm(*console, form);
  }
  ~ScriptOnMemory() {
    std::fclose(form.input);
    std::fclose(form.output);
  }
  std::string input;
  std::unique_ptr<Console> console;
  ScriptForm form;
};

TEST(ScriptForm, AnOverlongLineIsCutAndItsRestDiscarded) {
  // Escape past the kept bytes would erase the line; it is never typed.
  ScriptOnMemory script(std::string(100000, 'x') +
                        "\x1b"
                        "AB\nCD\n");
  Console& console = *script.console;
  console.platform.waitingForKey(console.platform.context, console);
  EXPECT_EQ(script.form.script.pending.size() + static_cast<size_t>(waitingKeyCount(console.keys)),
            SCRIPT_LINE_MAX + 1);  // the kept bytes and Enter
  EXPECT_EQ(inputText(console, ByteString(), false), ByteString(INPUT_FIELD_MAX, 'x'));
  EXPECT_EQ(inputText(console, ByteString(), false), "CD");
}

TEST(ScriptForm, LinesAreReadWithoutTheirLineFeedAndALastOneWithoutItCounts) {
  std::string text = "one\n\nlast";
  std::FILE* input = fmemopen(text.data(), text.size(), "r");
  std::string line;
  ASSERT_TRUE(readScriptLine(input, line, 2));
  EXPECT_EQ(line, "on");
  ASSERT_TRUE(readScriptLine(input, line));
  EXPECT_EQ(line, "");
  ASSERT_TRUE(readScriptLine(input, line));
  EXPECT_EQ(line, "last");
  EXPECT_FALSE(readScriptLine(input, line));
  std::fclose(input);
}

}  // namespace
}  // namespace arrowgrid
