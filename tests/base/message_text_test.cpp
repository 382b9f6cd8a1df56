// Outside text in messages: what could drive the terminal or turn the
// text's direction is written as an escape, everything else as it is.
#include "base/message_text.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

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

// Both programs, at every place a message leaves them: a word, a file name,
// an option, an export folder.
TEST(MessageText, TheProgramsEchoNothingRaw) {
  const std::string menu = "\n\nAB\nBC\nCA\n\nO\n\n\n\nV\n\nF\n";
  const std::tuple<const char*, std::vector<std::string>, std::string> cases[] = {
      {ARROWGRID_SOLVE_BINARY, {"chat", "ch\u009Ben"}, "word 'ch\\u009Ben': U+009B is not a letter"},
      {ARROWGRID_SOLVE_BINARY, {"chat", "ab\u202E"}, "word 'ab\\u202E': U+202E is not a letter"},
      {ARROWGRID_SOLVE_BINARY,
       {"--words", "/nonexistent/\x1b]0;x\x07"},
       "/nonexistent/\\x1B]0;x\\x07: No such"},
      {ARROWGRID_BINARY, {"--bad\x1b[2J"}, "--bad\\x1B[2J"},
      {ARROWGRID_BINARY,
       {"--export", "/nonexistent/\u0085"},
       "write /nonexistent/\\u0085/grille-vide-001.pdf"},
  };
  for (const auto& [binary, arguments, shown] : cases) {
    const std::string errors = test_support::runProgram(binary, menu, 60, arguments).standardError;
    EXPECT_NE(errors.find(shown), std::string::npos) << errors;
    for (const char* raw : {"\x1b", "\x07", "\u0085", "\u009B", "\u202E"})
      EXPECT_EQ(errors.find(raw), std::string::npos) << errors;
  }
}

}  // namespace
}  // namespace arrowgrid
