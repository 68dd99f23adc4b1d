// Text forms of the plan's numbers and their lenient reading.
//
// Formatting and reading do not depend on the process locale (the Qt application sets the
// user's locale, whose decimal point may be a comma): numbers go through std::to_chars and
// std::from_chars and hand-written digit readers.

#include "core/text_forms.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace zorvik {
namespace {

constexpr std::string_view kManSuffix = "万";
constexpr std::string_view kYenSuffix = "円";
constexpr std::string_view kPercentSuffix = "％";
constexpr std::string_view kYearSuffix = "年";

// Groups the digits of `number` (an optional minus sign, then digits) by thousands, counting
// the digits alone: up to three groups of commas for 4 to 12 digits, none for more.
std::string GroupThousands(std::string number) {
  const size_t sign = (!number.empty() && number[0] == '-') ? 1 : 0;
  const size_t digits = number.size() - sign;
  if (digits < 4 || digits > 12) return number;
  // Insert from the right so the positions on the left stay valid.
  for (size_t cut = number.size() - 3; cut > sign; cut -= 3) {
    number.insert(cut, 1, ',');
    if (cut < sign + 3) break;
  }
  return number;
}

// Fixed-point text of a double with `decimals` decimals, rounded as printf("%.Nf") rounds.
// A value that is not finite prints as 0.
std::string FixedText(double value, int decimals) {
  if (!std::isfinite(value)) value = 0.0;
  std::array<char, DBL_MAX_10_EXP + 32> buf{};
  auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, decimals);
  return std::string(buf.data(), result.ptr);
}

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads a decimal integer the way atoi does (white space, sign, digits, stop at anything
// else), but saturating instead of overflowing.
int64_t ReadInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr int64_t kLimit = int64_t{1} << 40;  // far beyond every 32-bit result
  int64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = std::min<int64_t>(value * 10 + (text[i] - '0'), kLimit);
  }
  return negative ? -value : value;
}

