#pragma once
// The live recalculation of the plan while the user edits the form.
//
// Each editing event stores one field (read from its control through PlanFormView), recomputes
// exactly the fields that depend on it and writes them back in their text forms. There is no
// pass that recomputes everything: the steps inside a handler run in a fixed order, and later
// steps read what earlier steps wrote (a row's payments are read back from their statics
// before the row is recomputed). A zero value is written as an empty box.
//
// What the form must do around these handlers:
// - report every text change of a loan-amount box to OnLoanAmountTextChanged, also the changes
//   the recalculation itself writes (the "loan text changed" flag depends on them);
// - not report a selection the program sets (SetSelection of a method list, as in choosing a
//   product, deleting a row or showing a loaded plan) to OnMethodChosen: only the user's choice
//   runs that handler;
// - call the set-focus handlers before the user types and the kill-focus handlers when the box
//   is left, even when the focus moves to a button of the same row.
// Sums in 万円 are formed in 64 bits and saturated to the int32_t range.

#include <cstdint>
#include <optional>
#include <string>

#include "core/funding_plan.h"
#include "core/plan_form_view.h"
#include "core/text_forms.h"

namespace zorvik {

// Editing state of the loan-amount boxes, shared by all ten rows.
struct LoanEditState {
  std::string loanTextAtFocus;   // text of the loan box that last gained focus, first comma removed
  bool loanTextChanged = false;  // that text has differed from loanTextAtFocus since focus was gained
};

class PlanRecalculator {
 public:
  PlanRecalculator(FundingPlan& plan, PlanFormView& view) : plan_(plan), view_(view) {}

  // Header and captions: the field takes the control's text on every change.
  void OnCustomerNameChanged();
  void OnDateChanged(int id);  // ids::kYear, kMonth or kDay
  void OnOtherCostLabelChanged();

  // Required funds, miscellaneous costs, income: on losing focus.
  void OnRequiredFundsKillFocus(int id);  // one of ids::kLandPrice..kOtherCost
  void OnMiscCostsKillFocus();
  void OnAnnualIncomeKillFocus();

  // Loan rows, row 0..9.
  // A product was picked from the rate master: method 元利均等, the product's rate, then the row.
  void OnLoanProductChosen(int row, double productRate);
  void OnLoanNameKillFocus(int row);
  void OnMethodChosen(int row);
  void OnRateSetFocus(int row);
  void OnRateKillFocus(int row);
  void OnPeriodSetFocus(int row);
  void OnPeriodKillFocus(int row);
  void OnLoanAmountSetFocus(int row);
  void OnLoanAmountTextChanged(int row);
  void OnLoanAmountKillFocus(int row);
  void OnBonusAmountSetFocus(int row);
  void OnBonusAmountKillFocus(int row);
  void OnDeleteRow(int row);

  // Building blocks, also used after a plan was loaded or a simulation was accepted.
  void RecalculateRow(int row);
  // totalMonthly and totalBonus as the sums of the complete rows' payments, the yearly
  // repayment from them and the ratio; all shown.
  void RebuildPaymentTotals();
  void FullRebuildReferenceSums();
  void PlainRebuildReferenceSums();
  void UpdateFundsChain();  // fundsMinusLoans and ownFundsNeeded, shown
  void UpdateRatio();       // repaymentRatio and its box (emptied when income or repayment is 0)
  void ResumLoanTotals();   // totalLoan and totalBonusAmount from the rows (not shown)

  const LoanEditState& editState() const { return edit_; }
  LoanEditState& editState() { return edit_; }

 private:
  FundingPlan& plan_;
  PlanFormView& view_;
  LoanEditState edit_;
};

// Writes the whole plan into the form as it stands, without recalculating any payment or
// total (after a plan file was opened): amounts in their text forms, zeros as empty boxes,
// loan names into the name boxes without selecting a list item, the ratio only when income
// and yearly repayment are both non-zero. Then sets each row's suggestedBonus from its loaded
// loan amount and rebuilds the reference sums.
void ShowLoadedPlan(FundingPlan& plan, PlanFormView& view);

// The reference sums by the full rebuild, from the rows' inputs: every row with a loan counts
// with its bonus portion, or with the four-tenths suggestion of its loan while the portion is
// at or below the row's suggestedBonus. With every row at its suggestion they are the lowest
// monthly and the highest per-bonus total that raising bonus portions can reach.
struct ReferenceSums {
  double monthly = 0.0;  // yen
  double bonus = 0.0;    // yen, per bonus date
};
ReferenceSums FullReferenceSums(const FundingPlan& plan);

// The range check of box `id` on `text`: a rate, period or loan-amount box refuses what its
// kill-focus handler refuses; every other box accepts any text.
std::optional<RangeError> CheckBoxText(int id, const std::string& text);

// A box of the form whose text the range checks refuse, and the message that says so.
struct RejectedBox {
  int id = 0;
  RangeError error;
};
// The box to report while the form holds a refused value: `preferredId` (the box with the
// focus) when it holds one, otherwise the first of the rows, row by row, rate before period
// before loan. nullopt when every box holds an accepted value. Printing, saving, the
// simulations and the tool windows must not start while there is one: they would show or
// keep a figure the form never accepted.
std::optional<RejectedBox> FindRejectedBox(const PlanFormView& view, int preferredId = 0);

// Writes `text`, or the empty text when `isZero`.
inline void ShowOrBlank(PlanFormView& view, int id, bool isZero, const std::string& text) {
  view.SetText(id, isZero ? std::string() : text);
}

}  // namespace zorvik
