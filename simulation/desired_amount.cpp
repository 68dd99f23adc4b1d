#include "simulation/desired_amount.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <string>

#include "core/text_forms.h"

namespace zorvik {
namespace {

constexpr int kDigitLimit = 10;
constexpr int kYenSignExtra = 2;
constexpr std::string_view kYenSign = "円";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

int DesiredAmountTextLimit(std::string_view text) {
  const auto commas = static_cast<int>(std::count(text.begin(), text.end(), ','));
  const bool hasYenSign = text.find(kYenSign) != std::string_view::npos;
  return kDigitLimit + commas + (hasYenSign ? kYenSignExtra : 0);
}

double ParseDesiredAmount(std::string_view text) {
  std::string plain = NormalizeDigits(text);
  plain.erase(std::remove(plain.begin(), plain.end(), ','), plain.end());

  size_t i = 0;
  while (i < plain.size() && (plain[i] == ' ' || plain[i] == '\t' || plain[i] == '\n' || plain[i] == '\r' ||
                              plain[i] == '\v' || plain[i] == '\f')) {
    ++i;
  }
  bool negative = false;
  if (i < plain.size() && (plain[i] == '+' || plain[i] == '-')) {
    negative = plain[i] == '-';
    ++i;
  }
  const size_t start = i;
  int integerDigits = 0;  // significant digits before the decimal point
  bool seenNonZero = false;
  size_t mantissaDigits = 0;
  while (i < plain.size() && IsDigit(plain[i])) {
    if (plain[i] != '0') seenNonZero = true;
    if (seenNonZero) ++integerDigits;
    ++mantissaDigits;
    ++i;
  }
  if (i < plain.size() && plain[i] == '.') {
    ++i;
    while (i < plain.size() && IsDigit(plain[i])) {
      ++mantissaDigits;
      ++i;
    }
  }
  if (mantissaDigits == 0) return 0.0;
  long exponent = 0;
  if (i < plain.size() && (plain[i] == 'e' || plain[i] == 'E')) {
    size_t j = i + 1;
    bool negativeExponent = false;
    if (j < plain.size() && (plain[j] == '+' || plain[j] == '-')) {
      negativeExponent = plain[j] == '-';
      ++j;
    }
    if (j < plain.size() && IsDigit(plain[j])) {
      while (j < plain.size() && IsDigit(plain[j])) {
        exponent = std::min(exponent * 10 + (plain[j] - '0'), 100000L);
        ++j;
      }
      if (negativeExponent) exponent = -exponent;
      i = j;
    }
  }

  double value = 0.0;
  const char* first = plain.data() + start;
  const char* last = plain.data() + i;
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    const bool huge = integerDigits + exponent > 0;
    value = huge ? std::numeric_limits<double>::max() : 0.0;
  } else if (error != std::errc() || end == first) {
    value = 0.0;
  }
  return negative ? -value : value;
}

}  // namespace zorvik
