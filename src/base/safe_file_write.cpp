// Temporary file, flush, sync, rename: each step checked, since a full disk
// may only show at the flush or the sync.
#include "base/safe_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <iterator>

namespace arrowgrid {

namespace {

// The one state a signal handler can reach. A slot is claimed, then its
// path set, then marked ready; the flags are lock-free atomics, so the
// handler never reads a path being written.
struct UnfinishedFile {
  std::atomic<bool> claimed{false};
  std::atomic<bool> ready{false};
  char path[PATH_MAX] = {};
};
UnfinishedFile unfinishedFiles[4];

extern "C" void removeUnfinishedThenDie(int signalNumber) {
  removeUnfinishedFiles();
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);
}

std::string temporaryPathFor(const std::string& path, int attempt) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + name + "." + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp";
}

// A rename that refuses to replace; where the file system cannot do that
// atomically, a check just before the rename.
int renameKeeping(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  struct stat existing {};
  if (lstat(to.c_str(), &existing) == 0) return EEXIST;
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

int holdUnfinishedFile(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int slot = 0; slot < static_cast<int>(std::size(unfinishedFiles)); ++slot) {
    UnfinishedFile& file = unfinishedFiles[slot];
    bool expected = false;
    if (!file.claimed.compare_exchange_strong(expected, true)) continue;
    std::memcpy(file.path, path.c_str(), path.size() + 1);
    file.ready.store(true);
    return slot;
  }
  return -1;
}

void releaseUnfinishedFile(int slot) {
  if (slot < 0) return;
  unfinishedFiles[slot].ready.store(false);
  unfinishedFiles[slot].claimed.store(false);
}

void removeUnfinishedFiles() {
  for (UnfinishedFile& file : unfinishedFiles)
    if (file.ready.load()) unlink(file.path);
}

void removeUnfinishedFilesOnSignals() {
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    struct sigaction previous {};
    sigaction(signalNumber, nullptr, &previous);
    if (previous.sa_handler == SIG_IGN) continue;  // started with it ignored: keep it so
    struct sigaction action {};
    action.sa_handler = removeUnfinishedThenDie;
    sigemptyset(&action.sa_mask);
    sigaction(signalNumber, &action, nullptr);
  }
}

std::string fileWriteError(const std::string& path, int errorNumber) {
  return "cannot write " + path + ": " + std::strerror(errorNumber);
}

std::string writeFileSafely(const std::string& path, ExistingFile existing,
                            const std::function<std::string(std::FILE*)>& produce) {
  std::string temporary;
  int descriptor = -1;
  int slot = -1;
  for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
    temporary = temporaryPathFor(path, attempt);
    slot = holdUnfinishedFile(temporary);
    descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) break;
    const int failure = errno;
    releaseUnfinishedFile(slot);  // not ours: another file of that name was there
    if (failure != EEXIST) return fileWriteError(path, failure);
  }
  if (descriptor < 0) return fileWriteError(path, EEXIST);

  std::FILE* file = fdopen(descriptor, "wb");
  if (file == nullptr) {
    const int failure = errno;
    close(descriptor);
    unlink(temporary.c_str());
    releaseUnfinishedFile(slot);
    return fileWriteError(path, failure);
  }

  std::string error = produce(file);
  int failure = 0;
  errno = 0;
  if (error.empty() && (std::fflush(file) != 0 || std::ferror(file))) failure = errno ? errno : EIO;
  if (error.empty() && failure == 0 && fsync(fileno(file)) != 0) failure = errno;
  if (std::fclose(file) != 0 && error.empty() && failure == 0) failure = errno;
  if (error.empty() && failure == 0) {
    failure = existing == ExistingFile::Replace
                  ? (std::rename(temporary.c_str(), path.c_str()) == 0 ? 0 : errno)
                  : renameKeeping(temporary, path);
  }
  if (error.empty() && failure != 0) error = fileWriteError(path, failure);
  if (!error.empty()) unlink(temporary.c_str());
  releaseUnfinishedFile(slot);
  return error;
}

}  // namespace arrowgrid
