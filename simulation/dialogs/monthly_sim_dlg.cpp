#include "simulation/dialogs/monthly_sim_dlg.h"

#include "simulation/payment_target.h"

namespace zorvik {

CMonthlySimDlg::CMonthlySimDlg(const SimulationWork& work, QWidget* parent, SimulationPrompter* prompter)
    : CSimInputDlg(work, QStringLiteral("現在の月払い額"), work.currentMonthly, prompter, parent) {}

void CMonthlySimDlg::RunMonthlyTarget() {
  Finish(SimulateMonthlyTarget(work()));
}

}  // namespace zorvik
