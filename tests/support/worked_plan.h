#pragma once
// The worked plan of the help page and the tests: 3,000万 with a 1,200万 bonus portion at 2.375％
// over 35 years, 元利均等, on an income of 600万, with its stored payments and totals.

#include "core/funding_plan.h"

namespace zorvik {

inline FundingPlan WorkedPlan() {
  FundingPlan plan;
  plan.ResetToNewPlan(PlanDate{2026, 12, 8});
  plan.customerName = "山田 太郎";
  plan.otherCostLabel = "解体費";
  plan.landPrice = 2500;
  plan.buildingPrice = 1800;
  plan.consumptionTax = 144;
  plan.requiredFundsTotal = 4444;
  plan.fundsMinusLoans = 1444;
  plan.miscCosts = 300;
  plan.ownFundsNeeded = 1744;
  plan.annualIncome = 600;
  LoanRow& row = plan.rows[0];
  row.loanName = "フラット35";
  row.method = MethodCode(RepaymentMethod::EqualInstallment);
  row.ratePercent = 2.375;
  row.periodYears = 35;
  row.loanAmount = 3000;
  row.bonusAmount = 1200;
  row.monthlyPayment = 63149;
  row.bonusPayment = 253397;
  plan.totalLoan = 3000;
  plan.totalBonusAmount = 1200;
  plan.totalMonthly = 63149;
  plan.totalBonus = 253397;
  plan.annualRepayment = 1264582;
  plan.repaymentRatio = 1264582.0 / 600 * 0.01;
  return plan;
}

}  // namespace zorvik
