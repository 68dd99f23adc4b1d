#include "simulation/simulation_work.h"

#include "core/plan_recalc.h"

namespace zorvik {

SimulationWork MakeSimulationWork(const FundingPlan& plan) {
  SimulationWork work;
  work.desiredAmount = 0.0;
  work.currentMonthly = plan.totalMonthly;
  work.currentBonus = plan.totalBonus;
  work.rows = plan.rows;
  work.totalLoan = plan.totalLoan;
  work.totalBonusAmount = plan.totalBonusAmount;
  work.resultMonthly = plan.totalMonthly;
  work.resultBonus = plan.totalBonus;
  work.annualIncome = plan.annualIncome;
  work.annualRepayment = plan.annualRepayment;
  work.repaymentRatio = plan.repaymentRatio;
  work.suggestedBonus = plan.suggestedBonus;
  // Built from the rows as they stand, never taken over from the plan: a sum left behind by an
  // earlier edit would misplace the reachable limits and could turn a reachable target into
  // no change at all.
  const ReferenceSums sums = FullReferenceSums(plan);
  work.recalcMonthlySum = sums.monthly;
  work.recalcBonusSum = sums.bonus;
  work.keepLoanAmounts = 1;
  return work;
}

}  // namespace zorvik
