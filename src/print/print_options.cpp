// What a printed grid's title may hold.
#include "print/print_options.h"

#include <cstdio>

#include "base/utf8_decoding.h"

namespace arrowgrid {

std::string titleProblem(std::string_view title) {
  size_t characters = 0;
  for (size_t at = 0; at < title.size(); ++characters) {
    const size_t length = decodeUtf8Character(title, at).bytes;
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
