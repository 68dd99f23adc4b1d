#include "simulation/dialogs/sim_input_dlg.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/text_forms.h"
#include "simulation/desired_amount.h"
#include "simulation/dialogs/sim_dialog_ids.h"
#include "simulation/dialogs/sim_dialog_style.h"
#include "simulation/dialogs/simulation_prompter.h"
#include "simulation/payment_target.h"
#include "ui/leave_watch.h"
#include "ui/window_fit.h"

namespace zorvik {

const CSimInputDlg::Handler CSimInputDlg::kHandlers[] = {
    {sim_ids::kOk, Notification::Clicked, &CSimInputDlg::OnOK},
    {sim_ids::kCancel, Notification::Clicked, &CSimInputDlg::OnCancel},
    {sim_ids::kDesiredAmount, Notification::TextChanged, &CSimInputDlg::OnDesiredChanged},
    {sim_ids::kChangeLoansYes, Notification::Clicked, &CSimInputDlg::OnChangeLoansYes},
    {sim_ids::kChangeLoansNo, Notification::Clicked, &CSimInputDlg::OnChangeLoansNo},
};

CSimInputDlg::CSimInputDlg(const SimulationWork& work, const QString& currentCaption, double currentTotal,
                           SimulationPrompter* prompter, QWidget* parent)
    : QDialog(parent), work_(work), currentTotal_(currentTotal), prompter_(prompter) {
  if (prompter_ == nullptr) {
    ownPrompter_ = std::make_unique<ModalSimulationPrompter>();
    prompter_ = ownPrompter_.get();
  }
  setWindowTitle(QStringLiteral("シミュレーション機能"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setFont(SimulationDialogFont());

  // Everything but the buttons scrolls should the screen be too small for it.
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("希望する金額を入力して下さい。"), this));

  auto* grid = new QGridLayout();
  auto* currentCaptionLabel = new QLabel(currentCaption, this);
  auto* desiredCaptionLabel = new QLabel(QStringLiteral("希望する金額"), this);
  PaintControl(currentCaptionLabel, kSimLabelColor);
  PaintControl(desiredCaptionLabel, kSimLabelColor);
  current_ = new QLineEdit(this);
  current_->setReadOnly(true);
  current_->setAlignment(Qt::AlignCenter);
  PaintControl(current_, kSimReadOnlyColor);
  desired_ = new QLineEdit(this);
  desired_->setAlignment(Qt::AlignCenter);
  // Each caption names its box, for screen readers too.
  currentCaptionLabel->setBuddy(current_);
  desiredCaptionLabel->setBuddy(desired_);
  grid->addWidget(currentCaptionLabel, 0, 0);
  grid->addWidget(current_, 0, 1);
  grid->addWidget(desiredCaptionLabel, 1, 0);
  grid->addWidget(desired_, 1, 1);
  layout->addLayout(grid);

  auto* group = new QGroupBox(QStringLiteral("月払分／ボーナス払分の調整のみで希望金額にならない場合"), this);
  auto* groupLayout = new QHBoxLayout(group);
  groupLayout->addWidget(new QLabel(QStringLiteral("借入額を変更しますか？"), group));
  auto* yes = new QRadioButton(QStringLiteral("はい"), group);
  auto* no = new QRadioButton(QStringLiteral("いいえ"), group);
  auto* radios = new QButtonGroup(this);
  radios->addButton(yes);
  radios->addButton(no);
  groupLayout->addWidget(yes);
  groupLayout->addWidget(no);
  layout->addWidget(group);

  auto* buttons = new QHBoxLayout();
  ok_ = new QPushButton(QStringLiteral("実  行"), this);
  auto* cancel = new QPushButton(QStringLiteral("中  止"), this);
  ok_->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel);
  buttons->addStretch();
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(ScrollingBody(body, this), 1);
  outer->addLayout(buttons);

  controls_ = {{sim_ids::kCurrentCaption, currentCaptionLabel},
               {sim_ids::kDesiredCaption, desiredCaptionLabel},
               {sim_ids::kCurrentAmount, current_},
               {sim_ids::kDesiredAmount, desired_},
               {sim_ids::kChangeLoansYes, yes},
               {sim_ids::kChangeLoansNo, no},
               {sim_ids::kOk, ok_},
               {sim_ids::kCancel, cancel}};

  setTabOrder(current_, desired_);
  setTabOrder(desired_, yes);
  setTabOrder(yes, no);
  setTabOrder(no, ok_);
  setTabOrder(ok_, cancel);

