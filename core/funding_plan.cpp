#include "core/funding_plan.h"

namespace zorvik {

PlanInputs FundingPlan::Inputs() const {
  PlanInputs in;
  in.customerName = customerName;
  in.createdYear = createdYear;
  in.createdMonth = createdMonth;
  in.createdDay = createdDay;
  in.otherCostLabel = otherCostLabel;
  in.landPrice = landPrice;
  in.buildingPrice = buildingPrice;
  in.consumptionTax = consumptionTax;
  in.otherCost = otherCost;
  in.miscCosts = miscCosts;
  in.annualIncome = annualIncome;
  for (size_t i = 0; i < rows.size(); ++i) {
    const LoanRow& r = rows[i];
    in.rows[i] = LoanRowInputs{r.loanName, r.method, r.ratePercent, r.periodYears, r.loanAmount, r.bonusAmount};
  }
  return in;
}

void FundingPlan::ResetToNewPlan(const PlanDate& today) {
  ClearForLoad();
  customerName = kNewCustomerName;
  createdYear = today.year;
  createdMonth = today.month;
  createdDay = today.day;
  landLabel = kLandLabel;
  buildingLabel = kBuildingLabel;
  taxLabel = kTaxLabel;
  otherCostLabel.clear();
  fundsMinusLoansLabel = kFundsMinusLoansLabel;
  miscCostsLabel = kMiscCostsLabel;
  ownFundsLabel = kOwnFundsLabel;
  recalcMonthlySum = 0.0;
  recalcBonusSum = 0.0;
  TakeBaseline();
}

void FundingPlan::ClearForLoad() {
  customerName.clear();
  createdYear = createdMonth = createdDay = 0;
  landLabel.clear();
  buildingLabel.clear();
  taxLabel.clear();
  otherCostLabel.clear();
  fundsMinusLoansLabel.clear();
  miscCostsLabel.clear();
  ownFundsLabel.clear();
  landPrice = buildingPrice = consumptionTax = otherCost = 0;
  requiredFundsTotal = fundsMinusLoans = miscCosts = ownFundsNeeded = annualIncome = 0;
  rows.fill(LoanRow{});
  suggestedBonus.fill(0);
  totalLoan = totalBonusAmount = 0;
  totalMonthly = totalBonus = annualRepayment = repaymentRatio = 0.0;
}

int32_t SuggestBonusAmount(int32_t loanAmount) {
  // 4 x L in 64 bits: a plan file may hold any int32 loan amount.
  const int64_t fourTenths = (4 * static_cast<int64_t>(loanAmount)) / 10;
  return static_cast<int32_t>(fourTenths / 50 * 50);
}

int32_t SuggestBonusAmountForLoadedPlan(int32_t loanAmount) {
  return loanAmount / 10 * 4 / 50 * 50;
}

}  // namespace zorvik
