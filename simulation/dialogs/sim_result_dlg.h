#pragma once
// CSimResultDlg (dialog 137): the loan, monthly and per-bonus totals before and after a
// simulation. OK takes the outcome over; 元に戻す discards it.

#include <QDialog>
#include <cstdint>
#include <map>

#include "simulation/payment_target.h"

class QLabel;

namespace zorvik {

// The six values the dialog shows; a zero shows as 0円 or 0万.
struct SimResultValues {
  double monthlyAfter = 0.0;   // yen, 1148
  double bonusAfter = 0.0;     // yen, 1149
  double monthlyBefore = 0.0;  // yen, 1146
  double bonusBefore = 0.0;    // yen, 1147
  int32_t loanAfter = 0;       // 万円, 1151
  int32_t loanBefore = 0;      // 万円, 1150

  static SimResultValues From(const SimulationOutcome& outcome);
};

class CSimResultDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CSimResultDlg(const SimResultValues& values, QWidget* parent = nullptr);

  // The control with dialog id `id` (sim_ids), or nullptr.
  QWidget* control(int id) const;
  QString controlText(int id) const;

 private:
  void OnInitDialog();
  QLabel* AddValue(int id, const QColor& background);

  SimResultValues values_;
  std::map<int, QWidget*> controls_;
};

}  // namespace zorvik
