// Rate scenarios and prepayments: every figure of the scenario window for the largest plan the
// form accepts (ten rows of 81,990万 over 99 years, with bonus parts) under four scenarios, and a
// 35-year loan with twenty prepayments under four scenarios. Target: under 5 ms each.

#include <benchmark/benchmark.h>

#include "core/funding_plan.h"
#include "core/rate_scenario.h"
#include "core/scenario_report.h"

namespace zorvik {
namespace {

FundingPlan LargestVariablePlan(int16_t years) {
  FundingPlan plan;
  plan.annualIncome = 99999;
  for (LoanRow& row : plan.rows) {
    row.loanName = "変動金利";
    row.method = 1;
    row.ratePercent = 2.375;
    row.periodYears = years;
    row.loanAmount = 81990;
    row.bonusAmount = 20000;
  }
  return plan;
}

std::vector<RateScenario> FourScenarios(const FundingPlan& plan) {
  std::vector<RateScenario> scenarios = PresetScenarios();
  scenarios.resize(4);
  for (RateScenario& s : scenarios) s.rowTypes = RateTypesFromNames(plan);
  return scenarios;
}

void BM_ScenarioReport_TenRows99Years_FourScenarios(benchmark::State& state) {
  const FundingPlan plan = LargestVariablePlan(99);
  const auto scenarios = FourScenarios(plan);
  for (auto _ : state) benchmark::DoNotOptimize(BuildScenarioReport(plan, scenarios));
}
BENCHMARK(BM_ScenarioReport_TenRows99Years_FourScenarios)->Unit(benchmark::kMillisecond);

void BM_ScenarioReport_TwentyPrepayments_FourScenarios(benchmark::State& state) {
  FundingPlan plan = LargestVariablePlan(35);
  for (size_t i = 1; i < plan.rows.size(); ++i) plan.rows[i] = LoanRow{};
  plan.rows[0].loanAmount = 5000;
  plan.rows[0].bonusAmount = 0;
  auto scenarios = FourScenarios(plan);
  for (RateScenario& s : scenarios) {
    for (int32_t k = 0; k < 20; ++k) {
      const auto kind = k % 2 == 0 ? PrepaymentKind::ShortenTerm : PrepaymentKind::ReducePayment;
      s.prepayments.push_back({0, 12 + 12 * k, 500000, kind, ShortenRule::AtLeastAmount, false});
    }
  }
  for (auto _ : state) benchmark::DoNotOptimize(BuildScenarioReport(plan, scenarios));
}
BENCHMARK(BM_ScenarioReport_TwentyPrepayments_FourScenarios)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorvik
