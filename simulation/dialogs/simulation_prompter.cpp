#include "simulation/dialogs/simulation_prompter.h"

#include <QMessageBox>

#include "simulation/dialogs/sim_result_dlg.h"

namespace zorvik {

void ModalSimulationPrompter::ShowMessage(QWidget* parent, const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

bool ModalSimulationPrompter::ConfirmResult(QWidget* parent, const SimulationOutcome& outcome) {
  CSimResultDlg dialog(SimResultValues::From(outcome), parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace zorvik
