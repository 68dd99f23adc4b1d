#pragma once
// The help menu's three commands, as the main form runs them:
//   "操作説明(&H)" (57670)  OnHelpInstructions -> OpenHelpInstructions(app)
//   "著作権情報"   (32780)  OnHelpNotice       -> ShowNoticeDialog(form, app)
//   "バージョン情報" (32779) OnHelpVersion      -> ShowVersionDialog(form)
// None of them changes the plan.

#include <QString>
#include <QUrl>
#include <functional>

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

// The notice dialog with "license.txt" from the program directory, modal to `form`.
void ShowNoticeDialog(QWidget* form, const CZorvikApp& app);

// The version dialog, modal to `form`.
void ShowVersionDialog(QWidget* form);

}  // namespace zorvik