  connect(ok_, &QPushButton::clicked, this, [this] { Dispatch(sim_ids::kOk, Notification::Clicked); });
  connect(cancel, &QPushButton::clicked, this, [this] { Dispatch(sim_ids::kCancel, Notification::Clicked); });
  connect(yes, &QRadioButton::clicked, this, [this] { Dispatch(sim_ids::kChangeLoansYes, Notification::Clicked); });
  connect(no, &QRadioButton::clicked, this, [this] { Dispatch(sim_ids::kChangeLoansNo, Notification::Clicked); });
  connect(desired_, &QLineEdit::textChanged, this,
          [this] { Dispatch(sim_ids::kDesiredAmount, Notification::TextChanged); });

  // Every key press inside the dialog passes here first, as the Enter rule needs.
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
  // Leaving the desired box reads the amount; entering it selects what it shows.
  auto* watch = new LeaveWatch(this);
  watch->Watch(
      desired_, [this] { OnDesiredKillFocus(); }, [this] { OnDesiredSetFocus(); });

  OnInitDialog();
  FitToScreen(*this);
}

CSimInputDlg::~CSimInputDlg() = default;

QWidget* CSimInputDlg::control(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

void CSimInputDlg::Dispatch(int id, Notification notification) {
  for (const Handler& entry : kHandlers) {
    if (entry.id == id && entry.notification == notification) (this->*entry.handler)();
  }
}

void CSimInputDlg::OnInitDialog() {
  work_.keepLoanAmounts = 1;
  static_cast<QRadioButton*>(control(sim_ids::kChangeLoansNo))->setChecked(true);
  current_->setText(QString::fromStdString(FormatYen(currentTotal_)));
  desired_->clear();
  desired_->setFocus();
}

void CSimInputDlg::OnOK() {
  Run();
}

void CSimInputDlg::OnCancel() {
  reject();
}

// The box takes ten digits with their commas and "円"; the limit follows the text, and a
// text already longer than its limit is left as it is (it only cannot grow).
void CSimInputDlg::OnDesiredChanged() {
  const QString text = desired_->text();
  const int limit = std::max(DesiredAmountTextLimit(text.toStdString()), static_cast<int>(text.size()));
  if (limit == desired_->maxLength()) return;
  // Changing the limit puts the text in again, which would move the caret to the end.
  const int cursor = desired_->cursorPosition();
  desired_->setMaxLength(limit);
  desired_->setCursorPosition(cursor);
}

void CSimInputDlg::OnDesiredKillFocus() {
  work_.desiredAmount = ParseDesiredAmount(desired_->text().toStdString());
  desired_->setText(QString::fromStdString(FormatYen(work_.desiredAmount)));
}

// Entering the box selects the amount it shows (a left-over "0円" too), so typing replaces it. A
// mouse click places the caret after the focus arrives; the selection follows it.
void CSimInputDlg::OnDesiredSetFocus() {
  QTimer::singleShot(0, desired_, [box = desired_] {
    if (box->hasFocus()) box->selectAll();
  });
}

void CSimInputDlg::OnChangeLoansYes() {
  work_.keepLoanAmounts = 0;
}

void CSimInputDlg::OnChangeLoansNo() {
  work_.keepLoanAmounts = 1;
}

void CSimInputDlg::Finish(const SimulationOutcome& outcome) {
  switch (outcome.status) {
    case SimulationStatus::AmountMissing:
      prompter_->ShowMessage(this, QString::fromUtf8(kDesiredAmountMissingMessage),
                             QString::fromUtf8(kSimulationCaption));
      return;
    case SimulationStatus::SameAsCurrent:
      prompter_->ShowMessage(this, QString::fromUtf8(kSameAsCurrentMessage), QString::fromUtf8(kSimulationCaption));
      return;
    case SimulationStatus::Done:
      break;
  }
  if (prompter_->ConfirmResult(this, outcome)) {
    ApplySimulationOutcome(work_, outcome);
    done(QDialog::Accepted);
  } else {
    done(QDialog::Rejected);
  }
}

bool CSimInputDlg::HandleEnter() {
  QWidget* focus = focusWidget();
  if (focus == desired_) {
    focusNextChild();
  } else if (focus == ok_) {
    Dispatch(sim_ids::kOk, Notification::Clicked);
  }
  return true;
}

bool CSimInputDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return HandleEnter();
  }
  return QDialog::eventFilter(watched, event);
}

void CSimInputDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    HandleEnter();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace zorvik
