#include "core/plan_form_writer.h"

#include "core/control_ids.h"

namespace zorvik {

void ShowPlanHeader(const PlanTexts& texts, PlanFormView& view) {
  view.SetText(ids::kCustomerName, texts.customerName);
  view.SetText(ids::kYear, texts.year);
  view.SetText(ids::kMonth, texts.month);
  view.SetText(ids::kDay, texts.day);
  view.SetText(ids::kLandLabel, texts.landLabel);
  view.SetText(ids::kBuildingLabel, texts.buildingLabel);
  view.SetText(ids::kTaxLabel, texts.taxLabel);
  view.SetText(ids::kOtherCostLabel, texts.otherCostLabel);
  view.SetText(ids::kFundsMinusLoansLabel, texts.fundsMinusLoansLabel);
  view.SetText(ids::kMiscCostsLabel, texts.miscCostsLabel);
  view.SetText(ids::kOwnFundsLabel, texts.ownFundsLabel);
}

void ShowPlanAmounts(const PlanTexts& texts, PlanFormView& view) {
  view.SetText(ids::kLandPrice, texts.landPrice);
  view.SetText(ids::kBuildingPrice, texts.buildingPrice);
  view.SetText(ids::kConsumptionTax, texts.consumptionTax);
  view.SetText(ids::kOtherCost, texts.otherCost);
  view.SetText(ids::kFundsMinusLoans, texts.fundsMinusLoans);
  view.SetText(ids::kMiscCosts, texts.miscCosts);
  view.SetText(ids::kOwnFundsNeeded, texts.ownFundsNeeded);
  view.SetText(ids::kAnnualIncome, texts.annualIncome);
  view.SetText(ids::kRequiredFundsTotal, texts.requiredFundsTotal);
}

void ShowLoanRow(const LoanRow& loan, int row, PlanFormView& view) {
  const size_t i = static_cast<size_t>(row);
  const LoanRowTexts texts = MakeLoanRowTexts(loan);
  // The name goes into the list's edit field; no list item is selected and no rate looked up.
  view.SetSelection(ids::kLoanName[i], -1);
  view.SetText(ids::kLoanName[i], texts.loanName);
  view.SetSelection(ids::kMethod[i], MethodListPosition(loan.method));
  view.SetText(ids::kRate[i], texts.rate);
  view.SetText(ids::kPeriod[i], texts.period);
  view.SetText(ids::kLoanAmount[i], texts.loanAmount);
  view.SetText(ids::kBonusAmount[i], texts.bonusAmount);
  view.SetText(ids::kMonthlyPayment[i], texts.monthlyPayment);
  view.SetText(ids::kBonusPayment[i], texts.bonusPayment);
}

void ShowLoanRows(const FundingPlan& plan, PlanFormView& view) {
  for (int row = 0; row < kLoanRowCount; ++row) ShowLoanRow(plan.rows[static_cast<size_t>(row)], row, view);
}

void ShowPlanTotals(const PlanTexts& texts, PlanFormView& view) {
  view.SetText(ids::kTotalLoan, texts.totalLoan);
  view.SetText(ids::kTotalBonusAmount, texts.totalBonusAmount);
  view.SetText(ids::kTotalMonthly, texts.totalMonthly);
  view.SetText(ids::kTotalBonus, texts.totalBonus);
  view.SetText(ids::kAnnualRepayment, texts.annualRepayment);
  view.SetText(ids::kRepaymentRatio, texts.repaymentRatio);
}

}  // namespace zorvik
