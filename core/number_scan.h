#pragma once
// The one lenient reader of numbers at the start of a text, and the one saturating cast.
//
// Reading is as lenient as the C library's atoi/atof: leading white space (blank, \t, \n, \v,
// \f, \r), an optional sign, then as many digits as there are; a text that does not start with
// a number gives 0. Unlike atoi/atof these never overflow, never read "inf", "nan" or
// hexadecimal forms, and do not depend on the process locale. The callers (the form's boxes,
// the files, the simulation dialogs) prepare the text first (full-width digits, commas) and
// keep their own rules around it.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace zorvik {

// `value` clamped to the range of T.
template <typename T>
constexpr T SaturateCast(int64_t value) {
  return static_cast<T>(std::clamp<int64_t>(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

// White space as the C library's isspace sees it in the "C" locale.
bool IsAsciiSpace(char c);

// The leading decimal integer: white space, sign, digits, stopping at anything else. The
// magnitude stops growing at 2^40, far beyond every 32-bit result, so SaturateCast of it gives
// the clamped value.
int64_t ScanLeadingInteger(std::string_view text);

struct ScannedDouble {
  double value = 0.0;         // with its sign; "-0" reads as -0.0
  bool nonZeroDigit = false;  // the mantissa has a digit other than 0
};

// The leading decimal floating-point number: white space, sign, digits, point, digits, and an
// exponent (e, sign, digits) when a digit follows it. Without a mantissa digit the value is
// +0. A number too large for a double reads as the largest finite double with its sign, one
// too small as 0 with its sign; which of the two is decided by the decimal position of the
// first non-zero digit plus the exponent.
ScannedDouble ScanLeadingDouble(std::string_view text);

// The text with its first comma removed ("1,234,567" -> "1234,567").
std::string WithoutFirstComma(std::string text);

}  // namespace zorvik
