#pragma once
// The chart of a year view (Qt Charts), the same on screen and on paper: each year's principal
// and interest as stacked bars against the left axis, and the balance at each year's end as a
// line against the right axis. Amounts are shown in 万円 (yen / 10,000).

#include <QFont>
#include <QRectF>
#include <functional>
#include <vector>

#include "core/repayment_schedule.h"

class QPainter;
QT_BEGIN_NAMESPACE
class QChart;
QT_END_NAMESPACE

namespace zorvik {

inline constexpr const char* kChartPrincipalText = "うち元金";
inline constexpr const char* kChartInterestText = "うち利息";
inline constexpr const char* kChartBalanceText = "年末残高";
inline constexpr const char* kChartYearAxisText = "年目";
inline constexpr const char* kChartPaymentAxisText = "年間返済額（万円）";
inline constexpr const char* kChartBalanceAxisText = "年末残高（万円）";

// Shows `years` in `chart`: the series and axes are created on the first call and refilled on
// later ones (an empty view hides them). Texts use `font`.
void FillScheduleChart(QChart& chart, const std::vector<ScheduleYear>& years, const QFont& font);

// Draws a chart that `fill` sets up into `target` (painter coordinates), laid out on a page 800
// units wide, so that texts keep their size relative to the chart whatever the device.
void DrawChartOnPage(QPainter& painter, const QRectF& target, const std::function<void(QChart&)>& fill);

// Draws the chart of `years` into `target` (painter coordinates), as laid out on a page
// 800 units wide: texts in `font` keep their size relative to the chart whatever the device.
void DrawScheduleChart(QPainter& painter, const QRectF& target, const std::vector<ScheduleYear>& years,
                       const QFont& font);

}  // namespace zorvik
