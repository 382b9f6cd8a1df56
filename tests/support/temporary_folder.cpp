// Test folders and small file and command helpers.
#include "support/temporary_folder.h"

#include <sys/mount.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace arrowgrid::test_support {

TemporaryFolder::TemporaryFolder() {
  char pattern[] = "/tmp/arrowgrid-test-XXXXXX";
  if (mkdtemp(pattern) != nullptr) path = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  if (mounted) umount2(path.c_str(), MNT_DETACH);
  if (!path.empty()) std::filesystem::remove_all(path, ignored);
}

std::string TemporaryFolder::inside(std::string text) const {
  for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + path.size()))
    text.replace(at, 1, path);
  return text;
}

std::vector<std::string> TemporaryFolder::names() const {
  std::vector<std::string> result;
  for (const auto& entry : std::filesystem::directory_iterator(path))
    result.push_back(entry.path().filename());
  std::sort(result.begin(), result.end());
  return result;
}

bool mountSmallDisk(TemporaryFolder& folder) {
  folder.mounted = mount("tmpfs", folder.path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0;
  return folder.mounted;
}

void fillDisk(const TemporaryFolder& folder) {
  std::FILE* filler = std::fopen(folder.file("filler").c_str(), "wb");
  if (filler == nullptr) return;
  std::setvbuf(filler, nullptr, _IONBF, 0);
  const char byte = 0;
  while (std::fwrite(&byte, 1, 1, filler) == 1) {
  }
  std::fclose(filler);
}

std::string fileContent(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

int rasterisePdf(const TemporaryFolder& folder, const std::string& name, int dpi) {
  int status = 0;
  commandOutput("pdftoppm -r " + std::to_string(dpi) + " -png -singlefile '" + folder.file(name + ".pdf") +
                    "' '" + folder.file("page") + "'",
                status);
  return status;
}

std::string commandOutput(const std::string& command, int& status) {
  std::string output;
  status = -1;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  const int raw = pclose(pipe);
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return output;
}

}  // namespace arrowgrid::test_support
