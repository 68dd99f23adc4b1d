#include "simulation/dialogs/bonus_sim_dlg.h"

#include "simulation/payment_target.h"

namespace zorvik {

CBonusSimDlg::CBonusSimDlg(const SimulationWork& work, QWidget* parent, SimulationPrompter* prompter)
    : CSimInputDlg(work, QStringLiteral("現在のボーナス払い額"), work.currentBonus, prompter, parent) {}

void CBonusSimDlg::RunBonusTarget() {
  Finish(SimulateBonusTarget(work()));
}

}  // namespace zorvik
