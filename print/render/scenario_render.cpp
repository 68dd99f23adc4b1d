#include "print/render/scenario_render.h"

#include <QChart>
#include <QColor>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPrinter>
#include <QValueAxis>
#include <algorithm>
#include <array>

#include "core/units.h"
#include "print/render/pdf_file.h"
#include "print/render/schedule_renderer.h"
#include "print/render/sheet_renderer.h"

namespace zorvik {
namespace {

// The page is laid out in points of an A4 landscape sheet.
constexpr double kPageWidth = 842.0;
constexpr double kPageHeight = 595.0;
constexpr double kMargin = 28.0;
constexpr double kCaptionWidth = 170.0;
// Table lines: 14 points when there is room, never below 10.5 points (8-point figures).
constexpr double kLineHeight = 14.0;
constexpr double kSmallestLineHeight = 10.5;
constexpr double kSmallestChartHeight = 170.0;
constexpr double kLogicalChartWidth = 800.0;

// A font sized in page points (the painter maps points onto the device).
QFont PageFont(double points, bool bold = false) {
  QFont font(SheetFontFamily());
  font.setPixelSize(static_cast<int>(points + 0.5));
  font.setBold(bold);
  return font;
}

QString Utf8(const std::string& text) {
  return QString::fromStdString(text);
}

// How the report is spread over pages: the table's lines in order, and where the chart goes.
struct ScenarioPagePlan {
  double lineHeight = kLineHeight;
  double headerHeight = 0.0;  // title, rows and the review sentence
  struct Page {
    size_t firstLine = 0;
    size_t endLine = 0;
    QRectF chart;  // empty: no chart on this page
  };
  std::vector<Page> pages;
};

double LinesHeight(const ScenarioReport& report, size_t first, size_t end, double lineHeight) {
  double h = lineHeight;  // the column titles
  for (size_t i = first; i < end; ++i) h += report.table[i].warning ? 2 * lineHeight : lineHeight;
  return h;
}

// Fits the table and the chart: the table at 14-point lines with the chart below; else smaller
// lines down to 10.5 points and the chart in the height left (at least 170 points); else the
// chart on a page of its own after the table, which runs on over as many pages as it needs.
ScenarioPagePlan PlanScenarioPages(const ScenarioReport& report) {
  ScenarioPagePlan plan;
  plan.headerHeight = 30.0 + 13.0 * static_cast<double>(report.rows.size() + 1) + 8.0;
  const double top = kMargin + plan.headerHeight;
  const double bottom = kPageHeight - kMargin - 14.0;  // room for a page number
  const size_t n = report.table.size();
  const QRectF fullChart(kMargin, kMargin + 30.0, kPageWidth - 2 * kMargin, bottom - kMargin - 30.0);
  for (const double lh : {kLineHeight, 12.0, kSmallestLineHeight}) {
    const double tableBottom = top + LinesHeight(report, 0, n, lh) + 8.0;
    if (bottom - tableBottom >= kSmallestChartHeight) {
      plan.lineHeight = lh;
      plan.pages.push_back({0, n, QRectF(kMargin, tableBottom, kPageWidth - 2 * kMargin, bottom - tableBottom)});
      return plan;
    }
  }
  plan.lineHeight = kSmallestLineHeight;
  size_t first = 0;
  double pageTop = top;
  while (first < n) {
    size_t end = first;
    while (end < n && pageTop + LinesHeight(report, first, end + 1, plan.lineHeight) <= bottom) ++end;
    if (end == first) ++end;  // a line always goes somewhere
    plan.pages.push_back({first, end, QRectF()});
    first = end;
    pageTop = kMargin + 30.0;
  }
  plan.pages.push_back({n, n, fullChart});
  return plan;
}

void DrawHeader(QPainter& painter, const ScenarioReport& report, size_t pageIndex) {
  painter.setPen(Qt::black);
  painter.setFont(PageFont(16, true));
  const QRectF titleBox(kMargin, kMargin, kPageWidth - 2 * kMargin, 24.0);
  painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter,
                   Utf8(kScenarioTitle) + (pageIndex > 0 ? QStringLiteral("（続き）") : QString()));
  painter.setFont(PageFont(10));
  QString who = Utf8(report.customerName).trimmed();
  if (!who.isEmpty()) who += QStringLiteral(" 様    ");
  painter.drawText(titleBox, Qt::AlignRight | Qt::AlignVCenter, who + Utf8(report.dateText));
  if (pageIndex > 0) return;
  painter.setFont(PageFont(9));
  double y = kMargin + 30.0;
  for (const ScenarioRowLine& row : report.rows) {
    const QString text =
        Utf8(row.title) + QStringLiteral("    ") + Utf8(row.rateType) + QStringLiteral("    ") + Utf8(row.details);
    painter.drawText(QRectF(kMargin, y, kPageWidth - 2 * kMargin, 13.0), Qt::AlignLeft | Qt::AlignVCenter, text);
    y += 13.0;
  }
  painter.drawText(QRectF(kMargin, y, kPageWidth - 2 * kMargin, 13.0), Qt::AlignLeft | Qt::AlignVCenter,
                   Utf8(report.reviewText));
}

void DrawTable(QPainter& painter, const ScenarioReport& report, const ScenarioPagePlan::Page& page, double top,
               double lineHeight) {
  const size_t columns = report.columns.size();
  if (columns == 0) return;
  const double width = (kPageWidth - 2 * kMargin - kCaptionWidth) / static_cast<double>(columns);
  const QFont body = PageFont(std::max(8.0, lineHeight * 0.62));
  QFont bold = body;
  bold.setBold(true);
  double y = top;
  // Column titles: the scenario's letter in its colour.
  painter.setFont(bold);
  for (size_t c = 0; c < columns; ++c) {
    const QRectF cell(kMargin + kCaptionWidth + width * static_cast<double>(c), y, width, lineHeight);
    painter.fillRect(cell, ScenarioColor(c).lighter(185));
    painter.setPen(QPen(Qt::black, 0.5));
    painter.drawRect(cell);
    painter.drawText(cell, Qt::AlignCenter, QStringLiteral("シナリオ %1").arg(QChar(u'A' + static_cast<char16_t>(c))));
  }
  y += lineHeight;
  for (size_t i = page.firstLine; i < page.endLine; ++i) {
    const ScenarioTableLine& line = report.table[i];
    const double h = line.warning ? 2 * lineHeight : lineHeight;
    const QRectF caption(kMargin, y, kCaptionWidth, h);
    painter.fillRect(caption, QColor(0xF2, 0xF2, 0xF2));
    painter.setPen(QPen(Qt::black, 0.5));
    painter.drawRect(caption);
    painter.setFont(body);
    painter.drawText(caption.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                     Utf8(line.caption));
    for (size_t c = 0; c < columns && c < line.cells.size(); ++c) {
      const QRectF cell(kMargin + kCaptionWidth + width * static_cast<double>(c), y, width, h);
      painter.setPen(QPen(Qt::black, 0.5));
      painter.drawRect(cell);
      painter.setPen(line.warning ? QColor(0xC0, 0x00, 0x00) : QColor(Qt::black));
      const int align = line.money ? (Qt::AlignRight | Qt::AlignVCenter) : (Qt::AlignCenter | Qt::TextWrapAnywhere);
      painter.drawText(cell.adjusted(3, 0, -3, 0), align, Utf8(line.cells[c]));
    }
    y += h;
  }
  painter.setPen(Qt::black);
}

void DrawPageNumber(QPainter& painter, int number, int count) {
  if (count <= 1) return;
  painter.setFont(PageFont(8));
  painter.drawText(QRectF(kMargin, kPageHeight - kMargin - 12.0, kPageWidth - 2 * kMargin, 12.0), Qt::AlignCenter,
                   QStringLiteral("%1 / %2").arg(number).arg(count));
}

// Draws page `index` of the plan in page points; `number`/`count` number it within the document.
void DrawScenarioPage(QPainter& painter, const ScenarioReport& report, const ScenarioPagePlan& plan, size_t index,
                      int number, int count) {
  const ScenarioPagePlan::Page& page = plan.pages[index];
  DrawHeader(painter, report, index);
  if (page.endLine > page.firstLine) {
    const double top = index == 0 ? kMargin + plan.headerHeight : kMargin + 30.0;
    DrawTable(painter, report, page, top, plan.lineHeight);
  }
  if (!page.chart.isEmpty()) {
    QGraphicsScene scene;
    auto* chart = new QChart;  // owned by the scene
    scene.addItem(chart);
    FillScenarioChart(*chart, report, PageFont(9));
    const QRectF logical(0.0, 0.0, kLogicalChartWidth, kLogicalChartWidth * page.chart.height() / page.chart.width());
    chart->setGeometry(logical);
    if (chart->layout() != nullptr) chart->layout()->activate();
    scene.setSceneRect(logical);
    scene.render(&painter, page.chart, logical, Qt::IgnoreAspectRatio);
  }
  DrawPageNumber(painter, number, count);
}

bool SetLayout(QPdfWriter& writer, QPageLayout::Orientation orientation) {
  return writer.setPageLayout(
      QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

// Scales page points onto the writer's current page.
void PlacePage(QPainter& painter, const QPaintDevice& device) {
  const double scale =
      std::min(static_cast<double>(device.width()) / kPageWidth, static_cast<double>(device.height()) / kPageHeight);
  painter.scale(scale, scale);
}

}  // namespace

QColor ScenarioColor(size_t index) {
  static const std::array<QColor, 4> colors = {QColor(0x1F, 0x5F, 0xB4), QColor(0xD0, 0x3A, 0x2F),
                                               QColor(0x2A, 0x8C, 0x3C), QColor(0x8A, 0x4F, 0xB0)};
  return colors[index % colors.size()];
}

void FillScenarioChart(QChart& chart, const ScenarioReport& report, const QFont& font) {
  chart.removeAllSeries();
  for (QAbstractAxis* axis : chart.axes()) {
    chart.removeAxis(axis);
    delete axis;
  }
  chart.setAnimationOptions(QChart::NoAnimation);
  chart.setBackgroundRoundness(0);
  chart.setDropShadowEnabled(false);
  chart.setMargins(QMargins(4, 4, 4, 4));
  chart.legend()->setAlignment(Qt::AlignBottom);
  chart.legend()->setFont(font);
  QLocale numbers(QLocale::Japanese, QLocale::Japan);
  numbers.setNumberOptions(QLocale::DefaultNumberOptions);
  chart.setLocale(numbers);
  chart.setLocalizeNumbers(true);

  auto* yearAxis = new QValueAxis;
  auto* paymentAxis = new QValueAxis;
  auto* balanceAxis = new QValueAxis;
  QFont titleFont = font;
  for (auto [axis, title] : {std::pair{yearAxis, "年目"}, std::pair{paymentAxis, "月々の返済額（円）"},
                             std::pair{balanceAxis, "残高（万円）"}}) {
    axis->setLabelsFont(font);
    axis->setTitleFont(titleFont);
    axis->setTitleText(QString::fromUtf8(title));
    axis->setLabelFormat(QStringLiteral("%.0f"));
  }
  balanceAxis->setGridLineVisible(false);
  chart.addAxis(yearAxis, Qt::AlignBottom);
  chart.addAxis(paymentAxis, Qt::AlignLeft);
  chart.addAxis(balanceAxis, Qt::AlignRight);

  double years = 1.0;
  double largestPayment = 0.0;
  double largestBalance = 0.0;
  for (size_t c = 0; c < report.columns.size(); ++c) {
    const ScenarioColumn& column = report.columns[c];
    const QString letter = QChar(u'A' + static_cast<char16_t>(c));
    // The monthly payment as steps: a point where each payment starts, and one where it ends.
    auto* payment = new QLineSeries;
    payment->setName(letter + QStringLiteral(" 月々の返済額"));
    QPen paymentPen(ScenarioColor(c));
    paymentPen.setWidthF(2.0);
    payment->setPen(paymentPen);
    QList<QPointF> steps;
    const auto& monthly = column.summary.monthlyPayments;
    for (size_t k = 0; k < monthly.size(); ++k) {
      const double x = static_cast<double>(k) / 12.0;
      const double y = static_cast<double>(monthly[k]);
      if (k == 0 || monthly[k] != monthly[k - 1]) {
        if (k > 0) steps.append(QPointF(x, static_cast<double>(monthly[k - 1])));
        steps.append(QPointF(x, y));
      }
      largestPayment = std::max(largestPayment, y);
    }
    if (!monthly.empty()) {
      steps.append(QPointF(static_cast<double>(monthly.size()) / 12.0, static_cast<double>(monthly.back())));
    }
    years = std::max(years, static_cast<double>(monthly.size()) / 12.0);
    payment->replace(steps);
    // The balance at each year's end, dashed, against the right axis.
    auto* balance = new QLineSeries;
    balance->setName(letter + QStringLiteral(" 残高"));
    QPen balancePen(ScenarioColor(c));
    balancePen.setWidthF(1.5);
    balancePen.setStyle(Qt::DashLine);
    balance->setPen(balancePen);
    QList<QPointF> points{QPointF(0.0, ManYenOf(static_cast<double>(column.schedule.totals.principal)))};
    for (const ScheduleYear& y : column.schedule.years) {
      const double b = ManYenOf(static_cast<double>(y.balance));
      points.append(QPointF(static_cast<double>(y.year), b));
      largestBalance = std::max(largestBalance, b);
    }
    largestBalance = std::max(largestBalance, points.front().y());
    years = std::max(years, static_cast<double>(column.schedule.years.size()));
    balance->replace(points);
    chart.addSeries(payment);
    chart.addSeries(balance);
    payment->attachAxis(yearAxis);
    payment->attachAxis(paymentAxis);
    balance->attachAxis(yearAxis);
    balance->attachAxis(balanceAxis);
  }
  yearAxis->setRange(0.0, years);
  yearAxis->setTickType(QValueAxis::TicksDynamic);
  yearAxis->setTickAnchor(0.0);
  yearAxis->setTickInterval(years <= 15 ? 1.0 : years <= 50 ? 5.0 : 10.0);
  paymentAxis->setRange(0.0, largestPayment > 0 ? largestPayment * 1.1 : 1.0);
  paymentAxis->applyNiceNumbers();
  balanceAxis->setRange(0.0, largestBalance > 0 ? largestBalance * 1.1 : 1.0);
  balanceAxis->applyNiceNumbers();
}

size_t ScenarioPageCount(const ScenarioReport& report) {
  return PlanScenarioPages(report).pages.size();
}

void RenderScenarioPage(QPainter& painter, const QRectF& page, const ScenarioReport& report) {
  const ScenarioPagePlan plan = PlanScenarioPages(report);
  painter.save();
  painter.translate(page.topLeft());
  painter.scale(page.width() / kPageWidth, page.height() / kPageHeight);
  DrawScenarioPage(painter, report, plan, 0, 1, 1);
  painter.restore();
}

bool WriteScenarioPdf(QIODevice& out, const ScenarioReport& report, const PageModel* sheet,
                      const SchedulePages* schedulePages) {
  QPdfWriter writer(&out);
  writer.setResolution(kSchedulePageDpi);
  writer.setTitle(QString::fromUtf8(sheet != nullptr ? kSheetDocumentName : kScenarioTitle));
  writer.setCreator(QStringLiteral("Zorvik"));
  if (!SetLayout(writer, QPageLayout::Landscape)) return false;
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  bool ok = true;
  const ScenarioPagePlan plan = PlanScenarioPages(report);
  const int before = sheet != nullptr ? 1 : 0;
  const int count = before + static_cast<int>(plan.pages.size()) +
                    (schedulePages != nullptr ? static_cast<int>(schedulePages->pages.size()) : 0);
  if (sheet != nullptr) {
    painter.save();
    painter.translate(std::max(0, (writer.width() - sheet->metrics.H) / 2),
                      std::max(0, (writer.height() - sheet->metrics.V) / 2));
    RenderPageModel(painter, *sheet);
    painter.restore();
  }
  for (size_t i = 0; i < plan.pages.size() && ok; ++i) {
    if ((i > 0 || sheet != nullptr) && !writer.newPage()) ok = false;
    if (!ok) break;
    painter.save();
    PlacePage(painter, writer);
    DrawScenarioPage(painter, report, plan, i, before + static_cast<int>(i) + 1, count);
    painter.restore();
  }
  if (schedulePages != nullptr) {
    for (size_t i = 0; i < schedulePages->pages.size() && ok; ++i) {
      if (!SetLayout(writer, QPageLayout::Portrait) || !writer.newPage()) {
        ok = false;
        break;
      }
      painter.save();
      painter.translate(std::max(0, (writer.width() - schedulePages->width) / 2),
                        std::max(0, (writer.height() - schedulePages->height) / 2));
      RenderSchedulePage(painter, *schedulePages, i);
      painter.restore();
    }
  }
  return painter.end() && ok;
}

WriteResult WriteScenarioPdfFile(const QString& path, const ScenarioReport& report) {
  return WritePdfFile(path, [&](QIODevice& out) { return WriteScenarioPdf(out, report, nullptr, nullptr); });
}

WriteResult WriteSheetAndScenarioPdfFile(const QString& path, const PageModel& sheet, const ScenarioReport& report,
                                         const SchedulePages* schedulePages) {
  return WritePdfFile(path, [&](QIODevice& out) { return WriteScenarioPdf(out, report, &sheet, schedulePages); });
}

bool PrintScenarioReport(QPrinter& printer, const ScenarioReport& report) {
  printer.setDocName(QString::fromUtf8(kScenarioTitle));
  printer.setFullPage(false);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const ScenarioPagePlan plan = PlanScenarioPages(report);
  bool ok = true;
  for (size_t i = 0; i < plan.pages.size() && ok; ++i) {
    if (i > 0 && !printer.newPage()) ok = false;
    if (!ok) break;
    painter.save();
    PlacePage(painter, printer);
    DrawScenarioPage(painter, report, plan, i, static_cast<int>(i) + 1, static_cast<int>(plan.pages.size()));
    painter.restore();
  }
  return painter.end() && ok;
}

}  // namespace zorvik
