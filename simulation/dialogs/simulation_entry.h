#pragma once
// Entry points of the simulation for the main plan form: a click on the monthly total (1106)
// calls OpenMonthlySimulation, a click on the per-bonus total (1107) OpenBonusSimulation.
//
// Each remembers the loan total in `totalLoanBeforeSimulation`, does nothing more when both
// payment totals are 0, and otherwise runs the input dialog modally on a fresh working copy of
// the plan. Only when the user accepts a result is it written into the plan and the form
// (rows, compaction, loan-increase warning, totals, funds chain, ratio).

#include <cstdint>

#include "core/funding_plan.h"
#include "core/plan_form_view.h"

class QWidget;

namespace zorvik {

class SimulationPrompter;

// `prompter` answers the dialogs' questions; nullptr shows the real message boxes and the
// result dialog.
void OpenMonthlySimulation(QWidget* parent, FundingPlan& plan, PlanFormView& view, int32_t& totalLoanBeforeSimulation,
                           SimulationPrompter* prompter = nullptr);
void OpenBonusSimulation(QWidget* parent, FundingPlan& plan, PlanFormView& view, int32_t& totalLoanBeforeSimulation,
                         SimulationPrompter* prompter = nullptr);

}  // namespace zorvik
