#include "core/repayment_schedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/repayment.h"

namespace zorvik {
namespace {

LoanRow MakeRow(uint16_t method, int32_t loan, int32_t bonus, int16_t years, double rate) {
  LoanRow row;
  row.loanName = "ローン";
  row.method = method;
  row.loanAmount = loan;
  row.bonusAmount = bonus;
  row.periodYears = years;
  row.ratePercent = rate;
  return row;
}

// Payments as {payment, principal, interest, balance}; number and year follow from the position.
struct Worked {
  const char* name;
  uint16_t method;
  int32_t loan;
  int32_t bonus;
  double rate;
  SchedulePartKind kind;
  std::vector<std::array<int64_t, 4>> payments;
};

// One-year schedules worked by hand. 12% a year is 12,000 thousandths of a percent, so the first
// month's interest on 1,000,000円 is 1,000,000 x 12,000 / 1,200,000 = 10,000円 exactly.
const Worked kWorked[] = {
    {"LevelMonthly",
     1,
     100,
     0,
     12.0,
     SchedulePartKind::Monthly,
     {{88848, 78848, 10000, 921152},
      {88848, 79637, 9211, 841515},
      {88848, 80433, 8415, 761082},
      {88848, 81238, 7610, 679844},
      {88848, 82050, 6798, 597794},
      {88848, 82871, 5977, 514923},
      {88848, 83699, 5149, 431224},
      {88848, 84536, 4312, 346688},
      {88848, 85382, 3466, 261306},
      {88848, 86235, 2613, 175071},
      {88848, 87098, 1750, 87973},
      {88852, 87973, 879, 0}}},  // the last payment takes up the four yen the truncations left
    {"LevelBonus",
     1,
     100,
     100,
     12.0,
     SchedulePartKind::Bonus,
     {{545436, 485436, 60000, 514564}, {545437, 514564, 30873, 0}}},
    {"LevelBonusPart",
     1,
     100,
     40,
     2.375,
     SchedulePartKind::Bonus,
     {{203569, 198819, 4750, 201181}, {203570, 201181, 2389, 0}}},
    {"EqualPrincipalMonthly",
     2,
     100,
     0,
     12.0,
     SchedulePartKind::Monthly,
     {{93333, 83333, 10000, 916667},
      {92499, 83333, 9166, 833334},
      {91666, 83333, 8333, 750001},
      {90833, 83333, 7500, 666668},
      {89999, 83333, 6666, 583335},
      {89166, 83333, 5833, 500002},
      {88333, 83333, 5000, 416669},
      {87499, 83333, 4166, 333336},
      {86666, 83333, 3333, 250003},
      {85833, 83333, 2500, 166670},
      {84999, 83333, 1666, 83337},
      {84170, 83337, 833, 0}}},
    {"EqualPrincipalBonus",
     2,
     100,
     100,
     3.0,
     SchedulePartKind::Bonus,
     {{515000, 500000, 15000, 500000}, {507500, 500000, 7500, 0}}},
    {"EqualPrincipalBonusPart",
     2,
     100,
     40,
     2.375,
     SchedulePartKind::Bonus,
     {{204750, 200000, 4750, 200000}, {202375, 200000, 2375, 0}}},
};

class WorkedScheduleTest : public ::testing::TestWithParam<Worked> {};

TEST_P(WorkedScheduleTest, EveryPaymentToTheYen) {
  const Worked& w = GetParam();
  const SchedulePart part = MakeSchedulePart(MakeRow(w.method, w.loan, w.bonus, 1, w.rate), w.kind);
  const std::vector<SchedulePayment> got = PartPaymentList(part);
  ASSERT_EQ(got.size(), w.payments.size());
  const int32_t perYear = w.kind == SchedulePartKind::Monthly ? 12 : 2;
  for (size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(i + 1);
    const auto& e = w.payments[i];
    EXPECT_EQ(got[i], (SchedulePayment{static_cast<int32_t>(i + 1), static_cast<int32_t>(i) / perYear + 1, e[0], e[1],
                                       e[2], e[3]}));
  }
}

INSTANTIATE_TEST_SUITE_P(OneYear, WorkedScheduleTest, ::testing::ValuesIn(kWorked),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RepaymentScheduleTest, WorkedPlanTotalsAndFirstPaymentsAsOnTheForm) {
  FundingPlan plan;
  plan.rows[0] = MakeRow(1, 3000, 1200, 35, 2.375);
  const PlanSchedule s = BuildPlanSchedule(plan);
  ASSERT_EQ(s.rows.size(), 1u);
  const RowSchedule& row = s.rows[0];
  EXPECT_EQ(row.monthly.firstPayment, 63149);
  EXPECT_EQ(row.bonus.firstPayment, 253397);
  EXPECT_EQ(PartPaymentList(row.monthly).back(), (SchedulePayment{420, 35, 63159, 63035, 124, 0}));
  EXPECT_EQ(PartPaymentList(row.bonus).back(), (SchedulePayment{70, 35, 253396, 250423, 2973, 0}));
  EXPECT_EQ(row.monthlyTotals, (ScheduleTotals{18000000, 26522590, 8522590, 35, 420}));
  EXPECT_EQ(row.bonusTotals, (ScheduleTotals{12000000, 17737789, 5737789, 35, 70}));
  EXPECT_EQ(s.totals, (ScheduleTotals{30000000, 44260379, 14260379, 35, 490}));
  ASSERT_EQ(s.years.size(), 35u);
  EXPECT_EQ(s.years[0].payment, 12 * 63149 + 2 * 253397);
  EXPECT_EQ(s.years.back().balance, 0);
  EXPECT_EQ(s.FindRow(0), &s.rows[0]);
  EXPECT_EQ(s.FindRow(1), nullptr);
}

TEST(RepaymentScheduleTest, RowsWithoutSchedule) {
  const LoanRow rows[] = {
      MakeRow(0, 3000, 0, 35, 2.0),     MakeRow(3, 3000, 0, 35, 2.0), MakeRow(1, 3000, 0, 0, 2.0),
      MakeRow(1, 3000, 0, -5, 2.0),     MakeRow(1, 3000, 0, 35, 0.0), MakeRow(1, 0, 0, 35, 2.0),
      MakeRow(1, -3000, -100, 35, 2.0), MakeRow(2, -10, 0, 35, 2.0),
  };
  for (const LoanRow& row : rows) {
    FundingPlan plan;
    plan.rows[3] = row;
    const PlanSchedule s = BuildPlanSchedule(plan);
    EXPECT_TRUE(s.rows.empty());
    EXPECT_EQ(s.totals, ScheduleTotals{});
    EXPECT_TRUE(s.years.empty());
  }
  // A bonus portion of the whole loan: no monthly part, only bonus payments.
  const RowSchedule allBonus = BuildRowSchedule(MakeRow(1, 1000, 1000, 10, 2.0), 0);
  EXPECT_FALSE(allBonus.monthly.HasPayments());
  EXPECT_EQ(allBonus.totals.paymentCount, 20);
}

// A tiny loan over a long period: the level payment of 13円 repays a little more each month
// than the exact annuity would (the interest truncates to 0 or 8円), so the balance reaches 0
// at payment 1157 of 1188; that payment repays the 10円 that are left and the loan ends there.
TEST(RepaymentScheduleTest, TinyLoanEndsWhenItIsRepaid) {
  const std::vector<SchedulePayment> p =
      PartPaymentList(MakeSchedulePart(MakeRow(1, 1, 0, 99, 1.0), SchedulePartKind::Monthly));
  ASSERT_EQ(p.size(), 1157u);
  EXPECT_EQ(p.back(), (SchedulePayment{1157, 97, 10, 10, 0, 0}));
}

// Schedules published by lenders, to the yen: the interest of each payment is exact.
TEST(RepaymentScheduleTest, PublishedLenderFigures) {
  // 1億円, 3.000 %, 35 years, 元利均等: 384,850円 a month.
  const RowSchedule level = BuildRowSchedule(MakeRow(1, 10000, 0, 35, 3.0), 0);
  const std::vector<SchedulePayment> payments = PartPaymentList(level.monthly);
  ASSERT_EQ(payments.size(), 420u);
  EXPECT_EQ(payments[0], (SchedulePayment{1, 1, 384850, 134850, 250000, 99865150}));
  EXPECT_EQ(level.years[0], (ScheduleYear{1, 12 * 384850, 1640643, 2977557, 100000000 - 1640643}));
  EXPECT_EQ(level.totals, (ScheduleTotals{100000000, 161636772, 61636772, 35, 420}));
  // 6,720万, 3 %, 35 years, 元金均等: 160,000円 of principal a month, 35,364,000円 of interest.
  const RowSchedule equal = BuildRowSchedule(MakeRow(2, 6720, 0, 35, 3.0), 0);
  EXPECT_EQ(equal.totals, (ScheduleTotals{67200000, 102564000, 35364000, 35, 420}));
  // 3,000万 at 1.5 %: 37,500円 of first interest, not a yen less.
  EXPECT_EQ(PartPaymentList(MakeSchedulePart(MakeRow(1, 3000, 0, 35, 1.5), SchedulePartKind::Monthly))[0].interest,
            37500);
}

TEST(RepaymentScheduleTest, RateAsTheBoxShowsIt) {
  const std::pair<double, int64_t> rates[] = {{2.375, 2375},
                                              {1.0005, 1000},
                                              {99.999, 99999},
                                              {-0.5, -500},
                                              {1e-300, 0},
                                              {0.0004, 0},
                                              {std::numeric_limits<double>::quiet_NaN(), 0},
                                              {std::numeric_limits<double>::infinity(), 0},
                                              {1e300, 1000000000000000000},
                                              {-1e300, -1000000000000000000}};
  for (const auto& [rate, thousandths] : rates) EXPECT_EQ(RateInThousandths(rate), thousandths) << rate;
}

// A bonus portion above the loan (from a file) is capped at the loan; a period above 99 years
// leaves its row out, named; stored payments other than the computed ones are noted.
TEST(RepaymentScheduleTest, RowsTheFormWouldRefuse) {
  FundingPlan plan;
  plan.rows[0] = MakeRow(1, 3000, 3500, 35, 2.0);
  plan.rows[2] = MakeRow(1, 3000, 1200, 32767, 2.0);
  plan.rows[4] = MakeRow(2, 3000, 0, 100, 2.0);
  plan.rows[5] = MakeRow(2, 3000, 0, 99, 2.0);
  for (LoanRow& row : plan.rows) {
    row.monthlyPayment = CalcMonthlyPayment(row.loanAmount, std::min(row.bonusAmount, row.loanAmount), row.method,
                                            row.periodYears, row.ratePercent);
    row.bonusPayment =
        CalcBonusPayment(std::min(row.bonusAmount, row.loanAmount), row.method, row.periodYears, row.ratePercent);
  }
  PlanSchedule s = BuildPlanSchedule(plan);
  ASSERT_EQ(s.rows.size(), 2u);
  EXPECT_EQ(s.rows[0].loan.bonusAmount, 3000);
  EXPECT_FALSE(s.rows[0].monthly.HasPayments());
  EXPECT_EQ(s.rows[0].totals.principal, 30000000);
  EXPECT_EQ(s.rows[1].row, 5);
  EXPECT_EQ(s.leftOutRows, (std::vector<int>{2, 4}));
  EXPECT_FALSE(s.storedPaymentsDiffer);
  EXPECT_EQ(ScheduleNotes(s),
            (std::vector<std::string>{"3行目 返済期間が99年を超えるため、返済予定表に含めていません",
                                      "5行目 返済期間が99年を超えるため、返済予定表に含めていません"}));

  plan.rows[5].monthlyPayment = 59074;  // written elsewhere
  EXPECT_TRUE(StoredPaymentsDiffer(plan.rows[5]));
  EXPECT_FALSE(StoredPaymentsDiffer(plan.rows[2]));  // not in the schedule at all
  plan.rows[2].periodYears = 35;
  plan.rows[4].periodYears = 0;
  s = BuildPlanSchedule(plan);
  EXPECT_EQ(ScheduleNotes(s), (std::vector<std::string>{kStoredPaymentsDifferText}));
  EXPECT_EQ(LeftOutRowText(9), "10行目 返済期間が99年を超えるため、返済予定表に含めていません");
}

// The invariants of every part and of the totals and year views built from them.
void CheckSchedule(const FundingPlan& plan, const PlanSchedule& s, bool withinFormLimits) {
  ScheduleTotals sum;
  std::vector<ScheduleYear> planYears;
  for (const RowSchedule& rs : s.rows) {
    SCOPED_TRACE(rs.row);
    ScheduleTotals rowSum;
    std::vector<int64_t> yearPay(static_cast<size_t>(rs.totals.years) + 1, 0);
    for (const SchedulePart* part : {&rs.monthly, &rs.bonus}) {
      if (!part->HasPayments()) continue;
      const std::vector<SchedulePayment> list = PartPaymentList(*part);
      ASSERT_FALSE(list.empty());
      ASSERT_LE(list.size(), static_cast<size_t>(part->paymentCount));
      int64_t before = part->principal;
      int64_t principals = 0;
      for (const SchedulePayment& p : list) {
        ASSERT_GE(p.principal, 0);
        ASSERT_LE(p.principal, before);
        ASSERT_EQ(p.balance, before - p.principal);
        ASSERT_EQ(p.payment, p.principal + p.interest);
        ASSERT_LE(std::abs(p.interest), kMaxScheduleInterest);
        ASSERT_EQ(p.year, (p.number - 1) / part->paymentsPerYear + 1);
        before = p.balance;
        principals += p.principal;
        rowSum.totalRepaid += p.payment;
        rowSum.totalInterest += p.interest;
        yearPay[static_cast<size_t>(p.year)] += p.payment;
      }
      EXPECT_EQ(principals, part->principal);
      EXPECT_EQ(list.back().balance, 0);
      for (size_t i = 0; i + 1 < list.size(); ++i) ASSERT_GT(list[i].balance, 0);
      if (withinFormLimits && list.size() > 1) {
        // The first payment is the one the form shows, except where that does not cover the exact
        // interest (a level payment at rates of some 40 % and more over the longest periods, whose
        // formula takes a twelfth a hair short): then it is the interest alone.
        auto isShownOrInterestOnly = [part](const SchedulePayment& p) {
          return p.payment == part->firstPayment || (p.principal == 0 && p.interest > part->firstPayment);
        };
        EXPECT_TRUE(isShownOrInterestOnly(list[0]));
        const int32_t shown =
            part->kind == SchedulePartKind::Monthly
                ? CalcMonthlyPayment(rs.loan.loanAmount, rs.loan.bonusAmount, rs.loan.method, rs.loan.periodYears,
                                     rs.loan.ratePercent)
                : CalcBonusPayment(rs.loan.bonusAmount, rs.loan.method, rs.loan.periodYears, rs.loan.ratePercent);
        EXPECT_EQ(part->firstPayment, shown);
        for (size_t i = 1; i + 1 < list.size(); ++i) {
          if (part->method == 1) {
            ASSERT_TRUE(isShownOrInterestOnly(list[i]));
          } else {
            ASSERT_EQ(list[i].principal, part->equalPrincipal);
          }
        }
      }
      rowSum.principal += part->principal;
      rowSum.paymentCount += static_cast<int64_t>(list.size());
      rowSum.years = std::max(rowSum.years, list.back().year);
    }
    EXPECT_EQ(rs.totals, rowSum);
    EXPECT_EQ(rs.totals.totalRepaid, rs.totals.principal + rs.totals.totalInterest);
    ASSERT_EQ(rs.years.size(), static_cast<size_t>(rs.totals.years));
    for (size_t y = 0; y < rs.years.size(); ++y) {
      EXPECT_EQ(rs.years[y].year, static_cast<int32_t>(y + 1));
      EXPECT_EQ(rs.years[y].payment, yearPay[y + 1]);
      EXPECT_EQ(rs.years[y].payment, rs.years[y].principal + rs.years[y].interest);
      if (y > 0) {
        EXPECT_LE(rs.years[y].balance, rs.years[y - 1].balance);
      }
    }
    ASSERT_FALSE(rs.years.empty());
    EXPECT_EQ(rs.years.back().balance, 0);
    sum.principal += rowSum.principal;
    sum.totalRepaid += rowSum.totalRepaid;
    sum.totalInterest += rowSum.totalInterest;
    sum.paymentCount += rowSum.paymentCount;
    sum.years = std::max(sum.years, rowSum.years);
    if (planYears.size() < rs.years.size()) planYears.resize(rs.years.size());
    for (size_t y = 0; y < rs.years.size(); ++y) {
      planYears[y].year = static_cast<int32_t>(y + 1);
      planYears[y].payment += rs.years[y].payment;
      planYears[y].principal += rs.years[y].principal;
      planYears[y].interest += rs.years[y].interest;
      planYears[y].balance += rs.years[y].balance;
    }
  }
  EXPECT_EQ(s.totals, sum);
  EXPECT_EQ(s.years, planYears);
  size_t scheduled = 0;
  std::vector<int> leftOut;
  for (int i = 0; i < kLoanRowCount; ++i) {
    scheduled += HasSchedule(plan.rows[static_cast<size_t>(i)]) ? 1 : 0;
    if (IsLeftOutOfSchedule(plan.rows[static_cast<size_t>(i)])) leftOut.push_back(i);
  }
  EXPECT_EQ(s.rows.size(), scheduled);
  EXPECT_EQ(s.leftOutRows, leftOut);
}

// Every payment's interest is balance x rate in thousandths of a percent / 1,200,000 (月払) or
// / 200,000 (ボーナス払), truncated, and kept within kMaxScheduleInterest: over random plans with
// loans up to the largest a file holds and rates the form would refuse (negative ones too).
TEST(RepaymentScheduleTest, InterestIsTheIntegerProductOverRandomPlans) {
  std::mt19937 rng(27);
  std::uniform_int_distribution<int32_t> loan(1, std::numeric_limits<int32_t>::max());
  std::uniform_int_distribution<int> years(1, 99);
  std::uniform_int_distribution<int> thousandths(-9999, 99999);
  for (int plans = 0; plans < 40; ++plans) {
    FundingPlan plan;
    std::array<int64_t, kLoanRowCount> rates{};
    for (size_t i = 0; i < plan.rows.size(); ++i) {
      const int32_t amount = rng() % 2 == 0 ? static_cast<int32_t>(rng() % 81999 + 1) : loan(rng);
      const int32_t bonus =
          static_cast<int32_t>(rng() % (static_cast<uint32_t>(amount) + 1)) - (rng() % 5 == 0 ? 1 : 0);
      rates[i] = thousandths(rng);
      plan.rows[i] = MakeRow(static_cast<uint16_t>(1 + rng() % 2), amount, bonus, static_cast<int16_t>(years(rng)),
                             static_cast<double>(rates[i]) * 0.001);
    }
    const PlanSchedule s = BuildPlanSchedule(plan);
    for (const RowSchedule& rs : s.rows) {
      for (const SchedulePart* part : {&rs.monthly, &rs.bonus}) {
        const int64_t divisor = part->kind == SchedulePartKind::Monthly ? 1200000 : 200000;
        int64_t before = part->principal;
        for (const SchedulePayment& p : PartPaymentList(*part)) {
          // before < 2^45 and |rate| < 10^5: the product fits 64 bits.
          const int64_t exact = before * rates[static_cast<size_t>(rs.row)] / divisor;
          ASSERT_EQ(p.interest, std::clamp(exact, -kMaxScheduleInterest, kMaxScheduleInterest))
              << plans << " " << rs.row << " " << p.number;
          before = p.balance;
        }
      }
    }
    CheckSchedule(plan, s, false);
    if (HasFailure()) return;
  }
}

TEST(RepaymentScheduleTest, InvariantsOverRandomRowsWithinTheFormsLimits) {
  std::mt19937 rng(12);
  std::uniform_int_distribution<int> loan(1, 81999);
  std::uniform_int_distribution<int> years(1, 99);
  std::uniform_int_distribution<int> method(1, 2);
  std::uniform_int_distribution<int> rateThousandths(1, 99999);
  for (int plans = 0; plans < 60; ++plans) {
    FundingPlan plan;
    for (LoanRow& row : plan.rows) {
      const int32_t amount = rng() % 4 == 0 ? static_cast<int32_t>(rng() % 50 + 1) : loan(rng);
      const int32_t bonus = static_cast<int32_t>(rng() % (static_cast<uint32_t>(amount) + 1));
      row = MakeRow(static_cast<uint16_t>(method(rng)), amount, rng() % 3 == 0 ? 0 : bonus,
                    static_cast<int16_t>(years(rng)), rateThousandths(rng) * 0.001);
    }
    SCOPED_TRACE(plans);
    CheckSchedule(plan, BuildPlanSchedule(plan), true);
    if (HasFailure()) return;
  }
}

TEST(RepaymentScheduleTest, InvariantsHoldForAnyInputAFileCanHold) {
  const double rates[] = {-99.0, -0.5, 1e-300, 1e-6, 99.999, 1e6, std::numeric_limits<double>::max()};
  const int32_t loans[] = {1, 81990, 2147483647, -2147483647};
  const int32_t bonuses[] = {0, 1, 81990, -2147483647};
  const int16_t periods[] = {1, 99, 700};
  FundingPlan plan;
  size_t next = 0;
  for (double rate : rates) {
    for (int32_t loan : loans) {
      for (int32_t bonus : bonuses) {
        for (int16_t years : periods) {
          for (uint16_t method : {1, 2}) {
            plan.rows[next++] = MakeRow(method, loan, bonus, years, rate);
            if (next < plan.rows.size()) continue;
            CheckSchedule(plan, BuildPlanSchedule(plan), false);
            if (HasFailure()) return;
            next = 0;
          }
        }
      }
    }
  }
}

TEST(RepaymentScheduleTest, NinetyNineYearsOfTheLargestLoanOnEveryRow) {
  FundingPlan plan;
  for (LoanRow& row : plan.rows) row = MakeRow(1, 81990, 32750, 99, 99.999);
  const PlanSchedule s = BuildPlanSchedule(plan);
  CheckSchedule(plan, s, true);
  EXPECT_EQ(s.totals.principal, 10 * int64_t{819900000});
  EXPECT_EQ(s.totals.years, 99);
  EXPECT_GT(s.totals.totalInterest, int64_t{1} << 31);  // far beyond 32 bits, nothing wrapped
}

TEST(RepaymentScheduleTest, Texts) {
  EXPECT_EQ(FormatScheduleYen(44260377), "44,260,377円");
  EXPECT_EQ(FormatScheduleYen(0), "0円");
  EXPECT_EQ(FormatScheduleYen(-1234), "-1,234円");
  EXPECT_EQ(FormatScheduleYen(std::numeric_limits<int64_t>::min()), "-9,223,372,036,854,775,808円");
  EXPECT_EQ(FormatScheduleManYen(819900), "819,900万");
  EXPECT_STREQ(SchedulePartText(SchedulePartKind::Bonus), "ボーナス払");
}

}  // namespace
}  // namespace zorvik
