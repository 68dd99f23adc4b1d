#include "simulation/apply_result.h"

#include <string>

#include "core/control_ids.h"
#include "core/plan_recalc.h"
#include "core/text_forms.h"

namespace zorvik {

bool BeginSimulation(const FundingPlan& plan, int32_t& totalLoanBeforeSimulation) {
  totalLoanBeforeSimulation = plan.totalLoan;
  return !(plan.totalMonthly == 0.0 && plan.totalBonus == 0.0);
}

void CompactLoanRows(FundingPlan& plan) {
  size_t next = 0;
  for (size_t i = 0; i < plan.rows.size(); ++i) {
    if (plan.rows[i].HasNoInputs()) continue;
    if (i != next) {
      plan.rows[next] = std::move(plan.rows[i]);
      plan.suggestedBonus[next] = plan.suggestedBonus[i];
    }
    ++next;
  }
  for (; next < plan.rows.size(); ++next) {
    plan.rows[next] = LoanRow{};
    plan.suggestedBonus[next] = 0;
  }
}

void ApplySimulationResult(FundingPlan& plan, PlanFormView& view, const SimulationWork& work,
                           int32_t totalLoanBeforeSimulation) {
  for (size_t i = 0; i < plan.rows.size(); ++i) {
    LoanRow& row = plan.rows[i];
    const LoanRow& simulated = work.rows[i];
    row.loanAmount = simulated.loanAmount;
    row.bonusAmount = simulated.bonusAmount;
    row.monthlyPayment = simulated.monthlyPayment;
    row.bonusPayment = simulated.bonusPayment;
  }
  CompactLoanRows(plan);
  ShowLoanRows(plan, view);

  plan.totalLoan = work.totalLoan;
  if (plan.totalLoan > totalLoanBeforeSimulation) view.ShowMessage(kLoanIncreasedMessage, kProductCaption);
  ShowOrBlank(view, ids::kTotalLoan, plan.totalLoan == 0, FormatTotalAmount(plan.totalLoan));

  PlanRecalculator recalc(plan, view);
  recalc.UpdateFundsChain();

  plan.totalMonthly = work.resultMonthly;
  view.SetText(ids::kTotalMonthly, FormatYen(plan.totalMonthly));
  plan.totalBonus = work.resultBonus;
  ShowOrBlank(view, ids::kTotalBonus, plan.totalBonus == 0.0, FormatYen(plan.totalBonus));
  plan.totalBonusAmount = work.totalBonusAmount;
  ShowOrBlank(view, ids::kTotalBonusAmount, plan.totalBonusAmount == 0, FormatTotalAmount(plan.totalBonusAmount));
  plan.annualRepayment = work.annualRepayment;
  ShowOrBlank(view, ids::kAnnualRepayment, plan.annualRepayment == 0.0, FormatYen(plan.annualRepayment));
  recalc.UpdateRatio();
}

}  // namespace zorvik
