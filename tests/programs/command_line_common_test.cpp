// What both command lines share: the --help layout and the title check.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "programs/command_line.h"
#include "programs/solve_command_line.h"

namespace arrowgrid {
namespace {

size_t columnsOf(const std::string& line) {
  size_t columns = 0;
  for (const char c : line) columns += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return columns;
}

TEST(CommandLineHelp, EveryDescriptionStartsInOneColumnWithinLinesOf79) {
  for (const std::string& help : {helpText(), solveHelpText()}) {
    std::istringstream lines(help);
    size_t column = 0;  // of the first description, which every other must share
    int described = 0;
    for (std::string line; std::getline(lines, line);) {
      EXPECT_LE(columnsOf(line), 79u) << line;
      const bool optionLine = line.starts_with("  -") || line.starts_with("      --");
      const bool continuation = line.starts_with("        ");
      if (!optionLine && !continuation) continue;
      // An option's name, then at least two spaces; a long name alone on its line.
      const size_t gap = optionLine ? line.find("  ", line.find('-')) : 0;
      if (gap == std::string::npos) continue;
      const size_t start = line.find_first_not_of(' ', gap);
      if (column == 0) column = start;
      EXPECT_EQ(start, column) << line;
      ++described;
    }
    EXPECT_GT(described, 10) << help;
  }
}

TEST(PrintTitle, InvalidUtf8NoncharactersAndOverlongTitlesAreNamed) {
  const std::pair<std::string, std::string> cases[] = {
      {"Grille du jour", ""},
      {"\xC3\xA9t\xC3\xA9 \xE2\x86\x92 \xF0\x9F\x99\x82", ""},
      {"ab\xC3", "byte 0xC3 at offset 2 is not valid UTF-8"},
      {"\xC0\xAF", "byte 0xC0 at offset 0 is not valid UTF-8"},          // overlong '/'
      {"x\xED\xA0\x80", "byte 0xED at offset 1 is not valid UTF-8"},     // a surrogate
      {"\xF4\x90\x80\x80", "byte 0xF4 at offset 0 is not valid UTF-8"},  // past U+10FFFF
      {"\xE2\x86", "byte 0xE2 at offset 0 is not valid UTF-8"},          // cut short
      {std::string(199, 'a') + "\xC3\xA9", ""},                          // 200 characters
      {std::string(201, 'a'), "201 characters; at most 200 fit above a grid"},
      // Noncharacters: valid UTF-8 that the printing library refuses.
      {"Grille\xEF\xBF\xBF", "noncharacter U+FFFF at offset 6 cannot be printed"},
      {"\xEF\xB7\xAF", "noncharacter U+FDEF at offset 0 cannot be printed"},
      {"\xF4\x8F\xBF\xBF", "noncharacter U+10FFFF at offset 0 cannot be printed"},
      {"\xEF\xB7\x8F\xEF\xBF\xBD", ""},  // U+FDCF and U+FFFD, just outside
  };
  for (const auto& [title, problem] : cases) EXPECT_EQ(titleProblem(title), problem) << title;
}

}  // namespace
}  // namespace arrowgrid
