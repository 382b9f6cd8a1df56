// Numbering and writing the exported grids.
#include "print/grid_export.h"

#include <fcntl.h>
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

ExportNumber reserveExportNumber(const std::string& directory, GridContent content, int32_t from,
                                 const std::vector<std::string_view>& extensions) {
  ExportNumber reserved;
  for (int32_t number = from; number <= LAST_EXPORT_NUMBER; ++number) {
    // Created or found there in one step: of two runs, one alone gets it.
    std::string hidden = exportFileName(content, number, "reserved");
    hidden.insert(hidden.begin(), '.');
    const std::string mark = inFolder(directory, hidden);
    const int descriptor = open(mark.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0) {
      if (errno == EEXIST) continue;
      reserved.error = errno;
      return reserved;
    }
    close(descriptor);
    bool taken = false;
    for (const std::string_view extension : extensions)
      taken = taken || exists(inFolder(directory, exportFileName(content, number, extension)));
    if (taken) {
      unlink(mark.c_str());
      continue;
    }
    reserved.number = number;
    reserved.reservation = mark;
    reserved.unfinishedSlot = holdUnfinishedFile(mark);
    return reserved;
  }
  reserved.error = EEXIST;
  return reserved;
}

void releaseExportNumber(ExportNumber& reserved) {
  if (reserved.reservation.empty()) return;
  unlink(reserved.reservation.c_str());
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
