// Temporary file, flush, sync, rename: each step checked, since a full disk
// may only show at the flush or the sync.
#include "base/safe_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace arrowgrid {

namespace {

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

std::string fileWriteError(const std::string& path, int errorNumber) {
  return "cannot write " + path + ": " + std::strerror(errorNumber);
}

std::string writeFileSafely(const std::string& path, ExistingFile existing,
                            const std::function<std::string(std::FILE*)>& produce) {
  std::string temporary;
  int descriptor = -1;
  for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
    temporary = temporaryPathFor(path, attempt);
    descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0 && errno != EEXIST) return fileWriteError(path, errno);
  }
  if (descriptor < 0) return fileWriteError(path, EEXIST);

  std::FILE* file = fdopen(descriptor, "wb");
  if (file == nullptr) {
    const int failure = errno;
    close(descriptor);
    unlink(temporary.c_str());
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
  return error;
}

}  // namespace arrowgrid
