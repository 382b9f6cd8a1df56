// Decoding of UTF-8 text, one character at a time.
#include "base/utf8_decoding.h"

namespace arrowgrid {

size_t utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

DecodedCharacter decodeUtf8Character(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  const size_t length = utf8SequenceLength(lead);
  if (length == 0 || at + length > text.size()) return {};
  if (length == 1) return {lead, 1};
  constexpr char32_t LEAD_BITS[] = {0, 0, 0x1F, 0x0F, 0x07};
  constexpr char32_t SMALLEST[] = {0, 0, 0x80, 0x800, 0x10000};
  char32_t code = lead & LEAD_BITS[length];
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return {};
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  if (code < SMALLEST[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
  return {code, length};
}

}  // namespace arrowgrid
