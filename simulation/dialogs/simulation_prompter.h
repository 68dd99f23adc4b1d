#pragma once
// What the input dialogs ask the user after 実行: a message of the common frame, or whether the
// outcome is taken over (the result dialog). Tests answer through their own implementation.

#include <QString>

#include "simulation/payment_target.h"

class QWidget;

namespace zorvik {

class SimulationPrompter {
 public:
  virtual ~SimulationPrompter() = default;
  // An OK-only message box without an icon.
  virtual void ShowMessage(QWidget* parent, const QString& text, const QString& caption) = 0;
  // Shows the before and after values; true when the user chose OK, false for 元に戻す.
  virtual bool ConfirmResult(QWidget* parent, const SimulationOutcome& outcome) = 0;
};

// The real questions: QMessageBox and CSimResultDlg, both modal.
class ModalSimulationPrompter : public SimulationPrompter {
 public:
  void ShowMessage(QWidget* parent, const QString& text, const QString& caption) override;
  bool ConfirmResult(QWidget* parent, const SimulationOutcome& outcome) override;
};

}  // namespace zorvik
