// The editing recalculation of the plan form.
//
// Each handler below is one control event. The steps run in a fixed order and later steps
// read what earlier steps wrote, including texts the handler itself has just put into the form
// (a row's payments are read back from their statics before the row is recomputed). The
// displayed payment totals are always the sums of the complete rows' payments: every event that
// can change a complete row's payments, or whether a row is complete, rebuilds them from the
// rows, so they can never lag behind what the rows show. An accepted simulation writes totals
// that are such sums too, and the next row change keeps them.
//
// 万円 sums are formed in 64 bits and saturated to the int32_t range: inside the form's limits
// they are the plain sums, and amounts read from a file that was never range-checked cannot
// overflow.

#include "core/plan_recalc.h"

#include <algorithm>
#include <limits>

#include "core/control_ids.h"
#include "core/number_scan.h"
#include "core/plan_form_writer.h"
#include "core/plan_texts.h"
#include "core/repayment.h"
#include "core/text_forms.h"
#include "core/units.h"

namespace zorvik {
namespace {

size_t At(int row) {
  return static_cast<size_t>(row);
}

void ShowSigned(PlanFormView& view, int id, int32_t v) {
  ShowOrBlank(view, id, v == 0, FormatSignedAmount(v));
}
void ShowLoan(PlanFormView& view, int id, int32_t v) {
  ShowOrBlank(view, id, v == 0, FormatLoanAmount(v));
}
void ShowTotal(PlanFormView& view, int id, int32_t v) {
  ShowOrBlank(view, id, v == 0, FormatTotalAmount(v));
}
void ShowYen(PlanFormView& view, int id, double v) {
  ShowOrBlank(view, id, v == 0.0, FormatYen(v));
}
// The rate a row computes with is the rate its box shows (three decimals), which is also what the
// plan file keeps: a master or typed rate with more decimals would otherwise give payments that
// neither the shown rate nor the reopened plan reproduces.
double AsShownRate(double v) {
  return v == 0.0 ? 0.0 : ParseRateText(FormatRate(v));
}

void ShowRate(PlanFormView& view, int id, double v) {
  ShowOrBlank(view, id, v == 0.0, FormatRate(v));
}
void ShowPeriod(PlanFormView& view, int id, int16_t v) {
  ShowOrBlank(view, id, v == 0, FormatPeriod(v));
}

// Shows a failed range check, puts the focus back into the offending box and tells the handler
// to stop. The box keeps the text as typed (the plan holds the refused value until the box is
// corrected; FindRejectedBox keeps it from being printed or saved).
bool Rejected(PlanFormView& view, int id, const std::optional<RangeError>& error) {
  if (!error) return false;
  view.RefuseValue(id, error->message, error->caption);
  return true;
}

// Both reference sums from the rows' inputs: a row whose bonus portion is still the one the
// four-tenths rule proposed (or below it) counts with the rule's value for its current loan.
void AddReferencePayments(const FundingPlan& plan, size_t r, double& monthlySum, double& bonusSum) {
  const LoanRow& row = plan.rows[r];
  const int32_t portion =
      plan.suggestedBonus[r] >= row.bonusAmount ? SuggestBonusAmount(row.loanAmount) : row.bonusAmount;
  const PaymentFactors f = PreparePaymentFactors(row.method, row.periodYears, row.ratePercent);
  monthlySum += MonthlyPaymentWith(f, row.loanAmount, portion);
  bonusSum += BonusPaymentWith(f, portion);
}

}  // namespace

// ---- header and captions -------------------------------------------------------------------

void PlanRecalculator::OnCustomerNameChanged() {
  plan_.customerName = view_.Text(ids::kCustomerName);
}

void PlanRecalculator::OnDateChanged(int id) {
  const uint16_t value = ParseDateText(view_.Text(id));
  if (id == ids::kYear) {
    plan_.createdYear = value;
  } else if (id == ids::kMonth) {
    plan_.createdMonth = value;
  } else if (id == ids::kDay) {
    plan_.createdDay = value;
  }
}

void PlanRecalculator::OnOtherCostLabelChanged() {
  plan_.otherCostLabel = view_.Text(ids::kOtherCostLabel);
}

// ---- required funds, miscellaneous costs, income -------------------------------------------

void PlanRecalculator::OnRequiredFundsKillFocus(int id) {
  plan_.landPrice = ParseAmountText(view_.Text(ids::kLandPrice));
  plan_.buildingPrice = ParseAmountText(view_.Text(ids::kBuildingPrice));
  plan_.consumptionTax = ParseAmountText(view_.Text(ids::kConsumptionTax));
  plan_.otherCost = ParseAmountText(view_.Text(ids::kOtherCost));
  plan_.requiredFundsTotal =
      SaturateCast<int32_t>(int64_t{plan_.landPrice} + plan_.buildingPrice + plan_.consumptionTax + plan_.otherCost);
  UpdateFundsChain();
  const int32_t* shown = id == ids::kLandPrice        ? &plan_.landPrice
                         : id == ids::kBuildingPrice  ? &plan_.buildingPrice
                         : id == ids::kConsumptionTax ? &plan_.consumptionTax
                         : id == ids::kOtherCost      ? &plan_.otherCost
                                                      : nullptr;
  if (shown != nullptr) ShowSigned(view_, id, *shown);
  ShowTotal(view_, ids::kRequiredFundsTotal, plan_.requiredFundsTotal);
}

void PlanRecalculator::OnMiscCostsKillFocus() {
  plan_.miscCosts = ParseAmountText(view_.Text(ids::kMiscCosts));
  ShowSigned(view_, ids::kMiscCosts, plan_.miscCosts);
  plan_.ownFundsNeeded = SaturateCast<int32_t>(int64_t{plan_.fundsMinusLoans} + plan_.miscCosts);
  ShowSigned(view_, ids::kOwnFundsNeeded, plan_.ownFundsNeeded);
}

void PlanRecalculator::OnAnnualIncomeKillFocus() {
  plan_.annualIncome = ParseAmountText(view_.Text(ids::kAnnualIncome));
  ShowSigned(view_, ids::kAnnualIncome, plan_.annualIncome);
  UpdateRatio();
}

// ---- loan rows -------------------------------------------------------------------------------

void PlanRecalculator::OnLoanProductChosen(int row, double productRate) {
  LoanRow& r = plan_.rows[At(row)];
  r.method = MethodCode(RepaymentMethod::EqualInstallment);
  view_.SetSelection(ids::kMethod[At(row)], r.method - 1);
  r.ratePercent = AsShownRate(productRate);
  ShowRate(view_, ids::kRate[At(row)], r.ratePercent);
  ResumLoanTotals();
  UpdateFundsChain();
  FullRebuildReferenceSums();
  RecalculateRow(row);
}

void PlanRecalculator::OnLoanNameKillFocus(int row) {
  plan_.rows[At(row)].loanName = view_.Text(ids::kLoanName[At(row)]);
}

void PlanRecalculator::OnMethodChosen(int row) {
  LoanRow& r = plan_.rows[At(row)];
  const bool wasComplete = r.IsComplete();
  r.method = static_cast<uint16_t>(std::max(0, view_.Selection(ids::kMethod[At(row)]) + 1));
  if (r.IsComplete()) {
    RecalculateRow(row);
  } else if (wasComplete) {
    RebuildPaymentTotals();  // the row no longer counts
  }
  FullRebuildReferenceSums();
}

void PlanRecalculator::OnRateSetFocus(int row) {
  plan_.rows[At(row)].ratePercent = ParseRateText(view_.Text(ids::kRate[At(row)]));
}

void PlanRecalculator::OnRateKillFocus(int row) {
  LoanRow& r = plan_.rows[At(row)];
  const int id = ids::kRate[At(row)];
  const double oldRate = r.ratePercent;
  r.ratePercent = ParseRateText(view_.Text(id));
  if (Rejected(view_, id, CheckRate(r.ratePercent))) return;
  r.ratePercent = AsShownRate(r.ratePercent);
  ShowRate(view_, id, r.ratePercent);
  if (r.ratePercent != oldRate && r.periodYears != 0 && r.method != 0 && r.loanAmount != 0) RecalculateRow(row);
  FullRebuildReferenceSums();
}

void PlanRecalculator::OnPeriodSetFocus(int row) {
  plan_.rows[At(row)].periodYears = ParsePeriodText(view_.Text(ids::kPeriod[At(row)]));
}

void PlanRecalculator::OnPeriodKillFocus(int row) {
  LoanRow& r = plan_.rows[At(row)];
  const int id = ids::kPeriod[At(row)];
  const int16_t oldPeriod = r.periodYears;
  r.periodYears = ParsePeriodText(view_.Text(id));
  if (Rejected(view_, id, CheckPeriod(r.periodYears))) return;
  // The row is recomputed while the box still shows what was typed: an emptied box keeps the
  // row's shown payments.
  if (r.ratePercent != 0.0 && r.periodYears != oldPeriod && r.method != 0 && r.loanAmount != 0) RecalculateRow(row);
  ShowPeriod(view_, id, r.periodYears);
  FullRebuildReferenceSums();
}

void PlanRecalculator::OnLoanAmountSetFocus(int row) {
  const std::string text = view_.Text(ids::kLoanAmount[At(row)]);
  edit_.loanTextAtFocus = WithoutFirstComma(text);
  edit_.loanTextChanged = false;
  plan_.rows[At(row)].loanAmount = ParseAmountText(text);
}

void PlanRecalculator::OnLoanAmountTextChanged(int row) {
  if (WithoutFirstComma(view_.Text(ids::kLoanAmount[At(row)])) != edit_.loanTextAtFocus) {
    edit_.loanTextChanged = true;
  }
}

void PlanRecalculator::OnLoanAmountKillFocus(int row) {
  LoanRow& r = plan_.rows[At(row)];
  const int id = ids::kLoanAmount[At(row)];
  r.loanAmount = ParseAmountText(view_.Text(id));
  if (Rejected(view_, id, CheckLoanAmount(r.loanAmount))) return;
  // Writing the box counts as a text change; the form reports it to OnLoanAmountTextChanged.
  ShowLoan(view_, id, r.loanAmount);
  if (edit_.loanTextChanged) {
    r.bonusAmount = SuggestBonusAmount(r.loanAmount);
    plan_.suggestedBonus[At(row)] = r.bonusAmount;
    ShowLoan(view_, ids::kBonusAmount[At(row)], r.bonusAmount);
    if (r.ratePercent != 0.0 && r.periodYears != 0 && r.method != 0) RecalculateRow(row);
    ResumLoanTotals();
    PlainRebuildReferenceSums();
    UpdateFundsChain();
  }
  ShowTotal(view_, ids::kTotalLoan, plan_.totalLoan);
  ShowTotal(view_, ids::kTotalBonusAmount, plan_.totalBonusAmount);
}

void PlanRecalculator::OnBonusAmountSetFocus(int row) {
  plan_.rows[At(row)].bonusAmount = ParseAmountText(view_.Text(ids::kBonusAmount[At(row)]));
}

void PlanRecalculator::OnBonusAmountKillFocus(int row) {
  LoanRow& r = plan_.rows[At(row)];
  const int id = ids::kBonusAmount[At(row)];
  const int32_t oldBonus = r.bonusAmount;
  if (r.loanAmount == 0) {
    r.bonusAmount = 0;
    view_.SetText(id, std::string());
  }
  r.bonusAmount = std::min(ParseAmountText(view_.Text(id)), r.loanAmount);
  ShowLoan(view_, id, r.bonusAmount);
  if (r.IsComplete() && r.bonusAmount != oldBonus) RecalculateRow(row);
  int64_t bonusSum = 0;
  for (const LoanRow& each : plan_.rows) bonusSum += each.bonusAmount;
  plan_.totalBonusAmount = SaturateCast<int32_t>(bonusSum);
  ShowTotal(view_, ids::kTotalBonusAmount, plan_.totalBonusAmount);
}

void PlanRecalculator::OnDeleteRow(int row) {
  const size_t i = At(row);
  plan_.rows[i] = LoanRow{};  // suggestedBonus of the row stays; rows below do not move up
  ShowLoanRow(plan_.rows[i], row, view_);

  plan_.totalMonthly = plan_.totalBonus = plan_.annualRepayment = 0.0;
  plan_.recalcMonthlySum = plan_.recalcBonusSum = 0.0;
  int64_t loanSum = 0;
  int64_t bonusSum = 0;
  for (size_t r = 0; r < plan_.rows.size(); ++r) {
    const LoanRow& each = plan_.rows[r];
    if (each.loanAmount == 0) continue;
    loanSum += each.loanAmount;
    bonusSum += each.bonusAmount;
    // A row whose period box was emptied still shows its payments but no longer counts.
    if (each.IsComplete()) {
      plan_.totalMonthly += each.monthlyPayment;
      plan_.totalBonus += each.bonusPayment;
    }
    AddReferencePayments(plan_, r, plan_.recalcMonthlySum, plan_.recalcBonusSum);
  }
  plan_.totalLoan = SaturateCast<int32_t>(loanSum);
  plan_.totalBonusAmount = SaturateCast<int32_t>(bonusSum);
  UpdateFundsChain();
  plan_.annualRepayment = 2 * plan_.totalBonus + 12 * plan_.totalMonthly;
  UpdateRatio();
  ShowTotal(view_, ids::kTotalLoan, plan_.totalLoan);
  ShowTotal(view_, ids::kTotalBonusAmount, plan_.totalBonusAmount);
  ShowYen(view_, ids::kTotalMonthly, plan_.totalMonthly);
  ShowYen(view_, ids::kTotalBonus, plan_.totalBonus);
  ShowYen(view_, ids::kAnnualRepayment, plan_.annualRepayment);
}

// ---- building blocks -------------------------------------------------------------------------

void PlanRecalculator::RecalculateRow(int row) {
  const size_t i = At(row);
  LoanRow& r = plan_.rows[i];
  // Re-read the row's payments as the form shows them.
  r.monthlyPayment = ParsePaymentText(view_.Text(ids::kMonthlyPayment[i]));
  r.bonusPayment = ParsePaymentText(view_.Text(ids::kBonusPayment[i]));
  // An empty period box leaves the row's payments as they are shown; without a period the
  // row no longer counts toward the totals.
  if (view_.Text(ids::kPeriod[i]).empty()) {
    RebuildPaymentTotals();
    return;
  }
  // Recompute the row's payments (none without a period or a rate).
  if (r.periodYears == 0 || r.ratePercent == 0.0) {
    r.monthlyPayment = 0;
    r.bonusPayment = 0;
  } else {
    r.method = view_.Selection(ids::kMethod[i]) == 0 ? MethodCode(RepaymentMethod::EqualInstallment)
                                                     : MethodCode(RepaymentMethod::EqualPrincipal);
    const PaymentFactors f = PreparePaymentFactors(r.method, r.periodYears, r.ratePercent);
    r.monthlyPayment = MonthlyPaymentWith(f, r.loanAmount, r.bonusAmount);
    r.bonusPayment = BonusPaymentWith(f, r.bonusAmount);
  }
  // Show them.
  ShowYen(view_, ids::kMonthlyPayment[i], r.monthlyPayment);
  ShowYen(view_, ids::kBonusPayment[i], r.bonusPayment);
  // The totals follow the rows.
  RebuildPaymentTotals();
}

void PlanRecalculator::RebuildPaymentTotals() {
  plan_.totalMonthly = 0.0;
  plan_.totalBonus = 0.0;
  for (const LoanRow& each : plan_.rows) {
    if (!each.IsComplete()) continue;
    plan_.totalMonthly += each.monthlyPayment;
    plan_.totalBonus += each.bonusPayment;
  }
  // The yearly repayment, the ratio and the shown totals follow.
  plan_.annualRepayment = 2 * plan_.totalBonus + 12 * plan_.totalMonthly;
  ShowYen(view_, ids::kAnnualRepayment, plan_.annualRepayment);
  UpdateRatio();
  ShowYen(view_, ids::kTotalMonthly, plan_.totalMonthly);
  ShowYen(view_, ids::kTotalBonus, plan_.totalBonus);
}

void PlanRecalculator::FullRebuildReferenceSums() {
  const ReferenceSums sums = FullReferenceSums(plan_);
  plan_.recalcMonthlySum = sums.monthly;
  plan_.recalcBonusSum = sums.bonus;
}

void PlanRecalculator::PlainRebuildReferenceSums() {
  double monthly = 0.0;
  double bonus = 0.0;
  for (const LoanRow& each : plan_.rows) {
    monthly += each.monthlyPayment;
    bonus += each.bonusPayment;
  }
  plan_.recalcMonthlySum = monthly;
  plan_.recalcBonusSum = bonus;
}

void PlanRecalculator::UpdateFundsChain() {
  plan_.fundsMinusLoans = SaturateCast<int32_t>(int64_t{plan_.requiredFundsTotal} - plan_.totalLoan);
  ShowSigned(view_, ids::kFundsMinusLoans, plan_.fundsMinusLoans);
  plan_.ownFundsNeeded = SaturateCast<int32_t>(int64_t{plan_.miscCosts} + plan_.fundsMinusLoans);
  ShowSigned(view_, ids::kOwnFundsNeeded, plan_.ownFundsNeeded);
}

void PlanRecalculator::UpdateRatio() {
  if (plan_.annualIncome == 0 || plan_.annualRepayment == 0.0) {
    view_.SetText(ids::kRepaymentRatio, std::string());
    return;  // the ratio keeps its old value
  }
  plan_.repaymentRatio = RepaymentRatioPercent(plan_.annualRepayment, plan_.annualIncome);
  view_.SetText(ids::kRepaymentRatio, FormatRatio(plan_.repaymentRatio));
}

void PlanRecalculator::ResumLoanTotals() {
  int64_t loanSum = 0;
  int64_t bonusSum = 0;
  for (const LoanRow& each : plan_.rows) {
    loanSum += each.loanAmount;
    bonusSum += each.bonusAmount;
  }
  plan_.totalLoan = SaturateCast<int32_t>(loanSum);
  plan_.totalBonusAmount = SaturateCast<int32_t>(bonusSum);
}

ReferenceSums FullReferenceSums(const FundingPlan& plan) {
  ReferenceSums sums;
  for (size_t r = 0; r < plan.rows.size(); ++r) {
    if (plan.rows[r].loanAmount != 0) AddReferencePayments(plan, r, sums.monthly, sums.bonus);
  }
  return sums;
}

// ---- refused values ----------------------------------------------------------------------------

std::optional<RangeError> CheckBoxText(int id, const std::string& text) {
  if (ids::RowOf(ids::kRate, id) >= 0) return CheckRate(ParseRateText(text));
  if (ids::RowOf(ids::kPeriod, id) >= 0) return CheckPeriod(ParsePeriodText(text));
  if (ids::RowOf(ids::kLoanAmount, id) >= 0) return CheckLoanAmount(ParseAmountText(text));
  return std::nullopt;
}

std::optional<RejectedBox> FindRejectedBox(const PlanFormView& view, int preferredId) {
  const std::optional<RangeError> preferred =
      preferredId != 0 ? CheckBoxText(preferredId, view.Text(preferredId)) : std::nullopt;
  if (preferred) return RejectedBox{preferredId, *preferred};
  for (int row = 0; row < kLoanRowCount; ++row) {
    const size_t r = At(row);
    for (int id : {ids::kRate[r], ids::kPeriod[r], ids::kLoanAmount[r]}) {
      if (std::optional<RangeError> error = CheckBoxText(id, view.Text(id))) return RejectedBox{id, *error};
    }
  }
  return std::nullopt;
}

// ---- a plan that was just read from a file ---------------------------------------------------

void ShowLoadedPlan(FundingPlan& plan, PlanFormView& view) {
  // The values shown are the ones the file held: no payment or total is recomputed. Every box
  // is emptied before it shows its new value.
  const PlanTexts empty;
  ShowPlanAmounts(empty, view);
  ShowPlanTotals(empty, view);
  const PlanTexts texts = MakePlanTexts(plan);
  ShowPlanHeader(texts, view);
  ShowPlanAmounts(texts, view);
  for (int row = 0; row < kLoanRowCount; ++row) {
    const LoanRow& r = plan.rows[At(row)];
    ShowLoanRow(LoanRow{}, row, view);
    ShowLoanRow(r, row, view);
    if (r.loanAmount != 0) plan.suggestedBonus[At(row)] = SuggestBonusAmountForLoadedPlan(r.loanAmount);
  }
  ShowPlanTotals(texts, view);

  PlanRecalculator(plan, view).FullRebuildReferenceSums();
}

}  // namespace zorvik
