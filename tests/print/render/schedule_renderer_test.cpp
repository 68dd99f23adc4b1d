#include "print/render/schedule_renderer.h"

#include <gtest/gtest.h>

#include <QBarSet>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QTemporaryDir>

#include "print/render/schedule_chart.h"
#include "tests/print/render/pdf_text.h"

namespace zorvik {
namespace {

FundingPlan WorkedPlan() {
  FundingPlan plan;
  plan.customerName = "山田 太郎";
  plan.createdYear = 2026;
  plan.createdMonth = 12;
  plan.createdDay = 8;
  LoanRow& r = plan.rows[0];
  r.loanName = "フラット35";
  r.method = 1;
  r.ratePercent = 2.375;
  r.periodYears = 35;
  r.loanAmount = 3000;
  r.bonusAmount = 1200;
  return plan;
}

TEST(ScheduleRendererTest, PdfWithTablesAndChartAfterThePlanSheet) {
  const FundingPlan plan = WorkedPlan();
  const SchedulePages pages = BuildSchedulePages(plan, BuildPlanSchedule(plan));
  ASSERT_EQ(pages.pages.size(), 3u);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString alone = dir.filePath(QStringLiteral("返済予定表.pdf"));
  ASSERT_TRUE(WriteSchedulePdfFile(alone, pages));
  const auto text = PdfText(alone);
  if (!text) GTEST_SKIP() << "pdftotext is not installed";
  EXPECT_EQ(text->count(QLatin1Char('\f')), 3);
  for (const char* expected :
       {"44,260,379円", "14,260,379円", "1行目 フラット35", "3 / 3", "うち元金", "年末残高（万円）"}) {
    EXPECT_TRUE(text->contains(QString::fromUtf8(expected))) << expected;
  }

  // After a one-page sheet: four pages, the sheet's page landscape and the rest portrait.
  PageModel sheet;
  sheet.metrics = ComputePageMetrics(kReferencePageWidth, kReferencePageHeight);
  PageOp title;
  title.kind = PageOpKind::Text;
  title.box = {0, 0, 6000, 900};
  title.text = "資金計画表の頁";
  sheet.ops.push_back(title);
  const QString both = dir.filePath(QStringLiteral("both.pdf"));
  ASSERT_TRUE(WriteSchedulePdfFile(both, pages, &sheet));
  const auto bothText =
      PdfText(both, {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1")});
  ASSERT_TRUE(bothText);
  EXPECT_TRUE(bothText->contains(QStringLiteral("資金計画表の頁")));
  EXPECT_EQ(PdfText(both)->count(QLatin1Char('\f')), 4);

  // A folder that does not exist: reported, nothing written.
  EXPECT_FALSE(WriteSchedulePdfFile(dir.filePath(QStringLiteral("無い/x.pdf")), pages));
}

TEST(ScheduleRendererTest, ChartFollowsTheYearView) {
  const FundingPlan plan = WorkedPlan();
  const PlanSchedule s = BuildPlanSchedule(plan);
  QChart chart;
  FillScheduleChart(chart, s.years, QFont());
  ASSERT_EQ(chart.series().size(), 2);
  ASSERT_EQ(chart.axes().size(), 3);
  auto* bars = qobject_cast<QStackedBarSeries*>(chart.series()[0]);
  auto* line = qobject_cast<QLineSeries*>(chart.series()[1]);
  ASSERT_TRUE(bars != nullptr && line != nullptr);
  ASSERT_EQ(bars->barSets().size(), 2);
  EXPECT_EQ(bars->barSets()[0]->count(), 35);
  EXPECT_DOUBLE_EQ(bars->barSets()[1]->at(0), static_cast<double>(s.years[0].interest) / 10000);
  EXPECT_DOUBLE_EQ(line->at(34).y(), 0.0);
  // The axes' numbers have thousands separators.
  QGraphicsScene scene;
  auto* shown = new QChart;
  scene.addItem(shown);
  FillScheduleChart(*shown, s.years, QFont());
  shown->setGeometry(QRectF(0, 0, 800, 500));
  shown->layout()->activate();
  QStringList labels;
  for (QGraphicsItem* item : scene.items()) {
    if (auto* text = dynamic_cast<QGraphicsTextItem*>(item)) labels << text->toPlainText();
  }
  EXPECT_TRUE(labels.contains(QStringLiteral("3,000"))) << labels.join(QLatin1Char(' ')).toStdString();
  EXPECT_FALSE(labels.contains(QStringLiteral("3000")));

  // Refilled in place with a shorter view, then emptied: the same items, hidden when empty.
  FundingPlan shorter = plan;
  shorter.rows[0].periodYears = 10;
  FillScheduleChart(chart, BuildPlanSchedule(shorter).years, QFont());
  EXPECT_EQ(chart.series().size(), 2);
  EXPECT_EQ(chart.axes().size(), 3);
  EXPECT_EQ(bars->barSets()[0]->count(), 10);
  EXPECT_EQ(line->count(), 10);
  FillScheduleChart(chart, {}, QFont());
  EXPECT_EQ(line->count(), 0);
  EXPECT_FALSE(line->isVisible());
}

}  // namespace
}  // namespace zorvik
