#include "core/repayment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace zorvik {
namespace {

struct PaymentRow {
  uint16_t method;
  int32_t loan;
  int32_t bonus;
  int16_t years;
  double rate;
  int32_t monthly;
  int32_t perBonus;
};

// The reference table: every printed plan sheet must keep these yen.
constexpr PaymentRow kWorkedTable[] = {
    {1, 3000, 0, 35, 2.375, 105249, 0},
    {1, 3000, 1200, 35, 2.375, 63149, 253397},
    {2, 3000, 1200, 35, 2.375, 78482, 313928},
    {2, 1000, 0, 20, 3.0, 66666, 0},
    {1, 1000, 400, 20, 3.0, 33275, 133708},
    {1, 1000, 400, 20, 0.0, 0, 0},
    {0, 1000, 400, 20, 3.0, 0, 0},
};

class WorkedTableTest : public ::testing::TestWithParam<PaymentRow> {};

TEST_P(WorkedTableTest, MatchesToTheYen) {
  const PaymentRow& r = GetParam();
  EXPECT_EQ(CalcMonthlyPayment(r.loan, r.bonus, r.method, r.years, r.rate), r.monthly);
  EXPECT_EQ(CalcBonusPayment(r.bonus, r.method, r.years, r.rate), r.perBonus);
}

TEST_P(WorkedTableTest, PreparedFactorsGiveTheSameYen) {
  const PaymentRow& r = GetParam();
  const PaymentFactors f = PreparePaymentFactors(r.method, r.years, r.rate);
  EXPECT_EQ(MonthlyPaymentWith(f, r.loan, r.bonus), r.monthly);
  EXPECT_EQ(BonusPaymentWith(f, r.bonus), r.perBonus);
}

INSTANTIATE_TEST_SUITE_P(Table, WorkedTableTest, ::testing::ValuesIn(kWorkedTable));

// A straightforward transcription of the formulas, used to check the whole input range of the
// form against the production code. n x P is formed in 64 bits: 50000万 over 8 years already
// passes 2^31 yen there.
int32_t ReferenceMonthly(int32_t loan, int32_t bonus, uint16_t method, int16_t years, double ratePercent) {
  if ((method != 1 && method != 2) || years == 0 || ratePercent == 0.0 || loan == 0) return 0;
  const double r = ratePercent * 0.01;
  const int32_t p = loan * 10000 - bonus * 10000;
  if (method == 1) {
    const double m = r * 0.08333333333333333;
    const double g = 1 + m;
    double big = g;
    for (int k = 0; k < 12 * years - 1; ++k) big *= g;
    return static_cast<int32_t>(p * m / (1 - 1 / big));
  }
  return static_cast<int32_t>(((p + static_cast<double>(int64_t{years} * p) * r) / years) * 0.08333333333333333);
}

int32_t ReferenceBonus(int32_t bonus, uint16_t method, int16_t years, double ratePercent) {
  if ((method != 1 && method != 2) || years == 0 || ratePercent == 0.0) return 0;
  const double r = ratePercent * 0.01;
  const int32_t b = bonus * 10000;
  if (method == 1) {
    const double h = r * 0.5;
    const double g = 1 + h;
    double big = g;
    for (int k = 0; k < 2 * years - 1; ++k) big *= g;
    return static_cast<int32_t>(b * h / (1 - 1 / big));
  }
  return static_cast<int32_t>(((b + static_cast<double>(int64_t{years} * b) * r) / years) * 0.5);
}

TEST(RepaymentTest, AgreesWithTheFormulasOverTheFormsRange) {
  const int32_t loans[] = {1, 50, 999, 3000, 3125, 12345, 50000, 81999};
  const double rates[] = {0.001, 0.5, 1.2, 2.375, 3.0, 7.77, 15.0, 99.999};
  for (uint16_t method : {1, 2}) {
    for (int16_t years = 1; years <= 99; years += 7) {
      for (double rate : rates) {
        for (int32_t loan : loans) {
          for (int32_t bonus : {0, loan / 3, loan}) {
            SCOPED_TRACE(::testing::Message() << method << " " << years << " " << rate << " " << loan << " " << bonus);
            ASSERT_EQ(CalcMonthlyPayment(loan, bonus, method, years, rate),
                      ReferenceMonthly(loan, bonus, method, years, rate));
            ASSERT_EQ(CalcBonusPayment(bonus, method, years, rate), ReferenceBonus(bonus, method, years, rate));
          }
        }
      }
    }
  }
}

TEST(RepaymentTest, GuardsGiveZero) {
  EXPECT_EQ(CalcMonthlyPayment(3000, 0, 1, 0, 2.375), 0);
  EXPECT_EQ(CalcMonthlyPayment(3000, 0, 1, 35, 0.0), 0);
  EXPECT_EQ(CalcMonthlyPayment(3000, 0, 1, 35, -0.0), 0);
  EXPECT_EQ(CalcMonthlyPayment(3000, 0, 0, 35, 2.375), 0);
  EXPECT_EQ(CalcMonthlyPayment(3000, 0, 3, 35, 2.375), 0);
  EXPECT_EQ(CalcMonthlyPayment(0, 0, 1, 35, 2.375), 0);
  EXPECT_EQ(CalcBonusPayment(1200, 2, 0, 2.375), 0);
  EXPECT_EQ(CalcBonusPayment(1200, 2, 35, 0.0), 0);
  EXPECT_EQ(CalcBonusPayment(1200, 0, 35, 2.375), 0);
  EXPECT_TRUE(PreparePaymentFactors(7, 35, 2.375).paysNothing);
  EXPECT_FALSE(PreparePaymentFactors(2, 35, 2.375).paysNothing);
}

TEST(RepaymentTest, ZeroBonusGivesZeroBonusPaymentForBothMethods) {
  EXPECT_EQ(CalcBonusPayment(0, 1, 35, 2.375), 0);
  EXPECT_EQ(CalcBonusPayment(0, 2, 35, 2.375), 0);
}

TEST(RepaymentTest, BonusEqualToWholeLoanLeavesNothingMonthly) {
  for (uint16_t method : {1, 2}) {
    EXPECT_EQ(CalcMonthlyPayment(3000, 3000, method, 35, 2.375), 0);
    EXPECT_GT(CalcBonusPayment(3000, method, 35, 2.375), 0);
  }
}

TEST(RepaymentTest, LargePeriodTimesPrincipalDoesNotOverflow) {
  // 81999万 over 99 years: n x P = 8.1e10 yen, far beyond 32 bits, inside the form's limits.
  const int32_t monthly = CalcMonthlyPayment(81999, 0, 2, 99, 2.375);
  EXPECT_EQ(monthly, static_cast<int32_t>(((819990000.0 + 99 * 819990000.0 * 0.02375) / 99) * 0.08333333333333333));
  EXPECT_EQ(monthly, 2313124);  // 690,227 principal + 1,622,897 interest
  EXPECT_EQ(CalcBonusPayment(81999, 2, 99, 2.375), 13878744);
}

TEST(RepaymentTest, TruncatesTowardZero) {
  // 1000万 over 20 years equal principal at 3 %: 66666.67 yen.
  EXPECT_EQ(CalcMonthlyPayment(1000, 0, 2, 20, 3.0), 66666);
  // A negative part repaid monthly (bonus above the loan, possible in a file) truncates up.
  EXPECT_EQ(CalcMonthlyPayment(1000, 2000, 2, 20, 3.0), -66666);
}

TEST(RepaymentTest, OneYearPeriodUsesElevenAndOneMultiplications) {
  const double r = 0.05;
  const double m = r * 0.08333333333333333;
  double g12 = 1 + m;
  for (int k = 0; k < 11; ++k) g12 *= 1 + m;
  const double h = r * 0.5;
  const double g2 = (1 + h) * (1 + h);
  EXPECT_EQ(CalcMonthlyPayment(120, 20, 1, 1, 5.0), static_cast<int32_t>(1000000 * m / (1 - 1 / g12)));
  EXPECT_EQ(CalcBonusPayment(20, 1, 1, 5.0), static_cast<int32_t>(200000 * h / (1 - 1 / g2)));
  EXPECT_EQ(CalcMonthlyPayment(120, 20, 1, 1, 5.0), 85607);
  EXPECT_EQ(CalcBonusPayment(20, 1, 1, 5.0), 103765);
}

// Values a plan file can carry although the form never lets them through: each gives a
// defined result (the sanitizer build checks that no overflow or bad cast happens).
TEST(RepaymentTest, OutOfRangeInputsGiveDefinedValues) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  // 2147483647万 is far beyond what 32-bit yen can hold; the result is clamped.
  EXPECT_EQ(CalcMonthlyPayment(kMax, 0, 1, 35, 2.375), kMax);
  EXPECT_EQ(CalcMonthlyPayment(kMax, 0, 2, 35, 2.375), kMax);
  EXPECT_EQ(CalcMonthlyPayment(kMin, 0, 2, 35, 2.375), kMin);
  EXPECT_EQ(CalcMonthlyPayment(kMax, kMin, 1, 32767, 99.0), kMax);
  EXPECT_EQ(CalcMonthlyPayment(kMin, kMax, 2, -32768, 99.0), kMin);
  EXPECT_EQ(CalcBonusPayment(kMax, 1, 99, 2.375), kMax);
  EXPECT_EQ(CalcBonusPayment(kMin, 2, 99, 2.375), kMin);
  // Just beyond 32-bit yen: 300000万 = 3e9 yen.
  EXPECT_EQ(CalcMonthlyPayment(300000, 0, 2, 1, 1.0), 252500000);
  // Non-finite rates never reach the cast.
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (uint16_t method : {1, 2}) {
    EXPECT_EQ(CalcMonthlyPayment(3000, 0, method, 35, nan), 0);
    EXPECT_EQ(CalcBonusPayment(1200, method, 35, nan), 0);
    EXPECT_EQ(CalcMonthlyPayment(3000, 1200, method, 35, inf), 0);
    EXPECT_EQ(CalcMonthlyPayment(3000, 1200, method, 35, -inf), 0);
    EXPECT_EQ(CalcBonusPayment(1200, method, 35, -inf), 0);
  }
  // Huge finite rates overflow the growth factor or the interest term.
  EXPECT_EQ(CalcMonthlyPayment(3000, 0, 1, 35, 1e300), kMax);
  EXPECT_EQ(CalcMonthlyPayment(3000, 0, 2, 35, 1e300), kMax);
  // ... or run into an infinity, which gives 0.
  EXPECT_EQ(CalcMonthlyPayment(3000, 0, 2, 35, -1e308), 0);
  EXPECT_EQ(CalcMonthlyPayment(3000, 0, 1, 35, -1e308), 0);
  // A rate so small that the growth factor stays exactly 1.0 does not divide by zero.
  EXPECT_EQ(CalcMonthlyPayment(3000, 0, 1, 35, 1e-300), 0);
  EXPECT_EQ(CalcBonusPayment(1200, 1, 35, 1e-300), 0);
  // A negative period (never typed: the range check only bounds it above).
  EXPECT_NO_FATAL_FAILURE(CalcMonthlyPayment(3000, 1200, 1, -5, 2.375));
  EXPECT_EQ(CalcMonthlyPayment(3000, 0, 2, -1, 2.0), ReferenceMonthly(3000, 0, 2, -1, 2.0));
}

}  // namespace
}  // namespace zorvik
