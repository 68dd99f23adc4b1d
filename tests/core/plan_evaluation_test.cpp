#include "core/plan_evaluation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/editing_session.h"
#include "tests/support/worked_plan.h"

namespace zorvik {
namespace {

TEST(PlanEvaluationTest, WorkedExampleStoredAndComputedAgree) {
  const PlanEvaluation e = EvaluatePlan(WorkedPlan());
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
  FundingPlan plan = WorkedPlan();
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
  FundingPlan plan = WorkedPlan();
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

// After any editing, once the box being edited is left, the form shows the plan's own texts, so a
// sheet printed from the plan is the sheet of what the form shows.
TEST(PlanEvaluationTest, FormShowsThePlansTextsAfterAnyEditing) {
  std::vector<int> textIds;  // every control a plan has a text for
  ReadPlanTexts([&textIds](int id) {
    textIds.push_back(id);
    return std::string();
  });
  for (uint32_t session = 1; session <= 60; ++session) {
    EditingSession editing(session);
    ShowLoadedPlan(editing.plan(), editing.view());  // the new plan on the form
    std::string events;
    for (int event = 0; event < 30; ++event) {
      events += editing.Step() + "; ";
      const PlanTexts shown = ReadPlanTexts([&](int id) { return editing.view().Text(id); });
      const PlanTexts held = MakePlanTexts(editing.plan());
      for (int id : textIds) {
        ASSERT_EQ(shown.Text(id), held.Text(id)) << "control " << id << ", session " << session << ": " << events;
      }
    }
  }
}

}  // namespace
}  // namespace zorvik
