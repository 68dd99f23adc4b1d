#include "core/variable_rate.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "core/repayment.h"
#include "core/repayment_schedule.h"

namespace zorvik {
namespace {

constexpr uint16_t kLevel = 1;
constexpr uint16_t kEqualPrincipal = 2;

int64_t Sum(const std::vector<SchedulePayment>& ps, int64_t SchedulePayment::*field) {
  return std::accumulate(ps.begin(), ps.end(), int64_t{0},
                         [field](int64_t s, const SchedulePayment& p) { return s + p.*field; });
}

// The government's published example of a variable-rate loan under the five-year and 125 % rules:
// 10,000,000円, 元利均等, 2.375 %, 30 years, the rate moving from payment 13 and staying there.
TEST(VariableRateTest, PublishedExampleOfTheFiveYearAndQuarterRules) {
  struct Case {
    double rate;
    int64_t totalRepaid, unpaid, lastPayment;
  };
  for (const Case& c : {Case{2.375, 13991280, 0, -1}, Case{3.375, 15940991, 0, -1}, Case{4.375, 18299322, 0, -1},
                        Case{5.375, 21043742, 234720, 300937}}) {
    SCOPED_TRACE(c.rate);
    const auto ps = VariableRatePayments(kLevel, 10000000, 360, 12, {{1, 2.375}, {13, c.rate}}, PaymentReview{});
    ASSERT_EQ(ps.size(), 360u);
    EXPECT_EQ(Sum(ps, &SchedulePayment::payment), c.totalRepaid);
    EXPECT_EQ(Sum(ps, &SchedulePayment::unpaidInterest), c.unpaid);
    if (c.lastPayment >= 0) {
      EXPECT_EQ(ps.back().payment, c.lastPayment);
    }
    EXPECT_EQ(Sum(ps, &SchedulePayment::principal), 10000000);
    EXPECT_EQ(ps.back().balance, 0);
    EXPECT_EQ(ps[0].payment, 38865);  // the form's payment for 1,000万 / 2.375 % / 30 years
    if (c.rate == 4.375) {
      EXPECT_EQ(ps[60].payment, 48581);  // floor(38,865 x 1.25) at payment 61
    }
  }
}

// A worked example published by an FP column (fps-net.com, 2025-04-21, "変動金利住宅ローン<具体的な計算例>"):
// 3,000万, 1 %, 35 years; the rate rises by 0.5 each year from year 2 to 3 % in year 5. The column
// rounds a level payment to the nearest yen where the form truncates it (84,685.6...), so its
// 84,686円, capped 105,857円 and 91,659円 (no rule, year 2) are a yen above ours; the payment
// recomputed at payment 121, the last review having been capped though the rate did not change,
// is its 120,460円 exactly.
TEST(VariableRateTest, PublishedExampleOfACappedReviewAndTheNextOne) {
  const std::vector<RateChange> rates{{1, 1.0}, {13, 1.5}, {25, 2.0}, {37, 2.5}, {49, 3.0}};
  const auto ps = VariableRatePayments(kLevel, 30000000, 420, 12, rates, PaymentReview{});
  ASSERT_EQ(ps.size(), 420u);
  EXPECT_EQ(ps[0].payment, 84685);
  EXPECT_EQ(ps[59].payment, 84685);
  EXPECT_EQ(ps[60].payment, 105856);  // floor(84,685 x 1.25)
  EXPECT_EQ(ps[120].payment, 120460);
  EXPECT_EQ(VariableRatePayments(kLevel, 30000000, 420, 12, rates, PaymentReview{false})[12].payment, 91658);
}

TEST(VariableRateTest, RefusesTimelinesThatDoNotStartAtTheFirstPaymentOrGoBack) {
  const PaymentReview r;
  EXPECT_TRUE(VariableRatePayments(kLevel, 1000000, 12, 12, {}, r).empty());
  EXPECT_TRUE(VariableRatePayments(kLevel, 1000000, 12, 12, {{2, 1.0}}, r).empty());
  EXPECT_TRUE(VariableRatePayments(kLevel, 1000000, 12, 12, {{1, 1.0}, {5, 2.0}, {5, 3.0}}, r).empty());
  EXPECT_TRUE(VariableRatePayments(3, 1000000, 12, 12, {{1, 1.0}}, r).empty());
}

TEST(VariableRateTest, LevelPaymentIsTheFormsPaymentForWholeManYen) {
  for (const double rate : {0.5, 1.0, 2.375, 3.0, 14.6}) {
    for (const int16_t years : {1, 10, 35, 50}) {
      EXPECT_EQ(LevelPayment(30000000 - 12000000, rate, 12 * years, 12),
                CalcMonthlyPayment(3000, 1200, 1, years, rate));
      EXPECT_EQ(LevelPayment(12000000, rate, 2 * years, 2), CalcBonusPayment(1200, 1, years, rate));
      EXPECT_EQ(FirstEqualPrincipalPayment(18000000, rate, 12 * years, 12),
                CalcMonthlyPayment(3000, 1200, 2, years, rate));
    }
  }
  EXPECT_EQ(LevelPayment(1000000, 0.0, 7, 12), 142857);
}

// Random timelines: whatever the path, the part repays its principal exactly, nothing is negative,
// no review raises a payment by more than the cap, one rate is the fixed schedule, and without the
// five-year rule the result is the payment recomputed at each change.
TEST(VariableRateTest, PropertiesOverRandomPaths) {
  std::mt19937 gen(20261209);
  for (int trial = 0; trial < 300; ++trial) {
    const uint16_t method = trial % 3 == 0 ? kEqualPrincipal : kLevel;
    const int32_t perYear = trial % 4 == 0 ? 2 : 12;
    const int16_t years = static_cast<int16_t>(1 + gen() % 50);
    const int32_t count = years * perYear;
    const int64_t principal = 100000 + static_cast<int64_t>(gen() % 100000000);
    const double base = static_cast<double>(gen() % 5000) / 1000.0;
    std::vector<RateChange> rates{{1, base}};
    for (int32_t from = 2 + static_cast<int32_t>(gen() % 24); from <= count;
         from += 1 + static_cast<int32_t>(gen() % 40)) {
      rates.push_back(
          {from, std::max(0.0, base + static_cast<double>(static_cast<int>(gen() % 9000) - 2000) / 1000.0)});
    }
    const PaymentReview review;
    const auto ps = VariableRatePayments(method, principal, count, perYear, rates, review);
    ASSERT_FALSE(ps.empty());
    EXPECT_EQ(Sum(ps, &SchedulePayment::principal), principal);
    EXPECT_EQ(ps.back().balance, 0);
    EXPECT_EQ(Sum(ps, &SchedulePayment::payment), principal + Sum(ps, &SchedulePayment::interest));
    for (size_t i = 0; i < ps.size(); ++i) {
      EXPECT_GE(ps[i].payment, 0);
      EXPECT_GE(ps[i].unpaidInterest, 0);
      if (method == kLevel && i > 0 && i + 1 < ps.size() && ps[i].unpaidInterest == 0 &&
          ps[i - 1].unpaidInterest == 0) {
        EXPECT_LE(ps[i].payment, static_cast<int64_t>(static_cast<double>(ps[i - 1].payment) * 1.25)) << i;
      }
    }
    // One rate: the plan's own schedule of the same part.
    const auto fixed = VariableRatePayments(method, principal, count, perYear, {rates[0]}, review);
    SchedulePart part;
    part.kind = perYear == 2 ? SchedulePartKind::Bonus : SchedulePartKind::Monthly;
    part.method = method;
    part.principal = principal;
    part.paymentCount = count;
    part.paymentsPerYear = perYear;
    part.interestDivisor = perYear == 2 ? kBonusInterestDivisor : kMonthlyInterestDivisor;
    part.rateThousandths = RateInThousandths(base);
    part.firstPayment = fixed.front().payment;
    part.equalPrincipal = principal / count;
    EXPECT_EQ(fixed, PartPaymentList(part));
    // Without the rule: every change recomputes the level payment of what is left, uncapped.
    if (method == kLevel) {
      const auto free = VariableRatePayments(method, principal, count, perYear, rates, PaymentReview{false});
      EXPECT_EQ(Sum(free, &SchedulePayment::unpaidInterest), 0);
      for (size_t c = 1; c < rates.size(); ++c) {
        const auto k = static_cast<size_t>(rates[c].fromPayment);
        if (k >= free.size() || rates[c].ratePercent == rates[c - 1].ratePercent) continue;
        EXPECT_EQ(free[k - 1].payment, LevelPayment(free[k - 2].balance, rates[c].ratePercent,
                                                    count - static_cast<int32_t>(k) + 1, perYear));
      }
    }
  }
}

}  // namespace
}  // namespace zorvik
