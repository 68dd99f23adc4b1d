#include "core/plan_texts.h"

#include "core/control_ids.h"
#include "core/text_forms.h"

namespace zorvik {
namespace {

std::string OrBlank(bool isZero, std::string text) {
  return isZero ? std::string() : std::move(text);
}
std::string Signed(int32_t v) {
  return OrBlank(v == 0, FormatSignedAmount(v));
}
std::string Loan(int32_t v) {
  return OrBlank(v == 0, FormatLoanAmount(v));
}
std::string Total(int32_t v) {
  return OrBlank(v == 0, FormatTotalAmount(v));
}
std::string Yen(double v) {
  return OrBlank(v == 0.0, FormatYen(v));
}

struct PlanTextField {
  int id;
  std::string PlanTexts::*text;
};

// The controls of the header, the required funds and the totals, with the text each shows.
constexpr PlanTextField kPlanTextFields[] = {
    {ids::kCustomerName, &PlanTexts::customerName},
    {ids::kYear, &PlanTexts::year},
    {ids::kMonth, &PlanTexts::month},
    {ids::kDay, &PlanTexts::day},
    {ids::kLandLabel, &PlanTexts::landLabel},
    {ids::kBuildingLabel, &PlanTexts::buildingLabel},
    {ids::kTaxLabel, &PlanTexts::taxLabel},
    {ids::kOtherCostLabel, &PlanTexts::otherCostLabel},
    {ids::kFundsMinusLoansLabel, &PlanTexts::fundsMinusLoansLabel},
    {ids::kMiscCostsLabel, &PlanTexts::miscCostsLabel},
    {ids::kOwnFundsLabel, &PlanTexts::ownFundsLabel},
    {ids::kLandPrice, &PlanTexts::landPrice},
    {ids::kBuildingPrice, &PlanTexts::buildingPrice},
    {ids::kConsumptionTax, &PlanTexts::consumptionTax},
    {ids::kOtherCost, &PlanTexts::otherCost},
    {ids::kRequiredFundsTotal, &PlanTexts::requiredFundsTotal},
    {ids::kFundsMinusLoans, &PlanTexts::fundsMinusLoans},
    {ids::kMiscCosts, &PlanTexts::miscCosts},
    {ids::kOwnFundsNeeded, &PlanTexts::ownFundsNeeded},
    {ids::kAnnualIncome, &PlanTexts::annualIncome},
    {ids::kTotalLoan, &PlanTexts::totalLoan},
    {ids::kTotalBonusAmount, &PlanTexts::totalBonusAmount},
    {ids::kTotalMonthly, &PlanTexts::totalMonthly},
    {ids::kTotalBonus, &PlanTexts::totalBonus},
    {ids::kAnnualRepayment, &PlanTexts::annualRepayment},
    {ids::kRepaymentRatio, &PlanTexts::repaymentRatio},
};

struct RowTextField {
  const ids::RowIds& column;
  std::string LoanRowTexts::*text;
};

const RowTextField kRowTextFields[] = {
    {ids::kLoanName, &LoanRowTexts::loanName},
    {ids::kMethod, &LoanRowTexts::method},
    {ids::kRate, &LoanRowTexts::rate},
    {ids::kPeriod, &LoanRowTexts::period},
    {ids::kLoanAmount, &LoanRowTexts::loanAmount},
    {ids::kBonusAmount, &LoanRowTexts::bonusAmount},
    {ids::kMonthlyPayment, &LoanRowTexts::monthlyPayment},
    {ids::kBonusPayment, &LoanRowTexts::bonusPayment},
};

}  // namespace

int MethodListPosition(uint16_t methodCode) {
  return methodCode >= 1 && methodCode <= kMethodNameCount ? methodCode - 1 : -1;
}

std::string MethodText(uint16_t methodCode) {
  const int position = MethodListPosition(methodCode);
  return position < 0 ? std::string() : kMethodNames[position];
}

std::string PlanTexts::Text(int id) const {
  for (const PlanTextField& field : kPlanTextFields) {
    if (field.id == id) return this->*field.text;
  }
  for (const RowTextField& field : kRowTextFields) {
    const int row = ids::RowOf(field.column, id);
    if (row >= 0) return rows[static_cast<size_t>(row)].*field.text;
  }
  return std::string();
}

PlanTexts ReadPlanTexts(const std::function<std::string(int id)>& controlText) {
  PlanTexts t;
  for (const PlanTextField& field : kPlanTextFields) t.*field.text = controlText(field.id);
  for (const RowTextField& field : kRowTextFields) {
    for (size_t row = 0; row < t.rows.size(); ++row) t.rows[row].*field.text = controlText(field.column[row]);
  }
  return t;
}

bool ShowsRatio(const FundingPlan& plan) {
  return plan.annualIncome != 0 && plan.annualRepayment != 0.0;
}

PlanDate CreatedDate(const FundingPlan& plan) {
  return PlanDate{plan.createdYear, plan.createdMonth, plan.createdDay};
}

std::string CreatedDateText(const PlanDate& date) {
  return std::to_string(date.year) + "年 " + std::to_string(date.month) + "月 " + std::to_string(date.day) + "日  作成";
}

std::string CompactDateText(const PlanDate& date) {
  return std::to_string(date.year) + "年" + std::to_string(date.month) + "月" + std::to_string(date.day) + "日";
}

LoanRowTexts MakeLoanRowTexts(const LoanRow& row) {
  LoanRowTexts t;
  t.loanName = row.loanName;
  t.method = MethodText(row.method);
  t.rate = OrBlank(row.ratePercent == 0.0, FormatRate(row.ratePercent));
  t.period = OrBlank(row.periodYears == 0, FormatPeriod(row.periodYears));
  t.loanAmount = Loan(row.loanAmount);
  t.bonusAmount = Loan(row.bonusAmount);
  t.monthlyPayment = Yen(row.monthlyPayment);
  t.bonusPayment = Yen(row.bonusPayment);
  return t;
}

PlanTexts MakePlanTexts(const FundingPlan& plan) {
  PlanTexts t;
  t.customerName = plan.customerName;
  t.year = std::to_string(plan.createdYear);
  t.month = std::to_string(plan.createdMonth);
  t.day = std::to_string(plan.createdDay);
  t.landLabel = plan.landLabel;
  t.buildingLabel = plan.buildingLabel;
  t.taxLabel = plan.taxLabel;
  t.otherCostLabel = plan.otherCostLabel;
  t.fundsMinusLoansLabel = plan.fundsMinusLoansLabel;
  t.miscCostsLabel = plan.miscCostsLabel;
  t.ownFundsLabel = plan.ownFundsLabel;
  t.landPrice = Signed(plan.landPrice);
  t.buildingPrice = Signed(plan.buildingPrice);
  t.consumptionTax = Signed(plan.consumptionTax);
  t.otherCost = Signed(plan.otherCost);
  t.requiredFundsTotal = Total(plan.requiredFundsTotal);
  t.fundsMinusLoans = Signed(plan.fundsMinusLoans);
  t.miscCosts = Signed(plan.miscCosts);
  t.ownFundsNeeded = Signed(plan.ownFundsNeeded);
  t.annualIncome = Signed(plan.annualIncome);
  for (size_t i = 0; i < plan.rows.size(); ++i) t.rows[i] = MakeLoanRowTexts(plan.rows[i]);
  t.totalLoan = Total(plan.totalLoan);
  t.totalBonusAmount = Total(plan.totalBonusAmount);
  t.totalMonthly = Yen(plan.totalMonthly);
  t.totalBonus = Yen(plan.totalBonus);
  t.annualRepayment = Yen(plan.annualRepayment);
  // The ratio of a plan without income or without repayment is not shown, even a stored one.
  if (ShowsRatio(plan)) t.repaymentRatio = FormatRatio(plan.repaymentRatio);
  return t;
}

}  // namespace zorvik
