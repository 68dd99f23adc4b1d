#pragma once
// プラン比較 on screen and on paper: the chart (Qt Charts) of each plan's cumulative payments and
// balance over the years, and the A4 landscape page "資金計画 比較表" with the table and the chart.
//
// The page fits in this order: the table at its full size with the chart below; else the loan
// rows of each plan in one line (本数 and 合計); else the chart in the height left (at least 90
// points); else the chart on a second page. Figures never go below 8 points and are never cut off.

#include <QFont>
#include <QRectF>
#include <QString>
#include <string>

#include "core/plan_comparison.h"
#include "io/file_access.h"

class QPainter;
QT_BEGIN_NAMESPACE
class QChart;
class QPrinter;
QT_END_NAMESPACE

namespace zorvik {

// The heading of the page: the customer of A案 and the date.
struct ComparisonHeading {
  std::string customerName;
  std::string dateText;
};

// One line per plan of the cumulative payments (solid) and the balance (dashed), in 万円.
void FillComparisonChart(QChart& chart, const Comparison& comparison, const QFont& font);
QColor ComparisonColor(size_t index);

// How the page came out (for the tests): pages, whether the loan rows were collapsed, the table's
// text size in points.
struct ComparisonLayout {
  int pages = 1;
  bool loanRowsCollapsed = false;
  double textPoints = 0.0;
};
ComparisonLayout LayOutComparisonPage(const Comparison& comparison);

WriteResult WriteComparisonPdfFile(const QString& path, const Comparison& comparison, const ComparisonHeading& heading);
bool PrintComparison(QPrinter& printer, const Comparison& comparison, const ComparisonHeading& heading);

}  // namespace zorvik
