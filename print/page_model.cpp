#include "print/page_model.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/control_ids.h"

namespace zorvik {

namespace {

// Scale factor of one axis: the ratio to the reference page in whole hundredths (integer
// division first), then as a double. 64-bit so that a very large page cannot overflow.
double ScaleFactor(int size, int reference) {
  const int64_t hundredths = (int64_t{100} * size) / reference;
  return static_cast<double>(hundredths) * 0.01;
}

// Builds the operations in drawing order, with the page's metrics at hand for the tables below.
class Builder : public PageOpWriter {
 public:
  explicit Builder(PageModel& model) : PageOpWriter(&model.ops), p_(model.metrics), body_(model.bodyFont) {}

  const PageMetrics& p() const { return p_; }
  int bodyFontHeight() const { return body_.pixelHeight; }

 private:
  const PageMetrics& p_;
  const SheetFont& body_;
};

// Characters of a UTF-8 text (bytes that do not continue a character).
int CodePointCount(const std::string& utf8) {
  int count = 0;
  for (const char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

// Horizontal extent of a column: left and right x.
struct Span {
  int left;
  int right;
};

// Block A, required funds: nine columns; 5|6 and 8|9 are separated by a 50-pixel gap.
std::array<Span, 9> BlockAColumns(const PageMetrics& p) {
  return {{
      {p.X(1, -50), p.X(2, -50)},
      {p.X(2, -50), p.X(3, -50)},
      {p.X(3, -50), p.X(4, -50)},
      {p.X(4, -50), p.X(5, -50)},
      {p.X(5, -50), p.X(6, -50)},
      {p.XU(6), p.XU(7)},
      {p.XU(7), p.XU(8)},
      {p.XU(8), p.XU(9)},
      {p.X(9, 50), p.X(10, 50)},
  }};
}

// Block B, loan table: name, method, rate, period, loan amount, bonus portion, monthly, bonus.
std::array<Span, 8> BlockBColumns(const PageMetrics& p) {
  return {{
      {p.X(1, -50), p.X(3, 150)},
      {p.X(3, 150), p.X(4, 50)},
      {p.X(4, 50), p.X(5, -40)},
      {p.X(5, -40), p.X(6, -100)},
      {p.X(6, -100), p.X(7, -50)},
      {p.X(7, -50), p.X(8, -25)},
      {p.X(8, -25), p.XU(9)},
      {p.XU(9), p.X(10, 50)},
  }};
}

// Where the values of a loan row are written inside the row's boxes (inset from the right).
std::array<Span, 8> LoanRowTextColumns(const PageMetrics& p) {
  return {{
      {p.X(1, -20), p.X(3, 150)},
      {p.X(3, 150), p.X(4, 50)},
      {p.X(4, 50), p.X(5, -70)},
      {p.X(5, -40), p.X(6, -240)},
      {p.X(6, -100), p.X(7, -80)},
      {p.X(7, -50), p.X(8, -55)},
      {p.X(8, -25), p.X(9, -30)},
      {p.XU(9), p.X(10, 20)},
  }};
}

// Vertical offsets from W on the reference page. Every row of the loan table, the totals row
// and the two yearly figures are one row high.
constexpr int kRowHeight = 150;
constexpr int kFirstLoanRowTop = 720;
constexpr int kTotalsTop = 2240;           // below the ten loan rows, after a gap
constexpr int kAnnualRepaymentTop = 2440;  // the yearly repayment, after a gap
constexpr int kRatioTop = kAnnualRepaymentTop + kRowHeight;

// Row r (1..10) of the loan table: top offset from W.
int LoanRowTop(int r) {
  return kFirstLoanRowTop + kRowHeight * (r - 1);
}

void AddLines(Builder& b) {
  const PageMetrics& p = b.p();
  b.Line(p.XU(1), p.Y(20), p.X(3, 320), p.Y(20));  // under the customer name
  b.Line(2 * p.F, p.Y(20), 3 * p.F, p.Y(20));      // under the title
}

void AddRects(Builder& b) {
  const PageMetrics& p = b.p();
  const auto a = BlockAColumns(p);
  for (const Span& c : a) b.Rect(c.left, p.Y(100), c.right, p.Y(350));
  for (const Span& c : a) b.Rect(c.left, p.Y(350), c.right, p.Y(500));

  const auto cols = BlockBColumns(p);
  for (const Span& c : cols) b.Rect(c.left, p.Y(550), c.right, p.Y(700));
  for (int r = 1; r <= kLoanRowCount; ++r) {
    const int top = p.Y(LoanRowTop(r));
    const int bottom = p.Y(LoanRowTop(r) + kRowHeight);
    for (const Span& c : cols) b.Rect(c.left, top, c.right, bottom);
  }

  const int totalsTop = p.Y(kTotalsTop);
  const int totalsBottom = p.Y(kTotalsTop + kRowHeight);
  b.Rect(cols[0].left, totalsTop, cols[0].right, totalsBottom);  // label
  b.Rect(p.X(3, 150), totalsTop, p.X(6, -100), totalsBottom);    // empty, over columns 2..4
  for (size_t c = 4; c < cols.size(); ++c) b.Rect(cols[c].left, totalsTop, cols[c].right, totalsBottom);

  const int labelLeft = p.XU(7);
  const int split = p.X(9, -250);
  const int valueRight = p.X(10, 50);
  b.Rect(labelLeft, p.Y(kAnnualRepaymentTop), split, p.Y(kRatioTop));
  b.Rect(split, p.Y(kAnnualRepaymentTop), valueRight, p.Y(kRatioTop));
  b.Rect(labelLeft, p.Y(kRatioTop), split, p.Y(kRatioTop + kRowHeight));
  b.Rect(split, p.Y(kRatioTop), valueRight, p.Y(kRatioTop + kRowHeight));
}

void AddBodyTexts(Builder& b, const PlanTexts& texts, const PlanDate& date) {
  const auto text = [&texts](int id) { return texts.Text(id); };
  const PageMetrics& p = b.p();
  const int bandLeft = p.XU(1);
  const int bandRight = p.XU(10);
  // A name that could reach the title ends where the title's underline begins, so that it is
  // printed smaller there rather than over the title. No character is wider than the font's
  // height, so a shorter name keeps the whole band, in which it never reaches the title either.
  const std::string name = "  " + text(ids::kCustomerName) + "  様";
  const int64_t widest = int64_t{CodePointCount(name)} * b.bodyFontHeight();
  const int nameRight = widest > 2 * p.F - bandLeft ? 2 * p.F : bandRight;
  b.Text(TextMode::BottomLeft, bandLeft, 0, nameRight, p.W, name);
  b.Text(TextMode::BottomRight, bandLeft, 0, bandRight, p.W, CreatedDateText(date));

  // Block A captions.
  const auto a = BlockAColumns(p);
  const int upTop = p.Y(100);
  const int upBottom = p.Y(350);
  const int caption[4] = {ids::kLandLabel, ids::kBuildingLabel, ids::kTaxLabel, ids::kOtherCostLabel};
  for (int c = 0; c < 4; ++c) {
    b.Text(TextMode::MiddleCentre, a[static_cast<size_t>(c)].left, upTop, a[static_cast<size_t>(c)].right, upBottom,
           text(caption[c]));
  }
  b.Text(TextMode::MiddleCentre, a[4].left, upTop, a[4].right, upBottom, kRequiredFundsTotalCaption);
  const int wrapTop = p.Y(130);
  const int wrapBottom = p.Y(320);
  b.Text(TextMode::WrappedCentre, p.X(6, 80), wrapTop, p.X(7, -60), wrapBottom, text(ids::kFundsMinusLoansLabel));
  b.Text(TextMode::WrappedCentre, p.X(7, 100), wrapTop, p.X(8, -100), wrapBottom, text(ids::kMiscCostsLabel));
  b.Text(TextMode::WrappedCentre, p.X(8, 100), wrapTop, p.X(9, -100), wrapBottom, text(ids::kOwnFundsLabel));
  b.Text(TextMode::MiddleCentre, a[8].left, upTop, a[8].right, upBottom, kIncomeCaption);

  // Block A values, right-aligned a little inside their boxes.
  const int lowTop = p.Y(350);
  const int lowBottom = p.Y(500);
  struct Value {
    int id;
    int left;
    int right;
  };
  const Value values[] = {
      {ids::kLandPrice, p.X(1, -50), p.X(2, -80)},
      {ids::kBuildingPrice, p.X(2, -50), p.X(3, -80)},
      {ids::kConsumptionTax, p.X(3, -50), p.X(4, -80)},
      {ids::kOtherCost, p.X(4, -50), p.X(5, -80)},
      {ids::kRequiredFundsTotal, p.X(5, -50), p.X(6, -80)},
      {ids::kFundsMinusLoans, p.XU(6), p.X(7, -30)},
      {ids::kMiscCosts, p.XU(7), p.X(8, -30)},
      {ids::kOwnFundsNeeded, p.XU(8), p.X(9, -30)},
      {ids::kAnnualIncome, p.X(9, 50), p.X(10, 20)},
  };
  for (const Value& v : values) b.Text(TextMode::MiddleRight, v.left, lowTop, v.right, lowBottom, text(v.id));

  // Block B header.
  const auto cols = BlockBColumns(p);
  const char* const headers[8] = {kLoanNameCaption, kMethodCaption, "金  利", "返済期間",
                                  "借入額",         "内ボーナス",   "月  払", "ボーナス払"};
  for (size_t c = 0; c < cols.size(); ++c) {
    b.Text(TextMode::MiddleCentre, cols[c].left, p.Y(550), cols[c].right, p.Y(700), headers[c]);
  }

  // Loan rows.
  const auto rowText = LoanRowTextColumns(p);
  const TextMode rowModes[8] = {TextMode::MiddleLeft,  TextMode::MiddleCentre, TextMode::MiddleRight,
                                TextMode::MiddleRight, TextMode::MiddleRight,  TextMode::MiddleRight,
                                TextMode::MiddleRight, TextMode::MiddleRight};
  for (int r = 1; r <= kLoanRowCount; ++r) {
    const size_t row = static_cast<size_t>(r - 1);
    const int rowIds[8] = {ids::kLoanName[row],       ids::kMethod[row],      ids::kRate[row],
                           ids::kPeriod[row],         ids::kLoanAmount[row],  ids::kBonusAmount[row],
                           ids::kMonthlyPayment[row], ids::kBonusPayment[row]};
    const int top = p.Y(LoanRowTop(r));
    const int bottom = p.Y(LoanRowTop(r) + kRowHeight);
    for (size_t c = 0; c < rowText.size(); ++c) {
      b.Text(rowModes[c], rowText[c].left, top, rowText[c].right, bottom, text(rowIds[c]));
    }
  }

  // Totals row.
  const int totalsTop = p.Y(kTotalsTop);
  const int totalsBottom = p.Y(kTotalsTop + kRowHeight);
  b.Text(TextMode::MiddleCentre, p.X(1, -50), totalsTop, p.X(3, 150), totalsBottom, "<<<  合    計  >>>");
  b.Text(TextMode::MiddleRight, rowText[4].left, totalsTop, rowText[4].right, totalsBottom, text(ids::kTotalLoan));
  b.Text(TextMode::MiddleRight, rowText[5].left, totalsTop, rowText[5].right, totalsBottom,
         text(ids::kTotalBonusAmount));
  b.Text(TextMode::MiddleRight, rowText[6].left, totalsTop, rowText[6].right, totalsBottom, text(ids::kTotalMonthly));
  b.Text(TextMode::MiddleRight, rowText[7].left, totalsTop, rowText[7].right, totalsBottom, text(ids::kTotalBonus));

  // Yearly figures.
  const int labelLeft = p.XU(7);
  const int split = p.X(9, -250);
  const int valueRight = p.X(10, 20);
  b.Text(TextMode::MiddleCentre, labelLeft, p.Y(kAnnualRepaymentTop), split, p.Y(kRatioTop), kAnnualRepaymentCaption);
  b.Text(TextMode::MiddleRight, split, p.Y(kAnnualRepaymentTop), valueRight, p.Y(kRatioTop),
         text(ids::kAnnualRepayment));
  b.Text(TextMode::MiddleCentre, labelLeft, p.Y(kRatioTop), split, p.Y(kRatioTop + kRowHeight), kRatioCaption);
  b.Text(TextMode::MiddleRight, split, p.Y(kRatioTop), valueRight, p.Y(kRatioTop + kRowHeight),
         text(ids::kRepaymentRatio));
}

}  // namespace

int PageMetrics::X(int k, int c) const {
  return static_cast<int>(static_cast<double>(k * U) + static_cast<double>(c) * sx);
}

int PageMetrics::Y(int c) const {
  return static_cast<int>(static_cast<double>(W) + static_cast<double>(c) * sy);
}

PageMetrics ComputePageMetrics(int width, int height) {
  PageMetrics p;
  p.H = width;
  p.V = height;
  p.U = width / 11;
  p.F = width / 5;
  p.W = height / 5;
  p.sx = ScaleFactor(width, kReferencePageWidth);
  p.sy = ScaleFactor(height, kReferencePageHeight);
  p.m = p.sy >= p.sx ? p.sx : p.sy;
  return p;
}

SheetFont MakeSheetFont(FontRole role, int baseTenths, double m, int displayDpi) {
  SheetFont f;
  f.role = role;
  f.tenths = static_cast<int>(static_cast<double>(baseTenths) * m);
  f.pixelHeight = static_cast<int>((int64_t{displayDpi} * f.tenths) / 720);
  return f;
}

const char* TextModeName(TextMode mode) {
  switch (mode) {
    case TextMode::BottomCentre:
      return "bottom-centre";
    case TextMode::BottomLeft:
      return "bottom-left";
    case TextMode::BottomRight:
      return "bottom-right";
    case TextMode::MiddleCentre:
      return "middle-centre";
    case TextMode::MiddleLeft:
      return "middle-left";
    case TextMode::MiddleRight:
      return "middle-right";
    case TextMode::WrappedCentre:
      return "wrapped-centre";
  }
  return "middle-centre";
}

PageModel BuildPageModel(int width, int height, int displayDpi, const PlanTexts& texts, const PlanDate& date) {
  PageModel model;
  model.metrics = ComputePageMetrics(width, height);
  model.displayDpi = displayDpi > 0 ? displayDpi : kDefaultDisplayDpi;
  model.titleFont = MakeSheetFont(FontRole::Title, kTitleFontBaseTenths, model.metrics.m, model.displayDpi);
  model.bodyFont = MakeSheetFont(FontRole::Body, kBodyFontBaseTenths, model.metrics.m, model.displayDpi);
  model.ops.reserve(kSheetLineCount + kSheetRectCount + 2 + kSheetTextCount);

  Builder b(model);
  AddLines(b);
  AddRects(b);
  const PageMetrics& p = model.metrics;
  b.Font(model.titleFont);
  b.Text(TextMode::BottomCentre, p.XU(1), 0, p.XU(10), p.W, kSheetTitle);
  b.Font(model.bodyFont);
  AddBodyTexts(b, texts, date);
  return model;
}

PageModel BuildPageModel(int width, int height, int displayDpi, const PlanEvaluation& evaluation) {
  return BuildPageModel(width, height, displayDpi, evaluation.texts, CreatedDate(evaluation.plan));
}

void AddSheetPageNumber(PageModel& sheet, int pageCount) {
  const PageMetrics& p = sheet.metrics;
  PageOpWriter b(&sheet.ops);
  b.Font(sheet.bodyFont);
  // Below the yearly figures, in the page's bottom margin band.
  const int top = p.V - static_cast<int>(200 * p.sy);
  const int bottom = p.V - static_cast<int>(60 * p.sy);
  b.Text(TextMode::MiddleCentre, p.XU(1), top, p.XU(10), bottom, "1 / " + std::to_string(std::max(1, pageCount)));
}

std::string FormatPageModel(const PageModel& model) {
  std::string out;
  out.reserve(model.ops.size() * 40);
  auto box = [&out](const PageBox& b) {
    out += std::to_string(b.left);
    out += ' ';
    out += std::to_string(b.top);
    out += ' ';
    out += std::to_string(b.right);
    out += ' ';
    out += std::to_string(b.bottom);
  };
  for (const PageOp& op : model.ops) {
    switch (op.kind) {
      case PageOpKind::Line:
        out += "line ";
        box(op.box);
        break;
      case PageOpKind::Rect:
        out += "rect ";
        box(op.box);
        break;
      case PageOpKind::Font:
        out += op.font.role == FontRole::Title ? "font title " : "font body ";
        out += std::to_string(op.font.tenths);
        break;
      case PageOpKind::Text:
        out += "text ";
        out += TextModeName(op.mode);
        out += ' ';
        box(op.box);
        out += ' ';
        out += op.text;
        break;
    }
    out += '\n';
  }
  return out;
}

}  // namespace zorvik
