// The repayment schedule window on the real form: opened from the tools menu on the worked plan,
// following the form's edits, and its buttons writing every kind of file.
#include "app/repayment_schedule_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBarSet>
#include <QChart>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/funding_plan_dlg.h"
#include "app/zorvik_app.h"
#include "core/control_ids.h"
#include "core/repayment.h"
#include "print/render/plan_printer.h"
#include "tests/app/scripted_ui.h"
#include "tests/support/accessible_names.h"

namespace zorvik {
namespace {

QString U(const char* s) {
  return QString::fromUtf8(s);
}

// Printers print into PDF files of a temporary folder; save dialogs answer with set paths.

QByteArray Head(const QString& path, int n) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
}

TEST(RepaymentScheduleDlgTest, WorkedPlanFromTheMenuFollowsTheFormAndSavesEveryFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath(QStringLiteral("settings")));
  CZorvikApp app;
  app.setProgramDirectory(dir.path());
  CFundingPlanDlg form(app);
  form.setSaveSettingsOnDestroy(false);
  form.show();

  // The worked plan: 3,000万, 1,200万 through the bonuses, 2.375％, 35 years, 元利均等.
  QtFormView& view = form.qtView();
  view.SetSelection(ids::kMethod[0], 0);
  form.Dispatch(ids::kMethod[0], FormNotification::SelChange);
  view.SetText(ids::kRate[0], "2.375");
  form.Dispatch(ids::kRate[0], FormNotification::KillFocus);
  view.SetText(ids::kPeriod[0], "35");
  form.Dispatch(ids::kPeriod[0], FormNotification::KillFocus);
  auto enterLoan = [&](const char* amount) {
    form.Dispatch(ids::kLoanAmount[0], FormNotification::SetFocus);
    view.SetText(ids::kLoanAmount[0], amount);
    form.Dispatch(ids::kLoanAmount[0], FormNotification::KillFocus);
  };
  enterLoan("3000");
  ASSERT_EQ(view.QText(ids::kMonthlyPayment[0]), U("63,149円"));

  ASSERT_TRUE(form.RunCommand(kRepaymentScheduleCommand));
  auto* dlg = form.findChild<CRepaymentScheduleDlg*>();
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_FALSE(dlg->isModal());
  EXPECT_EQ(dlg->windowTitle(), U("返済予定表"));
  EXPECT_EQ(dlg->summaryValue(0)->text(), U("3,000万"));
  EXPECT_EQ(dlg->summaryValue(1)->text(), U("44,260,379円"));
  EXPECT_EQ(dlg->summaryValue(2)->text(), U("14,260,379円"));
  EXPECT_TRUE(dlg->notes()->isHidden());  // the form's payments are the computed ones
  EXPECT_EQ(dlg->summaryValue(3)->text(), U("35年"));
  ASSERT_EQ(dlg->yearTable()->rowCount(), 35);
  EXPECT_EQ(dlg->yearTable()->item(0, 1)->text(), U("1,264,582円"));  // 12 x 63,149 + 2 x 253,397
  EXPECT_EQ(dlg->yearTable()->item(34, 4)->text(), U("0円"));
  auto* bars = qobject_cast<QStackedBarSeries*>(dlg->chart()->series().value(0));
  ASSERT_NE(bars, nullptr);
  EXPECT_EQ(bars->barSets().value(0)->count(), 35);

  // The row chosen with the keyboard.
  QComboBox* choice = dlg->rowChoice();
  ASSERT_EQ(choice->count(), 2);
  EXPECT_EQ(choice->itemText(1), U("1行目"));
  QApplication::setActiveWindow(dlg);
  choice->setFocus();
  QTest::keyClick(choice, Qt::Key_Down);
  EXPECT_EQ(dlg->shownRow(), std::optional<int>(0));

  // The menu again raises the same window; edits on the form reach it.
  ASSERT_TRUE(form.RunCommand(kRepaymentScheduleCommand));
  EXPECT_EQ(form.findChildren<CRepaymentScheduleDlg*>().size(), 1);
  enterLoan("2000");
  EXPECT_EQ(dlg->summaryValue(0)->text(), U("2,000万"));
  EXPECT_EQ(dlg->shownRow(), std::optional<int>(0));
  EXPECT_EQ(dlg->schedule().rows[0].monthly.firstPayment, CalcMonthlyPayment(2000, 800, 1, 35, 2.375));
  form.Dispatch(ids::kDeleteRow[0], FormNotification::Clicked);
  EXPECT_EQ(dlg->shownRow(), std::nullopt);
  EXPECT_EQ(dlg->yearTable()->rowCount(), 0);
  enterLoan("3000");

