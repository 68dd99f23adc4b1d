#include "app/rate_master_download.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "app/credentials_dialog.h"
#include "app/funding_plan_dlg.h"
#include "app/zorvik_app.h"
#include "core/control_ids.h"
#include "tests/support/fake_http_server.h"

namespace zorvik {
namespace {

using testing::FakeAnswer;
using testing::FakeHttpServer;
using testing::FakeRequest;

const QByteArray kNewMaster = "new product,1.234,\r\nanother,0.500,\r\n";
const QByteArray kOldMaster = "old product,2.000,\r\n";
const QByteArray kErrorSjis = QByteArray::fromHex("83478389815B");  // エラー

// Records every message box and answers the question as told.
class ScriptedMessages : public DownloadMessages {
 public:
  explicit ScriptedMessages(bool yes) : yes_(yes) {}
  bool AskYesNo(const QString& text, const QString& caption) override {
    log.append("question|" + caption + "|" + text);
    return yes_;
  }
  void Inform(const QString& text, const QString& caption) override { log.append("info|" + caption + "|" + text); }
  void Warn(const QString& text, const QString& caption) override { log.append("warn|" + caption + "|" + text); }
  QStringList log;

 private:
  bool yes_;
};

QString Entry(const char* kind, const char* text) {
  return QString::fromUtf8(kind) + "|金利マスターのダウンロード|" + QString::fromUtf8(text);
}

class RateMasterDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("no_proxy", "127.0.0.1,localhost");
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(server_.listening());
    local_ = dir_.filePath("YushiMaster.txt");
    QFile f(local_);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kOldMaster);
    f.close();
    server_.Route("/good", [](const FakeRequest&) { return FakeHttpServer::Ok(kNewMaster); });
    server_.Route("/error-page", [](const FakeRequest&) {
      QByteArray body(1022, 'e');
      body += kErrorSjis;
      const QByteArray head =
          "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n";
      return FakeAnswer{{head + body.left(1024), body.mid(1024)}, 50, false};
    });
    server_.Route("/missing", [](const FakeRequest&) { return FakeHttpServer::Reply(404, "Not Found", kNewMaster); });
    server_.Route("/silent", [](const FakeRequest&) { return FakeAnswer{{}, 0, true}; });
    server_.Route("/auth", [](const FakeRequest& request) {
      if (request.Header("Authorization") == "Basic YWdlbnQ6c2VjcmV0") return FakeHttpServer::Ok(kNewMaster);
      return FakeHttpServer::Reply(401, "Unauthorized", "", "WWW-Authenticate: Basic realm=\"rates\"\r\n");
    });
  }

  DownloadOutcome Run(const QStringList& paths, ScriptedMessages& messages, int timeoutMs = 5000,
                      CredentialsProvider* credentials = nullptr, RateMasterReload reload = {}) {
    QStringList urls;
    for (const QString& p : paths) urls.append(server_.Url(p));
    ProgressDownloadRunner runner(nullptr, credentials, timeoutMs);
    return RunDownloadRateMaster(
        local_, urls, messages,
        [&runner](const QString& url, const QString& path) { return runner.Attempt(url, path); },
        [this, reload](const QString& path) {
          reloads_.append(path);
          if (reload) reload(path);
        },
        [&runner] { return runner.lastWriteFailure(); });
  }

  QByteArray Local() const {
    QFile f(local_);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }

  QTemporaryDir dir_;
  FakeHttpServer server_;
  QString local_;
  QStringList reloads_;
};

TEST_F(RateMasterDownloadTest, AnsweringNoTouchesNothing) {
  ScriptedMessages messages(false);
  EXPECT_EQ(Run({"/good", "/good"}, messages), DownloadOutcome::kDeclined);
  EXPECT_EQ(messages.log, QStringList{Entry("question", kDownloadQuestion)});
  EXPECT_TRUE(server_.requests().isEmpty());
  EXPECT_TRUE(reloads_.isEmpty());
  EXPECT_EQ(Local(), kOldMaster);
}

TEST_F(RateMasterDownloadTest, FirstSourceSucceeds) {
  ScriptedMessages messages(true);
  EXPECT_EQ(Run({"/good", "/missing"}, messages), DownloadOutcome::kSucceeded);
  EXPECT_EQ(messages.log, (QStringList{Entry("question", kDownloadQuestion), Entry("info", "ダウンロード完了。")}));
  ASSERT_EQ(server_.requests().size(), 1);
  EXPECT_EQ(reloads_, QStringList{local_});
  EXPECT_EQ(Local(), kNewMaster);
}

