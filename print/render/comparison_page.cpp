#include "print/render/comparison_page.h"

#include <QChart>
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
#include "print/render/schedule_chart.h"
#include "print/render/sheet_renderer.h"
#include "print/schedule_pages.h"

namespace zorvik {
namespace {

constexpr double kPageWidth = 842.0;  // A4 landscape in points
constexpr double kPageHeight = 595.0;
constexpr double kMargin = 28.0;
constexpr double kHeaderHeight = 34.0;
constexpr double kFooterHeight = 14.0;
constexpr double kCaptionWidth = 150.0;
constexpr double kLargestText = 10.0;
constexpr double kSmallestText = 8.0;
constexpr double kFullChart = 180.0;
constexpr double kSmallestChart = 90.0;

QString U(const std::string& s) {
  return QString::fromStdString(s);
}

QFont PageFont(double points, bool bold = false) {
  QFont font(SheetFontFamily());
  font.setPixelSize(static_cast<int>(points + 0.5));
  font.setBold(bold);
  return font;
}

// The table as drawn: the comparison's lines, or with each plan's loan rows in one line.
std::vector<ComparisonLine> TableLines(const Comparison& c, bool collapse) {
  std::vector<ComparisonLine> lines;
  bool summarized = false;
  for (const ComparisonLine& line : c.lines) {
    if (!line.loanRow || !collapse) {
      lines.push_back(line);
      continue;
    }
    if (summarized) continue;
    summarized = true;
    ComparisonLine sum;
    sum.caption = "融資";
    sum.unit = ComparisonUnit::Text;
    for (const std::string& s : c.loanSummaries) sum.cells.push_back({s, "", 0, false});
    lines.push_back(std::move(sum));
  }
  return lines;
}

// Text rows a line takes: the figure, and under it the difference when there is a B案.
int RowsPerLine(const Comparison& c) {
  return c.columnTitles.size() > 1 ? 2 : 1;
}

double TableHeight(const Comparison& c, size_t lines, double points) {
  return (static_cast<double>(lines) * RowsPerLine(c) + 1.0) * points * 1.45;
}

struct PagePlan {
  std::vector<ComparisonLine> lines;
  ComparisonLayout layout;
  QRectF chart;  // on page 1, or (pages == 2) on page 2
};

PagePlan PlanPage(const Comparison& c) {
  PagePlan plan;
  const double top = kMargin + kHeaderHeight;
  const double bottom = kPageHeight - kMargin - kFooterHeight;
  const auto chartBelow = [&](double tableHeight) {
    return QRectF(kMargin, top + tableHeight + 8.0, kPageWidth - 2 * kMargin, bottom - top - tableHeight - 8.0);
  };
  for (const bool collapse : {false, true}) {
    plan.lines = TableLines(c, collapse);
    plan.layout.loanRowsCollapsed = collapse;
    const double h = TableHeight(c, plan.lines.size(), kLargestText);
    if (bottom - top - h - 8.0 >= kFullChart) {
      plan.layout.textPoints = kLargestText;
      plan.chart = chartBelow(h);
      return plan;
    }
  }
  for (double points = kLargestText - 0.5; points >= kSmallestText; points -= 0.5) {
    const double h = TableHeight(c, plan.lines.size(), points);
    if (bottom - top - h - 8.0 >= kSmallestChart) {
      plan.layout.textPoints = points;
      plan.chart = chartBelow(h);
      return plan;
    }
  }
  // The chart goes to a page of its own; the table takes the largest size that fits.
  plan.layout.pages = 2;
  plan.layout.textPoints = kSmallestText;
  for (double points = kLargestText; points >= kSmallestText; points -= 0.5) {
    if (TableHeight(c, plan.lines.size(), points) <= bottom - top) {
      plan.layout.textPoints = points;
      break;
    }
  }
  plan.chart = QRectF(kMargin, top, kPageWidth - 2 * kMargin, bottom - top);
  return plan;
}

void DrawHeading(QPainter& p, const ComparisonHeading& heading, const Comparison& c) {
  p.setPen(Qt::black);
  const QRectF box(kMargin, kMargin, kPageWidth - 2 * kMargin, 24.0);
  p.setFont(PageFont(16, true));
  p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, U(kComparisonTitle));
  p.setFont(PageFont(10));
  QString who = U(heading.customerName).trimmed();
  if (!who.isEmpty()) who += QStringLiteral(" 様    ");
  p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, who + U(heading.dateText));
  p.setFont(PageFont(8));
  p.drawText(QRectF(kMargin, kPageHeight - kMargin - kFooterHeight, kPageWidth - 2 * kMargin, kFooterHeight),
             Qt::AlignLeft | Qt::AlignVCenter,
             U(kCheaperLegend) + QStringLiteral("    金利シナリオ: ") + U(c.scenarioName));
}

