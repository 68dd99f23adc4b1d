#include "simulation/payment_target.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/repayment.h"
#include "tests/simulation/sim_test_plans.h"

namespace zorvik {
namespace {

using simtest::Bonus;
using simtest::MakePlan;
using simtest::MakeWork;
using simtest::Monthly;
using simtest::TestRow;

using Order = std::array<int32_t, kLoanRowCount>;

TEST(RowOrders, RatesHighestFirstWithBothTieRules) {
  SimulationWork work = MakeWork({{.rate = 2.0, .loan = 100},
                                  {.rate = 2.0, .loan = 100},
                                  {.rate = 3.0, .loan = 100},
                                  {.rate = 0.0, .loan = 100},
                                  {.rate = 1.0, .loan = 100},
                                  {.rate = 2.0, .loan = 100}},
                                 1.0);
  EXPECT_EQ(BuildRateOrder(work), 5);
  EXPECT_EQ(work.rateOrder, (Order{2, 5, 1, 0, 4, 10, 10, 10, 10, 10}));
  EXPECT_EQ(BuildRateOrderStable(work), 5);
  EXPECT_EQ(work.rateOrderStable, (Order{2, 0, 1, 5, 4, 10, 10, 10, 10, 10}));
}

TEST(RowOrders, NoTakingPartRowLeavesOnlySentinels) {
  SimulationWork work = MakeWork({{.rate = 0.0, .loan = 100}}, 1.0);
  EXPECT_EQ(BuildRateOrder(work), 0);
  EXPECT_EQ(work.rateOrder, (Order{10, 10, 10, 10, 10, 10, 10, 10, 10, 10}));
}

TEST(SimulationWorkTest, FilledFromThePlan) {
  FundingPlan plan = MakePlan({{.rate = 2.0, .loan = 3000, .bonus = 1200}});
  plan.annualIncome = 600;
  plan.repaymentRatio = 12.5;
  const SimulationWork work = MakeSimulationWork(plan);
  EXPECT_EQ(work.desiredAmount, 0.0);
  EXPECT_EQ(work.keepLoanAmounts, 1);
  EXPECT_EQ(work.currentMonthly, plan.totalMonthly);
  EXPECT_EQ(work.resultMonthly, plan.totalMonthly);
  EXPECT_EQ(work.currentBonus, plan.totalBonus);
  EXPECT_EQ(work.resultBonus, plan.totalBonus);
  EXPECT_EQ(work.totalLoan, 3000);
  EXPECT_EQ(work.totalBonusAmount, 1200);
  EXPECT_EQ(work.annualIncome, 600);
  EXPECT_EQ(work.annualRepayment, plan.annualRepayment);
  EXPECT_EQ(work.repaymentRatio, 12.5);
  EXPECT_EQ(work.suggestedBonus[0], 1200);
  EXPECT_EQ(work.recalcMonthlySum, plan.recalcMonthlySum);
  EXPECT_EQ(work.recalcBonusSum, plan.recalcBonusSum);
  EXPECT_TRUE(simtest::SameRow(work.rows[0], plan.rows[0]));
}

// ---- the common frame ----------------------------------------------------------------------

TEST(CommonFrame, MissingOrUnchangedAmountRunsNothing) {
  const SimulationWork original = MakeWork({{.rate = 2.0, .loan = 3000, .bonus = 1200}}, 0.0);
  struct Case {
    std::string name;
    bool monthly;
    double desired;
    SimulationStatus status;
  };
  const std::vector<Case> cases = {
      {"monthly zero", true, 0.0, SimulationStatus::AmountMissing},
      {"monthly negative zero", true, -0.0, SimulationStatus::AmountMissing},
      {"monthly same", true, original.currentMonthly, SimulationStatus::SameAsCurrent},
      {"bonus zero", false, 0.0, SimulationStatus::AmountMissing},
      {"bonus same", false, original.currentBonus, SimulationStatus::SameAsCurrent},
  };
  for (const Case& c : cases) {
    for (int keep : {0, 1}) {
      SimulationWork work = original;
      work.desiredAmount = c.desired;
      work.keepLoanAmounts = keep;
      const SimulationOutcome outcome = c.monthly ? SimulateMonthlyTarget(work) : SimulateBonusTarget(work);
      EXPECT_EQ(outcome.status, c.status) << c.name;
      EXPECT_TRUE(simtest::SameRow(work.rows[0], original.rows[0])) << c.name;
      EXPECT_EQ(work.rateOrder, original.rateOrder) << c.name;
      ApplySimulationOutcome(work, outcome);
      EXPECT_EQ(work.resultMonthly, original.resultMonthly) << c.name;
      EXPECT_EQ(work.totalBonusAmount, original.totalBonusAmount) << c.name;
    }
  }
}

// ---- bonus-portion steps on one row: loan 500 (cap 200), portion 120 ------------------------

const TestRow kStepRow{.rate = 2.0, .period = 35, .loan = 500, .bonus = 120};

struct StepCase {
  std::string name;
  bool monthly;
  double desired;
  int32_t expectedBonus;
};

TEST(BonusPortionSteps, MoveOnTheGridOfFifty) {
  const TestRow& r = kStepRow;
  const std::vector<StepCase> cases = {
      // Raising for a lower monthly total: 120 -> 150 -> 200.
      {"monthly down to 150", true, double(Monthly(r, 500, 150)), 150},
      {"monthly down to 200", true, double(Monthly(r, 500, 200)), 200},
      // Lowering for a higher monthly total: 120 -> 100 -> 50 -> 0.
      {"monthly up to 100", true, double(Monthly(r, 500, 100)), 100},
      {"monthly up to 50", true, double(Monthly(r, 500, 50)), 50},
      {"monthly up to 0", true, double(Monthly(r, 500, 0)), 0},
      // Raising for a higher per-bonus total: 120 -> 150.
      {"bonus up to 150", false, double(Bonus(r, 150)), 150},
      {"bonus up to the reachable highest", false, double(Bonus(r, 200)), 200},
      // Lowering for a lower per-bonus total: the step below D is taken back when the one
      // before was closer.
      {"bonus down to 100", false, double(Bonus(r, 100)), 100},
      {"bonus down to 50", false, double(Bonus(r, 50)), 50},
      {"bonus down to nothing", false, 1.0, 0},
  };
  for (const StepCase& c : cases) {
    SimulationWork work = MakeWork({r}, c.desired);
    const SimulationOutcome outcome = c.monthly ? SimulateMonthlyTarget(work) : SimulateBonusTarget(work);
    ASSERT_EQ(outcome.status, SimulationStatus::Done) << c.name;
    const LoanRow& row = work.rows[0];
    EXPECT_EQ(row.bonusAmount, c.expectedBonus) << c.name;
    EXPECT_EQ(row.loanAmount, 500) << c.name;
    EXPECT_EQ(row.monthlyPayment, Monthly(r, 500, c.expectedBonus)) << c.name;
    EXPECT_EQ(row.bonusPayment, Bonus(r, c.expectedBonus)) << c.name;
    EXPECT_EQ(outcome.monthlyTotal, row.monthlyPayment) << c.name;
    EXPECT_EQ(outcome.bonusTotal, row.bonusPayment) << c.name;
    EXPECT_EQ(outcome.bonusAmountTotal, c.expectedBonus) << c.name;
    EXPECT_EQ(outcome.loanTotal, 500) << c.name;
  }
}

TEST(ClosestValue, TieKeepsTheStepThatPassedTheDesiredAmount) {
  const TestRow r{.rate = 2.0, .period = 35, .loan = 500, .bonus = 100};
  const double p = Monthly(r, 500, 150);  // before the last step when lowering the monthly total
  const double s = Monthly(r, 500, 200);  // after it
  const double q = Monthly(r, 500, 50);   // before the last step when raising it
  const double t = Monthly(r, 500, 0);
  const std::vector<StepCase> cases = {
      {"lowering, exact tie", true, (p + s) / 2, 200},
      {"lowering, the state before is closer", true, (p + s) / 2 + 0.25, 150},
      {"lowering, the state after is closer", true, (p + s) / 2 - 0.25, 200},
      {"raising, exact tie", true, (q + t) / 2, 0},
      {"raising, the state before is closer", true, (q + t) / 2 - 0.25, 50},
      {"raising, the state after is closer", true, (q + t) / 2 + 0.25, 0},
  };
  for (const StepCase& c : cases) {
    SimulationWork work = MakeWork({r}, c.desired);
    const SimulationOutcome outcome = SimulateMonthlyTarget(work);
    EXPECT_EQ(work.rows[0].bonusAmount, c.expectedBonus) << c.name;
    EXPECT_EQ(outcome.monthlyTotal, Monthly(r, 500, c.expectedBonus)) << c.name;
  }
}

// ---- which row moves first --------------------------------------------------------------------

TEST(EqualRates, WhichRowMovesFirstInEachDirection) {
  const TestRow empty{.rate = 2.0, .loan = 1000, .bonus = 0};
  const TestRow full{.rate = 2.0, .loan = 1000, .bonus = 400};
  struct Case {
    std::string name;
    bool monthly;
    TestRow shape;
    double desired;
    int32_t row0;
    int32_t row1;
  };
  const double m0 = Monthly(empty, 1000, 0), m50 = Monthly(empty, 1000, 50);
  const double m400 = Monthly(full, 1000, 400), m350 = Monthly(full, 1000, 350);
  const double b400 = Bonus(full, 400), b350 = Bonus(full, 350), b50 = Bonus(empty, 50);
  const std::vector<Case> cases = {
      // Lower monthly total: portions raised along rateOrder, the higher index first.
      {"monthly down", true, empty, m0 + m50, 0, 50},
      // Higher monthly total: portions lowered along rateOrderStable from its end.
      {"monthly up", true, full, m400 + m350, 400, 350},
      // Higher per-bonus total: rateOrder from its end, the lower index first.
      {"bonus up", false, empty, b50, 50, 0},
      // Lower per-bonus total: rateOrder from its start, the higher index first.
      {"bonus down", false, full, b400 + b350, 400, 350},
  };
  for (const Case& c : cases) {
    SimulationWork work = MakeWork({c.shape, c.shape}, c.desired);
    const SimulationOutcome outcome = c.monthly ? SimulateMonthlyTarget(work) : SimulateBonusTarget(work);
    EXPECT_EQ(work.rows[0].bonusAmount, c.row0) << c.name;
    EXPECT_EQ(work.rows[1].bonusAmount, c.row1) << c.name;
    EXPECT_EQ(c.monthly ? outcome.monthlyTotal : outcome.bonusTotal, c.desired) << c.name;
  }
}

TEST(MonthlyAdjustment, BelowTheReachableLowestEveryRowTakesItsSuggestion) {
  const TestRow high{.rate = 3.0, .loan = 3000, .bonus = 0};      // suggestion 1200
  const TestRow above{.rate = 2.0, .loan = 2000, .bonus = 1000};  // suggestion 800, keeps 1000
  const TestRow noRate{.rate = 0.0, .loan = 1000, .bonus = 0};
  SimulationWork work = MakeWork({high, above, noRate}, 1.0);
  const SimulationOutcome outcome = SimulateMonthlyTarget(work);
  EXPECT_EQ(work.rows[0].bonusAmount, 1200);
  EXPECT_EQ(work.rows[0].monthlyPayment, Monthly(high, 3000, 1200));
  EXPECT_EQ(work.rows[0].bonusPayment, Bonus(high, 1200));
  EXPECT_EQ(work.rows[1].bonusAmount, 1000);
  EXPECT_EQ(work.rows[2].bonusAmount, 0);
  EXPECT_EQ(outcome.monthlyTotal, Monthly(high, 3000, 1200) + Monthly(above, 2000, 1000));
  EXPECT_EQ(outcome.bonusTotal, Bonus(high, 1200) + Bonus(above, 1000));
  EXPECT_EQ(outcome.bonusAmountTotal, 2200);
  EXPECT_GT(outcome.monthlyTotal, 1.0);  // the lowest reachable, not the desired amount
}

TEST(MonthlyAdjustment, HigherTotalWithoutAnyPortionChangesNothing) {
  const TestRow r{.rate = 2.0, .loan = 1000, .bonus = 0};
  SimulationWork work = MakeWork({r, r}, 1e7);
  const SimulationWork before = work;
  const SimulationOutcome outcome = SimulateMonthlyTarget(work);
  EXPECT_EQ(outcome.status, SimulationStatus::Done);
  EXPECT_EQ(outcome.monthlyTotal, outcome.monthlyTotalBefore);
  EXPECT_EQ(outcome.bonusTotal, outcome.bonusTotalBefore);
  EXPECT_EQ(outcome.loanTotal, outcome.loanTotalBefore);
  for (size_t i = 0; i < work.rows.size(); ++i) EXPECT_TRUE(simtest::SameRow(work.rows[i], before.rows[i]));
}

// The bonus-portion total includes rows that do not take part (rate 0), so the plan keeps its
// total equal to the sum of its rows after an accepted result.
TEST(MonthlyAdjustment, BonusPortionTotalCountsEveryRow) {
  const TestRow noRate{.rate = 0.0, .loan = 1000, .bonus = 400};
  const TestRow r{.rate = 2.0, .loan = 1000, .bonus = 0};
  SimulationWork work = MakeWork({noRate, r}, 0.0);
  work.desiredAmount = Monthly(r, 1000, 50);
  const SimulationOutcome outcome = SimulateMonthlyTarget(work);
  EXPECT_EQ(work.rows[1].bonusAmount, 50);
  EXPECT_EQ(outcome.bonusAmountTotal, 450);
  ApplySimulationOutcome(work, outcome);
  EXPECT_EQ(work.totalBonusAmount, 450);
}

TEST(BonusAdjustment, NegativeDesiredTotalLowersEveryPortionToZero) {
  const TestRow a{.rate = 3.0, .loan = 1000, .bonus = 370};
  const TestRow b{.rate = 1.0, .loan = 2000, .bonus = 800};
  SimulationWork work = MakeWork({a, b}, -5000.0);
  const SimulationOutcome outcome = SimulateBonusTarget(work);
  EXPECT_EQ(work.rows[0].bonusAmount, 0);
  EXPECT_EQ(work.rows[1].bonusAmount, 0);
  EXPECT_EQ(outcome.bonusTotal, 0.0);
  EXPECT_EQ(outcome.monthlyTotal, Monthly(a, 1000, 0) + Monthly(b, 2000, 0));
  EXPECT_EQ(outcome.bonusAmountTotal, 0);
}

TEST(BonusAdjustment, NegativeDesiredTotalWithoutPortionsChangesNothing) {
  const TestRow a{.rate = 3.0, .loan = 1000, .bonus = 0};
  SimulationWork work = MakeWork({a, a}, -5000.0);
  const SimulationWork before = work;
  const SimulationOutcome outcome = SimulateBonusTarget(work);
  for (size_t i = 0; i < work.rows.size(); ++i) EXPECT_TRUE(simtest::SameRow(work.rows[i], before.rows[i]));
  EXPECT_EQ(outcome.bonusTotal, 0.0);
  EXPECT_EQ(outcome.monthlyTotal, before.currentMonthly);
}

TEST(BonusAdjustment, AtOrAboveTheReachableHighestEveryRowTakesItsSuggestion) {
  const TestRow a{.rate = 3.0, .loan = 1000, .bonus = 0};
  SimulationWork work = MakeWork({a}, 1e9);
  const SimulationOutcome outcome = SimulateBonusTarget(work);
  EXPECT_EQ(work.rows[0].bonusAmount, 400);
  EXPECT_EQ(outcome.bonusTotal, Bonus(a, 400));
  EXPECT_EQ(outcome.loanTotal, 1000);
}

// ---- loan phases ----------------------------------------------------------------------------

struct LoanCase {
  std::string name;
  bool monthly;
  std::vector<TestRow> rows;
  double desired;
  std::vector<std::pair<int32_t, int32_t>> expected;  // loan and portion of each row
};

void RunLoanCases(const std::vector<LoanCase>& cases) {
  for (const LoanCase& c : cases) {
    SimulationWork work = MakeWork(c.rows, c.desired, 0);
    const SimulationOutcome outcome = c.monthly ? SimulateMonthlyTarget(work) : SimulateBonusTarget(work);
    ASSERT_EQ(outcome.status, SimulationStatus::Done) << c.name;
    int64_t loans = 0, portions = 0;
    double monthly = 0, bonus = 0;
    for (size_t i = 0; i < c.expected.size(); ++i) {
      const LoanRow& row = work.rows[i];
      EXPECT_EQ(row.loanAmount, c.expected[i].first) << c.name << " row " << i;
      EXPECT_EQ(row.bonusAmount, c.expected[i].second) << c.name << " row " << i;
      if (row.loanAmount > 0) {
        EXPECT_EQ(row.monthlyPayment, Monthly(c.rows[i], row.loanAmount, row.bonusAmount)) << c.name << " row " << i;
        EXPECT_EQ(row.bonusPayment, Bonus(c.rows[i], row.bonusAmount)) << c.name << " row " << i;
      }
      loans += row.loanAmount;
      portions += row.bonusAmount;
      monthly += row.monthlyPayment;
      bonus += row.bonusPayment;
    }
    EXPECT_EQ(outcome.loanTotal, loans) << c.name;
    EXPECT_EQ(outcome.bonusAmountTotal, portions) << c.name;
    EXPECT_EQ(outcome.monthlyTotal, monthly) << c.name;
    EXPECT_EQ(outcome.bonusTotal, bonus) << c.name;
  }
}

TEST(LoanPhases, IncreaseGoesToTheNextMultipleOfTenThenByTen) {
  const TestRow high{.rate = 3.0, .loan = 1000, .bonus = 0};
  const TestRow low{.rate = 1.5, .loan = 2345, .bonus = 0};
  const TestRow lowWithBonus{.rate = 1.5, .loan = 2345, .bonus = 900};
  const TestRow highFull{.rate = 3.0, .loan = 1000, .bonus = 400};
  const double mHigh = Monthly(high, 1000, 0);
  RunLoanCases({
      {"monthly: 2345 -> 2350", true, {high, low}, mHigh + Monthly(low, 2350, 0), {{1000, 0}, {2350, 0}}},
      {"monthly: 2345 -> 2350 -> 2360", true, {high, low}, mHigh + Monthly(low, 2360, 0), {{1000, 0}, {2360, 0}}},
      {"monthly: between two steps, the closer one",
       true,
       {high, low},
       mHigh + Monthly(low, 2360, 0) + 1,
       {{1000, 0}, {2360, 0}}},
      // Equal lowest rates: the row with the higher index grows.
      {"monthly: equal rates",
       true,
       {low, low},
       double(Monthly(low, 2345, 0) + Monthly(low, 2350, 0)),
       {{2345, 0}, {2350, 0}}},
      // The portion follows as four tenths in units of 50 (950 from 2380 up to 2490, 1000 at
      // 2500, which passes D and is taken back).
      {"bonus: the lowest rate grows",
       false,
       {highFull, lowWithBonus},
       double(Bonus(highFull, 400) + Bonus(lowWithBonus, 950)),
       {{1000, 400}, {2490, 950}}},
      // Equal lowest rates in the bonus simulation: the lower index grows.
      {"bonus: equal rates",
       false,
       {lowWithBonus, lowWithBonus},
       double(Bonus(lowWithBonus, 900) + Bonus(lowWithBonus, 950)),
       {{2490, 950}, {2345, 900}}},
  });
}

TEST(LoanPhases, ReductionGoesToTheMultipleOfTenBelowThenByTen) {
  const TestRow high{.rate = 3.0, .loan = 2345, .bonus = 900};
  const TestRow high2505{.rate = 3.0, .loan = 2505, .bonus = 1000};
  const TestRow low{.rate = 1.0, .loan = 1000, .bonus = 400};
  const double mLow = Monthly(low, 1000, 400);
  RunLoanCases({
      {"2345 -> 2340", true, {high, low}, Monthly(high, 2340, 900) + mLow, {{2340, 900}, {1000, 400}}},
      {"2345 -> 2340 -> 2330", true, {high, low}, Monthly(high, 2330, 900) + mLow, {{2330, 900}, {1000, 400}}},
      // The portion follows the loan: 2505 -> 2500 (1000) -> 2490 (950) ... 2450 (950) pays
      // what 2500 (1000) pays; 2440 goes below D and is taken back.
      {"portion follows", true, {high2505, low}, Monthly(high2505, 2500, 1000) + mLow, {{2450, 950}, {1000, 400}}},
  });
}

TEST(LoanPhases, ReductionStopsWhenTheHigherRateRowReachesZero) {
  const TestRow high{.rate = 3.0, .loan = 500, .bonus = 200};
  const TestRow low{.rate = 1.0, .loan = 1000, .bonus = 400};
  SimulationWork work = MakeWork({high, low}, 1.0, 0);
  const SimulationOutcome outcome = SimulateMonthlyTarget(work);
  EXPECT_EQ(work.rows[0].loanAmount, 0);
  EXPECT_EQ(work.rows[0].bonusAmount, 0);
  EXPECT_EQ(work.rows[0].monthlyPayment, 0);
  EXPECT_EQ(work.rows[0].bonusPayment, 0);
  EXPECT_EQ(work.rows[1].loanAmount, 1000);
  EXPECT_EQ(work.rows[1].bonusAmount, 400);
  EXPECT_EQ(outcome.loanTotal, 1000);
  EXPECT_EQ(outcome.monthlyTotal, Monthly(low, 1000, 400));
  EXPECT_EQ(outcome.bonusTotal, Bonus(low, 400));
  EXPECT_EQ(outcome.bonusAmountTotal, 400);
  EXPECT_EQ(outcome.loanTotalBefore, 1500);
}

// A reduction that runs out of taking-part rows ends at loan 0; it never takes a loan below 0
// and never reads the entry without a row that follows the last one.
TEST(LoanPhases, ReductionEndsAtTheReachableLimit) {
  const TestRow one{.rate = 2.0, .loan = 300, .bonus = 100};
  const TestRow noLoan{.rate = 3.0, .loan = 0, .bonus = 0};
  const TestRow low{.rate = 1.0, .loan = 300, .bonus = 100};
  const TestRow negative{.rate = 2.0, .loan = -100, .bonus = 0};
  RunLoanCases({
      {"single row, negative desired amount", true, {one}, -5.0, {{0, 0}}},
      {"single row, desired 1 yen", true, {one}, 1.0, {{0, 0}}},
      {"rows without a loan are passed over", true, {noLoan, low}, -5.0, {{0, 0}, {0, 0}}},
  });
  // A negative loan (from a file) at the last position is passed over and stays as it is.
  SimulationWork work = MakeWork({negative}, 0.0, 0);
  ASSERT_LT(work.currentMonthly, 0.0);
  work.desiredAmount = work.currentMonthly - 1000;
  const SimulationOutcome outcome = SimulateMonthlyTarget(work);
  EXPECT_EQ(work.rows[0].loanAmount, -100);
  EXPECT_EQ(work.rows[0].monthlyPayment, 0);
  EXPECT_EQ(outcome.loanTotal, -100);
}

TEST(LoanPhases, IncreaseEndsAtTheFormLimitWhenPaymentsCannotGrow) {
  const TestRow high{.rate = 3.0, .loan = 1000, .bonus = 0};
  struct Case {
    std::string name;
    TestRow low;
  };
  const std::vector<Case> cases = {
      {"period 0", {.rate = 1.0, .period = 0, .loan = 1000, .bonus = 0}},
      {"method 0", {.rate = 1.0, .loan = 1000, .bonus = 0, .method = 0}},
      {"loan 0", {.rate = 1.0, .loan = 0, .bonus = 0}},
      {"already at the limit", {.rate = 1.0, .loan = kSimulationLoanLimit, .bonus = 0}},
      {"above the limit (from a file)", {.rate = 1.0, .loan = 85000, .bonus = 0}},
  };
  for (const Case& c : cases) {
    SimulationWork work = MakeWork({high, c.low}, 0.0, 0);
    work.desiredAmount = work.currentMonthly + 1e9;
    SimulateMonthlyTarget(work);
    EXPECT_EQ(work.rows[1].loanAmount, std::max(c.low.loan, kSimulationLoanLimit)) << c.name;
    EXPECT_EQ(work.rows[0].loanAmount, 1000) << c.name;

    SimulationWork bonusWork = MakeWork({high, c.low}, 0.0, 0);
    bonusWork.desiredAmount = 1e10;
    SimulateBonusTarget(bonusWork);
    EXPECT_EQ(bonusWork.rows[1].loanAmount, std::max(c.low.loan, kSimulationLoanLimit)) << c.name;
  }
}

TEST(LoanPhases, LowerBonusTargetHasNoLoanPhase) {
  const TestRow a{.rate = 3.0, .loan = 1000, .bonus = 400};
  SimulationWork work = MakeWork({a}, 0.0, 0);
  work.desiredAmount = Bonus(a, 200);
  const SimulationOutcome outcome = SimulateBonusTarget(work);
  EXPECT_EQ(work.rows[0].loanAmount, 1000);
  EXPECT_EQ(work.rows[0].bonusAmount, 200);
  EXPECT_EQ(outcome.loanTotal, 1000);
}

TEST(ApplyOutcome, FillsTheResultFields) {
  const TestRow a{.rate = 3.0, .loan = 1000, .bonus = 400};
  SimulationWork work = MakeWork({a}, 0.0, 0);
  work.desiredAmount = work.currentMonthly * 2;
  const SimulationOutcome outcome = SimulateMonthlyTarget(work);
  ApplySimulationOutcome(work, outcome);
  EXPECT_EQ(work.resultMonthly, outcome.monthlyTotal);
  EXPECT_EQ(work.resultBonus, outcome.bonusTotal);
  EXPECT_EQ(work.totalBonusAmount, outcome.bonusAmountTotal);
  EXPECT_EQ(work.totalLoan, outcome.loanTotal);
  EXPECT_GT(work.totalLoan, 1000);
  EXPECT_EQ(work.annualRepayment, 12 * outcome.monthlyTotal + 2 * outcome.bonusTotal);
}

// ---- properties over random plans ------------------------------------------------------------

struct RandomPlan {
  std::vector<TestRow> rows;
  double desired = 0.0;
  int32_t keep = 1;
};

RandomPlan MakeRandomPlan(std::mt19937& rng, int maxPeriod) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  static const double kRates[] = {0.0, 0.0, 0.5, 1.0, 1.25, 2.0, 2.375, 3.0, 4.5};
  RandomPlan plan;
  const int rowCount = pick(1, 10);
  for (int i = 0; i < rowCount; ++i) {
    TestRow r;
    r.rate = kRates[pick(0, 8)];
    r.period = static_cast<int16_t>(pick(0, 12) == 0 ? 0 : pick(1, maxPeriod));
    r.method = static_cast<uint16_t>(pick(0, 10) == 0 ? 0 : pick(1, 2));
    r.loan = pick(0, 5) == 0 ? 0 : pick(1, 5000);
    r.bonus = r.loan == 0 ? 0 : (pick(0, 2) == 0 ? SuggestBonusAmount(r.loan) : pick(0, r.loan));
    plan.rows.push_back(r);
  }
  plan.keep = pick(0, 1);
  return plan;
}

double PickDesired(std::mt19937& rng, const SimulationWork& work, bool monthly) {
  const double current = monthly ? work.currentMonthly : work.currentBonus;
  switch (std::uniform_int_distribution<int>(0, 5)(rng)) {
    case 0:
      return -std::uniform_real_distribution<double>(1, 1e6)(rng);
    case 1:
      return current * std::uniform_real_distribution<double>(0.0, 1.0)(rng);
    case 2:
      return current * std::uniform_real_distribution<double>(1.0, 3.0)(rng);
    case 3:
      return std::floor(current) + std::uniform_int_distribution<int>(-3, 3)(rng);
    case 4:
      return 1.0;
    default:
      return 1e12;
  }
}

TEST(Properties, EveryRunEndsWithPortionsInRangeAndRateZeroRowsUntouched) {
  std::mt19937 rng(20261208);
  for (int run = 0; run < 400; ++run) {
    const RandomPlan plan = MakeRandomPlan(rng, 35);
    for (bool monthly : {true, false}) {
      SimulationWork work = MakeWork(plan.rows, 0.0, plan.keep);
      work.desiredAmount = PickDesired(rng, work, monthly);
      const SimulationWork before = work;
      const SimulationOutcome outcome = monthly ? SimulateMonthlyTarget(work) : SimulateBonusTarget(work);
      const std::string where = "run " + std::to_string(run) + (monthly ? " monthly" : " bonus");
      int64_t portions = 0;
      for (size_t i = 0; i < work.rows.size(); ++i) {
        const LoanRow& row = work.rows[i];
        portions += row.bonusAmount;
        if (before.rows[i].ratePercent == 0.0) {
          EXPECT_TRUE(simtest::SameRow(row, before.rows[i])) << where << " row " << i;
          continue;
        }
        EXPECT_GE(row.bonusAmount, 0) << where << " row " << i;
        EXPECT_LE(row.bonusAmount, row.loanAmount) << where << " row " << i;
        EXPECT_GE(row.loanAmount, 0) << where << " row " << i;
        EXPECT_LE(row.loanAmount, std::max(before.rows[i].loanAmount, kSimulationLoanLimit)) << where;
        if (plan.keep == 1) {
          EXPECT_EQ(row.loanAmount, before.rows[i].loanAmount) << where << " row " << i;
        }
      }
      if (outcome.status == SimulationStatus::Done) {
        EXPECT_EQ(outcome.bonusAmountTotal, portions) << where;
      }
    }
  }
}

TEST(Properties, OddRowsFromFilesStillEnd) {
  std::mt19937 rng(77);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int run = 0; run < 300; ++run) {
    std::vector<TestRow> rows;
    for (int i = 0; i < 10; ++i) {
      TestRow r;
      r.rate = pick(0, 3) == 0 ? 0.0 : pick(-300, 9999) / 100.0;
      r.period = static_cast<int16_t>(pick(-5, 99));
      r.method = static_cast<uint16_t>(pick(0, 4));
      r.loan = pick(-3000, 90000);
      r.bonus = pick(-3000, 90000);
      r.suggested = pick(0, 3) == 0 ? pick(-500, 40000) : -1;
      rows.push_back(r);
    }
    for (bool monthly : {true, false}) {
      SimulationWork work = MakeWork(rows, 0.0, pick(0, 1));
      work.desiredAmount = PickDesired(rng, work, monthly);
      const SimulationWork before = work;
      monthly ? SimulateMonthlyTarget(work) : SimulateBonusTarget(work);
      for (size_t i = 0; i < work.rows.size(); ++i) {
        if (before.rows[i].ratePercent == 0.0) {
          EXPECT_TRUE(simtest::SameRow(work.rows[i], before.rows[i]));
        }
        // A loan never moves past 0 or the limit, except where it already stood beyond them.
        EXPECT_GE(work.rows[i].loanAmount, std::min(before.rows[i].loanAmount, 0));
        EXPECT_LE(work.rows[i].loanAmount, std::max(before.rows[i].loanAmount, kSimulationLoanLimit));
      }
    }
  }
}

