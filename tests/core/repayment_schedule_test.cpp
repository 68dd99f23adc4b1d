#include "core/repayment_schedule.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <random>
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

// One-year schedules worked by hand. 12% a year is 0.12 x 0.08333333333333333 a month, a hair
// below 1%, so the first month's interest on 1,000,000円 truncates to 9,999円.
const Worked kWorked[] = {
    {"LevelMonthly",
     1,
     100,
     0,
     12.0,
     SchedulePartKind::Monthly,
     {{88848, 78849, 9999, 921151},
      {88848, 79637, 9211, 841514},
      {88848, 80433, 8415, 761081},
      {88848, 81238, 7610, 679843},
      {88848, 82050, 6798, 597793},
      {88848, 82871, 5977, 514922},
      {88848, 83699, 5149, 431223},
      {88848, 84536, 4312, 346687},
      {88848, 85382, 3466, 261305},
      {88848, 86235, 2613, 175070},
      {88848, 87098, 1750, 87972},
      {88851, 87972, 879, 0}}},  // the last payment takes up the three yen the truncations left
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
     {{93333, 83334, 9999, 916666},
      {92499, 83333, 9166, 833333},
      {91666, 83333, 8333, 750000},
      {90832, 83333, 7499, 666667},
      {89999, 83333, 6666, 583334},
      {89166, 83333, 5833, 500001},
      {88333, 83333, 5000, 416668},
      {87499, 83333, 4166, 333335},
      {86666, 83333, 3333, 250002},
      {85833, 83333, 2500, 166669},
      {84999, 83333, 1666, 83336},
      {84169, 83336, 833, 0}}},
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
  EXPECT_EQ(PartPaymentList(row.monthly).back(), (SchedulePayment{420, 35, 63157, 63033, 124, 0}));
  EXPECT_EQ(PartPaymentList(row.bonus).back(), (SchedulePayment{70, 35, 253396, 250423, 2973, 0}));
  EXPECT_EQ(row.monthlyTotals, (ScheduleTotals{18000000, 26522588, 8522588, 35, 420}));
  EXPECT_EQ(row.bonusTotals, (ScheduleTotals{12000000, 17737789, 5737789, 35, 70}));
  EXPECT_EQ(s.totals, (ScheduleTotals{30000000, 44260377, 14260377, 35, 490}));
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
// at payment 1157 of 1188; that payment repays the 4円 that are left and the loan ends there.
TEST(RepaymentScheduleTest, TinyLoanEndsWhenItIsRepaid) {
  const std::vector<SchedulePayment> p =
      PartPaymentList(MakeSchedulePart(MakeRow(1, 1, 0, 99, 1.0), SchedulePartKind::Monthly));
  ASSERT_EQ(p.size(), 1157u);
  EXPECT_EQ(p.back(), (SchedulePayment{1157, 97, 4, 4, 0, 0}));
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
        // The first payment is the one the form shows.
        EXPECT_EQ(list[0].payment, part->firstPayment);
        const int32_t shown =
            part->kind == SchedulePartKind::Monthly
                ? CalcMonthlyPayment(rs.loan.loanAmount, rs.loan.bonusAmount, rs.loan.method, rs.loan.periodYears,
                                     rs.loan.ratePercent)
                : CalcBonusPayment(rs.loan.bonusAmount, rs.loan.method, rs.loan.periodYears, rs.loan.ratePercent);
        EXPECT_EQ(part->firstPayment, shown);
        for (size_t i = 1; i + 1 < list.size(); ++i) {
          if (part->method == 1) {
            ASSERT_EQ(list[i].payment, part->firstPayment);
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
  for (const LoanRow& row : plan.rows) scheduled += HasSchedule(row) ? 1 : 0;
  EXPECT_EQ(s.rows.size(), scheduled);
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
