#include "print/render/plan_printer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/control_ids.h"
#include "core/memory_form_view.h"
#include "tests/print/render/pdf_text.h"
#include "tests/support/message_box_watch.h"

namespace zorvik {
namespace {

// The texts a form view shows, as the form's plan would give them.
PlanTexts TextsOf(const PlanFormView& view) {
  return ReadPlanTexts([&view](int id) { return view.Text(id); });
}

// Plays the user and the printing system from a script; every printer prints into a PDF file
// in a temporary folder, never on a real device.
class ScriptedPrint : public PrintInteraction {
 public:
  explicit ScriptedPrint(const QString& folder) : folder_(folder) {}

  struct Message {
    QString kind;  // "information" or "warning"
    QString text;
    QString caption;
  };
  struct DialogSeen {
    bool applicationPrinter;
    QPageLayout::Orientation orientation;
    QPageSize::PageSizeId pageSize;
  };

  bool hasPrinter = true;
  bool choosePdf = false;              // the answer to the no-printer message
  std::deque<bool> dialogAnswers;      // true = OK
  QString pdfPathAnswer;               // empty = cancel
  std::deque<QString> pdfPathAnswers;  // taken first, one per dialog, before pdfPathAnswer
  std::deque<bool> replaceAnswers;     // true = Yes; No when none is left
  int dpi = 96;

  std::vector<QString> events;
  std::vector<Message> messages;
  std::vector<DialogSeen> dialogs;
  std::vector<QString> printedFiles;
  QString proposedPdfPath;

  bool HasPrinter() override {
    events.push_back(QStringLiteral("has-printer"));
    return hasPrinter;
  }
  QPrinter& ApplicationPrinter() override {
    if (!application_) application_ = NewPortraitLetter();
    return *application_;
  }
  void ShowInformation(QWidget*, const QString& text, const QString& caption) override {
    events.push_back(QStringLiteral("information"));
    messages.push_back({QStringLiteral("information"), text, caption});
  }
  void ShowWarning(QWidget*, const QString& text, const QString& caption) override {
    events.push_back(QStringLiteral("warning"));
    messages.push_back({QStringLiteral("warning"), text, caption});
  }
  bool OfferPdfInstead(QWidget*, const QString& text, const QString& caption) override {
    events.push_back(QStringLiteral("offer-pdf"));
    messages.push_back({QStringLiteral("offer-pdf"), text, caption});
    return choosePdf;
  }
  bool RunPrintDialog(QWidget*, QPrinter& printer) override {
    events.push_back(QStringLiteral("print-dialog"));
    dialogs.push_back(
        {&printer == application_.get(), printer.pageLayout().orientation(), printer.pageLayout().pageSize().id()});
    const bool ok = !dialogAnswers.empty() && dialogAnswers.front();
    if (!dialogAnswers.empty()) dialogAnswers.pop_front();
    if (ok) {
      const QString file = QDir(folder_).filePath(QStringLiteral("printed%1.pdf").arg(printedFiles.size()));
      printer.setOutputFileName(file);
      printedFiles.push_back(file);
    }
    return ok;
  }
  bool ConfirmReplace(QWidget*, const QString& caption) override {
    events.push_back(QStringLiteral("replace?"));
    messages.push_back({QStringLiteral("replace?"), QString(), caption});
    const bool yes = !replaceAnswers.empty() && replaceAnswers.front();
    if (!replaceAnswers.empty()) replaceAnswers.pop_front();
    return yes;
  }
  QString GetPdfSavePath(QWidget*, const QString& proposedPath) override {
    events.push_back(QStringLiteral("save-dialog"));
    proposedPdfPath = proposedPath;
    if (pdfPathAnswers.empty()) return pdfPathAnswer;
    const QString answer = pdfPathAnswers.front();
    pdfPathAnswers.pop_front();
    return answer;
  }
  int DisplayDpi() override { return dpi; }

  QPrinter* application() { return application_.get(); }

 private:
  // What a printer's own defaults might be: portrait Letter. Output always goes to a PDF file.
  std::unique_ptr<QPrinter> NewPortraitLetter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QDir(folder_).filePath(QStringLiteral("unused.pdf")));
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    return printer;
  }

