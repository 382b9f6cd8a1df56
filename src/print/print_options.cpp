// What a printed grid's title may hold.
#include "print/print_options.h"

#include <cstdio>

namespace arrowgrid {

namespace {

// The length of the UTF-8 sequence at text[at], or 0 when it is not a
// valid one (overlong forms, surrogates and code points past U+10FFFF
// included).
size_t sequenceLength(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

std::string titleProblem(std::string_view title) {
  size_t characters = 0;
  for (size_t at = 0; at < title.size(); ++characters) {
    const size_t length = sequenceLength(title, at);
    if (length == 0) {
      char why[64];
      std::snprintf(why, sizeof why, "byte 0x%02X at offset %zu is not valid UTF-8",
                    static_cast<unsigned>(static_cast<unsigned char>(title[at])), at);
      return why;
    }
    at += length;
  }
  if (characters > PRINT_TITLE_MAX_CHARACTERS) {
    return std::to_string(characters) + " characters; at most " + std::to_string(PRINT_TITLE_MAX_CHARACTERS) +
           " fit above a grid";
  }
  return {};
}

}  // namespace arrowgrid
