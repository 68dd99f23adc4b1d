#pragma once
// Number reading and writing for the program's text files.
//
// Reading is as lenient as the C library's atoi/atof, which older versions of these files were
// read with: leading white space, an optional sign, then as many digits as there are; text
// that does not start with a number gives 0. Unlike atoi/atof these never overflow (values
// beyond the type are clamped to its range), never read "inf", "nan" or hexadecimal floats,
// and do not depend on the process locale.
//
// Writing gives the bytes printf would give in the "C" locale ("%d", "%.3f"), whatever locale
// the process runs in (a decimal comma would break the comma-separated rows).

#include <cstdint>
#include <string>
#include <string_view>

#include "core/number_scan.h"

namespace zorvik {

// White space as the C library's isspace sees it in the "C" locale: blank, \t, \n, \v, \f, \r
// (IsAsciiSpace of core/number_scan.h).
std::string_view TrimLeadingSpace(std::string_view text);
std::string_view TrimTrailingSpace(std::string_view text);
inline std::string_view TrimSpace(std::string_view text) {
  return TrimTrailingSpace(TrimLeadingSpace(text));
}

// Thin wrappers of the one lenient reader (core/number_scan.h), taking the text as it is.
// Like atoi, clamped to the int32 range: " -12abc" -> -12, "abc" -> 0, "99999999999" -> INT32_MAX.
int32_t LenientAtoi(std::string_view text);
// Like atof with decimal digits only, clamped to the finite double range: "2.375％" -> 2.375,
// "1e999" -> the largest double, "inf" -> 0, "." -> 0, "-0" -> -0.0.
double LenientAtof(std::string_view text);

// "%d".
std::string FormatInt(int64_t value);
// "%.<decimals>f"; a value that is not finite is written as 0.
std::string FormatFixed(double value, int decimals);

}  // namespace zorvik