  QString folder_;
  std::unique_ptr<QPrinter> application_;
};

MemoryFormView FilledView() {
  MemoryFormView view;
  view.SetText(ids::kCustomerName, "山田 太郎");
  view.SetText(ids::kLoanName[0], "フラット35");
  view.SetSelection(ids::kMethod[0], 0);
  view.SetText(ids::kLoanAmount[0], "3,000万");
  view.SetText(ids::kTotalLoan, "3,000万");
  return view;
}

class PlanPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QTemporaryDir dir_;
  MemoryFormView view_ = FilledView();
  const PlanDate date_{2026, 12, 8};
};

TEST_F(PlanPrinterTest, NoPrinterShowsTheMessageAndStops) {
  ScriptedPrint ui(dir_.path());
  ui.hasPrinter = false;
  int flag = 0;
  EXPECT_EQ(PrintPlanSheet(nullptr, TextsOf(view_), date_, flag, ui), PrintResult::NotPrinted);
  ASSERT_EQ(ui.messages.size(), 1u);
#ifdef Q_OS_WIN
  EXPECT_EQ(ui.messages[0].kind, QStringLiteral("information"));
  EXPECT_EQ(ui.messages[0].text.toStdString(),
            "Windows で印刷に利用できるプリンタが指定されていません。\n\n"
            "●ﾏｲｺﾝﾋﾟｭｰﾀの中の「ﾌﾟﾘﾝﾀ」を開いて通常利用するﾌﾟﾘﾝﾀを確認して下さい。\n"
            "●接続されているプリンタに対応した Windows のプリンタドライバが正しく\n"
            "  設定されているか調べて下さい。\n\n"
            "今回、印刷は行ないません。\n");
  EXPECT_EQ(ui.messages[0].caption, QGuiApplication::applicationDisplayName());
#else
  // Elsewhere the message speaks of no Windows folders, carries the product caption and offers
  // the PDF; declined, nothing else happens.
  EXPECT_EQ(ui.messages[0].kind, QStringLiteral("offer-pdf"));
  EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("印刷に使えるプリンターが設定されていません。")));
  EXPECT_FALSE(ui.messages[0].text.contains(QStringLiteral("Windows")));
  EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("「PDFに保存」")));
  EXPECT_EQ(ui.messages[0].caption.toStdString(), "ゾルビク");
  ui.choosePdf = true;
  EXPECT_EQ(PrintPlanSheet(nullptr, TextsOf(view_), date_, flag, ui), PrintResult::SavePdfChosen);
#endif
  EXPECT_TRUE(ui.dialogs.empty());
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(ui.application(), nullptr) << "the printer settings are not touched";
}

TEST_F(PlanPrinterTest, PresetConfirmationDialogThenOnePage) {
  ScriptedPrint ui(dir_.path());
  ui.dialogAnswers = {true};
  int flag = 0;
  EXPECT_EQ(PrintPlanSheet(nullptr, TextsOf(view_), date_, flag, ui), PrintResult::Printed);

  const std::vector<QString> expected = {QStringLiteral("has-printer"), QStringLiteral("information"),
                                         QStringLiteral("print-dialog")};
  EXPECT_EQ(ui.events, expected);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.toStdString(),
            "\n用紙のサイズ ⇒ Ａ４， 印刷方向 ⇒ 横\n\nになっているか確認してから印刷して下さい。");
  EXPECT_EQ(ui.messages[0].caption.toStdString(), "ゾルビク");
  ASSERT_EQ(ui.dialogs.size(), 1u);
  EXPECT_TRUE(ui.dialogs[0].applicationPrinter);
  EXPECT_EQ(ui.dialogs[0].orientation, QPageLayout::Landscape);
  EXPECT_EQ(ui.dialogs[0].pageSize, QPageSize::A4);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(ui.application()->docName().toStdString(), "資金計画表");

  ASSERT_EQ(ui.printedFiles.size(), 1u);
  QFile printed(ui.printedFiles[0]);
  ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
  const QByteArray bytes = printed.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  EXPECT_TRUE(bytes.contains("/Count 1")) << "one page";
  const auto text = PdfText(ui.printedFiles[0]);
  if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  EXPECT_TRUE(text->contains(QStringLiteral("資 金 計 画 表")));
  EXPECT_TRUE(text->contains(QStringLiteral("3,000万")));
  EXPECT_TRUE(text->contains(QStringLiteral("元利均等")));
}

