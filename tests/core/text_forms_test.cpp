#include "core/text_forms.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <limits>
#include <string>

namespace zorvik {
namespace {

struct AmountForm {
  int32_t value;
  const char* text;
};

class SignedAmountTest : public ::testing::TestWithParam<AmountForm> {};
TEST_P(SignedAmountTest, Formats) {
  EXPECT_EQ(FormatSignedAmount(GetParam().value), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Table, SignedAmountTest,
                         ::testing::Values(AmountForm{0, "0万"}, AmountForm{999, "999万"}, AmountForm{1000, "1,000万"},
                                           AmountForm{2500, "2,500万"}, AmountForm{1234567, "1234,567万"},
                                           AmountForm{1000000, "1000,000万"}, AmountForm{-300, "-300万"},
                                           AmountForm{-1234, "-1,234万"}, AmountForm{-123456, "-123,456万"},
                                           AmountForm{std::numeric_limits<int32_t>::min(), "-2147483,648万"}));

class LoanAmountTest : public ::testing::TestWithParam<AmountForm> {};
TEST_P(LoanAmountTest, Formats) {
  EXPECT_EQ(FormatLoanAmount(GetParam().value), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Table, LoanAmountTest,
                         ::testing::Values(AmountForm{0, "0万"}, AmountForm{999, "999万"}, AmountForm{3000, "3,000万"},
                                           AmountForm{81999, "81,999万"}, AmountForm{123456, "123,456万"},
                                           AmountForm{1234567, "1234567万"},
                                           // A negative amount is grouped by its digits, never "-,300万".
                                           AmountForm{-300, "-300万"}, AmountForm{-12, "-12万"},
                                           AmountForm{-1234, "-1,234万"}, AmountForm{-12345, "-12,345万"},
                                           AmountForm{-1234567, "-1234567万"}));

class TotalAmountTest : public ::testing::TestWithParam<AmountForm> {};
TEST_P(TotalAmountTest, Formats) {
  EXPECT_EQ(FormatTotalAmount(GetParam().value), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Table, TotalAmountTest,
                         ::testing::Values(AmountForm{0, "0万"}, AmountForm{123, "123万"}, AmountForm{4390, "4,390万"},
                                           AmountForm{123456, "123,456万"}, AmountForm{1234567, "1,234,567万"},
                                           AmountForm{1234567890, "1,234,567,890万"},
                                           // Commas go by the digits, never right after the minus sign.
                                           AmountForm{-123, "-123万"}, AmountForm{-1234, "-1,234万"},
                                           AmountForm{-123456, "-123,456万"}, AmountForm{-1234567, "-1,234,567万"},
                                           AmountForm{-123456789, "-123,456,789万"},
                                           AmountForm{std::numeric_limits<int32_t>::min(), "-2,147,483,648万"}));

struct YenForm {
  double value;
  const char* text;
};
class YenTest : public ::testing::TestWithParam<YenForm> {};
TEST_P(YenTest, Formats) {
  EXPECT_EQ(FormatYen(GetParam().value), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(
    Table, YenTest,
    ::testing::Values(YenForm{0, "0円"}, YenForm{999, "999円"}, YenForm{105249, "105,249円"},
                      YenForm{1234567, "1,234,567円"}, YenForm{123456789012.0, "123,456,789,012円"},
                      YenForm{1234567890123.0, "1234567890123円"},  // beyond twelve digits: ungrouped
                      YenForm{-105249, "-105,249円"}, YenForm{-123, "-123円"}, YenForm{-1234, "-1,234円"},
                      YenForm{-1234567, "-1,234,567円"}, YenForm{0.4, "0円"}, YenForm{2.5, "2円"}, YenForm{3.5, "4円"},
                      YenForm{std::numeric_limits<double>::infinity(), "0円"},
                      YenForm{-std::numeric_limits<double>::infinity(), "0円"},
                      YenForm{std::numeric_limits<double>::quiet_NaN(), "0円"}));

TEST(TextFormsTest, RatePeriodRatio) {
  EXPECT_EQ(FormatRate(2.375), "2.375％");
  EXPECT_EQ(FormatRate(2.4), "2.400％");
  EXPECT_EQ(FormatRate(99.999), "99.999％");
  EXPECT_EQ(FormatRate(0.0), "0.000％");
  EXPECT_EQ(FormatRate(-1.5), "-1.500％");
  EXPECT_EQ(FormatRate(std::numeric_limits<double>::quiet_NaN()), "0.000％");
  EXPECT_EQ(FormatPeriod(35), "35年");
  EXPECT_EQ(FormatPeriod(-1), "-1年");
  EXPECT_EQ(FormatRatio(25.123), "25.12％");
  EXPECT_EQ(FormatRatio(std::numeric_limits<double>::infinity()), "0.00％");
  // The largest finite rate still formats (as a long number), never as "inf".
  EXPECT_EQ(FormatRate(DBL_MAX).substr(0, 4), "1797");
}

struct IntParse {
  const char* text;
  int64_t value;
};

class AmountParseTest : public ::testing::TestWithParam<IntParse> {};
TEST_P(AmountParseTest, Reads) {
  EXPECT_EQ(ParseAmountText(GetParam().text), GetParam().value);
}
INSTANTIATE_TEST_SUITE_P(Table, AmountParseTest,
                         ::testing::Values(IntParse{"", 0}, IntParse{"3000", 3000}, IntParse{"3,000万", 3000},
                                           IntParse{"1000,000万", 1000000},
                                           IntParse{"1,000,000", 1000},  // only the first comma is removed
                                           IntParse{"  42", 42}, IntParse{"+42", 42}, IntParse{"-1,234万", -1234},
                                           IntParse{"万", 0}, IntParse{"abc", 0}, IntParse{"12ab", 12},
                                           // Full-width input as Japanese input methods type it.
                                           IntParse{"３０００", 3000}, IntParse{"３，０００万", 3000},
                                           IntParse{"－１，２３４", -1234},
                                           IntParse{"\xE2\x88\x92"
                                                    "500",
                                                    -500},
                                           IntParse{"＋７", 7},
                                           // Clamped, never wrapped.
                                           IntParse{"99999999999", 2147483647}, IntParse{"-99999999999", -2147483648LL},
                                           IntParse{"2147483648", 2147483647}));

class PeriodParseTest : public ::testing::TestWithParam<IntParse> {};
TEST_P(PeriodParseTest, Reads) {
  EXPECT_EQ(ParsePeriodText(GetParam().text), GetParam().value);
}
INSTANTIATE_TEST_SUITE_P(Table, PeriodParseTest,
                         ::testing::Values(IntParse{"35", 35}, IntParse{"35年", 35}, IntParse{"３５年", 35},
                                           IntParse{"1,5", 1}, IntParse{"", 0}, IntParse{"65571", 32767},
                                           IntParse{"-40000", -32768}));

class DateParseTest : public ::testing::TestWithParam<IntParse> {};
TEST_P(DateParseTest, Reads) {
  EXPECT_EQ(ParseDateText(GetParam().text), GetParam().value);
}
INSTANTIATE_TEST_SUITE_P(Table, DateParseTest,
                         ::testing::Values(IntParse{"2026", 2026}, IntParse{"２０２６", 2026}, IntParse{"12", 12},
                                           IntParse{"", 0}, IntParse{"70000", 65535}, IntParse{"-1", 0}));

class PaymentParseTest : public ::testing::TestWithParam<IntParse> {};
TEST_P(PaymentParseTest, Reads) {
  EXPECT_EQ(ParsePaymentText(GetParam().text), GetParam().value);
}
INSTANTIATE_TEST_SUITE_P(Table, PaymentParseTest,
                         ::testing::Values(IntParse{"1,234,567円", 1234567}, IntParse{"105,249円", 105249},
                                           IntParse{"", 0}, IntParse{"-66,666円", -66666},
                                           IntParse{"9,999,999,999円", 2147483647}));

struct RateParse {
  const char* text;
  double value;
};
class RateParseTest : public ::testing::TestWithParam<RateParse> {};
TEST_P(RateParseTest, Reads) {
  EXPECT_EQ(ParseRateText(GetParam().text), GetParam().value);
}
INSTANTIATE_TEST_SUITE_P(Table, RateParseTest,
                         ::testing::Values(RateParse{"2.375％", 2.375}, RateParse{"2.375", 2.375},
                                           RateParse{" +2.4", 2.4}, RateParse{"２．３７５", 2.375},
                                           RateParse{"－１．５", -1.5}, RateParse{".5", 0.5}, RateParse{"3.", 3.0},
                                           RateParse{"1e2", 100.0}, RateParse{"2.5e", 2.5}, RateParse{"2.5e+", 2.5},
                                           RateParse{"25e-1%", 2.5}, RateParse{"", 0.0}, RateParse{"％", 0.0},
                                           RateParse{".", 0.0}, RateParse{"-", 0.0}, RateParse{"nan", 0.0},
                                           RateParse{"inf", 0.0}, RateParse{"-infinity", 0.0}, RateParse{"0x10", 0.0},
                                           RateParse{"1,5", 1.0}, RateParse{"1e400", DBL_MAX},
                                           RateParse{"-1e400", -DBL_MAX}, RateParse{"0.0001e-400", 0.0},
                                           RateParse{"1e99999999999999999999", DBL_MAX}, RateParse{"0e999", 0.0}));

TEST(TextFormsTest, NormalizeDigitsLeavesOtherTextAlone) {
  EXPECT_EQ(NormalizeDigits("０１２３４５６７８９，．－＋"), "0123456789,.-+");
  EXPECT_EQ(NormalizeDigits("３，０００万円／年"), "3,000万円／年");
  EXPECT_EQ(NormalizeDigits("新 規"), "新 規");
  // A cut-off multi-byte sequence at the end is copied as it is.
  EXPECT_EQ(NormalizeDigits("1\xEF\xBC"), "1\xEF\xBC");
}

TEST(TextFormsTest, DisplayedAmountsReadBack) {
  for (int32_t v : {0, 5, 999, 1000, 3000, 81999, 123456, 1000000, 1234567, -1234, -300, 2147483647}) {
    EXPECT_EQ(ParseAmountText(FormatSignedAmount(v)), v) << v;
    EXPECT_EQ(ParseAmountText(FormatLoanAmount(v)), v) << v;
  }
  for (double yen : {0.0, 1.0, 105249.0, 1234567.0, 2147483647.0, -105249.0}) {
    EXPECT_EQ(ParsePaymentText(FormatYen(yen)), static_cast<int32_t>(yen)) << yen;
  }
  for (double rate : {2.375, 0.001, 99.999}) EXPECT_EQ(ParseRateText(FormatRate(rate)), rate);
}

TEST(TextFormsTest, RangeChecks) {
  EXPECT_FALSE(CheckRate(99.999));
  EXPECT_FALSE(CheckRate(-5.0));
  ASSERT_TRUE(CheckRate(100.0));
  EXPECT_EQ(CheckRate(100.0)->message, "入力値が不正です。");
  EXPECT_EQ(CheckRate(100.0)->caption, "金利");
  EXPECT_TRUE(CheckRate(DBL_MAX));
  EXPECT_TRUE(CheckRate(ParseRateText("1e400")));
  EXPECT_TRUE(CheckRate(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(CheckPeriod(99));
  EXPECT_FALSE(CheckPeriod(-3));
  ASSERT_TRUE(CheckPeriod(100));
  EXPECT_EQ(CheckPeriod(100)->caption, "返済期間");
  EXPECT_TRUE(CheckPeriod(ParsePeriodText("65571")));
  EXPECT_FALSE(CheckLoanAmount(81999));
  EXPECT_FALSE(CheckLoanAmount(-82000));
  ASSERT_TRUE(CheckLoanAmount(82000));
  EXPECT_EQ(CheckLoanAmount(82000)->message, "入力値が不正です。");
  EXPECT_EQ(CheckLoanAmount(82000)->caption, "借入額");
  EXPECT_TRUE(CheckLoanAmount(ParseAmountText("99999999999")));
}

}  // namespace
}  // namespace zorvik
