#pragma once
// Every text the form and the printed sheet show for a plan, as one value.
//
// The text forms are those of core/text_forms.h; a zero amount, rate, period, payment or total
// is an empty text (an empty box), while the date shows its numbers as they are ("0" too). The
// repayment ratio shows only when both the annual income and the yearly repayment are non-zero,
// and then also when it is 0 ("0.00％"). Nothing is recomputed: the texts are those of the
// values the plan holds.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/funding_plan.h"

namespace zorvik {

// The items of a method list, in list order: position = method code - 1.
inline constexpr const char* kMethodNames[] = {"元利均等", "元金均等"};
inline constexpr int kMethodNameCount = 2;

// The name of a repayment method code; "" for a code that is not on the list.
std::string MethodText(uint16_t methodCode);
// The method list position of a code: code - 1 for a code on the list, otherwise -1 (nothing
// selected).
int MethodListPosition(uint16_t methodCode);

// Fixed captions of the form, the printed sheet and the workbook.
inline constexpr const char* kIncomeCaption = "年  収";
inline constexpr const char* kAnnualRepaymentCaption = "年間返済総額";
inline constexpr const char* kRatioCaption = "年収に対する返済割合";
inline constexpr const char* kRequiredFundsTotalCaption = "所要資金合計";
inline constexpr const char* kLoanNameCaption = "融  資  名";
inline constexpr const char* kMethodCaption = "返済方法";

struct LoanRowTexts {
  std::string loanName;
  std::string method;  // the selected item of the method list
  std::string rate;
  std::string period;
  std::string loanAmount;
  std::string bonusAmount;
  std::string monthlyPayment;
  std::string bonusPayment;
};

struct PlanTexts {
  std::string customerName;
  std::string year;
  std::string month;
  std::string day;
  std::string landLabel;
  std::string buildingLabel;
  std::string taxLabel;
  std::string otherCostLabel;
  std::string fundsMinusLoansLabel;
  std::string miscCostsLabel;
  std::string ownFundsLabel;
  std::string landPrice;
  std::string buildingPrice;
  std::string consumptionTax;
  std::string otherCost;
  std::string requiredFundsTotal;
  std::string fundsMinusLoans;
  std::string miscCosts;
  std::string ownFundsNeeded;
  std::string annualIncome;
  std::array<LoanRowTexts, kLoanRowCount> rows{};
  std::string totalLoan;
  std::string totalBonusAmount;
  std::string totalMonthly;
  std::string totalBonus;
  std::string annualRepayment;
  std::string repaymentRatio;

  // The text of the control with id `id` (core/control_ids.h); "" for a control that shows no
  // text of the plan.
  std::string Text(int id) const;
};

PlanTexts MakePlanTexts(const FundingPlan& plan);

// Whether the plan's stored ratio is shown: only with an income and a yearly repayment, and then
// also when it is 0.
bool ShowsRatio(const FundingPlan& plan);
// The plan's 作成日 as a date.
PlanDate CreatedDate(const FundingPlan& plan);
// "2026年 12月 8日  作成": the date as the sheet and the schedule pages print it.
std::string CreatedDateText(const PlanDate& date);
// "2026年12月8日": the date in a cell of the workbook.
std::string CompactDateText(const PlanDate& date);
// The texts as a form shows them, read control by control through `controlText` (an id of
// core/control_ids.h; for a method list, its selected item).
PlanTexts ReadPlanTexts(const std::function<std::string(int id)>& controlText);

// The texts of one loan line.
LoanRowTexts MakeLoanRowTexts(const LoanRow& row);

}  // namespace zorvik
