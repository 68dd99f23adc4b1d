// The event table of the main plan form and its handlers. Handlers are thin: they take the
// event and hand it to the recalculation; the hooks hand it to the subsystem that owns it.
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QLineEdit>

#include "app/borrowing_capacity_dlg.h"
#include "app/form_integrations.h"
#include "app/funding_plan_dlg.h"
#include "app/help_commands.h"
#include "app/plan_comparison_dlg.h"
#include "app/rate_master_download.h"
#include "app/rate_scenario_dlg.h"
#include "app/repayment_schedule_dlg.h"
#include "app/tax_credit_dlg.h"
#include "app/zorvik_app.h"
#include "core/control_ids.h"
#include "core/plan_texts.h"
#include "print/render/plan_printer.h"
#include "simulation/dialogs/simulation_entry.h"

namespace zorvik {

void CFundingPlanDlg::BuildHandlerTable() {
  using N = FormNotification;
  auto bind = [this](int id, N notification, Handler handler, int argument) {
    handlers_[(static_cast<int64_t>(id) << 8) | static_cast<int64_t>(notification)] = {handler, argument};
  };
  auto single = [&bind](int id, N notification, Handler handler) { bind(id, notification, handler, id); };
  auto column = [&bind](const ids::RowIds& column, N notification, Handler handler) {
    for (int row = 0; row < kLoanRowCount; ++row) bind(column[static_cast<size_t>(row)], notification, handler, row);
  };

  single(ids::kCustomerName, N::TextUpdated, &CFundingPlanDlg::OnCustomerNameUpdate);
  for (int id : {ids::kYear, ids::kMonth, ids::kDay}) single(id, N::TextUpdated, &CFundingPlanDlg::OnDateUpdate);
  single(ids::kOtherCostLabel, N::TextUpdated, &CFundingPlanDlg::OnOtherCostLabelUpdate);
  for (int id : {ids::kLandPrice, ids::kBuildingPrice, ids::kConsumptionTax, ids::kOtherCost}) {
    single(id, N::KillFocus, &CFundingPlanDlg::OnRequiredFundsKillFocus);
  }
  single(ids::kMiscCosts, N::KillFocus, &CFundingPlanDlg::OnMiscCostsKillFocus);
  single(ids::kAnnualIncome, N::KillFocus, &CFundingPlanDlg::OnAnnualIncomeKillFocus);

  column(ids::kLoanName, N::SelChange, &CFundingPlanDlg::OnLoanNameSelChange);
  column(ids::kLoanName, N::KillFocus, &CFundingPlanDlg::OnLoanNameKillFocus);
  column(ids::kMethod, N::SelChange, &CFundingPlanDlg::OnMethodSelChange);
  column(ids::kRate, N::SetFocus, &CFundingPlanDlg::OnRateSetFocus);
  column(ids::kRate, N::KillFocus, &CFundingPlanDlg::OnRateKillFocus);
  column(ids::kPeriod, N::SetFocus, &CFundingPlanDlg::OnPeriodSetFocus);
  column(ids::kPeriod, N::KillFocus, &CFundingPlanDlg::OnPeriodKillFocus);
  column(ids::kLoanAmount, N::SetFocus, &CFundingPlanDlg::OnLoanAmountSetFocus);
  column(ids::kLoanAmount, N::TextChanged, &CFundingPlanDlg::OnLoanAmountChange);
  column(ids::kLoanAmount, N::KillFocus, &CFundingPlanDlg::OnLoanAmountKillFocus);
  column(ids::kBonusAmount, N::SetFocus, &CFundingPlanDlg::OnBonusAmountSetFocus);
  column(ids::kBonusAmount, N::KillFocus, &CFundingPlanDlg::OnBonusAmountKillFocus);
  column(ids::kDeleteRow, N::Clicked, &CFundingPlanDlg::OnDeleteRow);

  single(ids::kTotalMonthly, N::Clicked, &CFundingPlanDlg::OnClickTotalMonthly);
  single(ids::kTotalBonus, N::Clicked, &CFundingPlanDlg::OnClickTotalBonus);
  single(ids::kPrint, N::Clicked, &CFundingPlanDlg::OnPrintButton);
  single(ids::kOk, N::Clicked, &CFundingPlanDlg::OnOkButton);
}

void CFundingPlanDlg::OnCustomerNameUpdate(int) {
  recalc_.OnCustomerNameChanged();
}

void CFundingPlanDlg::OnDateUpdate(int id) {
  recalc_.OnDateChanged(id);
}

void CFundingPlanDlg::OnOtherCostLabelUpdate(int) {
  recalc_.OnOtherCostLabelChanged();
}
void CFundingPlanDlg::OnRequiredFundsKillFocus(int id) {
  recalc_.OnRequiredFundsKillFocus(id);
}
void CFundingPlanDlg::OnMiscCostsKillFocus(int) {
  recalc_.OnMiscCostsKillFocus();
}
void CFundingPlanDlg::OnAnnualIncomeKillFocus(int) {
  recalc_.OnAnnualIncomeKillFocus();
}

void CFundingPlanDlg::OnLoanNameSelChange(int row) {
  auto* combo = qobject_cast<QComboBox*>(view_.Widget(ids::kLoanName[static_cast<size_t>(row)]));
  if (combo == nullptr) return;
  // Each list item carries the index of its table entry; with nothing selected, or an item
  // without an entry, there is no product to apply.
  const int position = combo->currentIndex();
  if (position < 0) return;
  bool ok = false;
  const int entry = combo->itemData(position).toInt(&ok);
  const std::optional<double> rate = ok ? rateMaster_.RateAt(entry) : std::nullopt;
  if (!rate) return;
  recalc_.OnLoanProductChosen(row, *rate);
}

void CFundingPlanDlg::OnLoanNameKillFocus(int row) {
  recalc_.OnLoanNameKillFocus(row);
  // Out of the box, a long product name shows its beginning.
  if (auto* combo = qobject_cast<QComboBox*>(view_.Widget(ids::kLoanName[static_cast<size_t>(row)]))) {
    if (combo->lineEdit() != nullptr) combo->lineEdit()->setCursorPosition(0);
  }
}
void CFundingPlanDlg::OnMethodSelChange(int row) {
  recalc_.OnMethodChosen(row);
}
void CFundingPlanDlg::OnRateSetFocus(int row) {
  recalc_.OnRateSetFocus(row);
}
void CFundingPlanDlg::OnRateKillFocus(int row) {
  recalc_.OnRateKillFocus(row);
}
void CFundingPlanDlg::OnPeriodSetFocus(int row) {
  recalc_.OnPeriodSetFocus(row);
}
void CFundingPlanDlg::OnPeriodKillFocus(int row) {
  recalc_.OnPeriodKillFocus(row);
}
void CFundingPlanDlg::OnLoanAmountSetFocus(int row) {
  recalc_.OnLoanAmountSetFocus(row);
}
void CFundingPlanDlg::OnLoanAmountChange(int row) {
  recalc_.OnLoanAmountTextChanged(row);
}
void CFundingPlanDlg::OnLoanAmountKillFocus(int row) {
  recalc_.OnLoanAmountKillFocus(row);
}
void CFundingPlanDlg::OnBonusAmountSetFocus(int row) {
  recalc_.OnBonusAmountSetFocus(row);
}
void CFundingPlanDlg::OnBonusAmountKillFocus(int row) {
  recalc_.OnBonusAmountKillFocus(row);
}
void CFundingPlanDlg::OnDeleteRow(int row) {
  recalc_.OnDeleteRow(row);
}
void CFundingPlanDlg::OnPrintButton(int) {
  PrintPlanSheet();
}
void CFundingPlanDlg::OnOkButton(int) {
  OnOK();
}

// ---- hooks into the other subsystems ------------------------------------------------------------
// Each hook hands the command to the subsystem that owns it.

void CFundingPlanDlg::BuildIntegrations() {
  integrations_ = std::make_unique<FormIntegrations>();
  FileCommandHooks hooks;
  hooks.dataFolder = [this] {
    return QFile::encodeName(app_.ResolveDirectoryPath(kDataDirectory, QString(), false)).toStdString();
  };
  hooks.today = [] {
    const QDate d = QDate::currentDate();
    return PlanDate{static_cast<uint16_t>(d.year()), static_cast<uint16_t>(d.month()), static_cast<uint16_t>(d.day())};
  };
  hooks.reloadRateMaster = [this] { LoadRateMaster(RateMasterPath()); };
  hooks.closeForm = [this] { EndDialog(QDialog::Accepted); };
  hooks.selectCustomerName = [this] {
    if (auto* name = qobject_cast<QLineEdit*>(view_.Widget(ids::kCustomerName))) name->selectAll();
  };
  hooks.focusedControl = [this] { return FocusedControlId(); };
  integrations_->fileUi = std::make_unique<QtFileCommandUi>(this);
  integrations_->fileCommands =
      std::make_unique<PlanFileCommands>(plan_, view_, *integrations_->fileUi, std::move(hooks));
}

int CFundingPlanDlg::FocusedControlId() const {
  for (QWidget* w = focusWidget(); w != nullptr && w != this; w = w->parentWidget()) {
    if (const int id = view_.IdOf(w)) return id;
  }
  return 0;
}

bool CFundingPlanDlg::RefusedValueOnForm() {
  const std::optional<RejectedBox> rejected = FindRejectedBox(view_, FocusedControlId());
  if (!rejected) return false;
  view_.RefuseValue(rejected->id, rejected->error.message, rejected->error.caption);
  return true;
}

bool CFundingPlanDlg::TakeFocusedValue() {
  const int id = FocusedControlId();
  if (id != 0 && Dispatch(id, FormNotification::KillFocus) && !view_.refusalPending()) {
    Dispatch(id, FormNotification::SetFocus);
  }
  return !view_.refusalPending();
}

void CFundingPlanDlg::UpdateWindowTitle() {
  const std::string title =
      PlanWindowTitle(plan_.customerName, integrations_->fileCommands->filePath(), plan_.HasUnsavedChanges());
  setWindowTitle(QString::fromStdString(title));
}

QString CFundingPlanDlg::PlanFilePath() const {
  return QString::fromStdString(integrations_->fileCommands->filePath());
}

PlanDate CFundingPlanDlg::FormDate() const {
  return PlanDate{plan_.createdYear, plan_.createdMonth, plan_.createdDay};
}

void CFundingPlanDlg::OnClickTotalMonthly(int) {
  if (RefusedValueOnForm()) return;
  OpenMonthlySimulation(this, plan_, view_, totalLoanBeforeSimulation_);
}

void CFundingPlanDlg::OnClickTotalBonus(int) {
  if (RefusedValueOnForm()) return;
  OpenBonusSimulation(this, plan_, view_, totalLoanBeforeSimulation_);
}

void CFundingPlanDlg::PrintPlanSheet() {
  // The sheet is the plan's: the box being edited is first taken as leaving it would take it.
  if (!TakeFocusedValue() || RefusedValueOnForm()) return;
  // Without a printer the message may offer "PDFに保存": the same command as the menu item.
  if (::zorvik::PrintPlanSheet(this, MakePlanTexts(plan_), FormDate(), printFlag_) == PrintResult::SavePdfChosen) {
    OnFileSavePdf();
  }
}

void CFundingPlanDlg::OnFileSavePdf() {
  if (!TakeFocusedValue() || RefusedValueOnForm()) return;
  SavePlanSheetPdf(this, MakePlanTexts(plan_), FormDate(), app_.ResolveDirectoryPath(kDataDirectory, QString(), false));
}

void CFundingPlanDlg::OnToolsRepaymentSchedule() {
  if (RefusedValueOnForm()) return;
  auto* dlg = findChild<CRepaymentScheduleDlg*>(QString(), Qt::FindDirectChildrenOnly);
  if (dlg == nullptr) {
    dlg = new CRepaymentScheduleDlg(plan_, app_.ResolveDirectoryPath(kDataDirectory, QString(), false), this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &CFundingPlanDlg::planEdited, dlg, [this, dlg] {
      dlg->SetPlanFileName(PlanFilePath());  // planned prepayments are remembered per plan file
      dlg->Refresh();
    });
  }
  dlg->SetPlanFileName(PlanFilePath());
  dlg->show();
  dlg->raise();
  dlg->activateWindow();
}

void CFundingPlanDlg::OnToolsRateScenario() {
  if (RefusedValueOnForm()) return;
  auto* dlg = findChild<CRateScenarioDlg*>(QString(), Qt::FindDirectChildrenOnly);
  if (dlg == nullptr) {
    dlg = new CRateScenarioDlg(plan_, app_.ResolveDirectoryPath(kDataDirectory, QString(), false), this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &CFundingPlanDlg::planEdited, dlg, &CRateScenarioDlg::Refresh);
    connect(this, &CFundingPlanDlg::planEdited, dlg, [this, dlg] { dlg->SetPlanFileName(PlanFilePath()); });
  }
  dlg->SetPlanFileName(PlanFilePath());
  dlg->Refresh();  // prepayments planned since it was last shown
  dlg->show();
  dlg->raise();
  dlg->activateWindow();
}

void CFundingPlanDlg::OnToolsTaxCredit() {
  if (RefusedValueOnForm()) return;
  auto* dlg = findChild<CTaxCreditDlg*>(QString(), Qt::FindDirectChildrenOnly);
  if (dlg == nullptr) {
    // A user's copy of the table lives beside the downloaded rate master.
    const QString name = QString::fromLatin1(kTaxCreditTableFileName);
    dlg = new CTaxCreditDlg(
        plan_,
        LoadTaxCreditTable(JoinPath(app_.places().rateMasterFolder, name), JoinPath(app_.places().shippedFolder, name)),
        this, app_.ResolveDirectoryPath(kDataDirectory, QString(), false));
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &CFundingPlanDlg::planEdited, dlg, &CTaxCreditDlg::Refresh);
    connect(this, &CFundingPlanDlg::planEdited, dlg, [this, dlg] { dlg->SetPlanFileName(PlanFilePath()); });
  }
  dlg->SetPlanFileName(PlanFilePath());
  dlg->show();
  dlg->raise();
  dlg->activateWindow();
}

