// Numbering and writing the exported grids.
#include "print/grid_export.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "base/safe_file_write.h"
#include "page/puzzle_page.h"
#include "print/text_setting.h"
#include "puzzle/ipuz_writer.h"

namespace arrowgrid {

namespace {

constexpr PrintFormat EXPORT_FORMATS[] = {PrintFormat::Pdf, PrintFormat::Svg, PrintFormat::Png};
constexpr std::string_view IPUZ_EXTENSION = "ipuz";
constexpr std::string_view HTML_EXTENSION = "html";  // the page that plays the puzzle

// Far more than a folder holds: a bound on the walk, not a limit met in use.
constexpr int32_t LAST_EXPORT_NUMBER = 999999;

bool exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

std::string inFolder(const std::string& directory, const std::string& name) {
  return directory.back() == '/' ? directory + name : directory + "/" + name;
}

enum class ReservationOutcome {
  Created,    // a new reservation, ours
  TakenOver,  // one left by a run that is gone, ours now
  Held,       // another run holds it, or it is not a reservation: passed over
  Retry,      // let go between two steps: look again
  Failed,     // the folder refuses (error)
};

struct ReservationLock {
  ReservationOutcome outcome = ReservationOutcome::Held;
  int descriptor = -1;  // open and locked when Created or TakenOver
  int error = 0;
};

// Created, or opened when there, then locked without waiting. The lock is
// the reservation; the file's presence alone says nothing, since a run
// killed outright leaves it behind. The slot (claimed for mark) is marked
// made as soon as the file is ours, so that a signal from then on removes it.
ReservationLock lockReservation(const std::string& mark, int slot) {
  ReservationLock lock;
  lock.descriptor = open(mark.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  const bool created = lock.descriptor >= 0;
  if (created) markUnfinishedFileMade(slot);
  if (!created) {
    if (errno != EEXIST) return {ReservationOutcome::Failed, -1, errno};
    // A pipe planted under the name must not hold the open up.
    lock.descriptor = open(mark.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (lock.descriptor < 0)
      return {errno == ENOENT ? ReservationOutcome::Retry : ReservationOutcome::Held, -1, 0};
  }
  struct stat opened {};
  struct stat named {};
  // A file system without locks (ENOLCK) leaves the file alone to hold a
  // number it has just made, as it did before locks.
  if (flock(lock.descriptor, LOCK_EX | LOCK_NB) != 0 && (errno == EWOULDBLOCK || !created)) {
    close(lock.descriptor);
    return {ReservationOutcome::Held, -1, 0};
  }
  // Locked, but perhaps a file its holder removed just before letting it go.
  if (fstat(lock.descriptor, &opened) != 0 || lstat(mark.c_str(), &named) != 0 ||
      opened.st_dev != named.st_dev || opened.st_ino != named.st_ino) {
    close(lock.descriptor);
    return {ReservationOutcome::Retry, -1, 0};
  }
  if (!S_ISREG(opened.st_mode)) {
    close(lock.descriptor);
    return {ReservationOutcome::Held, -1, 0};
  }
  lock.outcome = created ? ReservationOutcome::Created : ReservationOutcome::TakenOver;
  markUnfinishedFileMade(slot);
  return lock;
}

}  // namespace

std::string exportFileName(GridContent content, int32_t number, std::string_view extension) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%03d", number);
  const char* kind = extension == IPUZ_EXTENSION || extension == HTML_EXTENSION ? "grille-"
                     : content == GridContent::Puzzle ? "grille-vide-"
                                                      : "grille-complete-";
  return std::string(kind) + digits + "." + std::string(extension);
}

std::string exportFileName(GridContent content, int32_t number, PrintFormat format) {
  return exportFileName(content, number, printFormatExtension(format));
}

namespace {

// The hidden temporary files that a run gone without a word left for the
// number's files: only called with the number's reservation locked, so no
// live run is writing them.
void removeLeftoverTemporaries(const std::string& directory, GridContent content, int32_t number,
                               const std::vector<std::string_view>& extensions) {
  DIR* folder = opendir(directory.c_str());
  if (folder == nullptr) return;
  std::vector<std::string> leftovers;
  while (const dirent* entry = readdir(folder)) {
    for (const std::string_view extension : extensions)
      if (isTemporaryFileNameOf(entry->d_name, exportFileName(content, number, extension)))
        leftovers.push_back(entry->d_name);
  }
  closedir(folder);
  for (const std::string& name : leftovers) unlink(inFolder(directory, name).c_str());
}

}  // namespace

ExportNumber reserveExportNumber(const std::string& directory, GridContent content, int32_t from,
                                 const std::vector<std::string_view>& extensions) {
  ExportNumber reserved;
  int32_t retries = 0;
  for (int32_t number = from; number <= LAST_EXPORT_NUMBER; ++number) {
    std::string hidden = exportFileName(content, number, "reserved");
    hidden.insert(hidden.begin(), '.');
    const std::string mark = inFolder(directory, hidden);
    const int slot = claimUnfinishedFile(mark);
    const ReservationLock lock = lockReservation(mark, slot);
    if (lock.outcome != ReservationOutcome::Created && lock.outcome != ReservationOutcome::TakenOver)
      releaseUnfinishedFile(slot);  // never removes the file: another's, or none
    if (lock.outcome == ReservationOutcome::Failed) {
      reserved.error = lock.error;
      return reserved;
    }
    if (lock.outcome == ReservationOutcome::Retry && retries++ < 3) {
      --number;
      continue;
    }
    retries = 0;
    if (lock.outcome != ReservationOutcome::Created && lock.outcome != ReservationOutcome::TakenOver)
      continue;
    if (lock.outcome == ReservationOutcome::TakenOver)
      removeLeftoverTemporaries(directory, content, number, extensions);
    bool taken = false;
    for (const std::string_view extension : extensions)
      taken = taken || exists(inFolder(directory, exportFileName(content, number, extension)));
    if (taken) {
      unlink(mark.c_str());
      close(lock.descriptor);
      releaseUnfinishedFile(slot);
      continue;
    }
    reserved.number = number;
    reserved.reservation = mark;
    reserved.lockDescriptor = lock.descriptor;
    reserved.unfinishedSlot = slot;
    return reserved;
  }
  reserved.error = EEXIST;
  return reserved;
}

void releaseExportNumber(ExportNumber& reserved) {
  if (reserved.reservation.empty()) return;
  // Removed while still locked: a run that finds the name after this finds
  // a new file, never this one unlocked.
  unlink(reserved.reservation.c_str());
  close(reserved.lockDescriptor);
  releaseUnfinishedFile(reserved.unfinishedSlot);
  reserved = ExportNumber{};
}

std::vector<std::string> exportGrid(GridExport& exporting, const Grid& grid, GridContent content) {
  int32_t& last = content == GridContent::Puzzle ? exporting.lastPuzzleNumber : exporting.lastSolutionNumber;
  std::vector<std::string_view> extensions;
  for (const PrintFormat format : EXPORT_FORMATS) extensions.push_back(printFormatExtension(format));
  if (content == GridContent::Solution) {
    extensions.push_back(IPUZ_EXTENSION);
    extensions.push_back(HTML_EXTENSION);
  }
  ExportNumber reserved = reserveExportNumber(exporting.directory, content, last + 1, extensions);

  const GridPuzzle puzzle = puzzleOfGrid(grid, exporting.clues);
  const PuzzleWords words{puzzle.clues, puzzle.placements};
  std::vector<std::string> problems;
  const int32_t number = reserved.error != 0 ? last + 1 : reserved.number;
  for (const std::string_view extension : extensions) {
    const std::string path = inFolder(exporting.directory, exportFileName(content, number, extension));
    std::string problem;
    if (reserved.error != 0) {
      problem = fileWriteError(path, reserved.error);
    } else if (extension == IPUZ_EXTENSION || extension == HTML_EXTENSION) {
      const IpuzPuzzle ipuz{grid,
                            puzzle.placements,
                            puzzle.words,
                            puzzle.clues,
                            exporting.options.title,
                            exporting.options.author,
                            exporting.options.copyright};
      if (extension == IPUZ_EXTENSION) {
        problem = writeIpuzFile(ipuz, path, ExistingFile::Keep);
      } else {
        const std::vector<std::string> broken =
            withHyphenationPoints(exporting.options.files.hyphenation, puzzle.clues);
        problem = writePuzzlePage(PuzzlePage{ipuz, broken}, path, ExistingFile::Keep);
      }
    } else {
      const PrintFormat format = extension == "pdf"   ? PrintFormat::Pdf
                                 : extension == "svg" ? PrintFormat::Svg
                                                      : PrintFormat::Png;
      problem = printGridFile(grid, content, format, exporting.options, path, ExistingFile::Keep, words);
    }
    if (!problem.empty()) problems.push_back(std::move(problem));
  }
  if (reserved.error == 0) last = reserved.number;
  releaseExportNumber(reserved);
  return problems;
}

}  // namespace arrowgrid
