#include "app/tax_credit_dlg.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>

#include "app/prepayment_panel.h"
#include "app/zorvik_app.h"
#include "tests/support/private_settings.h"
#include "tests/support/worked_plan.h"

namespace zorvik {
namespace {

QString U(const char* s) {
  return QString::fromUtf8(s);
}

QString Shipped() {
  return QStringLiteral(ZORVIK_SOURCE_DIR "/res/tax_credit_limits.txt");
}

// The help's plan, first payment April 2026, 入居 2026, 取得対価 4,000万, 新築 ZEH水準, 一般: 13
// credits from 207,400円 (balance 29,639,413円) down to 153,100円, 2,359,000円 in all.
TEST(TaxCreditDlgTest, HelpPlanWorkedCase) {
  QTemporaryDir settings;
  KeepSettingsIn(settings);
  const FundingPlan plan = WorkedPlan();
  CTaxCreditDlg dlg(plan, LoadTaxCreditTable(QString(), Shipped()));
  dlg.firstPaymentYear()->setValue(2026);
  dlg.firstPaymentMonth()->setValue(4);
  dlg.acquisitionCost()->setText(QStringLiteral("40,000,000"));
  dlg.Refresh();
  QTableWidget* t = dlg.table();
  ASSERT_EQ(t->rowCount(), 13) << dlg.message()->text().toStdString();
  EXPECT_EQ(t->item(0, 0)->text(), U("2026年"));
  EXPECT_EQ(t->item(0, 1)->text(), U("29,639,413円"));
  EXPECT_EQ(t->item(0, 2)->text(), U("207,400円"));
  EXPECT_EQ(t->item(12, 2)->text(), U("153,100円"));
  EXPECT_EQ(t->item(0, 3)->text(), U("－"));  // no income tax typed: the upper bound only
  EXPECT_TRUE(dlg.total()->text().contains(U("2,359,000円")));
  // The prepayments planned for the plan's file in the schedule window lower the balances: 500万
  // at the start, 返済額軽減型, leaves 2,500万 less its first year's principal.
  SavePrepayments(*OpenSettingsStore(), QStringLiteral("plan.zvk"),
                  {PlannedPrepayment{0, 0, 5000000, PrepaymentKind::ReducePayment}});
  dlg.SetPlanFileName(QStringLiteral("plan.zvk"));
  EXPECT_LT(dlg.estimate().years.front().yearEndBalance, 25000000);
  EXPECT_LT(dlg.estimate().total, 2359000);
  dlg.SetPlanFileName(QString());
  EXPECT_EQ(dlg.estimate().total, 2359000);
  // An entry year the table does not cover names the table's date.
  dlg.entryYear()->setValue(2040);
  EXPECT_EQ(t->rowCount(), 0);
  EXPECT_TRUE(dlg.message()->text().contains(U("2026-12-09"))) << dlg.message()->text().toStdString();
}

// A user's copy that does not read is named with its line; the shipped table is used instead.
TEST(TaxCreditDlgTest, MalformedUserTableFallsBackToTheShippedOne) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString user = dir.filePath(QStringLiteral("tax_credit_limits.txt"));
  QFile file(user);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("確認日,2027-01-10\n2026-01-01,2027-12-31,新築,ZEH,一般,3500,13\n");
  file.close();
  const LoadedTaxCreditTable loaded = LoadTaxCreditTable(user, Shipped());
  ASSERT_TRUE(loaded.table);
  EXPECT_EQ(loaded.path, Shipped());
  EXPECT_TRUE(loaded.notice.contains(U(" 2 行目"))) << loaded.notice.toStdString();
  EXPECT_EQ(TaxCreditNote(*loaded.table), U("概算です。制度は毎年改正されます（控除限度額の表: 2026年12月09日 確認）"));
  const LoadedTaxCreditTable none = LoadTaxCreditTable(QString(), dir.filePath(QStringLiteral("missing.txt")));
  EXPECT_FALSE(none.table);
  EXPECT_FALSE(none.error.isEmpty());
}

// The workbook holds the conditions, the years as numbers in yen and the note with the table's date.
TEST(TaxCreditDlgTest, ExcelReadBack) {
  QTemporaryDir settings;
  KeepSettingsIn(settings);
  const FundingPlan plan = WorkedPlan();
  CTaxCreditDlg dlg(plan, LoadTaxCreditTable(QString(), Shipped()));
  dlg.firstPaymentYear()->setValue(2026);
  dlg.firstPaymentMonth()->setValue(4);
  dlg.acquisitionCost()->setText(QStringLiteral("40,000,000"));
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("住宅ローン控除.xlsx"));
  ASSERT_TRUE(dlg.WriteExcel(path));
  const QString interpreter = QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                                : QStringLiteral("python3");
  QProcess python;
  python.start(interpreter, {QStringLiteral("-c"),
                             QStringLiteral("import json, sys, openpyxl\n"
                                            "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                                            "print(json.dumps({c.coordinate: c.value for r in ws.iter_rows() for c "
                                            "in r if c.value is not None}, ensure_ascii=False))"),
                             path});
  ASSERT_TRUE(python.waitForFinished(60000));
  ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  const QJsonObject got = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
  EXPECT_EQ(got["B5"].toString(), U("ZEH水準省エネ住宅"));
  EXPECT_EQ(got["B7"].toDouble(), 40000000.0);
  EXPECT_EQ(got["B8"].toDouble(), 35000000.0);
  EXPECT_EQ(got["A10"].toString(), U("年"));
  EXPECT_EQ(got["A11"].toString(), U("2026年"));
  EXPECT_EQ(got["B11"].toDouble(), 29639413.0);
  EXPECT_EQ(got["C11"].toDouble(), 207400.0);
  EXPECT_EQ(got["C23"].toDouble(), 153100.0);
  EXPECT_EQ(got["A24"].toString(), U("合計"));
  EXPECT_EQ(got["C24"].toDouble(), 2359000.0);
  EXPECT_EQ(got["D11"].toString(), U("－"));
  EXPECT_TRUE(got["A27"].toString().contains(U("2026年12月09日"))) << QJsonDocument(got).toJson().toStdString();
  // A folder where the file should be: refused, nothing half written.
  EXPECT_FALSE(dlg.WriteExcel(dir.path()));
}

}  // namespace
}  // namespace zorvik
