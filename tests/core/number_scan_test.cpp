#include "core/number_scan.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "core/text_forms.h"

namespace zorvik {
namespace {

TEST(NumberScanTest, SaturateCastClampsToTheTarget) {
  EXPECT_EQ(SaturateCast<int32_t>(int64_t{1} << 40), INT32_MAX);
  EXPECT_EQ(SaturateCast<int32_t>(-(int64_t{1} << 40)), INT32_MIN);
  EXPECT_EQ(SaturateCast<int32_t>(-7), -7);
  EXPECT_EQ(SaturateCast<int16_t>(65571), 32767);
  EXPECT_EQ(SaturateCast<uint16_t>(-1), 0);
  EXPECT_EQ(SaturateCast<uint16_t>(70000), 65535);
}

TEST(NumberScanTest, LeadingNumbers) {
  const struct {
    const char* text;
    double value;
    bool nonZeroDigit;
  } rows[] = {{"2.375％", 2.375, true}, {" \t-12abc", -12.0, true}, {"5.", 5.0, true},     {".5e1", 5.0, true},
              {"1e", 1.0, true},        {"1e+", 1.0, true},         {"abc", 0.0, false},   {".", 0.0, false},
              {"-", 0.0, false},        {"inf", 0.0, false},        {"0x1p3", 0.0, false}, {"000", 0.0, false},
              {"1e999", DBL_MAX, true}, {"-1e999", -DBL_MAX, true}, {"1e-999", 0.0, true}};
  for (const auto& r : rows) {
    const ScannedDouble s = ScanLeadingDouble(r.text);
    EXPECT_EQ(s.value, r.value) << r.text;
    EXPECT_EQ(s.nonZeroDigit, r.nonZeroDigit) << r.text;
  }
  // A zero keeps its sign; the rate boxes read it as +0.
  EXPECT_TRUE(std::signbit(ScanLeadingDouble("-0").value));
  EXPECT_FALSE(std::signbit(ParseRateText("-0")));
  EXPECT_EQ(ScanLeadingInteger(" -12abc"), -12);
  EXPECT_EQ(ScanLeadingInteger(std::string(30, '9')), int64_t{1} << 40);
  EXPECT_EQ(WithoutFirstComma("1,234,567円"), "1234,567円");
  EXPECT_EQ(WithoutFirstComma("35年"), "35年");
}

// A vanishing number whose first digit lies far behind the point stays vanishing, also with a
// positive exponent; a huge one stays huge.
TEST(NumberScanTest, OutOfRangeIsDecidedByTheFirstDigit) {
  EXPECT_EQ(ScanLeadingDouble("0." + std::string(400, '0') + "1e50").value, 0.0);
  EXPECT_EQ(ScanLeadingDouble(std::string(400, '0') + "1e400").value, DBL_MAX);
  EXPECT_EQ(ScanLeadingDouble("1" + std::string(400, '0') + "e-50").value, DBL_MAX);
}

// Property: over random texts of number characters, the value is the one strtod gives for the
// same prefix whenever strtod stays in range (hexadecimal, inf and nan are excluded by the
// alphabet), and never a non-finite value.
TEST(NumberScanTest, AgreesWithStrtodInRange) {
  std::mt19937 random(16);
  const std::string alphabet = "0123456789.eE+- a";
  for (int n = 0; n < 5000; ++n) {
    std::string text;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    const double scanned = ScanLeadingDouble(text).value;
    ASSERT_TRUE(std::isfinite(scanned)) << text;
    errno = 0;
    const double expected = std::strtod(text.c_str(), nullptr);
    if (errno == 0) {
      EXPECT_EQ(scanned, expected) << text;
    }
  }
}

}  // namespace
}  // namespace zorvik
