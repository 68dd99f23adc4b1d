#include "print/page_model.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/control_ids.h"
#include "core/memory_form_view.h"

namespace zorvik {
namespace {

// These tests fill the texts in an in-memory form and print what it shows.
PlanTexts TextsOf(const PlanFormView& view) {
  return ReadPlanTexts([&view](int id) { return view.Text(id); });
}

// Index of the n-th operation of a kind in drawing order.
const PageOp& NthOp(const PageModel& model, PageOpKind kind, int n) {
  int seen = 0;
  for (const PageOp& op : model.ops) {
    if (op.kind == kind && seen++ == n) return op;
  }
  ADD_FAILURE() << "no operation " << n;
  static const PageOp none;
  return none;
}

PageModel EmptyModel(int h, int v, int dpi = 96) {
  return BuildPageModel(h, v, dpi, PlanTexts{}, PlanDate{2026, 12, 8});
}

struct MetricsRow {
  int h, v;
  int u, f, w;
  double sx, sy, m;
  int titleTenths, bodyTenths, titlePixels, bodyPixels;
};

class PageMetricsTest : public ::testing::TestWithParam<MetricsRow> {};

TEST_P(PageMetricsTest, DivisionsScalesAndFonts) {
  const MetricsRow& row = GetParam();
  const PageModel model = EmptyModel(row.h, row.v);
  const PageMetrics& p = model.metrics;
  EXPECT_EQ(p.H, row.h);
  EXPECT_EQ(p.V, row.v);
  EXPECT_EQ(p.U, row.u);
  EXPECT_EQ(p.F, row.f);
  EXPECT_EQ(p.W, row.w);
  EXPECT_DOUBLE_EQ(p.sx, row.sx);
  EXPECT_DOUBLE_EQ(p.sy, row.sy);
  EXPECT_DOUBLE_EQ(p.m, row.m);
  EXPECT_EQ(model.titleFont.tenths, row.titleTenths);
  EXPECT_EQ(model.bodyFont.tenths, row.bodyTenths);
  EXPECT_EQ(model.titleFont.pixelHeight, row.titlePixels);
  EXPECT_EQ(model.bodyFont.pixelHeight, row.bodyPixels);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, PageMetricsTest,
                         ::testing::Values(
                             // The reference page itself: no scaling.
                             MetricsRow{6774, 4720, 615, 1354, 944, 1.00, 1.00, 1.00, 1000, 700, 133, 93},
                             // Half the reference resolution.
                             MetricsRow{3390, 2360, 308, 678, 472, 0.50, 0.50, 0.50, 500, 350, 66, 46},
                             // 100.59 and 100.85 hundredths both truncate to 100: only U, F and W grow.
                             MetricsRow{6814, 4760, 619, 1362, 952, 1.00, 1.00, 1.00, 1000, 700, 133, 93},
                             // sx 0.90, sy 0.80: the fonts follow the smaller factor.
                             MetricsRow{6097, 3776, 554, 1219, 755, 0.90, 0.80, 0.80, 800, 560, 106, 74},
                             // sy 0.90, sx 0.80: m is sy.
                             MetricsRow{5420, 4248, 492, 1084, 849, 0.80, 0.90, 0.80, 800, 560, 106, 74},
                             // Just below the reference page: 99 hundredths.
                             MetricsRow{6773, 4719, 615, 1354, 943, 0.99, 0.99, 0.99, 990, 693, 132, 92}));

struct BoxRow {
  const char* what;
  int h, v;
  PageOpKind kind;
  int index;  // n-th operation of that kind
  PageBox box;
};

class PageBoxTest : public ::testing::TestWithParam<BoxRow> {};

TEST_P(PageBoxTest, Coordinates) {
  const BoxRow& row = GetParam();
  const PageModel model = EmptyModel(row.h, row.v);
  const PageOp& op = NthOp(model, row.kind, row.index);
  EXPECT_EQ(op.box, row.box) << row.what << ": got " << op.box.left << ", " << op.box.top << ", " << op.box.right
                             << ", " << op.box.bottom;
}

constexpr PageOpKind kLine = PageOpKind::Line;
constexpr PageOpKind kRect = PageOpKind::Rect;
constexpr PageOpKind kText = PageOpKind::Text;

// Rect indices: block A 0..17, block B header 18..25, row r (1..10) 26 + 8(r-1) .., totals 106..111,
// yearly 112..115. Text indices: title 0, name 1, date 2, block A 3..20, header 21..28, rows 29..108,
// totals 109..113, yearly 114..117.
INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, PageBoxTest,
    ::testing::Values(BoxRow{"name underline", 6774, 4720, kLine, 0, {615, 964, 2165, 964}},
                      BoxRow{"title underline", 6774, 4720, kLine, 1, {2708, 964, 4062, 964}},
                      BoxRow{"heading band (title)", 6774, 4720, kText, 0, {615, 0, 6150, 944}},
                      BoxRow{"heading band (date)", 6774, 4720, kText, 2, {615, 0, 6150, 944}},
                      BoxRow{"first box of block A", 6774, 4720, kRect, 0, {565, 1044, 1180, 1294}},
                      BoxRow{"block A column 6 upper", 6774, 4720, kRect, 5, {3690, 1044, 4305, 1294}},
                      BoxRow{"block A column 9 lower", 6774, 4720, kRect, 17, {5585, 1294, 6200, 1444}},
                      BoxRow{"loan header, column 8", 6774, 4720, kRect, 25, {5535, 1494, 6200, 1644}},
                      BoxRow{"loan-name box of row 1", 6774, 4720, kRect, 26, {565, 1664, 1995, 1814}},
                      BoxRow{"rate box of row 1", 6774, 4720, kRect, 28, {2510, 1664, 3035, 1814}},
                      BoxRow{"bonus box of row 10", 6774, 4720, kRect, 105, {5535, 3014, 6200, 3164}},
                      BoxRow{"totals label", 6774, 4720, kRect, 106, {565, 3184, 1995, 3334}},
                      BoxRow{"totals empty box", 6774, 4720, kRect, 107, {1995, 3184, 3590, 3334}},
                      BoxRow{"totals bonus", 6774, 4720, kRect, 111, {5535, 3184, 6200, 3334}},
                      BoxRow{"yearly upper label", 6774, 4720, kRect, 112, {4305, 3384, 5285, 3534}},
                      BoxRow{"yearly lower value", 6774, 4720, kRect, 115, {5285, 3534, 6200, 3684}},
                      BoxRow{"wrapped caption 1019", 6774, 4720, kText, 8, {3770, 1074, 4245, 1264}},
                      BoxRow{"wrapped caption 1020", 6774, 4720, kText, 9, {4405, 1074, 4820, 1264}},
                      BoxRow{"wrapped caption 1021", 6774, 4720, kText, 10, {5020, 1074, 5435, 1264}},
                      BoxRow{"land price value", 6774, 4720, kText, 12, {565, 1294, 1150, 1444}},
                      BoxRow{"income value", 6774, 4720, kText, 20, {5585, 1294, 6170, 1444}},
                      BoxRow{"row 1 loan name text", 6774, 4720, kText, 29, {595, 1664, 1995, 1814}},
                      BoxRow{"row 1 period text", 6774, 4720, kText, 32, {3035, 1664, 3450, 1814}},
                      BoxRow{"row 10 bonus payment text", 6774, 4720, kText, 108, {5535, 3014, 6170, 3164}},
                      BoxRow{"ratio text", 6774, 4720, kText, 117, {5285, 3534, 6170, 3684}},
                      BoxRow{"half page: first box", 3390, 2360, kRect, 0, {283, 522, 591, 647}},
                      BoxRow{"half page: name underline", 3390, 2360, kLine, 0, {308, 482, 1084, 482}},
                      BoxRow{"half page: row 1 name", 3390, 2360, kRect, 26, {283, 832, 999, 907}},
                      BoxRow{"half page: yearly lower value", 3390, 2360, kRect, 115, {2647, 1767, 3105, 1842}},
                      BoxRow{"grown page: first box", 6814, 4760, kRect, 0, {569, 1052, 1188, 1302}},
                      BoxRow{"grown page: title underline", 6814, 4760, kLine, 1, {2724, 972, 4086, 972}},
                      BoxRow{"grown page: yearly lower value", 6814, 4760, kRect, 115, {5321, 3542, 6240, 3692}},
                      BoxRow{"sx .9 sy .8: first box", 6097, 3776, kRect, 0, {509, 835, 1063, 1035}},
                      BoxRow{"sx .9 sy .8: name underline", 6097, 3776, kLine, 0, {554, 771, 1950, 771}},
                      BoxRow{"sx .9 sy .8: row 1 name", 6097, 3776, kRect, 26, {509, 1331, 1797, 1451}},
                      BoxRow{"sx .9 sy .8: yearly lower value", 6097, 3776, kRect, 115, {4761, 2827, 5585, 2947}},
                      // sy = 205 * 0.01 in double precision: 2740 * sy is just below 5617, so the bottom
                      // truncates to 1935 + 5616 (exact decimal arithmetic would give one pixel more).
                      BoxRow{"double steps: yearly lower value", 13548, 9676, kRect, 115, {10579, 7244, 12410, 7551}}));

TEST(PageModelTest, DrawingOrder) {
  const PageModel model = EmptyModel(6774, 4720);
  ASSERT_EQ(model.ops.size(), static_cast<size_t>(kSheetLineCount + kSheetRectCount + 2 + kSheetTextCount));
  size_t i = 0;
  for (; i < 2; ++i) EXPECT_EQ(model.ops[i].kind, PageOpKind::Line) << i;
  for (; i < 2 + 116; ++i) EXPECT_EQ(model.ops[i].kind, PageOpKind::Rect) << i;
  ASSERT_EQ(model.ops[i].kind, PageOpKind::Font);
  EXPECT_EQ(model.ops[i].font.role, FontRole::Title);
  EXPECT_EQ(model.ops[i].font.tenths, 1000);
  ++i;
  ASSERT_EQ(model.ops[i].kind, PageOpKind::Text);
  EXPECT_EQ(model.ops[i].text, "資 金 計 画 表");
  EXPECT_EQ(model.ops[i].mode, TextMode::BottomCentre);
  ++i;
  ASSERT_EQ(model.ops[i].kind, PageOpKind::Font);
  EXPECT_EQ(model.ops[i].font.role, FontRole::Body);
  EXPECT_EQ(model.ops[i].font.tenths, 700);
  ++i;
  for (; i < model.ops.size(); ++i) EXPECT_EQ(model.ops[i].kind, PageOpKind::Text) << i;
}

TEST(PageModelTest, RowsAreStackedWithoutGaps) {
  const PageModel model = EmptyModel(6774, 4720);
  for (int r = 0; r < 10; ++r) {
    const PageBox& name = NthOp(model, kRect, 26 + 8 * r).box;
    EXPECT_EQ(name.top, 1664 + 150 * r);
    EXPECT_EQ(name.bottom, 1814 + 150 * r);
    // The eight boxes of a row share top and bottom and touch each other.
    for (int c = 1; c < 8; ++c) {
      const PageBox& left = NthOp(model, kRect, 26 + 8 * r + c - 1).box;
      const PageBox& box = NthOp(model, kRect, 26 + 8 * r + c).box;
      EXPECT_EQ(box.top, name.top);
      EXPECT_EQ(box.bottom, name.bottom);
      EXPECT_EQ(box.left, left.right);
    }
  }
  EXPECT_EQ(NthOp(model, kRect, 26 + 8 * 9).box.bottom, 944 + 2220);
}

// Texts with their sources, modes and order, from a filled form.
TEST(PageModelTest, TextsComeFromTheControls) {
  MemoryFormView view;
  view.SetText(ids::kCustomerName, "山田 太郎");
  view.SetText(ids::kLandLabel, "土地価額");
  view.SetText(ids::kOtherCostLabel, "解体費");
  view.SetText(ids::kMiscCostsLabel, " 諸費用 （概算）");
  view.SetText(ids::kLandPrice, "2,500万");
  view.SetText(ids::kRequiredFundsTotal, "4,800万");
  view.SetText(ids::kOwnFundsNeeded, "-120万");
  view.SetText(ids::kLoanName[0], "フラット35");
  view.SetSelection(ids::kMethod[0], 0);
  view.SetText(ids::kRate[0], "1.940％");
  view.SetText(ids::kPeriod[0], "35年");
  view.SetText(ids::kLoanAmount[0], "3,000万");
  view.SetText(ids::kBonusAmount[0], "1,200万");
  view.SetText(ids::kMonthlyPayment[0], "59,520円");
  view.SetText(ids::kBonusPayment[0], "238,340円");
  view.SetSelection(ids::kMethod[9], 1);
  view.SetText(ids::kTotalLoan, "3,000万");
  view.SetText(ids::kTotalBonus, "238,340円");
  view.SetText(ids::kAnnualRepayment, "1,190,920円");
  view.SetText(ids::kRepaymentRatio, "19.85％");

  const PageModel model = BuildPageModel(6774, 4720, 96, TextsOf(view), PlanDate{2026, 12, 8});
  struct Expect {
    int index;
    TextMode mode;
    const char* text;
  };
  const Expect rows[] = {
      {0, TextMode::BottomCentre, "資 金 計 画 表"},
      {1, TextMode::BottomLeft, "  山田 太郎  様"},
      {2, TextMode::BottomRight, "2026年 12月 8日  作成"},
      {3, TextMode::MiddleCentre, "土地価額"},
      {4, TextMode::MiddleCentre, ""},
      {6, TextMode::MiddleCentre, "解体費"},
      {7, TextMode::MiddleCentre, "所要資金合計"},
      {9, TextMode::WrappedCentre, " 諸費用 （概算）"},
      {11, TextMode::MiddleCentre, "年  収"},
      {12, TextMode::MiddleRight, "2,500万"},
      {16, TextMode::MiddleRight, "4,800万"},
      {19, TextMode::MiddleRight, "-120万"},
      {21, TextMode::MiddleCentre, "融  資  名"},
      {22, TextMode::MiddleCentre, "返済方法"},
      {23, TextMode::MiddleCentre, "金  利"},
      {24, TextMode::MiddleCentre, "返済期間"},
      {25, TextMode::MiddleCentre, "借入額"},
      {26, TextMode::MiddleCentre, "内ボーナス"},
      {27, TextMode::MiddleCentre, "月  払"},
      {28, TextMode::MiddleCentre, "ボーナス払"},
      {29, TextMode::MiddleLeft, "フラット35"},
      {30, TextMode::MiddleCentre, "元利均等"},
      {31, TextMode::MiddleRight, "1.940％"},
      {32, TextMode::MiddleRight, "35年"},
      {33, TextMode::MiddleRight, "3,000万"},
      {34, TextMode::MiddleRight, "1,200万"},
      {35, TextMode::MiddleRight, "59,520円"},
      {36, TextMode::MiddleRight, "238,340円"},
      {37, TextMode::MiddleLeft, ""},
      {101, TextMode::MiddleLeft, ""},
      {102, TextMode::MiddleCentre, "元金均等"},
      {109, TextMode::MiddleCentre, "<<<  合    計  >>>"},
      {110, TextMode::MiddleRight, "3,000万"},
      {111, TextMode::MiddleRight, ""},
      {113, TextMode::MiddleRight, "238,340円"},
      {114, TextMode::MiddleCentre, "年間返済総額"},
      {115, TextMode::MiddleRight, "1,190,920円"},
      {116, TextMode::MiddleCentre, "年収に対する返済割合"},
      {117, TextMode::MiddleRight, "19.85％"},
  };
  for (const Expect& e : rows) {
    const PageOp& op = NthOp(model, kText, e.index);
    EXPECT_EQ(op.mode, e.mode) << e.index;
    EXPECT_EQ(op.text, e.text) << e.index;
  }
}

TEST(PageModelTest, DateIsPrintedAsUnsignedSixteenBitIntegers) {
  const PageModel model = BuildPageModel(6774, 4720, 96, PlanTexts{}, PlanDate{65535, 0, 31});
  EXPECT_EQ(NthOp(model, kText, 2).text, "65535年 0月 31日  作成");
  EXPECT_EQ(NthOp(model, kText, 1).text, "    様");
}

TEST(PageModelTest, EveryTextOfThePlanIsPrintedOnce) {
  // Each text names its control, so that every one can be found on the page.
  const PlanTexts texts = ReadPlanTexts([](int id) { return "@" + std::to_string(id); });
  const PageModel model = BuildPageModel(6774, 4720, 96, texts, PlanDate{});
  std::map<int, int> printed;
  for (const PageOp& op : model.ops) {
    const size_t open = op.text.find('@');
    if (op.kind == kText && open != std::string::npos) ++printed[std::stoi(op.text.substr(open + 1))];
  }
  // Name, 7 captions, 9 amounts, 10 x 8 row values, 4 totals, 2 yearly figures.
  EXPECT_EQ(printed.size(), 1u + 7 + 9 + 80 + 4 + 2);
  for (const auto& [id, count] : printed) EXPECT_EQ(count, 1) << id;
  EXPECT_EQ(printed.count(ids::kYear), 0u) << "the date comes from the plan's integers, not its texts";
}

struct DpiRow {
  int dpi;
  int titlePixels;
  int bodyPixels;
};

class DisplayDpiTest : public ::testing::TestWithParam<DpiRow> {};

TEST_P(DisplayDpiTest, PixelHeightUsesTheDisplayResolution) {
  const DpiRow& row = GetParam();
  const PageModel model = EmptyModel(6774, 4720, row.dpi);
  EXPECT_EQ(model.titleFont.pixelHeight, row.titlePixels);
  EXPECT_EQ(model.bodyFont.pixelHeight, row.bodyPixels);
  EXPECT_EQ(model.titleFont.tenths, 1000);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, DisplayDpiTest,
                         ::testing::Values(DpiRow{96, 133, 93}, DpiRow{0, 133, 93}, DpiRow{-1, 133, 93},
                                           DpiRow{120, 166, 116}, DpiRow{72, 100, 70}, DpiRow{144, 200, 140}));

TEST(PageModelTest, LayoutDumpFormat) {
  MemoryFormView view;
  view.SetText(ids::kCustomerName, "新 規");
  view.SetText(ids::kLoanAmount[0], "3,000万");
  const std::string dump = FormatPageModel(BuildPageModel(6774, 4720, 96, TextsOf(view), PlanDate{2026, 12, 8}));
  std::istringstream in(dump);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 2u + 116 + 2 + 118);
  EXPECT_EQ(dump.back(), '\n');
  EXPECT_EQ(lines[0], "line 615 964 2165 964");
  EXPECT_EQ(lines[1], "line 2708 964 4062 964");
  EXPECT_EQ(lines[2], "rect 565 1044 1180 1294");
  EXPECT_EQ(lines[117], "rect 5285 3534 6200 3684");
  EXPECT_EQ(lines[118], "font title 1000");
  EXPECT_EQ(lines[119], "text bottom-centre 615 0 6150 944 資 金 計 画 表");
  EXPECT_EQ(lines[120], "font body 700");
  EXPECT_EQ(lines[121], "text bottom-left 615 0 6150 944   新 規  様");
  EXPECT_EQ(lines[122], "text bottom-right 615 0 6150 944 2026年 12月 8日  作成");
  EXPECT_EQ(lines[127], "text middle-centre 3025 1044 3640 1294 所要資金合計");
  EXPECT_EQ(lines[128], "text wrapped-centre 3770 1074 4245 1264 ");
  EXPECT_EQ(lines[121 + 2 + 18 + 8 + 4], "text middle-right 3590 1664 4225 1814 3,000万");
  EXPECT_EQ(lines.back(), "text middle-right 5285 3534 6170 3684 ");
}