TEST_F(RateMasterDownloadTest, ErrorPageOnFirstSourceFallsBackToSecond) {
  ScriptedMessages messages(true);
  EXPECT_EQ(Run({"/error-page", "/good"}, messages), DownloadOutcome::kSucceeded);
  EXPECT_EQ(messages.log, (QStringList{Entry("question", kDownloadQuestion), Entry("info", "ダウンロード完了。")}));
  ASSERT_EQ(server_.requests().size(), 2);
  EXPECT_EQ(server_.requests()[1].path, "/good");
  EXPECT_EQ(Local(), kNewMaster);
  EXPECT_EQ(reloads_.size(), 1);
}

TEST_F(RateMasterDownloadTest, BothSourcesFailingShowsTheFailureOnceAndKeepsTheFile) {
  ScriptedMessages messages(true);
  EXPECT_EQ(Run({"/missing", "/error-page"}, messages), DownloadOutcome::kFailed);
  ASSERT_EQ(messages.log.size(), 2);
  EXPECT_EQ(messages.log[1], Entry("warn", kDownloadFailed));
  EXPECT_TRUE(messages.log[1].endsWith("今回、金利情報は変更されていません。"));
  EXPECT_TRUE(reloads_.isEmpty());
  EXPECT_EQ(Local(), kOldMaster);
}

TEST_F(RateMasterDownloadTest, ReadOnlyMasterFailsWithoutNetwork) {
  ASSERT_TRUE(QFile::setPermissions(local_, QFileDevice::ReadOwner));
  ScriptedMessages messages(true);
  EXPECT_EQ(Run({"/good", "/good"}, messages), DownloadOutcome::kFailed);
  EXPECT_TRUE(server_.requests().isEmpty());
  // The message stays as it is, then says which file could not be written and why.
  EXPECT_EQ(messages.log.last(), Entry("warn", kDownloadFailed) + "\n\n" + QString::fromUtf8(kDownloadSaveFailed) +
                                     "\n" + QDir::toNativeSeparators(local_) + "\n保存先は読み取り専用です。");
  QFile::setPermissions(local_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  EXPECT_EQ(Local(), kOldMaster);
}

TEST_F(RateMasterDownloadTest, CancelInTheProgressDialogEndsTheWholeCommand) {
  // Presses the progress dialog's cancel button once its request has arrived.
  int cancels = 0;
  QTimer presser;
  QObject::connect(&presser, &QTimer::timeout, [this, &cancels] {
    if (server_.requests().isEmpty()) return;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* progress = qobject_cast<QProgressDialog*>(w);
      if (progress != nullptr && progress->isVisible() && !progress->wasCanceled()) {
        EXPECT_TRUE(progress->isModal());
        EXPECT_EQ(progress->windowTitle(), "金利マスターのダウンロード");
        auto* button = progress->findChild<QPushButton*>();
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), "キャンセル");
        button->click();
        ++cancels;
      }
    }
  });
  presser.start(50);
  ScriptedMessages messages(true);
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(Run({"/silent", "/good"}, messages, 20000), DownloadOutcome::kCancelled);
  EXPECT_LT(clock.elapsed(), 10000) << "cancel must end an attempt at once, not at its time-out";
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(server_.requests().size(), 1) << "the second source is not tried after a cancel";
  EXPECT_EQ(messages.log, QStringList{Entry("question", kDownloadQuestion)}) << "no failure message for a cancel";
  EXPECT_TRUE(reloads_.isEmpty());
  EXPECT_EQ(Local(), kOldMaster);
}

TEST_F(RateMasterDownloadTest, TimeOutCountsAsFailedAttempt) {
  ScriptedMessages messages(true);
  EXPECT_EQ(Run({"/silent", "/good"}, messages, 300), DownloadOutcome::kSucceeded);
  EXPECT_EQ(Local(), kNewMaster);
}

// Fills in the credentials dialog as a user would, or cancels it.
void AnswerCredentialsDialog(bool answer, int* seen) {
  QTimer::singleShot(50, [answer, seen] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dialog = dynamic_cast<CCredentialsDlg*>(w);
      if (dialog == nullptr || !dialog->isVisible()) continue;
      ++*seen;
      EXPECT_EQ(dialog->passwordEdit()->echoMode(), QLineEdit::Password);
      if (answer) {
        dialog->userEdit()->setText("agent");
        dialog->passwordEdit()->setText("secret");
        dialog->accept();
      } else {
        dialog->reject();
      }
      return;
    }
    AnswerCredentialsDialog(answer, seen);  // not up yet: look again
  });
}

