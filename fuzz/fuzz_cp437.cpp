// UTF-8 to code page 437: any bytes convert without fault, never into more
// characters than bytes, never into code 0, and what comes out survives the
// way back to UTF-8 and in again unchanged.
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "screen/cp437.h"

using namespace arrowgrid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view utf8(reinterpret_cast<const char*>(data), size);
  const ByteString text = fromUtf8(utf8);
  FUZZ_CHECK(text.size() <= utf8.size());
  FUZZ_CHECK(text.find('\0') == ByteString::npos);
  FUZZ_CHECK(fromUtf8(toUtf8(text)) == text);
  return 0;
}
