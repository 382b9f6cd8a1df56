// The command line: options, the words that are ignored, and refusals.
#include <gtest/gtest.h>

#include <vector>

#include "programs/command_line.h"
#include "support/binary_run.h"
#include "support/french_texts.h"

namespace arrowgrid {
using namespace test_support;
namespace {

CommandLine parse(std::vector<const char*> words) {
  words.insert(words.begin(), "arrowgrid");
  return parseCommandLine(static_cast<int>(words.size()), words.data());
}

TEST(CommandLine, OptionsFillTheRecordAndOtherWordsAreIgnored) {
  const CommandLine plain = parse({"mots", "-", "--", "--bogus"});
  EXPECT_EQ(plain.action, CommandLineAction::Run);
  EXPECT_EQ(plain.options.form, FormChoice::Automatic);
  EXPECT_TRUE(plain.options.exportDirectory.empty());

  const CommandLine chosen = parse({"--script", "--export", "grilles", "--script"});
  EXPECT_EQ(chosen.action, CommandLineAction::Run);
  EXPECT_EQ(chosen.options.form, FormChoice::Script);
  EXPECT_EQ(chosen.options.exportDirectory, "grilles");
  EXPECT_EQ(parse({"--export=/tmp/x", "--terminal"}).options.exportDirectory, "/tmp/x");
  EXPECT_EQ(parse({"--terminal"}).options.form, FormChoice::Terminal);
  EXPECT_EQ(parse({"--window"}).options.form, FormChoice::Window);
  EXPECT_EQ(parse({"--window", "--help"}).action, CommandLineAction::ShowHelp);
  EXPECT_EQ(parse({"--version"}).action, CommandLineAction::ShowVersion);

  const CommandLine printed = parse({"--export", "out", "--page", "letter", "--dpi=300", "--title", "--a3"});
  EXPECT_EQ(printed.action, CommandLineAction::Run);
  EXPECT_EQ(printed.options.print.page, PageSize::Letter);
  EXPECT_EQ(printed.options.print.dpi, 300);
  EXPECT_EQ(printed.options.print.title, "--a3");  // a title may look like an option
  const PrintOptions defaults = parse({"--export", "out"}).options.print;
  EXPECT_EQ(defaults.page, PageSize::A4);
  EXPECT_EQ(defaults.dpi, 150);
  EXPECT_EQ(defaults.title, "");
  EXPECT_EQ(parse({"--export", "out", "--page=a3"}).options.print.page, PageSize::A3);
  // Leading zeros are decimal, not octal; the last of a repeated option wins.
  EXPECT_EQ(parse({"--export", "out", "--dpi", "0300"}).options.print.dpi, 300);
  EXPECT_EQ(parse({"--export", "a", "--export", "b", "--page", "A3"}).options.exportDirectory, "b");
}

TEST(CommandLine, RefusalsSayWhy) {
  struct Case {
    std::vector<const char*> words;
    const char* why;
  };
  const Case cases[] = {
      {{"--windows"}, "--windows: unknown option"},
      {{"-x"}, "-x: unknown option"},
      {{"--export"}, "--export: needs a value"},
      {{"--export="}, "--export: needs a value"},
      {{"--window", "--script"}, "--window: cannot be given with --script"},
      {{"--script=yes"}, "--script: takes no value"},
      {{"--export", "out", "--dpi", "9000"}, "--dpi: '9000' is not a whole number from 50 to 600"},
      {{"--export", "out", "--dpi=15O"}, "--dpi: '15O' is not a whole number from 50 to 600"},
      {{"--export", "out", "--dpi=0x96"}, "--dpi: '0x96' is not a whole number from 50 to 600"},
      {{"--export", "out", "--page", "a5"}, "--page: 'a5' is not a4, letter or a3"},
      {{"--export", "out", "--title"}, "--title: needs a value"},
      {{"--export", "out", "--pages"}, "--pages: unknown option"},
      {{"--title=Grille", "--page", "a3"}, "--title: needs --export"},
      {{"--export", "out", "--title", "Mots\xE9"}, "--title: byte 0xE9 at offset 4 is not valid UTF-8"},
  };
  for (const Case& c : cases) {
    const CommandLine line = parse(c.words);
    EXPECT_EQ(line.action, CommandLineAction::Refuse) << c.why;
    EXPECT_EQ(line.message,
              "arrowgrid: " + std::string(c.why) + "\nTry 'arrowgrid --help' for more information.");
  }
}

TEST(CommandLineBinary, ScriptFormChosenByName) {
  const test_support::BinaryRun run = test_support::runBinary("\n", 10, {"--script"});
  ASSERT_FALSE(run.snapshots.empty());
  EXPECT_EQ(test_support::snapshotRows(run.snapshots[0])[0], INTRO_FIRST_ROW);
  EXPECT_EQ(run.exitStatus, 3);
}

}  // namespace
}  // namespace arrowgrid
