#include "print/render/schedule_chart.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QPen>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <algorithm>

#include "core/units.h"

namespace zorvik {
namespace {

const QColor kPrincipalColor(0x44, 0x72, 0xC4);
const QColor kInterestColor(0xED, 0x7D, 0x31);
const QColor kBalanceColor(0x2F, 0x2F, 0x2F);
constexpr double kLogicalChartWidth = 800.0;

// Years labelled on the axis: every year for short schedules, else every 5th or 10th.
int LabelStep(size_t years) {
  if (years <= 15) return 1;
  if (years <= 50) return 5;
  return 10;
}

// Axis maximum: a little headroom above the largest value, never 0.
double AxisMax(double largest) {
  return largest > 0.0 ? largest * 1.1 : 1.0;
}

void StyleAxis(QAbstractAxis* axis, const QFont& font, const QString& title) {
  axis->setLabelsFont(font);
  QFont titleFont = font;
  titleFont.setBold(false);
  axis->setTitleFont(titleFont);
  axis->setTitleText(title);
  axis->setGridLineVisible(true);
}

}  // namespace

void FillScheduleChart(QChart& chart, const std::vector<ScheduleYear>& years, const QFont& font) {
  // The series and axes are made once and then refilled: a chart that follows the plan while
  // the user edits it changes its numbers, not its items.
  QStackedBarSeries* bars = nullptr;
  QLineSeries* balance = nullptr;
  for (QAbstractSeries* series : chart.series()) {
    if (bars == nullptr) bars = qobject_cast<QStackedBarSeries*>(series);
    if (balance == nullptr) balance = qobject_cast<QLineSeries*>(series);
  }
  QCategoryAxis* yearAxis = nullptr;
  QValueAxis* paymentAxis = nullptr;
  QValueAxis* balanceAxis = nullptr;
  if (bars == nullptr || balance == nullptr) {
    chart.removeAllSeries();
    chart.setAnimationOptions(QChart::NoAnimation);
    chart.setBackgroundRoundness(0);
    chart.setDropShadowEnabled(false);
    chart.legend()->setAlignment(Qt::AlignBottom);
    chart.setMargins(QMargins(4, 4, 4, 4));
    // Axis numbers with thousands separators ("4,000"), as every amount of the program is
    // written, whatever the locale the program runs in.
    QLocale numbers(QLocale::Japanese, QLocale::Japan);
    numbers.setNumberOptions(QLocale::DefaultNumberOptions);
    chart.setLocale(numbers);
    chart.setLocalizeNumbers(true);

    auto* principal = new QBarSet(QString::fromUtf8(kChartPrincipalText));
    auto* interest = new QBarSet(QString::fromUtf8(kChartInterestText));
    principal->setColor(kPrincipalColor);
    principal->setBorderColor(kPrincipalColor);
    interest->setColor(kInterestColor);
    interest->setBorderColor(kInterestColor);
    bars = new QStackedBarSeries;
    bars->append(principal);
    bars->append(interest);
    bars->setBarWidth(0.7);
    balance = new QLineSeries;
    balance->setName(QString::fromUtf8(kChartBalanceText));
    QPen line(kBalanceColor);
    line.setWidthF(2.0);
    balance->setPen(line);
    chart.addSeries(bars);
    chart.addSeries(balance);

    yearAxis = new QCategoryAxis;
    yearAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    yearAxis->setGridLineVisible(false);
    paymentAxis = new QValueAxis;
    paymentAxis->setLabelFormat(QStringLiteral("%.0f"));
    balanceAxis = new QValueAxis;
    balanceAxis->setLabelFormat(QStringLiteral("%.0f"));
    balanceAxis->setGridLineVisible(false);
    chart.addAxis(yearAxis, Qt::AlignBottom);
    chart.addAxis(paymentAxis, Qt::AlignLeft);
    chart.addAxis(balanceAxis, Qt::AlignRight);
    bars->attachAxis(yearAxis);
    bars->attachAxis(paymentAxis);
    balance->attachAxis(yearAxis);
    balance->attachAxis(balanceAxis);
  } else {
    for (QAbstractAxis* axis : chart.axes()) {
      if (auto* category = qobject_cast<QCategoryAxis*>(axis)) {
        yearAxis = category;
      } else if (auto* value = qobject_cast<QValueAxis*>(axis)) {
        (value->alignment() == Qt::AlignLeft ? paymentAxis : balanceAxis) = value;
      }
    }
    if (yearAxis == nullptr || paymentAxis == nullptr || balanceAxis == nullptr) return;
  }
  chart.legend()->setFont(font);
  StyleAxis(yearAxis, font, QString::fromUtf8(kChartYearAxisText));
  yearAxis->setGridLineVisible(false);
  StyleAxis(paymentAxis, font, QString::fromUtf8(kChartPaymentAxisText));
  StyleAxis(balanceAxis, font, QString::fromUtf8(kChartBalanceAxisText));
  balanceAxis->setGridLineVisible(false);

  QList<qreal> principals;
  QList<qreal> interests;
  QList<QPointF> points;
  double largestPayment = 0.0;
  double largestBalance = 0.0;
  for (size_t i = 0; i < years.size(); ++i) {
    const ScheduleYear& y = years[i];
    const double p = ManYenOf(static_cast<double>(y.principal));
    const double r = ManYenOf(static_cast<double>(y.interest));
    const double b = ManYenOf(static_cast<double>(y.balance));
    principals.append(p);
    interests.append(r);
    points.append(QPointF(static_cast<double>(i), b));
    largestPayment = std::max(largestPayment, p + r);
    largestBalance = std::max(largestBalance, b);
  }
  const QList<QBarSet*> sets = bars->barSets();
  for (QBarSet* set : sets) set->remove(0, set->count());
  if (sets.size() == 2) {
    sets[0]->append(principals);
    sets[1]->append(interests);
  }
  balance->replace(points);

  // Bars stand at 0, 1, 2...; the axis shows year numbers (index + 1) at chosen positions.
  // The labels change only with the number of years; rebuilding them relayouts the axis.
  QStringList labels;
  const int step = LabelStep(years.size());
  for (const ScheduleYear& y : years) {
    if (y.year == 1 || y.year % step == 0) labels << QString::number(y.year);
  }
  if (yearAxis->categoriesLabels() != labels) {
    for (const QString& label : yearAxis->categoriesLabels()) yearAxis->remove(label);
    for (const QString& label : labels) yearAxis->append(label, label.toDouble() - 1.0);
  }
  yearAxis->setRange(-0.5, std::max(0.5, static_cast<double>(years.size()) - 0.5));
  paymentAxis->setRange(0.0, AxisMax(largestPayment));
  paymentAxis->applyNiceNumbers();
  balanceAxis->setRange(0.0, AxisMax(largestBalance));
  balanceAxis->applyNiceNumbers();

  const bool visible = !years.empty();
  for (QAbstractSeries* series : chart.series()) series->setVisible(visible);
  for (QAbstractAxis* axis : chart.axes()) axis->setVisible(visible);
  chart.legend()->setVisible(visible);
}

void DrawChartOnPage(QPainter& painter, const QRectF& target, const std::function<void(QChart&)>& fill) {
  if (target.width() <= 0.0 || target.height() <= 0.0) return;
  QGraphicsScene scene;
  auto* chart = new QChart;  // owned by the scene
  scene.addItem(chart);
  fill(*chart);
  const QRectF logical(0.0, 0.0, kLogicalChartWidth, kLogicalChartWidth * target.height() / target.width());
  chart->setGeometry(logical);
  if (chart->layout() != nullptr) chart->layout()->activate();
  scene.setSceneRect(logical);
  scene.render(&painter, target, logical, Qt::IgnoreAspectRatio);
}

void DrawScheduleChart(QPainter& painter, const QRectF& target, const std::vector<ScheduleYear>& years,
                       const QFont& font) {
  DrawChartOnPage(painter, target, [&](QChart& chart) { FillScheduleChart(chart, years, font); });
}

}  // namespace zorvik
