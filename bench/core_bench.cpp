// Speed of the calculation core: the payment formulas over every period the form accepts, and
// each editing event of the form on a plan whose ten rows are all complete.

#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "core/control_ids.h"
#include "core/funding_plan.h"
#include "core/memory_form_view.h"
#include "core/plan_recalc.h"
#include "core/repayment.h"

namespace zorvik {
namespace {

// ---- payment formulas ----------------------------------------------------------------------

// One iteration computes the payment for every period from 1 to 99 years.
void BM_CalcMonthlyPayment_Years1To99(benchmark::State& state) {
  const auto method = static_cast<uint16_t>(state.range(0));
  for (auto _ : state) {
    for (int16_t years = 1; years <= 99; ++years) {
      benchmark::DoNotOptimize(CalcMonthlyPayment(3000, 1200, method, years, 2.375));
    }
  }
  state.SetItemsProcessed(state.iterations() * 99);
}
BENCHMARK(BM_CalcMonthlyPayment_Years1To99)->ArgName("method")->Arg(1)->Arg(2);

void BM_CalcBonusPayment_Years1To99(benchmark::State& state) {
  const auto method = static_cast<uint16_t>(state.range(0));
  for (auto _ : state) {
    for (int16_t years = 1; years <= 99; ++years) {
      benchmark::DoNotOptimize(CalcBonusPayment(1200, method, years, 2.375));
    }
  }
  state.SetItemsProcessed(state.iterations() * 99);
}
BENCHMARK(BM_CalcBonusPayment_Years1To99)->ArgName("method")->Arg(1)->Arg(2);

// Single calls at the shortest, a typical and the longest period (元利均等, the running product
// grows with the period).
void BM_CalcMonthlyPayment_OnePeriod(benchmark::State& state) {
  const auto years = static_cast<int16_t>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(CalcMonthlyPayment(3000, 1200, 1, years, 2.375));
}
BENCHMARK(BM_CalcMonthlyPayment_OnePeriod)->ArgName("years")->Arg(1)->Arg(35)->Arg(99);

void BM_CalcBonusPayment_OnePeriod(benchmark::State& state) {
  const auto years = static_cast<int16_t>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(CalcBonusPayment(1200, 1, years, 2.375));
}
BENCHMARK(BM_CalcBonusPayment_OnePeriod)->ArgName("years")->Arg(1)->Arg(35)->Arg(99);

// With the factors prepared once, as the simulation does.
void BM_MonthlyPaymentWith_Prepared(benchmark::State& state) {
  const PaymentFactors f = PreparePaymentFactors(1, 35, 2.375);
  int32_t loan = 3000;
  for (auto _ : state) {
    benchmark::DoNotOptimize(MonthlyPaymentWith(f, loan, 1200));
    loan = loan == 3000 ? 3010 : 3000;
  }
}
BENCHMARK(BM_MonthlyPaymentWith_Prepared);

// ---- editing events on a full plan -----------------------------------------------------------

// A form with ten complete rows, built through the same handlers the form calls.
struct FullPlan {
  FundingPlan plan;
  MemoryFormView view;
  PlanRecalculator recalc{plan, view};

