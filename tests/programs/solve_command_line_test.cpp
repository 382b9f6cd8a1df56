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
  ASSERT_EQ(line.action, CommandLineAction::Run) << line.message;
  EXPECT_TRUE(line.options.exhaustive);
  EXPECT_DOUBLE_EQ(line.options.timeLimitSeconds, 2.5);
  EXPECT_EQ(line.options.jobs, 3);
  EXPECT_TRUE(line.options.json);
  EXPECT_EQ(line.options.jsonFile, "-");
  EXPECT_TRUE(line.options.quiet);
  EXPECT_EQ(line.options.words, (std::vector<std::string>{"chat", "-ab", "chien"}));

  const SolveCommandLine file = parse({"-j2", "--words", "-", "--time-limit", "1"});
  ASSERT_EQ(file.action, CommandLineAction::Run) << file.message;
  EXPECT_EQ(file.options.jobs, 2);
  EXPECT_TRUE(file.options.wordsFromFile);
  EXPECT_EQ(file.options.wordsFile, "-");
  EXPECT_LT(parse({"chat"}).options.timeLimitSeconds, 0) << "not given: the program's default";
  EXPECT_EQ(parse({"chat", "--node-limit", "0012"}).options.nodeLimit, 12);
  EXPECT_EQ(parse({"chat", "--time-limit", "none"}).options.timeLimitSeconds, 0) << "no limit";
  const std::pair<const char*, double> seconds[] = {{"010", 10}, {".5", 0.5}, {"5.", 5}};
  for (const auto& [text, value] : seconds)
    EXPECT_DOUBLE_EQ(parse({"chat", "--time-limit", text}).options.timeLimitSeconds, value) << text;
  const SolveCommandLine framed = parse({"chat", "--frame", "015x20", "--candidates=3"});
  EXPECT_EQ(framed.options.frame, (GridFrame{15, 20})) << framed.message;
  EXPECT_EQ(framed.options.candidates, 3);
  EXPECT_EQ(parse({"chat", "--help", "--bogus"}).action, CommandLineAction::ShowHelp);
  EXPECT_EQ(parse({"--version"}).action, CommandLineAction::ShowVersion);
}

TEST(SolveCommandLine, RefusalsSayWhatWasWrong) {
  const std::pair<std::vector<const char*>, const char*> cases[] = {
      {{"--bogus"}, "arrowgrid-solve: --bogus: unknown option"},
      {{"-x"}, "arrowgrid-solve: -x: unknown option"},
      {{"--jobs"}, "arrowgrid-solve: --jobs: needs a value"},
      {{"-j", "0"}, "arrowgrid-solve: --jobs: '0' is not a whole number from 1 to 256"},
      {{"--jobs=2x"}, "arrowgrid-solve: --jobs: '2x' is not a whole number from 1 to 256"},
      {{"--time-limit", "-1"},
       "arrowgrid-solve: --time-limit: '-1' is not a number of seconds above 0, nor none"},
      {{"--time-limit=inf"},
       "arrowgrid-solve: --time-limit: 'inf' is not a number of seconds above 0, nor none"},
      {{"--time-limit=nan"},
       "arrowgrid-solve: --time-limit: 'nan' is not a number of seconds above 0, nor none"},
      {{"--node-limit", "0"},
       "arrowgrid-solve: --node-limit: '0' is not a whole number from 1 to 1000000000000000"},
      {{"--node-limit=1e6"},
       "arrowgrid-solve: --node-limit: '1e6' is not a whole number from 1 to 1000000000000000"},
      {{"--exhaustive", "--node-limit", "5", "a", "b"},
       "arrowgrid-solve: --node-limit: not with --exhaustive, which runs every trial"},
      // Plain decimal numbers only, and blanks refused on either side alike.
      {{"--time-limit=0x10"},
       "arrowgrid-solve: --time-limit: '0x10' is not a number of seconds above 0, nor none"},
      {{"--time-limit= 5"},
       "arrowgrid-solve: --time-limit: ' 5' is not a number of seconds above 0, nor none"},
      {{"--time-limit=5 "},
       "arrowgrid-solve: --time-limit: '5 ' is not a number of seconds above 0, nor none"},
      {{"--time-limit=0.0"},
       "arrowgrid-solve: --time-limit: '0.0' is not a number of seconds above 0, nor none"},
      {{"--time-limit=1e3"},
       "arrowgrid-solve: --time-limit: '1e3' is not a number of seconds above 0, nor none"},
      {{"--quiet=yes"}, "arrowgrid-solve: --quiet: takes no value"},
      {{"--json="}, "arrowgrid-solve: --json: needs a value"},
      {{"-"}, "arrowgrid-solve: '-' is not a word; use '--words -' to read the words from standard input"},
      {{"--words", "f", "chat"},
       "arrowgrid-solve: give the words either as arguments or with --words, not both"},
      {{"a", "b", "--dpi", "300"}, "arrowgrid-solve: --dpi: needs --pdf, --svg, --png, --ipuz or --html"},
      {{"a", "b", "--author", "Moi"}, "arrowgrid-solve: --author: needs --pdf, --svg, --png, --ipuz or --html"},
      {{"--candidates", "0"}, "arrowgrid-solve: --candidates: '0' is not a whole number from 1 to 20"},
      {{"--candidates", "21"}, "arrowgrid-solve: --candidates: '21' is not a whole number from 1 to 20"},
      {{"--ipuz", "g.ipuz", "--clue-layout", "grid"},
       "arrowgrid-solve: --clue-layout: 'grid' is not cells or list"},
  };
  for (const auto& [arguments, message] : cases) {
    const SolveCommandLine line = parse(arguments);
    EXPECT_EQ(line.action, CommandLineAction::Refuse) << message;
    EXPECT_EQ(line.message, std::string(message) + "\nTry 'arrowgrid-solve --help' for more information.");
  }
  for (const std::string frame : {"15", "2x20", "15x1000", "15X20", "-5x20", "15x"})
    EXPECT_EQ(parse({"--frame", frame.c_str()}).message, "arrowgrid-solve: --frame: '" + frame +
              "' is not COLSxROWS with each side 3 to 999\nTry 'arrowgrid-solve --help' for more information.");
}

}  // namespace
}  // namespace arrowgrid
