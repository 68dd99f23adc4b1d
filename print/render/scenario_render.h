#pragma once
// A plan under rate scenarios on screen and on paper: the chart (Qt Charts) of the monthly payment
// (step lines) and the balance over the years, one colour per scenario, and the A4 landscape page
// with the report's table and that chart.

#include <QFont>
#include <QRectF>
#include <QString>
#include <vector>

#include "core/scenario_report.h"
#include "io/file_access.h"
#include "print/page_model.h"
#include "print/schedule_pages.h"

class QPainter;
QT_BEGIN_NAMESPACE
class QChart;
class QPrinter;
QT_END_NAMESPACE

namespace zorvik {

// Shows `report` in `chart`: one step line of the monthly payment and one line of the balance per
// scenario, in the scenario's colour; series and axes are made anew on each call.
void FillScenarioChart(QChart& chart, const ScenarioReport& report, const QFont& font);
// The colour of scenario column `index` (window, chart and page).
QColor ScenarioColor(size_t index);

// The page (A4 landscape): title "金利シナリオ", customer and date, the rows with their 金利タイプ,
// how payments follow the rate, the table and the chart. The table's lines are 14 points high
// when there is room, else smaller down to 10.5 points (8-point figures) with the chart in the
// height left; then the same with the loan rows collapsed into one line (本数 and 合計); when even
// then the chart has less than 170 points, the rows are listed in full, the table runs on over
// further pages and the chart takes a page of its own. Never a figure below 8 points or cut off.
size_t ScenarioPageCount(const ScenarioReport& report);
// What the page layout comes to, for checks: the number of pages, whether the loan rows were
// collapsed into one line, the table's line height and the smallest text size (points), the
// chart's height on the first page (0: on a page of its own), and every text that does not fit
// its box even at 8 points or lies outside the page.
struct ScenarioLayoutCheck {
  size_t pages = 0;
  bool rowsCollapsed = false;
  double tableLinePoints = 0.0;
  double smallestTextPoints = 0.0;
  double firstPageChartHeight = 0.0;
  std::vector<QString> notFitting;
};
ScenarioLayoutCheck CheckScenarioLayout(const ScenarioReport& report);
// Draws the first page into `page` (painter coordinates of an A4 landscape page).
void RenderScenarioPage(QPainter& painter, const QRectF& page, const ScenarioReport& report);
// Writes the pages as a PDF, atomically.
WriteResult WriteScenarioPdfFile(const QString& path, const ScenarioReport& report);
// The plan sheet, then the scenario's pages, then (when given) the schedule's pages, numbered as
// one document.
WriteResult WriteSheetAndScenarioPdfFile(const QString& path, const PageModel& sheet, const ScenarioReport& report,
                                         const SchedulePages* schedulePages);
// Prints the pages on `printer` (set to A4 landscape by the caller's dialog); false on failure.
bool PrintScenarioReport(QPrinter& printer, const ScenarioReport& report);

}  // namespace zorvik
