#include "simulation/simulation_work.h"

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
  work.recalcMonthlySum = plan.recalcMonthlySum;
  work.recalcBonusSum = plan.recalcBonusSum;
  work.keepLoanAmounts = 1;
  return work;
}

}  // namespace zorvik
