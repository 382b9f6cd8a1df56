// What a printed grid's title may hold.
#include "print/print_options.h"

#include <cstdio>

#include "base/utf8_decoding.h"

namespace arrowgrid {

std::string titleProblem(std::string_view title) {
  size_t characters = 0;
  for (size_t at = 0; at < title.size(); ++characters) {
    const DecodedCharacter d = decodeUtf8Character(title, at);
    char why[96];
    if (d.bytes == 0) {
      std::snprintf(why, sizeof why, "byte 0x%02X at offset %zu is not valid UTF-8",
                    static_cast<unsigned>(static_cast<unsigned char>(title[at])), at);
      return why;
    }
    if (isNoncharacter(d.code)) {
      std::snprintf(why, sizeof why, "noncharacter U+%04X at offset %zu cannot be printed",
                    static_cast<unsigned>(d.code), at);
      return why;
    }
    at += d.bytes;
  }
  if (characters > PRINT_TITLE_MAX_CHARACTERS) {
    return std::to_string(characters) + " characters; at most " + std::to_string(PRINT_TITLE_MAX_CHARACTERS) +
           " fit above a grid";
  }
  return {};
}

}  // namespace arrowgrid
