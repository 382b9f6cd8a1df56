// Outside text in messages: what could drive the terminal or turn the
// text's direction is written as an escape, everything else as it is.
#include "base/message_text.h"

#include <gtest/gtest.h>

#include "support/binary_run.h"

namespace arrowgrid {
using namespace test_support;
namespace {

TEST(MessageText, ControlsBidiAndBadBytesAreEscapedTheRestKept) {
  const std::pair<std::string, std::string> cases[] = {
      {"chat-é œ Ω 漢 😀", "chat-é œ Ω 漢 😀"},
      {"a\x1b[31mb", "a\\x1B[31mb"},                                               // ESC: a colour sequence
      {"\t\r\n\x7f", "\\x09\\x0D\\x0A\\x7F"},                                      // C0 and DEL
      {"\xc2\x80|\xc2\x85|\xc2\x9b|\xc2\x9f", "\\u0080|\\u0085|\\u009B|\\u009F"},  // C1
      {"\xc2\xa0", "\xc2\xa0"},           // no-break space: printable
      {"abc\u202Edef", "abc\\u202Edef"},  // right-to-left override
      {"\u202A\u202B\u202C\u202D", "\\u202A\\u202B\\u202C\\u202D"},
      {"\u2066\u2067\u2068\u2069", "\\u2066\\u2067\\u2068\\u2069"},
      {"\u200E\u200F\u061C", "\\u200E\\u200F\\u061C"},        // invisible direction marks
      {"\u2065\u206A\u2029", "\u2065\u206A\u2029"},           // neighbours of the isolates
      {"\xff\xc3(\xe2\x82", "\\xFF\\xC3(\\xE2\\x82"},         // not UTF-8, cut short
      {"\xc0\xaf\xed\xa0\x80", "\\xC0\\xAF\\xED\\xA0\\x80"},  // overlong, surrogate
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(messageText(text), shown) << shown;
  EXPECT_EQ(messageText("line 1\nline\x1b 2\n", true), "line 1\nline\\x1B 2\n");
}

// Both programs, at every place a message leaves them.
TEST(MessageText, TheProgramsEchoNothingRaw) {
  const test_support::BinaryRun word = test_support::runProgram(ARROWGRID_SOLVE_BINARY, "", 30,
                                                                {"chat",
                                                                 "ch\xc2\x9b"
                                                                 "en"});
  EXPECT_EQ(word.standardError,
            "arrowgrid-solve: argument 2: word 'ch\\u009Ben': U+009B is not a letter or a hyphen\n");
  const test_support::BinaryRun rlo =
      test_support::runProgram(ARROWGRID_SOLVE_BINARY, "", 30, {"chat", "ab\u202E"});
  EXPECT_EQ(rlo.standardError,
            "arrowgrid-solve: argument 2: word 'ab\\u202E': U+202E is not a letter or a hyphen\n");
  const test_support::BinaryRun file =
      test_support::runProgram(ARROWGRID_SOLVE_BINARY, "", 30, {"--words", "/nonexistent/\x1b]0;x\x07"});
  EXPECT_EQ(file.standardError, "arrowgrid-solve: /nonexistent/\\x1B]0;x\\x07: No such file or directory\n");
  const test_support::BinaryRun option = test_support::runBinary("", 30, {"--bad\x1b[2J"});
  EXPECT_EQ(option.standardError.find('\x1b'), std::string::npos) << option.standardError;
  EXPECT_NE(option.standardError.find("--bad\\x1B[2J"), std::string::npos) << option.standardError;
  const test_support::BinaryRun exported = test_support::runBinary("\n\nAB\nBC\nCA\n\nO\n\n\n\nV\n\nF\n", 60,
                                                                   {"--export", "/nonexistent/\xc2\x85"});
  EXPECT_NE(exported.standardError.find("cannot write /nonexistent/\\u0085/grille-vide-001.pdf"),
            std::string::npos)
      << exported.standardError;
}

}  // namespace
}  // namespace arrowgrid
