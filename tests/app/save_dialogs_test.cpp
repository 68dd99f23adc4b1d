// Every save dialog of the program, taken as a first-time user takes it: the data folder is
// "./LoanData" (relative to the working folder, as the default settings give it), the dialog
// opens there with the proposed name filled in, Save is pressed, and the file lands there. A
// second save of the same name asks before it replaces the file.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/form_layout.h"
#include "app/funding_plan_dlg.h"
#include "app/repayment_schedule_dlg.h"
#include "app/zorvik_app.h"
#include "core/control_ids.h"
#include "tests/print/render/pdf_text.h"
#include "tests/support/message_box_watch.h"
#include "tests/support/private_settings.h"

namespace zorvik {
namespace {

QString U(const char* s) {
  return QString::fromUtf8(s);
}

// What the user saw in one save command.
struct SeenSave {
  QString folder;     // the folder the dialog opened in
  QString name;       // the file name it proposed
  QStringList boxes;  // the message boxes' texts, answered with Yes (or OK)
};

class SaveDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    KeepSettingsIn(dir_);
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("LoanData")));
    previous_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    app_.setProgramDirectory(dir_.path());
    app_.setDirectory(kInstallDirectory, QStringLiteral("."));
    app_.setDirectory(kDataDirectory, QStringLiteral("?LoanData"));
    form_ = std::make_unique<CFundingPlanDlg>(app_);
    form_->setSaveSettingsOnDestroy(false);
    form_->show();
    // A customer and one loan: 3,000万 at 2.375％ over 35 years.
    QtFormView& view = form_->qtView();
    view.SetText(ids::kCustomerName, "山田 太郎");
    view.SetSelection(ids::kMethod[0], 0);
    form_->Dispatch(ids::kMethod[0], FormNotification::SelChange);
    for (const auto& [id, text] : {std::pair{ids::kRate[0], "2.375"}, std::pair{ids::kPeriod[0], "35"},
                                   std::pair{ids::kLoanAmount[0], "3000"}}) {
      form_->Dispatch(id, FormNotification::SetFocus);
      view.SetText(id, text);
      form_->Dispatch(id, FormNotification::KillFocus);
    }
  }

  void TearDown() override {
    form_.reset();
    QDir::setCurrent(previous_);
  }

  CRepaymentScheduleDlg* Schedule() {
    EXPECT_TRUE(form_->RunCommand(kRepaymentScheduleCommand));
    return form_->findChild<CRepaymentScheduleDlg*>();
  }

  // Runs `command` and accepts its save dialog as it is proposed.
  static SeenSave AcceptProposal(const std::function<void()>& command) {
    SeenSave seen;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&seen] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || !modal->isVisible()) return;
      if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        seen.folder = dialog->directory().absolutePath();
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) seen.name = name->text();
        static_cast<QDialog*>(dialog)->accept();  // the Save button
      } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        seen.boxes << box->text();
        QAbstractButton* yes = box->button(QMessageBox::Yes);
        (yes != nullptr ? yes : box->button(QMessageBox::Ok))->click();
      }
    });
    poll.start();
    command();
    return seen;
  }

  QByteArray Head(const QString& name, int n) {
    QFile f(dir_.filePath(QStringLiteral("LoanData/") + name));
    return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
  }

  QTemporaryDir dir_;
  QString previous_;
  CZorvikApp app_;
  std::unique_ptr<CFundingPlanDlg> form_;
};

struct SaveCase {
  const char* what;
  std::function<void()> run;
  const char* fileName;
  QByteArray head;         // the file's first bytes
  const char* shown = "";  // the name in the dialog when it is not fileName (the suffix comes on Save)
};

