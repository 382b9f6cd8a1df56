// The script form's line reader: any bytes split into the lines that a
// plain split at line feeds gives, each cut to the limit, a last line
// without a line feed kept when it is not empty.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "platform/script_form.h"

using namespace arrowgrid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t limit = data[0] == 255 ? SCRIPT_LINE_MAX : data[0] % 64 + 1;
  std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  std::vector<std::string> expected;
  size_t start = 0;
  for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
    expected.push_back(bytes.substr(start, std::min(end - start, limit)));
  if (start < bytes.size()) expected.push_back(bytes.substr(start, std::min(bytes.size() - start, limit)));

  std::FILE* input = fmemopen(bytes.data(), bytes.size(), "r");
  FUZZ_CHECK(input != nullptr);
  std::vector<std::string> lines;
  std::string line;
  while (readScriptLine(input, line, limit)) lines.push_back(line);
  std::fclose(input);
  FUZZ_CHECK(lines == expected);
  return 0;
}