TEST(Properties, PreparedFactorsGiveTheSameResultAsThePlainFormula) {
  std::mt19937 rng(4242);
  for (int run = 0; run < 150; ++run) {
    const RandomPlan plan = MakeRandomPlan(rng, 99);
    for (bool monthly : {true, false}) {
      SimulationWork reused = MakeWork(plan.rows, 0.0, plan.keep);
      reused.desiredAmount = PickDesired(rng, reused, monthly);
      SimulationWork plain = reused;
      const SimulationOutcome a = monthly ? SimulateMonthlyTarget(reused, PaymentEvaluation::ReusePreparedFactors)
                                          : SimulateBonusTarget(reused, PaymentEvaluation::ReusePreparedFactors);
      const SimulationOutcome b = monthly ? SimulateMonthlyTarget(plain, PaymentEvaluation::PlainFormula)
                                          : SimulateBonusTarget(plain, PaymentEvaluation::PlainFormula);
      EXPECT_EQ(a.status, b.status);
      EXPECT_EQ(a.monthlyTotal, b.monthlyTotal);
      EXPECT_EQ(a.bonusTotal, b.bonusTotal);
      EXPECT_EQ(a.bonusAmountTotal, b.bonusAmountTotal);
      EXPECT_EQ(a.loanTotal, b.loanTotal);
      for (size_t i = 0; i < reused.rows.size(); ++i) EXPECT_TRUE(simtest::SameRow(reused.rows[i], plain.rows[i]));
    }
  }
}

