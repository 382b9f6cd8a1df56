// arrowgrid-solve's options in their GNU forms, and what is refused.
#include <gtest/gtest.h>

#include <vector>

#include "programs/solve_command_line.h"

namespace arrowgrid {
namespace {

SolveCommandLine parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "arrowgrid-solve");
  return parseSolveCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

TEST(SolveCommandLine, OptionsInEveryForm) {
  const SolveCommandLine line = parse(
      {"--exhaustive", "chat", "--time-limit=2.5", "-j", "3", "--json", "-", "-q", "--", "-ab", "chien"});
  ASSERT_EQ(line.action, SolveAction::Run) << line.message;
  EXPECT_TRUE(line.options.exhaustive);
  EXPECT_DOUBLE_EQ(line.options.timeLimitSeconds, 2.5);
  EXPECT_EQ(line.options.jobs, 3);
  EXPECT_TRUE(line.options.json);
  EXPECT_EQ(line.options.jsonFile, "-");
  EXPECT_TRUE(line.options.quiet);
  EXPECT_EQ(line.options.words, (std::vector<std::string>{"chat", "-ab", "chien"}));

  const SolveCommandLine file = parse({"-j2", "--words", "-", "--time-limit", "1"});
  ASSERT_EQ(file.action, SolveAction::Run) << file.message;
  EXPECT_EQ(file.options.jobs, 2);
  EXPECT_TRUE(file.options.wordsFromFile);
  EXPECT_EQ(file.options.wordsFile, "-");
  EXPECT_EQ(parse({"chat", "--help", "--bogus"}).action, SolveAction::ShowHelp);
  EXPECT_EQ(parse({"--version"}).action, SolveAction::ShowVersion);
}

TEST(SolveCommandLine, RefusalsSayWhatWasWrong) {
  const std::pair<std::vector<const char*>, const char*> cases[] = {
      {{"--bogus"}, "arrowgrid-solve: unrecognized option '--bogus'"},
      {{"-x"}, "arrowgrid-solve: invalid option -- 'x'"},
      {{"--jobs"}, "arrowgrid-solve: option '--jobs' requires an argument"},
      {{"-j", "0"}, "arrowgrid-solve: invalid number of jobs '0': a whole number from 1 to 256 is needed"},
      {{"--jobs=2x"}, "arrowgrid-solve: invalid number of jobs '2x': a whole number from 1 to 256 is needed"},
      {{"--time-limit", "-1"},
       "arrowgrid-solve: invalid time limit '-1': a number of seconds above 0 is needed"},
      {{"--time-limit=inf"},
       "arrowgrid-solve: invalid time limit 'inf': a number of seconds above 0 is needed"},
      {{"--quiet=yes"}, "arrowgrid-solve: option '--quiet' doesn't allow an argument"},
      {{"--json="}, "arrowgrid-solve: option '--json' requires a file name ('-' for standard output)"},
      {{"-"}, "arrowgrid-solve: '-' is not a word; use '--words -' to read the words from standard input"},
      {{"--words", "f", "chat"},
       "arrowgrid-solve: give the words either as arguments or with --words, not both"},
  };
  for (const auto& [arguments, message] : cases) {
    const SolveCommandLine line = parse(arguments);
    EXPECT_EQ(line.action, SolveAction::Refuse) << message;
    EXPECT_EQ(line.message, std::string(message) + "\nTry 'arrowgrid-solve --help' for more information.");
  }
}

}  // namespace
}  // namespace arrowgrid
