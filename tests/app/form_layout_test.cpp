// The form's template table, tab order, Enter list, menu and colour table, checked without a
// window: every control id appears once, every column of the loan rows is complete, the dialog
// units convert the way the original platform converts them.
#include "app/form_layout.h"

#include <gtest/gtest.h>

#include <QFont>
#include <algorithm>
#include <map>
#include <set>

#include "app/form_colors.h"
#include "core/control_ids.h"
#include "ui/ui_font.h"

namespace zorvik {
namespace {

TEST(FormLayoutTest, EveryIdAppearsOnce) {
  std::map<int, int> count;
  for (const ControlTemplate& t : FormTemplate()) {
    if (t.id != 0) ++count[t.id];
  }
  for (const auto& [id, n] : count) EXPECT_EQ(n, 1) << id;
  // 10 rows x 9 columns and 51 fixed controls.
  EXPECT_EQ(count.size(), 10u * 9u + 51u);
}

TEST(FormLayoutTest, RowColumnsLieOnTheirRowLines) {
  const std::vector<const ids::RowIds*> columns = {&ids::kLoanName,       &ids::kMethod,       &ids::kRate,
                                                   &ids::kPeriod,         &ids::kLoanAmount,   &ids::kBonusAmount,
                                                   &ids::kMonthlyPayment, &ids::kBonusPayment, &ids::kDeleteRow};
  for (const auto* column : columns) {
    for (int row = 0; row < kLoanRowCount; ++row) {
      const ControlTemplate* t = FindTemplate((*column)[static_cast<size_t>(row)]);
      ASSERT_NE(t, nullptr);
      EXPECT_EQ(t->rect.y, 92 + 12 * row) << t->id;
      // Every row's box of a column is as wide as the others, the first row's too.
      EXPECT_EQ(t->rect.x, FindTemplate((*column)[0])->rect.x) << t->id;
      EXPECT_EQ(t->rect.width, FindTemplate((*column)[1])->rect.width) << t->id;
    }
  }
  EXPECT_EQ(FindTemplate(ids::kRate[0])->rect.width, 36);
  EXPECT_EQ(FindTemplate(ids::kLoanName[3])->dropHeightDu, 65);
  EXPECT_EQ(FindTemplate(ids::kMethod[3])->dropHeightDu, 35);
}

struct TemplateRow {
  int id;
  ControlKind kind;
  const char* text;
  DialogRect rect;
};

class TemplateRowTest : public ::testing::TestWithParam<TemplateRow> {};

TEST_P(TemplateRowTest, MatchesTheSheet) {
  const TemplateRow& r = GetParam();
  const ControlTemplate* t = FindTemplate(r.id);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->kind, r.kind);
  EXPECT_STREQ(t->text, r.text);
  EXPECT_EQ(t->rect.x, r.rect.x);
  EXPECT_EQ(t->rect.y, r.rect.y);
  EXPECT_EQ(t->rect.width, r.rect.width);
  EXPECT_EQ(t->rect.height, r.rect.height);
}

INSTANTIATE_TEST_SUITE_P(
    Sample, TemplateRowTest,
    ::testing::Values(TemplateRow{1119, ControlKind::Caption, "氏 名", {8, 6, 31, 12}},
                      TemplateRow{1002, ControlKind::Edit, "", {40, 6, 115, 12}},
                      TemplateRow{1005, ControlKind::Edit, "", {387, 6, 15, 12}},
                      TemplateRow{1118, ControlKind::Caption, "所  要  資  金", {8, 23, 200, 13}},
                      TemplateRow{1012, ControlKind::ReadOnlyEdit, "", {88, 37, 40, 12}},
                      TemplateRow{1021, ControlKind::ReadOnlyMultiLine, "", {293, 23, 40, 26}},
                      TemplateRow{1022, ControlKind::ReadOnlyEdit, "", {213, 49, 39, 12}},
                      TemplateRow{1133, ControlKind::Caption, "内ﾎﾞｰﾅｽ", {261, 80, 40, 12}},
                      TemplateRow{1136, ControlKind::Caption, "ボーナス払い", {353, 80, 52, 12}},
                      TemplateRow{1090, ControlKind::PushButton, "×", {405, 200, 12, 12}},
                      TemplateRow{1117, ControlKind::Result, "", {353, 200, 52, 12}},
                      TemplateRow{1106, ControlKind::ClickableResult, "", {301, 213, 52, 13}},
                      TemplateRow{1137, ControlKind::Caption, "合     計", {98, 213, 123, 13}},
                      TemplateRow{1174, ControlKind::Sample, "", {304, 230, 14, 8}},
                      TemplateRow{1172, ControlKind::Note, "内はシミュレーション可能。", {320, 229, 104, 8}},
                      TemplateRow{1000, ControlKind::PushButton, "印 刷", {320, 240, 40, 18}},
                      TemplateRow{1, ControlKind::DefaultButton, "終 了", {368, 240, 40, 17}}));

TEST(FormLayoutTest, TabOrderFollowsTheTemplate) {
  const std::vector<int>& order = TabOrder();
  ASSERT_EQ(order.size(), 11u + 60u + 2u + 10u + 8u);
  EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 11),
            (std::vector<int>{1002, 1003, 1004, 1005, 1014, 1015, 1016, 1013, 1017, 1023, 1025}));
  EXPECT_EQ(std::vector<int>(order.begin() + 11, order.begin() + 17),
            (std::vector<int>{1008, 1009, 1044, 1054, 1064, 1074}));
  EXPECT_EQ(order[70], 1083);
  EXPECT_EQ(order[71], ids::kPrint);
  EXPECT_EQ(order[72], ids::kOk);
  EXPECT_EQ(order[73], 1006);
  EXPECT_EQ(std::vector<int>(order.end() - 8, order.end()),
            (std::vector<int>{1022, 1024, 1010, 1011, 1012, 1019, 1020, 1021}));
  EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), order.size());
}

