#pragma once
// CFundingPlanDlg: the main plan form, the one window of the program.
//
// Flow: form event -> recalculation -> view. Every control event runs one On... handler
// (one table maps a control id and a notification to it); the handler calls PlanRecalculator,
// which reads and writes the controls through QtFormView. The simulation works on a copy of
// the plan and writes the outcome back into the plan and the form. Plan -> file through the
// file commands. Plan -> page model -> printer through the print functions.
//
// Qt's signals are mapped onto the notifications the recalculation expects:
//   text updated / text changed  QLineEdit::textChanged (a program's setText counts too)
//   focus gained / lost          FocusIn / FocusOut seen by an event filter; focus that moves to a
//                                popup, a menu or another window does not leave the box, and
//                                focus moved by the program around a message box is ignored
//   selection changed            QComboBox::activated (the user's choice; refills do not count);
//                                for a loan-name list NameComboBox::picked, a choice made in
//                                the list (typing, Tab and Enter never pick a product)
//
// A value the range checks refuse is reported again each time its box is left, and printing,
// the PDF, saving, the simulations and the tool windows refuse to start while a box holds one
// (FindRejectedBox): nothing is shown or kept that the form never accepted.
//   static clicked               ClickableLabel::clicked

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "app/qt_form_view.h"
#include "core/funding_plan.h"
#include "core/plan_recalc.h"
#include "io/rate_master.h"

class QMenuBar;
class QMenu;

namespace zorvik {

class CZorvikApp;
struct ControlTemplate;
struct FormIntegrations;

// The notifications a control of the form reports.
enum class FormNotification { TextUpdated, TextChanged, SetFocus, KillFocus, SelChange, Clicked };

class CFundingPlanDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CFundingPlanDlg(CZorvikApp& app, QWidget* parent = nullptr);
  ~CFundingPlanDlg() override;

  // ---- what other parts of the program use -------------------------------------------------
  FundingPlan& plan() { return plan_; }
  const FundingPlan& plan() const { return plan_; }
  PlanFormView& formView() { return view_; }
  QtFormView& qtView() { return view_; }
  PlanRecalculator& recalculator() { return recalc_; }
  CZorvikApp& app() { return app_; }
  const RateMaster& rateMaster() const { return rateMaster_; }
  QWidget* control(int id) const { return view_.Widget(id); }
  QMenuBar* menuBar() const { return menuBar_; }

  // Puts a new plan on the form: "新 規" selected in the name box with the focus, today's date,
  // the fixed captions, and the rate master loaded into the ten lists.
  void ShowNewPlan();
  // Reads the rate master at `path` and refills the ten loan-name lists; each row keeps the
  // name shown in its box. Nothing is reported.
  void LoadRateMaster(const QString& path);
  // The path the rate master is read from (CZorvikApp::RateMasterPath).
  QString RateMasterPath() const;

  // The first loan row without any input (also none typed into a box not yet left); -1 when
  // every row is used.
  int FirstBlankRow() const;
  // Fills `row` with whole inputs as a user would type them: method, rate, period, the loan and
  // then the bonus portion as given (0 for none, not the four tenths the loan box proposes), so
  // the row's payments, the totals and the ratio follow exactly as for typing. The loan boxes'
  // editing state is left as it was.
  void FillLoanRow(int row, const LoanRowInputs& inputs);

  // Runs the handler the table holds for (id, notification); false when there is none.
  bool Dispatch(int id, FormNotification notification);
  // Runs a menu command; false for an unknown id.
  bool RunCommand(int commandId);

  // Whether the settings are written when the form is destroyed (off for off-screen renders).
  void setSaveSettingsOnDestroy(bool on) { saveSettingsOnDestroy_ = on; }

  // ---- handlers of the control events (row handlers take the row 0..9, others the id) ---------
  void OnCustomerNameUpdate(int id);
  void OnDateUpdate(int id);
  void OnOtherCostLabelUpdate(int id);
  void OnRequiredFundsKillFocus(int id);
  void OnMiscCostsKillFocus(int id);
  void OnAnnualIncomeKillFocus(int id);
  void OnLoanNameSelChange(int row);
  void OnLoanNameKillFocus(int row);
  void OnMethodSelChange(int row);
  void OnRateSetFocus(int row);
  void OnRateKillFocus(int row);
  void OnPeriodSetFocus(int row);
  void OnPeriodKillFocus(int row);
  void OnLoanAmountSetFocus(int row);
  void OnLoanAmountChange(int row);
  void OnLoanAmountKillFocus(int row);
  void OnBonusAmountSetFocus(int row);
  void OnBonusAmountKillFocus(int row);
  void OnDeleteRow(int row);
  void OnPrintButton(int id);
  void OnOkButton(int id);

