// Temporary file, flush, sync, rename: each step checked, since a full disk
// may only show at the flush or the sync.
#include "base/safe_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

std::string folderPart(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string temporaryPathFor(const std::string& path, int attempt) {
  const std::string folder = folderPart(path);
  return folder + temporaryFileName(path.substr(folder.size()), getpid(), attempt);
}

// The rename is only lasting once the folder that records it is on the disk
// too. A folder that cannot be opened for reading, or a file system that
// cannot sync folders, leaves it to the system's own flushing.
int syncFolderOf(const std::string& path) {
  const std::string folder = folderPart(path);
  const int descriptor = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return 0;
  const int failure = fsync(descriptor) == 0 || errno == EINVAL || errno == EROFS ? 0 : errno;
  close(descriptor);
  return failure;
}

// The permissions of the regular file about to be replaced, or -1 (none
// there, or a link, which the rename replaces and does not follow).
int replacedPermissions(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return static_cast<int>(info.st_mode & 0777);
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

// A device or a pipe named as the output (/dev/null, /dev/stdout, a FIFO)
// is a stream, not a file to replace: renaming over it would put a regular
// file in its place, for every program that uses it. Its bytes go straight
// in; it has no half-written state to protect.
bool isStream(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode));
}

std::string writeStream(const std::string& path, const std::function<std::string(std::FILE*)>& produce) {
  const int descriptor = open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
  if (descriptor < 0) return fileWriteError(path, errno);
  std::FILE* file = fdopen(descriptor, "wb");
  if (file == nullptr) {
    const int failure = errno;
    close(descriptor);
    return fileWriteError(path, failure);
  }
  std::string error = produce(file);
  errno = 0;
  const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
  const int failure = flushed ? 0 : (errno ? errno : EIO);
  std::fclose(file);
  if (error.empty() && failure != 0) error = fileWriteError(path, failure);
  return error;
}

}  // namespace

std::string temporaryFileName(const std::string& name, long processId, int attempt) {
  std::string suffix = ".";
  suffix += std::to_string(processId);
  suffix += '-';
  suffix += std::to_string(attempt);
  suffix += ".tmp";
  // A long name is cut, never a UTF-8 sequence halfway, so that the
  // temporary's name stays within the file system's limit.
  size_t kept = std::min(name.size(), static_cast<size_t>(NAME_MAX) - 1 - suffix.size());
  while (kept > 0 && kept < name.size() && (static_cast<unsigned char>(name[kept]) & 0xC0) == 0x80) --kept;
  std::string temporary = ".";
  temporary.append(name, 0, kept);
  temporary += suffix;
  return temporary;
}

bool isTemporaryFileNameOf(const std::string& candidate, const std::string& name) {
  if (!candidate.ends_with(".tmp")) return false;
  const size_t dot = candidate.rfind('.', candidate.size() - 5);
  const size_t dash = candidate.rfind('-');
  if (dot == std::string::npos || dash == std::string::npos || dash < dot) return false;
  const std::string processId = candidate.substr(dot + 1, dash - dot - 1);
  const std::string attempt = candidate.substr(dash + 1, candidate.size() - 4 - dash - 1);
  const auto digits = [](const std::string& text) {
    return !text.empty() && text.size() < 10 && text.find_first_not_of("0123456789") == std::string::npos;
  };
  return digits(processId) && digits(attempt) &&
         candidate == temporaryFileName(name, std::stol(processId), std::stoi(attempt));
}

int holdUnfinishedFile(const std::string& path) {
  const int slot = claimUnfinishedFile(path);
  markUnfinishedFileMade(slot);
  return slot;
}

int claimUnfinishedFile(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int slot = 0; slot < static_cast<int>(std::size(unfinishedFiles)); ++slot) {
    UnfinishedFile& file = unfinishedFiles[slot];
    bool expected = false;
    if (!file.claimed.compare_exchange_strong(expected, true)) continue;
    std::memcpy(file.path, path.c_str(), path.size() + 1);
    return slot;
  }
  return -1;
}

void markUnfinishedFileMade(int slot) {
  if (slot >= 0) unfinishedFiles[slot].ready.store(true);
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
  if (existing == ExistingFile::Replace && isStream(path)) return writeStream(path, produce);
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
  // The file keeps its permissions when replaced: a list made private stays so.
  const int permissions = existing == ExistingFile::Replace ? replacedPermissions(path) : -1;
  if (permissions >= 0 && fchmod(descriptor, static_cast<mode_t>(permissions)) != 0) {
    const int failure = errno;
    close(descriptor);
    unlink(temporary.c_str());
    releaseUnfinishedFile(slot);
    return fileWriteError(path, failure);
  }

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
  const bool renamed = error.empty() && failure == 0;
  if (renamed) failure = syncFolderOf(path);
  if (error.empty() && failure != 0) error = fileWriteError(path, failure);
  if (!renamed) unlink(temporary.c_str());
  releaseUnfinishedFile(slot);
  return error;
}

std::string writeTextSafely(const std::string& path, ExistingFile existing, const std::string& text) {
  return writeFileSafely(path, existing, [&](std::FILE* out) -> std::string {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), out) != text.size())
      return fileWriteError(path, errno ? errno : EIO);
    return {};
  });
}

}  // namespace arrowgrid
