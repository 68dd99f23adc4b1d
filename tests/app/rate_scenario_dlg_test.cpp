#include "app/rate_scenario_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/funding_plan_dlg.h"
#include "app/prepayment_panel.h"
#include "app/repayment_schedule_dlg.h"
#include "app/zorvik_app.h"
#include "core/control_ids.h"
#include "print/render/plan_printer.h"
#include "tests/support/accessible_names.h"
#include "tests/support/private_settings.h"

namespace zorvik {
namespace {

QString U(const char* s) {
  return QString::fromUtf8(s);
}

FundingPlan OneVariableRow() {
  FundingPlan plan;
  plan.ResetToNewPlan(PlanDate{2026, 12, 8});
  LoanRow& row = plan.rows[0];
  row.loanName = "変動金利";
  row.method = 1;
  row.ratePercent = 2.375;
  row.periodYears = 30;
  row.loanAmount = 1000;
  return plan;
}

// The cell of the table line whose caption is `caption`, in scenario column `column`.
QString Cell(const CRateScenarioDlg& dlg, const char* caption, int column) {
  QTableWidget* t = dlg.table();
  for (int r = 0; r < t->rowCount(); ++r) {
    if (t->verticalHeaderItem(r)->text() == U(caption)) return t->item(r, column)->text();
  }
  return U("<no line>");
}

void TypePath(CRateScenarioDlg& dlg, int column, const char* path) {
  dlg.scenarioChoice(column)->setCurrentText(U(kCustomPathChoice));
  dlg.pathEdit(column)->setEnabled(true);
  dlg.pathEdit(column)->setText(U(path));
}

// The government's published example in the window: 据え置き and the rate from year 2 at +1, +2
// and +3 points give 総返済額 13,991,280 / 15,940,991 / 18,299,322 / 21,043,742円; the last defers
// 234,720円 of interest to a last payment of 300,937円, and the window says so.
TEST(RateScenarioDlgTest, PublishedExampleInFourColumns) {
  QTemporaryDir dir;
  KeepSettingsIn(dir);
  const FundingPlan plan = OneVariableRow();
  CRateScenarioDlg dlg(plan, dir.path());
  EXPECT_EQ(dlg.rateTypeChoice(0)->currentText(), U("変動"));  // from the product name
  dlg.scenarioChoice(0)->setCurrentIndex(0);
  TypePath(dlg, 1, "2:+1.0");
  TypePath(dlg, 2, "2:+2.0");
  TypePath(dlg, 3, "2:+3.0");
  dlg.Refresh();
  ASSERT_EQ(dlg.table()->columnCount(), 4);
  const char* totals[] = {"13,991,280円", "15,940,991円", "18,299,322円", "21,043,742円"};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(Cell(dlg, "総返済額", c), U(totals[c])) << c;
  EXPECT_EQ(Cell(dlg, "未払利息", 3), U("234,720円"));
  EXPECT_EQ(Cell(dlg, "最終回の返済額", 3), U("300,937円"));
  EXPECT_FALSE(dlg.warning()->isHidden());
  EXPECT_FALSE(dlg.chart()->series().isEmpty());

  // A path that cannot be read is marked and left out, with its message; the others stay.
  TypePath(dlg, 3, "2:+x");
  dlg.Refresh();
  EXPECT_EQ(dlg.table()->columnCount(), 3);
  bool said = false;
  for (QLabel* l : dlg.findChildren<QLabel*>()) said = said || l->text().contains(U("シナリオD"));
  EXPECT_TRUE(said);
}

// The user's 金利タイプ for a product is remembered in the settings, never in the plan, and the
// window follows the plan when it changes.
TEST(RateScenarioDlgTest, RememberedTypeAndFollowingThePlan) {
  QTemporaryDir dir;
  KeepSettingsIn(dir);
  FundingPlan plan = OneVariableRow();
  {
    CRateScenarioDlg dlg(plan, dir.path());
    dlg.rateTypeChoice(0)->setCurrentIndex(2);
    emit dlg.rateTypeChoice(0)->activated(2);
    dlg.fixedYears(0)->setValue(10);
    EXPECT_EQ(dlg.report().rows.at(0).rateType, "固定期間選択（10年）");
  }
  CRateScenarioDlg again(plan, dir.path());
  EXPECT_EQ(again.rateTypeChoice(0)->currentText(), U("固定期間選択"));
  EXPECT_EQ(again.fixedYears(0)->value(), 10);
  EXPECT_EQ(plan.rows[0].loanName, "変動金利");
  // 据え置き in column A follows a new loan amount.
  again.scenarioChoice(0)->setCurrentIndex(0);
  plan.rows[0].loanAmount = 2000;
  again.Refresh();
  EXPECT_EQ(again.report().columns.at(0).schedule.totals.principal, 20000000);
}

// Print dialogs answer at once into a PDF of a temporary folder; save dialogs answer `answer`.
class ScriptedUi : public PrintInteraction, public ScheduleSaveUi {
 public:
  explicit ScriptedUi(const QString& folder) : printer_(QPrinter::HighResolution) {
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setOutputFileName(folder + QStringLiteral("/printed.pdf"));
  }
  QString answer;
  QStringList warnings;
  QPageLayout::Orientation printedOrientation = QPageLayout::Portrait;

