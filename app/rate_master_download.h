#pragma once
// The menu command "金利マスターのダウンロード" (32776): ask, fetch the rate master from the
// primary source and, failing that, from the secondary one, tell the user the outcome, and
// reload the loan-name lists after a success.
//
// Each attempt runs under a modal progress dialog with a cancel button, so the window is never
// frozen by a slow server; a time-out counts as a failed attempt, while a cancel ends the whole
// command at once, without trying the other source and without a message. Only the outcome
// of the whole command is shown: the first source's failure is silent, and the failure code is
// never shown. A failure leaves the local file, the table and the lists as they were.

#include <QString>
#include <QStringList>
#include <functional>

#include "io/download/download_to_file.h"

class QWidget;

namespace zorvik {

inline constexpr const char* kDownloadCaption = "金利マスターのダウンロード";
inline constexpr const char* kDownloadQuestion =
    "【ノルベスタ】(インターネットサーバー)に接続して\n最新の金利情報をダウンロードしますか？";
inline constexpr const char* kDownloadDone = "ダウンロード完了。";
inline constexpr const char* kDownloadFailed =
    "自動更新失敗。\n\n現在のインターネット接続環境で、金利情報の自動更新ができませんでした。\n\n主な原因）\n"
    "・サーバーが大変混雑していて接続できなかった。\n・サーバーメンテナンスの為サービスが休止されている。\n"
    "・ダイアルアップ接続の場合、インターネットに接続されていない状態だった。\n"
    "・会社内のネットワーク設定等でダウンロードや接続サイトが規制されている。\n"
    "・プロキシサーバーを経由するなど、直接【ノルベスタ】に接続されていない場合もあります。\n\n"
    "インターネット接続環境を再確認してもう一度、自動更新を試行して\nみるか、又は、各金融機関の金利情報を元に手動での更"
    "新を"
    "お願いします。\n\n今回、金利情報は変更されていません。";
// Added under the failure message when the download arrived but the file could not be written.
inline constexpr const char* kDownloadSaveFailed = "金利マスターのファイルに書き込めませんでした。";
// Text and cancel button of the progress dialog of one attempt.
inline constexpr const char* kDownloadProgressText = "金利情報をダウンロードしています…";
inline constexpr const char* kDownloadCancelText = "キャンセル";

// The command's message boxes, owned by the form. Tests answer them without a window.
class DownloadMessages {
 public:
  virtual ~DownloadMessages() = default;
  // Yes / No with the question-mark icon; true for Yes.
  virtual bool AskYesNo(const QString& text, const QString& caption) = 0;
  // OK with the information icon.
  virtual void Inform(const QString& text, const QString& caption) = 0;
  // OK with the exclamation-mark icon.
  virtual void Warn(const QString& text, const QString& caption) = 0;
};

class QtDownloadMessages : public DownloadMessages {
 public:
  explicit QtDownloadMessages(QWidget* owner) : owner_(owner) {}
  bool AskYesNo(const QString& text, const QString& caption) override;
  void Inform(const QString& text, const QString& caption) override;
  void Warn(const QString& text, const QString& caption) override;

 private:
  QWidget* owner_;
};

// Runs one attempt under a modal progress dialog whose cancel button stops it.
class ProgressDownloadRunner {
 public:
  ProgressDownloadRunner(QWidget* owner, CredentialsProvider* credentials, int timeoutMs = kDefaultDownloadTimeoutMs)
      : owner_(owner), credentials_(credentials), timeoutMs_(timeoutMs) {}
  int Attempt(const QString& url, const QString& localPath);
  // Why the last attempt could not write the file (when it ended with kDownloadLocalFileError).
  const WriteResult& lastWriteFailure() const { return lastWriteFailure_; }

 private:
  WriteResult lastWriteFailure_;
  QWidget* owner_;
  CredentialsProvider* credentials_;
  int timeoutMs_;
};

enum class DownloadOutcome { kDeclined, kSucceeded, kFailed, kCancelled };

using DownloadAttempt = std::function<int(const QString& url, const QString& localPath)>;
using RateMasterReload = std::function<void(const QString& localPath)>;

// The command's steps: question; source 1, then source 2 if 1 failed; the outcome message;
// after a success `reload(localPath)` (the form's LoadRateMaster, which keeps every row). An
// attempt that returns kDownloadCancelled ends the command with kCancelled and no message. When the
// last attempt could not write the file, `writeFailure` (when given) says why, on lines after the
// failure message.
DownloadOutcome RunDownloadRateMaster(const QString& localPath, const QStringList& sources, DownloadMessages& messages,
                                      const DownloadAttempt& attempt, const RateMasterReload& reload,
                                      const std::function<WriteResult()>& writeFailure = {});

// What the form's OnDownloadRateMaster runs: the real message boxes owned by `form`, the
// progress dialog, the credentials dialog and the configured sources (RateMasterSourceUrls).
DownloadOutcome DownloadRateMaster(QWidget* form, const QString& localPath, const RateMasterReload& reload);

}  // namespace zorvik