TEST_F(RateMasterDownloadTest, CredentialsDialogCancelledTriesTheSecondSource) {
  DialogCredentialsProvider credentials;
  int seen = 0;
  AnswerCredentialsDialog(false, &seen);
  ScriptedMessages messages(true);
  EXPECT_EQ(Run({"/auth", "/good"}, messages, 5000, &credentials), DownloadOutcome::kSucceeded);
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(server_.requests().last().path, "/good");
}

TEST_F(RateMasterDownloadTest, CredentialsDialogAnsweredRetriesOnce) {
  DialogCredentialsProvider credentials;
  int seen = 0;
  AnswerCredentialsDialog(true, &seen);
  ScriptedMessages messages(true);
  EXPECT_EQ(Run({"/auth", "/missing"}, messages, 5000, &credentials), DownloadOutcome::kSucceeded);
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(server_.requests().size(), 2);
  EXPECT_EQ(Local(), kNewMaster);
}

TEST_F(RateMasterDownloadTest, SuccessRefillsTheFormsListsAndKeepsFilledRows) {
  CZorvikApp app;
  app.setProgramDirectory(dir_.path());
  ASSERT_EQ(app.RateMasterPath(), local_);
  CFundingPlanDlg form(app);
  form.setSaveSettingsOnDestroy(false);
  auto* names = qobject_cast<QComboBox*>(form.control(ids::kLoanName[0]));
  ASSERT_NE(names, nullptr);
  ASSERT_EQ(names->count(), 1);
  form.formView().SetText(ids::kLoanName[0], "old product");
  form.formView().SetText(ids::kRate[0], "2.000％");
  form.formView().SetText(ids::kLoanAmount[0], "3,000万");

  ScriptedMessages messages(true);
  EXPECT_EQ(
      Run({"/missing", "/good"}, messages, 5000, nullptr, [&form](const QString& path) { form.LoadRateMaster(path); }),
      DownloadOutcome::kSucceeded);
  ASSERT_EQ(names->count(), 2);
  EXPECT_EQ(names->itemText(0), "new product");
  EXPECT_EQ(names->itemText(1), "another");
  EXPECT_EQ(qobject_cast<QComboBox*>(form.control(ids::kLoanName[9]))->count(), 2);
  EXPECT_EQ(form.formView().Text(ids::kLoanName[0]), "old product");
  EXPECT_EQ(form.formView().Text(ids::kRate[0]), "2.000％");
  EXPECT_EQ(form.formView().Text(ids::kLoanAmount[0]), "3,000万");
}

TEST_F(RateMasterDownloadTest, FailureLeavesTheFormsListsAsTheyWere) {
  CZorvikApp app;
  app.setProgramDirectory(dir_.path());
  CFundingPlanDlg form(app);
  form.setSaveSettingsOnDestroy(false);
  auto* names = qobject_cast<QComboBox*>(form.control(ids::kLoanName[0]));
  ASSERT_NE(names, nullptr);
  ScriptedMessages messages(true);
  EXPECT_EQ(Run({"/missing", "/error-page"}, messages, 5000, nullptr,
                [&form](const QString& path) { form.LoadRateMaster(path); }),
            DownloadOutcome::kFailed);
  ASSERT_EQ(names->count(), 1);
  EXPECT_EQ(names->itemText(0), "old product");
}

// The menu item end to end: the real question and message boxes, answered as a user would.
TEST_F(RateMasterDownloadTest, MenuItemDownloadsFromTheConfiguredSources) {
  qputenv("ZORVIK_RATE_PRIMARY_URL", server_.Url("/error-page").toUtf8());
  qputenv("ZORVIK_RATE_SECONDARY_URL", server_.Url("/good").toUtf8());
  CZorvikApp app;
  app.setProgramDirectory(dir_.path());
  CFundingPlanDlg form(app);
  form.setSaveSettingsOnDestroy(false);
  form.show();

  QStringList seen;
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    seen.append(box->windowTitle() + "|" + box->text() + "|" + QString::number(box->icon()));
    box->button(box->icon() == QMessageBox::Question ? QMessageBox::Yes : QMessageBox::Ok)->click();
  });
  answerer.start(30);
  EXPECT_TRUE(form.RunCommand(ids::kDownloadRateMaster));
  answerer.stop();
  qunsetenv("ZORVIK_RATE_PRIMARY_URL");
  qunsetenv("ZORVIK_RATE_SECONDARY_URL");

  const QString caption = QString::fromUtf8(kDownloadCaption);
  ASSERT_EQ(seen.size(), 2);
  EXPECT_EQ(seen[0],
            caption + "|" + QString::fromUtf8(kDownloadQuestion) + "|" + QString::number(QMessageBox::Question));
  EXPECT_EQ(seen[1], caption + "|ダウンロード完了。|" + QString::number(QMessageBox::Information));
  ASSERT_EQ(server_.requests().size(), 2);
  EXPECT_EQ(Local(), kNewMaster);
  auto* names = qobject_cast<QComboBox*>(form.control(ids::kLoanName[0]));
  ASSERT_NE(names, nullptr);
  EXPECT_EQ(names->count(), 2);
  EXPECT_EQ(names->itemText(0), "new product");
}

