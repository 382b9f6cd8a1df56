// Decoding UTF-8 one character at a time, strictly: what is not valid
// UTF-8 is told apart so that the caller can name the byte.
#pragma once

#include <cstddef>
#include <string_view>

namespace arrowgrid {

struct DecodedCharacter {
  char32_t code = 0;
  size_t bytes = 0;  // 0: not valid UTF-8 at this byte
};

// The character at text[at] (at < text.size()); 0 bytes for a sequence that
// is not valid UTF-8, overlong forms and surrogates included.
DecodedCharacter decodeCharacter(std::string_view text, size_t at);

}  // namespace arrowgrid
