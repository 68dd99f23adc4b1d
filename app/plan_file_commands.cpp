#include "app/plan_file_commands.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <string>
#include <utility>

#include "app/form_layout.h"
#include "core/control_ids.h"
#include "core/plan_form_writer.h"
#include "core/plan_recalc.h"
#include "core/plan_texts.h"
#include "io/file_access.h"
#include "io/plan_file.h"

namespace zorvik {

namespace {

MessageAnswer Warn(FileCommandUi& ui, const std::string& text, MessageOwner owner) {
  return ui.Ask(text, kFileCommandCaption, MessageButtons::Ok, MessageIcon::Exclamation, owner);
}

}  // namespace

PlanFileCommands::PlanFileCommands(FundingPlan& plan, PlanFormView& view, FileCommandUi& ui, FileCommandHooks hooks)
    : plan_(plan), view_(view), ui_(ui), hooks_(std::move(hooks)) {}

std::string PlanFileCommands::DataFolder() const {
  return hooks_.dataFolder ? hooks_.dataFolder() : std::string();
}

std::string PlanFileCommands::ProposedFileName() const {
  // The customer name is proposed as the file name, cleaned as for the PDF: a path separator
  // would make the dialog look for a folder, and a NUL would end the name early.
  return CleanFileNameBase(QString::fromStdString(plan_.customerName)).toStdString();
}

SaveOutcome PlanFileCommands::SavePlanAs() {
  if (RefusedValueOnForm()) return SaveOutcome::Refused;
  for (;;) {
    const std::optional<std::string> path = ui_.AskSavePath(DataFolder(), ProposedFileName());
    if (!path) return SaveOutcome::Cancelled;
    if (QFileInfo::exists(QString::fromStdString(*path)) &&
        ui_.Ask(kOverwriteQuestion, kFileCommandCaption, MessageButtons::YesNo, MessageIcon::Question,
                MessageOwner::None) != MessageAnswer::Yes) {
      continue;  // a fresh dialog
    }
    return WriteTo(*path);
  }
}

SaveOutcome PlanFileCommands::SavePlan() {
  if (filePath_.empty()) return SavePlanAs();
  if (RefusedValueOnForm()) return SaveOutcome::Refused;
  return WriteTo(filePath_);
}

SaveOutcome PlanFileCommands::WriteTo(const std::string& path) {
  if (!WritePlanFile(plan_, path)) {
    // The plan stays "changed", so the program keeps asking before it is thrown away.
    Warn(ui_, std::string(kCannotSaveMessage) + "\n" + path, MessageOwner::Form);
    return SaveOutcome::Failed;
  }
  plan_.TakeBaseline();
  filePath_ = path;
  return SaveOutcome::Saved;
}

bool PlanFileCommands::RefusedValueOnForm() {
  const std::optional<RejectedBox> rejected =
      FindRejectedBox(view_, hooks_.focusedControl ? hooks_.focusedControl() : 0);
  if (!rejected) return false;
  view_.RefuseValue(rejected->id, rejected->error.message, rejected->error.caption);
  return true;
}

OpenOutcome PlanFileCommands::OpenPlan() {
  for (;;) {
    const std::optional<std::string> path = ui_.AskOpenPath(DataFolder(), ProposedFileName());
    if (!path) return OpenOutcome::Cancelled;
    if (!ReadIntoPlan(*path)) {
      Warn(ui_, kCannotOpenMessage, MessageOwner::None);
      continue;  // a fresh dialog
    }
    return OpenOutcome::Opened;
  }
}

bool PlanFileCommands::ReadIntoPlan(const std::string& path) {
  // The file is read into a copy first: a file that does not exist or cannot be read leaves
  // the plan on the form as it was.
  FundingPlan loaded = plan_;
  loaded.ClearForLoad();
  if (!ReadPlanFile(loaded, path)) return false;
  plan_ = std::move(loaded);
  plan_.TakeBaseline();
  filePath_ = path;
  return true;
}

bool PlanFileCommands::OpenPlanFile(const std::string& path) {
  if (!OfferToSaveChanges()) return false;
  if (!ReadIntoPlan(path)) {
    Warn(ui_, kCannotOpenMessage, MessageOwner::None);
    return false;
  }
  ShowLoadedPlan(plan_, view_);
  return true;
}

bool PlanFileCommands::OfferToSaveChanges() {
  if (!HasUnsavedChanges()) return true;
  const MessageAnswer answer = ui_.Ask(kSaveChangesQuestion, kFileCommandCaption, MessageButtons::YesNoCancel,
                                       MessageIcon::Question, MessageOwner::Form);
  if (answer == MessageAnswer::No) return true;
  if (answer != MessageAnswer::Yes) return false;  // キャンセル or Esc: the plan stays
  return SavePlanAs() == SaveOutcome::Saved;
}

void PlanFileCommands::OnFileSaveAs() {
  SavePlanAs();
}

void PlanFileCommands::OnFileSave() {
  SavePlan();
}

void PlanFileCommands::OnFileOpen() {
  if (!OfferToSaveChanges()) return;
  if (OpenPlan() == OpenOutcome::Cancelled) return;
  ShowLoadedPlan(plan_, view_);
}

void PlanFileCommands::OnFileNew() {
  if (!OfferToSaveChanges()) return;
  const PlanDate today = hooks_.today ? hooks_.today() : PlanDate{};
  plan_.ResetToNewPlan(today);
  filePath_.clear();
  ShowNewPlan();
  // The form's handlers may have stored what they read while the boxes were being emptied; the
  // new plan is exactly the start-up state and equals its baseline.
  plan_.ResetToNewPlan(today);
}

void PlanFileCommands::ShowNewPlan() {
  const PlanTexts texts = MakePlanTexts(plan_);
  ShowPlanHeader(texts, view_);
  if (hooks_.reloadRateMaster) hooks_.reloadRateMaster();
  ShowPlanAmounts(texts, view_);
  ShowLoanRows(plan_, view_);
  ShowPlanTotals(texts, view_);

  // The focus goes to the customer name last, when every box it could leave is already empty
  // (leaving a box runs its handler, which must not complain about a value being thrown away).
  view_.SetFocus(ids::kCustomerName);
  if (hooks_.selectCustomerName) hooks_.selectCustomerName();
}

void PlanFileCommands::OnOK() {
  if (HasUnsavedChanges()) {
    const MessageAnswer answer = ui_.Ask(kSaveChangesQuestion, kFileCommandCaption, MessageButtons::YesNoCancel,
                                         MessageIcon::Question, MessageOwner::Form);
    if (answer == MessageAnswer::Cancel) return;
    // The user asked to save: without a saved file the program stays open.
    if (answer == MessageAnswer::Yes && SavePlanAs() != SaveOutcome::Saved) return;
  }
  if (hooks_.closeForm) hooks_.closeForm();
}

std::string PlanWindowTitle(const std::string& customerName, const std::string& filePath, bool unsavedChanges) {
  const QString name = QString::fromStdString(customerName).trimmed();
  QString whose;
  if (!name.isEmpty() && name != QString::fromUtf8(kNewCustomerName)) {
    whose = name + QStringLiteral("様");
  } else if (!filePath.empty()) {
    whose = QFileInfo(QString::fromStdString(filePath)).fileName();
  }
  if (whose.isEmpty()) return kFormCaption;
  return ((unsavedChanges ? QStringLiteral("*") : QString()) + whose + QStringLiteral(" - ") +
          QString::fromUtf8(kProductCaption))
      .toStdString();
}

// ---- Qt dialogs ------------------------------------------------------------------------------

void ConfigurePlanFileDialog(QFileDialog& dialog, bool save, const QString& initialFolder,
                             const QString& proposedName) {
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Opening accepts any name: one that does not exist gets our own message.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(QStringList{QString::fromUtf8(kPlanFileFilter)});
  dialog.setDefaultSuffix(QString::fromUtf8(kPlanFileSuffix));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);  // the command asks its own question
  if (!initialFolder.isEmpty()) dialog.setDirectory(initialFolder);
  dialog.selectFile(proposedName);
}