  // The buttons, with scripted dialogs, on a window of its own over the same plan.
  ScriptedUi ui(dir.path());
  CRepaymentScheduleDlg own(form.plan(), dir.path(), &form, &ui, &ui);
  auto click = [&own](const char* text) {
    for (QPushButton* b : own.findChildren<QPushButton*>()) {
      if (b->text() == U(text)) return QTest::mouseClick(b, Qt::LeftButton);
    }
    ADD_FAILURE() << "no button " << text;
  };
  own.show();
  ui.answer = dir.filePath(QStringLiteral("s.csv"));
  click("CSVに保存(&C)...");
  EXPECT_EQ(Head(ui.answer, 7), QByteArray("\xEF\xBB\xBF行,"));
  ui.answer = dir.filePath(QStringLiteral("s.xlsx"));
  click("Excelに保存(&E)...");
  EXPECT_EQ(Head(ui.answer, 2), QByteArray("PK"));
  ui.answer = dir.filePath(QStringLiteral("s.pdf"));
  click("PDFに保存(&D)...");
  EXPECT_EQ(Head(ui.answer, 5), QByteArray("%PDF-"));
  click("印刷(&P)...");
  EXPECT_EQ(ui.printedOrientation, QPageLayout::Portrait);
  EXPECT_EQ(Head(dir.filePath(QStringLiteral("printed.pdf")), 5), QByteArray("%PDF-"));
  EXPECT_TRUE(ui.warnings.isEmpty());
  // Without a printer the PDF is offered instead, and taken.
  ui.hasPrinter = false;
  ui.answer = dir.filePath(QStringLiteral("instead.pdf"));
  click("印刷(&P)...");
  EXPECT_EQ(Head(ui.answer, 5), QByteArray("%PDF-"));
  ASSERT_EQ(ui.warnings.size(), 1);
  ui.warnings.clear();
  ui.answer = dir.filePath(QStringLiteral("無い/s.csv"));
  click("CSVに保存(&C)...");
  ASSERT_EQ(ui.warnings.size(), 1);
  EXPECT_TRUE(ui.warnings[0].startsWith(U("ファイルを保存できませんでした。")));
  click("閉じる");
  EXPECT_FALSE(own.isVisible());

  // A plan as a file may hold it: stored payments other than the computed ones, a row above 99
  // years. The notes follow the stored payments even when no input changed.
  FundingPlan file;
  file.rows[0] = LoanRow{"", 1, 2.375, 35, 3000, 1200, 63149, 253397};
  file.rows[1] = file.rows[0];
  file.rows[1].periodYears = 120;
  CRepaymentScheduleDlg fromFile(file, dir.path(), &form, &ui, &ui);
  EXPECT_EQ(fromFile.notes()->text(), U("2行目 返済期間が99年を超えるため、返済予定表に含めていません"));
  EXPECT_EQ(fromFile.rowChoice()->count(), 2);
  file.rows[0].monthlyPayment = 59074;
  fromFile.Refresh();
  EXPECT_EQ(fromFile.notes()->text(),
            U("2行目 返済期間が99年を超えるため、返済予定表に含めていません\n"
              "保存された返済額と計算上の返済額が異なります。返済予定表は計算上の返済額によります。"));
  EXPECT_FALSE(fromFile.notes()->isHidden());

  EXPECT_EQ(ProposedScheduleFileName(U("山田 太郎"), QStringLiteral("xlsx")), U("山田 太郎_返済予定表.xlsx"));
  EXPECT_EQ(ProposedScheduleFileName(U("a/b"), QStringLiteral("csv")), U("a_b_返済予定表.csv"));
  EXPECT_EQ(ProposedScheduleFileName(QString(), QStringLiteral("pdf")), U("返済予定表.pdf"));
}

TEST(RepaymentScheduleDlgTest, AtItsSmallestEveryAmountIsWholeAndEveryControlIsNamed) {
  // Two of the largest loans the form takes: the whole plan's balances have ten digits.
  FundingPlan plan;
  for (const size_t row : {size_t{0}, size_t{1}}) {
    LoanRow& r = plan.rows[row];
    r.method = 1;
    r.ratePercent = 2.375;
    r.periodYears = 35;
    r.loanAmount = 81990;
  }
  CRepaymentScheduleDlg dlg(plan, QString());
  dlg.show();
  dlg.resize(1, 1);  // the window's own minimum size
  QApplication::processEvents();
  QTableWidget* table = dlg.yearTable();
  ASSERT_EQ(table->item(0, 4)->text().size(), QStringLiteral("1,600,000,000円").size());
  for (int column = 1; column < 5; ++column) {
    const QString widest = table->item(0, column)->text();
    EXPECT_GE(table->columnWidth(column), table->fontMetrics().horizontalAdvance(widest) + 8) << column;
  }

  // The notes say how the bonus payments are counted in the years.
  QStringList texts;
  for (QLabel* label : dlg.findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(texts.contains(U(kBonusYearNote)));

  QStringList names;
  EXPECT_EQ(UnnamedControls(&dlg, &names).join(QLatin1Char('\n')).toStdString(), "");
  EXPECT_TRUE(names.contains(U("表示する融資"))) << names.join(QLatin1Char(' ')).toStdString();
  EXPECT_EQ(dlg.summaryValue(0)->accessibleDescription(), U("借入額"));
}

}  // namespace
}  // namespace zorvik