void DrawTable(QPainter& p, const Comparison& c, const PagePlan& plan) {
  const size_t n = c.columnTitles.size();
  if (n == 0) return;
  const double t = plan.layout.textPoints;
  const double row = t * 1.45;
  const double width = (kPageWidth - 2 * kMargin - kCaptionWidth) / static_cast<double>(n);
  const QFont body = PageFont(t);
  const QFont bold = PageFont(t, true);
  double y = kMargin + kHeaderHeight;
  const QPen grid(Qt::black, 0.5);
  // Column titles with each plan's name.
  for (size_t i = 0; i < n; ++i) {
    const QRectF cell(kMargin + kCaptionWidth + width * static_cast<double>(i), y, width, row);
    p.fillRect(cell, ComparisonColor(i).lighter(185));
    p.setPen(grid);
    p.drawRect(cell);
    p.setFont(bold);
    p.drawText(cell.adjusted(3, 0, -3, 0), Qt::AlignCenter,
               p.fontMetrics().elidedText(U(c.columnTitles[i] + "  " + c.planLabels[i]), Qt::ElideRight,
                                          static_cast<int>(width - 6)));
  }
  y += row;
  const int rows = RowsPerLine(c);
  for (const ComparisonLine& line : plan.lines) {
    const double h = row * rows;
    const QRectF caption(kMargin, y, kCaptionWidth, h);
    p.fillRect(caption, QColor(0xF2, 0xF2, 0xF2));
    p.setPen(grid);
    p.drawRect(caption);
    p.setFont(body);
    p.drawText(caption.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter, U(line.caption));
    for (size_t i = 0; i < n && i < line.cells.size(); ++i) {
      const ComparisonCell& cell = line.cells[i];
      const QRectF box(kMargin + kCaptionWidth + width * static_cast<double>(i), y, width, h);
      p.setPen(grid);
      p.drawRect(box);
      p.setPen(Qt::black);
      p.setFont(cell.cheaper ? bold : body);
      const bool text = line.unit == ComparisonUnit::Text;
      const QString figure = (cell.cheaper ? U(kCheaperMark) + QLatin1Char(' ') : QString()) + U(cell.text);
      const QRectF first(box.left() + 3, box.top(), box.width() - 6, row);
      p.drawText(first, (text ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                 text ? p.fontMetrics().elidedText(figure, Qt::ElideRight, static_cast<int>(first.width())) : figure);
      if (!cell.difference.empty()) {
        p.setFont(body);
        // The sign is written out, so a monochrome printout still reads; colour only helps.
        p.setPen(cell.sign > 0 ? QColor(0xC0, 0x00, 0x00) : cell.sign < 0 ? QColor(0x00, 0x40, 0xC0) : Qt::black);
        p.drawText(QRectF(first.left(), first.bottom(), first.width(), row), Qt::AlignRight | Qt::AlignVCenter,
                   U(cell.difference));
      }
    }
    y += h;
  }
  p.setPen(Qt::black);
}

void DrawChart(QPainter& p, const Comparison& c, const QRectF& target) {
  DrawChartOnPage(p, target, [&](QChart& chart) { FillComparisonChart(chart, c, PageFont(9)); });
}

// Draws every page; `newPage` starts the next one (false stops).
bool DrawPages(QPainter& p, const QPaintDevice& device, const Comparison& c, const ComparisonHeading& heading,
               const std::function<bool()>& newPage) {
  const PagePlan plan = PlanPage(c);
  const double scale =
      std::min(static_cast<double>(device.width()) / kPageWidth, static_cast<double>(device.height()) / kPageHeight);
  p.save();
  p.scale(scale, scale);
  DrawHeading(p, heading, c);
  DrawTable(p, c, plan);
  if (plan.layout.pages == 1) DrawChart(p, c, plan.chart);
  p.restore();
  if (plan.layout.pages == 1) return true;
  if (!newPage()) return false;
  p.save();
  p.scale(scale, scale);
  DrawHeading(p, heading, c);
  DrawChart(p, c, plan.chart);
  p.restore();
  return true;
}

}  // namespace

