// Numbering and writing the exported grids.
#include "print/grid_export.h"

#include <sys/stat.h>

#include <cstdio>

namespace arrowgrid {

namespace {

constexpr PrintFormat EXPORT_FORMATS[] = {PrintFormat::Pdf, PrintFormat::Svg, PrintFormat::Png};

bool exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

std::string inFolder(const std::string& directory, const std::string& name) {
  return directory.back() == '/' ? directory + name : directory + "/" + name;
}

}  // namespace

std::string exportFileName(GridContent content, int32_t number, PrintFormat format) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%03d", number);
  return std::string(content == GridContent::Puzzle ? "grille-vide-" : "grille-complete-") + digits + "." +
         printFormatExtension(format);
}

std::vector<std::string> exportGrid(GridExport& exporting, const Grid& grid, GridContent content) {
  int32_t& last = content == GridContent::Puzzle ? exporting.lastPuzzleNumber : exporting.lastSolutionNumber;
  int32_t number = last + 1;
  for (bool taken = true; taken;) {
    taken = false;
    for (const PrintFormat format : EXPORT_FORMATS)
      taken = taken || exists(inFolder(exporting.directory, exportFileName(content, number, format)));
    if (taken) ++number;
  }
  last = number;

  std::vector<std::string> problems;
  for (const PrintFormat format : EXPORT_FORMATS) {
    const std::string path = inFolder(exporting.directory, exportFileName(content, number, format));
    std::string problem = printGridFile(grid, content, format, exporting.options, path, ExistingFile::Keep);
    if (!problem.empty()) problems.push_back(std::move(problem));
  }
  return problems;
}

}  // namespace arrowgrid
