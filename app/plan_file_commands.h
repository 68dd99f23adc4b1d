#pragma once
// The file commands of the main form: new plan, open, save as, and the end of the program,
// with their questions. The form constructs one PlanFileCommands and routes its menu commands,
// the "終 了" button, the close box, Escape and Enter on "終 了" to it.
//
// A plan is "changed" exactly when its inputs differ from the baseline taken at the last save
// or load (FundingPlan::HasUnsavedChanges); there is no separate flag.
//
// How these commands keep a plan from being lost:
//   - the baseline is taken only after the file was written; a failed write is reported
//     ("ファイルを保存できませんでした。" and the path) and the plan stays "changed";
//   - the file is replaced atomically (WritePlanFile), so a crash during a save keeps the old file;
//   - a file that cannot be read is reported ("指定したファイルは開けません。") before anything
//     of the current plan is cleared, and a new open dialog is shown;
//   - the save-changes question before new, open and exit offers キャンセル (Esc answers it):
//     the command stops and the plan stays as it is;
//   - when the user answers "Yes, save" and the plan is then not saved (dialog cancelled,
//     overwrite refused and the next dialog cancelled, write failed, a refused value on the
//     form), new, open and exit stop and the plan stays on the form;
//   - nothing is saved while a box holds a value the range checks refuse (FindRejectedBox): the
//     refusal is shown again and the focus goes to that box.
//
// The plan remembers the file it was last read from or written to; "上書き保存" writes there
// without a dialog, and the window title names the plan by its customer or that file.
//
// The dialogs and message boxes sit behind FileCommandUi so that tests can answer them; the
// parts that belong to the form (data folder, today's date, the rate master lists, closing the
// window) come in as FileCommandHooks.

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "core/funding_plan.h"
#include "core/plan_form_view.h"
#include "core/product_name.h"

class QFileDialog;
class QWidget;

namespace zorvik {

// Texts of the file commands. The caption is the product name.
inline constexpr const char* kFileCommandCaption = kProductCaption;
inline constexpr const char* kSaveChangesQuestion = "資金計画表の変更を保存しますか？";
inline constexpr const char* kOverwriteQuestion = "同じ名前のファイルが存在します。\n上書きしますか？";
inline constexpr const char* kCannotOpenMessage = "指定したファイルは開けません。";
inline constexpr const char* kCannotSaveMessage =
    "ファイルを保存できませんでした。";  // followed by a line with the path
inline constexpr const char* kPlanFileSuffix = "zvk";
inline constexpr const char* kPlanFileFilter = "zvk ﾌｧｲﾙ (*.zvk)";

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageIcon { None, Question, Exclamation };
enum class MessageAnswer { Ok, Yes, No, Cancel };
// Whether a message box belongs to the form's window or stands on its own.
enum class MessageOwner { Form, None };

class FileCommandUi {
 public:
  virtual ~FileCommandUi() = default;
  // The save dialog: the chosen full path (UTF-8), or nullopt when the user cancelled. The
  // dialog asks nothing about existing files; the commands ask.
  virtual std::optional<std::string> AskSavePath(const std::string& initialFolder, const std::string& proposedName) = 0;
  // The open dialog; the chosen path need not exist.
  virtual std::optional<std::string> AskOpenPath(const std::string& initialFolder, const std::string& proposedName) = 0;
  virtual MessageAnswer Ask(const std::string& text, const std::string& caption, MessageButtons buttons,
                            MessageIcon icon, MessageOwner owner) = 0;
};

// The form's side of the commands.
struct FileCommandHooks {
  std::function<std::string()> dataFolder;   // where the file dialogs start (UTF-8 path)
  std::function<PlanDate()> today;           // the local date
  std::function<void()> reloadRateMaster;    // empties the ten loan-name lists and refills them
  std::function<void()> closeForm;           // ends the form with result OK, without asking
  std::function<void()> selectCustomerName;  // optional: selects the whole text of box 1002
  std::function<int()> focusedControl;       // optional: the id of the box with the focus, or 0
};

enum class SaveOutcome {
  Saved,      // written, and the baseline taken
  Cancelled,  // the user cancelled a dialog; nothing written
  Failed,     // the file could not be written; the user was told
  Refused,    // a box holds a value the range checks refuse; the user was told, nothing written
};

enum class OpenOutcome {
  Opened,     // a plan was read; it replaced every field but the reference sums and is the baseline
  Cancelled,  // the user cancelled the dialog; the plan is as it was
};

class PlanFileCommands {
 public:
  PlanFileCommands(FundingPlan& plan, PlanFormView& view, FileCommandUi& ui, FileCommandHooks hooks);

