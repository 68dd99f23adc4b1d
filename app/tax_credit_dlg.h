#pragma once
// CTaxCreditDlg: the estimate of 住宅ローン控除 for the plan on the form, opened from
// "ツール(&T)" → "住宅ローン控除(&K)...". The inputs start from the plan (入居年 and the first payment
// from the 作成日, 取得対価 from 土地 + 建物 + 消費税, the rows of 10 years or more); the table
// shows each credit year's year-end balance, credit, the parts from 所得税 and 住民税 and what is
// not received, with the total. The table of limits is read from tax_credit_limits.txt: a user's
// copy where there is one (refused with its line named when malformed, the shipped one then used).

#include <QDialog>
#include <QString>
#include <array>
#include <memory>
#include <optional>

#include "core/funding_plan.h"
#include "core/tax_credit.h"
#include "io/file_access.h"
#include "print/render/tax_credit_page.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace zorvik {

class PrintInteraction;
class ScheduleSaveUi;
class WindowOutput;

inline constexpr int kTaxCreditCommand = 32806;
inline constexpr const char* kTaxCreditMenuText = "住宅ローン控除(&K)...";
inline constexpr const char* kTaxCreditCaption = "住宅ローン控除";
inline constexpr const char* kTaxCreditTableFileName = "tax_credit_limits.txt";

// The table as the program uses it: `userPath` when it is a file that reads, else `shippedPath`.
// `notice` says why a user copy was not used; `error` why no table could be read.
struct LoadedTaxCreditTable {
  std::optional<TaxCreditTable> table;
  QString path;
  QString notice;
  QString error;
};
LoadedTaxCreditTable LoadTaxCreditTable(const QString& userPath, const QString& shippedPath);

// "概算です。制度は毎年改正されます（控除限度額の表: 2026年12月09日 確認）".
QString TaxCreditNote(const TaxCreditTable& table);

class CTaxCreditDlg : public QDialog {
  Q_OBJECT
 public:
  // `dataFolder` is where the save dialog starts; `print` and `save` default to the real boxes
  // and file dialog.
  CTaxCreditDlg(const FundingPlan& plan, const LoadedTaxCreditTable& table, QWidget* parent = nullptr,
                const QString& dataFolder = QString(), PrintInteraction* print = nullptr,
                ScheduleSaveUi* save = nullptr);
  ~CTaxCreditDlg() override;

  const TaxCreditEstimate& estimate() const { return estimate_; }
  QTableWidget* table() const { return table_; }
  QLabel* total() const { return total_; }
  QLabel* message() const { return message_; }
  QSpinBox* entryYear() const { return entryYear_; }
  QComboBox* performance() const { return performance_; }
  QLineEdit* acquisitionCost() const { return cost_; }
  QSpinBox* firstPaymentYear() const { return firstYear_; }
  QSpinBox* firstPaymentMonth() const { return firstMonth_; }

 public slots:
  // Recomputes from the plan and the inputs.
  void Refresh();
  // The plan's file: the prepayments planned for it in the 返済予定表 window change the balances.
  void SetPlanFileName(const QString& planFileName);
  // "Excelに保存": asks for a path, writes the workbook, shows the reason of a failure.
  void OnSaveExcel();
  // "印刷" and "PDFに保存": the page on A4 portrait.
  void OnPrint();
  void OnSavePdf();

 public:
  // The workbook of what the window shows now, written to `path`.
  WriteResult WriteExcel(const QString& path);
  // The page of what the window shows now.
  TaxCreditPage Page() const;

 private:
  void BuildControls();
  TaxCreditInputs Inputs() const;

  const FundingPlan& plan_;
  LoadedTaxCreditTable loaded_;
  QString dataFolder_;
  PrintInteraction* print_ = nullptr;
  ScheduleSaveUi* save_ = nullptr;
  std::unique_ptr<WindowOutput> output_;
  TaxCreditEstimate estimate_;
  std::array<QCheckBox*, kLoanRowCount> rows_{};
  QSpinBox* entryYear_ = nullptr;
  QSpinBox* firstYear_ = nullptr;
  QSpinBox* firstMonth_ = nullptr;
  QComboBox* kind_ = nullptr;
  QComboBox* performance_ = nullptr;
  QCheckBox* childRearing_ = nullptr;
  QComboBox* floor_ = nullptr;
  QComboBox* scenario_ = nullptr;  // the rate scenario the balances follow (据え置き at first)
  QString planFileName_;           // whose planned prepayments (返済予定表's 繰上返済) apply
  QLineEdit* cost_ = nullptr;
  QLineEdit* income_ = nullptr;
  QLineEdit* incomeTax_ = nullptr;
  QLineEdit* taxable_ = nullptr;
  QTableWidget* table_ = nullptr;
  QLabel* total_ = nullptr;
  QLabel* message_ = nullptr;
  QLabel* note_ = nullptr;
};

}  // namespace zorvik
