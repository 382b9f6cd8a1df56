// UTF-8 decoding: what is one character, and what is refused.
#include "base/utf8_decoding.h"

#include <gtest/gtest.h>

#include <string_view>

namespace arrowgrid {
namespace {

TEST(Utf8Decoding, EachSequenceIsOneCharacterOrRefused) {
  struct Case {
    std::string_view bytes;
    char32_t code;  // when bytes decoded
    size_t bytesDecoded;
  };
  const Case cases[] = {
      {"A", U'A', 1},
      {"\xC3\xA9", U'é', 2},
      {"\xE2\x82\xAC", U'€', 3},
      {"\xF0\x9F\x98\x80", U'\U0001F600', 4},
      {"\xF4\x8F\xBF\xBF", U'\U0010FFFF', 4},  // the last character there is
      {"\xC3\xA9x", U'é', 2},                  // what follows is not read
      {"\x80", 0, 0},                          // a continuation byte alone
      {"\xC3", 0, 0},                          // cut by the end of the text
      {"\xE2\x28\xA1", 0, 0},                  // second byte not a continuation
      {"\xC0\xAF", 0, 0},                      // over-long '/'
      {"\xE0\x81\x81", 0, 0},                  // over-long 'A'
      {"\xF0\x80\x81\x81", 0, 0},              // over-long 'A'
      {"\xED\xA0\x80", 0, 0},                  // surrogate
      {"\xF4\x90\x80\x80", 0, 0},              // past U+10FFFF
      {"\xF5\x80\x80\x80", 0, 0},
      {"\xFF", 0, 0},
  };
  for (const Case& c : cases) {
    const DecodedCharacter decoded = decodeUtf8Character(c.bytes, 0);
    EXPECT_EQ(decoded.bytes, c.bytesDecoded) << ::testing::PrintToString(c.bytes);
    if (c.bytesDecoded != 0) {
      EXPECT_EQ(decoded.code, c.code) << ::testing::PrintToString(c.bytes);
    }
  }
  // Decoding starts at the position asked, not at the text's start.
  EXPECT_EQ(decodeUtf8Character("ab\xC3\xA9", 2).code, U'é');
}

TEST(Utf8Decoding, SequenceLengthFromTheFirstByte) {
  const struct {
    unsigned char lead;
    size_t length;
  } cases[] = {{0x00, 1}, {0x7F, 1}, {0x80, 0}, {0xBF, 0}, {0xC0, 0}, {0xC1, 0}, {0xC2, 2},
               {0xDF, 2}, {0xE0, 3}, {0xEF, 3}, {0xF0, 4}, {0xF4, 4}, {0xF5, 0}, {0xFF, 0}};
  for (const auto& c : cases) EXPECT_EQ(utf8SequenceLength(c.lead), c.length) << int(c.lead);
}

}  // namespace
}  // namespace arrowgrid
