// Typed text to numbers: any bytes give a value; rounding lands within a
// half of it; text made only of decimal-number characters reads as strtod
// reads it.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_check.h"
#include "screen/text_screen.h"

using namespace arrowgrid;

namespace {

bool onlyDecimalCharacters(const std::string& text) {
  return text.find_first_not_of("0123456789+-.eE \t") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ByteString text(reinterpret_cast<const char*>(data), size);
  const double value = numberValue(text);
  const int32_t rounded = roundToInteger(value);
  if (rounded != INT32_MIN) FUZZ_CHECK(std::fabs(value - rounded) <= 0.5);
  if (std::fabs(value) < 2147483647.0) FUZZ_CHECK(rounded != INT32_MIN);

  if (onlyDecimalCharacters(text)) {
    const double expected = std::strtod(text.c_str(), nullptr);
    // Values below the normal range may be flushed to 0 by one and not the other.
    const bool bothTiny = std::fabs(value) < DBL_MIN && std::fabs(expected) < DBL_MIN;
    FUZZ_CHECK(value == expected || bothTiny);
  }
  return 0;
}
