#include "app/prepayment_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>

namespace zorvik {
namespace {

QString U(const std::string& s) {
  return QString::fromStdString(s);
}
QString U(const char* s) {
  return QString::fromUtf8(s);
}

constexpr const char* kSettingsGroup = "Prepayments";
constexpr int kAfterYear = 1;  // 時期 as "Y年目 Mか月目" (0: "N回目の返済後")
constexpr int kMonthlyPart = 0;
constexpr int kBonusPart = 1;

std::string Yen(int64_t yen) {
  return FormatScheduleYen(yen);
}

}  // namespace

std::string PrepaymentSettingsText(const PlannedPrepayment& p) {
  std::string text = std::to_string(p.row + 1) + ":" + std::to_string(p.afterPayment) + ":" + std::to_string(p.amount) +
                     (p.kind == PrepaymentKind::ShortenTerm ? ":shorten" : ":reduce");
  if (p.bonusPart) text += ":bonus";
  if (p.kind == PrepaymentKind::ShortenTerm && p.rule == ShortenRule::AtMostAmount) text += ":within";
  return text;
}

std::optional<PlannedPrepayment> ParsePrepaymentSettingsText(const std::string& text) {
  constexpr std::string_view within = ":within";
  const bool atMost =
      text.size() > within.size() && text.compare(text.size() - within.size(), within.size(), within) == 0;
  auto p = ParsePrepaymentOption(atMost ? text.substr(0, text.size() - within.size()) : text);
  if (p && atMost) p->rule = ShortenRule::AtMostAmount;
  return p;
}

QString PrepaymentSettingsKey(const QString& planName) {
  // A path holds "/" or "\", which the settings read as groups: the key is its UTF-8 in hex.
  const QByteArray name = planName.trimmed().toUtf8();
  return QStringLiteral("%1/%2").arg(QLatin1String(kSettingsGroup),
                                     name.isEmpty() ? QStringLiteral("-") : QString::fromLatin1(name.toHex()));
}

std::vector<PlannedPrepayment> LoadPrepayments(QSettings& store, const QString& planName) {
  std::vector<PlannedPrepayment> list;
  for (const QString& text : store.value(PrepaymentSettingsKey(planName)).toStringList()) {
    if (auto p = ParsePrepaymentSettingsText(text.toStdString());
        p && list.size() < static_cast<size_t>(kMaxPlannedPrepayments)) {
      list.push_back(*p);
    }
  }
  return list;
}

void SavePrepayments(QSettings& store, const QString& planName, const std::vector<PlannedPrepayment>& list) {
  const QString key = PrepaymentSettingsKey(planName);
  if (list.empty()) {
    store.remove(key);
    return;
  }
  QStringList texts;
  for (const PlannedPrepayment& p : list) texts << U(PrepaymentSettingsText(p));
  store.setValue(key, texts);
}

int32_t AfterPaymentOfLoanMonth(int32_t year, int32_t month, bool bonusPart) {
  const int32_t monthly = 12 * (year - 1) + month;
  return bonusPart ? monthly / 6 : monthly;
}

std::vector<int32_t> RepeatedAfterPayments(int32_t first, int32_t everyYears, bool bonusPart, int32_t count,
                                           size_t limit) {
  std::vector<int32_t> after;
  const int32_t step = everyYears * (bonusPart ? 2 : 12);
  if (step <= 0) return after;
  for (int32_t t = first; t < count && after.size() < limit; t += step) after.push_back(t);
  return after;
}

std::string PrepaymentComparisonText(const ScheduleTotals& without, const ScheduleTotals& with) {
  return "繰上返済なし → あり：総返済額 " + Yen(without.totalRepaid) + " → " + Yen(with.totalRepaid) + "、利息総額 " +
         Yen(without.totalInterest) + " → " + Yen(with.totalInterest) + "、完済 " + std::to_string(without.years) +
         "年目 → " + std::to_string(with.years) + "年目";
}

std::optional<int64_t> ParsePrepaymentAmount(const QString& typed, bool manYen) {
  // Full-width digits and separators read as their ASCII forms.
  QString text = typed.normalized(QString::NormalizationForm_KC).trimmed();
  text.remove(QLatin1Char(','));
  text.remove(QChar(0x3001));  // 、
  if (text.isEmpty() || text.size() > 16) return std::nullopt;
  const qsizetype dot = text.indexOf(QLatin1Char('.'));
  const QString whole = dot < 0 ? text : text.left(dot);
  const QString fraction = dot < 0 ? QString() : text.mid(dot + 1);
  const auto digits = [](const QString& s) {
    for (const QChar c : s) {
      if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    }
    return true;
  };
  if (whole.isEmpty() || !digits(whole) || !digits(fraction)) return std::nullopt;
  if (dot >= 0 && (!manYen || fraction.isEmpty() || fraction.size() > 4)) return std::nullopt;
  const int64_t unit = manYen ? 10000 : 1;
  const int64_t integral = whole.toLongLong();
  if (integral > int64_t{1} << 40) return std::nullopt;
  int64_t yen = integral * unit;
  if (!fraction.isEmpty()) yen += fraction.leftJustified(4, QLatin1Char('0')).toLongLong();
  return yen;
}

std::string PrepaymentListText(const PlannedPrepayment& p) {
  std::string when = p.afterPayment == 0 ? std::string("返済開始時") : std::to_string(p.afterPayment) + "回目の返済後";
  std::string part = p.kind == PrepaymentKind::ShortenTerm ? "" : (p.bonusPart ? "（ボーナス払）" : "（月払）");
  if (p.kind == PrepaymentKind::ShortenTerm && p.rule == ShortenRule::AtMostAmount) part = "（範囲内）";
  return std::to_string(p.row + 1) + "行目 " + when + " " + Yen(p.amount) + " " +
         (p.kind == PrepaymentKind::ShortenTerm ? kShortenTermText : kReducePaymentText) + part;
}

std::string PrepaymentOutcomeText(const PlannedPrepayment& p, const PrepaymentOutcome& outcome) {
  const PrepaymentResult& r = outcome.result;
  if (r.refused != PrepaymentRefusal::None) {
    return "この繰上返済は適用されません。" + PrepaymentRefusalText(r.refused);
  }
  std::string text = "繰上返済額 " + Yen(r.amount);
  if (r.amount != p.amount) text += "（入力 " + Yen(p.amount) + "）";
  text += "\n利息軽減額 " + Yen(r.interestSaved);
  if (r.paysOff) {
    return text + "\n残高をすべて返済します（一括返済）。以後の返済はありません。";
  }
  if (p.kind == PrepaymentKind::ShortenTerm) {
    text += "\n返済回数 " + std::to_string(r.paymentsRemoved) + "回減（返済期間が " +
            ShortenedTermText(r.paymentsRemoved, outcome.paymentsPerYear) + " 短縮）、毎回の返済額は " +
            Yen(r.newPayment) + " のまま";
    if (r.amount != p.amount) {
      const bool atMost = p.rule == ShortenRule::AtMostAmount;
      text += outcome.rowHasBonus ? "\n期間短縮型は返済を6か月単位（月払6回とボーナス払1回）でなくすため、"
                                  : "\n期間短縮型は返済を1回単位でなくすため、";
      text +=
          atMost ? "入力額を超えない最多の回数分の元金を返済します。" : "入力額に届く最少の回数分の元金を返済します。";
      text += "そのため実際の額は入力額と異なります。";
    }
  } else {
    text += "\n返済額 " + Yen(outcome.paymentBefore) + " → " + Yen(r.newPayment) + "（返済期間は変わりません）";
  }
  return text;
}

PrepaymentPanel::PrepaymentPanel(QWidget* parent) : QGroupBox(U(kPrepaymentPanelCaption), parent) {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(6);
  const auto label = [this](const char* text, QWidget* buddy) {
    auto* l = new QLabel(U(text), this);
    l->setBuddy(buddy);
    return l;
  };

  row_ = new QComboBox(this);
  row_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  row_->setMinimumContentsLength(12);
  when_ = new QSpinBox(this);
  when_->setRange(0, 99 * 12);
  when_->setValue(60);
  whenUnit_ = new QComboBox(this);
  whenUnit_->addItem(U("回目の返済後"));
  whenUnit_->addItem(U("年目"));
  month_ = new QSpinBox(this);
  month_->setRange(0, 12);
  monthCaption_ = new QLabel(U("か月目"), this);
  amount_ = new QLineEdit(this);
  amount_->setMaxLength(16);
  amount_->setAlignment(Qt::AlignRight);
  amount_->setText(QStringLiteral("100"));
  amount_->setMinimumWidth(amount_->fontMetrics().horizontalAdvance(QStringLiteral("99,999,999")) + 16);
  amountUnit_ = new QComboBox(this);
  amountUnit_->addItem(U("万円"));
  amountUnit_->addItem(U("円"));

  auto* whenLine = new QHBoxLayout;
  whenLine->addWidget(when_);
  whenLine->addWidget(whenUnit_);
  whenLine->addWidget(month_);
  whenLine->addWidget(monthCaption_);
  whenLine->addStretch(1);
  auto* amountLine = new QHBoxLayout;
  amountLine->addWidget(amount_);
  amountLine->addWidget(amountUnit_);
  amountLine->addStretch(1);
  grid->addWidget(label("融資(&L):", row_), 0, 0);
  grid->addWidget(row_, 0, 1);
  grid->addWidget(label("時期(&W):", when_), 0, 2);
  grid->addLayout(whenLine, 0, 3);
  grid->addWidget(label("金額(&M):", amount_), 0, 4);
  grid->addLayout(amountLine, 0, 5);

  shorten_ = new QRadioButton(U("期間短縮型(&S)"), this);
  reduce_ = new QRadioButton(U("返済額軽減型(&H)"), this);
  shorten_->setChecked(true);
  auto* kinds = new QButtonGroup(this);
  kinds->addButton(shorten_);
  kinds->addButton(reduce_);
  rule_ = new QComboBox(this);
  rule_->addItem(U("金額に届くまで"));
  rule_->addItem(U("金額の範囲内で"));
  part_ = new QComboBox(this);
  part_->addItem(U("月払"));
  part_->addItem(U("ボーナス払"));
  repeat_ = new QCheckBox(U("繰り返す(&E):"), this);
  repeatEvery_ = new QSpinBox(this);
  repeatEvery_->setRange(1, 50);
  repeatEvery_->setValue(5);
  repeatEvery_->setSuffix(U(" 年ごと"));
  repeatEvery_->setEnabled(false);
  add_ = new QPushButton(U("追加(&A)"), this);
  add_->setAutoDefault(false);
  auto* kindLine = new QHBoxLayout;
  kindLine->addWidget(shorten_);
  kindLine->addWidget(reduce_);
  kindLine->addStretch(1);
  grid->addWidget(new QLabel(U("種類:"), this), 1, 0);
  grid->addLayout(kindLine, 1, 1);
  grid->addWidget(label("短縮(&R):", rule_), 1, 2);
  auto* ruleLine = new QHBoxLayout;
  ruleLine->addWidget(rule_);
  ruleLine->addStretch(1);
  grid->addLayout(ruleLine, 1, 3);
  grid->addWidget(label("区分(&K):", part_), 1, 4);
  auto* partLine = new QHBoxLayout;
  partLine->addWidget(part_);
  partLine->addStretch(1);
  grid->addLayout(partLine, 1, 5);
  auto* repeatLine = new QHBoxLayout;
  repeatLine->addWidget(repeatEvery_);
  repeatLine->addStretch(1);
  grid->addWidget(repeat_, 2, 0, 1, 1);
  grid->addLayout(repeatLine, 2, 1);
  grid->addWidget(add_, 2, 5, Qt::AlignLeft);
  grid->setColumnStretch(5, 1);

  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("prepaymentMessage"));
  message_->setWordWrap(true);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  message_->hide();

