#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include "app/about_dlg.h"
#include "app/credentials_dialog.h"
#include "app/help_commands.h"
#include "app/notice_dlg.h"
#include "app/sys_menu_about_dlg.h"
#include "app/zorvik_app.h"
#include "tests/support/accessible_names.h"

namespace zorvik {
namespace {

// "ご注意" in Shift-JIS.
const QByteArray kCautionSjis = QByteArray::fromHex("82B2928D88D3");

class NoticeDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("license.txt");
  }
  void Write(const QByteArray& bytes) {
    QFile f(path_);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
  }
  QTemporaryDir dir_;
  QString path_;
};

TEST_F(NoticeDlgTest, MissingFileGivesEmptyBox) {
  CNoticeDlg dialog(path_);
  EXPECT_EQ(dialog.noticeEdit()->toPlainText(), "");
  EXPECT_EQ(dialog.windowTitle(), "著作権情報");
}

TEST_F(NoticeDlgTest, EmptyFileGivesEmptyBox) {
  Write("");
  CNoticeDlg dialog(path_);
  EXPECT_EQ(dialog.noticeEdit()->toPlainText(), "");
}

TEST_F(NoticeDlgTest, ShiftJisTextIsShownDecoded) {
  Write(kCautionSjis + "\r\nline two\r\n");
  CNoticeDlg dialog(path_);
  EXPECT_EQ(dialog.noticeEdit()->toPlainText(), "ご注意\nline two\n");
}

TEST_F(NoticeDlgTest, Utf8WithByteOrderMarkIsReadAsUtf8) {
  Write("\xEF\xBB\xBF" + QString("ご注意 UTF-8").toUtf8());
  CNoticeDlg dialog(path_);
  EXPECT_EQ(dialog.noticeEdit()->toPlainText(), "ご注意 UTF-8");
}

// Long lines, Latin or Japanese (which has no spaces), wrap inside the box: no line is wider
// than the box and nothing scrolls sideways; the text itself is unchanged.
TEST_F(NoticeDlgTest, LongLinesWrapInsideTheBox) {
  const QByteArray latin = QByteArray("Copyright ") + QByteArray(300, 'W');
  const QString japanese =
      QString::fromUtf8("このプログラムが計算する返済額は、元利均等・元金均等の計算式による概算です。").repeated(4);
  Write("\xEF\xBB\xBF" + latin + "\r\n" + japanese.toUtf8() + "\r\nshort\r\n");
  CNoticeDlg dialog(path_);
  QPlainTextEdit* edit = dialog.noticeEdit();
  EXPECT_TRUE(edit->isReadOnly());
  dialog.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(edit->document()->blockCount(), 4);  // three lines and the empty one after the last line end
  EXPECT_EQ(edit->toPlainText().split('\n').value(1), japanese);
  EXPECT_EQ(edit->horizontalScrollBar()->maximum(), 0);
  const int width = edit->viewport()->width();
  for (QTextBlock block = edit->document()->begin(); block.isValid(); block = block.next()) {
    const QTextLayout* layout = block.layout();
    ASSERT_NE(layout, nullptr);
    if (block.blockNumber() < 2) {
      EXPECT_GT(layout->lineCount(), 1) << block.blockNumber();
    }
    for (int i = 0; i < layout->lineCount(); ++i) {
      EXPECT_LE(layout->lineAt(i).naturalTextWidth(), width) << block.blockNumber() << " line " << i;
    }
  }
}

TEST_F(NoticeDlgTest, FileIsReadAnewEachTime) {
  Write("first");
  {
    CNoticeDlg dialog(path_);
    EXPECT_EQ(dialog.noticeEdit()->toPlainText(), "first");
  }
  Write("second");
  CNoticeDlg dialog(path_);
  EXPECT_EQ(dialog.noticeEdit()->toPlainText(), "second");
}

TEST_F(NoticeDlgTest, HasTheTemplatesControls) {
  CNoticeDlg dialog(path_);
  auto* group = dialog.findChild<QGroupBox*>();
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->title(), "ご注意");
  auto* ok = dialog.findChild<QPushButton*>("1");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(dialog.noticeEdit()->objectName(), "1170");
  EXPECT_TRUE(group->geometry().contains(dialog.noticeEdit()->geometry()));
}

TEST_F(NoticeDlgTest, ProgramInDebugFolderReadsTheNoticeAbove) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("Debug"));
  Write("above");
  CZorvikApp app;
  app.setProgramDirectory(dir_.filePath("Debug"));
  CNoticeDlg dialog(app.LicensePath());
  EXPECT_EQ(dialog.noticeEdit()->toPlainText(), "above");
}

TEST(AboutDlgTest, ShowsTheTemplatesTexts) {
  CAboutDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), "バージョン情報");
  auto* product = dialog.findChild<QLabel*>("product");
  ASSERT_NE(product, nullptr);
  EXPECT_EQ(product->text(), "資金計画表：ゾルビク\n\n2005 年 8 月 版");
  auto* rights = dialog.findChild<QLabel*>("rights");
  ASSERT_NE(rights, nullptr);
  EXPECT_FALSE(rights->text().isEmpty());
  auto* ok = dialog.findChild<QPushButton*>("1");
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(ok->isDefault());
  auto* icon = dialog.findChild<QLabel*>("icon138");
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->pixmap().isNull());
}