TEST_F(RateMasterDownloadTest, InstalledCopyDownloadsIntoTheUsersFolderOnly) {
  // prefix/bin beside prefix/share/zorvik, whose shipped rate master is the old one; the user's
  // data folder does not exist yet.
  const QString shared = dir_.filePath("prefix/share/zorvik");
  ASSERT_TRUE(QDir().mkpath(dir_.filePath("prefix/bin")));
  ASSERT_TRUE(QDir().mkpath(shared));
  ASSERT_TRUE(QFile::copy(local_, shared + "/YushiMaster.txt"));
  CZorvikApp app;
  app.setUserFolders(UserFolders{dir_.filePath("home/.local/share/Quorvane/zorvik"), dir_.filePath("home/Documents")});
  app.setProgramDirectory(dir_.filePath("prefix/bin"));
  ASSERT_EQ(app.layout(), InstallLayout::Installed);
  qputenv("ZORVIK_RATE_PRIMARY_URL", server_.Url("/good").toUtf8());
  CFundingPlanDlg form(app);
  form.setSaveSettingsOnDestroy(false);
  form.show();
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    box->button(box->icon() == QMessageBox::Question ? QMessageBox::Yes : QMessageBox::Ok)->click();
  });
  answerer.start(30);
  EXPECT_TRUE(form.RunCommand(ids::kDownloadRateMaster));
  answerer.stop();
  qunsetenv("ZORVIK_RATE_PRIMARY_URL");

  QFile downloaded(app.RateMasterDownloadPath());
  ASSERT_TRUE(downloaded.open(QIODevice::ReadOnly));
  EXPECT_EQ(downloaded.readAll(), kNewMaster);
  QFile shipped(shared + "/YushiMaster.txt");
  ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
  EXPECT_EQ(shipped.readAll(), kOldMaster) << "the shipped rate master is never written";
  EXPECT_EQ(QDir(shared).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"YushiMaster.txt"});
  EXPECT_EQ(app.RateMasterPath(), app.RateMasterDownloadPath()) << "the next start reads the download";
  auto* names = qobject_cast<QComboBox*>(form.control(ids::kLoanName[0]));
  ASSERT_NE(names, nullptr);
  EXPECT_EQ(names->itemText(0), "new product");
}

TEST(DownloadTextsTest, FailureMessageIsExact) {
  const QString text = QString::fromUtf8(kDownloadFailed);
  EXPECT_TRUE(text.startsWith("自動更新失敗。\n\n現在のインターネット接続環境で"));
  EXPECT_TRUE(text.contains("試行して\nみるか、又は、各金融機関の金利情報を元に手動での更新をお願いします。\n\n"));
  EXPECT_EQ(text.count(QLatin1Char(0x0A)), 14);
  EXPECT_TRUE(text.contains("・サーバーが大変混雑していて接続できなかった。\n"));
  EXPECT_EQ(QString::fromUtf8(kDownloadQuestion),
            "【ノルベスタ】(インターネットサーバー)に接続して\n最新の金利情報をダウンロードしますか？");
}

// The failure box is wide enough for its longest line, so no line breaks inside a word.
TEST(DownloadTextsTest, FailureBoxKeepsEveryLineWhole) {
  QWidget owner;
  QtDownloadMessages messages(&owner);
  int checkedLines = 0;
  QTimer::singleShot(0, [&checkedLines] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);
    const QFontMetrics metrics(label->font());
    for (const QString& line : box->text().split(QLatin1Char('\n'))) {
      EXPECT_LE(metrics.horizontalAdvance(line), label->contentsRect().width()) << line.toStdString();
      ++checkedLines;
    }
    box->button(QMessageBox::Ok)->click();
  });
  messages.Warn(QString::fromUtf8(kDownloadFailed), QString::fromUtf8(kDownloadCaption));
  EXPECT_EQ(checkedLines, 15);
}

}  // namespace
}  // namespace zorvik
