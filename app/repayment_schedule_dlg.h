#pragma once
// CRepaymentScheduleDlg: the repayment schedule (返済予定表) of the plan on the form, opened from
// "ツール(&T)" → "返済予定表(&R)...". A window beside the form (not modal): the user keeps
// editing the plan and the schedule follows it.
//
// Shows, for the whole plan (計画全体) or one loan row: 借入額, 総返済額, 利息総額, 完済年数, the
// year table and the chart (balance as a line, principal and interest as stacked bars), and the
// schedule's notes (rows left out, stored payments that differ). Prints and saves the whole
// plan's schedule: PDF (A4 portrait), Excel workbook, CSV file.
//
// The 繰上返済 panel plans prepayments on the loan rows: the table, chart, pages and files then show
// the schedule with them (the chart also draws the balance without them). They are remembered per
// plan in the settings, never in the plan file.
//
// Flow: plan (read only) -> EvaluatePlan -> view; -> page model -> printer or PDF;
// -> io exports. Refresh() rebuilds only when the loan rows' inputs or stored payments changed
// since the last build.

#include <QDialog>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "core/funding_plan.h"
#include "core/prepayment.h"
#include "core/repayment_schedule.h"
#include "io/file_access.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QChart;
class QChartView;

namespace zorvik {

class PrintInteraction;
class WindowOutput;
class PrepaymentPanel;

// Menu command of "返済予定表(&R)...".
inline constexpr int kRepaymentScheduleCommand = 32801;
inline constexpr const char* kRepaymentScheduleMenuText = "返済予定表(&R)...";
inline constexpr const char* kRepaymentScheduleCaption = "返済予定表";

inline constexpr const char* kExcelFilter = "Excel ブック (*.xlsx)";
inline constexpr const char* kCsvFilter = "CSV (カンマ区切り) (*.csv)";
inline constexpr const char* kScheduleSaveFailedMessage = "ファイルを保存できませんでした。";
inline constexpr const char* kSchedulePrintFailedMessage = "印刷できませんでした。";
inline constexpr const char* kScheduleNoPrinterMessage =
    "印刷に使えるプリンターが設定されていません。\n\n"
    "プリンターを設定してから、もう一度印刷して下さい。\n"
    "「PDFに保存」で、返済予定表を\nPDFファイルに保存することもできます。\n\n"
    "今回、印刷は行いません。";

// The save dialogs of the Excel and CSV buttons (PDF goes through PrintInteraction).
class ScheduleSaveUi {
 public:
  virtual ~ScheduleSaveUi() = default;
  // Save dialog (RunSaveFileDialog) in the folder of `proposedPath` with its bare name filled in,
  // one filter and a default suffix; the chosen path, or empty when cancelled.
  virtual QString GetSavePath(QWidget* owner, const QString& proposedPath, const QString& filter,
                              const QString& suffix) = 0;
};

// The real file dialog.
ScheduleSaveUi& DefaultScheduleSaveUi();

// The proposed file name for a customer: "山田 太郎_返済予定表.xlsx", "返済予定表.csv" without a
// name; characters a file name cannot hold become "_".
QString ProposedScheduleFileName(const QString& customerName, const QString& suffix);

class CRepaymentScheduleDlg : public QDialog {
  Q_OBJECT
 public:
  // `plan` must outlive the dialog (the form's plan; the dialog is the form's child).
  // `dataFolder` is where the save dialogs start.
  CRepaymentScheduleDlg(const FundingPlan& plan, const QString& dataFolder, QWidget* parent = nullptr,
                        PrintInteraction* print = nullptr, ScheduleSaveUi* save = nullptr);
  ~CRepaymentScheduleDlg() override;

  const PlanSchedule& schedule() const { return schedule_; }
  // The loan row shown (0..9), or nothing for the whole plan.
  std::optional<int> shownRow() const { return shownRow_; }

  QComboBox* rowChoice() const { return rowChoice_; }
  QTableWidget* yearTable() const { return table_; }
  QChart* chart() const { return chart_; }
  // Summary value labels: 借入額, 総返済額, 利息総額, 完済年数.
  QLabel* summaryValue(int index) const { return summary_[index]; }
  // The schedule's notes, one a line; hidden when there are none.
  QLabel* notes() const { return notes_; }
  PrepaymentPanel* prepaymentPanel() const { return prepay_; }
  // The plan file the prepayments are remembered under ("" for a plan not yet saved): the list
  // remembered for it is shown; a list planned before the plan's first save goes with it.
  void SetPlanFileName(const QString& planFileName);
  // The prepayments planned on the plan (refused ones included; they change nothing).
  const std::vector<PlannedPrepayment>& plannedPrepayments() const { return planned_; }

 public slots:
  // Rebuilds the schedule when the plan's inputs changed since the last build.
  void Refresh();
  void OnPrint();
  void OnSavePdf();
  void OnSaveExcel();
  void OnSaveCsv();
  // 追加 / 削除 of the 繰上返済 panel.
  void OnAddPrepayment();
  void OnRemovePrepayment(int index);

 private:
  void BuildControls();
  void Rebuild();
  void FillRowChoice();
  void ShowSelection();
  // Remembers the planned prepayments under the plan file's name.
  void SavePlanned();

  const FundingPlan& plan_;
  QString dataFolder_;
  PrintInteraction* print_;
  ScheduleSaveUi* save_;
  std::unique_ptr<WindowOutput> output_;  // print and save with their dialogs and messages
  PlanSchedule schedule_;
  // What the schedule was built from: the rows' inputs and their stored payments.
  struct BuiltFrom {
    std::array<LoanRowInputs, kLoanRowCount> inputs{};
    std::array<std::array<int32_t, 2>, kLoanRowCount> storedPayments{};
    bool operator==(const BuiltFrom&) const = default;
  };
  std::optional<BuiltFrom> builtFrom_;
  std::optional<int> shownRow_;
  std::vector<PlannedPrepayment> planned_;
  QString planFileName_;
  PlanSchedule plain_;  // without the prepayments: the chart's comparison line

  QComboBox* rowChoice_ = nullptr;
  QLabel* details_ = nullptr;
  QLabel* summary_[4] = {};
  QLabel* emptyNote_ = nullptr;
  QLabel* notes_ = nullptr;
  QTableWidget* table_ = nullptr;
  QChartView* chartView_ = nullptr;
  QChart* chart_ = nullptr;
  PrepaymentPanel* prepay_ = nullptr;
};

}  // namespace zorvik
