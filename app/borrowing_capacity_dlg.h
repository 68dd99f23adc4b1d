#pragma once
// CBorrowingCapacityDlg: "借入可能額", how much the customer can borrow on the income, and the
// income the plan on the form needs. Opened from "ツール(&T)" -> "借入可能額(&B)...".
//
// The inputs start from the plan (its income, the income's usual ratio limit) and from the
// settings (the screening rate last used, 3.000％ at first); every keystroke recomputes the
// answer, the rate x period grid and the plan's required income. Amounts are read and shown in
// the form's text forms, full-width digits included. Every box takes the one rule of
// CheckCapacityField: a refused text or value shows the form's range message once the focus has
// left the box, and the focus goes back into it. A bonus portion above the answer is held to the
// answer, and the answer's text says so.
//
// "計画に反映" puts the answer, its bonus portion, the screening rate, the period and the method
// into the first blank loan row of the form through the form's own handlers, as if the user had
// typed them there, so the row shows the payments the dialog showed and the totals and the ratio
// follow as usual.

#include <QDialog>
#include <map>
#include <memory>
#include <optional>

#include "core/borrowing_capacity.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zorvik {

class CFundingPlanDlg;
class QtFormView;

// The command of the tools menu that opens the dialog.
inline constexpr int kBorrowingCapacityCommand = 32800;
inline constexpr const char* kBorrowingCapacityMenuItem = "借入可能額(&B)...";

namespace capacity_ids {
// Inputs.
inline constexpr int kIncome = 1301;
inline constexpr int kRatioLimit = 1302;
inline constexpr int kRate = 1303;
inline constexpr int kPeriod = 1304;
inline constexpr int kMethod = 1305;
inline constexpr int kOtherRepayment = 1306;
inline constexpr int kBonus = 1307;
// The answer.
inline constexpr int kLoan = 1311;
inline constexpr int kMonthly = 1312;
inline constexpr int kBonusPayment = 1313;
inline constexpr int kAnnual = 1314;
inline constexpr int kRatio = 1315;
inline constexpr int kStatus = 1316;  // why there is no answer, or that the loan limit was reached
// The grid: cell of rate row r (0..4) and period column c (0..3) is kGridCell + 10 r + c.
inline constexpr int kGridCell = 1400;
// The plan on the form.
inline constexpr int kPlanAnnual = 1321;
inline constexpr int kPlanRatio = 1322;
inline constexpr int kRequiredIncome = 1323;
inline constexpr int kPlanNote = 1324;
// Buttons.
inline constexpr int kApply = 1331;
inline constexpr int kClose = 2;
}  // namespace capacity_ids

class CBorrowingCapacityDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CBorrowingCapacityDlg(CFundingPlanDlg& form);
  ~CBorrowingCapacityDlg() override;

  // The control with id `id` (capacity_ids), or nullptr; its shown text.
  QWidget* control(int id) const;
  QString controlText(int id) const;

  // The inputs as read from the boxes at the last recalculation, and the answer.
  const CapacityInputs& inputs() const { return inputs_; }
  const CapacityResult& result() const { return result_; }
  // The first loan row of the form with nothing in it, or -1.
  int FirstBlankRow() const;

  // Remembers the screening rate in the settings when it is one the dialog accepts.
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Notification { TextChanged, TextEdited, KillFocus, SelChange, Clicked };
  struct Handler {
    int id;
    Notification notification;
    void (CBorrowingCapacityDlg::*handler)(int id);
  };
  static const Handler kHandlers[];

  void BuildControls();
  void ConnectSignals();
  void OnInitDialog();
  void Dispatch(int id, Notification notification);

  void OnInputChanged(int id);
  void OnIncomeChanged(int id);
  void OnRatioLimitEdited(int id);
  void OnInputKillFocus(int id);
  void OnApply(int id);
  void OnClose(int id);

  CapacityInputs ReadInputs() const;
  // Why the text of the input box `id` is refused, or nullopt.
  std::optional<RangeError> Refusal(int id) const;
  // The range message about the box `id`, if it still holds a refused text, and the focus back.
  void ShowRefusal(int id);
  void Recalculate();
  void ShowAnswer(std::optional<CapacityField> refused);
  void ShowGrid(bool someRefused);
  void ShowPlan();
  QString Text(int id) const;
  void SetText(int id, const QString& text);
  // Writes the box's value back in its text form ("600" -> "600万"; 0 as an empty box).
  void ShowInTextForm(int id);

  CFundingPlanDlg& form_;
  // The controls by id, with the form's message box and the way it puts the focus back.
  std::unique_ptr<QtFormView> view_;
  std::map<int, QWidget*> controls_;
  QLineEdit* income_ = nullptr;
  QLineEdit* ratioLimit_ = nullptr;
  QLineEdit* rate_ = nullptr;
  QLineEdit* period_ = nullptr;
  QComboBox* method_ = nullptr;
  QLineEdit* other_ = nullptr;
  QLineEdit* bonus_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* close_ = nullptr;
  CapacityInputs inputs_;
  CapacityResult result_;
  bool ratioLimitTyped_ = false;  // the user set the limit; the income no longer moves it
  bool messagePending_ = false;   // a range message waits for the focus change to finish
  bool closing_ = false;
  QString applied_;  // what the last "計画に反映" did, shown until the inputs change
};

}  // namespace zorvik
