#pragma once
// A plan under rate scenarios on screen and on paper: the chart (Qt Charts) of the monthly payment
// (step lines) and the balance over the years, one colour per scenario, and the A4 landscape page
// with the report's table and that chart.

#include <QFont>
#include <QRectF>
#include <QString>

#include "core/scenario_report.h"
#include "io/file_access.h"

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

// Draws the page (title "金利シナリオ", customer and date, rows, the table and the chart) into
// `page` (painter coordinates of an A4 landscape page).
void RenderScenarioPage(QPainter& painter, const QRectF& page, const ScenarioReport& report);
// Writes the page as a one-page PDF, atomically.
WriteResult WriteScenarioPdfFile(const QString& path, const ScenarioReport& report);
// Prints the page on `printer` (set to A4 landscape by the caller's dialog); false on failure.
bool PrintScenarioReport(QPrinter& printer, const ScenarioReport& report);

}  // namespace zorvik