  list_ = new QListWidget(this);
  list_->setMinimumHeight(list_->fontMetrics().height() * 4 + 8);
  list_->setMaximumHeight(list_->fontMetrics().height() * 4 + 8);
  remove_ = new QPushButton(U("削除(&X)"), this);
  remove_->setAutoDefault(false);
  remove_->setEnabled(false);
  details_ = new QLabel(this);
  details_->setObjectName(QStringLiteral("prepaymentDetails"));
  details_->setWordWrap(true);
  details_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  details_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  details_->setMinimumWidth(details_->fontMetrics().horizontalAdvance(QStringLiteral("あ")) * 24);

  auto* listLine = new QHBoxLayout;
  auto* listColumn = new QVBoxLayout;
  auto* listCaption = new QLabel(U("予定している繰上返済(&U):"), this);
  listCaption->setBuddy(list_);
  listColumn->addWidget(listCaption);
  listColumn->addWidget(list_);
  auto* removeLine = new QHBoxLayout;
  removeLine->addWidget(remove_);
  removeLine->addStretch(1);
  listColumn->addLayout(removeLine);
  listLine->addLayout(listColumn, 3);
  listLine->addWidget(details_, 2);

  comparison_ = new QLabel(this);
  comparison_->setObjectName(QStringLiteral("prepaymentComparison"));
  comparison_->setWordWrap(true);
  comparison_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  comparison_->hide();

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addWidget(message_);
  outer->addLayout(listLine);
  outer->addWidget(comparison_);

