#pragma once
// CRateScenarioDlg: what the plan on the form costs when rates move (金利シナリオ), opened from
// "ツール(&T)" → "金利シナリオ(&V)...". A window beside the form (not modal) that follows the plan.
//
// Each loan row gets a 金利タイプ (全期間固定, 変動, 固定期間選択 with its fixed years and the rate
// after them), suggested by the product name; the user's choice is remembered per product name
// in the settings, never in the plan file. Up to four scenario columns (the presets, or a path
// typed as "2:+1.0,6:+2.0"), the rate-review settings, the table of the report and the chart;
// prints and saves the page (PDF), the workbook and the CSV of one scenario.

#include <QDialog>
#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "core/funding_plan.h"
#include "core/scenario_report.h"
#include "io/file_access.h"

class QCheckBox;
class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QResizeEvent;
class QSpinBox;
class QSplitter;
class QTableWidget;

namespace zorvik {

class PrintInteraction;
class ScheduleSaveUi;
class WindowOutput;

// Menu command of "金利シナリオ(&V)...".
inline constexpr int kRateScenarioCommand = 32804;
// The column choice for a path the user types.
inline constexpr const char* kCustomPathChoice = "金利の推移を指定";
inline constexpr const char* kNoScenarioChoice = "（なし）";

// Each row's 金利タイプ as the window shows it: the user's remembered choice for the product name,
// else the one the name suggests.
std::array<RowRateType, kLoanRowCount> RememberedRateTypes(const FundingPlan& plan);

class CRateScenarioDlg : public QDialog {
  Q_OBJECT
 public:
  // `plan` must outlive the dialog (the form's plan; the dialog is the form's child).
  CRateScenarioDlg(const FundingPlan& plan, const QString& dataFolder, QWidget* parent = nullptr,
                   PrintInteraction* print = nullptr, ScheduleSaveUi* save = nullptr);
  ~CRateScenarioDlg() override;

  const ScenarioReport& report() const { return report_; }
  QTableWidget* table() const { return table_; }
  QChart* chart() const { return chart_; }
  // Row `row` (0..9) of the plan: its 金利タイプ choice (0 全期間固定, 1 変動, 2 固定期間選択).
  QComboBox* rateTypeChoice(int row) const { return rows_[static_cast<size_t>(row)].type; }
  QSpinBox* fixedYears(int row) const { return rows_[static_cast<size_t>(row)].years; }
  QComboBox* scenarioChoice(int column) const { return columns_[static_cast<size_t>(column)].choice; }
  QLineEdit* pathEdit(int column) const { return columns_[static_cast<size_t>(column)].path; }
  QCheckBox* fiveYearRule() const { return fiveYearRule_; }
  QLabel* warning() const { return warning_; }
  QLabel* prepaymentNote() const { return prepayments_; }
  // Horizontal: the table beside the chart; vertical: the chart below the table.
  Qt::Orientation tableAndChart() const;

 public slots:
  // Rebuilds the report from the plan and the window's choices.
  void Refresh();
  // The plan's file: the prepayments planned for it in the 返済予定表 window apply to every scenario.
  void SetPlanFileName(const QString& planFileName);
  void OnPrint();
  void OnSavePdf();
  void OnSaveExcel();
  void OnSaveCsv();

 private:
  struct RowControls {
    QLabel* title = nullptr;
    QComboBox* type = nullptr;
    QSpinBox* years = nullptr;
    QLineEdit* rateAfter = nullptr;
  };
  struct ColumnControls {
    QComboBox* choice = nullptr;
    QLineEdit* path = nullptr;
  };

  void resizeEvent(QResizeEvent* event) override;

  void BuildControls();
  // The table beside the chart where the window is wide enough for both, else the chart below
  // the whole table (the window then scrolls).
  void ArrangeTableAndChart();
  // Shows each row's remembered or suggested type for its product name.
  void FillRows();
  // The row's type as the controls say.
  RowRateType RowType(int row) const;
  void RememberRowType(int row);
  void RememberColumns() const;
  // The scenarios of the columns; a typed path that cannot be read is marked and left out.
  std::vector<RateScenario> Scenarios();
  void ShowReport();

  const FundingPlan& plan_;
  QString dataFolder_;
  PrintInteraction* print_;
  ScheduleSaveUi* save_;
  std::unique_ptr<WindowOutput> output_;
  ScenarioReport report_;
  std::array<std::string, kLoanRowCount> shownNames_{};  // the product names the rows were filled for
  bool filling_ = false;

  std::array<RowControls, kLoanRowCount> rows_{};
  std::array<ColumnControls, kMaxScenarioColumns> columns_{};
  QLabel* typeHeader_ = nullptr;
  QCheckBox* fiveYearRule_ = nullptr;
  QCheckBox* recomputeUnchanged_ = nullptr;
  QLabel* review_ = nullptr;
  QLabel* prepayments_ = nullptr;  // says which planned prepayments the scenarios include
  QString planFileName_;
  QLabel* warning_ = nullptr;
  QLabel* pathError_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QTableWidget* table_ = nullptr;
  QChartView* chartView_ = nullptr;
  QChart* chart_ = nullptr;
};

}  // namespace zorvik