TEST_F(SaveDialogsTest, AcceptingTheProposalSavesInTheDataFolder) {
  const SaveCase cases[] = {
      {"form PDF", [this] { form_->RunCommand(kFileSavePdfCommand); }, "山田 太郎.pdf", "%PDF-"},
      {"form plan", [this] { form_->RunCommand(ids::kFileSaveAs); }, "山田 太郎.zvk", "", "山田 太郎"},
      {"schedule PDF", [this] { Schedule()->OnSavePdf(); }, "山田 太郎_返済予定表.pdf", "%PDF-"},
      {"schedule Excel", [this] { Schedule()->OnSaveExcel(); }, "山田 太郎_返済予定表.xlsx", "PK"},
      {"schedule CSV", [this] { Schedule()->OnSaveCsv(); }, "山田 太郎_返済予定表.csv", "\xEF\xBB\xBF"},
  };
  const QString folder = QDir(dir_.filePath(QStringLiteral("LoanData"))).absolutePath();
  for (const SaveCase& c : cases) {
    SCOPED_TRACE(c.what);
    const SeenSave first = AcceptProposal(c.run);
    EXPECT_EQ(first.folder, folder);
    EXPECT_EQ(first.name.toStdString(), *c.shown != '\0' ? c.shown : c.fileName);
    EXPECT_EQ(first.boxes, QStringList());
    EXPECT_FALSE(Head(U(c.fileName), 8).isEmpty());
    EXPECT_TRUE(Head(U(c.fileName), 8).startsWith(c.head));

    // The same name again: one question, then the file is replaced.
    QFile(dir_.filePath(QStringLiteral("LoanData/") + U(c.fileName))).resize(0);
    const SeenSave again = AcceptProposal(c.run);
    EXPECT_EQ(again.boxes, QStringList(U("同じ名前のファイルが存在します。\n上書きしますか？")));
    EXPECT_FALSE(Head(U(c.fileName), 8).isEmpty());
  }
}

// The sheet is the plan's: a value still being typed is taken as leaving its box would take it
// before the PDF is made, so the last keystrokes are never missed.
TEST_F(SaveDialogsTest, PdfTakesTheValueBeingTyped) {
  QWidget* income = form_->control(ids::kAnnualIncome);
  QApplication::setActiveWindow(form_.get());
  income->setFocus();
  ASSERT_TRUE(income->hasFocus());
  form_->Dispatch(ids::kAnnualIncome, FormNotification::SetFocus);
  form_->qtView().SetText(ids::kAnnualIncome, "800");  // typed, the box not yet left
  AcceptProposal([this] { form_->RunCommand(kFileSavePdfCommand); });
  EXPECT_EQ(form_->plan().annualIncome, 800);
  const std::optional<QString> text = PdfText(dir_.filePath(U("LoanData/山田 太郎.pdf")));
  ASSERT_TRUE(text.has_value());
  EXPECT_TRUE(text->contains(U("800万"))) << text->toStdString();
}

// The schedule window's failure box is laid out and painted, with its text.
TEST_F(SaveDialogsTest, ScheduleSaveFailureBoxIsReadable) {
  struct IntoMissingFolder : ScheduleSaveUi {
    QString GetSavePath(QWidget*, const QString& proposed, const QString&, const QString&) override {
      return QFileInfo(proposed).absolutePath() + QStringLiteral("/無い/a.csv");
    }
  } save;
  CRepaymentScheduleDlg schedule(form_->plan(), QStringLiteral("./LoanData"), form_.get(), nullptr, &save);
  schedule.show();
  QString text;
  QSize size;
  QSize hint;
  QTimer poll;
  WatchForMessageBox(poll, [&](QMessageBox& box) {
    text = box.text();
    size = box.size();
    hint = box.sizeHint();
    box.button(QMessageBox::Ok)->click();
  });
  for (QPushButton* button : schedule.findChildren<QPushButton*>()) {
    if (button->text() == U("CSVに保存(&C)...")) QTest::mouseClick(button, Qt::LeftButton);
  }
  EXPECT_EQ(text, U("ファイルを保存できませんでした。\n") +
                      QDir::toNativeSeparators(dir_.filePath(U("LoanData/無い/a.csv"))) +
                      U("\n保存先のフォルダーがありません。"));
  EXPECT_GE(size.width(), hint.width());
  EXPECT_GE(size.height(), hint.height());
}

}  // namespace
}  // namespace zorvik
