// The real binary in script form: snapshots, the end of input, the interrupt.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "support/binary_run.h"
#include "support/french_texts.h"

namespace arrowgrid {
using namespace test_support;

namespace {

TEST(ScriptBinary, IntroScreensArriveAsSnapshotsAndEndOfInputGivesStatus3) {
  const BinaryRun run = runBinary("\n");
  ASSERT_EQ(run.snapshots.size(), 2u);
  const auto first = snapshotRows(run.snapshots[0]);
  ASSERT_EQ(first.size(), 25u);
  EXPECT_EQ(first[0], INTRO_FIRST_ROW);
  EXPECT_EQ(first[12], PRESS_RETURN);
  const auto second = snapshotRows(run.snapshots[1]);
  EXPECT_EQ(second[0], INTRO_THANKS_ROW);
  EXPECT_EQ(second[13], PRESS_RETURN);
  EXPECT_EQ(run.exitStatus, 3);
  EXPECT_NE(run.standardError.find("standard input ended"), std::string::npos);
}

TEST(ScriptBinary, ASnapshotThatCannotBeWrittenEndsTheProgramWithStatus4) {
  for (const OutputTarget output : {OutputTarget::FullDisk, OutputTarget::Closed, OutputTarget::ReaderGone}) {
    const BinaryRun run = runBinary("\n\n", 20, {}, output);
    EXPECT_EQ(run.exitStatus, 4) << static_cast<int>(output);
    EXPECT_NE(run.standardError.find("arrowgrid: standard output could not be written"), std::string::npos)
        << static_cast<int>(output) << ": " << run.standardError;
  }
}

// The reader of the snapshots goes away while a search of hours runs and
// nothing is written: the program ends then, not at its next snapshot.
TEST(ScriptBinary, AReaderGoneDuringASearchEndsTheProgram) {
  const std::string inPath = "/tmp/arrowgrid-reader-gone-" + std::to_string(getpid());
  std::ofstream(inPath) << "\n\nMAISON\nJARDIN\nTABLE\nPORTE\nSOLEIL\nFLEUR\nLIVRE\nARBRE\nECOLE\n\nO\n0\n\n";
  int fromProgram[2];
  ASSERT_EQ(pipe(fromProgram), 0);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, inPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&files, fromProgram[1], 1);
  posix_spawn_file_actions_addclose(&files, fromProgram[0]);
  posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
  std::string binary = ARROWGRID_BINARY;
  char* argv[] = {binary.data(), nullptr};
  char* envp[] = {nullptr};
  struct sigaction ignore {};
  struct sigaction previous {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &previous);  // inherited: the program sees failed writes, not the signal
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, binary.c_str(), &files, nullptr, argv, envp);
  sigaction(SIGPIPE, &previous, nullptr);
  posix_spawn_file_actions_destroy(&files);
  close(fromProgram[1]);
  ASSERT_EQ(spawned, 0);

  // Fifteen snapshots up to the dialog's last prompt; then the search runs.
  int32_t snapshots = 0;
  char buffer[4096];
  for (ssize_t count; snapshots < 15 && (count = read(fromProgram[0], buffer, sizeof buffer)) > 0;)
    snapshots += static_cast<int32_t>(std::count(buffer, buffer + count, '\f'));
  EXPECT_EQ(snapshots, 15);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  close(fromProgram[0]);

  int status = 0;
  pid_t waited = 0;
  const auto closed = std::chrono::steady_clock::now();
  while ((waited = waitpid(pid, &status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() - closed < std::chrono::seconds(10))
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const bool ended = waited == pid && WIFEXITED(status);
  if (!ended) kill(pid, SIGKILL), waitpid(pid, &status, 0);
  std::remove(inPath.c_str());
  ASSERT_TRUE(ended) << "the search went on for 10 s without a reader";
  EXPECT_EQ(WEXITSTATUS(status), 4);
}

TEST(ScriptBinary, InterruptEndsTheProgramAtOnce) {
  int toProgram[2];
  ASSERT_EQ(pipe(toProgram), 0);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_adddup2(&files, toProgram[0], 0);
  posix_spawn_file_actions_addclose(&files, toProgram[1]);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  // A process started in the background may inherit an ignored SIGINT.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGINT);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  std::string binary = ARROWGRID_BINARY;
  char* argv[] = {binary.data(), nullptr};
  char* envp[] = {nullptr};  // no display: script form, blocked reading its input
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, binary.c_str(), &files, &attributes, argv, envp), 0);
  close(toProgram[0]);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));

  kill(pid, SIGINT);
  int status = 0;
  const auto sent = std::chrono::steady_clock::now();
  while (waitpid(pid, &status, WNOHANG) == 0 &&
         std::chrono::steady_clock::now() - sent < std::chrono::seconds(5)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const bool ended = WIFSIGNALED(status) && WTERMSIG(status) == SIGINT;
  if (!ended) kill(pid, SIGKILL), waitpid(pid, &status, 0);
  close(toProgram[1]);
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attributes);
  EXPECT_TRUE(ended);
  EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(2));
}

}  // namespace
}  // namespace arrowgrid
