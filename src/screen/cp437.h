// Code page 437 <-> Unicode, for everything that crosses the platform edge:
// keys typed as UTF-8, snapshots and terminal output, and message texts
// written in this source as UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/byte_string.h"

namespace arrowgrid {

// The Unicode character that code page 437 shows for code (0..255).
// Codes 1..31 and 127 give their IBM graphic symbols (25 is U+2193, 26 U+2192);
// 0 gives a blank.
char32_t unicodeOfCp437(uint8_t code);

// The code page 437 code of a typed character, or -1 when it has none.
// U+0001..U+007F map to themselves (controls stay controls, as keys).
int32_t cp437OfUnicode(char32_t character);

// Converts UTF-8 to code page 437; characters without a code and invalid
// sequences are dropped.
ByteString fromUtf8(std::string_view utf8);

// Converts code page 437 bytes to UTF-8 with unicodeOfCp437.
std::string toUtf8(const ByteString& text);

}  // namespace arrowgrid