void CFundingPlanDlg::OnToolsPlanComparison() {
  if (RefusedValueOnForm()) return;
  auto* dlg = findChild<CPlanComparisonDlg*>(QString(), Qt::FindDirectChildrenOnly);
  if (dlg == nullptr) {
    dlg = new CPlanComparisonDlg(plan_, app_.ResolveDirectoryPath(kDataDirectory, QString(), false), this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &CFundingPlanDlg::planEdited, dlg, &CPlanComparisonDlg::Refresh);
  }
  dlg->show();
  dlg->raise();
  dlg->activateWindow();
}

void CFundingPlanDlg::OnDownloadRateMaster() {
  DownloadRateMaster(this, app_.RateMasterDownloadPath(), [this](const QString& path) { LoadRateMaster(path); });
}

void CFundingPlanDlg::OnHelpInstructions() {
  ShowHelpInstructions(this, app_);
}

void CFundingPlanDlg::OnHelpNotice() {
  ShowNoticeDialog(this, app_);
}

void CFundingPlanDlg::OnHelpVersion() {
  ShowVersionDialog(this);
}

void CFundingPlanDlg::OnToolsBorrowingCapacity() {
  if (RefusedValueOnForm()) return;
  CBorrowingCapacityDlg dialog(*this);
  dialog.exec();
}

void CFundingPlanDlg::OnToolsMonthlySimulation() {
  OnClickTotalMonthly(ids::kTotalMonthly);
}

void CFundingPlanDlg::OnToolsBonusSimulation() {
  OnClickTotalBonus(ids::kTotalBonus);
}

void CFundingPlanDlg::OnFileNew() {
  if (!TakeFocusedValue()) return;
  integrations_->fileCommands->OnFileNew();
}

void CFundingPlanDlg::OnFileOpen() {
  if (!TakeFocusedValue()) return;
  integrations_->fileCommands->OnFileOpen();
}

void CFundingPlanDlg::OpenPlanFile(const QString& path) {
  integrations_->fileCommands->OpenPlanFile(path.toStdString());
  UpdateWindowTitle();
}

void CFundingPlanDlg::OnFileSaveAs() {
  if (!TakeFocusedValue()) return;
  integrations_->fileCommands->OnFileSaveAs();
}

void CFundingPlanDlg::OnFileSave() {
  if (!TakeFocusedValue()) return;
  integrations_->fileCommands->OnFileSave();
}

void CFundingPlanDlg::OnOK() {
  if (!TakeFocusedValue()) return;
  integrations_->fileCommands->OnOK();
}

}  // namespace zorvik
