#pragma once
// The texts in which the form shows numbers, and the lenient reading of those texts.
//
// Format functions format every value, 0 included ("0万", "0円"); blanking a zero is done where a
// value is written to the form (see ShowOrBlank in core/plan_recalc.h). A double that is not
// finite formats as 0 ("0円", "0.000％"). Commas of the grouped forms are placed by the digits
// alone, so a minus sign never gets a comma after it (-123456 -> "-123,456円").
// Parse functions never fail: text that does not start with a number gives 0. Full-width
// digits, comma, period, minus and plus (as Japanese input methods type them) read as their
// ASCII forms. Values beyond the result type are clamped to its range.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorvik {

// 万円 with one comma before the last three digits when there are more than three:
// 2500 -> "2,500万", 1234567 -> "1234,567万", -300 -> "-300万".
std::string FormatSignedAmount(int32_t amount);
// 万円, one comma only for 4 to 6 characters: 3000 -> "3,000万", 1234567 -> "1234567万".
std::string FormatLoanAmount(int32_t amount);
// 万円 grouped by thousands: 1234567 -> "1,234,567万", -123 -> "-123万".
std::string FormatTotalAmount(int32_t amount);
// Whole yen grouped by thousands: 105249 -> "105,249円".
std::string FormatYen(double yen);
// Any whole number grouped by thousands, without a unit: -1234567 -> "-1,234,567".
std::string GroupedInteger(int64_t value);
// Three decimals and a full-width percent sign: 2.375 -> "2.375％".
std::string FormatRate(double ratePercent);
// 35 -> "35年".
std::string FormatPeriod(int16_t years);
// Two decimals and a full-width percent sign: 25.123 -> "25.12％".
std::string FormatRatio(double ratioPercent);

// Amount boxes: the first comma removed, then a decimal integer ("3,000万" -> 3000).
int32_t ParseAmountText(std::string_view text);
// Rate boxes: a decimal floating-point number from the start ("2.375％" -> 2.375): white space,
// sign, digits, point, digits, exponent; "nan", "inf" and hexadecimal texts read as 0. A number
// too large for a double reads as the largest finite double (with its sign), so the range check
// rejects it and no payment arithmetic ever starts from an infinity; one too small reads as 0.
double ParseRateText(std::string_view text);
// Period boxes: a decimal integer, no comma removed ("35年" -> 35). 65571 reads as 32767 (clamped,
// not wrapped to 35), so the range check rejects it.
int16_t ParsePeriodText(std::string_view text);
// Date boxes: a decimal integer, clamped to 0..65535.
uint16_t ParseDateText(std::string_view text);
// Payment statics: every comma removed, then a decimal integer ("1,234,567円" -> 1234567).
int32_t ParsePaymentText(std::string_view text);

// Full-width digits, comma, period, minus and plus replaced by their ASCII forms; everything
// else unchanged.
std::string NormalizeDigits(std::string_view text);

// The message shown when a typed value is out of range: text and caption of an OK-only box.
struct RangeError {
  std::string message;
  std::string caption;
};
inline constexpr const char* kRangeErrorMessage = "入力値が不正です。";
// Rates must be below 100.0 (caption "金利"), periods below 100 ("返済期間"), loan amounts
// below kLoanAmountLimit ("借入額"). Only the upper bound is checked.
inline constexpr int32_t kLoanAmountLimit = 82000;  // 万円, the first amount the loan box refuses
std::optional<RangeError> CheckRate(double ratePercent);
std::optional<RangeError> CheckPeriod(int16_t years);
std::optional<RangeError> CheckLoanAmount(int32_t amount);

}  // namespace zorvik
