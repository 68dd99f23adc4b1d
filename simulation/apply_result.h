#pragma once
// The main form's side of a simulation: the rule for opening one, and the write-back of an
// accepted result into the plan and the form.

#include <cstdint>

#include "core/funding_plan.h"
#include "core/plan_form_view.h"
#include "core/plan_form_writer.h"
#include "core/product_name.h"
#include "simulation/simulation_work.h"

namespace zorvik {

inline constexpr const char* kLoanIncreasedMessage =
    "■シミュレーションの結果、借入額を増額しました！\n\n"
    "金融機関の借り入れ限度額を超えていないかどうか、\n"
    "借り入れ予定の金融機関の窓口にお問い合わ下さい。";

// Called on a click on the monthly or per-bonus total. Remembers the loan total as it stands
// (totalLoanBeforeSimulation := plan.totalLoan) and tells whether a simulation may open: not
// when both payment totals are exactly 0.
bool BeginSimulation(const FundingPlan& plan, int32_t& totalLoanBeforeSimulation);

// Writes an accepted simulation back, in this order: each row's loan amount, bonus portion and
// two payments from the work; row compaction and redisplay of every row; totalLoan from the
// work, with the loan-increase warning (caption kProductCaption) when it is above
// totalLoanBeforeSimulation; the totals and the funds chain shown (a total of 0 as an empty
// box, except the monthly total, which shows 0円); the ratio updated.
// Names, methods, rates, periods, suggested portions and the reference sums are not taken from
// the work.
void ApplySimulationResult(FundingPlan& plan, PlanFormView& view, const SimulationWork& work,
                           int32_t totalLoanBeforeSimulation);

// Moves the rows with any input up to the lowest free indices, keeping their order and each
// row's suggested bonus portion; the rows freed at the end are cleared (suggestion 0 too).
void CompactLoanRows(FundingPlan& plan);

// Every row's controls are rewritten from the plan by ShowLoanRows (core/plan_form_writer.h).

}  // namespace zorvik