  bool HasPrinter() override { return true; }
  bool OfferPdfInstead(QWidget*, const QString& text, const QString&) override {
    warnings << text;
    return false;
  }
  QPrinter& ApplicationPrinter() override { return printer_; }
  void ShowInformation(QWidget*, const QString& text, const QString&) override { warnings << text; }
  void ShowWarning(QWidget*, const QString& text, const QString&) override { warnings << text; }
  bool RunPrintDialog(QWidget*, QPrinter& printer) override {
    printedOrientation = printer.pageLayout().orientation();
    return true;
  }
  bool ConfirmReplace(QWidget*, const QString&) override { return true; }
  QString GetPdfSavePath(QWidget*, const QString&) override { return answer; }
  int DisplayDpi() override { return 96; }
  QString GetSavePath(QWidget*, const QString&, const QString&, const QString&) override { return answer; }

 private:
  QPrinter printer_;
};

QByteArray Head(const QString& path, int n) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
}

// From "ツール(&T)" on the form: one window, not modal, following the loan amount typed on the form,
// and closed with Esc.
TEST(RateScenarioDlgTest, OpensFromTheMenuAndFollowsTheForm) {
  QTemporaryDir dir;
  KeepSettingsIn(dir);
  CZorvikApp app;
  app.setProgramDirectory(dir.path());
  CFundingPlanDlg form(app);
  form.setSaveSettingsOnDestroy(false);
  form.show();
  QtFormView& view = form.qtView();
  view.SetSelection(ids::kMethod[0], 0);
  form.Dispatch(ids::kMethod[0], FormNotification::SelChange);
  view.SetText(ids::kRate[0], "2.375");
  form.Dispatch(ids::kRate[0], FormNotification::KillFocus);
  view.SetText(ids::kPeriod[0], "35");
  form.Dispatch(ids::kPeriod[0], FormNotification::KillFocus);
  const auto enterLoan = [&](const char* amount) {
    form.Dispatch(ids::kLoanAmount[0], FormNotification::SetFocus);
    view.SetText(ids::kLoanAmount[0], amount);
    form.Dispatch(ids::kLoanAmount[0], FormNotification::KillFocus);
  };
  enterLoan("3000");

  ASSERT_TRUE(form.RunCommand(kRateScenarioCommand));
  QPointer<CRateScenarioDlg> dlg = form.findChild<CRateScenarioDlg*>();
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_FALSE(dlg->isModal());
  EXPECT_EQ(dlg->windowTitle(), U(kScenarioTitle));
  EXPECT_TRUE(UnnamedControls(dlg).isEmpty()) << UnnamedControls(dlg).join(QLatin1Char(' ')).toStdString();
  // A row without a product name is 全期間固定: 据え置き is the schedule window's 44,260,379円.
  EXPECT_EQ(dlg->rateTypeChoice(0)->currentText(), U("全期間固定"));
  ASSERT_EQ(dlg->scenarioChoice(0)->currentIndex(), 0);
  EXPECT_EQ(Cell(*dlg, "総返済額", 0), U("44,260,379円"));
  EXPECT_TRUE(dlg->rateTypeChoice(1)->isHidden());  // rows without a loan are left out

  ASSERT_TRUE(form.RunCommand(kRateScenarioCommand));
  EXPECT_EQ(form.findChildren<CRateScenarioDlg*>().size(), 1);
  enterLoan("2000");
  EXPECT_EQ(dlg->report().columns.at(0).schedule.totals.principal, 20000000);
  form.Dispatch(ids::kDeleteRow[0], FormNotification::Clicked);
  EXPECT_TRUE(dlg->rateTypeChoice(0)->isHidden());

  QApplication::setActiveWindow(dlg);
  QTest::keyClick(dlg, Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(dlg.isNull() || !dlg->isVisible());
}

// Every accelerator of the window leads to one control only.
TEST(RateScenarioDlgTest, AcceleratorsAreUnique) {
  QTemporaryDir dir;
  KeepSettingsIn(dir);
  const FundingPlan plan = OneVariableRow();
  CRateScenarioDlg dlg(plan, dir.path());
  QStringList keys;
  const auto take = [&keys](const QString& text) {
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    if (at >= 0 && at + 1 < text.size()) keys << text.mid(at + 1, 1).toUpper();
  };
  for (QLabel* l : dlg.findChildren<QLabel*>()) {
    if (l->buddy() != nullptr) take(l->text());
  }
  for (QAbstractButton* b : dlg.findChildren<QAbstractButton*>()) take(b->text());
  EXPECT_EQ(keys.size(), 11) << keys.join(QLatin1Char(' ')).toStdString();
  EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), keys.size()) << keys.join(QLatin1Char(' ')).toStdString();
}

