#include "print/render/scenario_render.h"

#include <QChart>
#include <QColor>
#include <QFontMetricsF>
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
#include <cmath>

#include "core/text_forms.h"
#include "core/units.h"
#include "print/render/pdf_file.h"
#include "print/render/schedule_chart.h"
#include "print/render/schedule_renderer.h"
#include "print/render/sheet_renderer.h"
#include "print/render/text_fit.h"

namespace zorvik {
namespace {

// The page is laid out in points of an A4 landscape sheet.
constexpr double kPageWidth = 842.0;
constexpr double kPageHeight = 595.0;
constexpr double kMargin = 28.0;
constexpr double kCaptionWidth = 170.0;
constexpr double kWidestColumn = 200.0;
constexpr double kTitleHeight = 30.0;
constexpr double kRowLineHeight = 13.0;
constexpr double kCellPadding = 3.0;
// Table lines: 14 points when there is room, never below 10.5 points (8-point figures).
constexpr double kLineHeight = 14.0;
constexpr double kSmallestLineHeight = 10.5;
constexpr int kSmallestFontPoints = 8;
constexpr double kSmallestChartHeight = 170.0;
// A path of many steps ("5年ごとに" over 99 years) shows at most this many lines in its cell.
constexpr int kMostPathLines = 3;
const QRectF kPageRect(0.0, 0.0, kPageWidth, kPageHeight);

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

QFont TableFont(double lineHeight) {
  return PageFont(std::max<double>(kSmallestFontPoints, lineHeight * 0.62));
}

// A column shares the page's width with the others, but one or two scenarios keep their figures
// near their captions rather than at the far edge.
double ColumnWidth(const ScenarioReport& report) {
  const double shared =
      (kPageWidth - 2 * kMargin - kCaptionWidth) / static_cast<double>(std::max<size_t>(1, report.columns.size()));
  return std::min(kWidestColumn, shared);
}

constexpr int kWrapFlags = Qt::TextWordWrap;

// The lines `text` takes when wrapped into `width` points in `font`.
int WrappedLines(const QString& text, const QFont& font, double width) {
  if (text.isEmpty()) return 1;
  const QFontMetricsF metrics(font);
  const QRectF used = metrics.boundingRect(QRectF(0, 0, width, 1e6), kWrapFlags, text);
  return std::max(1, static_cast<int>(std::lround(used.height() / metrics.height())));
}

// The text of a table cell on the page. A rate path too long for its cell shows its first steps,
// "…" and its last step, each step whole.
QString CellText(const ScenarioReport& report, const ScenarioTableLine& line, size_t column, const QFont& font) {
  const QString whole = Utf8(line.cells[column]);
  if (line.money || line.warning || column >= report.columns.size()) return whole;
  const RatePath& path = report.columns[column].scenario.path;
  const double width = ColumnWidth(report) - 2 * kCellPadding;
  if (path.size() < 3 || whole != Utf8(RatePathText(path)) || WrappedLines(whole, font, width) <= kMostPathLines) {
    return whole;
  }
  const QString last = Utf8(RatePathText({path.back()}));
  for (size_t kept = path.size() - 2; kept >= 1; --kept) {
    const QString text = Utf8(RatePathText(RatePath(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(kept)))) +
                         QStringLiteral("、…、") + last;
    if (WrappedLines(text, font, width) <= kMostPathLines || kept == 1) return text;
  }
  return whole;
}

// The height of table line `i` in units of the line height: one, two for the warning, and as
// many as its longest wrapped text needs (a rate path of many steps).
int LineUnits(const ScenarioReport& report, size_t i, double lineHeight) {
  const ScenarioTableLine& line = report.table[i];
  if (line.money) return 1;
  const QFont font = TableFont(lineHeight);
  const double textHeight = QFontMetricsF(font).height();
  const double width = ColumnWidth(report) - 2 * kCellPadding;
  int textLines = WrappedLines(Utf8(line.caption), font, kCaptionWidth - 2 * kCellPadding);
  for (size_t c = 0; c < line.cells.size() && c < report.columns.size(); ++c) {
    textLines = std::max(textLines, WrappedLines(CellText(report, line, c, font), font, width));
  }
  const int units = static_cast<int>(std::ceil(textLines * textHeight / lineHeight - 0.05));
  return std::max(line.warning ? 2 : 1, units);
}

// How the report is spread over pages: the table's lines in order, and where the chart goes.
struct ScenarioPagePlan {
  double lineHeight = kLineHeight;
  bool rowsCollapsed = false;  // the loan rows in one line (本数 and 合計)
  double headerHeight = 0.0;   // title, rows and the review sentence
  struct Page {
    size_t firstLine = 0;
    size_t endLine = 0;
    QRectF chart;  // empty: no chart on this page
  };
  std::vector<Page> pages;
};

double LinesHeight(const ScenarioReport& report, size_t first, size_t end, double lineHeight) {
  double h = lineHeight;  // the column titles
  for (size_t i = first; i < end; ++i) h += LineUnits(report, i, lineHeight) * lineHeight;
  return h;
}

double HeaderHeight(const ScenarioReport& report, bool rowsCollapsed) {
  const size_t rowLines = rowsCollapsed ? 1 : report.rows.size();
  return kTitleHeight + kRowLineHeight * static_cast<double>(rowLines + 1) + 8.0;
}

// Fits the table and the chart, in this order: the table at 14-point lines with the chart below;
// smaller lines down to 10.5 points with the chart in the height left (at least 170 points); the
// same with the loan rows collapsed into one line; else the rows in full, the table over as many
// pages as it needs and the chart on a page of its own.
ScenarioPagePlan PlanScenarioPages(const ScenarioReport& report) {
  ScenarioPagePlan plan;
  const double bottom = kPageHeight - kMargin - 14.0;  // room for a page number
  const size_t n = report.table.size();
  for (const bool collapsed : {false, true}) {
    if (collapsed && report.rows.size() < 2) break;
    const double top = kMargin + HeaderHeight(report, collapsed);
    for (const double lh : {kLineHeight, 12.0, kSmallestLineHeight}) {
      const double tableBottom = top + LinesHeight(report, 0, n, lh) + 8.0;
      if (bottom - tableBottom >= kSmallestChartHeight) {
        plan.lineHeight = lh;
        plan.rowsCollapsed = collapsed;
        plan.headerHeight = HeaderHeight(report, collapsed);
        plan.pages.push_back({0, n, QRectF(kMargin, tableBottom, kPageWidth - 2 * kMargin, bottom - tableBottom)});
        return plan;
      }
    }
  }
  plan.lineHeight = kSmallestLineHeight;
  plan.headerHeight = HeaderHeight(report, false);
  size_t first = 0;
  double pageTop = kMargin + plan.headerHeight;
  while (first < n) {
    size_t end = first;
    while (end < n && pageTop + LinesHeight(report, first, end + 1, plan.lineHeight) <= bottom) ++end;
    if (end == first) ++end;  // a line always goes somewhere
    plan.pages.push_back({first, end, QRectF()});
    first = end;
    pageTop = kMargin + kTitleHeight;
  }
  const QRectF fullChart(kMargin, kMargin + kTitleHeight, kPageWidth - 2 * kMargin, bottom - kMargin - kTitleHeight);
  plan.pages.push_back({n, n, fullChart});
  return plan;
}

// Where a page goes: onto a painter, and/or into the layout checks.
struct Canvas {
  QPainter* painter = nullptr;
  ScenarioLayoutCheck* check = nullptr;
};

// Draws `text` in `box`: on one line in `font` or, when too wide, smaller down to 8 points
// (FitTextToPixelWidth); with `wrap` over as many lines as the box holds, likewise smaller when
// needed. A text that fits even at 8 points in neither way is noted by the checks.
void PutText(Canvas& canvas, const QRectF& box, const QString& text, const QFont& font, int alignment,
             bool wrap = false, const QColor& color = Qt::black) {
  const QRectF inner = box.adjusted(kCellPadding, 0, -kCellPadding, 0);
  QFont used = font;
  QString shown = text;
  bool fits = true;
  if (!wrap) {
    const FittedText fit = FitTextToPixelWidth(text, font, static_cast<int>(inner.width()), kSmallestFontPoints);
    used = fit.font;
    shown = fit.text;
    fits = fit.asIs || (!fit.fromStart && fit.text == text);
    if (fit.fromStart) alignment = (alignment & ~static_cast<int>(Qt::AlignHorizontal_Mask)) | Qt::AlignLeft;
  } else {
    const auto holds = [&](const QFont& f) {
      const QRectF used = QFontMetricsF(f).boundingRect(inner, kWrapFlags, text);
      return used.height() <= inner.height() + 0.5 && used.width() <= inner.width() + 0.5;
    };
    fits = holds(used);
    for (int px = used.pixelSize() - 1; !fits && px >= kSmallestFontPoints; --px) {
      used.setPixelSize(px);
      fits = holds(used);
    }
  }
  if (canvas.check != nullptr) {
    ScenarioLayoutCheck& check = *canvas.check;
    const double points = used.pixelSize();
    check.smallestTextPoints = check.smallestTextPoints == 0 ? points : std::min(check.smallestTextPoints, points);
    if (!fits || !kPageRect.contains(box)) check.notFitting.push_back(text);
  }
  if (canvas.painter != nullptr) {
    canvas.painter->setPen(color);
    canvas.painter->setFont(used);
    canvas.painter->drawText(inner, alignment | (wrap ? kWrapFlags : Qt::TextSingleLine), shown);
  }
}

// The loan rows in one line: "融資 10本（変動 6本・固定期間選択 3本・全期間固定 1本）  借入額合計 819,900万".
QString CollapsedRowsText(const ScenarioReport& report) {
  if (report.columns.empty()) return QString();
  const ScenarioColumn& first = report.columns.front();
  std::array<int, 3> byType{};
  int64_t amount = 0;
  for (const RowSchedule& row : first.schedule.rows) {
    ++byType[static_cast<size_t>(first.scenario.rowTypes[static_cast<size_t>(row.row)].type)];
    amount += row.loan.loanAmount;
  }
  QStringList kinds;
  const std::array<std::pair<RateType, const char*>, 3> names = {std::pair{RateType::Variable, "変動"},
                                                                 std::pair{RateType::FixedPeriod, "固定期間選択"},
                                                                 std::pair{RateType::FullFixed, "全期間固定"}};
  for (const auto& [type, name] : names) {
    const int count = byType[static_cast<size_t>(type)];
    if (count > 0) kinds << QStringLiteral("%1 %2本").arg(QString::fromUtf8(name)).arg(count);
  }
  return QStringLiteral("融資 %1本（%2）  借入額合計 %3万")
      .arg(first.schedule.rows.size())
      .arg(kinds.join(QStringLiteral("・")), Utf8(GroupedInteger(amount)));
}

void DrawHeader(Canvas& canvas, const ScenarioReport& report, const ScenarioPagePlan& plan, size_t pageIndex) {
  const QRectF titleBox(kMargin - kCellPadding, kMargin, kPageWidth - 2 * kMargin + 2 * kCellPadding, 24.0);
  QString who = Utf8(report.customerName).trimmed();
  if (!who.isEmpty()) who += QStringLiteral(" 様    ");
  const QString right = who + Utf8(report.dateText);
  const QFont rightFont = PageFont(10);
  const double rightWidth = QFontMetricsF(rightFont).horizontalAdvance(right) + 2 * kCellPadding + 1.0;
  const double leftWidth = std::max(150.0, titleBox.width() - std::min(rightWidth, titleBox.width() - 150.0));
  PutText(canvas, QRectF(titleBox.topLeft(), QSizeF(leftWidth, titleBox.height())),
          Utf8(kScenarioTitle) + (pageIndex > 0 ? QStringLiteral("（続き）") : QString()), PageFont(16, true),
          Qt::AlignLeft | Qt::AlignVCenter);
  PutText(canvas, titleBox.adjusted(leftWidth, 0, 0, 0), right, rightFont, Qt::AlignRight | Qt::AlignVCenter);
  if (pageIndex > 0) return;
  const QFont font = PageFont(9);
  const QRectF line(kMargin - kCellPadding, kMargin + kTitleHeight, kPageWidth - 2 * kMargin + 2 * kCellPadding,
                    kRowLineHeight);
  double y = 0.0;
  const auto put = [&](const QString& text) {
    PutText(canvas, line.translated(0, y), text, font, Qt::AlignLeft | Qt::AlignVCenter);
    y += kRowLineHeight;
  };
  if (plan.rowsCollapsed) {
    put(CollapsedRowsText(report));
  } else {
    for (const ScenarioRowLine& row : report.rows) {
      put(Utf8(row.title) + QStringLiteral("    ") + Utf8(row.rateType) + QStringLiteral("    ") + Utf8(row.details));
    }
  }
  put(Utf8(report.reviewText));
}

void DrawTable(Canvas& canvas, const ScenarioReport& report, const ScenarioPagePlan::Page& page, double top,
               double lineHeight) {
  const size_t columns = report.columns.size();
  if (columns == 0) return;
  const double width = ColumnWidth(report);
  const QFont body = TableFont(lineHeight);
  QFont bold = body;
  bold.setBold(true);
  QPainter* painter = canvas.painter;
  double y = top;
  // Column titles: the scenario's letter in its colour.
  for (size_t c = 0; c < columns; ++c) {
    const QRectF cell(kMargin + kCaptionWidth + width * static_cast<double>(c), y, width, lineHeight);
    if (painter != nullptr) {
      painter->fillRect(cell, ScenarioColor(c).lighter(185));
      painter->setPen(QPen(Qt::black, 0.5));
      painter->drawRect(cell);
    }
    PutText(canvas, cell, QStringLiteral("シナリオ %1").arg(QChar(u'A' + static_cast<char16_t>(c))), bold,
            Qt::AlignCenter);
  }
  y += lineHeight;
  for (size_t i = page.firstLine; i < page.endLine; ++i) {
    const ScenarioTableLine& line = report.table[i];
    const double h = LineUnits(report, i, lineHeight) * lineHeight;
    const QRectF caption(kMargin, y, kCaptionWidth, h);
    if (painter != nullptr) {
      painter->fillRect(caption, QColor(0xF2, 0xF2, 0xF2));
      painter->setPen(QPen(Qt::black, 0.5));
      painter->drawRect(caption);
    }
    PutText(canvas, caption, Utf8(line.caption), body, Qt::AlignLeft | Qt::AlignVCenter, h > lineHeight);
    for (size_t c = 0; c < columns && c < line.cells.size(); ++c) {
      const QRectF cell(kMargin + kCaptionWidth + width * static_cast<double>(c), y, width, h);
      if (painter != nullptr) {
        painter->setPen(QPen(Qt::black, 0.5));
        painter->drawRect(cell);
      }
      const QColor color = line.warning ? QColor(0xC0, 0x00, 0x00) : QColor(Qt::black);
      if (line.money) {
        PutText(canvas, cell, Utf8(line.cells[c]), body, Qt::AlignRight | Qt::AlignVCenter, false, color);
      } else {
        PutText(canvas, cell, CellText(report, line, c, body), body, Qt::AlignCenter, h > lineHeight, color);
      }
    }
    y += h;
  }
  if (painter != nullptr) painter->setPen(Qt::black);
}

void DrawPageNumber(Canvas& canvas, int number, int count) {
  if (count <= 1) return;
  PutText(canvas, QRectF(kMargin, kPageHeight - kMargin - 12.0, kPageWidth - 2 * kMargin, 12.0),
          QStringLiteral("%1 / %2").arg(number).arg(count), PageFont(8), Qt::AlignCenter);
}

// Draws page `index` of the plan in page points; `number`/`count` number it within the document.
void DrawScenarioPage(Canvas& canvas, const ScenarioReport& report, const ScenarioPagePlan& plan, size_t index,
                      int number, int count) {
  const ScenarioPagePlan::Page& page = plan.pages[index];
  DrawHeader(canvas, report, plan, index);
  if (page.endLine > page.firstLine) {
    const double top = index == 0 ? kMargin + plan.headerHeight : kMargin + kTitleHeight;
    DrawTable(canvas, report, page, top, plan.lineHeight);
  }
  if (!page.chart.isEmpty() && canvas.painter != nullptr) {
    DrawChartOnPage(*canvas.painter, page.chart, [&](QChart& chart) { FillScenarioChart(chart, report, PageFont(9)); });
  }
  DrawPageNumber(canvas, number, count);
}

void DrawScenarioPage(QPainter& painter, const ScenarioReport& report, const ScenarioPagePlan& plan, size_t index,
                      int number, int count) {
  Canvas canvas{&painter, nullptr};
  DrawScenarioPage(canvas, report, plan, index, number, count);
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
  for (auto [axis, title] :
       {std::pair{yearAxis, "年目"}, std::pair{paymentAxis, "返済額（円）"}, std::pair{balanceAxis, "残高（万円）"}}) {
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
      // The axis follows the regular payments: a last payment carrying deferred interest can be
      // many times larger and runs off the top (the table shows it as 最終回の返済額).
      if (column.summary.highestMonthly == 0) largestPayment = std::max(largestPayment, y);
    }
    largestPayment = std::max(largestPayment, static_cast<double>(column.summary.highestMonthly));
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

ScenarioLayoutCheck CheckScenarioLayout(const ScenarioReport& report) {
  const ScenarioPagePlan plan = PlanScenarioPages(report);
  ScenarioLayoutCheck check;
  check.pages = plan.pages.size();
  check.rowsCollapsed = plan.rowsCollapsed;
  check.tableLinePoints = plan.lineHeight;
  check.firstPageChartHeight = plan.pages.empty() ? 0.0 : plan.pages.front().chart.height();
  Canvas canvas{nullptr, &check};
  for (size_t i = 0; i < plan.pages.size(); ++i) {
    DrawScenarioPage(canvas, report, plan, i, static_cast<int>(i) + 1, static_cast<int>(plan.pages.size()));
    if (!plan.pages[i].chart.isEmpty() && !kPageRect.contains(plan.pages[i].chart)) {
      check.notFitting.push_back(QStringLiteral("chart"));
    }
  }
  return check;
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
