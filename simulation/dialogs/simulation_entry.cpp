#include "simulation/dialogs/simulation_entry.h"

#include "simulation/apply_result.h"
#include "simulation/dialogs/bonus_sim_dlg.h"
#include "simulation/dialogs/monthly_sim_dlg.h"
#include "simulation/simulation_work.h"

namespace zorvik {
namespace {

template <typename Dialog>
void OpenSimulation(QWidget* parent, FundingPlan& plan, PlanFormView& view, int32_t& totalLoanBeforeSimulation,
                    SimulationPrompter* prompter) {
  if (!BeginSimulation(plan, totalLoanBeforeSimulation)) return;
  Dialog dialog(MakeSimulationWork(plan), parent, prompter);
  if (dialog.exec() != QDialog::Accepted) return;
  ApplySimulationResult(plan, view, dialog.work(), totalLoanBeforeSimulation);
}

}  // namespace

void OpenMonthlySimulation(QWidget* parent, FundingPlan& plan, PlanFormView& view, int32_t& totalLoanBeforeSimulation,
                           SimulationPrompter* prompter) {
  OpenSimulation<CMonthlySimDlg>(parent, plan, view, totalLoanBeforeSimulation, prompter);
}

void OpenBonusSimulation(QWidget* parent, FundingPlan& plan, PlanFormView& view, int32_t& totalLoanBeforeSimulation,
                         SimulationPrompter* prompter) {
  OpenSimulation<CBonusSimDlg>(parent, plan, view, totalLoanBeforeSimulation, prompter);
}

}  // namespace zorvik