  bool HasUnsavedChanges() const { return plan_.HasUnsavedChanges(); }
  // The file the plan was last read from or written to (UTF-8); empty for a new plan.
  const std::string& filePath() const { return filePath_; }

  // The save dialog (proposing the customer name, starting in the data folder), the overwrite
  // question (No shows a new dialog), then the write; the baseline is taken only when the file
  // was written.
  SaveOutcome SavePlanAs();
  // The plan's own file, written without a dialog (the same atomic write); a plan without a
  // file is saved as SavePlanAs saves it.
  SaveOutcome SavePlan();
  // The open dialog; a file that cannot be read is reported and a new dialog shown, until a
  // plan was read or the user cancelled.
  OpenOutcome OpenPlan();

  // Menu "名前をつけて保存(&A)".
  void OnFileSaveAs();
  // Menu "上書き保存(&S)" (Ctrl+S).
  void OnFileSave();
  // Menu "開く(&O)": the save-changes question, the open dialog, then the form shows the file's
  // values as they are (nothing recomputed).
  void OnFileOpen();
  // A plan named when the program starts (`zorvik PLAN.zvk`, a double-clicked file): "開く"
  // without its dialog. The save-changes question, then the file is read; one that cannot be
  // read gets "指定したファイルは開けません。" and the plan on the form stays as it was.
  // Returns whether the plan was read.
  bool OpenPlanFile(const std::string& path);
  // Menu "新規作成(&N)": the save-changes question, then the plan and the form as at start-up.
  void OnFileNew();
  // "終 了", the menu's "終了(&X)", the close box, Escape and Enter on "終 了": the save-changes
  // question with Yes/No/Cancel, then the form is closed unless the user cancelled or asked to
  // save and the plan was not saved.
  void OnOK();

 private:
  // The save-changes question before new and open (はい / いいえ / キャンセル); false when the
  // command must stop: キャンセル, or はい and the plan was not saved.
  bool OfferToSaveChanges();
  // True, after the refusal was shown again, while a box holds a value the checks refuse.
  bool RefusedValueOnForm();
  // Writes the plan to `path`: the baseline and the plan's file are taken only once it is written.
  SaveOutcome WriteTo(const std::string& path);
  // Reads `path` into the plan and takes the baseline; false (the plan untouched) when the file
  // cannot be read.
  bool ReadIntoPlan(const std::string& path);
  std::string DataFolder() const;
  std::string ProposedFileName() const;
  // Shows the plan (just reset to a new one) in every box, then gives the name the focus.
  void ShowNewPlan();

  FundingPlan& plan_;
  PlanFormView& view_;
  FileCommandUi& ui_;
  FileCommandHooks hooks_;
  std::string filePath_;
};

// The title of the form's window: "<customer>様 - ゾルビク" (or the file's name when the plan
// has no customer name but a file), with a leading "*" while the plan has unsaved changes; the
// form's own caption "資金計画表 ： ゾルビク" while it has neither. A new plan's "新 規" and a
// blank name are no customer name.
std::string PlanWindowTitle(const std::string& customerName, const std::string& filePath, bool unsavedChanges);

// The dialogs and message boxes over Qt widgets, owned by `form`.
class QtFileCommandUi : public FileCommandUi {
 public:
  explicit QtFileCommandUi(QWidget* form) : form_(form) {}

  std::optional<std::string> AskSavePath(const std::string& initialFolder, const std::string& proposedName) override;
  std::optional<std::string> AskOpenPath(const std::string& initialFolder, const std::string& proposedName) override;
  MessageAnswer Ask(const std::string& text, const std::string& caption, MessageButtons buttons, MessageIcon icon,
                    MessageOwner owner) override;

 private:
  QWidget* form_;
};

// Sets up a plan-file dialog: one filter "zvk ﾌｧｲﾙ (*.zvk)", default suffix zvk, the folder and
// the proposed name, Qt's own overwrite question off, and for opening any name accepted (a name
// that does not exist is reported by the command).
void ConfigurePlanFileDialog(QFileDialog& dialog, bool save, const QString& initialFolder, const QString& proposedName);

}  // namespace zorvik
