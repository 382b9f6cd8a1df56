// A fresh folder under /tmp for a test's files, removed with everything in
// it when the test ends.
#pragma once

#include <string>
#include <vector>

namespace arrowgrid::test_support {

struct TemporaryFolder {
  std::string path;
  bool mounted = false;  // a small disk of its own, unmounted at the end
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  std::string file(const std::string& name) const { return path + "/" + name; }
  // text with each "@" replaced by the folder's path, for tables of cases.
  std::string inside(std::string text) const;
  // The names in the folder, hidden ones included, sorted.
  std::vector<std::string> names() const;
};

// Mounts a tmpfs of a few kilobytes on the folder; false when the test may
// not (it then skips). fillDisk then takes its last free byte, so that any
// further write fails with "No space left on device".
bool mountSmallDisk(TemporaryFolder& folder);
void fillDisk(const TemporaryFolder& folder);

// The whole content of a file ("" when it cannot be read).
std::string fileContent(const std::string& path);

// Runs a shell command; its standard output, and its exit status in status.
std::string commandOutput(const std::string& command, int& status);

// folder/NAME.pdf's first page as folder/page.png at dpi, through pdftoppm;
// the command's exit status.
int rasterisePdf(const TemporaryFolder& folder, const std::string& name, int dpi);

}  // namespace arrowgrid::test_support
