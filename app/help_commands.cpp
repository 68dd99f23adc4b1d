#include "app/help_commands.h"

#include <QDesktopServices>
#include <QFileInfo>

#include "app/about_dlg.h"
#include "app/notice_dlg.h"
#include "app/zorvik_app.h"

namespace zorvik {

QString HelpInstructionsPath(const CZorvikApp& app) {
  return app.ResolveDirectoryPath(kHelpDirectory, QStringLiteral("index.html"), true);
}

bool OpenHelpInstructions(const CZorvikApp& app, const UrlOpener& open) {
  const QFileInfo page(HelpInstructionsPath(app));
  if (!page.isFile()) return false;
  const QUrl url = QUrl::fromLocalFile(page.absoluteFilePath());
  return open ? open(url) : QDesktopServices::openUrl(url);
}

void ShowNoticeDialog(QWidget* form, const CZorvikApp& app) {
  CNoticeDlg dialog(app.LicensePath(), form);
  dialog.exec();
}

void ShowVersionDialog(QWidget* form) {
  CAboutDlg dialog(form);
  dialog.exec();
}

}  // namespace zorvik
