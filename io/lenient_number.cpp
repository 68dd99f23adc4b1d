#include "io/lenient_number.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace zorvik {

bool IsAsciiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view TrimLeadingSpace(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsAsciiSpace(text[i])) ++i;
  return text.substr(i);
}

std::string_view TrimTrailingSpace(std::string_view text) {
  size_t n = text.size();
  while (n > 0 && IsAsciiSpace(text[n - 1])) --n;
  return text.substr(0, n);
}

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

int32_t LenientAtoi(std::string_view text) {
  text = TrimLeadingSpace(text);
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate the magnitude and stop growing it once it is beyond any int32.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (magnitude <= kLimit) magnitude = magnitude * 10 + (text[i] - '0');
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

double LenientAtof(std::string_view text) {
  text = TrimLeadingSpace(text);
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const size_t mantissaStart = i;
  size_t intDigits = 0;
  size_t fracDigits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++intDigits;
  if (i < text.size() && text[i] == '.') {
    size_t j = i + 1;
    while (j < text.size() && IsDigit(text[j])) ++j, ++fracDigits;
    if (intDigits + fracDigits > 0) i = j;
  }
  if (intDigits + fracDigits == 0) return 0.0;
  const size_t mantissaEnd = i;
  // An exponent counts only when at least one digit follows the 'e' and its sign.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  const std::string_view number = text.substr(mantissaStart, i - mantissaStart);
  double value = 0.0;
  const auto [ptr, ec] =
      std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: decide which from the mantissa's leading digit
    // position and the exponent.
    int64_t exponent = 0;
    if (mantissaEnd < i) exponent = LenientAtoi(text.substr(mantissaEnd + 1, i - mantissaEnd - 1));
    const std::string_view mantissa = text.substr(mantissaStart, mantissaEnd - mantissaStart);
    int64_t leadingPosition = 0;  // power of ten of the first non-zero digit, plus one
    int64_t position = static_cast<int64_t>(intDigits);
    for (char c : mantissa) {
      if (c == '.') continue;
      if (c != '0') {
        leadingPosition = position;
        break;
      }
      --position;
    }
    value = (leadingPosition + exponent > 0) ? std::numeric_limits<double>::max() : 0.0;
  } else if (ec != std::errc() || !std::isfinite(value)) {
    value = 0.0;
  }
  return negative ? -value : value;
}

std::string FormatInt(int64_t value) {
  std::array<char, 32> buf{};
  const auto [ptr, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  (void)ec;  // 32 characters hold any int64
  return std::string(buf.data(), ptr);
}

std::string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) value = 0.0;
  // The largest double has 309 integer digits.
  std::array<char, 400> buf{};
  const auto [ptr, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return "0";
  return std::string(buf.data(), ptr);
}

}  // namespace zorvik
