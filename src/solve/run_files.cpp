// Outputs compared with the word list and with each other as files, not as
// strings: the same file has many spellings.
#include "solve/run_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <tuple>

namespace arrowgrid {

namespace {

struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  std::string name;  // empty: the file itself; else its name in the folder of that device and inode
  bool operator==(const FileIdentity&) const = default;
};

// Nothing for what cannot be the same file as another in a harmful way:
// a pipe or a device (written to, not replaced), a folder, a path whose
// folder is not there (refused later, with its own reason).
std::optional<FileIdentity> identityOf(const RunFile& file, bool read) {
  struct stat info {};
  if (file.path == "-") {
    if (!read || fstat(STDIN_FILENO, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino, {}};
  }
  if (stat(file.path.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino, {}};
  }
  const size_t slash = file.path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : file.path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? file.path : file.path.substr(slash + 1);
  if (name.empty() || stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
  return FileIdentity{info.st_dev, info.st_ino, name};
}

std::string shown(const RunFile& file) {
  return file.option + " " + (file.path == "-" ? "- (standard input)" : file.path);
}

}  // namespace

std::string printFilePath(const std::string& prefix, PrintFormat format, GridContent content) {
  return prefix + (content == GridContent::Puzzle ? "-grille." : "-solution.") + printFormatExtension(format);
}

std::string candidatePrefix(const std::string& prefix, int32_t number) {
  return number <= 1 ? prefix : prefix + "-" + std::to_string(number);
}

std::string candidateFile(const std::string& file, int32_t number) {
  if (number <= 1) return file;
  const size_t slash = file.rfind('/');
  const size_t dot = file.rfind('.');
  // A dot that starts the name (".ipuz") or lies in a folder is no extension.
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t at = dot == std::string::npos || dot <= nameStart ? file.size() : dot;
  return file.substr(0, at) + "-" + std::to_string(number) + file.substr(at);
}

std::vector<RunFile> runFiles(const SolveOptions& options) {
  std::vector<RunFile> files;
  if (options.wordsFromFile) files.push_back({"--words", options.wordsFile});
  if (options.json && options.jsonFile != "-") files.push_back({"--json", options.jsonFile});
  // Every grid's files, as many as --candidates may give; the page is the answer's.
  for (int32_t number = 1; number <= options.candidates; ++number) {
    if (!options.ipuzFile.empty()) files.push_back({"--ipuz", candidateFile(options.ipuzFile, number)});
    if (!options.htmlFile.empty() && number == 1) files.push_back({"--html", options.htmlFile});
    const std::tuple<const char*, const std::string*, PrintFormat> printed[] = {
        {"--pdf", &options.pdfPrefix, PrintFormat::Pdf},
        {"--svg", &options.svgPrefix, PrintFormat::Svg},
        {"--png", &options.pngPrefix, PrintFormat::Png}};
    for (const auto& [option, prefix, format] : printed) {
      if (prefix->empty()) continue;
      for (const GridContent content : {GridContent::Puzzle, GridContent::Solution})
        files.push_back({option, printFilePath(candidatePrefix(*prefix, number), format, content)});
    }
  }
  return files;
}

std::string sameFileProblem(const std::vector<RunFile>& files) {
  std::vector<std::optional<FileIdentity>> identities;
  for (const RunFile& file : files) identities.push_back(identityOf(file, file.option == "--words"));
  for (size_t later = 1; later < files.size(); ++later) {
    if (!identities[later]) continue;
    for (size_t earlier = 0; earlier < later; ++earlier)
      if (identities[earlier] == identities[later])
        return shown(files[later]) + ": the same file as " + shown(files[earlier]);
  }
  return {};
}

}  // namespace arrowgrid