  // ---- hooks into the other subsystems --------------------------------------------------------
  void OnClickTotalMonthly(int id);  // monthly-target simulation
  void OnClickTotalBonus(int id);    // bonus-target simulation
  void PrintPlanSheet();             // "印 刷"
  void OnFileSavePdf();              // "PDFに保存(&P)..."
  void OnDownloadRateMaster();
  void OnHelpInstructions();
  void OnHelpNotice();
  void OnHelpVersion();
  void OnToolsBorrowingCapacity();  // "借入可能額(&B)..."
  void OnFileNew();
  void OnFileOpen();
  // Opens the plan at `path` as "開く" does, without the dialog (a plan named at start-up).
  void OpenPlanFile(const QString& path);
  void OnFileSaveAs();
  // "上書き保存(&S)", Ctrl+S: the plan's own file without a dialog; without one, as "名前をつけて保存".
  void OnFileSave();
  // The file the plan was last read from or written to; empty for a new plan.
  QString PlanFilePath() const;
  // Ends the program after the exit check (the unsaved-changes question); "終 了", the menu's
  // "終了(&X)", the close box, Escape and Enter on "終 了" all come here.
  void OnOK();
  // The version box of the window menu.
  void OnSysMenuAbout();
  // "返済予定表(&R)...": the schedule window beside the form (raised when it is open already).
  void OnToolsRepaymentSchedule();
  void OnToolsRateScenario();
  void OnToolsTaxCredit();
  // "月払いシミュレーション(&M)" and "ボーナス払いシミュレーション(&O)": the keyboard's way to the
  // simulations a click on the yellow totals opens.
  void OnToolsMonthlySimulation();
  void OnToolsBonusSimulation();

 signals:
  // After every control event and menu command: the plan may have changed.
  void planEdited();

 public slots:
  void accept() override;
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
#ifdef Q_OS_WIN
  bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
  void showEvent(QShowEvent* event) override;
#endif

 private:
  using Handler = void (CFundingPlanDlg::*)(int);
  struct HandlerBinding {
    Handler handler = nullptr;
    int argument = 0;
  };

  void BuildControls();
  QWidget* CreateControl(const ControlTemplate& t, QWidget* parent);
  void BuildMenu();
  // The "ツール(&T)" menu, made (after the file menu) the first time it is asked for.
  QMenu* ToolsMenu();
  void AddMenuCommand(QMenu* menu, int commandId, const char* text);
  void BuildHandlerTable();
  void BuildIntegrations();
  void ConnectSignals();
  void SetTabOrder();
  void OnInitDialog();
  void HandleEnter(int id);
  // The window title: whose plan it is, with "*" while it has unsaved changes (PlanWindowTitle).
  void UpdateWindowTitle();
  // The id of the form's control that has (or last had) the focus, or 0.
  int FocusedControlId() const;
  // While a box holds a value the range checks refuse: the refusal again (the message, the focus
  // on that box) and true, so that the caller does not go on.
  bool RefusedValueOnForm();
  // Takes the value of the box being edited as leaving it would (the box stays entered), so that
  // a file command works on what the form shows. False when that value is refused (the refusal
  // is on its way): the command must stop.
  bool TakeFocusedValue();
  // The plan's date (the date boxes write into the plan as they change), as printing shows it.
  PlanDate FormDate() const;
  // Ends the modal run without the exit check.
  void EndDialog(int result);

  static bool CountsAsFocusChange(Qt::FocusReason reason);

  CZorvikApp& app_;
  FundingPlan plan_;
  QtFormView view_;
  PlanRecalculator recalc_;
  RateMaster rateMaster_;
  QWidget* body_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  QMenu* toolsMenu_ = nullptr;
  std::unordered_map<int64_t, HandlerBinding> handlers_;  // key: id << 8 | notification
  std::unordered_map<int, void (CFundingPlanDlg::*)()> commands_;
  int printFlag_ = 0;                      // managed by printing; 0 at start-up
  int32_t totalLoanBeforeSimulation_ = 0;  // totalLoan when the last simulation was opened
  std::unique_ptr<FormIntegrations> integrations_;
  bool saveSettingsOnDestroy_ = true;
  bool closing_ = false;
};

}  // namespace zorvik
