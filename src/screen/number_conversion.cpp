// Typed text to numbers: the value at the start of a text and rounding to a
// 32-bit integer.
#include <charconv>
#include <cmath>
#include <limits>

#include "screen/text_screen.h"

namespace arrowgrid {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Value of the digits after &H, &O or &B, as far as they are digits of that base.
double radixValue(std::string_view digits, int32_t base) {
  double value = 0;
  for (const char c : digits) {
    int32_t digit = base;
    if (isDigit(c))
      digit = c - '0';
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    if (digit >= base) break;
    value = value * base + digit;
  }
  return value;
}

// The longest decimal number at the start of rest; 0 when there is none.
double decimalValue(std::string_view rest) {
  size_t i = 0;
  while (i < rest.size() && isWhiteSpace(rest[i])) ++i;
  bool negative = false;
  if (i < rest.size() && (rest[i] == '+' || rest[i] == '-')) negative = rest[i++] == '-';
  const size_t numberStart = i;
  size_t digitCount = 0;
  // Decimal exponent of the first significant digit, to tell overflow from
  // underflow when the value is out of range.
  int64_t leadingExponent = 0;
  bool seenSignificant = false;
  bool seenPoint = false;
  for (; i < rest.size(); ++i) {
    const char c = rest[i];
    if (c == '.' && !seenPoint) {
      seenPoint = true;
      continue;
    }
    if (!isDigit(c)) break;
    ++digitCount;
    if (!seenSignificant && c != '0') seenSignificant = true;
    if (seenSignificant && !seenPoint) ++leadingExponent;
    if (!seenSignificant && seenPoint) --leadingExponent;
  }
  if (digitCount == 0) return 0;
  size_t numberEnd = i;
  int64_t exponent = 0;
  if (i < rest.size() && (rest[i] == 'e' || rest[i] == 'E')) {
    size_t j = i + 1;
    bool negativeExponent = false;
    if (j < rest.size() && (rest[j] == '+' || rest[j] == '-')) negativeExponent = rest[j++] == '-';
    if (j < rest.size() && isDigit(rest[j])) {
      for (; j < rest.size() && isDigit(rest[j]); ++j) {
        if (exponent < 100000) exponent = exponent * 10 + (rest[j] - '0');
      }
      if (negativeExponent) exponent = -exponent;
      numberEnd = j;
    }
  }
  double value = 0;
  const auto result =
      std::from_chars(rest.data() + numberStart, rest.data() + numberEnd, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    value = leadingExponent + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

}  // namespace

double numberValue(const ByteString& text) {
  std::string_view rest = text;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  if (rest.size() >= 2 && rest[0] == '&') {
    switch (rest[1]) {
      case 'H':
      case 'h':
        return radixValue(rest.substr(2), 16);
      case 'O':
      case 'o':
        return radixValue(rest.substr(2), 8);
      case 'B':
      case 'b':
        return radixValue(rest.substr(2), 2);
      default:
        break;
    }
  }
  return decimalValue(rest);
}

int32_t roundToInteger(double value) {
  if (std::isnan(value)) return std::numeric_limits<int32_t>::min();
  double rounded = std::floor(value);
  const double fraction = value - rounded;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0)) rounded += 1;
  if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(rounded);
}

}  // namespace arrowgrid