// The worst case of the benchmark, checked for its result as well.
TEST(Properties, WorstCaseReductionReachesTheLastRow) {
  std::vector<TestRow> rows;
  for (int i = 0; i < 10; ++i) {
    rows.push_back({.rate = 1.0 + 0.25 * i, .period = 99, .loan = 81990, .bonus = SuggestBonusAmount(81990)});
  }
  SimulationWork work = MakeWork(rows, 1.0, 0);
  const SimulationOutcome outcome = SimulateMonthlyTarget(work);
  // Every row but the lowest-rate one (row 0, at the last position) is reduced to 0.
  for (size_t i = 1; i < 10; ++i) EXPECT_EQ(work.rows[i].loanAmount, 0) << i;
  EXPECT_EQ(work.rows[0].loanAmount, 81990);
  EXPECT_EQ(outcome.loanTotal, 81990);
}

// The loan phases stop at the largest multiple of 10万円 the loan box accepts.
TEST(PaymentTargetTest, LoanLimitFollowsTheLoanBox) {
  EXPECT_EQ(kSimulationLoanLimit, 81990);
  EXPECT_FALSE(CheckLoanAmount(kSimulationLoanLimit));
  EXPECT_TRUE(CheckLoanAmount(kSimulationLoanLimit + kSimulationLoanUnit));
}

}  // namespace
}  // namespace zorvik
