#include "simulation/apply_result.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/control_ids.h"
#include "core/memory_form_view.h"
#include "core/text_forms.h"
#include "simulation/payment_target.h"
#include "tests/simulation/sim_test_plans.h"
#include "tests/support/editing_session.h"

namespace zorvik {
namespace {

using simtest::MakePlan;
using simtest::TestRow;

size_t At(int row) {
  return static_cast<size_t>(row);
}

const TestRow kEmptyRow{.period = 0, .method = 0};

TEST(BeginSimulation, RemembersTheLoanTotalAndNeedsAPaymentTotal) {
  struct Case {
    double monthly;
    double bonus;
    bool opens;
  };
  for (const Case& c : {Case{0.0, 0.0, false}, Case{1.0, 0.0, true}, Case{0.0, 1.0, true}, Case{-0.0, 0.0, false}}) {
    FundingPlan plan;
    plan.totalLoan = 3210;
    plan.totalMonthly = c.monthly;
    plan.totalBonus = c.bonus;
    int32_t before = -1;
    EXPECT_EQ(BeginSimulation(plan, before), c.opens);
    EXPECT_EQ(before, 3210);  // remembered even when nothing opens
  }
}

TEST(CompactLoanRows, RowsMoveUpWithTheirSuggestedPortion) {
  FundingPlan plan = MakePlan({{.rate = 2.0, .loan = 3000, .bonus = 1200},
                               kEmptyRow,
                               {.rate = 1.0, .loan = 2000, .bonus = 500},
                               kEmptyRow,
                               kEmptyRow});
  plan.rows[At(2)].loanName = "フラット";
  plan.suggestedBonus[At(1)] = 650;       // left behind by a deleted row
  plan.suggestedBonus[At(2)] = 750;       // differs from the rule on purpose
  plan.rows[At(3)].monthlyPayment = 999;  // payments alone do not make a row
  plan.rows[At(4)].periodYears = 20;      // one input does
  const LoanRow formerRow2 = plan.rows[At(2)];
  const LoanRow formerRow4 = plan.rows[At(4)];

  CompactLoanRows(plan);

  EXPECT_TRUE(simtest::SameRow(plan.rows[At(1)], formerRow2));
  EXPECT_EQ(plan.suggestedBonus[At(0)], 1200);
  EXPECT_EQ(plan.suggestedBonus[At(1)], 750);
  EXPECT_TRUE(simtest::SameRow(plan.rows[At(2)], formerRow4));
  for (int row = 3; row < kLoanRowCount; ++row) {
    EXPECT_TRUE(simtest::SameRow(plan.rows[At(row)], LoanRow{})) << row;
    EXPECT_EQ(plan.suggestedBonus[At(row)], 0) << row;
  }
}

TEST(ShowLoanRows, EveryBoxInItsFormAndBlankForZero) {
  FundingPlan plan = MakePlan({{.rate = 2.375, .period = 35, .loan = 3000, .bonus = 1200, .method = 2}});
  plan.rows[At(0)].loanName = "住宅ローン";
  plan.rows[At(1)].method = 7;  // not a list entry
  MemoryFormView view;
  view.SetText(ids::kRate[1], "1.000％");
  ShowLoanRows(plan, view);
  EXPECT_EQ(view.Text(ids::kLoanName[0]), "住宅ローン");
  EXPECT_EQ(view.Selection(ids::kMethod[0]), 1);
  EXPECT_EQ(view.Text(ids::kRate[0]), "2.375％");
  EXPECT_EQ(view.Text(ids::kPeriod[0]), "35年");
  EXPECT_EQ(view.Text(ids::kLoanAmount[0]), "3,000万");
  EXPECT_EQ(view.Text(ids::kBonusAmount[0]), "1,200万");
  EXPECT_EQ(view.Text(ids::kMonthlyPayment[0]), "78,482円");
  EXPECT_EQ(view.Text(ids::kBonusPayment[0]), "313,928円");
  EXPECT_EQ(view.Selection(ids::kMethod[1]), -1);
  for (int id : {ids::kLoanName[1], ids::kRate[1], ids::kPeriod[1], ids::kLoanAmount[1], ids::kBonusAmount[1],
                 ids::kMonthlyPayment[1], ids::kBonusPayment[1]}) {
    EXPECT_EQ(view.Text(id), "") << id;
  }
}

class ApplyResultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plan = MakePlan({{.rate = 3.0, .period = 35, .loan = 2000, .bonus = 800},
                     kEmptyRow,
                     {.rate = 1.0, .period = 30, .loan = 1000, .bonus = 400}});
    plan.landPrice = 2500;
    plan.buildingPrice = 1800;
    plan.requiredFundsTotal = 4300;
    plan.miscCosts = 200;
    plan.annualIncome = 600;
    plan.fundsMinusLoans = plan.requiredFundsTotal - plan.totalLoan;
    plan.ownFundsNeeded = plan.fundsMinusLoans + plan.miscCosts;
    ASSERT_TRUE(BeginSimulation(plan, before));
  }

