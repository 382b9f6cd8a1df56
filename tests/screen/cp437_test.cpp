// Code page 437 tables and the UTF-8 edge of the program.
#include <gtest/gtest.h>

#include "screen/cp437.h"

namespace arrowgrid {
namespace {

TEST(Cp437, MessageLettersAndGridSymbols) {
  EXPECT_EQ(fromUtf8("é"), "\x82");
  EXPECT_EQ(fromUtf8("à"), "\x85");
  EXPECT_EQ(fromUtf8("ê"), "\x88");
  EXPECT_EQ(fromUtf8("è"), "\x8A");
  EXPECT_EQ(fromUtf8("↓→█"), "\x19\x1A\xDB");
  EXPECT_EQ(unicodeOfCp437(25), U'\u2193');
  EXPECT_EQ(unicodeOfCp437(26), U'\u2192');
  EXPECT_EQ(unicodeOfCp437(0), U' ');
  EXPECT_EQ(unicodeOfCp437(255), U'\u00A0');
}

TEST(Cp437, EveryCodeSurvivesTheRoundTrip) {
  for (int32_t code = 1; code < 256; ++code) {
    const ByteString one = characterOf(code);
    EXPECT_EQ(fromUtf8(toUtf8(one)), one) << code;
  }
  EXPECT_EQ(toUtf8(ByteString("Nb d'essais effectu\x82s :")), "Nb d'essais effectués :");
}

TEST(Cp437, ControlsStayControlsAndUnknownCharactersHaveNoCode) {
  EXPECT_EQ(cp437OfUnicode(U'\r'), 13);
  EXPECT_EQ(cp437OfUnicode(U'\x1b'), 27);
  EXPECT_EQ(cp437OfUnicode(U'\u20AC'), -1);  // euro sign
  EXPECT_EQ(cp437OfUnicode(U'\u0153'), -1);  // oe ligature
  EXPECT_EQ(cp437OfUnicode(0), -1);
  EXPECT_EQ(fromUtf8("a€b"), "ab");
}

TEST(Cp437, InvalidUtf8IsDroppedWithoutLosingWhatFollows) {
  EXPECT_EQ(fromUtf8("a\xC3"), "a");  // cut short
  EXPECT_EQ(fromUtf8("\xC3x"), "x");  // bad continuation
  EXPECT_EQ(fromUtf8("\xC0\xAF"
                     "b"),
            "b");  // over-long
  EXPECT_EQ(fromUtf8("\xED\xA0\x80"
                     "c"),
            "c");  // surrogate
  EXPECT_EQ(fromUtf8("\xFF\xFE"
                     "d"),
            "d");
  EXPECT_EQ(fromUtf8("\xF0\x9F\x98\x80"
                     "e"),
            "e");  // valid, but not in the code page
}

}  // namespace
}  // namespace arrowgrid