// Every print starts from A4 landscape on the application's printer settings (the printer the
// user picked), also after the user turned it to portrait and after a cancelled dialog.
TEST_F(PlanPrinterTest, EveryPrintStartsFromA4LandscapeOnThePickedPrinter) {
  ScriptedPrint ui(dir_.path());
  ui.dialogAnswers = {true, false, true, false};
  int flag = 0;
  for (int i = 0; i < 4; ++i) {
    PrintPlanSheet(nullptr, TextsOf(view_), date_, flag, ui);
    EXPECT_EQ(flag, i == 0 ? 0 : 1) << "the flag still records a cancel";
    // The user turns the paper to portrait Letter in the dialog or in between.
    ui.application()->setPageOrientation(QPageLayout::Portrait);
    ui.application()->setPageSize(QPageSize(QPageSize::Letter));
  }
  ASSERT_EQ(ui.dialogs.size(), 4u);
  for (size_t i = 0; i < ui.dialogs.size(); ++i) {
    EXPECT_TRUE(ui.dialogs[i].applicationPrinter) << i;
    EXPECT_EQ(ui.dialogs[i].orientation, QPageLayout::Landscape) << i;
    EXPECT_EQ(ui.dialogs[i].pageSize, QPageSize::A4) << i;
  }
  EXPECT_EQ(ui.printedFiles.size(), 2u);
  // The confirmation is shown before every dialog, cancelled or not.
  int confirmations = 0;
  for (const auto& m : ui.messages) confirmations += m.caption == QStringLiteral("ゾルビク") ? 1 : 0;
  EXPECT_EQ(confirmations, 4);
}

TEST_F(PlanPrinterTest, NoPrinterLeavesASetFlagAlone) {
  ScriptedPrint ui(dir_.path());
  ui.hasPrinter = false;
  int flag = 1;
  PrintPlanSheet(nullptr, TextsOf(view_), date_, flag, ui);
  EXPECT_EQ(flag, 1);
  EXPECT_TRUE(ui.dialogs.empty());
}

struct ProposedNameRow {
  const char* customer;
  const char* file;
};

class ProposedPdfNameTest : public ::testing::TestWithParam<ProposedNameRow> {};