TEST(AboutDlgTest, StripIsATall46By242Picture) {
  const QPixmap strip = AboutStripPixmap();
  EXPECT_EQ(strip.size(), QSize(46, 242));
  CAboutDlg dialog;
  auto* label = dialog.findChild<QLabel*>("bitmap146");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->pixmap().size(), QSize(46, 242));
  EXPECT_FALSE(ProgramIconPixmap(32).isNull());
}

TEST(AboutDlgTest, OkEndsTheDialog) {
  CAboutDlg dialog;
  QTimer::singleShot(0, &dialog, [&dialog] { dialog.findChild<QPushButton*>("1")->click(); });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
}

TEST(InfoDialogsTest, EveryControlHasAName) {
  CAboutDlg about;
  CNoticeDlg notice(QStringLiteral("/nonexistent/license.txt"));
  CSysMenuAboutDlg version;
  CCredentialsDlg credentials(QStringLiteral("https://127.0.0.1/YushiMaster.txt"), QStringLiteral("rates"));
  for (QDialog* dialog : std::initializer_list<QDialog*>{&about, &notice, &version, &credentials}) {
    EXPECT_EQ(UnnamedControls(dialog).join(QLatin1Char(' ')).toStdString(), "") << dialog->windowTitle().toStdString();
  }
  QStringList names;
  UnnamedControls(&notice, &names);
  EXPECT_EQ(names, QStringList({QStringLiteral("ご注意"), QStringLiteral("OK")}));
}

TEST(HelpInstructionsTest, OpensTheExistingPageOnly) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  CZorvikApp app;
  app.setDirectory(kInstallDirectory, dir.path());
  app.setDirectory(kHelpDirectory, "?LoanHelp");
  QList<QUrl> opened;
  auto record = [&opened](const QUrl& url) {
    opened.append(url);
    return true;
  };
  EXPECT_FALSE(OpenHelpInstructions(app, record));
  EXPECT_TRUE(opened.isEmpty()) << "a missing page opens nothing";

  ASSERT_TRUE(QDir(dir.path()).mkdir("LoanHelp"));
  QFile page(dir.filePath("LoanHelp/index.html"));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.write("<html></html>");
  page.close();
  EXPECT_TRUE(OpenHelpInstructions(app, record));
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened[0], QUrl::fromLocalFile(dir.filePath("LoanHelp/index.html")));
}

// Without the page, or without a program that takes it, the user is told where the page is.
TEST(HelpInstructionsTest, FailureIsReportedWithThePagesPath) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  CZorvikApp app;
  app.setDirectory(kInstallDirectory, dir.path());
  app.setDirectory(kHelpDirectory, "?LoanHelp");
  QStringList warnings;
  auto warn = [&warnings](const QString& text, const QString& caption) { warnings << caption + "|" + text; };
  bool browserWorks = false;
  auto browser = [&browserWorks](const QUrl&) { return browserWorks; };
  EXPECT_FALSE(ShowHelpInstructions(nullptr, app, browser, warn));  // no page
  ASSERT_TRUE(QDir(dir.path()).mkdir("LoanHelp") &&
              QFile(dir.filePath("LoanHelp/index.html")).open(QIODevice::WriteOnly));
  EXPECT_FALSE(ShowHelpInstructions(nullptr, app, browser, warn));  // no browser
  browserWorks = true;
  EXPECT_TRUE(ShowHelpInstructions(nullptr, app, browser, warn));
  const QString path = QDir::toNativeSeparators(dir.filePath("LoanHelp/index.html"));
  EXPECT_EQ(warnings, QStringList({QString::fromUtf8("ゾルビク|操作説明のページが見つかりません。\n\n") + path,
                                   QString::fromUtf8("ゾルビク|操作説明のページを開けませんでした。\n\n") + path}));
}

TEST(HelpInstructionsTest, TheShippedHelpPageIsThere) {
  QFile page(QStringLiteral(ZORVIK_SOURCE_DIR "/res/help/index.html"));
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  const QString html = QString::fromUtf8(page.readAll());
  for (const char* topic :
       {"金利マスターのダウンロード", "新規作成", "開く", "名前をつけて保存", "印 刷", "元に戻す", "シミュレーション",
        "PDF", "借入可能額", "審査金利", "返済予定表", "最終回の端数調整", "最終回（420回目）は 63,159円", "ヘルプ(H)",
        "<kbd>F1</kbd>", "上書き保存(S)", "月払いシミュレーション(M)", "ボーナス払いシミュレーション(O)"}) {
    EXPECT_TRUE(html.contains(QString::fromUtf8(topic))) << topic;
  }
  // 金利シナリオ: the review rules, the deferral and the worked example's figures.
  for (const char* topic : {"5年ルール", "125％ルール", "未払利息", "234,720円", "300,937円", "--rate-path"}) {
    EXPECT_TRUE(html.contains(QString::fromUtf8(topic))) << topic;
  }
  // Escape and 終了 ask about unsaved changes; the page never says they quit without asking.
  EXPECT_FALSE(html.contains(QString::fromUtf8("確認なし")));
}

}  // namespace
}  // namespace zorvik
