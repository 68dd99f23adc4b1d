#pragma once
// The common body of the two simulation input dialogs, CMonthlySimDlg (135) and CBonusSimDlg
// (136). Both show the current total, take the desired amount and whether loan amounts may
// change, and run their procedure on 実行 over their own working copy of the plan.
//
// Leaving the desired box (not for a popup or another window) reads and formats the amount.
//
// Keyboard: Enter never reaches the default button. In the desired box it moves the focus on
// (which reads the amount); on 実行 it runs the simulation; elsewhere it does nothing.

#include <QDialog>
#include <map>
#include <memory>

#include "simulation/payment_target.h"
#include "simulation/simulation_work.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zorvik {

class SimulationPrompter;

class CSimInputDlg : public QDialog {
  Q_OBJECT
 public:
  ~CSimInputDlg() override;

  SimulationWork& work() { return work_; }
  const SimulationWork& work() const { return work_; }

  // The control with dialog id `id` (sim_ids), or nullptr.
  QWidget* control(int id) const;
  QLineEdit* desiredBox() const { return desired_; }
  QLineEdit* currentBox() const { return current_; }

 protected:
  // `currentCaption` names the total the dialog targets; `currentTotal` is that total.
  CSimInputDlg(const SimulationWork& work, const QString& currentCaption, double currentTotal,
               SimulationPrompter* prompter, QWidget* parent);

  // The procedure behind 実行 (RunMonthlyTarget or RunBonusTarget).
  virtual void Run() = 0;
  // Shared by both procedures: messages of the common frame, or the result dialog and then
  // IDOK (outcome taken into the work) or IDCANCEL.
  void Finish(const SimulationOutcome& outcome);

  bool eventFilter(QObject* watched, QEvent* event) override;  // PreTranslateMessage
  void keyPressEvent(QKeyEvent* event) override;

 private:
  enum class Notification { Clicked, TextChanged };
  struct Handler {
    int id;
    Notification notification;
    void (CSimInputDlg::*handler)();
  };
  static const Handler kHandlers[];

  void OnInitDialog();
  void OnOK();      // 実  行
  void OnCancel();  // 中  止
  void OnDesiredChanged();
  void OnDesiredSetFocus();
  void OnDesiredKillFocus();  // through the LeaveWatch
  void OnChangeLoansYes();
  void OnChangeLoansNo();
  void Dispatch(int id, Notification notification);
  bool HandleEnter();

  SimulationWork work_;
  double currentTotal_;
  SimulationPrompter* prompter_;
  std::unique_ptr<SimulationPrompter> ownPrompter_;
  std::map<int, QWidget*> controls_;
  QLineEdit* desired_ = nullptr;
  QLineEdit* current_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace zorvik
