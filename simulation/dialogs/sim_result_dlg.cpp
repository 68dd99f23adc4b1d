#include "simulation/dialogs/sim_result_dlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/text_forms.h"
#include "simulation/dialogs/sim_dialog_ids.h"
#include "simulation/dialogs/sim_dialog_style.h"
#include "ui/window_fit.h"

namespace zorvik {

SimResultValues SimResultValues::From(const SimulationOutcome& outcome) {
  SimResultValues values;
  values.monthlyAfter = outcome.monthlyTotal;
  values.bonusAfter = outcome.bonusTotal;
  values.monthlyBefore = outcome.monthlyTotalBefore;
  values.bonusBefore = outcome.bonusTotalBefore;
  values.loanAfter = outcome.loanTotal;
  values.loanBefore = outcome.loanTotalBefore;
  return values;
}

CSimResultDlg::CSimResultDlg(const SimResultValues& values, QWidget* parent) : QDialog(parent), values_(values) {
  setWindowTitle(QStringLiteral("シミュレーションの結果"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setFont(SimulationDialogFont());

  // Everything but the buttons scrolls should the screen be too small for it.
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("次のように月払い額、ボーナス払い額を調整しました。"), this));

  auto* grid = new QGridLayout();
  const QString heads[] = {QStringLiteral("借 入 額"), QStringLiteral("月 払 い 額"), QStringLiteral("ボーナス払い額")};
  for (int column = 0; column < 3; ++column) {
    auto* head = new QLabel(heads[column], this);
    head->setAlignment(Qt::AlignCenter);
    grid->addWidget(head, 0, column + 1);
  }
  grid->addWidget(new QLabel(QStringLiteral("【 現   在 】"), this), 1, 0);
  const int beforeIds[] = {sim_ids::kLoanBefore, sim_ids::kMonthlyBefore, sim_ids::kBonusBefore};
  for (int column = 0; column < 3; ++column) {
    grid->addWidget(AddValue(beforeIds[column], kSimReadOnlyColor), 1, column + 1);
    auto* arrow = new QLabel(QStringLiteral("↓"), this);
    arrow->setAlignment(Qt::AlignCenter);
    grid->addWidget(arrow, 2, column + 1);
  }

  // The caption of the new values: red text on a red control; the text keeps the dialog's
  // own background behind its glyphs.
  auto* afterCaption = new QLabel(this);
  afterCaption->setTextFormat(Qt::RichText);
  QPalette captionPalette = afterCaption->palette();
  const QColor textBackground = captionPalette.color(QPalette::Window);
  captionPalette.setColor(QPalette::Window, kSimAfterCaptionColor);
  captionPalette.setColor(QPalette::WindowText, kSimAfterCaptionColor);
  afterCaption->setPalette(captionPalette);
  afterCaption->setAutoFillBackground(true);
  afterCaption->setText(
      QStringLiteral("<span style=\"background-color:%1; color:%2; white-space:pre;\">%3</span>")
          .arg(textBackground.name(), kSimAfterCaptionColor.name(), QStringLiteral("【 変更後 】").toHtmlEscaped()));
  afterCaption->setProperty("plainText", QStringLiteral("【 変更後 】"));
  controls_[sim_ids::kAfterCaption] = afterCaption;
  grid->addWidget(afterCaption, 3, 0);
  const int afterIds[] = {sim_ids::kLoanAfter, sim_ids::kMonthlyAfter, sim_ids::kBonusAfter};
  for (int column = 0; column < 3; ++column) {
    grid->addWidget(AddValue(afterIds[column], kSimAfterValueColor), 3, column + 1);
  }
  layout->addLayout(grid);

  auto* buttons = new QHBoxLayout();
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("元に戻す"), this);
  ok->setDefault(true);
  controls_[sim_ids::kOk] = ok;
  controls_[sim_ids::kCancel] = cancel;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addStretch();
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(ScrollingBody(body, this), 1);
  outer->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  OnInitDialog();
  FitToScreen(*this);
}

QLabel* CSimResultDlg::AddValue(int id, const QColor& background) {
  auto* value = new QLabel(this);
  value->setFrameShape(QFrame::Box);
  value->setAlignment(Qt::AlignCenter);
  value->setMinimumWidth(110);
  PaintControl(value, background);
  controls_[id] = value;
  return value;
}

void CSimResultDlg::OnInitDialog() {
  auto show = [this](int id, const std::string& text) {
    static_cast<QLabel*>(controls_.at(id))->setText(QString::fromStdString(text));
  };
  show(sim_ids::kMonthlyAfter, FormatYen(values_.monthlyAfter));
  show(sim_ids::kBonusAfter, FormatYen(values_.bonusAfter));
  show(sim_ids::kMonthlyBefore, FormatYen(values_.monthlyBefore));
  show(sim_ids::kBonusBefore, FormatYen(values_.bonusBefore));
  show(sim_ids::kLoanAfter, FormatTotalAmount(values_.loanAfter));
  show(sim_ids::kLoanBefore, FormatTotalAmount(values_.loanBefore));
}

QWidget* CSimResultDlg::control(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

QString CSimResultDlg::controlText(int id) const {
  QWidget* widget = control(id);
  if (widget == nullptr) return {};
  if (id == sim_ids::kAfterCaption) return widget->property("plainText").toString();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text();
  return {};
}

}  // namespace zorvik