  connect(shorten_, &QRadioButton::toggled, this, &PrepaymentPanel::UpdatePartChoice);
  connect(whenUnit_, &QComboBox::currentIndexChanged, this, &PrepaymentPanel::UpdatePartChoice);
  connect(repeat_, &QCheckBox::toggled, repeatEvery_, &QSpinBox::setEnabled);
  connect(row_, &QComboBox::currentIndexChanged, this, &PrepaymentPanel::UpdatePartChoice);
  connect(add_, &QPushButton::clicked, this, &PrepaymentPanel::addRequested);
  connect(remove_, &QPushButton::clicked, this, [this] {
    if (list_->currentRow() >= 0) emit removeRequested(list_->currentRow());
  });
  connect(list_, &QListWidget::currentRowChanged, this, &PrepaymentPanel::ShowDetails);
  connect(amount_, &QLineEdit::returnPressed, this, &PrepaymentPanel::addRequested);

  row_->setAccessibleName(U("繰上返済する融資"));
  when_->setAccessibleName(U("繰上返済の時期"));
  whenUnit_->setAccessibleName(U("時期の単位"));
  amount_->setAccessibleName(U("繰上返済額"));
  amountUnit_->setAccessibleName(U("金額の単位"));
  part_->setAccessibleName(U("返済区分"));
  month_->setAccessibleName(U("か月目"));
  rule_->setAccessibleName(U("期間短縮の金額の扱い"));
  repeatEvery_->setAccessibleName(U("繰り返しの間隔"));
  list_->setAccessibleName(U("予定している繰上返済"));
  UpdatePartChoice();
}

