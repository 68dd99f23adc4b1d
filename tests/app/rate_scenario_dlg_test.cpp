#include "app/rate_scenario_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>

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

}  // namespace
}  // namespace zorvik