QColor ComparisonColor(size_t index) {
  static const std::array<QColor, 4> colors = {QColor(0x1F, 0x5F, 0xB4), QColor(0xD0, 0x3A, 0x2F),
                                               QColor(0x2A, 0x8C, 0x3C), QColor(0x8A, 0x4F, 0xB0)};
  return colors[index % colors.size()];
}

void FillComparisonChart(QChart& chart, const Comparison& comparison, const QFont& font) {
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
  auto* years = new QValueAxis;
  auto* amounts = new QValueAxis;
  for (auto [axis, title] : {std::pair{years, "年目"}, std::pair{amounts, "累計返済額・残高（万円）"}}) {
    axis->setLabelsFont(font);
    axis->setTitleFont(font);
    axis->setTitleText(QString::fromUtf8(title));
    axis->setLabelFormat(QStringLiteral("%.0f"));
  }
  chart.addAxis(years, Qt::AlignBottom);
  chart.addAxis(amounts, Qt::AlignLeft);
  double longest = 1.0;
  double largest = 1.0;
  for (size_t i = 0; i < comparison.schedules.size(); ++i) {
    const PlanSchedule& s = comparison.schedules[i];
    const QString title = QString::fromStdString(i < comparison.columnTitles.size() ? comparison.columnTitles[i] : "");
    auto* paid = new QLineSeries;
    paid->setName(title + QStringLiteral(" 累計返済額"));
    QPen solid(ComparisonColor(i));
    solid.setWidthF(2.0);
    paid->setPen(solid);
    auto* balance = new QLineSeries;
    balance->setName(title + QStringLiteral(" 残高"));
    QPen dashed(ComparisonColor(i));
    dashed.setWidthF(1.5);
    dashed.setStyle(Qt::DashLine);
    balance->setPen(dashed);
    QList<QPointF> paidPoints{QPointF(0, 0)};
    QList<QPointF> balancePoints{QPointF(0, ManYenOf(static_cast<double>(s.totals.principal)))};
    double sum = 0.0;
    for (const ScheduleYear& y : s.years) {
      sum += ManYenOf(static_cast<double>(y.payment));
      paidPoints.append(QPointF(y.year, sum));
      balancePoints.append(QPointF(y.year, ManYenOf(static_cast<double>(y.balance))));
      largest = std::max({largest, sum, balancePoints.back().y()});
    }
    largest = std::max(largest, balancePoints.front().y());
    longest = std::max(longest, static_cast<double>(s.years.size()));
    paid->replace(paidPoints);
    balance->replace(balancePoints);
    for (QLineSeries* series : {paid, balance}) {
      chart.addSeries(series);
      series->attachAxis(years);
      series->attachAxis(amounts);
    }
  }
  years->setRange(0.0, longest);
  years->setTickType(QValueAxis::TicksDynamic);
  years->setTickAnchor(0.0);
  years->setTickInterval(longest <= 15 ? 1.0 : longest <= 50 ? 5.0 : 10.0);
  amounts->setRange(0.0, largest * 1.1);
  amounts->applyNiceNumbers();
}

ComparisonLayout LayOutComparisonPage(const Comparison& comparison) {
  return PlanPage(comparison).layout;
}

WriteResult WriteComparisonPdfFile(const QString& path, const Comparison& comparison,
                                   const ComparisonHeading& heading) {
  return WritePdfFile(path, [&](QIODevice& out) {
    QPdfWriter writer(&out);
    writer.setResolution(kSchedulePageDpi);
    writer.setTitle(QString::fromUtf8(kComparisonTitle));
    writer.setCreator(QStringLiteral("Zorvik"));
    if (!writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0),
                                          QPageLayout::Millimeter))) {
      return false;
    }
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    const bool ok = DrawPages(painter, writer, comparison, heading, [&writer] { return writer.newPage(); });
    return painter.end() && ok;
  });
}

bool PrintComparison(QPrinter& printer, const Comparison& comparison, const ComparisonHeading& heading) {
  printer.setDocName(QString::fromUtf8(kComparisonTitle));
  printer.setFullPage(false);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const bool ok = DrawPages(painter, printer, comparison, heading, [&printer] { return printer.newPage(); });
  return painter.end() && ok;
}

}  // namespace zorvik
