#include "core/prepayment.h"

#include <gtest/gtest.h>

#include <random>

#include "core/plan_evaluation.h"
#include "core/rate_scenario.h"

namespace zorvik {
namespace {

LoanRow Row(double rate, int16_t years, int32_t loan, int32_t bonus = 0, uint16_t method = 1) {
  LoanRow row;
  row.method = method;
  row.ratePercent = rate;
  row.periodYears = years;
  row.loanAmount = loan;
  row.bonusAmount = bonus;
  return row;
}

// Figures published by lenders' prepayment simulators for 3,000万 loans, 元利均等, no bonus part.
TEST(PrepaymentTest, PublishedCases) {
  struct Case {
    double rate;
    int16_t years;
    int32_t after;
    int64_t typed;
    PrepaymentKind kind;
    int32_t removed;
    int64_t amount, saved, newPayment;
  };
  const PrepaymentKind shorten = PrepaymentKind::ShortenTerm;
  for (const Case& c : {Case{2.3, 30, 60, 1000000, shorten, 16, 1054999, 792041, 115440},
                        Case{2.3, 30, 36, 1000000, shorten, 16, 1007613, 839427, 115440},
                        Case{3.0, 35, 60, 1011934, shorten, 21, 1011934, 1412621, 115455},
                        Case{2.0, 30, 0, 1000000, PrepaymentKind::ReducePayment, 0, 1000000, -1, 107189}}) {
    SCOPED_TRACE(c.rate);
    const SchedulePart part = MakeSchedulePart(Row(c.rate, c.years, 3000), SchedulePartKind::Monthly);
    const PrepaymentResult r = PrepayPart(part, c.after, c.typed, c.kind);
    EXPECT_EQ(r.refused, PrepaymentRefusal::None);
    EXPECT_EQ(r.paymentsRemoved, c.removed);
    EXPECT_EQ(r.amount, c.amount);
    EXPECT_EQ(c.saved < 0 || r.interestSaved == c.saved, true) << r.interestSaved;
    EXPECT_EQ(r.newPayment, c.newPayment);
  }
  EXPECT_EQ(ShortenedTermText(16, 12), "1年4か月");
  EXPECT_EQ(ShortenedTermText(6, 12), "6か月");
}

TEST(PrepaymentTest, RefusalsNameTheirReason) {
  const SchedulePart part = MakeSchedulePart(Row(2.3, 30, 3000), SchedulePartKind::Monthly);
  const auto refused = [&](int32_t after, int64_t amount, ShortenRule rule = ShortenRule::AtLeastAmount) {
    return PrepayPart(part, after, amount, PrepaymentKind::ShortenTerm, rule).refused;
  };
  EXPECT_EQ(refused(0, 0), PrepaymentRefusal::NoAmount);
  EXPECT_EQ(refused(360, 1000), PrepaymentRefusal::AfterOutOfRange);
  EXPECT_EQ(refused(-1, 1000), PrepaymentRefusal::AfterOutOfRange);
  EXPECT_EQ(refused(0, 30000001), PrepaymentRefusal::AboveBalance);
  EXPECT_EQ(refused(0, 1000, ShortenRule::AtMostAmount), PrepaymentRefusal::BelowFirstShare);
  EXPECT_EQ(refused(358, 200000), PrepaymentRefusal::NeedsLastPayment);
  const PrepaymentResult payoff = PrepayPart(part, 0, 30000000, PrepaymentKind::ReducePayment);
  EXPECT_TRUE(payoff.paysOff);
  for (const PrepaymentRefusal r : {PrepaymentRefusal::NoAmount, PrepaymentRefusal::NeedsLastPayment}) {
    EXPECT_FALSE(PrepaymentRefusalText(r).empty());
  }
}

// Random loans and prepayments: a 期間短縮型 prepayment of a level loan saves exactly the interest of
// the removed payments (amount + saved = j x payment when no last payment is among them), the
// balance ends at 0, and no prepayment raises 総返済額.
TEST(PrepaymentTest, PropertiesOverRandomLoans) {
  std::mt19937 gen(31);
  for (int trial = 0; trial < 200; ++trial) {
    const uint16_t method = trial % 3 == 0 ? 2 : 1;
    const bool withBonus = trial % 4 == 0;
    const int32_t loan = 500 + static_cast<int32_t>(gen() % 8000);
    RowSchedule row =
        BuildRowSchedule(Row(0.3 + static_cast<double>(gen() % 4000) / 1000.0, static_cast<int16_t>(5 + gen() % 31),
                             loan, withBonus ? loan / 4 : 0, method),
                         0);
    const RowSchedule original = row;
    PlannedPrepayment p;
    p.afterPayment = static_cast<int32_t>(gen() % static_cast<uint32_t>(row.monthly.paymentCount / 2));
    p.amount = 10000 + static_cast<int64_t>(gen() % 3000000);
    p.kind = trial % 2 == 0 ? PrepaymentKind::ShortenTerm : PrepaymentKind::ReducePayment;
    p.rule = trial % 5 == 0 ? ShortenRule::AtMostAmount : ShortenRule::AtLeastAmount;
    const PrepaymentResult r = PrepayRow(row, p);
    if (r.refused != PrepaymentRefusal::None) continue;
    const RowSchedule after = BuildRowSchedule(row.loan, 0, [&row](RowSchedule& made) {
      made.monthly = row.monthly;
      made.bonus = row.bonus;
    });
    EXPECT_EQ(after.totals.principal, original.totals.principal);
    EXPECT_LE(after.totals.totalRepaid, original.totals.totalRepaid);
    EXPECT_EQ(original.totals.totalInterest - after.totals.totalInterest, r.interestSaved);
    for (const SchedulePart* part : {&row.monthly, &row.bonus}) {
      if (!part->HasPayments()) continue;
      const auto lines = PartPaymentList(*part);
      EXPECT_EQ(lines.back().balance, 0);
      for (const auto& l : lines) EXPECT_GE(l.balance, 0);
    }
    if (p.kind == PrepaymentKind::ShortenTerm && method == 1 && !withBonus) {
      EXPECT_EQ(r.amount + r.interestSaved, r.paymentsRemoved * original.monthly.firstPayment);
    }
  }
}

}  // namespace
}  // namespace zorvik

