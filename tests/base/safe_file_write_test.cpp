// Files written whole or not at all, and never over a file that must stay.
#include "base/safe_file_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "base/utf8_decoding.h"
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

TEST(SafeFileWrite, ReplacedFileKeepsItsPermissions) {
  struct Case {
    mode_t before;  // 0: no file there
    ExistingFile existing;
    mode_t after;  // 0: the umask's default
  };
  const Case cases[] = {
      {0, ExistingFile::Replace, 0},
      {0600, ExistingFile::Replace, 0600},
      {0640, ExistingFile::Replace, 0640},
      {0444, ExistingFile::Replace, 0444},
      {0755, ExistingFile::Replace, 0755},
      {0, ExistingFile::Keep, 0},
  };
  const mode_t mask = umask(022);
  umask(mask);
  for (const Case& c : cases) {
    TemporaryFolder folder;
    const std::string path = folder.file("mots.tsv");
    if (c.before != 0) {
      ASSERT_EQ(writeText(path, ExistingFile::Replace, "before"), "");
      ASSERT_EQ(chmod(path.c_str(), c.before), 0);
    }
    EXPECT_EQ(writeText(path, c.existing, "after"), "") << std::oct << c.before;
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.after != 0 ? c.after : 0666 & ~mask) << std::oct << c.before;
    EXPECT_EQ(fileContent(path), "after");
  }
}

// The temporary name is the target's, hidden, with the process and the
// attempt: cut short for long names so that it stays a valid name, and
// never in the middle of a character.
TEST(SafeFileWrite, LongNamesAreWrittenWithATemporaryNameWithinTheLimit) {
  const std::string accents = "\xC3\xA9";  // "é", two bytes
  struct Case {
    std::string name;
    const char* expectedError;  // "" when written
  };
  const Case cases[] = {
      {std::string(NAME_MAX, 'g'), ""},
      {std::string(NAME_MAX - 20, 'g'), ""},
      {[&] {
         std::string name;
         while (name.size() + accents.size() <= NAME_MAX) name += accents;
         return name;
       }(),
       ""},
      {std::string(NAME_MAX + 1, 'g'), "File name too long"},
  };
  for (const Case& c : cases) {
    TemporaryFolder folder;
    const std::string path = folder.file(c.name);
    const std::string error = writeText(path, ExistingFile::Replace, "x");
    EXPECT_EQ(error, *c.expectedError == 0 ? "" : "cannot write " + path + ": " + c.expectedError)
        << c.name.size();
    EXPECT_EQ(folder.names(), *c.expectedError == 0 ? std::vector<std::string>{c.name} : std::vector<std::string>{});

    for (const int attempt : {0, 99}) {
      const std::string temporary = temporaryFileName(c.name, 4194304, attempt);
      EXPECT_LE(temporary.size(), static_cast<size_t>(NAME_MAX)) << c.name.size();
      EXPECT_TRUE(temporary.ends_with(".4194304-" + std::to_string(attempt) + ".tmp"));
      EXPECT_TRUE(c.name.starts_with(temporary.substr(1, temporary.rfind(".4194304") - 1)));
      for (size_t at = 0; at < temporary.size(); at += std::max<size_t>(1, decodeUtf8Character(temporary, at).bytes))
        ASSERT_NE(decodeUtf8Character(temporary, at).bytes, 0u) << "cut in a character at " << at;
      EXPECT_TRUE(isTemporaryFileNameOf(temporary, c.name)) << c.name.size();
    }
  }
  EXPECT_EQ(temporaryFileName("grille.pdf", 12, 3), ".grille.pdf.12-3.tmp");
  const std::pair<const char*, bool> candidates[] = {
      {".grille.pdf.12-3.tmp", true},  {".grille.png.12-3.tmp", false}, {".grille.pdf.x-3.tmp", false},
      {".grille.pdf.12-.tmp", false},  {".grille.pdf.12-3", false},      {"grille.pdf", false},
      {".grille.pdf.1.2-3.tmp", false}, {".tmp", false},
  };
  for (const auto& [candidate, expected] : candidates)
    EXPECT_EQ(isTemporaryFileNameOf(candidate, "grille.pdf"), expected) << candidate;
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
