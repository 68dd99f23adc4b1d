// Speed of the repayment schedule: the largest plan the form accepts, ten rows of 81,990万 over
// 99 years (13,860 payments), built with its totals and year views.

#include <benchmark/benchmark.h>

#include "core/funding_plan.h"
#include "core/repayment_schedule.h"

namespace zorvik {
namespace {

FundingPlan LargestPlan(uint16_t method) {
  FundingPlan plan;
  for (LoanRow& row : plan.rows) {
    row.loanName = "フラット";
    row.method = method;
    row.ratePercent = 2.375;
    row.periodYears = 99;
    row.loanAmount = 81990;
    row.bonusAmount = 32750;
  }
  return plan;
}

void BM_BuildPlanSchedule_TenRows99Years(benchmark::State& state) {
  const FundingPlan plan = LargestPlan(static_cast<uint16_t>(state.range(0)));
  for (auto _ : state) {
    PlanSchedule s = BuildPlanSchedule(plan);
    benchmark::DoNotOptimize(s.totals.totalRepaid);
  }
}
BENCHMARK(BM_BuildPlanSchedule_TenRows99Years)->ArgName("method")->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zorvik
