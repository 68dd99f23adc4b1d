#include "app/funding_plan_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDate>
#include <QFile>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/app_icon.h"
#include "app/borrowing_capacity_dlg.h"
#include "app/cp932_validator.h"
#include "app/form_colors.h"
#include "app/form_integrations.h"
#include "app/form_layout.h"
#include "app/form_widgets.h"
#include "app/rate_scenario_dlg.h"
#include "app/repayment_schedule_dlg.h"
#include "app/sys_menu_about_dlg.h"
#include "app/tax_credit_dlg.h"
#include "app/zorvik_app.h"
#include "core/control_ids.h"
#include "core/plan_form_writer.h"
#include "core/plan_texts.h"
#include "ui/ui_font.h"
#include "ui/window_fit.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace zorvik {
namespace {

Qt::Alignment ToQt(TextAlign a) {
  switch (a) {
    case TextAlign::Center:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case TextAlign::Right:
      return Qt::AlignRight | Qt::AlignVCenter;
    case TextAlign::Left:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

QLabel* MakeStatic(QLabel* label, const ControlTemplate& t, bool bordered) {
  label->setText(QString::fromUtf8(t.text));
  label->setAlignment(ToQt(t.align));
  if (bordered) {
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
  }
  // A right-aligned value keeps a little air between its last digit and the border
  // (an indent: a frame's contents margins hold its border).
  label->setIndent(t.align == TextAlign::Right ? 2 : 0);
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}

}  // namespace

CFundingPlanDlg::CFundingPlanDlg(CZorvikApp& app, QWidget* parent)
    : QDialog(parent), app_(app), view_(this), recalc_(plan_, view_) {
  setWindowTitle(QString::fromUtf8(kFormCaption));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFont(UiFont(kFormFontPoints));
  BuildControls();
  BuildMenu();
  BuildHandlerTable();
  ConnectSignals();
  SetTabOrder();
  BuildIntegrations();
  OnInitDialog();
  // Never larger than the sheet, and no larger than the screen.
  setMaximumSize(sizeHint());
  FitToScreen(*this);
  connect(this, &CFundingPlanDlg::planEdited, this, &CFundingPlanDlg::UpdateWindowTitle);
}

CFundingPlanDlg::~CFundingPlanDlg() {
  // The window goes away with the form: the settings are written now.
  if (saveSettingsOnDestroy_) app_.SaveSettings();
}

void CFundingPlanDlg::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  // The sheet keeps its size and scrolls in a window made smaller than it, as the screen may be.
  body_ = new QWidget(this);
  body_->setObjectName(QStringLiteral("formBody"));
  const DialogBaseUnits units = DialogBaseUnits::ForFont(font());
  body_->setFixedSize(units.X(kFormWidthDu), units.Y(kFormHeightDu));
  layout->addWidget(ScrollingBody(body_, this));

  for (const ControlTemplate& t : FormTemplate()) {
    QWidget* w = CreateControl(t, body_);
    w->setGeometry(units.ToPixels(t.rect));
    if (t.id != 0) {
      w->setObjectName(QStringLiteral("c%1").arg(t.id));
      view_.Register(t.id, w);
      SetAccessibleControlName(w, FormAccessibleName(t.id));
      ApplyFormColors(w, t.id);
      if (auto* note = qobject_cast<NoteLabel*>(w)) note->setTextBackground(palette().color(QPalette::Window));
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
      // The drop height of the template includes the box itself.
      const int listPixels = units.Y(t.dropHeightDu - t.rect.height);
      combo->setMaxVisibleItems(std::max(2, listPixels / std::max(1, units.cy)));
    }
  }
}

QWidget* CFundingPlanDlg::CreateControl(const ControlTemplate& t, QWidget* parent) {
  switch (t.kind) {
    case ControlKind::Caption:
      return MakeStatic(new QLabel(parent), t, true);
    case ControlKind::Label:
      return MakeStatic(new QLabel(parent), t, false);
    case ControlKind::Result:
      return MakeStatic(new FittingLabel(parent), t, true);
    case ControlKind::ClickableResult:
      return MakeStatic(new ClickableLabel(parent), t, true);
    case ControlKind::Sample: {
      auto* sample = new QLabel(parent);
      sample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      sample->setLineWidth(1);
      sample->setFocusPolicy(Qt::NoFocus);
      return sample;
    }
    case ControlKind::Note:
      return new NoteLabel(QString::fromUtf8(t.text), parent);
    case ControlKind::Edit:
    case ControlKind::ReadOnlyEdit: {
      auto* edit = new FittingLineEdit(parent);
      edit->setAlignment(ToQt(t.align));
      edit->setTextMargins(1, 0, 1, 0);
      edit->setReadOnly(t.kind == ControlKind::ReadOnlyEdit);
      edit->setValidator(new Cp932Validator(edit));
      edit->setFocusPolicy(Qt::StrongFocus);
      return edit;
    }
    case ControlKind::ReadOnlyMultiLine:
      return new CenteredTextBox(parent);
    case ControlKind::NameCombo: {
      auto* combo = new NameComboBox(parent);
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setCompleter(nullptr);  // a typed name stays as typed
      combo->lineEdit()->setValidator(new Cp932Validator(combo->lineEdit()));
      combo->lineEdit()->setTextMargins(1, 0, 0, 0);
      combo->setFocusPolicy(Qt::StrongFocus);
      return combo;
    }
    case ControlKind::MethodList: {
      auto* combo = new QComboBox(parent);
      for (const char* text : kMethodTexts) combo->addItem(QString::fromUtf8(text));
      combo->setCurrentIndex(-1);
      combo->setFocusPolicy(Qt::StrongFocus);
      return combo;
    }
    case ControlKind::PushButton:
    case ControlKind::DefaultButton: {
      auto* button = new QPushButton(QString::fromUtf8(t.text), parent);
      button->setAutoDefault(false);
      button->setDefault(t.kind == ControlKind::DefaultButton);
      button->setFocusPolicy(Qt::StrongFocus);
      return button;
    }
    case ControlKind::Line: {
      auto* line = new QFrame(parent);
      line->setFrameShape(QFrame::HLine);
      line->setFrameShadow(QFrame::Sunken);
      return line;
    }
  }
  return new QWidget(parent);
}

void CFundingPlanDlg::BuildMenu() {
  menuBar_ = new QMenuBar(this);
  menuBar_->setObjectName(QStringLiteral("menu134"));
  for (const MenuTemplate& m : FormMenu()) {
    QMenu* menu = menuBar_->addMenu(QString::fromUtf8(m.title));
    for (const MenuItemTemplate& item : m.items) {
      if (item.commandId == 0) {
        menu->addSeparator();
        continue;
      }
      QAction* action = menu->addAction(QString::fromUtf8(item.text));
      action->setData(item.commandId);
      action->setShortcut(MenuShortcut(item.commandId));
      const int command = item.commandId;
      connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
    }
  }
  AddMenuCommand(ToolsMenu(), kBorrowingCapacityCommand, kBorrowingCapacityMenuItem);
  AddMenuCommand(ToolsMenu(), kRepaymentScheduleCommand, kRepaymentScheduleMenuText);
  AddMenuCommand(ToolsMenu(), kRateScenarioCommand, kScenarioMenuText);
  AddMenuCommand(ToolsMenu(), kTaxCreditCommand, kTaxCreditMenuText);
  AddMenuCommand(ToolsMenu(), ids::kToolsMonthlySimulation, kMonthlySimulationMenuText);
  AddMenuCommand(ToolsMenu(), ids::kToolsBonusSimulation, kBonusSimulationMenuText);
  layout()->setMenuBar(menuBar_);

  commands_ = {
      {ids::kFileNew, &CFundingPlanDlg::OnFileNew},
      {ids::kFileOpen, &CFundingPlanDlg::OnFileOpen},
      {ids::kFileSave, &CFundingPlanDlg::OnFileSave},
      {ids::kFileSaveAs, &CFundingPlanDlg::OnFileSaveAs},
      {kFileSavePdfCommand, &CFundingPlanDlg::OnFileSavePdf},
      {ids::kDownloadRateMaster, &CFundingPlanDlg::OnDownloadRateMaster},
      {ids::kOk, &CFundingPlanDlg::OnOK},
      {ids::kHelpInstructions, &CFundingPlanDlg::OnHelpInstructions},
      {ids::kHelpNotice, &CFundingPlanDlg::OnHelpNotice},
      {ids::kHelpVersion, &CFundingPlanDlg::OnHelpVersion},
      {ids::kSysMenuAbout, &CFundingPlanDlg::OnSysMenuAbout},
      {kBorrowingCapacityCommand, &CFundingPlanDlg::OnToolsBorrowingCapacity},
      {kRepaymentScheduleCommand, &CFundingPlanDlg::OnToolsRepaymentSchedule},
      {kRateScenarioCommand, &CFundingPlanDlg::OnToolsRateScenario},
      {kTaxCreditCommand, &CFundingPlanDlg::OnToolsTaxCredit},
      {ids::kToolsMonthlySimulation, &CFundingPlanDlg::OnToolsMonthlySimulation},
      {ids::kToolsBonusSimulation, &CFundingPlanDlg::OnToolsBonusSimulation},
  };
}

QMenu* CFundingPlanDlg::ToolsMenu() {
  if (toolsMenu_ == nullptr) {
    toolsMenu_ = new QMenu(QStringLiteral("ツール(&T)"), menuBar_);
    const QList<QAction*> menus = menuBar_->actions();
    menuBar_->insertMenu(menus.size() > 1 ? menus[1] : nullptr, toolsMenu_);
  }
  return toolsMenu_;
}

void CFundingPlanDlg::AddMenuCommand(QMenu* menu, int commandId, const char* text) {
  QAction* action = menu->addAction(QString::fromUtf8(text));
  action->setData(commandId);
  connect(action, &QAction::triggered, this, [this, commandId] { RunCommand(commandId); });
}

bool CFundingPlanDlg::RunCommand(int commandId) {
  const auto it = commands_.find(commandId);
  if (it == commands_.end()) return false;
  (this->*(it->second))();
  emit planEdited();
  return true;
}

void CFundingPlanDlg::ConnectSignals() {
  for (const ControlTemplate& t : FormTemplate()) {
    if (t.id == 0) continue;
    const int id = t.id;
    QWidget* w = view_.Widget(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      connect(edit, &QLineEdit::textChanged, this, [this, id] {
        Dispatch(id, FormNotification::TextUpdated);
        Dispatch(id, FormNotification::TextChanged);
      });
      edit->installEventFilter(this);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
      if (auto* names = qobject_cast<NameComboBox*>(combo)) {
        connect(names, &NameComboBox::picked, this, [this, id] { Dispatch(id, FormNotification::SelChange); });
      } else {
        connect(combo, &QComboBox::activated, this, [this, id] { Dispatch(id, FormNotification::SelChange); });
      }
      combo->installEventFilter(this);
      if (combo->lineEdit() != nullptr) combo->lineEdit()->installEventFilter(this);
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
      connect(button, &QPushButton::clicked, this, [this, id] { Dispatch(id, FormNotification::Clicked); });
      button->installEventFilter(this);
    } else if (auto* clickable = qobject_cast<ClickableLabel*>(w)) {
      connect(clickable, &ClickableLabel::clicked, this, [this, id] { Dispatch(id, FormNotification::Clicked); });
    } else if (auto* box = qobject_cast<CenteredTextBox*>(w)) {
      box->installEventFilter(this);
    }
  }
}

void CFundingPlanDlg::SetTabOrder() {
  const std::vector<int>& order = TabOrder();
  for (size_t i = 1; i < order.size(); ++i) {
    QWidget::setTabOrder(view_.Widget(order[i - 1]), view_.Widget(order[i]));
  }
}

bool CFundingPlanDlg::Dispatch(int id, FormNotification notification) {
  // A button pressed while leaving a box whose value is refused: the refusal comes first, alone,
  // and the click is not acted on (one message at a time).
  if (notification == FormNotification::Clicked && view_.refusalPending()) return true;
  const auto key = (static_cast<int64_t>(id) << 8) | static_cast<int64_t>(notification);
  const auto it = handlers_.find(key);
  if (it == handlers_.end()) return false;
  (this->*(it->second.handler))(it->second.argument);
  emit planEdited();
  return true;
}

bool CFundingPlanDlg::CountsAsFocusChange(Qt::FocusReason reason) {
  // A popup (a list drop-down, a context menu, the menu bar) or another window taking the focus
  // for a while does not move the user out of the box, and coming back from there does not enter
  // it again.
  return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && reason != Qt::MenuBarFocusReason;
}

bool CFundingPlanDlg::eventFilter(QObject* watched, QEvent* event) {
  int id = view_.IdOf(watched);
  const bool ownControl = id != 0;
  if (!ownControl && watched->parent() != nullptr && qobject_cast<QComboBox*>(watched->parent()) != nullptr) {
    id = view_.IdOf(watched->parent());  // the edit field of a name list
  }
  if (id == 0) return QDialog::eventFilter(watched, event);

  switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
      if (!ownControl) break;
      const bool in = event->type() == QEvent::FocusIn;
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      // The control takes the event first (caret, selection); the handler then sees the
      // control in its new state and may move the focus again.
      watched->event(event);
      const bool ignored = in ? view_.ignoreFocusIn() : view_.ignoreFocusOut();
      if (CountsAsFocusChange(reason) && !ignored && !closing_) {
        Dispatch(id, in ? FormNotification::SetFocus : FormNotification::KillFocus);
      }
      return true;
    }
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
          (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        HandleEnter(id);
        return true;
      }
      break;
    }
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

