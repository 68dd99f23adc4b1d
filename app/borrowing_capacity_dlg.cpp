#include "app/borrowing_capacity_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "app/form_layout.h"
#include "app/form_widgets.h"
#include "app/funding_plan_dlg.h"
#include "app/qt_form_view.h"
#include "app/zorvik_app.h"
#include "core/control_ids.h"
#include "core/text_forms.h"
#include "ui/ui_font.h"
#include "ui/window_fit.h"

namespace zorvik {
namespace {

using namespace capacity_ids;

const QColor kCaptionColor{200, 255, 200};  // input captions, as the form's loan-amount captions
const QColor kHeadColor{200, 255, 255};     // result and grid headings, as the form's loan conditions
const QColor kValueColor{220, 220, 220};    // computed values, as the form's results
const QColor kAnswerColor{255, 200, 200};   // the answer itself, as the form's income and ratio
const QColor kCurrentColor{255, 255, 0};    // the grid cell of the current inputs

constexpr int kApplyNote = 1332;

// The boxes of the inputs, in tab order, and the field each one holds.
constexpr std::pair<int, CapacityField> kFieldBoxes[] = {
    {kIncome, CapacityField::Income}, {kRatioLimit, CapacityField::RatioLimit},         {kRate, CapacityField::Rate},
    {kPeriod, CapacityField::Period}, {kOtherRepayment, CapacityField::OtherRepayment}, {kBonus, CapacityField::Bonus},
};

std::optional<CapacityField> FieldOf(int id) {
  for (const auto& [box, field] : kFieldBoxes) {
    if (box == id) return field;
  }
  return std::nullopt;
}

// The names a screen reader gives the boxes and values: the captions beside them.
constexpr std::pair<int, const char*> kAccessibleNames[] = {
    {kIncome, "年収"},
    {kRatioLimit, "返済負担率の上限"},
    {kRate, "審査金利"},
    {kPeriod, "返済期間"},
    {kMethod, "返済方法"},
    {kOtherRepayment, "他の借入の年間返済額"},
    {kBonus, "内ボーナス"},
    {kLoan, "借入可能額"},
    {kMonthly, "月々の返済額"},
    {kBonusPayment, "ボーナス時の返済額"},
    {kAnnual, "年間返済額"},
    {kRatio, "返済負担率"},
    {kPlanAnnual, "計画の年間返済額"},
    {kPlanRatio, "計画の返済負担率"},
    {kRequiredIncome, "必要年収"},
};

constexpr const char* kGridOffsetTexts[] = {"−1.0", "−0.5", "±0", "+0.5", "+1.0"};

QString Q(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

void Paint(QWidget* w, const QColor& background) {
  QPalette palette = w->palette();
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::WindowText, Qt::black);
  w->setPalette(palette);
  w->setAutoFillBackground(true);
}

QLabel* Caption(const QString& text, const QColor& color, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setFrameStyle(QFrame::Box | QFrame::Plain);
  label->setAlignment(Qt::AlignCenter);
  label->setMargin(3);
  Paint(label, color);
  return label;
}

}  // namespace

const CBorrowingCapacityDlg::Handler CBorrowingCapacityDlg::kHandlers[] = {
    {kIncome, Notification::TextChanged, &CBorrowingCapacityDlg::OnIncomeChanged},
    {kRatioLimit, Notification::TextChanged, &CBorrowingCapacityDlg::OnInputChanged},
    {kRatioLimit, Notification::TextEdited, &CBorrowingCapacityDlg::OnRatioLimitEdited},
    {kRate, Notification::TextChanged, &CBorrowingCapacityDlg::OnInputChanged},
    {kPeriod, Notification::TextChanged, &CBorrowingCapacityDlg::OnInputChanged},
    {kMethod, Notification::SelChange, &CBorrowingCapacityDlg::OnInputChanged},
    {kOtherRepayment, Notification::TextChanged, &CBorrowingCapacityDlg::OnInputChanged},
    {kBonus, Notification::TextChanged, &CBorrowingCapacityDlg::OnInputChanged},
    {kIncome, Notification::KillFocus, &CBorrowingCapacityDlg::OnInputKillFocus},
    {kRatioLimit, Notification::KillFocus, &CBorrowingCapacityDlg::OnInputKillFocus},
    {kRate, Notification::KillFocus, &CBorrowingCapacityDlg::OnInputKillFocus},
    {kPeriod, Notification::KillFocus, &CBorrowingCapacityDlg::OnInputKillFocus},
    {kOtherRepayment, Notification::KillFocus, &CBorrowingCapacityDlg::OnInputKillFocus},
    {kBonus, Notification::KillFocus, &CBorrowingCapacityDlg::OnInputKillFocus},
    {kApply, Notification::Clicked, &CBorrowingCapacityDlg::OnApply},
    {kClose, Notification::Clicked, &CBorrowingCapacityDlg::OnClose},
};

CBorrowingCapacityDlg::CBorrowingCapacityDlg(CFundingPlanDlg& form)
    : QDialog(&form), form_(form), view_(std::make_unique<QtFormView>(this)) {
  setWindowTitle(QStringLiteral("借入可能額"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setFont(UiFont(kFormFontPoints));
  BuildControls();
  for (const auto& [id, name] : kAccessibleNames) SetAccessibleControlName(control(id), QString::fromUtf8(name));
  for (const auto& [id, widget] : controls_) view_->Register(id, widget);
  ConnectSignals();
  OnInitDialog();
  FitToScreen(*this);
}

CBorrowingCapacityDlg::~CBorrowingCapacityDlg() = default;

void CBorrowingCapacityDlg::BuildControls() {
  const QFontMetrics fm(font());
  const int boxWidth = fm.horizontalAdvance(QStringLiteral("8,888,888万")) + 16;
  const int valueWidth = fm.horizontalAdvance(QStringLiteral("88,888,888円")) + 16;

  // Everything but the buttons scrolls where the screen is too small for it. (Made first, so that
  // screen readers meet the inputs before the buttons.)
  auto* body = new QWidget(this);
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(ScrollingBody(body, this), 1);
  auto* layout = new QVBoxLayout(body);
  layout->setSpacing(8);
  layout->addWidget(
      new QLabel(QStringLiteral("年収と返済負担率の上限から、審査金利で借り入れできる金額を求めます。"), body));

  // ---- inputs: two caption/box pairs a line, in tab order ----
  auto* inputs = new QGroupBox(QStringLiteral("条件"), body);
  auto* inputGrid = new QGridLayout(inputs);
  inputGrid->setHorizontalSpacing(6);
  inputGrid->setVerticalSpacing(4);
  auto addEdit = [&](int id, const char* caption, Qt::Alignment align, int row, int column) {
    auto* edit = new QLineEdit(inputs);
    edit->setAlignment(align);
    edit->setMinimumWidth(boxWidth);
    controls_[id] = edit;
    inputGrid->addWidget(Caption(QString::fromUtf8(caption), kCaptionColor, inputs), row, column);
    inputGrid->addWidget(edit, row, column + 1);
    return edit;
  };
  income_ = addEdit(kIncome, "年収", Qt::AlignRight | Qt::AlignVCenter, 0, 0);
  ratioLimit_ = addEdit(kRatioLimit, "返済負担率の上限", Qt::AlignRight | Qt::AlignVCenter, 0, 2);
  rate_ = addEdit(kRate, "審査金利", Qt::AlignRight | Qt::AlignVCenter, 1, 0);
  period_ = addEdit(kPeriod, "返済期間", Qt::AlignCenter, 1, 2);
  method_ = new QComboBox(inputs);
  for (const char* text : kMethodTexts) method_->addItem(QString::fromUtf8(text));
  controls_[kMethod] = method_;
  inputGrid->addWidget(Caption(QStringLiteral("返済方法"), kCaptionColor, inputs), 2, 0);
  inputGrid->addWidget(method_, 2, 1);
  other_ = addEdit(kOtherRepayment, "他の借入の年間返済額", Qt::AlignRight | Qt::AlignVCenter, 2, 2);
  bonus_ = addEdit(kBonus, "内ボーナス", Qt::AlignRight | Qt::AlignVCenter, 3, 2);
  inputGrid->setColumnStretch(1, 1);
  inputGrid->setColumnStretch(3, 1);
  layout->addWidget(inputs);

  auto addValue = [&](int id, const QColor& color, QWidget* parent) {
    auto* value = new QLabel(parent);
    value->setFrameStyle(QFrame::Box | QFrame::Plain);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setIndent(4);
    value->setMinimumWidth(valueWidth);
    value->setMinimumHeight(fm.height() + 8);
    Paint(value, color);
    controls_[id] = value;
    return value;
  };

  // ---- the answer ----
  auto* answer = new QGroupBox(QStringLiteral("借入可能額"), body);
  auto* answerGrid = new QGridLayout(answer);
  answerGrid->setHorizontalSpacing(4);
  answerGrid->setVerticalSpacing(0);
  const std::pair<int, const char*> answerCells[] = {{kLoan, "借入可能額"},
                                                     {kMonthly, "月々の返済額"},
                                                     {kBonusPayment, "ボーナス時の返済額"},
                                                     {kAnnual, "年間返済額"},
                                                     {kRatio, "返済負担率"}};
  int column = 0;
  for (const auto& [id, caption] : answerCells) {
    answerGrid->addWidget(Caption(QString::fromUtf8(caption), kHeadColor, answer), 0, column);
    answerGrid->addWidget(addValue(id, id == kLoan ? kAnswerColor : kValueColor, answer), 1, column);
    ++column;
  }
  auto* status = new QLabel(answer);
  status->setWordWrap(true);
  status->setObjectName(QStringLiteral("status"));
  controls_[kStatus] = status;
  answerGrid->addWidget(status, 2, 0, 1, column);
  layout->addWidget(answer);

  // ---- the grid: rates down, periods across ----
  auto* gridBox = new QGroupBox(QStringLiteral("審査金利と返済期間ごとの借入可能額"), body);
  auto* grid = new QGridLayout(gridBox);
  grid->setSpacing(2);
  grid->addWidget(Caption(QStringLiteral("審査金利 ＼ 返済期間"), kHeadColor, gridBox), 0, 0);
  for (size_t c = 0; c < kCapacityGridYears.size(); ++c) {
    grid->addWidget(Caption(Q(FormatPeriod(kCapacityGridYears[c])), kHeadColor, gridBox), 0, static_cast<int>(c) + 1);
  }
  for (size_t r = 0; r < kCapacityGridRateOffsets.size(); ++r) {
    auto* head = Caption(QString(), kHeadColor, gridBox);
    head->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    controls_[kGridCell + 10 * static_cast<int>(r) + 9] = head;  // column 9: the row's rate
    grid->addWidget(head, static_cast<int>(r) + 1, 0);
    for (size_t c = 0; c < kCapacityGridYears.size(); ++c) {
      const int id = kGridCell + 10 * static_cast<int>(r) + static_cast<int>(c);
      grid->addWidget(addValue(id, Qt::white, gridBox), static_cast<int>(r) + 1, static_cast<int>(c) + 1);
    }
  }
  auto* legend = new QLabel(QStringLiteral("黄色の欄が、いまの審査金利と返済期間です。"), gridBox);
  grid->addWidget(legend, static_cast<int>(kCapacityGridRateOffsets.size()) + 1, 0, 1,
                  static_cast<int>(kCapacityGridYears.size()) + 1);
  layout->addWidget(gridBox);

  // ---- the plan on the form ----
  auto* plan = new QGroupBox(QStringLiteral("この計画に必要な年収"), body);
  auto* planGrid = new QGridLayout(plan);
  planGrid->setHorizontalSpacing(4);
  planGrid->setVerticalSpacing(0);
  const std::pair<int, const char*> planCells[] = {
      {kPlanAnnual, "計画の年間返済額"}, {kPlanRatio, "計画の返済負担率"}, {kRequiredIncome, "必要年収"}};
  column = 0;
  for (const auto& [id, caption] : planCells) {
    planGrid->addWidget(Caption(QString::fromUtf8(caption), kHeadColor, plan), 0, column);
    planGrid->addWidget(addValue(id, id == kRequiredIncome ? kAnswerColor : kValueColor, plan), 1, column);
    ++column;
  }
  auto* note = new QLabel(plan);
  note->setWordWrap(true);
  controls_[kPlanNote] = note;
  planGrid->addWidget(note, 2, 0, 1, column);
  layout->addWidget(plan);

  // ---- buttons ----
  auto* buttons = new QHBoxLayout();
  auto* applyNote = new QLabel(this);
  controls_[kApplyNote] = applyNote;
  apply_ = new QPushButton(QStringLiteral("計画に反映"), this);
  close_ = new QPushButton(QStringLiteral("閉じる"), this);
  for (QPushButton* b : {apply_, close_}) {
    b->setAutoDefault(false);
    b->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("計画に反映")) + 32);
  }
  controls_[kApply] = apply_;
  controls_[kClose] = close_;
  buttons->addWidget(applyNote, 1);
  buttons->addWidget(apply_);
  buttons->addWidget(close_);
  layout->addStretch(1);
  outer->addLayout(buttons);

  QWidget* order[] = {income_, ratioLimit_, rate_, period_, method_, other_, bonus_, apply_, close_};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void CBorrowingCapacityDlg::ConnectSignals() {
  for (const auto& [id, widget] : controls_) {
    const int control = id;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      connect(edit, &QLineEdit::textChanged, this, [this, control] { Dispatch(control, Notification::TextChanged); });
      connect(edit, &QLineEdit::textEdited, this, [this, control] { Dispatch(control, Notification::TextEdited); });
      edit->installEventFilter(this);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      connect(combo, &QComboBox::currentIndexChanged, this,
              [this, control] { Dispatch(control, Notification::SelChange); });
      combo->installEventFilter(this);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
      connect(button, &QPushButton::clicked, this, [this, control] { Dispatch(control, Notification::Clicked); });
      button->installEventFilter(this);
    }
  }
}

void CBorrowingCapacityDlg::Dispatch(int id, Notification notification) {
  for (const Handler& entry : kHandlers) {
    if (entry.id == id && entry.notification == notification) (this->*entry.handler)(id);
  }
}

void CBorrowingCapacityDlg::OnInitDialog() {
  // The income as the form's box shows it: a value typed there and not yet confirmed counts too.
  const int32_t income = ParseAmountText(form_.qtView().Text(ids::kAnnualIncome));
  method_->setCurrentIndex(0);
  SetText(kRate, Q(FormatRate(form_.app().ScreeningRatePercent())));
  SetText(kPeriod, Q(FormatPeriod(35)));
  SetText(kRatioLimit, Q(FormatRatio(DefaultRatioLimit(income))));
  SetText(kIncome, income == 0 ? QString() : Q(FormatSignedAmount(income)));
  income_->setFocus(Qt::OtherFocusReason);
  income_->selectAll();
  Recalculate();
}

QWidget* CBorrowingCapacityDlg::control(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

QString CBorrowingCapacityDlg::controlText(int id) const {
  return Text(id);
}

QString CBorrowingCapacityDlg::Text(int id) const {
  QWidget* w = control(id);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
  if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
  if (auto* button = qobject_cast<QPushButton*>(w)) return button->text();
  return {};
}

void CBorrowingCapacityDlg::SetText(int id, const QString& text) {
  QWidget* w = control(id);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    if (edit->text() != text) edit->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(text);
  }
}

CapacityInputs CBorrowingCapacityDlg::ReadInputs() const {
  CapacityInputs in;
  for (const auto& [id, field] : kFieldBoxes) ReadCapacityField(in, field, Text(id).toStdString());
  in.method = static_cast<uint16_t>(method_->currentIndex() + 1);
  return in;
}

std::optional<RangeError> CBorrowingCapacityDlg::Refusal(int id) const {
  const std::optional<CapacityField> field = FieldOf(id);
  if (!field) return std::nullopt;
  return CheckCapacityField(*field, Text(id).toStdString());
}

// ---- handlers -----------------------------------------------------------------------------------

void CBorrowingCapacityDlg::OnInputChanged(int) {
  applied_.clear();
  Recalculate();
}

void CBorrowingCapacityDlg::OnIncomeChanged(int id) {
  // Until the user sets the limit, it follows the income's tier (30％ below 400万, 35％ from it).
  if (!ratioLimitTyped_) {
    const int32_t income = ParseAmountText(income_->text().toStdString());
    SetText(kRatioLimit, Q(FormatRatio(DefaultRatioLimit(income))));
  }
  OnInputChanged(id);
}

void CBorrowingCapacityDlg::OnRatioLimitEdited(int) {
  ratioLimitTyped_ = true;
}

void CBorrowingCapacityDlg::OnInputKillFocus(int id) {
  if (!Refusal(id)) {
    ShowInTextForm(id);
    return;
  }
  // One message at a time. It is shown once the focus change has run its course: a box opened
  // from inside the change is, under some window systems, never laid out or painted.
  if (messagePending_) return;
  messagePending_ = true;
  QMetaObject::invokeMethod(
      this, [this, id] { ShowRefusal(id); }, Qt::QueuedConnection);
}

void CBorrowingCapacityDlg::ShowRefusal(int id) {
  messagePending_ = false;
  const std::optional<RangeError> refused = Refusal(id);
  if (!refused || closing_ || !isVisible()) return;
  // The form's range message; the box keeps the text as typed and takes the focus back.
  view_->ShowMessage(refused->message, refused->caption);
  view_->SetFocus(id);
}

void CBorrowingCapacityDlg::ShowInTextForm(int id) {
  if (const std::optional<CapacityField> field = FieldOf(id)) SetText(id, Q(CapacityFieldText(ReadInputs(), *field)));
}

void CBorrowingCapacityDlg::OnApply(int) {
  const int row = FirstBlankRow();
  if (row < 0 || result_.loanAmount == 0) return;
  LoanRowInputs inputs;
  inputs.method = inputs_.method;
  inputs.ratePercent = inputs_.ratePercent;
  inputs.periodYears = inputs_.periodYears;
  inputs.loanAmount = result_.loanAmount;
  inputs.bonusAmount = result_.bonusAmount;  // the portion the answer was computed with
  form_.FillLoanRow(row, inputs);

  applied_ = QStringLiteral("%1行目に反映しました。").arg(row + 1);
  Recalculate();
}

void CBorrowingCapacityDlg::OnClose(int) {
  reject();
}

void CBorrowingCapacityDlg::done(int result) {
  closing_ = true;
  if (!Refusal(kRate)) form_.app().SetScreeningRatePercent(ReadInputs().ratePercent);
  QDialog::done(result);
}

int CBorrowingCapacityDlg::FirstBlankRow() const {
  return form_.FirstBlankRow();
}

// ---- results ------------------------------------------------------------------------------------

void CBorrowingCapacityDlg::Recalculate() {
  inputs_ = ReadInputs();
  std::optional<CapacityField> refused;
  for (const auto& [id, field] : kFieldBoxes) {
    if (Refusal(id)) {
      refused = field;
      break;
    }
  }
  result_ = refused ? CapacityResult{} : CalcCapacity(inputs_);
  ShowAnswer(refused);
  ShowGrid(refused.has_value());
  ShowPlan();
}

void CBorrowingCapacityDlg::ShowAnswer(std::optional<CapacityField> refused) {
  const CapacityResult& r = result_;
  const bool some = r.loanAmount != 0;
  SetText(kLoan, some ? Q(FormatLoanAmount(r.loanAmount)) : QString());
  SetText(kMonthly, some && r.monthlyPayment != 0 ? Q(FormatYen(r.monthlyPayment)) : QString());
  SetText(kBonusPayment, some && r.bonusPayment != 0 ? Q(FormatYen(r.bonusPayment)) : QString());
  SetText(kAnnual, some ? Q(FormatYen(r.annualRepayment)) : QString());
  SetText(kRatio, some ? Q(FormatRatio(r.ratioPercent)) : QString());

  QStringList status;
  if (refused) {
    status << Q(CapacityFieldHint(*refused));
  } else if (inputs_.annualIncome == 0) {
    status << QStringLiteral("年収を入力してください。");
  } else if (!some) {
    status << QStringLiteral("この条件では、10万円も借り入れできません。");
  } else {
    if (r.loanAmount == kCapacityMaxLoan) {
      status << QStringLiteral("借入額の上限（%1）までで打ち切っています。").arg(Q(FormatLoanAmount(kCapacityMaxLoan)));
    }
    if (r.bonusCapped) {
      // As the form holds a row's bonus portion to its loan.
      status << QStringLiteral("内ボーナスが借入可能額を超えるため、借入可能額と同じ%1で計算しています。")
                    .arg(Q(FormatLoanAmount(r.bonusAmount)));
    }
  }
  SetText(kStatus, status.join(QLatin1Char('\n')));
}

void CBorrowingCapacityDlg::ShowGrid(bool someRefused) {
  // A refused box leaves every cell without an answer, as a refused value does.
  const CapacityGrid grid = someRefused ? CapacityGrid{} : CalcCapacityGrid(inputs_);
  const bool rateAccepted = !Refusal(kRate);
  for (size_t r = 0; r < kCapacityGridRateOffsets.size(); ++r) {
    const int rowBase = kGridCell + 10 * static_cast<int>(r);
    const double rate = inputs_.ratePercent + kCapacityGridRateOffsets[r];
    const QString offset = QString::fromUtf8(kGridOffsetTexts[r]);
    SetText(rowBase + 9, rateAccepted && rate > 0.0 ? QStringLiteral("%1（%2）").arg(Q(FormatRate(rate)), offset)
                                                    : QStringLiteral("－（%1）").arg(offset));
    for (size_t c = 0; c < kCapacityGridYears.size(); ++c) {
      const std::optional<int32_t>& cell = grid[r][c];
      auto* label = static_cast<QLabel*>(control(rowBase + static_cast<int>(c)));
      label->setText(!cell ? QStringLiteral("－") : *cell == 0 ? QString() : Q(FormatLoanAmount(*cell)));
      label->setAlignment(cell ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);
      const bool current = kCapacityGridRateOffsets[r] == 0.0 && kCapacityGridYears[c] == inputs_.periodYears;
      Paint(label, current ? kCurrentColor : QColor(Qt::white));
      QFont f = font();
      f.setBold(current);
      label->setFont(f);
      label->setProperty("current", current);
    }
  }
}

void CBorrowingCapacityDlg::ShowPlan() {
  const double annual = form_.plan().annualRepayment;
  const bool otherAccepted = !Refusal(kOtherRepayment);
  const int32_t other = otherAccepted ? inputs_.otherAnnualRepayment : 0;
  SetText(kPlanAnnual, annual != 0.0 ? Q(FormatYen(annual)) : QString());
  // The required income is judged by the same limit as the sentence below: the one typed, or
  // the 30/35 % rule while the limit box holds nothing usable.
  const std::optional<double> limit = Refusal(kRatioLimit) || inputs_.ratioLimitPercent <= 0.0
                                          ? std::nullopt
                                          : std::optional(inputs_.ratioLimitPercent);
  const PlanAgainstLimit check = CheckPlanAgainstLimit(annual, inputs_.annualIncome, other, limit);
  SetText(kRequiredIncome, annual > 0.0 && otherAccepted ? Q(FormatSignedAmount(check.requiredIncome)) : QString());
  SetText(kPlanRatio, check.ratioPercent ? Q(FormatRatio(*check.ratioPercent)) : QString());

  QString note;
  if (annual <= 0.0) {
    note = QStringLiteral("計画にはまだ返済額がありません。");
  } else if (!check.ratioPercent) {
    note = QStringLiteral("年収が入っていないため、計画の返済負担率は求められません。");
  } else if (check.overLimit) {
    note = QStringLiteral(
               "この計画の返済負担率 %1 は、上限の %2 を超えています。\n借入額を減らすか、返済期間を延ばしてください。")
               .arg(Q(FormatRatio(*check.ratioPercent)), Q(FormatRatio(check.limitPercent)));
  } else {
    note = QStringLiteral("この計画の返済負担率は、上限の範囲内です。");
  }
  // The plan's figures are those of its own rates, the capacity above is at the screening rate.
  if (annual > 0.0) note += QStringLiteral("\n計画の欄は計画の各行の金利で、借入可能額は審査金利で計算しています。");
  SetText(kPlanNote, note);

  const int blank = FirstBlankRow();
  apply_->setEnabled(blank >= 0 && result_.loanAmount != 0);
  QString applyNote = applied_;
  if (applyNote.isEmpty() && blank < 0) applyNote = QStringLiteral("空いている借入行がないため、反映できません。");
  SetText(kApplyNote, applyNote);
}

// ---- keyboard and focus -------------------------------------------------------------------------

bool CBorrowingCapacityDlg::eventFilter(QObject* watched, QEvent* event) {
  int id = 0;
  for (const auto& [key, widget] : controls_) {
    if (widget == watched) id = key;
  }
  if (id == 0) return QDialog::eventFilter(watched, event);
  if (event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // A popup or another window taking the focus for a while, a message of the dialog itself, or
    // a click on "閉じる" does not count as leaving the box; tabbing on to "閉じる" does.
    const bool closeClicked = QApplication::focusWidget() == close_ && reason == Qt::MouseFocusReason;
    const bool counts = reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                        reason != Qt::MenuBarFocusReason && !view_->ignoreFocusOut() && !closing_ && !closeClicked;
    if (counts) {
      // The box takes the event first (caret, selection); the handler may move the focus back.
      watched->event(event);
      Dispatch(id, Notification::KillFocus);
      return true;
    }
  } else if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      // Enter moves on from a box, as on the form; on a button it presses it. It never closes the
      // dialog by itself.
      if (auto* button = qobject_cast<QPushButton*>(watched)) {
        if (button->isEnabled()) button->click();
      } else {
        focusNextChild();
      }
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace zorvik