TEST_P(ProposedPdfNameTest, FromTheCustomerName) {
  EXPECT_EQ(ProposedPdfFileName(QString::fromUtf8(GetParam().customer)).toStdString(), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(Names, ProposedPdfNameTest,
                         ::testing::Values(ProposedNameRow{"山田 太郎", "山田 太郎.pdf"},
                                           ProposedNameRow{"新 規", "新 規.pdf"}, ProposedNameRow{"", "資金計画表.pdf"},
                                           ProposedNameRow{"   ", "資金計画表.pdf"},
                                           ProposedNameRow{"..", "資金計画表.pdf"},
                                           ProposedNameRow{"A/B\\C:D*E?F\"G<H>I|J", "A_B_C_D_E_F_G_H_I_J.pdf"},
                                           ProposedNameRow{"田中\t様", "田中_様.pdf"}));

TEST_F(PlanPrinterTest, PdfExportWritesTheReferencePage) {
  ScriptedPrint ui(dir_.path());
  const QString target = dir_.filePath(QStringLiteral("out.pdf"));
  ui.pdfPathAnswer = target;
  const QString dataFolder = dir_.filePath(QStringLiteral("LoanData"));

  EXPECT_TRUE(SavePlanSheetPdf(nullptr, TextsOf(view_), date_, dataFolder, ui));
  EXPECT_EQ(ui.proposedPdfPath, QDir(dataFolder).filePath(QStringLiteral("山田 太郎.pdf")));
  EXPECT_TRUE(ui.messages.empty());
  QFile file(target);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  EXPECT_TRUE(bytes.contains("/MediaBox [0 0 842.000000 595.000000]"));
  // No temporary file is left beside it.
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.pdf")});
  const auto text = PdfText(target);
  if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  EXPECT_TRUE(text->contains(QStringLiteral("資 金 計 画 表")));
  EXPECT_TRUE(text->contains(QStringLiteral("3,000万")));
}

TEST_F(PlanPrinterTest, PdfPageModelIsTheReferencePage) {
  const PageModel model = BuildPdfPageModel(TextsOf(view_), date_, 96);
  EXPECT_EQ(model.metrics.H, 6774);
  EXPECT_EQ(model.metrics.V, 4720);
  EXPECT_EQ(model.titleFont.pixelHeight, 133);
  EXPECT_EQ(model.bodyFont.pixelHeight, 93);
}

TEST_F(PlanPrinterTest, PdfExportCancelledWritesNothing) {
  ScriptedPrint ui(dir_.path());
  ui.pdfPathAnswer.clear();
  EXPECT_FALSE(SavePlanSheetPdf(nullptr, TextsOf(view_), date_, dir_.path(), ui));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(PlanPrinterTest, PdfExportFailureIsReportedAndKeepsTheOldFile) {
  ScriptedPrint ui(dir_.path());
  ui.pdfPathAnswer = dir_.filePath(QStringLiteral("no such folder/out.pdf"));
  EXPECT_FALSE(SavePlanSheetPdf(nullptr, TextsOf(view_), date_, dir_.path(), ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].kind, QStringLiteral("warning"));
  EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("PDFファイルを保存できませんでした。")));
  EXPECT_EQ(ui.messages[0].caption.toStdString(), "ゾルビク");

  // A folder in place of the file: the write fails, nothing is replaced.
  const QString folderTarget = dir_.filePath(QStringLiteral("taken.pdf"));
  ASSERT_TRUE(QDir().mkpath(folderTarget));
  ui.pdfPathAnswer = folderTarget;
  EXPECT_FALSE(SavePlanSheetPdf(nullptr, TextsOf(view_), date_, dir_.path(), ui));
  EXPECT_EQ(ui.messages.size(), 2u);
  EXPECT_TRUE(QFileInfo(folderTarget).isDir());
}

// An existing file is replaced only after Yes; No opens the dialog again on the chosen name.
TEST_F(PlanPrinterTest, PdfExportAsksBeforeReplacingAnExistingFile) {
  const QString target = dir_.filePath(QStringLiteral("old.pdf"));
  {
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
  }
  auto contents = [&target] {
    QFile file(target);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  };
  ScriptedPrint no(dir_.path());
  no.pdfPathAnswers = {target, target, QString()};  // the third dialog is cancelled
  no.replaceAnswers = {false, false};
  EXPECT_FALSE(SavePlanSheetPdf(nullptr, TextsOf(view_), date_, dir_.path(), no));
  EXPECT_EQ(no.events, (std::vector<QString>{"save-dialog", "replace?", "save-dialog", "replace?", "save-dialog"}));
  EXPECT_EQ(no.proposedPdfPath, target);
  EXPECT_EQ(no.messages[0].caption.toStdString(), "ゾルビク");
  EXPECT_EQ(contents(), QByteArray("old contents"));

  ScriptedPrint yes(dir_.path());
  yes.pdfPathAnswer = target;
  yes.replaceAnswers = {true};
  EXPECT_TRUE(SavePlanSheetPdf(nullptr, TextsOf(view_), date_, dir_.path(), yes));
  EXPECT_EQ(yes.events, (std::vector<QString>{"save-dialog", "replace?"}));
  EXPECT_TRUE(contents().startsWith("%PDF-"));
}

}  // namespace
}  // namespace zorvik

