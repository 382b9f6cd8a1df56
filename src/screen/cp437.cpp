// Code page 437 <-> Unicode and UTF-8 conversion at the platform edge.
#include "screen/cp437.h"

#include <algorithm>
#include <array>

namespace arrowgrid {

namespace {

// What each code shows; 1..31 and 127 are the IBM graphic symbols.
constexpr std::array<char32_t, 256> UNICODE_OF_CODE = {
    0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022,  // 0-7
    0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C,  // 8-15
    0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,  // 16-23
    0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,  // 24-31
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027,  // 32-39
    0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,  // 40-47
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,  // 48-55
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,  // 56-63
    0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,  // 64-71
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F,  // 72-79
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057,  // 80-87
    0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,  // 88-95
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067,  // 96-103
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F,  // 104-111
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,  // 112-119
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x2302,  // 120-127
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 128-135
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 136-143
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 144-151
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,  // 152-159
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // 160-167
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // 168-175
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // 176-183
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // 184-191
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // 192-199
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // 200-207
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // 208-215
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // 216-223
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // 224-231
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,  // 232-239
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // 240-247
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,  // 248-255
};

// (Unicode, code) pairs sorted by Unicode, for the reverse look-up of the
// symbols and letters outside ASCII.
struct ReverseEntry {
  char32_t character;
  uint8_t code;
};

constexpr std::array<ReverseEntry, 160> makeReverseTable() {
  std::array<ReverseEntry, 160> entries{};
  size_t count = 0;
  for (int32_t code = 1; code < 256; ++code) {
    if (code >= 32 && code < 127) continue;
    entries[count++] = {UNICODE_OF_CODE[static_cast<size_t>(code)], static_cast<uint8_t>(code)};
  }
  std::sort(entries.begin(), entries.end(),
            [](const ReverseEntry& a, const ReverseEntry& b) { return a.character < b.character; });
  return entries;
}

constexpr std::array<ReverseEntry, 160> REVERSE = makeReverseTable();

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Decodes one character at utf8[i]; advances i past it. Returns -1 for an
// invalid sequence (over-long forms, surrogates and values past U+10FFFF
// included), after skipping its lead byte only so decoding resynchronises.
int64_t decodeUtf8(std::string_view utf8, size_t& i) {
  const auto lead = static_cast<unsigned char>(utf8[i++]);
  if (lead < 0x80) return lead;
  int32_t length = 0;
  char32_t value = 0;
  char32_t smallest = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 1;
    value = lead & 0x1F;
    smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 2;
    value = lead & 0x0F;
    smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 3;
    value = lead & 0x07;
    smallest = 0x10000;
  } else {
    return -1;
  }
  size_t j = i;
  for (int32_t k = 0; k < length; ++k, ++j) {
    if (j >= utf8.size()) return -1;
    const auto next = static_cast<unsigned char>(utf8[j]);
    if ((next & 0xC0) != 0x80) return -1;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return -1;
  i = j;
  return value;
}

}  // namespace

char32_t unicodeOfCp437(uint8_t code) { return UNICODE_OF_CODE[code]; }

int32_t cp437OfUnicode(char32_t character) {
  if (character >= 1 && character < 0x80) return static_cast<int32_t>(character);
  const auto found =
      std::lower_bound(REVERSE.begin(), REVERSE.end(), character,
                       [](const ReverseEntry& entry, char32_t c) { return entry.character < c; });
  if (found == REVERSE.end() || found->character != character) return -1;
  return found->code;
}

ByteString fromUtf8(std::string_view utf8) {
  ByteString text;
  text.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const int64_t character = decodeUtf8(utf8, i);
    if (character < 0) continue;
    const int32_t code = cp437OfUnicode(static_cast<char32_t>(character));
    if (code >= 0) text.push_back(static_cast<char>(code));
  }
  return text;
}

std::string toUtf8(const ByteString& text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (char byte : text) appendUtf8(utf8, unicodeOfCp437(static_cast<uint8_t>(byte)));
  return utf8;
}

}  // namespace arrowgrid