// Tab reaches every control that can be used, the buttons included.
TEST(RateScenarioDlgTest, TabReachesEveryControl) {
  QTemporaryDir dir;
  KeepSettingsIn(dir);
  const FundingPlan plan = OneVariableRow();
  CRateScenarioDlg dlg(plan, dir.path());
  TypePath(dlg, 3, "2:+1.0");
  dlg.show();
  QApplication::setActiveWindow(&dlg);
  dlg.rateTypeChoice(0)->setFocus();
  QSet<QWidget*> reached;
  for (int i = 0; i < 40; ++i) {
    reached.insert(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  QList<QWidget*> expected = {static_cast<QWidget*>(dlg.rateTypeChoice(0)),
                              dlg.scenarioChoice(0),
                              dlg.scenarioChoice(3),
                              dlg.pathEdit(3),
                              dlg.fiveYearRule(),
                              dlg.table()};
  for (QPushButton* b : dlg.findChildren<QPushButton*>()) expected << b;
  for (QWidget* w : expected) EXPECT_TRUE(reached.contains(w)) << w->metaObject()->className();
}

// Wide, the chart stands beside the table; narrow (150 % on a laptop), below the whole table.
TEST(RateScenarioDlgTest, ChartGoesBelowTheTableWhenNarrow) {
  QTemporaryDir dir;
  KeepSettingsIn(dir);
  const FundingPlan plan = OneVariableRow();
  CRateScenarioDlg dlg(plan, dir.path());
  dlg.show();
  dlg.resize(1300, 700);
  EXPECT_EQ(dlg.tableAndChart(), Qt::Horizontal);
  dlg.resize(880, 480);
  EXPECT_EQ(dlg.tableAndChart(), Qt::Vertical);
  EXPECT_GE(dlg.table()->minimumHeight(), dlg.table()->rowCount() * dlg.table()->verticalHeader()->sectionSize(0));
}

// The buttons write the page, the workbook and the CSV of a lone scenario; a file that cannot be
// written says so with the reason.
TEST(RateScenarioDlgTest, ButtonsWriteEveryFile) {
  QTemporaryDir dir;
  KeepSettingsIn(dir);
  const FundingPlan plan = OneVariableRow();
  ScriptedUi ui(dir.path());
  CRateScenarioDlg dlg(plan, dir.path(), nullptr, &ui, &ui);
  for (int c = 1; c < 4; ++c) {
    dlg.scenarioChoice(c)->setCurrentText(U(kNoScenarioChoice));
    emit dlg.scenarioChoice(c)->activated(dlg.scenarioChoice(c)->currentIndex());
  }
  ASSERT_EQ(dlg.table()->columnCount(), 1);
  dlg.show();
  const auto click = [&dlg](const char* text) {
    for (QPushButton* b : dlg.findChildren<QPushButton*>()) {
      if (b->text() == U(text)) return QTest::mouseClick(b, Qt::LeftButton);
    }
    ADD_FAILURE() << "no button " << text;
  };
  ui.answer = dir.filePath(QStringLiteral("s.csv"));
  click("CSVに保存(&C)...");
  EXPECT_EQ(Head(ui.answer, 3), QByteArray("\xEF\xBB\xBF"));
  ui.answer = dir.filePath(QStringLiteral("s.xlsx"));
  click("Excelに保存(&E)...");
  EXPECT_EQ(Head(ui.answer, 2), QByteArray("PK"));
  ui.answer = dir.filePath(QStringLiteral("s.pdf"));
  click("PDFに保存(&D)...");
  EXPECT_EQ(Head(ui.answer, 5), QByteArray("%PDF-"));
  click("印刷(&P)...");
  EXPECT_EQ(ui.printedOrientation, QPageLayout::Landscape);
  EXPECT_EQ(Head(dir.filePath(QStringLiteral("printed.pdf")), 5), QByteArray("%PDF-"));
  EXPECT_TRUE(ui.warnings.isEmpty()) << ui.warnings.join(QLatin1Char(' ')).toStdString();
  ui.answer = dir.filePath(QStringLiteral("無い/s.xlsx"));
  click("Excelに保存(&E)...");
  ASSERT_EQ(ui.warnings.size(), 1);
  EXPECT_TRUE(ui.warnings[0].startsWith(U("ファイルを保存できませんでした。"))) << ui.warnings[0].toStdString();
  EXPECT_GT(ui.warnings[0].count(QLatin1Char('\n')), 1) << ui.warnings[0].toStdString();  // path, then the reason
}

// The prepayments planned for the plan's file in the 返済予定表 window apply under every scenario,
// and the window says so.
TEST(RateScenarioDlgTest, PlannedPrepaymentsApplyToEveryScenario) {
  QTemporaryDir dir;
  KeepSettingsIn(dir);
  const FundingPlan plan = OneVariableRow();
  SavePrepayments(*OpenSettingsStore(), QStringLiteral("plan.zvk"),
                  {PlannedPrepayment{0, 60, 1000000, PrepaymentKind::ShortenTerm}});
  CRateScenarioDlg dlg(plan, dir.path());
  dlg.scenarioChoice(0)->setCurrentIndex(0);
  dlg.Refresh();
  EXPECT_TRUE(dlg.prepaymentNote()->isHidden());
  const int64_t plain = dlg.report().columns.at(0).summary.totalRepaid;
  EXPECT_EQ(plain, 13991280);
  dlg.SetPlanFileName(QStringLiteral("plan.zvk"));
  EXPECT_FALSE(dlg.prepaymentNote()->isHidden());
  for (const ScenarioColumn& c : dlg.report().columns) {
    EXPECT_EQ(c.scenario.prepayments.size(), 1u);
  }
  EXPECT_LT(dlg.report().columns.at(0).summary.totalRepaid, plain);
}

}  // namespace
}  // namespace zorvik
