#pragma once
// CBonusSimDlg (dialog 136): the per-bonus-target simulation, opened by a click on the
// per-bonus total of the main form.

#include "simulation/dialogs/sim_input_dlg.h"

namespace zorvik {

class CBonusSimDlg : public CSimInputDlg {
  Q_OBJECT
 public:
  // `prompter` answers the messages and the result dialog; nullptr shows the real ones.
  explicit CBonusSimDlg(const SimulationWork& work, QWidget* parent = nullptr, SimulationPrompter* prompter = nullptr);

  // The body of 実行: SimulateBonusTarget on the working copy, then the result dialog.
  void RunBonusTarget();

 protected:
  void Run() override { RunBonusTarget(); }
};

}  // namespace zorvik
