#include "print/schedule_pages.h"

#include <algorithm>
#include <array>

#include "core/plan_texts.h"
#include "core/text_forms.h"
#include "core/units.h"

namespace zorvik {
namespace {

// Content area inside the printable area: 240 pixels (about 10 mm) of extra margin each side.
constexpr int kLeft = 240;
constexpr int kRight = kSchedulePageWidth - 240;
constexpr int kContentWidth = kRight - kLeft;
constexpr int kTop = 200;
constexpr int kBottom = kSchedulePageHeight - 330;  // above the page number
constexpr int kRowHeight = 100;                     // one line of a table
constexpr int kCellInset = 30;                      // numbers keep this distance from the border
// The heading of a year table: its title, the row's details (not for the whole plan) and the
// totals line with a small gap under it.
constexpr int kTableTitleHeight = 130;
constexpr int kTextLineHeight = 110;
constexpr int kTotalsLineHeight = kTextLineHeight + 20;

// Point size to pixels at 600 dpi; the sizes are those of an ordinary printed table.
SheetFont Font(FontRole role, int tenthsOfPoint) {
  SheetFont f;
  f.role = role;
  f.tenths = tenthsOfPoint;
  f.pixelHeight = tenthsOfPoint * kSchedulePageDpi / 720;
  return f;
}
const SheetFont kTitleFont = Font(FontRole::Title, 180);
const SheetFont kHeadingFont = Font(FontRole::Body, 110);
const SheetFont kBodyFont = Font(FontRole::Body, 85);

std::string TotalsText(const ScheduleTotals& t) {
  return std::string(kTotalRepaidLabel) + " " + FormatScheduleYen(t.totalRepaid) + "    " + kTotalInterestLabel + " " +
         FormatScheduleYen(t.totalInterest) + "    " + kPayoffYearsLabel + " " + FormatPayoffYears(t.years);
}

class PageBuilder : public PageOpWriter {
 public:
  explicit PageBuilder(SchedulePages& out) : out_(out) {}

  SchedulePage& NewPage() {
    out_.pages.emplace_back();
    WriteTo(out_.pages.back().ops);
    font_ = nullptr;
    return out_.pages.back();
  }
  SchedulePage& page() { return out_.pages.back(); }

  // Selects `font` for the texts that follow, unless it is selected already.
  void UseFont(const SheetFont& font) {
    if (font_ == &font) return;
    font_ = &font;
    Font(font);
  }

  // A row of boxes over `edges` (n + 1 x positions) with a text in each.
  void TableRow(const std::vector<int>& edges, int top, int bottom, const std::vector<std::string>& texts,
                const std::vector<TextMode>& modes) {
    for (size_t c = 0; c + 1 < edges.size(); ++c) Rect(edges[c], top, edges[c + 1], bottom);
    for (size_t c = 0; c + 1 < edges.size() && c < texts.size(); ++c) {
      const TextMode mode = modes[c];
      const int inset = mode == TextMode::MiddleCentre ? 0 : kCellInset;
      Text(mode, edges[c] + inset, top, edges[c + 1] - inset, bottom, texts[c]);
    }
  }

