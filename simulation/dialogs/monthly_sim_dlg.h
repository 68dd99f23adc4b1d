#pragma once
// CMonthlySimDlg (dialog 135): the monthly-target simulation, opened by a click on the monthly
// total of the main form.

#include "simulation/dialogs/sim_input_dlg.h"

namespace zorvik {

class CMonthlySimDlg : public CSimInputDlg {
  Q_OBJECT
 public:
  // `prompter` answers the messages and the result dialog; nullptr shows the real ones.
  explicit CMonthlySimDlg(const SimulationWork& work, QWidget* parent = nullptr,
                          SimulationPrompter* prompter = nullptr);

  // The body of 実行: SimulateMonthlyTarget on the working copy, then the result dialog.
  void RunMonthlyTarget();

 protected:
  void Run() override { RunMonthlyTarget(); }
};

}  // namespace zorvik