TEST(PageModelTest, ANameThatCouldReachTheTitleEndsBeforeIt) {
  struct NameRow {
    const char* name;
    int right;  // of the name's box on the reference page
  };
  // 17 characters with the blanks and "様" take 22 font heights of the 2,093 pixels before the
  // title's underline (93 pixels each); one more could reach it.
  for (const NameRow& row : {NameRow{"山田 太郎", 6150}, NameRow{"一二三四五六七八九十一二三四五六七", 6150},
                             NameRow{"一二三四五六七八九十一二三四五六七八", 2708},
                             NameRow{"株式会社ゾルビク不動産販売東日本営業本部第一営業課長", 2708}}) {
    MemoryFormView view;
    view.SetText(ids::kCustomerName, row.name);
    const PageModel model = BuildPageModel(6774, 4720, 96, TextsOf(view), PlanDate{2026, 12, 8});
    const PageOp& name = NthOp(model, kText, 1);
    EXPECT_EQ(name.text, std::string("  ") + row.name + "  様");
    EXPECT_EQ(name.box, (PageBox{615, 0, row.right, 944})) << row.name;
    EXPECT_EQ(NthOp(model, kLine, 1).box.left, 2708);  // the title's underline
  }
}

TEST(PageModelTest, SheetPageNumberOnlyWhenAsked) {
  PageModel model = EmptyModel(6774, 4720);
  const size_t alone = model.ops.size();
  AddSheetPageNumber(model, 9);
  ASSERT_EQ(model.ops.size(), alone + 2);
  EXPECT_EQ(model.ops[alone].kind, PageOpKind::Font);
  EXPECT_EQ(model.ops[alone].font.tenths, 700);
  const PageOp& number = model.ops.back();
  EXPECT_EQ(number.text, "1 / 9");
  EXPECT_EQ(number.mode, TextMode::MiddleCentre);
  // Below the yearly figures (which end at 3684) and inside the page.
  EXPECT_EQ(number.box, (PageBox{615, 4520, 6150, 4660}));
}

TEST(PageModelTest, ModeNames) {
  EXPECT_STREQ(TextModeName(TextMode::BottomCentre), "bottom-centre");
  EXPECT_STREQ(TextModeName(TextMode::BottomLeft), "bottom-left");
  EXPECT_STREQ(TextModeName(TextMode::BottomRight), "bottom-right");
  EXPECT_STREQ(TextModeName(TextMode::MiddleCentre), "middle-centre");
  EXPECT_STREQ(TextModeName(TextMode::MiddleLeft), "middle-left");
  EXPECT_STREQ(TextModeName(TextMode::MiddleRight), "middle-right");
  EXPECT_STREQ(TextModeName(TextMode::WrappedCentre), "wrapped-centre");
}

TEST(PageModelTest, VeryLargePageDoesNotOverflowTheScale) {
  const PageModel model = EmptyModel(30000000, 20000000);
  EXPECT_DOUBLE_EQ(model.metrics.sx, 442869.0 * 0.01);
  EXPECT_DOUBLE_EQ(model.metrics.sy, 423728.0 * 0.01);
}

}  // namespace
}  // namespace zorvik
