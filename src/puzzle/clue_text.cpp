// Clue checks. ICU composes the text to NFC, so that "é" typed as e and a
// combining accent is the same character the fonts draw and ipuz readers
// compare.
#include "puzzle/clue_text.h"

#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <cstdio>
#include <vector>

#include "base/utf8_decoding.h"

namespace arrowgrid {

namespace {

std::string codePointName(char32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  return text;
}

constexpr std::string_view NO_BREAK_SPACE = "\xC2\xA0";

// The length of the blank text starts with, 0 when there is none.
size_t leadingBlankBytes(std::string_view text) {
  if (text.empty()) return 0;
  if (text.starts_with(NO_BREAK_SPACE)) return NO_BREAK_SPACE.size();
  const char c = text.front();
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v' ? 1 : 0;
}

// Likewise at the end; a no-break space's second byte is never the end of
// another character.
size_t trailingBlankBytes(std::string_view text) {
  if (text.ends_with(NO_BREAK_SPACE)) return NO_BREAK_SPACE.size();
  return text.empty() ? 0 : leadingBlankBytes(text.substr(text.size() - 1));
}

// text composed to NFC; false when ICU refuses it (never for valid UTF-8).
bool composedNfc(std::string_view text, std::string& composed) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
  if (U_FAILURE(status)) return false;
  // UTF-16 for ICU: at most one unit per byte of UTF-8.
  std::vector<UChar> wide(text.size() + 1);
  int32_t wideLength = 0;
  u_strFromUTF8(wide.data(), static_cast<int32_t>(wide.size()), &wideLength, text.data(),
                static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) return false;
  // Composition never lengthens NFC input much: three times covers every case.
  std::vector<UChar> normal(static_cast<size_t>(wideLength) * 3 + 1);
  const int32_t normalLength = unorm2_normalize(nfc, wide.data(), wideLength, normal.data(),
                                                static_cast<int32_t>(normal.size()), &status);
  if (U_FAILURE(status)) return false;
  composed.assign(static_cast<size_t>(normalLength) * 3 + 1, '\0');
  int32_t composedLength = 0;
  u_strToUTF8(composed.data(), static_cast<int32_t>(composed.size()), &composedLength, normal.data(),
              normalLength, &status);
  if (U_FAILURE(status)) return false;
  composed.resize(static_cast<size_t>(composedLength));
  return true;
}

}  // namespace

std::string_view withoutBlanksAround(std::string_view text) {
  while (const size_t blank = leadingBlankBytes(text)) text.remove_prefix(blank);
  while (const size_t blank = trailingBlankBytes(text)) text.remove_suffix(blank);
  return text;
}

CheckedClue checkClueText(std::string_view typed) {
  CheckedClue clue;
  typed = withoutBlanksAround(typed);
  for (size_t at = 0; at < typed.size();) {
    const DecodedCharacter d = decodeUtf8Character(typed, at);
    if (d.bytes == 0) {
      char byte[8];
      std::snprintf(byte, sizeof byte, "\\x%02X", static_cast<unsigned char>(typed[at]));
      clue.why = std::string("byte ") + byte + " (not UTF-8)";
      return clue;
    }
    if (d.code < 0x20 || (d.code >= 0x7F && d.code < 0xA0)) {
      clue.why = "control character " + codePointName(d.code);
      return clue;
    }
    if (d.code == 0x2028 || d.code == 0x2029) {
      clue.why = "line separator " + codePointName(d.code);
      return clue;
    }
    if (isNoncharacter(d.code)) {
      clue.why = "noncharacter " + codePointName(d.code);
      return clue;
    }
    at += d.bytes;
  }
  if (!composedNfc(typed, clue.text)) {
    clue.why = "cannot be composed to NFC";
    return clue;
  }
  int64_t characters = 0;
  for (const char byte : clue.text) characters += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
  if (characters > CLUE_MAX_CHARACTERS) {
    clue.why = std::to_string(characters) + " characters; at most " + std::to_string(CLUE_MAX_CHARACTERS) +
               " are allowed";
    clue.text.clear();
    return clue;
  }
  clue.ok = true;
  return clue;
}

}  // namespace arrowgrid
