// Escaping of outside text for messages.
#include "base/message_text.h"

#include <cstdio>

#include "base/utf8_decoding.h"

namespace arrowgrid {

bool isEscapedInMessages(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x061C || c == 0x200E || c == 0x200F ||
         (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::string messageText(std::string_view text, bool keepLineEnds) {
  std::string shown;
  shown.reserve(text.size());
  char escape[16];
  for (size_t at = 0; at < text.size();) {
    const DecodedCharacter d = decodeUtf8Character(text, at);
    if (d.bytes == 0 || d.code < 0x80) {
      const auto byte = static_cast<unsigned char>(text[at]);
      if (d.bytes == 0 || (isEscapedInMessages(byte) && !(keepLineEnds && byte == '\n'))) {
        std::snprintf(escape, sizeof escape, "\\x%02X", byte);
        shown += escape;
      } else {
        shown += static_cast<char>(byte);
      }
      ++at;
      continue;
    }
    if (isEscapedInMessages(d.code)) {
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(d.code));
      shown += escape;
    } else {
      shown.append(text.substr(at, d.bytes));
    }
    at += d.bytes;
  }
  return shown;
}

}  // namespace arrowgrid
