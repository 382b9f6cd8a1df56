// What both programs print for --help and --version when it cannot be written.
#include <gtest/gtest.h>

#include "support/binary_run.h"

namespace arrowgrid::test_support {
namespace {

TEST(CommandLineBinary, HelpOrVersionThatCannotBeWrittenIsAWriteError) {
  struct Case {
    const char* binary;
    const char* program;
    const char* option;
    OutputTarget output;
    const char* reason;
  };
  const Case cases[] = {
      {ARROWGRID_BINARY, "arrowgrid", "--help", OutputTarget::FullDisk, "No space left on device"},
      {ARROWGRID_BINARY, "arrowgrid", "--version", OutputTarget::Closed, "Bad file descriptor"},
      {ARROWGRID_SOLVE_BINARY, "arrowgrid-solve", "--help", OutputTarget::FullDisk,
       "No space left on device"},
      {ARROWGRID_SOLVE_BINARY, "arrowgrid-solve", "--version", OutputTarget::Closed, "Bad file descriptor"},
  };
  for (const Case& c : cases) {
    const BinaryRun run = runProgram(c.binary, "", 30, {c.option}, 0, c.output);
    EXPECT_EQ(run.exitStatus, 1) << c.program << " " << c.option;
    EXPECT_EQ(run.standardError, std::string(c.program) + ": write error: " + c.reason + "\n");
  }
}

}  // namespace
}  // namespace arrowgrid::test_support