PrepaymentPanel::~PrepaymentPanel() = default;

void PrepaymentPanel::SetRows(const PlanSchedule& schedule) {
  const QVariant current = row_->currentData();
  row_->blockSignals(true);
  row_->clear();
  rowHasBonus_.clear();
  rowHasMonthly_.clear();
  for (const RowSchedule& r : schedule.rows) {
    row_->addItem(U(ScheduleRowTitle(r.row, r.loan.loanName)), r.row);
    rowHasMonthly_.push_back(r.monthly.HasPayments());
    rowHasBonus_.push_back(r.bonus.HasPayments());
  }
  const int again = current.isValid() ? row_->findData(current) : -1;
  row_->setCurrentIndex(again >= 0 ? again : 0);
  row_->blockSignals(false);
  add_->setEnabled(row_->count() > 0);
  UpdatePartChoice();
}

void PrepaymentPanel::UpdatePartChoice() {
  // 期間短縮型 acts on the whole row (six months at a time when it has a bonus part); the part is
  // chosen only for 返済額軽減型, on a row that has both.
  const int i = row_->currentIndex();
  const bool monthly =
      i >= 0 && static_cast<size_t>(i) < rowHasMonthly_.size() && rowHasMonthly_[static_cast<size_t>(i)];
  const bool bonus = i >= 0 && static_cast<size_t>(i) < rowHasBonus_.size() && rowHasBonus_[static_cast<size_t>(i)];
  if (!monthly && bonus) part_->setCurrentIndex(kBonusPart);
  if (!bonus) part_->setCurrentIndex(kMonthlyPart);
  if (shorten_->isChecked() && monthly) part_->setCurrentIndex(kMonthlyPart);
  part_->setEnabled(reduce_->isChecked() && monthly && bonus);
  rule_->setEnabled(shorten_->isChecked());
  const bool byYear = whenUnit_->currentIndex() == kAfterYear;
  month_->setVisible(byYear);
  monthCaption_->setVisible(byYear);
  when_->setMinimum(byYear ? 1 : 0);
}