  SimulationWork Run(bool monthly, double desired, int32_t keep) {
    SimulationWork work = MakeSimulationWork(plan);
    work.desiredAmount = desired;
    work.keepLoanAmounts = keep;
    const SimulationOutcome outcome = monthly ? SimulateMonthlyTarget(work) : SimulateBonusTarget(work);
    EXPECT_EQ(outcome.status, SimulationStatus::Done);
    ApplySimulationOutcome(work, outcome);
    return work;
  }

  FundingPlan plan;
  MemoryFormView view;
  int32_t before = 0;
};

TEST_F(ApplyResultTest, HigherLoanTotalWritesEverythingAndWarnsOnce) {
  const SimulationWork work = Run(true, plan.totalMonthly + 200000, 0);
  ASSERT_GT(work.totalLoan, before);
  ApplySimulationResult(plan, view, work, before);

  ASSERT_EQ(view.messages().size(), 1u);
  EXPECT_EQ(view.messages()[0].first,
            "■シミュレーションの結果、借入額を増額しました！\n\n金融機関の借り入れ限度額を超えていないかどうか、\n借"
            "り入れ予定の金融機関の窓口にお問い合わ下さい。");
  EXPECT_EQ(view.messages()[0].second, "ゾルビク");

  // Row 2 moved up to row 1; the plan's totals are those of the work.
  EXPECT_EQ(plan.rows[At(1)].ratePercent, 1.0);
  EXPECT_EQ(plan.rows[At(1)].loanAmount, work.rows[At(2)].loanAmount);
  EXPECT_EQ(plan.suggestedBonus[At(1)], 400);
  EXPECT_EQ(plan.rows[At(2)].loanAmount, 0);
  EXPECT_EQ(plan.totalLoan, work.totalLoan);
  EXPECT_EQ(plan.totalMonthly, work.resultMonthly);
  EXPECT_EQ(plan.totalBonus, work.resultBonus);
  EXPECT_EQ(plan.totalBonusAmount, work.totalBonusAmount);
  EXPECT_EQ(plan.annualRepayment, work.annualRepayment);
  int64_t loans = 0, portions = 0;
  for (const LoanRow& row : plan.rows) {
    loans += row.loanAmount;
    portions += row.bonusAmount;
  }
  EXPECT_EQ(plan.totalLoan, loans);
  EXPECT_EQ(plan.totalBonusAmount, portions);
  EXPECT_EQ(plan.fundsMinusLoans, 4300 - plan.totalLoan);
  EXPECT_EQ(plan.ownFundsNeeded, plan.fundsMinusLoans + 200);

  EXPECT_EQ(view.Text(ids::kTotalLoan), FormatTotalAmount(plan.totalLoan));
  EXPECT_EQ(view.Text(ids::kFundsMinusLoans), FormatSignedAmount(plan.fundsMinusLoans));
  EXPECT_EQ(view.Text(ids::kOwnFundsNeeded), FormatSignedAmount(plan.ownFundsNeeded));
  EXPECT_EQ(view.Text(ids::kTotalMonthly), FormatYen(plan.totalMonthly));
  EXPECT_EQ(view.Text(ids::kAnnualRepayment), FormatYen(plan.annualRepayment));
  EXPECT_EQ(view.Text(ids::kLoanAmount[1]), FormatLoanAmount(plan.rows[At(1)].loanAmount));
  EXPECT_EQ(view.Text(ids::kLoanAmount[2]), "");
  EXPECT_DOUBLE_EQ(plan.repaymentRatio, plan.annualRepayment / 600 * 0.01);
  EXPECT_EQ(view.Text(ids::kRepaymentRatio), FormatRatio(plan.repaymentRatio));
}

TEST_F(ApplyResultTest, EqualOrLowerLoanTotalShowsNoWarning) {
  for (int32_t keep : {1, 0}) {
    SetUp();
    view.clearMessages();
    const SimulationWork work = Run(true, plan.totalMonthly - 5000, keep);
    EXPECT_LE(work.totalLoan, before);
    ApplySimulationResult(plan, view, work, before);
    EXPECT_TRUE(view.messages().empty()) << keep;
  }
}

