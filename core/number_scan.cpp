#include "core/number_scan.h"

#include <cfloat>
#include <charconv>
#include <system_error>

namespace zorvik {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Exponents and magnitudes stop growing here: far beyond any double, far below int64 overflow.
constexpr int64_t kScanLimit = int64_t{1} << 40;

}  // namespace

bool IsAsciiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int64_t ScanLeadingInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsAsciiSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) value = std::min<int64_t>(value * 10 + (text[i] - '0'), kScanLimit);
  return negative ? -value : value;
}

ScannedDouble ScanLeadingDouble(std::string_view text) {
  ScannedDouble out;
  size_t i = 0;
  while (i < text.size() && IsAsciiSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // The longest prefix of the form digits [. digits] [e [sign] digits] with at least one
  // mantissa digit.
  const size_t start = i;
  size_t mantissaDigits = 0;
  int64_t leadingIntegerDigits = 0;  // digits before the point, from the first non-zero one
  int64_t leadingZeroFraction = 0;   // zeros after the point before the first non-zero digit
  for (; i < text.size() && IsDigit(text[i]); ++i, ++mantissaDigits) {
    if (text[i] != '0') out.nonZeroDigit = true;
    if (out.nonZeroDigit) ++leadingIntegerDigits;
  }
  if (i < text.size() && text[i] == '.') {
    size_t j = i + 1;
    size_t fractionDigits = 0;
    for (; j < text.size() && IsDigit(text[j]); ++j, ++fractionDigits) {
      if (text[j] != '0') out.nonZeroDigit = true;
      if (!out.nonZeroDigit) ++leadingZeroFraction;
    }
    if (mantissaDigits + fractionDigits > 0) i = j;
    mantissaDigits += fractionDigits;
  }
  if (mantissaDigits == 0) return out;
  int64_t exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    bool negativeExponent = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) negativeExponent = text[j++] == '-';
    if (j < text.size() && IsDigit(text[j])) {
      for (; j < text.size() && IsDigit(text[j]); ++j) {
        exponent = std::min<int64_t>(exponent * 10 + (text[j] - '0'), kScanLimit);
      }
      if (negativeExponent) exponent = -exponent;
      i = j;
    }
  }

  double value = 0.0;
  const auto result = std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // The power of ten of the first non-zero digit, plus one, decides between huge and tiny.
    const int64_t magnitude =
        leadingIntegerDigits > 0 ? leadingIntegerDigits + exponent : exponent - leadingZeroFraction;
    value = magnitude > 0 ? DBL_MAX : 0.0;
  } else if (result.ec != std::errc()) {
    value = 0.0;
  }
  out.value = negative ? -value : value;
  return out;
}

std::string WithoutFirstComma(std::string text) {
  if (auto comma = text.find(','); comma != std::string::npos) text.erase(comma, 1);
  return text;
}

}  // namespace zorvik
