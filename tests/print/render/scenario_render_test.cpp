// The 金利シナリオ page: the fit steps for small and large plans, every text in its box at 8 points
// or more, and the written PDF.
#include "print/render/scenario_render.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/rate_scenario.h"
#include "core/scenario_report.h"
#include "tests/print/render/pdf_text.h"

namespace zorvik {
namespace {

struct RowInput {
  const char* name;
  uint16_t method;
  double rate;
  int16_t years;
  int32_t amount;
  int32_t bonus;
};

FundingPlan PlanOf(const std::vector<RowInput>& rows) {
  FundingPlan plan;
  plan.ResetToNewPlan(PlanDate{2026, 12, 8});
  plan.customerName = "山田 太郎";
  plan.annualIncome = 800;
  for (size_t i = 0; i < rows.size(); ++i) {
    LoanRow& row = plan.rows[i];
    row.loanName = rows[i].name;
    row.method = rows[i].method;
    row.ratePercent = rows[i].rate;
    row.periodYears = rows[i].years;
    row.loanAmount = rows[i].amount;
    row.bonusAmount = rows[i].bonus;
  }
  return plan;
}

// The government's example: 1,000万, 変動, 2.375 %, 30 years, the rate from year 2 at +0 to +3 points.
FundingPlan GovernmentPlan() {
  return PlanOf({{"変動金利", 1, 2.375, 30, 1000, 0}});
}

std::vector<RateScenario> GovernmentScenarios(const FundingPlan& plan) {
  std::vector<RateScenario> scenarios;
  for (const double points : {0.0, 1.0, 2.0, 3.0}) {
    RateScenario s;
    s.name = points == 0.0 ? kUnchangedScenarioName : "2年目 +" + std::to_string(static_cast<int>(points)) + ".0";
    s.rowTypes = RateTypesFromNames(plan);
    if (points != 0.0) s.path = {{2, points}};
    scenarios.push_back(s);
  }
  return scenarios;
}

// Ten rows of every kind with the four longest presets (毎年 +0.25％ has eight steps, 5年ごとに +0.5％
// nineteen over 99 years).
std::vector<RateScenario> LongPresets(const FundingPlan& plan) {
  std::vector<RateScenario> presets = PresetScenarios();
  presets.erase(presets.begin() + 3);  // keep 据え置き, 毎年, 5年ごと, 3年目に
  for (RateScenario& s : presets) s.rowTypes = RateTypesFromNames(plan);
  return presets;
}

FundingPlan TenRows(int16_t years, int32_t amount) {
  std::vector<RowInput> rows;
  const char* names[] = {"変動金利A", "当初10年固定", "フラット35（全期間固定）",
                         "変動金利B", "当初5年固定",  "変動金利C",
                         "変動D",     "3年固定",      "変動E",
                         "変動F"};
  for (int i = 0; i < 10; ++i) {
    rows.push_back(
        {names[i], static_cast<uint16_t>(1 + i % 2), 0.3 + 0.2 * i, years, amount, i % 3 == 0 ? amount / 2 : 0});
  }
  return PlanOf(rows);
}

// With ZORVIK_SCENARIO_PAGES=FOLDER the pages are kept there, to be looked at.
void KeepToLookAt(const QString& pdf, const char* name) {
  if (const char* folder = std::getenv("ZORVIK_SCENARIO_PAGES")) {
    QFile::copy(pdf, QString::fromUtf8(folder) + QStringLiteral("/%1.pdf").arg(QString::fromUtf8(name)));
  }
}

struct FitCase {
  const char* name;
  const char* what;
  FundingPlan plan;
  bool longPresets;
  size_t pages;
  bool collapsed;
  bool chartOnFirstPage;
};

TEST(ScenarioRenderTest, FitStepsKeepEveryTextInItsBoxAtEightPointsOrMore) {
  const std::vector<FitCase> cases = {
      {"fit-government", "government example, four columns", GovernmentPlan(), false, 1, false, true},
      {"fit-35", "ten rows of 35 years: the rows collapse into one line", TenRows(35, 5000), false, 1, true, true},
      {"fit-35-long", "the same with long paths: the table alone on the page, the chart on the next", TenRows(35, 5000),
       true, 2, false, false},
      {"fit-99", "ten rows of 99 years at the largest amount: the table runs on, the chart on its own page",
       TenRows(99, 81990), true, 3, false, false},
  };
  for (const FitCase& c : cases) {
    SCOPED_TRACE(c.what);
    const auto scenarios = c.longPresets ? LongPresets(c.plan) : GovernmentScenarios(c.plan);
    const ScenarioReport report = BuildScenarioReport(c.plan, scenarios);
    const ScenarioLayoutCheck check = CheckScenarioLayout(report);
    EXPECT_EQ(check.pages, c.pages);
    EXPECT_EQ(ScenarioPageCount(report), c.pages);
    EXPECT_EQ(check.rowsCollapsed, c.collapsed);
    EXPECT_GE(check.smallestTextPoints, 8.0);
    EXPECT_GE(check.tableLinePoints, 10.5);
    if (c.chartOnFirstPage) {
      EXPECT_GE(check.firstPageChartHeight, 170.0);
    } else {
      EXPECT_EQ(check.firstPageChartHeight, 0.0);
    }
    for (const QString& text : check.notFitting) ADD_FAILURE() << "does not fit: " << text.toStdString();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("fit.pdf"));
    ASSERT_TRUE(WriteScenarioPdfFile(pdf, report));
    KeepToLookAt(pdf, c.name);
  }
}

// The government example as a PDF: one page with its four totals, the deferral and the last payment.
TEST(ScenarioRenderTest, GovernmentExamplePdf) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const FundingPlan plan = GovernmentPlan();
  const QString pdf = dir.filePath(QStringLiteral("s.pdf"));
  ASSERT_TRUE(WriteScenarioPdfFile(pdf, BuildScenarioReport(plan, GovernmentScenarios(plan))));
  KeepToLookAt(pdf, "government");
  const auto text = PdfText(pdf);
  if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  EXPECT_EQ(text->count(QLatin1Char('\f')), 1);
  for (const char* figure : {"金利シナリオ", "山田 太郎 様", "1行目 変動金利", "13,991,280円", "15,940,991円",
                             "18,299,322円", "21,043,742円", "234,720円", "300,937円", "48,581円"}) {
    EXPECT_TRUE(text->contains(QString::fromUtf8(figure))) << figure;
  }
}

// Printing goes through the same pages (a PDF printer here, never a real one), and the first page
// can be drawn into any rectangle, such as a preview image.
TEST(ScenarioRenderTest, PrintedAndDrawnIntoAnImage) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const FundingPlan plan = TenRows(99, 81990);
  const ScenarioReport report = BuildScenarioReport(plan, LongPresets(plan));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
  printer.setOutputFileName(pdf);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10)));
  ASSERT_TRUE(PrintScenarioReport(printer, report));
  if (const auto text = PdfText(pdf)) {
    EXPECT_EQ(text->count(QLatin1Char('\f')), 3);
    EXPECT_TRUE(text->contains(QStringLiteral("3 / 3")));
    EXPECT_TRUE(text->contains(QStringLiteral("金利シナリオ（続き）")));
  }

  QImage image(842, 595, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  RenderScenarioPage(painter, QRectF(0, 0, 842, 595), report);
  painter.end();
  int inked = 0;
  for (int y = 0; y < image.height(); y += 4) {
    for (int x = 0; x < image.width(); x += 4) inked += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
  }
  EXPECT_GT(inked, 500);
}

}  // namespace
}  // namespace zorvik
