#pragma once
// The 繰上返済 panel of the repayment schedule window: the user types a prepayment (loan row, when,
// amount in 万円 or 円, 期間短縮型 or 返済額軽減型, the monthly or the bonus part) and adds it to the
// plan's list; each planned prepayment shows what it does (the amount actually paid and why it
// differs from the typed one, the 利息軽減額, the payments removed or the new payment), and a
// refused one shows why in Japanese.
//
// The panel only holds the inputs and the list; the window computes the schedule and says what
// became of each prepayment (SetOutcomes). The list is remembered per plan in the settings, as
// "ROW:AFTER:AMOUNT:shorten|reduce[:bonus]" texts (the sheet tool's --prepay form).

#include <QGroupBox>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "core/prepayment.h"
#include "core/repayment_schedule.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSettings;
class QSpinBox;

namespace zorvik {

inline constexpr const char* kPrepaymentPanelCaption = "繰上返済";
inline constexpr const char* kShortenTermText = "期間短縮型";
inline constexpr const char* kReducePaymentText = "返済額軽減型";
inline constexpr const char* kPrepaymentAmountError =
    "繰上返済額を数字で入力してください（例: 100万円、1,000,000円）。";
inline constexpr const char* kNoLoanForPrepaymentText = "繰上返済できる融資がありません。";
inline constexpr int kMaxPlannedPrepayments = 20;
inline constexpr const char* kTooManyPrepaymentsText = "繰上返済は20件まで登録できます。";

// What became of one planned prepayment, as the window computed it.
struct PrepaymentOutcome {
  PrepaymentResult result;
  int64_t paymentBefore = 0;     // the payment of the part just after it, without it
  int32_t paymentsPerYear = 12;  // of the part whose payments are removed
  bool rowHasBonus = false;      // the row has both a monthly and a bonus part
};

// The settings text of a prepayment ("1:60:1000000:shorten", "2:3:500000:reduce:bonus"), with
// ":within" after a 期間短縮型 that stays within its amount.
std::string PrepaymentSettingsText(const PlannedPrepayment& p);
std::optional<PlannedPrepayment> ParsePrepaymentSettingsText(const std::string& text);
// The settings key of a plan's prepayments, from the plan file's name (a plan not yet saved: "").
QString PrepaymentSettingsKey(const QString& planName);
// The plan's remembered prepayments (unreadable entries left out) / remembers them (none: removed).
std::vector<PlannedPrepayment> LoadPrepayments(QSettings& store, const QString& planName);
void SavePrepayments(QSettings& store, const QString& planName, const std::vector<PlannedPrepayment>& list);

// The payment after which a prepayment typed as "Y年目 Mか月目" is paid: 12(Y - 1) + M of the
// monthly payments; of a bonus part, the bonus payments paid by then (bonus payment j falls in
// the month of monthly payment 6j).
int32_t AfterPaymentOfLoanMonth(int32_t year, int32_t month, bool bonusPart);
// "every N years" from `first`: first, first + 12N, ... (of a bonus part first + 2N, ...) below
// `count` payments, at most `limit` of them.
std::vector<int32_t> RepeatedAfterPayments(int32_t first, int32_t everyYears, bool bonusPart, int32_t count,
                                           size_t limit);

// "総返済額 44,260,379円 → 43,468,338円、利息総額 ... 、完済 30年目 → 29年目".
std::string PrepaymentComparisonText(const ScheduleTotals& without, const ScheduleTotals& with);

// An amount typed in 万円 ("100", "101.1934", "１００") or in 円 ("1,000,000"); none when it is
// not a number of whole yen.
std::optional<int64_t> ParsePrepaymentAmount(const QString& text, bool manYen);

// One line of the list: "1行目 60回目の返済後 1,000,000円 期間短縮型（月払）".
std::string PrepaymentListText(const PlannedPrepayment& p);
// What the prepayment does, a sentence a line; a refusal's message for a refused one.
std::string PrepaymentOutcomeText(const PlannedPrepayment& p, const PrepaymentOutcome& outcome);

class PrepaymentPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit PrepaymentPanel(QWidget* parent = nullptr);
  ~PrepaymentPanel() override;

  // The rows of `schedule` (the plan without prepayments) become the loan choice.
  void SetRows(const PlanSchedule& schedule);
  // The prepayment typed, or none with `error` (Japanese) saying why.
  std::optional<PlannedPrepayment> Typed(QString* error) const;
  // Every N years: N, or 0 for a single prepayment.
  int repeatYears() const;
  // The totals with and without the prepayments of what the window shows; empty hides them.
  void ShowComparison(const QString& text);

  const std::vector<PlannedPrepayment>& planned() const { return planned_; }
  // Shows `planned` and what became of each (`outcomes` in the same order).
  void SetPlanned(const std::vector<PlannedPrepayment>& planned, const std::vector<PrepaymentOutcome>& outcomes);
  // A message under the inputs (red for a refusal); empty hides it.
  void ShowMessage(const QString& text, bool refusal);

  QComboBox* rowChoice() const { return row_; }
  QSpinBox* when() const { return when_; }
  QComboBox* whenUnit() const { return whenUnit_; }
  QLineEdit* amount() const { return amount_; }
  QComboBox* amountUnit() const { return amountUnit_; }
  QRadioButton* shorten() const { return shorten_; }
  QRadioButton* reduce() const { return reduce_; }
  QComboBox* part() const { return part_; }
  QSpinBox* month() const { return month_; }
  QComboBox* rule() const { return rule_; }
  QCheckBox* repeat() const { return repeat_; }
  QSpinBox* repeatEvery() const { return repeatEvery_; }
  QLabel* comparison() const { return comparison_; }
  QPushButton* addButton() const { return add_; }
  QPushButton* removeButton() const { return remove_; }
  QListWidget* list() const { return list_; }
  QLabel* message() const { return message_; }
  QLabel* details() const { return details_; }

 signals:
  // 追加: the window checks the typed prepayment and adds it.
  void addRequested();
  // The list after 削除.
  void removeRequested(int index);

 private:
  void UpdatePartChoice();
  void ShowDetails();

  std::vector<PlannedPrepayment> planned_;
  std::vector<PrepaymentOutcome> outcomes_;
  std::vector<bool> rowHasBonus_;  // by index of the row choice
  std::vector<bool> rowHasMonthly_;

  QComboBox* row_ = nullptr;
  QSpinBox* when_ = nullptr;
  QComboBox* whenUnit_ = nullptr;
  QLineEdit* amount_ = nullptr;
  QComboBox* amountUnit_ = nullptr;
  QRadioButton* shorten_ = nullptr;
  QRadioButton* reduce_ = nullptr;
  QComboBox* part_ = nullptr;
  QSpinBox* month_ = nullptr;
  QLabel* monthCaption_ = nullptr;
  QComboBox* rule_ = nullptr;
  QCheckBox* repeat_ = nullptr;
  QSpinBox* repeatEvery_ = nullptr;
  QLabel* comparison_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* remove_ = nullptr;
  QListWidget* list_ = nullptr;
  QLabel* message_ = nullptr;
  QLabel* details_ = nullptr;
};

}  // namespace zorvik
