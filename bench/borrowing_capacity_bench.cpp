// Speed of the borrowing-capacity answers. The dialog recomputes all of them on every keystroke,
// so each, the 20-cell grid included, has to stay well under 1 ms.

#include <benchmark/benchmark.h>

#include "core/borrowing_capacity.h"

namespace zorvik {
namespace {

// The consultation of the worked example: 600万, 35%, 3.0%, 35 years, 元利均等.
constexpr CapacityInputs kTypical{600, 35.0, 3.0, 35, 1, 0, 0};
// The longest period the search accepts, with a bonus portion and other debts: every step of the
// bisection multiplies the growth factor 600 times. At 1.5％ every cell of the grid is computed
// (at 0.5％ the two lower rates would be left out).
constexpr CapacityInputs kLongest{2000, 35.0, 1.5, 50, 1, 30, 2000};

void BM_MaxLoanAmount(benchmark::State& state) {
  const CapacityInputs in = state.range(0) == 0 ? kTypical : kLongest;
  for (auto _ : state) benchmark::DoNotOptimize(MaxLoanAmount(in));
}
BENCHMARK(BM_MaxLoanAmount)->ArgName("longest")->Arg(0)->Arg(1);

void BM_CalcCapacity(benchmark::State& state) {
  const CapacityInputs in = state.range(0) == 0 ? kTypical : kLongest;
  for (auto _ : state) benchmark::DoNotOptimize(CalcCapacity(in));
}
BENCHMARK(BM_CalcCapacity)->ArgName("longest")->Arg(0)->Arg(1);

// 5 rates x 20, 25, 30 and 35 years.
void BM_CalcCapacityGrid(benchmark::State& state) {
  const CapacityInputs in = state.range(0) == 0 ? kTypical : kLongest;
  for (auto _ : state) benchmark::DoNotOptimize(CalcCapacityGrid(in));
}
BENCHMARK(BM_CalcCapacityGrid)->ArgName("longest")->Arg(0)->Arg(1);

void BM_RequiredAnnualIncome(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(RequiredAnnualIncome(1264582.0, 50));
}
BENCHMARK(BM_RequiredAnnualIncome);

// Everything one keystroke in the dialog recomputes: the answer, the grid and the income the plan
// needs.
void BM_OneKeystroke(benchmark::State& state) {
  const CapacityInputs in = state.range(0) == 0 ? kTypical : kLongest;
  for (auto _ : state) {
    benchmark::DoNotOptimize(CalcCapacity(in));
    benchmark::DoNotOptimize(CalcCapacityGrid(in));
    benchmark::DoNotOptimize(RequiredAnnualIncome(1264582.0, in.otherAnnualRepayment));
  }
}
BENCHMARK(BM_OneKeystroke)->ArgName("longest")->Arg(0)->Arg(1);

}  // namespace
}  // namespace zorvik
