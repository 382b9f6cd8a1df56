// Byte strings of code page 437 characters: the program's only text type.
// Positions count from 1, as everywhere in the program.
#pragma once

#include <cstdint>
#include <string>

namespace arrowgrid {

using ByteString = std::string;

inline int32_t textLength(const ByteString& text) { return static_cast<int32_t>(text.size()); }

// The byte at position as 0..255; 0 when the position is outside the text.
inline int32_t codeAt(const ByteString& text, int32_t position) {
  if (position < 1 || position > textLength(text)) return 0;
  return static_cast<unsigned char>(text[static_cast<size_t>(position - 1)]);
}

inline ByteString characterOf(int32_t code) {
  return ByteString(1, static_cast<char>(static_cast<unsigned char>(code)));
}

// Replaces the byte at position (1 to the length) by the first byte of character.
inline void overwriteAt(ByteString& text, int32_t position, const ByteString& character) {
  if (position < 1 || position > textLength(text) || character.empty()) return;
  text[static_cast<size_t>(position - 1)] = character[0];
}

}  // namespace arrowgrid
