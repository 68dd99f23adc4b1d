#include "app/help_commands.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

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

bool ShowHelpInstructions(QWidget* form, const CZorvikApp& app, const UrlOpener& open, const HelpWarning& warn) {
  if (OpenHelpInstructions(app, open)) return true;
  const QFileInfo page(HelpInstructionsPath(app));
  const QString text = QString::fromUtf8(page.isFile() ? kHelpPageNotOpenedMessage : kHelpPageMissingMessage) +
                       QStringLiteral("\n\n") + QDir::toNativeSeparators(page.absoluteFilePath());
  const QString caption = QString::fromUtf8(kHelpMessageCaption);
  if (warn) {
    warn(text, caption);
  } else {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, form);
    box.exec();
  }
  return false;
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
