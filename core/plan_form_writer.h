#pragma once
// The one writer of a plan into the form: every path that shows a whole plan, a new plan or
// loan rows (opening a file, a new plan, an accepted simulation, deleting a row) writes through
// these functions. The texts are those of core/plan_texts.h (empty boxes for zeros); nothing
// is recomputed.
//
// A loan row is written as: no item of the name list selected and the name in its edit field;
// the method list at the code's position, nothing selected for a code that is not on the list;
// then rate, period, loan amount, bonus portion and the two payments. Writing a text counts as
// a text change of that box (core/plan_form_view.h), so the form's text handlers see the same
// texts in the same order on every path.

#include "core/funding_plan.h"
#include "core/plan_form_view.h"
#include "core/plan_texts.h"

namespace zorvik {

// Customer name, the three date boxes and the seven captions of the required funds.
void ShowPlanHeader(const PlanTexts& texts, PlanFormView& view);
// The required funds, miscellaneous costs, own funds and annual income boxes.
void ShowPlanAmounts(const PlanTexts& texts, PlanFormView& view);
// Loan row `row` (0..9) with the values of `loan`.
void ShowLoanRow(const LoanRow& loan, int row, PlanFormView& view);
// Every loan row of the plan.
void ShowLoanRows(const FundingPlan& plan, PlanFormView& view);
// Loan and bonus totals, payment totals, the yearly repayment and the ratio.
void ShowPlanTotals(const PlanTexts& texts, PlanFormView& view);

}  // namespace zorvik