 private:
  SchedulePages& out_;
  const SheetFont* font_ = nullptr;
};

std::vector<int> Edges(std::initializer_list<int> widths) {
  std::vector<int> edges{kLeft};
  for (int w : widths) edges.push_back(edges.back() + w);
  edges.back() = kRight;  // the last column takes up any rounding
  return edges;
}

// The small heading of the pages after the first: title, customer, date.
void RunningHead(PageBuilder& b, const FundingPlan& plan) {
  b.UseFont(kBodyFont);
  b.Text(TextMode::BottomLeft, kLeft, kTop - 100, kRight, kTop,
         std::string(kScheduleTitle) + "    " + plan.customerName + "  様");
  b.Text(TextMode::BottomRight, kLeft, kTop - 100, kRight, kTop, CreatedDateText(CreatedDate(plan)));
  b.Line(kLeft, kTop + 10, kRight, kTop + 10);
}

void FirstPage(PageBuilder& b, const FundingPlan& plan, const PlanSchedule& s) {
  b.NewPage();
  // Title band.
  b.UseFont(kTitleFont);
  b.Text(TextMode::BottomCentre, kLeft, kTop, kRight, kTop + 300, "返 済 予 定 表");
  b.Line(kLeft + kContentWidth / 3, kTop + 320, kRight - kContentWidth / 3, kTop + 320);
  b.UseFont(kHeadingFont);
  b.Text(TextMode::BottomLeft, kLeft, kTop + 360, kRight, kTop + 520, "  " + plan.customerName + "  様");
  b.Line(kLeft, kTop + 540, kLeft + kContentWidth / 2, kTop + 540);
  b.UseFont(kBodyFont);
  b.Text(TextMode::BottomRight, kLeft, kTop + 360, kRight, kTop + 520, CreatedDateText(CreatedDate(plan)));

  // Summary of the plan: four labelled boxes.
  int y = kTop + 680;
  b.UseFont(kHeadingFont);
  b.Text(TextMode::MiddleLeft, kLeft, y, kRight, y + 120, kWholePlanText);
  y += 140;
  const std::vector<int> four = Edges({1060, 1060, 1060, 1060});
  const std::vector<TextMode> centred(4, TextMode::MiddleCentre);
  b.UseFont(kBodyFont);
  b.TableRow(four, y, y + 130, {kLoanAmountLabel, kTotalRepaidLabel, kTotalInterestLabel, kPayoffYearsLabel}, centred);
  y += 130;
  b.UseFont(kHeadingFont);
  b.TableRow(four, y, y + 170,
             {FormatScheduleManYen(WholeManYen(s.totals.principal)), FormatScheduleYen(s.totals.totalRepaid),
              FormatScheduleYen(s.totals.totalInterest), FormatPayoffYears(s.totals.years)},
             std::vector<TextMode>(4, TextMode::MiddleRight));
  y += 250;

  // The schedule's notes (rows left out, stored payments that differ), one a line.
  const std::vector<std::string> notes = ScheduleNotes(s);
  if (!notes.empty()) {
    b.UseFont(kBodyFont);
    y -= 40;
    for (const std::string& note : notes) {
      b.Text(TextMode::MiddleLeft, kLeft, y, kRight, y + 110, note);
      y += 110;
    }
    y += 80;
  }

  if (s.rows.empty()) {
    b.UseFont(kHeadingFont);
    b.Text(TextMode::MiddleCentre, kLeft, y, kRight, y + 200, kNoScheduleText);
    return;
  }

  // The rows with their totals.
  const std::vector<int> cols = Edges({220, 1040, 440, 440, 300, 560, 620, 620});
  const std::vector<TextMode> headerModes(8, TextMode::MiddleCentre);
  const std::vector<TextMode> rowModes = {TextMode::MiddleCentre, TextMode::MiddleLeft,  TextMode::MiddleCentre,
                                          TextMode::MiddleRight,  TextMode::MiddleRight, TextMode::MiddleRight,
                                          TextMode::MiddleRight,  TextMode::MiddleRight};
  b.UseFont(kBodyFont);
  b.TableRow(cols, y, y + kRowHeight, {"行", "融資名", "返済方法", "金利", "期間", "借入額", "総返済額", "利息総額"},
             headerModes);
  y += kRowHeight;
  for (const RowSchedule& r : s.rows) {
    b.TableRow(cols, y, y + kRowHeight,
               {std::to_string(r.row + 1), r.loan.loanName, MethodText(r.loan.method), FormatRate(r.loan.ratePercent),
                FormatPeriod(r.loan.periodYears), FormatScheduleManYen(WholeManYen(r.totals.principal)),
                FormatScheduleYen(r.totals.totalRepaid), FormatScheduleYen(r.totals.totalInterest)},
               rowModes);
    y += kRowHeight;
  }

  // The chart of the plan's years fills the rest of the page.
  y += 120;
  b.UseFont(kHeadingFont);
  b.Text(TextMode::MiddleLeft, kLeft, y, kRight, y + 120, kScheduleChartCaption);
  y += 140;
  SchedulePage& page = b.page();
  page.hasChart = true;
  page.chartBox = {kLeft, y, kRight, kBottom};
}

const std::vector<int>& YearColumns() {
  static const std::vector<int> cols = Edges({560, 920, 920, 920, 920});
  return cols;
}

void YearHeader(PageBuilder& b, int y) {
  b.UseFont(kBodyFont);
  b.TableRow(YearColumns(), y, y + kRowHeight,
             {kScheduleYearHeaders[0], kScheduleYearHeaders[1], kScheduleYearHeaders[2], kScheduleYearHeaders[3],
              kScheduleYearHeaders[4]},
             std::vector<TextMode>(5, TextMode::MiddleCentre));
}

// One year table from `y` on (a new page when fewer than five of its lines would fit); returns
// where the next table may start.
int YearTable(PageBuilder& b, const FundingPlan& plan, int y, const std::string& title, const std::string& details,
              const ScheduleTotals& totals, const std::vector<ScheduleYear>& years) {
  const int headingHeight = kTableTitleHeight + (details.empty() ? 0 : kTextLineHeight) + kTotalsLineHeight;
  const int needed = headingHeight + kRowHeight * (1 + std::min<int>(5, static_cast<int>(years.size())));
  if (y + needed > kBottom) {
    b.NewPage();
    RunningHead(b, plan);
    y = kTop + 100;
  }
  b.UseFont(kHeadingFont);
  b.Text(TextMode::MiddleLeft, kLeft, y, kRight, y + kTableTitleHeight, title);
  y += kTableTitleHeight;
  b.UseFont(kBodyFont);
  if (!details.empty()) {
    b.Text(TextMode::MiddleLeft, kLeft, y, kRight, y + kTextLineHeight, details);
    y += kTextLineHeight;
  }
  b.Text(TextMode::MiddleLeft, kLeft, y, kRight, y + kTextLineHeight, TotalsText(totals));
  y += kTotalsLineHeight;
  YearHeader(b, y);
  y += kRowHeight;
  const std::vector<TextMode> modes = {TextMode::MiddleCentre, TextMode::MiddleRight, TextMode::MiddleRight,
                                       TextMode::MiddleRight, TextMode::MiddleRight};
  for (const ScheduleYear& yr : years) {
    if (y + kRowHeight > kBottom) {
      b.NewPage();
      RunningHead(b, plan);
      y = kTop + 100;
      b.UseFont(kBodyFont);
      b.Text(TextMode::MiddleLeft, kLeft, y, kRight, y + kTextLineHeight, title + "（続き）");
      y += kTotalsLineHeight;
      YearHeader(b, y);
      y += kRowHeight;
    }
    b.TableRow(YearColumns(), y, y + kRowHeight,
               {std::to_string(yr.year), FormatScheduleYen(yr.payment), FormatScheduleYen(yr.principal),
                FormatScheduleYen(yr.interest), FormatScheduleYen(yr.balance)},
               modes);
    y += kRowHeight;
  }
  return y + 200;
}

void PageNumbers(SchedulePages& pages, size_t pagesBefore) {
  const size_t count = pages.pages.size();
  for (size_t i = 0; i < count; ++i) {
    PageOpWriter w(&pages.pages[i].ops);
    w.Font(kBodyFont);
    w.Text(TextMode::MiddleCentre, kLeft, kSchedulePageHeight - 200, kRight, kSchedulePageHeight - 60,
           std::to_string(pagesBefore + i + 1) + " / " + std::to_string(pagesBefore + count));
  }
}

}  // namespace

SchedulePages BuildSchedulePages(const FundingPlan& plan, const PlanSchedule& schedule, int pagesBefore) {
  SchedulePages pages;
  pages.chartYears = schedule.years;
  PageBuilder b(pages);
  FirstPage(b, plan, schedule);
  if (!schedule.rows.empty()) {
    b.NewPage();
    RunningHead(b, plan);
    int y = kTop + 100;
    y = YearTable(b, plan, y, std::string(kWholePlanText), std::string(), schedule.totals, schedule.years);
    for (const RowSchedule& r : schedule.rows) {
      y = YearTable(b, plan, y, ScheduleRowTitle(r.row, r.loan.loanName), ScheduleRowDetails(r.loan), r.totals,
                    r.years);
    }
  }
  PageNumbers(pages, static_cast<size_t>(std::max(0, pagesBefore)));
  return pages;
}

std::string FormatSchedulePages(const SchedulePages& pages) {
  std::string out;
  for (size_t i = 0; i < pages.pages.size(); ++i) {
    const SchedulePage& page = pages.pages[i];
    out += "page " + std::to_string(i + 1) + "\n";
    PageModel model;
    model.ops = page.ops;
    out += FormatPageModel(model);
    if (page.hasChart) {
      const PageBox& c = page.chartBox;
      out += "chart " + std::to_string(c.left) + " " + std::to_string(c.top) + " " + std::to_string(c.right) + " " +
             std::to_string(c.bottom) + "\n";
    }
  }
  return out;
}

}  // namespace zorvik
