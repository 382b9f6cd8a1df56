// Files written whole or not at all, and never over a file that must stay.
#include "base/safe_file_write.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <tuple>

#include "support/temporary_folder.h"

namespace arrowgrid {
using namespace test_support;
namespace {

using test_support::fileContent;
using test_support::TemporaryFolder;

std::string writeText(const std::string& path, ExistingFile existing, const std::string& text) {
  return writeFileSafely(path, existing, [&](std::FILE* file) {
    std::fputs(text.c_str(), file);
    return std::string();
  });
}

TEST(SafeFileWrite, CompleteFileAppearsUnderItsNameAndNothingElseStays) {
  TemporaryFolder folder;
  const std::string path = folder.file("grille.txt");
  EXPECT_EQ(writeText(path, ExistingFile::Replace, "one"), "");
  EXPECT_EQ(writeText(path, ExistingFile::Replace, "two"), "");
  EXPECT_EQ(fileContent(path), "two");
  EXPECT_EQ(folder.names(), std::vector<std::string>{"grille.txt"});
  // Made like any other file: readable by others unless the umask says no.
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  const mode_t mask = umask(022);
  umask(mask);
  EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}

// A replaced file keeps its permissions; a long name gets a temporary name
// cut short within the limit, never in the middle of a character.
TEST(SafeFileWrite, ReplacedPermissionsKeptAndLongNamesWritten) {
  std::string accented;  // "é", two bytes, up to the limit: to be cut between two
  while (accented.size() + 2 <= NAME_MAX) accented += "\xC3\xA9";
  // The name, its permissions before (0: no file there) and after (0: not written), the error.
  const std::tuple<std::string, mode_t, mode_t, const char*> cases[] = {
      {"mots.tsv", 0444, 0444, ""},
      {std::string(NAME_MAX, 'g'), 0640, 0640, ""},
      {accented, 0600, 0600, ""},
      {std::string(NAME_MAX + 1, 'g'), 0, 0, "File name too long"}};
  for (const auto& [name, before, after, error] : cases) {
    TemporaryFolder folder;
    const std::string path = folder.file(name);
    ASSERT_TRUE(before == 0 ||
                (writeText(path, ExistingFile::Replace, "") == "" && chmod(path.c_str(), before) == 0));
    EXPECT_EQ(writeText(path, ExistingFile::Replace, "x"),
              *error ? "cannot write " + path + ": " + error : "");
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0, after) << name;
    const std::string temporary = temporaryFileName(name, 4194304, 99);
    const size_t kept = temporary.rfind(".4194304-99.tmp") - 1;  // the bytes of the name in it
    EXPECT_TRUE(temporary.size() <= NAME_MAX && isTemporaryFileNameOf(temporary, name) &&
                (kept == name.size() || (name[kept] & 0xC0) != 0x80))
        << temporary;
  }
  EXPECT_FALSE(isTemporaryFileNameOf(".grille.pdf.12-3.tmp", "grille.png"));
}

// A pipe (like /dev/null, a device) named as the output gets the bytes and
// stays a pipe: replacing it with a regular file would break every program
// that uses it.
TEST(SafeFileWrite, PipeNamedAsOutputIsWrittenIntoNotReplaced) {
  TemporaryFolder folder;
  const std::string path = folder.file("tuyau");
  const int reader = mkfifo(path.c_str(), 0600) == 0 ? open(path.c_str(), O_RDONLY | O_NONBLOCK) : -1;
  ASSERT_GE(reader, 0);
  EXPECT_EQ(writeText(path, ExistingFile::Replace, "grille"), "");
  char bytes[16] = {};
  const ssize_t count = read(reader, bytes, sizeof bytes);
  close(reader);
  EXPECT_EQ(std::string(bytes, std::max<ssize_t>(count, 0)), "grille");
  struct stat info {};
  EXPECT_TRUE(lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode));
  EXPECT_EQ(folder.names(), std::vector<std::string>{"tuyau"});
}

TEST(SafeFileWrite, KeepRefusesAnExistingFileAndLeavesItWhole) {
  TemporaryFolder folder;
  const std::string path = folder.file("grille.txt");
  ASSERT_EQ(writeText(path, ExistingFile::Keep, "first"), "");
  EXPECT_EQ(writeText(path, ExistingFile::Keep, "second"), "cannot write " + path + ": File exists");
  EXPECT_EQ(fileContent(path), "first");
  EXPECT_EQ(folder.names(), std::vector<std::string>{"grille.txt"});
}

TEST(SafeFileWrite, FailuresLeaveNoFileBehind) {
  TemporaryFolder folder;
  // The content could not be made: no file under the name, no temporary.
  const std::string path = folder.file("grille.txt");
  EXPECT_EQ(writeFileSafely(path, ExistingFile::Replace, [](std::FILE*) { return std::string("no luck"); }),
            "no luck");
  // The name is taken by a folder: the rename fails.
  ASSERT_EQ(mkdir(folder.file("taken").c_str(), 0755), 0);
  EXPECT_EQ(writeText(folder.file("taken"), ExistingFile::Replace, "x"),
            "cannot write " + folder.file("taken") + ": Is a directory");
  EXPECT_EQ(folder.names(), std::vector<std::string>{"taken"});

  // A folder that is a file, and a folder that does not exist.
  ASSERT_EQ(writeText(folder.file("plain"), ExistingFile::Replace, "x"), "");
  EXPECT_EQ(writeText(folder.file("plain/grille.txt"), ExistingFile::Replace, "x"),
            "cannot write " + folder.file("plain/grille.txt") + ": Not a directory");
  EXPECT_EQ(writeText(folder.file("none/grille.txt"), ExistingFile::Replace, "x"),
            "cannot write " + folder.file("none/grille.txt") + ": No such file or directory");
}

TEST(SafeFileWrite, ReadOnlyFolderIsReportedWithTheFileName) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  TemporaryFolder folder;
  ASSERT_EQ(chmod(folder.path.c_str(), 0555), 0);
  EXPECT_EQ(writeText(folder.file("grille.txt"), ExistingFile::Replace, "x"),
            "cannot write " + folder.file("grille.txt") + ": Permission denied");
  chmod(folder.path.c_str(), 0755);
  EXPECT_TRUE(folder.names().empty());
}

}  // namespace
}  // namespace arrowgrid
