#pragma once
// The printed plan sheet as plain data: every line, box, font and text with its coordinates,
// in the order in which they are drawn. The Qt renderer (print/render/) only replays this list,
// so the layout can be produced, dumped and compared without a printer.
//
// Coordinates are device pixels of the printable area (origin top-left, y downwards). The
// large divisions are fractions of the printable area: U = H / 11, F = H / 5, W = V / 5. The
// small offsets are pixel distances of the 6774 x 4720 reference page, scaled by sx and sy,
// which are rounded down to hundredths: an x of "kU + c" is trunc(k*U + c*sx), a y of "W + c"
// is trunc(W + c*sy), both computed in double precision and truncated toward zero.
//
// Font sizes are tenths of a point (1000 x m for the title, 700 x m for the body, m the smaller
// scale factor). They become a character height (em height, not cell height) in device pixels
// through the resolution of the display, not of the printer: pixels = dpi x tenths / 720. On a
// 96 dpi display this gives 133 and 93 pixels, which on the 600 dpi reference page are about
// 16 and 11 points: the sizes the sheet was laid out for.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/funding_plan.h"
#include "core/plan_evaluation.h"
#include "core/plan_texts.h"

namespace zorvik {

// The reference page on which the small offsets were measured.
inline constexpr int kReferencePageWidth = 6774;
inline constexpr int kReferencePageHeight = 4720;
// Display resolution assumed where the platform reports none.
inline constexpr int kDefaultDisplayDpi = 96;

inline constexpr const char* kSheetTitle = "資 金 計 画 表";
inline constexpr const char* kSheetDocumentName = "資金計画表";

// Scale and division quantities of one page, computed once per print.
struct PageMetrics {
  int H = 0;        // width of the printable area, pixels
  int V = 0;        // height of the printable area, pixels
  int U = 0;        // H / 11
  int F = 0;        // H / 5
  int W = 0;        // V / 5
  double sx = 0.0;  // (100 * H / 6774) * 0.01
  double sy = 0.0;  // (100 * V / 4720) * 0.01
  double m = 0.0;   // the smaller of sx and sy (sx when equal)

  // "kU + c": trunc(k*U + c*sx). Use a negative c for "kU - c".
  int X(int k, int c) const;
  // "kU" without offset: the exact integer k*U.
  int XU(int k) const { return k * U; }
  // "W + c": trunc(W + c*sy).
  int Y(int c) const;
};

// H and V must be positive.
PageMetrics ComputePageMetrics(int width, int height);

enum class FontRole { Title, Body };

// A font of the sheet: its size in tenths of a point and the character height in pixels.
struct SheetFont {
  FontRole role = FontRole::Body;
  int tenths = 0;
  int pixelHeight = 0;
};

// Base sizes before scaling, tenths of a point.
inline constexpr int kTitleFontBaseTenths = 1000;
inline constexpr int kBodyFontBaseTenths = 700;

// trunc(base x m) tenths; pixel height = dpi x tenths / 720 (integer division).
SheetFont MakeSheetFont(FontRole role, int baseTenths, double m, int displayDpi);

// How a text sits in its rectangle. Every text is clipped to its rectangle.
enum class TextMode {
  BottomCentre,   // one line on the bottom edge, centred
  BottomLeft,     // one line on the bottom edge, left-aligned
  BottomRight,    // one line on the bottom edge, right-aligned
  MiddleCentre,   // one line, centred both ways
  MiddleLeft,     // one line, centred vertically, left-aligned
  MiddleRight,    // one line, centred vertically, right-aligned
  WrappedCentre,  // as many lines as the width needs, from the top edge, each line centred
};

// "bottom-centre", "middle-right", ... as in the layout dump.
const char* TextModeName(TextMode mode);

// Left, top, right, bottom. A line uses it as x1, y1, x2, y2.
struct PageBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const PageBox&) const = default;
};

enum class PageOpKind { Line, Rect, Font, Text };

// One drawing operation. Which fields matter depends on the kind:
// Line and Rect use box; Font uses font (selected for the texts that follow);
// Text uses box, mode and text (UTF-8, possibly empty: an empty text draws nothing).
struct PageOp {
  PageOpKind kind = PageOpKind::Rect;
  PageBox box;
  SheetFont font;
  TextMode mode = TextMode::MiddleCentre;
  std::string text;
};

// Appends drawing operations to a list, in drawing order.
class PageOpWriter {
 public:
  explicit PageOpWriter(std::vector<PageOp>* ops = nullptr) : ops_(ops) {}

  void Line(int x1, int y1, int x2, int y2) { Push(PageOpKind::Line, {x1, y1, x2, y2}); }
  void Rect(int l, int t, int r, int b) { Push(PageOpKind::Rect, {l, t, r, b}); }
  void Font(const SheetFont& font) {
    PageOp op;
    op.kind = PageOpKind::Font;
    op.font = font;
    ops_->push_back(std::move(op));
  }
  void Text(TextMode mode, int l, int t, int r, int b, std::string text) {
    PageOp op;
    op.kind = PageOpKind::Text;
    op.box = {l, t, r, b};
    op.mode = mode;
    op.text = std::move(text);
    ops_->push_back(std::move(op));
  }

 protected:
  // Later operations go to `ops` (a new page).
  void WriteTo(std::vector<PageOp>& ops) { ops_ = &ops; }

 private:
  void Push(PageOpKind kind, PageBox box) {
    PageOp op;
    op.kind = kind;
    op.box = box;
    ops_->push_back(std::move(op));
  }

  std::vector<PageOp>* ops_;
};

struct PageModel {
  PageMetrics metrics;
  int displayDpi = kDefaultDisplayDpi;
  SheetFont titleFont;
  SheetFont bodyFont;
  std::vector<PageOp> ops;  // drawing order
};

// The whole sheet for a printable area of width x height pixels. `displayDpi` <= 0 means none
// was reported and 96 is used. `date` is the plan's date. Texts are taken unchanged.
PageModel BuildPageModel(int width, int height, int displayDpi, const PlanTexts& texts, const PlanDate& date);
// The sheet of an evaluated plan: its texts and its date.
PageModel BuildPageModel(int width, int height, int displayDpi, const PlanEvaluation& evaluation);

// Numbers the sheet "1 / N" at the foot of the page, as the first of the `pageCount` pages of a
// document (the schedule pages that follow it carry "2 / N" ... "N / N"). A sheet printed alone
// has no number.
void AddSheetPageNumber(PageModel& sheet, int pageCount);

// The model as text, one operation a line (LF ends every line), in drawing order:
//   line X1 Y1 X2 Y2
//   rect L T R B
//   font title|body TENTHS
//   text MODE L T R B TEXT
// TEXT is the rest of the line after one blank, taken exactly (leading blanks belong to it,
// and an empty text leaves the line ending in that blank).
std::string FormatPageModel(const PageModel& model);

// Counts of the fixed layout.
inline constexpr int kSheetLineCount = 2;
inline constexpr int kSheetRectCount = 116;
inline constexpr int kSheetTextCount = 118;

}  // namespace zorvik
