// The slowest inputs of the payment-target simulation: ten rows at the form's largest loan over
// 99 years, each at its own rate, with loan changes allowed. The monthly target of 1 yen makes
// the loan reduction walk nine rows down to 0 in steps of 10万円 (about 74,000 steps); the
// bonus target of 10億円 raises the lowest-rate row's loan from nothing up to the limit. Each is
// run with the payment factors prepared once per row and with the plain formula on every step.
#include <benchmark/benchmark.h>

#include "core/funding_plan.h"
#include "core/repayment.h"
#include "simulation/payment_target.h"
#include "simulation/simulation_work.h"

namespace zorvik {
namespace {

constexpr int32_t kLargestLoan = 81990;

// Rows 0..9 at rates 1.0 % .. 3.25 %, 99 years, 元利均等, each at its suggested portion;
// `lowestRateLoan` for row 0, the lowest-rate row.
SimulationWork WorstCaseWork(double desired, int32_t lowestRateLoan) {
  FundingPlan plan;
  for (size_t i = 0; i < plan.rows.size(); ++i) {
    LoanRow& row = plan.rows[i];
    row.loanName = "ローン";
    row.method = MethodCode(RepaymentMethod::EqualInstallment);
    row.ratePercent = 1.0 + 0.25 * static_cast<double>(i);
    row.periodYears = 99;
    row.loanAmount = i == 0 ? lowestRateLoan : kLargestLoan;
    row.bonusAmount = SuggestBonusAmount(row.loanAmount);
    row.monthlyPayment =
        CalcMonthlyPayment(row.loanAmount, row.bonusAmount, row.method, row.periodYears, row.ratePercent);
    row.bonusPayment = CalcBonusPayment(row.bonusAmount, row.method, row.periodYears, row.ratePercent);
    plan.suggestedBonus[i] = row.bonusAmount;
    plan.totalLoan += row.loanAmount;
    plan.totalBonusAmount += row.bonusAmount;
    plan.totalMonthly += row.monthlyPayment;
    plan.totalBonus += row.bonusPayment;
  }
  plan.recalcMonthlySum = plan.totalMonthly;
  plan.recalcBonusSum = plan.totalBonus;
  plan.annualRepayment = 12 * plan.totalMonthly + 2 * plan.totalBonus;
  SimulationWork work = MakeSimulationWork(plan);
  work.desiredAmount = desired;
  work.keepLoanAmounts = 0;
  return work;
}

template <bool kMonthly>
void Run(benchmark::State& state, PaymentEvaluation evaluation, int32_t lowestRateLoan) {
  const SimulationWork start = WorstCaseWork(kMonthly ? 1.0 : 1e9, lowestRateLoan);
  for (auto _ : state) {
    SimulationWork work = start;
    const SimulationOutcome outcome =
        kMonthly ? SimulateMonthlyTarget(work, evaluation) : SimulateBonusTarget(work, evaluation);
    benchmark::DoNotOptimize(outcome);
  }
}

void BM_MonthlyTarget_PreparedFactors(benchmark::State& state) {
  Run<true>(state, PaymentEvaluation::ReusePreparedFactors, kLargestLoan);
}
void BM_MonthlyTarget_PlainFormula(benchmark::State& state) {
  Run<true>(state, PaymentEvaluation::PlainFormula, kLargestLoan);
}
// All ten rows at the limit: the loan increase has no room and stops at once.
void BM_BonusTarget_PreparedFactors(benchmark::State& state) {
  Run<false>(state, PaymentEvaluation::ReusePreparedFactors, kLargestLoan);
}
void BM_BonusTarget_PlainFormula(benchmark::State& state) {
  Run<false>(state, PaymentEvaluation::PlainFormula, kLargestLoan);
}
// The lowest-rate row starts without a loan and grows to the limit: about 8,200 steps.
void BM_BonusTargetGrowing_PreparedFactors(benchmark::State& state) {
  Run<false>(state, PaymentEvaluation::ReusePreparedFactors, 0);
}
void BM_BonusTargetGrowing_PlainFormula(benchmark::State& state) {
  Run<false>(state, PaymentEvaluation::PlainFormula, 0);
}

BENCHMARK(BM_MonthlyTarget_PreparedFactors)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthlyTarget_PlainFormula)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BonusTarget_PreparedFactors)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BonusTarget_PlainFormula)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BonusTargetGrowing_PreparedFactors)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BonusTargetGrowing_PlainFormula)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorvik
