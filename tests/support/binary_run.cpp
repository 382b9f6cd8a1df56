#include "support/binary_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace arrowgrid::test_support {

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string temporaryPath(const char* stem) {
  char pattern[64];
  std::snprintf(pattern, sizeof pattern, "/tmp/arrowgrid-%s-XXXXXX", stem);
  const int fd = mkstemp(pattern);
  if (fd >= 0) close(fd);
  return pattern;
}

}  // namespace

int threadCount(const RunningProgram& program) {
  std::ifstream status("/proc/" + std::to_string(program.pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("Threads:")) return std::atoi(line.c_str() + 8);
  return 0;
}

std::string standardOutputSoFar(const RunningProgram& program) {
  return readFile(program.standardOutputPath);
}

BinaryRun runBinary(const std::string& input, int timeoutSeconds, const std::vector<std::string>& arguments,
                    OutputTarget output) {
  return runProgram(ARROWGRID_BINARY, input, timeoutSeconds, arguments, 0, output);
}

BinaryRun runProgram(const std::string& program, const std::string& input, int timeoutSeconds,
                     const std::vector<std::string>& arguments, int interruptAfterMilliseconds,
                     OutputTarget output, int interruptSignal,
                     const std::function<bool(const RunningProgram&)>& interruptWhen) {
  const std::string inPath = temporaryPath("in");
  const std::string outPath = temporaryPath("out");
  const std::string errPath = temporaryPath("err");
  std::ofstream(inPath, std::ios::binary) << input;

  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, inPath.c_str(), O_RDONLY, 0);
  int pipeEnds[2] = {-1, -1};
  switch (output) {
    case OutputTarget::Captured:
      posix_spawn_file_actions_addopen(&files, 1, outPath.c_str(), O_WRONLY | O_TRUNC, 0);
      break;
    case OutputTarget::FullDisk:
      posix_spawn_file_actions_addopen(&files, 1, "/dev/full", O_WRONLY, 0);
      break;
    case OutputTarget::Closed:
      posix_spawn_file_actions_addclose(&files, 1);
      break;
    case OutputTarget::ReaderGone:
      if (pipe(pipeEnds) != 0) return BinaryRun{};
      close(pipeEnds[0]);
      posix_spawn_file_actions_adddup2(&files, pipeEnds[1], 1);
      posix_spawn_file_actions_addclose(&files, pipeEnds[1]);
      break;
  }
  posix_spawn_file_actions_addopen(&files, 2, errPath.c_str(), O_WRONLY | O_TRUNC, 0);

  // No display: the program must take its script form.
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text(*entry);
    if (text.rfind("DISPLAY=", 0) == 0 || text.rfind("WAYLAND_DISPLAY=", 0) == 0) continue;
    environment.push_back(text);
  }
  std::vector<char*> envp;
  for (auto& text : environment) envp.push_back(text.data());
  envp.push_back(nullptr);

  std::string binary = program;
  std::vector<std::string> words = arguments;
  std::vector<char*> argv{binary.data()};
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  BinaryRun run;
  // An ignored SIGPIPE is inherited: writes into the gone reader's pipe fail
  // instead of ending the child by the signal.
  struct sigaction pipeAction {};
  struct sigaction previousPipeAction {};
  pipeAction.sa_handler = SIG_IGN;
  if (output == OutputTarget::ReaderGone) sigaction(SIGPIPE, &pipeAction, &previousPipeAction);
  const int spawned = posix_spawn(&pid, binary.c_str(), &files, nullptr, argv.data(), envp.data());
  if (output == OutputTarget::ReaderGone) {
    sigaction(SIGPIPE, &previousPipeAction, nullptr);
    close(pipeEnds[1]);
  }
  if (spawned == 0) {
    int status = 0;
    const auto started = std::chrono::steady_clock::now();
    const auto deadline = started + std::chrono::seconds(timeoutSeconds);
    bool interrupted = interruptAfterMilliseconds <= 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
      if (!interrupted &&
          std::chrono::steady_clock::now() >
              started + std::chrono::milliseconds(interruptAfterMilliseconds) &&
          (!interruptWhen || interruptWhen(RunningProgram{pid, outPath}))) {
        kill(pid, interruptSignal);
        interrupted = run.signalSent = true;
      }
      if (std::chrono::steady_clock::now() > deadline) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.terminatingSignal = WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&files);

  run.standardOutput = readFile(outPath);
  run.standardError = readFile(errPath);
  std::remove(inPath.c_str());
  std::remove(outPath.c_str());
  std::remove(errPath.c_str());

  std::string current;
  std::istringstream lines(run.standardOutput);
  for (std::string line; std::getline(lines, line);) {
    if (line == "\f") {
      run.snapshots.push_back(current);
      current.clear();
    } else {
      current += line + '\n';
    }
  }
  return run;
}

std::vector<std::string> snapshotRows(const std::string& snapshot) {
  std::vector<std::string> rows;
  std::istringstream lines(snapshot);
  for (std::string line; std::getline(lines, line);) rows.push_back(line);
  return rows;
}

}  // namespace arrowgrid::test_support
