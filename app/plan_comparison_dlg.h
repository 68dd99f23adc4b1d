#pragma once
// CPlanComparisonDlg: プラン比較, opened from "ツール(&T)" → "プラン比較(&C)...". Up to four plans in
// columns A案 … D案: the plan on the form ("現在のプラン", A案 at first) and saved plan files, in
// the order the user gives them; the differences against A案, the cheaper plan marked on cost
// lines, a chart of cumulative payments and balances, under one rate scenario for the whole
// comparison (据え置き at first). Follows the form while the current plan is among them. Prints,
// saves the page as PDF and the table as an Excel workbook.

#include <QDialog>
#include <QString>
#include <memory>
#include <vector>

#include "core/funding_plan.h"
#include "core/plan_comparison.h"
#include "io/file_access.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QListWidget;
class QTableWidget;

namespace zorvik {

class PrintInteraction;
class ScheduleSaveUi;
class WindowOutput;

inline constexpr int kPlanComparisonCommand = 32805;

// Opens a plan file for the comparison: the chosen path, or empty when cancelled.
class ComparisonOpenUi {
 public:
  virtual ~ComparisonOpenUi() = default;
  virtual QString GetOpenPath(QWidget* owner, const QString& folder) = 0;
};

class CPlanComparisonDlg : public QDialog {
  Q_OBJECT
 public:
  // `current` must outlive the dialog (the form's plan).
  CPlanComparisonDlg(const FundingPlan& current, const QString& dataFolder, QWidget* parent = nullptr,
                     PrintInteraction* print = nullptr, ScheduleSaveUi* save = nullptr,
                     ComparisonOpenUi* open = nullptr);
  ~CPlanComparisonDlg() override;

  const Comparison& comparison() const { return comparison_; }
  QTableWidget* table() const { return table_; }
  QListWidget* planList() const { return list_; }
  QComboBox* scenarioChoice() const { return scenario_; }
  // Adds the plan file at `path`; false, with a message, when it cannot be read.
  bool AddPlanFile(const QString& path);

 public slots:
  void Refresh();
  void OnAdd();
  void OnAddCurrent();
  void OnRemove();
  void OnMoveUp();
  void OnMoveDown();
  void OnPrint();
  void OnSavePdf();
  void OnSaveExcel();

 private:
  struct Entry {
    bool current = false;  // the plan on the form
    QString path;          // a plan file
    FundingPlan plan;      // the file's plan as read
  };

  void BuildControls();
  void FillList();
  void Move(int from, int to);

  const FundingPlan& current_;
  QString dataFolder_;
  PrintInteraction* print_;
  ScheduleSaveUi* save_;
  ComparisonOpenUi* open_;
  std::unique_ptr<WindowOutput> output_;
  std::vector<Entry> entries_;
  Comparison comparison_;
  std::string customerName_;
  std::string dateText_;

  QListWidget* list_ = nullptr;
  QComboBox* scenario_ = nullptr;
  QLabel* legend_ = nullptr;
  QTableWidget* table_ = nullptr;
  QChartView* chartView_ = nullptr;
  QChart* chart_ = nullptr;
};

}  // namespace zorvik
