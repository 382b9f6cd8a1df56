// Decoding of UTF-8 text, one character at a time, for every place where
// outside text comes in: word files, the terminal's bytes, the window's text.
// Only well-formed UTF-8 is accepted: over-long forms, surrogates and values
// past U+10FFFF are refused, so that one character has a single spelling.
#pragma once

#include <cstddef>
#include <string_view>

namespace arrowgrid {

struct DecodedCharacter {
  char32_t code = 0;
  size_t bytes = 0;  // 1..4; 0: the sequence at the position is not valid UTF-8
};

// How many bytes a character with this first byte takes (1..4); 0 for a byte
// that never starts one (a continuation byte, 0xC0, 0xC1, 0xF5..0xFF).
size_t utf8SequenceLength(unsigned char lead);

// The character at text[at] (at < text.size()). A sequence cut by the end
// of the text is not valid: a caller that reads a stream waits for
// utf8SequenceLength bytes before asking.
DecodedCharacter decodeUtf8Character(std::string_view text, size_t at);

// Whether c is one of the 66 noncharacters (U+FDD0..U+FDEF and the last two
// of every plane, U+FFFE, U+FFFF, U+1FFFE...): valid UTF-8 that some
// libraries (Pango among them) refuse, so text that is printed keeps none.
constexpr bool isNoncharacter(char32_t c) { return (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE; }

}  // namespace arrowgrid