void CFundingPlanDlg::HandleEnter(int id) {
  if (id == ids::kOk) {
    // Enter on "終 了" ends the program through the exit check, so unsaved changes are never
    // thrown away without a question.
    OnOK();
    return;
  }
  if (!EnterMovesToNext(id)) return;  // "印 刷", the "×" buttons: the key is swallowed
  const std::vector<int>& order = TabOrder();
  const auto it = std::find(order.begin(), order.end(), id);
  if (it == order.end()) {
    focusNextChild();
    return;
  }
  const size_t start = static_cast<size_t>(it - order.begin());
  for (size_t step = 1; step < order.size(); ++step) {
    QWidget* next = view_.Widget(order[(start + step) % order.size()]);
    if (next != nullptr && next->isEnabled() && next->isVisibleTo(this)) {
      next->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

void CFundingPlanDlg::OnInitDialog() {
  setWindowIcon(AppIcon());
  const QDate today = QDate::currentDate();
  plan_.ResetToNewPlan(PlanDate{static_cast<uint16_t>(today.year()), static_cast<uint16_t>(today.month()),
                                static_cast<uint16_t>(today.day())});
  ShowNewPlan();
}

void CFundingPlanDlg::ShowNewPlan() {
  const QDate today = QDate::currentDate();
  plan_.customerName = kNewCustomerName;
  plan_.createdYear = static_cast<uint16_t>(today.year());
  plan_.createdMonth = static_cast<uint16_t>(today.month());
  plan_.createdDay = static_cast<uint16_t>(today.day());
  plan_.landLabel = kLandLabel;
  plan_.buildingLabel = kBuildingLabel;
  plan_.taxLabel = kTaxLabel;
  plan_.otherCostLabel.clear();
  plan_.fundsMinusLoansLabel = kFundsMinusLoansLabel;
  plan_.miscCostsLabel = kMiscCostsLabel;
  plan_.ownFundsLabel = kOwnFundsLabel;
  ShowPlanHeader(MakePlanTexts(plan_), view_);
  if (auto* name = qobject_cast<QLineEdit*>(view_.Widget(ids::kCustomerName))) {
    name->setFocus(Qt::OtherFocusReason);
    name->selectAll();
  }

  LoadRateMaster(RateMasterPath());
}

QString CFundingPlanDlg::RateMasterPath() const {
  return app_.RateMasterPath();
}

void CFundingPlanDlg::LoadRateMaster(const QString& path) {
  const std::vector<RateMasterListItem> items = LoadRateMasterFile(rateMaster_, QFile::encodeName(path).toStdString());
  for (int row = 0; row < kLoanRowCount; ++row) {
    auto* combo = qobject_cast<QComboBox*>(view_.Widget(ids::kLoanName[static_cast<size_t>(row)]));
    if (combo == nullptr) continue;
    // The name shown in the box survives the refill, whether it is in the new list or not.
    const QString shown = combo->currentText();
    combo->clear();
    for (const RateMasterListItem& item : items) {
      combo->addItem(QString::fromStdString(item.name), item.entryIndex);
    }
    WidenDropDownToItems(combo);
    combo->setCurrentIndex(-1);
    combo->setEditText(shown);
    combo->lineEdit()->setCursorPosition(0);
  }
}

void CFundingPlanDlg::EndDialog(int result) {
  closing_ = true;
  QDialog::done(result);
}

void CFundingPlanDlg::accept() {
  OnOK();
}

// Escape and the close box: the same exit check as "終 了".
void CFundingPlanDlg::reject() {
  OnOK();
}

void CFundingPlanDlg::contextMenuEvent(QContextMenuEvent* event) {
  // The window menu of the title bar is not reachable on every platform; the version item is
  // offered here as well.
  QMenu menu(this);
  QAction* about = menu.addAction(QString::fromUtf8(kSysMenuAboutItem));
  if (menu.exec(event->globalPos()) == about) OnSysMenuAbout();
}

void CFundingPlanDlg::OnSysMenuAbout() {
  CSysMenuAboutDlg box(this);
  box.exec();
}

#ifdef Q_OS_WIN
void CFundingPlanDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  static const char* const kAdded = "zorvikSysMenu";
  if (property(kAdded).toBool()) return;
  setProperty(kAdded, true);
  HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
  if (menu == nullptr) return;
  const std::wstring text = QString::fromUtf8(kSysMenuAboutItem).toStdWString();
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, ids::kSysMenuAbout, text.c_str());
}

bool CFundingPlanDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
  auto* msg = static_cast<MSG*>(message);
  if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == static_cast<WPARAM>(ids::kSysMenuAbout)) {
    OnSysMenuAbout();
    *result = 0;
    return true;
  }
  return QDialog::nativeEvent(eventType, message, result);
}
#endif