namespace zorvik {
namespace {

TEST(DefaultPrintInteractionTest, OneInstanceWithTheDisplayResolution) {
  PrintInteraction& ui = DefaultPrintInteraction();
  EXPECT_EQ(&ui, &DefaultPrintInteraction());
  // The offscreen platform has a screen of 96 logical dots per inch.
  EXPECT_EQ(ui.DisplayDpi(), 96);
}

// Counts the paint events of every message box and of the widgets inside it.
class BoxPaints : public QObject {
 public:
  BoxPaints() { QCoreApplication::instance()->installEventFilter(this); }
  ~BoxPaints() override { QCoreApplication::instance()->removeEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      for (QObject* o = watched; o != nullptr; o = o->parent()) {
        if (qobject_cast<QMessageBox*>(o) != nullptr) ++count;
      }
    }
    return false;
  }
};

// The real boxes open from the event loop once the events already waiting are handled (a save
// dialog that has just closed, a focus change), laid out at their own size and painted.
TEST(DefaultPrintInteractionTest, BoxesOpenAfterPendingEventsLaidOutAndPainted) {
  QWidget owner;
  owner.show();
  struct Seen {
    bool openWhilePending = true;
    QSize size, sizeHint;
    QString text, caption;
    int paints = 0;
    bool noIsDefault = false;
  };
  auto run = [&owner](const std::function<void(PrintInteraction&)>& show, QMessageBox::StandardButton answer) {
    Seen seen;
    BoxPaints paints;
    QMetaObject::invokeMethod(
        &owner, [&seen] { seen.openWhilePending = QApplication::activeModalWidget() != nullptr; },
        Qt::QueuedConnection);
    QTimer poll;
    WatchForMessageBox(poll, [&](QMessageBox& box) {
      QCoreApplication::processEvents();
      seen = {seen.openWhilePending,
              box.size(),
              box.sizeHint(),
              box.text(),
              box.windowTitle(),
              paints.count,
              box.defaultButton() == box.button(QMessageBox::No)};
      box.button(answer)->click();
    });
    show(DefaultPrintInteraction());
    return seen;
  };

  const Seen warning = run(
      [&owner](PrintInteraction& ui) {
        ui.ShowWarning(&owner, QStringLiteral("PDFファイルを保存できませんでした。\n/tmp/a.pdf"),
                       QStringLiteral("ゾルビク"));
      },
      QMessageBox::Ok);
  bool replace = false;
  const Seen question = run(
      [&owner, &replace](PrintInteraction& ui) { replace = ui.ConfirmReplace(&owner, QStringLiteral("返済予定表")); },
      QMessageBox::Yes);
  EXPECT_TRUE(replace);
  EXPECT_TRUE(question.noIsDefault);
  EXPECT_EQ(warning.text.toStdString(), "PDFファイルを保存できませんでした。\n/tmp/a.pdf");
  EXPECT_EQ(question.text.toStdString(), "同じ名前のファイルが存在します。\n上書きしますか？");
  EXPECT_EQ(question.caption.toStdString(), "返済予定表");
  for (const Seen& box : {warning, question}) {
    EXPECT_FALSE(box.openWhilePending) << "the box opened before the events waiting for it";
    EXPECT_GT(box.paints, 0);
    EXPECT_GE(box.size.width(), box.sizeHint.width());
    EXPECT_GE(box.size.height(), box.sizeHint.height());
    EXPECT_GE(box.size.height(), 60);
  }
}

// A first-time user accepts every proposal: the save dialog opens in the data folder (given
// relative to the working folder, as the default settings give it) with the bare name filled in,
// and the PDF lands there.
TEST(DefaultPrintInteractionTest, AcceptingTheProposedPdfNameSavesInTheDataFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("LoanData")));
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  QString shownFolder;
  QString shownName;
  QTimer::singleShot(0, [&shownFolder, &shownName] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    shownFolder = dialog->directory().absolutePath();
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) shownName = name->text();
    static_cast<QDialog*>(dialog)->accept();  // the Save button
  });
  const bool saved =
      SavePlanSheetPdf(nullptr, TextsOf(FilledView()), PlanDate{2026, 12, 8}, QStringLiteral("./LoanData"));
  QDir::setCurrent(previous);
  EXPECT_TRUE(saved);
  EXPECT_EQ(shownFolder, QDir(dir.filePath(QStringLiteral("LoanData"))).absolutePath());
  EXPECT_EQ(shownName.toStdString(), "山田 太郎.pdf");
  QFile file(dir.filePath(QStringLiteral("LoanData/山田 太郎.pdf")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().startsWith("%PDF-"));
}

}  // namespace
}  // namespace zorvik
