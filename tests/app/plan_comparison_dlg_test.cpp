#include "app/plan_comparison_dlg.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include "io/comparison_export.h"
#include "io/plan_file.h"
#include "io/zip_reader.h"
#include "print/render/comparison_page.h"
#include "tests/app/scripted_ui.h"
#include "tests/support/private_settings.h"
#include "tests/support/worked_plan.h"

namespace zorvik {
namespace {

QString U(const char* s) {
  return QString::fromUtf8(s);
}

QString CellText(const QTableWidget& t, const char* caption, int column) {
  for (int r = 0; r < t.rowCount(); ++r) {
    if (t.verticalHeaderItem(r)->text() == U(caption)) return t.item(r, column)->text();
  }
  return U("<no line>");
}

// The worked plan on the form (35 years) against a saved copy over 30 years: 63,149円 against
// 69,957円 a month, ＋6,808円, the current plan marked as the cheaper; the window follows the form,
// the workbook writes the difference as a formula on the A column.
TEST(PlanComparisonDlgTest, CurrentPlanAgainstAFileFollowsTheFormAndExports) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  KeepSettingsIn(dir);
  FundingPlan current = WorkedPlan();
  FundingPlan thirty = WorkedPlan();
  thirty.rows[0].periodYears = 30;
  const QString file = dir.filePath(QStringLiteral("30年.zvk"));
  ASSERT_TRUE(WritePlanFile(thirty, file.toStdString()));
  ScriptedUi ui(dir.path());
  CPlanComparisonDlg dlg(current, dir.path(), nullptr, &ui, &ui);
  ASSERT_TRUE(dlg.AddPlanFile(file));
  EXPECT_EQ(dlg.planList()->count(), 2);
  EXPECT_EQ(CellText(*dlg.table(), "月々の返済額", 0), U("◎ 63,149円"));
  EXPECT_EQ(CellText(*dlg.table(), "月々の返済額", 1), U("69,957円\n＋6,808円"));
  current.rows[0].loanAmount = 2000;
  current.rows[0].bonusAmount = 0;
  dlg.Refresh();
  EXPECT_NE(CellText(*dlg.table(), "借入総額", 0), U("3,000万"));

  const std::string xlsx = dir.filePath(QStringLiteral("c.xlsx")).toStdString();
  ASSERT_TRUE(WriteComparisonXlsxFile(xlsx, dlg.comparison(), "山田 太郎", "2026年12月 8日"));
  const auto entries = ReadZipEntries(xlsx, 1u << 26);
  ASSERT_TRUE(entries);
  std::string sheet;
  for (const auto& [name, content] : *entries) {
    if (name == "xl/worksheets/sheet1.xml") sheet = content;
  }
  EXPECT_NE(sheet.find("<f>C5-B5</f>"), std::string::npos) << sheet.substr(0, 400);

  // A file that is not a plan is refused and leaves the list as it was.
  EXPECT_FALSE(dlg.AddPlanFile(dir.filePath(QStringLiteral("missing.zvk"))));
  EXPECT_EQ(dlg.planList()->count(), 2);
  EXPECT_EQ(ui.warnings.size(), 1);
}

// Four plans of ten loan rows each: the loan rows collapse, figures stay at 8 points or more.
TEST(PlanComparisonDlgTest, FourFullPlansFitAtEightPointsOrMore) {
  std::vector<ComparedPlan> plans;
  for (int p = 0; p < 4; ++p) {
    ComparedPlan c{"plan", WorkedPlan(), {}};
    for (auto& row : c.plan.rows) row = c.plan.rows[0];
    plans.push_back(c);
  }
  const ComparisonLayout layout = LayOutComparisonPage(ComparePlans(plans, RateScenario{}));
  EXPECT_TRUE(layout.loanRowsCollapsed);
  EXPECT_GE(layout.textPoints, 8.0);
  const ComparisonLayout two = LayOutComparisonPage(ComparePlans({plans[0], plans[1]}, RateScenario{}));
  EXPECT_GE(two.textPoints, 8.0);
  EXPECT_EQ(two.pages, 1);
}

}  // namespace
}  // namespace zorvik