// ---- the plan as other windows change it -------------------------------------------------------

int CFundingPlanDlg::FirstBlankRow() const {
  for (int row = 0; row < kLoanRowCount; ++row) {
    const size_t i = static_cast<size_t>(row);
    if (!plan_.rows[i].HasNoInputs() || view_.Selection(ids::kMethod[i]) >= 0) continue;
    // A box typed into but not yet left counts as used as well.
    bool empty = true;
    for (int id : {ids::kLoanName[i], ids::kRate[i], ids::kPeriod[i], ids::kLoanAmount[i], ids::kBonusAmount[i]}) {
      if (!view_.QText(id).trimmed().isEmpty()) empty = false;
    }
    if (empty) return row;
  }
  return -1;
}

void CFundingPlanDlg::FillLoanRow(int row, const LoanRowInputs& inputs) {
  const size_t i = static_cast<size_t>(row);
  // Through the form's own handlers, in the order a user fills a row: the loan amount's leaving
  // proposes a bonus portion and recomputes the row, the totals and the ratio; the portion given
  // then replaces the proposal.
  const LoanEditState saved = recalc_.editState();
  view_.SetSelection(ids::kMethod[i], inputs.method - 1);
  Dispatch(ids::kMethod[i], FormNotification::SelChange);
  auto type = [&](int id, const std::string& text) {
    Dispatch(id, FormNotification::SetFocus);
    view_.SetText(id, text);  // reported to the form as a text change, as typing is
    Dispatch(id, FormNotification::KillFocus);
  };
  if (!inputs.loanName.empty()) view_.SetText(ids::kLoanName[i], inputs.loanName);
  type(ids::kRate[i], FormatRate(inputs.ratePercent));
  type(ids::kPeriod[i], FormatPeriod(inputs.periodYears));
  type(ids::kLoanAmount[i], FormatLoanAmount(inputs.loanAmount));
  type(ids::kBonusAmount[i], inputs.bonusAmount == 0 ? std::string() : FormatLoanAmount(inputs.bonusAmount));
  recalc_.editState() = saved;
}

}  // namespace zorvik