TEST(FormLayoutTest, EnterMovesOnExactlyOnTheListedControls) {
  for (int id : {1002, 1003, 1004, 1005, 1010, 1014, 1011, 1015, 1012, 1016, 1013, 1017, 1019, 1022, 1020, 1023, 1021,
                 1024, 1025, 1008, 1009, 1044, 1054, 1064, 1074, 1034, 1043, 1053, 1063, 1073, 1083, 1106, 1107}) {
    EXPECT_TRUE(EnterMovesToNext(id)) << id;
  }
  for (int id : {ids::kPrint, ids::kOk, 1006, 1090, 1094, 1119, 1091}) EXPECT_FALSE(EnterMovesToNext(id)) << id;
}

TEST(FormLayoutTest, DialogUnitsUseTheFontsBaseUnits) {
  DialogBaseUnits u;
  u.cx = 6;
  u.cy = 12;
  EXPECT_EQ(u.X(kFormWidthDu), 636);
  EXPECT_EQ(u.Y(kFormHeightDu), 395);  // 394.5 rounds up
  const QRect r = u.ToPixels({8, 6, 31, 12});
  EXPECT_EQ(r, QRect(12, 9, 47, 18));  // right edge 39 du -> 58.5 -> 59
  // Neighbours meet without a gap: 1010 ends where 1011 begins.
  EXPECT_EQ(u.ToPixels({8, 37, 40, 12}).right() + 1, u.ToPixels({48, 37, 40, 12}).left());
}

TEST(FormLayoutTest, BaseUnitsOfTheWindowFont) {
  const DialogBaseUnits u = DialogBaseUnits::ForFont(UiFont(kFormFontPoints));
  EXPECT_GE(u.cx, 4);
  EXPECT_LE(u.cx, 9);
  EXPECT_GE(u.cy, 10);
  EXPECT_LE(u.cy, 18);
}

TEST(FormLayoutTest, MenuSeparatorsFollowOpenSaveAndDownload) {
  const auto& menu = FormMenu();
  ASSERT_EQ(menu.size(), 2u);
  std::vector<int> file;
  for (const auto& item : menu[0].items) file.push_back(item.commandId);
  EXPECT_EQ(file, (std::vector<int>{32775, 32772, 0, 57603, 1001, kFileSavePdfCommand, 0, 32776, 0, 1}));
  std::vector<int> help;
  for (const auto& item : menu[1].items) help.push_back(item.commandId);
  EXPECT_EQ(help, (std::vector<int>{57670, 0, 32780, 32779}));
}

// ---- colours ----------------------------------------------------------------------------------

TEST(FormColorsTest, NineBrushesInTheirOrder) {
  EXPECT_EQ(FormBrushColor(1), QColor(200, 255, 200));
  EXPECT_EQ(FormBrushColor(2), QColor(200, 180, 255));
  EXPECT_EQ(FormBrushColor(3), QColor(255, 200, 200));
  EXPECT_EQ(FormBrushColor(4), QColor(255, 230, 200));
  EXPECT_EQ(FormBrushColor(5), QColor(255, 200, 255));
  EXPECT_EQ(FormBrushColor(6), QColor(200, 255, 255));
  EXPECT_EQ(FormBrushColor(7), QColor(220, 220, 220));
  EXPECT_EQ(FormBrushColor(8), QColor(0, 0, 255));
  EXPECT_EQ(FormBrushColor(9), QColor(255, 255, 0));
  EXPECT_FALSE(FormBrushColor(0).isValid());
  EXPECT_FALSE(FormBrushColor(10).isValid());
}

TEST(FormColorsTest, EveryControlOfEachGroup) {
  const std::map<int, std::vector<int>> groups = {
      {1, {1119, 1131, 1132, 1133, 1137}},
      {2, {1121, 1118, 1124, 1134, 1135, 1136}},
      {3, {1125, 1138, 1139}},
      {4, {1126}},
      {5, {1127}},
      {6, {1128, 1129, 1130}},
      {7,
       {1094, 1103, 1104, 1105, 1110, 1117, 1010, 1011, 1012, 1019, 1020, 1021, 1022, 1024, 1092, 1093, 1108, 1109,
        1091}},
      {8, {1140, 1172}},
      {9, {1106, 1107, 1174}},
  };
  for (const auto& [brush, controls] : groups) {
    for (int id : controls) {
      const auto c = ColorsForControl(id);
      ASSERT_TRUE(c.has_value()) << id;
      EXPECT_EQ(c->brush, brush) << id;
      EXPECT_EQ(c->box, FormBrushColor(brush)) << id;
      EXPECT_EQ(c->text, brush == 8 ? QColor(0, 0, 255) : QColor(Qt::black)) << id;
      EXPECT_EQ(c->style, brush == 8 ? ColorStyle::BlueOnDefault : ColorStyle::BlackOnBrush) << id;
    }
  }
  for (int id : {1002, 1013, 1014, 1023, 1025, 1008, 1009, 1044, 1083, 1120, 1000, 1, 1006}) {
    EXPECT_FALSE(ColorsForControl(id).has_value()) << id;
  }
}

}  // namespace
}  // namespace zorvik
