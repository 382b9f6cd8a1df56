// Typed text to numbers and rounding to 32-bit integers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "screen/text_screen.h"

namespace arrowgrid {
namespace {

constexpr int32_t OUT_OF_RANGE = std::numeric_limits<int32_t>::min();

TEST(NumberValue, DecimalNumbersReadAsFarAsTheyGo) {
  EXPECT_EQ(numberValue("1"), 1);
  EXPECT_EQ(numberValue(""), 0);
  EXPECT_EQ(numberValue("   "), 0);
  EXPECT_EQ(numberValue("abc"), 0);
  EXPECT_EQ(numberValue("2.5"), 2.5);
  EXPECT_EQ(numberValue("2x"), 2);
  EXPECT_EQ(numberValue("  -3.5e1x"), -35);
  EXPECT_EQ(numberValue("+7"), 7);
  EXPECT_EQ(numberValue(".5"), 0.5);
  EXPECT_EQ(numberValue("5."), 5);
  EXPECT_EQ(numberValue("1e"), 1);
  EXPECT_EQ(numberValue("1e+2"), 100);
  EXPECT_EQ(numberValue("1E-2"), 0.01);
  EXPECT_EQ(numberValue("1.2.3"), 1.2);
  EXPECT_EQ(numberValue("-"), 0);
  EXPECT_EQ(numberValue("- 5"), 0);
  EXPECT_EQ(numberValue(" \t 42"), 42);
  EXPECT_EQ(numberValue("1,5"), 1);
}

TEST(NumberValue, PrefixedNumbersInAnyCase) {
  EXPECT_EQ(numberValue("&H1A"), 26);
  EXPECT_EQ(numberValue("&hff"), 255);
  EXPECT_EQ(numberValue("&b101"), 5);
  EXPECT_EQ(numberValue("&O17"), 15);
  EXPECT_EQ(numberValue("  &o7"), 7);
  EXPECT_EQ(numberValue("&H"), 0);
  EXPECT_EQ(numberValue("&B102"), 2);
  EXPECT_EQ(numberValue("&HFFFFFFFF"), 4294967295.0);
  EXPECT_EQ(numberValue("&"), 0);
  EXPECT_EQ(numberValue("&X1"), 0);
}

TEST(NumberValue, ValuesBeyondTheRealRange) {
  EXPECT_TRUE(std::isinf(numberValue("1e400")));
  EXPECT_TRUE(std::isinf(numberValue("-1e400")));
  EXPECT_EQ(numberValue("1e-400"), 0);
  EXPECT_EQ(numberValue("1e99999999999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(roundToInteger(numberValue("1e400")), OUT_OF_RANGE);
}

TEST(RoundToInteger, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(roundToInteger(0.5), 0);
  EXPECT_EQ(roundToInteger(1.5), 2);
  EXPECT_EQ(roundToInteger(2.5), 2);
  EXPECT_EQ(roundToInteger(-2.5), -2);
  EXPECT_EQ(roundToInteger(-1.5), -2);
  EXPECT_EQ(roundToInteger(-0.5), 0);
  EXPECT_EQ(roundToInteger(2.6), 3);
  EXPECT_EQ(roundToInteger(-2.4), -2);
  EXPECT_EQ(roundToInteger(numberValue("2.5")), 2);
}

TEST(RoundToInteger, OutsideThe32BitRangeGivesTheSmallestInteger) {
  EXPECT_EQ(roundToInteger(1e10), OUT_OF_RANGE);
  EXPECT_EQ(roundToInteger(-1e10), OUT_OF_RANGE);
  EXPECT_EQ(roundToInteger(2147483647.0), 2147483647);
  EXPECT_EQ(roundToInteger(2147483647.4), 2147483647);
  EXPECT_EQ(roundToInteger(2147483647.5), OUT_OF_RANGE);  // rounds to 2^31
  EXPECT_EQ(roundToInteger(-2147483648.5), -2147483648);  // rounds to the even -2^31
  EXPECT_EQ(roundToInteger(-2147483649.0), OUT_OF_RANGE);
  EXPECT_EQ(roundToInteger(std::numeric_limits<double>::quiet_NaN()), OUT_OF_RANGE);
  EXPECT_EQ(roundToInteger(std::numeric_limits<double>::infinity()), OUT_OF_RANGE);
}

}  // namespace
}  // namespace arrowgrid
