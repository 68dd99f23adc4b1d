#include "io/lenient_number.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

#include "core/number_scan.h"

namespace zorvik {

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

int32_t LenientAtoi(std::string_view text) {
  return SaturateCast<int32_t>(ScanLeadingInteger(text));
}

double LenientAtof(std::string_view text) {
  return ScanLeadingDouble(text).value;
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