namespace zorvik {
namespace {

// Through a plan: the prepayment is a line of its own (its payment is its principal), the plan's
// totals still add up, and a prepayment on a row without a schedule is refused.
TEST(PrepaymentTest, ThroughThePlanSchedule) {
  FundingPlan plan;
  plan.rows[0] = Row(2.3, 30, 3000);
  RateScenario scenario;
  scenario.prepayments = {{0, 60, 1000000, PrepaymentKind::ShortenTerm, ShortenRule::AtLeastAmount, false},
                          {4, 0, 1000000, PrepaymentKind::ShortenTerm, ShortenRule::AtLeastAmount, false}};
  PrepaymentResults results;
  const PlanSchedule s = BuildPlanSchedule(plan, scenario, &results);
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0].amount, 1054999);
  EXPECT_EQ(results[1].refused, PrepaymentRefusal::NoSuchPart);
  EXPECT_EQ(s.totals.paymentCount, 360 - 16);
  EXPECT_EQ(s.totals.totalRepaid, s.totals.principal + s.totals.totalInterest);
  EXPECT_EQ(BuildPlanSchedule(plan).totals.totalInterest - s.totals.totalInterest, 792041);
  const auto lines = PartPaymentList(s.rows[0].monthly);
  EXPECT_TRUE(lines[60].prepayment);
  EXPECT_EQ(lines[60].payment, 1054999);
  EXPECT_EQ(lines[61].number, 61);
  EXPECT_EQ(SummarizeScenario(s, 0).lastPayment, lines.back().payment);
}

}  // namespace
}  // namespace zorvik

namespace zorvik {
namespace {

TEST(PrepaymentTest, CommandLineForm) {
  EXPECT_EQ(ParsePrepaymentOption("1:60:100万:shorten"),
            (PlannedPrepayment{0, 60, 1000000, PrepaymentKind::ShortenTerm, ShortenRule::AtLeastAmount, false}));
  EXPECT_EQ(ParsePrepaymentOption("10:0:1500000:reduce:bonus"),
            (PlannedPrepayment{9, 0, 1500000, PrepaymentKind::ReducePayment, ShortenRule::AtLeastAmount, true}));
  for (const char* bad : {"0:60:100:shorten", "11:60:100:shorten", "1:60:100", "1:x:100:reduce", "1:60:1.5万:reduce",
                          "1:60:100:faster", "1:60:100:reduce:monthly", "1:60:万:reduce", ""}) {
    std::string error;
    EXPECT_FALSE(ParsePrepaymentOption(bad, &error)) << bad;
    EXPECT_NE(error.find("繰上返済の指定「"), std::string::npos) << bad;
  }
}

}  // namespace
}  // namespace zorvik
