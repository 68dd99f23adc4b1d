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
#include <utility>

#include "core/number_scan.h"

namespace zorvik {
namespace {

constexpr std::string_view kManSuffix = "万";
constexpr std::string_view kYenSuffix = "円";
constexpr std::string_view kPercentSuffix = "％";
constexpr std::string_view kYearSuffix = "年";

// A comma before every third digit from the right of `number` (an optional minus sign, then
// digits), counting the digits alone.
std::string InsertThousandsCommas(std::string number) {
  const size_t sign = (!number.empty() && number[0] == '-') ? 1 : 0;
  // Insert from the right so the positions on the left stay valid.
  for (size_t cut = number.size(); cut > sign + 3;) {
    cut -= 3;
    number.insert(cut, 1, ',');
  }
  return number;
}

// The form's grouping: up to three commas for 4 to 12 digits, none for more (a 13-digit yen
// amount shows its digits bare, as the form always has).
std::string GroupThousands(std::string number) {
  const size_t digits = number.size() - ((!number.empty() && number[0] == '-') ? 1 : 0);
  return digits > 12 ? number : InsertThousandsCommas(std::move(number));
}

// Fixed-point text of a double with `decimals` decimals, rounded as printf("%.Nf") rounds.
// A value that is not finite prints as 0.
std::string FixedText(double value, int decimals) {
  if (!std::isfinite(value)) value = 0.0;
  std::array<char, DBL_MAX_10_EXP + 32> buf{};
  auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, decimals);
  return std::string(buf.data(), result.ptr);
}

}  // namespace

std::string GroupedInteger(int64_t value) {
  return InsertThousandsCommas(std::to_string(value));
}

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
  return SaturateCast<int32_t>(ScanLeadingInteger(WithoutFirstComma(NormalizeDigits(text))));
}

int16_t ParsePeriodText(std::string_view text) {
  return SaturateCast<int16_t>(ScanLeadingInteger(NormalizeDigits(text)));
}

uint16_t ParseDateText(std::string_view text) {
  return SaturateCast<uint16_t>(ScanLeadingInteger(NormalizeDigits(text)));
}

int32_t ParsePaymentText(std::string_view text) {
  std::string plain = NormalizeDigits(text);
  std::erase(plain, ',');
  return SaturateCast<int32_t>(ScanLeadingInteger(plain));
}

double ParseRateText(std::string_view text) {
  // A rate without a non-zero digit is +0, also when typed with a minus sign.
  const ScannedDouble scanned = ScanLeadingDouble(NormalizeDigits(text));
  return scanned.nonZeroDigit ? scanned.value : 0.0;
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
  if (amount < kLoanAmountLimit) return std::nullopt;
  return RangeError{kRangeErrorMessage, "借入額"};
}

}  // namespace zorvik
