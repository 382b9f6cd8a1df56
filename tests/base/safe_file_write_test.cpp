// Files written whole or not at all, and never over a file that must stay.
#include "base/safe_file_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