template <typename T>
T ClampTo(int64_t value) {
  return static_cast<T>(std::clamp<int64_t>(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

std::string WithoutFirstComma(std::string text) {
  if (auto comma = text.find(','); comma != std::string::npos) text.erase(comma, 1);
  return text;
}

}  // namespace

std::string NormalizeDigits(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    // Full-width forms U+FF0B..U+FF19 are EF BC 8B..99: ＋ ， － ． ／ ０..９ (／ stays).
    if (i + 2 < text.size() && static_cast<unsigned char>(text[i]) == 0xEF &&
        static_cast<unsigned char>(text[i + 1]) == 0xBC) {
      const unsigned char c = static_cast<unsigned char>(text[i + 2]);
      char ascii = 0;
      if (c >= 0x90 && c <= 0x99) {
        ascii = static_cast<char>('0' + (c - 0x90));
      } else if (c == 0x8B) {
        ascii = '+';
      } else if (c == 0x8C) {
        ascii = ',';
      } else if (c == 0x8D) {
        ascii = '-';
      } else if (c == 0x8E) {
        ascii = '.';
      }
      if (ascii != 0) {
        out.push_back(ascii);
        i += 3;
        continue;
      }
    }
    // U+2212 MINUS SIGN, E2 88 92.
    if (i + 2 < text.size() && static_cast<unsigned char>(text[i]) == 0xE2 &&
        static_cast<unsigned char>(text[i + 1]) == 0x88 && static_cast<unsigned char>(text[i + 2]) == 0x92) {
      out.push_back('-');
      i += 3;
      continue;
    }
    out.push_back(text[i]);
    ++i;
  }
  return out;
}

std::string FormatSignedAmount(int32_t amount) {
  std::string digits = std::to_string(static_cast<int64_t>(amount));
  const bool negative = digits[0] == '-';
  if (negative) digits.erase(0, 1);
  if (digits.size() > 3) digits.insert(digits.size() - 3, 1, ',');
  return (negative ? "-" : "") + digits + std::string(kManSuffix);
}

std::string FormatLoanAmount(int32_t amount) {
  // One comma for 4 to 6 digits only: 3000 -> 3,000万, 1234567 -> 1234567万. The digits are
  // counted without a minus sign, so a negative amount never shows as "-,300万".
  std::string text = std::to_string(amount);
  const size_t digits = text.size() - (amount < 0 ? 1 : 0);
  if (digits >= 4 && digits <= 6) text.insert(text.size() - 3, 1, ',');
  return text + std::string(kManSuffix);
}

std::string FormatTotalAmount(int32_t amount) {
  return GroupThousands(std::to_string(amount)) + std::string(kManSuffix);
}

std::string FormatYen(double yen) {
  return GroupThousands(FixedText(yen, 0)) + std::string(kYenSuffix);
}

std::string FormatRate(double ratePercent) {
  return FixedText(ratePercent, 3) + std::string(kPercentSuffix);
}

std::string FormatPeriod(int16_t years) {
  return std::to_string(years) + std::string(kYearSuffix);
}

std::string FormatRatio(double ratioPercent) {
  return FixedText(ratioPercent, 2) + std::string(kPercentSuffix);
}

int32_t ParseAmountText(std::string_view text) {
  return ClampTo<int32_t>(ReadInteger(WithoutFirstComma(NormalizeDigits(text))));
}

int16_t ParsePeriodText(std::string_view text) {
  return ClampTo<int16_t>(ReadInteger(NormalizeDigits(text)));
}

uint16_t ParseDateText(std::string_view text) {
  return ClampTo<uint16_t>(ReadInteger(NormalizeDigits(text)));
}

int32_t ParsePaymentText(std::string_view text) {
  std::string plain = NormalizeDigits(text);
  std::erase(plain, ',');
  return ClampTo<int32_t>(ReadInteger(plain));
}

double ParseRateText(std::string_view text) {
  const std::string plain = NormalizeDigits(text);
  size_t i = 0;
  while (i < plain.size() && IsCSpace(plain[i])) ++i;
  bool negative = false;
  if (i < plain.size() && (plain[i] == '+' || plain[i] == '-')) negative = plain[i++] == '-';

  // The longest prefix of the form digits [. digits] [e [sign] digits] with at least one
  // mantissa digit; "nan", "inf" and hexadecimal forms are not numbers here.
  const size_t start = i;
  size_t mantissaDigits = 0;
  bool nonZeroDigit = false;
  int64_t leadingIntegerDigits = 0;  // digits before the point, from the first non-zero one
  int64_t leadingZeroFraction = 0;   // zeros after the point before the first non-zero digit
  for (; i < plain.size() && IsDigit(plain[i]); ++i, ++mantissaDigits) {
    if (plain[i] != '0') nonZeroDigit = true;
    if (nonZeroDigit) ++leadingIntegerDigits;
  }
  if (i < plain.size() && plain[i] == '.') {
    ++i;
    for (; i < plain.size() && IsDigit(plain[i]); ++i, ++mantissaDigits) {
      if (plain[i] != '0') nonZeroDigit = true;
      if (!nonZeroDigit) ++leadingZeroFraction;
    }
  }
  if (mantissaDigits == 0) return 0.0;
  int64_t exponent = 0;
  if (i < plain.size() && (plain[i] == 'e' || plain[i] == 'E')) {
    size_t j = i + 1;
    bool negativeExponent = false;
    if (j < plain.size() && (plain[j] == '+' || plain[j] == '-')) negativeExponent = plain[j++] == '-';
    if (j < plain.size() && IsDigit(plain[j])) {
      for (; j < plain.size() && IsDigit(plain[j]); ++j) {
        exponent = std::min<int64_t>(exponent * 10 + (plain[j] - '0'), int64_t{1} << 40);
      }
      if (negativeExponent) exponent = -exponent;
      i = j;
    }
  }
  if (!nonZeroDigit) return 0.0;

  double value = 0.0;
  const auto result = std::from_chars(plain.data() + start, plain.data() + i, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large or too small for a double. The decimal magnitude tells which: a huge rate
    // reads as the largest finite double (so the range check rejects it and no arithmetic
    // meets an infinity), a vanishing one as 0.
    const int64_t magnitude =
        leadingIntegerDigits > 0 ? leadingIntegerDigits + exponent : exponent - leadingZeroFraction;
    value = magnitude > 0 ? DBL_MAX : 0.0;
  } else if (result.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

std::optional<RangeError> CheckRate(double ratePercent) {
  if (ratePercent < 100.0) return std::nullopt;  // NaN fails too
  return RangeError{kRangeErrorMessage, "金利"};
}

std::optional<RangeError> CheckPeriod(int16_t years) {
  if (years < 100) return std::nullopt;
  return RangeError{kRangeErrorMessage, "返済期間"};
}

std::optional<RangeError> CheckLoanAmount(int32_t amount) {
  if (amount < 82000) return std::nullopt;
  return RangeError{kRangeErrorMessage, "借入額"};
}

}  // namespace zorvik