  FullPlan() {
    plan.ResetToNewPlan(PlanDate{2026, 12, 8});
    for (int id : {ids::kLandPrice, ids::kBuildingPrice}) {
      view.SetText(id, "20000");
      recalc.OnRequiredFundsKillFocus(id);
    }
    view.SetText(ids::kAnnualIncome, "5000");
    recalc.OnAnnualIncomeKillFocus();
    for (int row = 0; row < kLoanRowCount; ++row) {
      Loan(row, std::to_string(1000 + 100 * row));
      recalc.OnLoanProductChosen(row, 1.0 + 0.25 * row);
      Period(row, std::to_string(10 + 5 * row));
      if (row % 2 == 1) {
        view.SetSelection(ids::kMethod[static_cast<size_t>(row)], 1);
        recalc.OnMethodChosen(row);
      }
    }
  }
  void Loan(int row, const std::string& text) {
    recalc.OnLoanAmountSetFocus(row);
    view.SetText(ids::kLoanAmount[static_cast<size_t>(row)], text);
    recalc.OnLoanAmountTextChanged(row);  // what the form reports while the user types
    recalc.OnLoanAmountKillFocus(row);
  }
  void Period(int row, const std::string& text) {
    recalc.OnPeriodSetFocus(row);
    view.SetText(ids::kPeriod[static_cast<size_t>(row)], text);
    recalc.OnPeriodKillFocus(row);
  }
};

void BM_Event_LoanAmountEdited(benchmark::State& state) {
  FullPlan f;
  bool flip = false;
  for (auto _ : state) {
    f.Loan(4, (flip = !flip) ? "3000" : "3100");
  }
}
BENCHMARK(BM_Event_LoanAmountEdited);

void BM_Event_LoanAmountVisited(benchmark::State& state) {
  FullPlan f;
  for (auto _ : state) {
    f.recalc.OnLoanAmountSetFocus(4);
    f.recalc.OnLoanAmountKillFocus(4);
  }
}
BENCHMARK(BM_Event_LoanAmountVisited);

void BM_Event_BonusAmountEdited(benchmark::State& state) {
  FullPlan f;
  bool flip = false;
  for (auto _ : state) {
    f.recalc.OnBonusAmountSetFocus(4);
    f.view.SetText(ids::kBonusAmount[4], (flip = !flip) ? "500" : "600");
    f.recalc.OnBonusAmountKillFocus(4);
  }
}
BENCHMARK(BM_Event_BonusAmountEdited);

void BM_Event_RateEdited(benchmark::State& state) {
  FullPlan f;
  bool flip = false;
  for (auto _ : state) {
    f.recalc.OnRateSetFocus(4);
    f.view.SetText(ids::kRate[4], (flip = !flip) ? "2.375" : "2.5");
    f.recalc.OnRateKillFocus(4);
  }
}
BENCHMARK(BM_Event_RateEdited);

void BM_Event_PeriodEdited(benchmark::State& state) {
  FullPlan f;
  bool flip = false;
  for (auto _ : state) f.Period(4, (flip = !flip) ? "35" : "30");
}
BENCHMARK(BM_Event_PeriodEdited);

void BM_Event_MethodChosen(benchmark::State& state) {
  FullPlan f;
  int position = 0;
  for (auto _ : state) {
    f.view.SetSelection(ids::kMethod[4], position ^= 1);
    f.recalc.OnMethodChosen(4);
  }
}
BENCHMARK(BM_Event_MethodChosen);

void BM_Event_ProductChosen(benchmark::State& state) {
  FullPlan f;
  bool flip = false;
  for (auto _ : state) f.recalc.OnLoanProductChosen(4, (flip = !flip) ? 2.375 : 1.5);
}
BENCHMARK(BM_Event_ProductChosen);

// The deleted row is put back by plain assignment (no recalculation) so that every iteration
// deletes a complete row from a full plan; the restore is part of the time.
void BM_Event_RowDeleted(benchmark::State& state) {
  FullPlan f;
  const size_t row = 4;
  const LoanRow saved = f.plan.rows[row];
  std::array<std::string, 7> texts;
  const std::array<int, 7> boxes = {ids::kLoanName[row],    ids::kRate[row],        ids::kPeriod[row],
                                    ids::kLoanAmount[row],  ids::kBonusAmount[row], ids::kMonthlyPayment[row],
                                    ids::kBonusPayment[row]};
  for (size_t k = 0; k < boxes.size(); ++k) texts[k] = f.view.Text(boxes[k]);
  for (auto _ : state) {
    f.recalc.OnDeleteRow(static_cast<int>(row));
    f.plan.rows[row] = saved;
    for (size_t k = 0; k < boxes.size(); ++k) f.view.SetText(boxes[k], texts[k]);
    f.view.SetSelection(ids::kMethod[row], 0);
  }
}
BENCHMARK(BM_Event_RowDeleted);

void BM_Event_RequiredFundsLeft(benchmark::State& state) {
  FullPlan f;
  for (auto _ : state) f.recalc.OnRequiredFundsKillFocus(ids::kLandPrice);
}
BENCHMARK(BM_Event_RequiredFundsLeft);

void BM_Event_MiscCostsLeft(benchmark::State& state) {
  FullPlan f;
  f.view.SetText(ids::kMiscCosts, "300");
  for (auto _ : state) f.recalc.OnMiscCostsKillFocus();
}
BENCHMARK(BM_Event_MiscCostsLeft);

void BM_Event_IncomeLeft(benchmark::State& state) {
  FullPlan f;
  for (auto _ : state) f.recalc.OnAnnualIncomeKillFocus();
}
BENCHMARK(BM_Event_IncomeLeft);

void BM_ShowLoadedPlan(benchmark::State& state) {
  FullPlan f;
  for (auto _ : state) ShowLoadedPlan(f.plan, f.view);
}
BENCHMARK(BM_ShowLoadedPlan);

}  // namespace
}  // namespace zorvik
