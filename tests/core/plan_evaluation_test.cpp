#include "core/plan_evaluation.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/editing_session.h"

namespace zorvik {
namespace {

// The worked example: 3,000万 with 1,200万 through the bonuses, 2.375 % over 35 years (元利均等),
// on an income of 600万.
FundingPlan WorkedExample() {
  FundingPlan plan;
  plan.ResetToNewPlan(PlanDate{2026, 12, 8});
  plan.annualIncome = 600;
  LoanRow& row = plan.rows[0];
  row.loanName = "フラット35";
  row.method = 1;
  row.ratePercent = 2.375;
  row.periodYears = 35;
  row.loanAmount = 3000;
  row.bonusAmount = 1200;
  row.monthlyPayment = 63149;
  row.bonusPayment = 253397;
  plan.totalLoan = 3000;
  plan.totalBonusAmount = 1200;
  plan.totalMonthly = 63149;
  plan.totalBonus = 253397;
  plan.annualRepayment = 12 * 63149 + 2 * 253397;
  plan.repaymentRatio = plan.annualRepayment / 600 * 0.01;
  return plan;
}

TEST(PlanEvaluationTest, WorkedExampleStoredAndComputedAgree) {
  const PlanEvaluation e = EvaluatePlan(WorkedExample());
  EXPECT_EQ(e.computed.rows[0], (RowPayments{63149, 253397}));
  EXPECT_EQ(e.computed.annualRepayment, 1264582.0);
  ASSERT_TRUE(e.computed.ratioPercent.has_value());
  EXPECT_NEAR(*e.computed.ratioPercent, 21.076, 0.001);
  EXPECT_FALSE(e.StoredFiguresDiffer());
  EXPECT_EQ(e.texts.rows[0].monthlyPayment, "63,149円");
  EXPECT_EQ(e.schedule.rows.size(), 1u);
}

TEST(PlanEvaluationTest, StoredFiguresAreShownAndTheScheduleIsComputed) {
  // A file written elsewhere holds 59,074円 a month where its inputs give 63,149円.
  FundingPlan plan = WorkedExample();
  plan.rows[0].monthlyPayment = 59074;
  plan.totalMonthly = 59074;
  const PlanEvaluation e = EvaluatePlan(plan);
  EXPECT_TRUE(e.StoredFiguresDiffer());
  EXPECT_EQ(e.stored.rows[0].monthly, 59074);
  EXPECT_EQ(e.computed.rows[0].monthly, 63149);
  EXPECT_EQ(e.texts.rows[0].monthlyPayment, "59,074円");
  EXPECT_EQ(e.texts.totalMonthly, "59,074円");
  EXPECT_TRUE(e.schedule.storedPaymentsDiffer);
  EXPECT_EQ(e.schedule.rows[0].monthly.firstPayment, 63149);
}

TEST(PlanEvaluationTest, NoRatioWithoutIncomeAndOnlyCompleteRowsCount) {
  FundingPlan plan = WorkedExample();
  plan.annualIncome = 0;
  plan.rows[1].loanAmount = 500;  // no rate, period or method: not complete
  const PlanEvaluation e = EvaluatePlan(plan);
  EXPECT_FALSE(e.computed.ratioPercent.has_value());
  EXPECT_EQ(e.computed.rows[1], RowPayments{});
  EXPECT_EQ(e.computed.totalMonthly, 63149.0);
}

// Whatever the user types, the evaluation of the plan agrees with the figures the form shows.
TEST(PlanEvaluationTest, AgreesWithTheFormAfterAnyEditing) {
  for (uint32_t session = 1; session <= 60; ++session) {
    EditingSession editing(session);
    std::string events;
    for (int event = 0; event < 30; ++event) {
      events += editing.Step() + "; ";
      const PlanEvaluation e = EvaluatePlan(editing.plan());
      ASSERT_FALSE(e.StoredFiguresDiffer()) << "session " << session << ": " << events;
    }
  }
}

}  // namespace
}  // namespace zorvik
