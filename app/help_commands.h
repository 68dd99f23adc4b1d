#pragma once
// The help menu's three commands, as the main form runs them:
//   "操作説明(&H)" (57670)  OnHelpInstructions -> ShowHelpInstructions(form, app)
//   "著作権情報"   (32780)  OnHelpNotice       -> ShowNoticeDialog(form, app)
//   "バージョン情報" (32779) OnHelpVersion      -> ShowVersionDialog(form)
// None of them changes the plan.

#include <QString>
#include <QUrl>
#include <functional>

#include "core/product_name.h"

class QWidget;

namespace zorvik {

class CZorvikApp;

// The operating instructions: "index.html" in the folder of directory setting 3
// ("HELP_DIRECTORY"), resolved anew from the settings.
QString HelpInstructionsPath(const CZorvikApp& app);

using UrlOpener = std::function<bool(const QUrl&)>;

// Opens the help page in the user's browser (QDesktopServices by default). When the page is
// missing, or no program takes it, nothing happens and nothing is shown. Returns whether the
// page was handed to a program.
bool OpenHelpInstructions(const CZorvikApp& app, const UrlOpener& open = {});

// Said when the help page cannot be shown, followed by an empty line and the page's path, so
// that the user can open it by hand. Caption: the product name.
inline constexpr const char* kHelpPageMissingMessage = "操作説明のページが見つかりません。";
inline constexpr const char* kHelpPageNotOpenedMessage = "操作説明のページを開けませんでした。";
inline constexpr const char* kHelpMessageCaption = kProductCaption;

// Shows a warning box (OK button) owned by the form.
using HelpWarning = std::function<void(const QString& text, const QString& caption)>;

// "操作説明(&H)": opens the help page; when the page is missing or no program takes it, says so
// in a warning that gives the page's path (a QMessageBox owned by `form` by default).
// Returns whether the page was handed to a program.
bool ShowHelpInstructions(QWidget* form, const CZorvikApp& app, const UrlOpener& open = {},
                          const HelpWarning& warn = {});

// The notice dialog with "license.txt" from the program directory, modal to `form`.
void ShowNoticeDialog(QWidget* form, const CZorvikApp& app);

// The version dialog, modal to `form`.
void ShowVersionDialog(QWidget* form);

}  // namespace zorvik
