#include "app/rate_master_download.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>

#include "app/credentials_dialog.h"
#include "io/download/rate_master_sources.h"
#include "ui/message_box_fit.h"

namespace zorvik {

bool QtDownloadMessages::AskYesNo(const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, owner_);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void QtDownloadMessages::Inform(const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, owner_);
  box.exec();
}

void QtDownloadMessages::Warn(const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, owner_);
  WidenToLongestLine(box);  // the failure message's lines break only where it breaks them
  box.exec();
}

int ProgressDownloadRunner::Attempt(const QString& url, const QString& localPath) {
  QProgressDialog progress(QString::fromUtf8(kDownloadProgressText), QString::fromUtf8(kDownloadCancelText), 0, 0,
                           owner_);
  progress.setObjectName(QStringLiteral("downloadProgress"));
  progress.setWindowTitle(QString::fromUtf8(kDownloadCaption));
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setAutoReset(false);
  progress.setAutoClose(false);
  progress.setMinimumDuration(0);

  DownloadCancel cancel;
  QObject::connect(&progress, &QProgressDialog::canceled, &cancel, &DownloadCancel::Cancel);
  progress.show();

  // The per-user folder of an installed copy may not exist yet on a new account.
  QDir().mkpath(QFileInfo(localPath).absolutePath());
  DownloadOptions options;
  options.timeoutMs = timeoutMs_;
  options.credentials = credentials_;
  options.cancel = &cancel;
  lastWriteFailure_ = WriteResult{};
  options.writeFailure = &lastWriteFailure_;
  const int result = DownloadToFile(url, localPath, options);
  progress.hide();
  return result;
}

DownloadOutcome RunDownloadRateMaster(const QString& localPath, const QStringList& sources, DownloadMessages& messages,
                                      const DownloadAttempt& attempt, const RateMasterReload& reload,
                                      const std::function<WriteResult()>& writeFailure) {
  const QString caption = QString::fromUtf8(kDownloadCaption);
  if (!messages.AskYesNo(QString::fromUtf8(kDownloadQuestion), caption)) return DownloadOutcome::kDeclined;

  int result = kDownloadTransferFailed;
  for (const QString& source : sources) {
    result = attempt(source, localPath);
    // A cancel ends the whole command: no further source, no failure message, nothing changed.
    if (result == kDownloadCancelled) return DownloadOutcome::kCancelled;
    if (result == kDownloadOk) break;
  }
  if (result != kDownloadOk) {
    QString text = QString::fromUtf8(kDownloadFailed);
    // The network was fine but the file could not be written: say where and why.
    if (result == kDownloadLocalFileError && writeFailure) {
      text += QStringLiteral("\n\n") + QString::fromUtf8(kDownloadSaveFailed) + QStringLiteral("\n") +
              QDir::toNativeSeparators(localPath) + WriteFailureReasonLine(writeFailure());
    }
    messages.Warn(text, caption);
    return DownloadOutcome::kFailed;
  }
  messages.Inform(QString::fromUtf8(kDownloadDone), caption);
  if (reload) reload(localPath);
  return DownloadOutcome::kSucceeded;
}

DownloadOutcome DownloadRateMaster(QWidget* form, const QString& localPath, const RateMasterReload& reload) {
  QtDownloadMessages messages(form);
  DialogCredentialsProvider credentials;
  ProgressDownloadRunner runner(form, &credentials);
  return RunDownloadRateMaster(
      localPath, RateMasterSourceUrls(), messages,
      [&runner](const QString& url, const QString& path) { return runner.Attempt(url, path); }, reload,
      [&runner] { return runner.lastWriteFailure(); });
}

}  // namespace zorvik