namespace {

std::optional<std::string> RunFileDialog(QWidget* form, bool save, const std::string& initialFolder,
                                         const std::string& proposedName) {
  QFileDialog dialog(form);
  ConfigurePlanFileDialog(dialog, save, QString::fromStdString(initialFolder), QString::fromStdString(proposedName));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
  return files.first().toStdString();
}

}  // namespace

std::optional<std::string> QtFileCommandUi::AskSavePath(const std::string& initialFolder,
                                                        const std::string& proposedName) {
  return RunFileDialog(form_, true, initialFolder, proposedName);
}

std::optional<std::string> QtFileCommandUi::AskOpenPath(const std::string& initialFolder,
                                                        const std::string& proposedName) {
  return RunFileDialog(form_, false, initialFolder, proposedName);
}

MessageAnswer QtFileCommandUi::Ask(const std::string& text, const std::string& caption, MessageButtons buttons,
                                   MessageIcon icon, MessageOwner owner) {
  QMessageBox::StandardButtons standard = QMessageBox::Ok;
  if (buttons == MessageButtons::YesNo) standard = QMessageBox::Yes | QMessageBox::No;
  if (buttons == MessageButtons::YesNoCancel) standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  QMessageBox::Icon qIcon = QMessageBox::NoIcon;
  if (icon == MessageIcon::Question) qIcon = QMessageBox::Question;
  if (icon == MessageIcon::Exclamation) qIcon = QMessageBox::Warning;
  QMessageBox box(qIcon, QString::fromStdString(caption), QString::fromStdString(text), standard,
                  owner == MessageOwner::Form ? form_ : nullptr);
  box.setObjectName(QStringLiteral("fileCommandMessage"));
  switch (box.exec()) {
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    default:
      // Closed without a button: the box's escape answer.
      if (buttons == MessageButtons::YesNo) return MessageAnswer::No;
      if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
      return MessageAnswer::Cancel;
  }
}

}  // namespace zorvik