int PrepaymentPanel::repeatYears() const {
  return repeat_->isChecked() ? repeatEvery_->value() : 0;
}

void PrepaymentPanel::ShowComparison(const QString& text) {
  comparison_->setText(text);
  comparison_->setVisible(!text.isEmpty());
}

std::optional<PlannedPrepayment> PrepaymentPanel::Typed(QString* error) const {
  if (row_->currentIndex() < 0) {
    if (error != nullptr) *error = U(kNoLoanForPrepaymentText);
    return std::nullopt;
  }
  const auto amount = ParsePrepaymentAmount(amount_->text(), amountUnit_->currentIndex() == 0);
  if (!amount) {
    if (error != nullptr) *error = U(kPrepaymentAmountError);
    return std::nullopt;
  }
  PlannedPrepayment p;
  p.row = row_->currentData().toInt();
  p.amount = *amount;
  p.kind = shorten_->isChecked() ? PrepaymentKind::ShortenTerm : PrepaymentKind::ReducePayment;
  const size_t i = static_cast<size_t>(row_->currentIndex());
  const bool monthly = i < rowHasMonthly_.size() && rowHasMonthly_[i];
  // A row without monthly payments is prepaid on its bonus part whatever the choice.
  p.bonusPart = p.kind == PrepaymentKind::ReducePayment && monthly && part_->currentIndex() == kBonusPart;
  // "Y年目 Mか月目" is after monthly payment 12(Y - 1) + M; 期間短縮型 counts in the monthly
  // payments of the row.
  const bool onBonus = p.bonusPart || !monthly;
  p.afterPayment = whenUnit_->currentIndex() == kAfterYear
                       ? AfterPaymentOfLoanMonth(when_->value(), month_->value(), onBonus)
                       : when_->value();
  if (p.kind == PrepaymentKind::ShortenTerm && rule_->currentIndex() == 1) p.rule = ShortenRule::AtMostAmount;
  return p;
}

void PrepaymentPanel::SetPlanned(const std::vector<PlannedPrepayment>& planned,
                                 const std::vector<PrepaymentOutcome>& outcomes) {
  const int current = list_->currentRow();
  planned_ = planned;
  outcomes_ = outcomes;
  list_->blockSignals(true);
  list_->clear();
  for (size_t i = 0; i < planned_.size(); ++i) {
    QString text = U(PrepaymentListText(planned_[i]));
    const bool refused = i < outcomes_.size() && outcomes_[i].result.refused != PrepaymentRefusal::None;
    if (refused) text += U("　（適用されません）");
    auto* item = new QListWidgetItem(text, list_);
    if (refused) item->setForeground(QColor(0xb0, 0, 0));
  }
  const int count = list_->count();
  list_->setCurrentRow(count == 0 ? -1 : std::min(current < 0 ? count - 1 : current, count - 1));
  list_->blockSignals(false);
  remove_->setEnabled(count > 0);
  ShowDetails();
}

void PrepaymentPanel::ShowDetails() {
  const int i = list_->currentRow();
  if (i < 0 || static_cast<size_t>(i) >= planned_.size() || static_cast<size_t>(i) >= outcomes_.size()) {
    details_->setText(planned_.empty() ? U("繰上返済を入力して「追加」を押すと、返済予定表に反映されます。")
                                       : QString());
    details_->setStyleSheet(QString());
    return;
  }
  const PrepaymentOutcome& o = outcomes_[static_cast<size_t>(i)];
  details_->setText(U(PrepaymentOutcomeText(planned_[static_cast<size_t>(i)], o)));
  details_->setStyleSheet(o.result.refused != PrepaymentRefusal::None ? QStringLiteral("color: #b00000;") : QString());
}

void PrepaymentPanel::ShowMessage(const QString& text, bool refusal) {
  message_->setText(text);
  message_->setStyleSheet(refusal ? QStringLiteral("color: #b00000;") : QString());
  message_->setVisible(!text.isEmpty());
}

}  // namespace zorvik