TEST_F(ApplyResultTest, ZeroTotalsShowBlankExceptTheMonthlyTotal) {
  // Every portion lowered to 0 by a negative per-bonus target, then a work whose totals are 0.
  SimulationWork work = Run(false, -1.0, 1);
  EXPECT_EQ(work.resultBonus, 0.0);
  EXPECT_EQ(work.totalBonusAmount, 0);
  work.resultMonthly = 0.0;
  work.annualRepayment = 0.0;
  work.totalLoan = 0;
  plan.requiredFundsTotal = 0;
  plan.miscCosts = 0;
  ApplySimulationResult(plan, view, work, before);
  EXPECT_EQ(view.Text(ids::kTotalBonus), "");
  EXPECT_EQ(view.Text(ids::kTotalBonusAmount), "");
  EXPECT_EQ(view.Text(ids::kTotalMonthly), "0円");
  EXPECT_EQ(view.Text(ids::kTotalLoan), "");
  EXPECT_EQ(view.Text(ids::kAnnualRepayment), "");
  EXPECT_EQ(view.Text(ids::kFundsMinusLoans), "");
  EXPECT_EQ(view.Text(ids::kOwnFundsNeeded), "");
  EXPECT_EQ(view.Text(ids::kRepaymentRatio), "");
}

TEST_F(ApplyResultTest, NamesRatesPeriodsAndReferenceSumsAreNotTakenFromTheWork) {
  SimulationWork work = Run(true, plan.totalMonthly - 5000, 1);
  work.rows[At(0)].loanName = "changed";
  work.rows[At(0)].ratePercent = 9.0;
  work.rows[At(0)].periodYears = 9;
  work.rows[At(0)].method = 2;
  work.recalcMonthlySum = 1;
  work.suggestedBonus[At(0)] = 12345;
  const FundingPlan original = plan;
  ApplySimulationResult(plan, view, work, before);
  EXPECT_EQ(plan.rows[At(0)].loanName, original.rows[At(0)].loanName);
  EXPECT_EQ(plan.rows[At(0)].ratePercent, 3.0);
  EXPECT_EQ(plan.rows[At(0)].periodYears, 35);
  EXPECT_EQ(plan.rows[At(0)].method, 1);
  EXPECT_EQ(plan.recalcMonthlySum, original.recalcMonthlySum);
  EXPECT_EQ(plan.recalcBonusSum, original.recalcBonusSum);
  EXPECT_EQ(plan.suggestedBonus[At(0)], original.suggestedBonus[At(0)]);
  EXPECT_EQ(plan.rows[At(0)].bonusAmount, work.rows[At(0)].bonusAmount);
}

// An accepted simulation writes totals that are the sums of its complete rows, so the rows
// taking the totals over again on the next edit keeps its outcome. Plans come from random
// editing sessions; each session ends with a random target, accepted, and a few more edits.
TEST(AcceptedSimulationProperty, WrittenTotalsAreTheSumsOfTheRows) {
  int accepted = 0;
  for (uint32_t session = 0; session < 400; ++session) {
    EditingSession editing(7000 + session);
    FundingPlan& plan = editing.plan();
    for (int row = 0; row < 3; ++row) editing.FillRow(row);
    for (int event = 0; event < 12; ++event) editing.Step();
    int32_t before = 0;
    if (!BeginSimulation(plan, before)) continue;
    SimulationWork work = MakeSimulationWork(plan);
    const bool monthly = editing.rng()() % 2 == 0;
    const double current = monthly ? plan.totalMonthly : plan.totalBonus;
    work.desiredAmount = std::floor(current * std::uniform_real_distribution<double>(-0.2, 2.0)(editing.rng()));
    work.keepLoanAmounts = static_cast<int32_t>(editing.rng()() % 2);
    const SimulationOutcome outcome = monthly ? SimulateMonthlyTarget(work) : SimulateBonusTarget(work);
    if (outcome.status != SimulationStatus::Done) continue;
    ApplySimulationOutcome(work, outcome);
    ApplySimulationResult(plan, editing.view(), work, before);
    ++accepted;
    const std::string where =
        "session " + std::to_string(session) + (monthly ? " monthly " : " bonus ") + std::to_string(work.desiredAmount);
    ASSERT_EQ(editing.Violation(), "") << where;
    for (int event = 0; event < 10; ++event) {
      const std::string step = editing.Step();
      ASSERT_EQ(editing.Violation(), "") << where << ", then " << step;
    }
  }
  EXPECT_GT(accepted, 200);
}

}  // namespace
}  // namespace zorvik
