#include "core/plan_comparison.h"

#include <gtest/gtest.h>

#include "tests/support/worked_plan.h"

namespace zorvik {
namespace {

const ComparisonLine& Line(const Comparison& c, const std::string& caption) {
  for (const ComparisonLine& line : c.lines) {
    if (line.caption == caption) return line;
  }
  ADD_FAILURE() << caption;
  return c.lines.front();
}

// The worked plan (3,000万, 1,200万 through bonuses, 2.375 %, 35 years, income 600万) against the
// same plan over 30 years. By hand: 35 years pay 63,149円 a month and 253,397円 a bonus, 1,264,582円
// a year, 21.08％ of 600万; 30 years 69,957円, 280,776円, 1,401,036円 a year, 23.35％.
TEST(PlanComparisonTest, WorkedComparisonOfTwoTerms) {
  ComparedPlan a{kCurrentPlanLabel, WorkedPlan(), {}};
  ComparedPlan b{"30年.zvk", WorkedPlan(), {}};
  b.plan.rows[0].periodYears = 30;
  const Comparison c = ComparePlans({a, b}, RateScenario{});
  ASSERT_EQ(c.columnTitles, (std::vector<std::string>{"A案", "B案"}));
  struct Row {
    const char* caption;
    const char* a;
    const char* b;
    const char* difference;
    bool aCheaper, bCheaper;
  };
  for (const Row& r :
       {Row{"月々の返済額", "63,149円", "69,957円", "＋6,808円", true, false},
        Row{"ボーナス時", "253,397円", "280,776円", "＋27,379円", true, false},
        Row{"年間返済額", "1,264,582円", "1,401,036円", "＋136,454円", true, false},
        Row{"返済比率", "21.08％", "23.35％", "＋2.27ポイント", true, false},
        Row{"総返済額", "44,260,379円", "", "", false, true}, Row{"完済年目", "35年目", "30年目", "−5年", false, false},
        Row{"借入総額", "3,000万", "3,000万", "±0万", false, false},
        Row{"自己資金", "1,744万", "1,744万", "±0万", false, false}}) {
    const ComparisonLine& line = Line(c, r.caption);
    EXPECT_EQ(line.cells[0].text, r.a) << r.caption;
    if (*r.b != '\0') {
      EXPECT_EQ(line.cells[1].text, r.b) << r.caption;
    }
    if (*r.difference != '\0') {
      EXPECT_EQ(line.cells[1].difference, r.difference) << r.caption;
    }
    EXPECT_EQ(line.cells[0].cheaper, r.aCheaper) << r.caption;
    EXPECT_EQ(line.cells[1].cheaper, r.bCheaper) << r.caption;
    EXPECT_TRUE(line.cells[0].difference.empty());
  }
  EXPECT_EQ(Line(c, "融資1").cells[1].text, "フラット35 全期間固定 2.375％ 30年 3,000万");
  EXPECT_EQ(c.loanSummaries[0], "1本 合計 3,000万");
  EXPECT_EQ(Line(c, "未払利息（据え置き）").cells[1].difference, "±0円");
}

TEST(PlanComparisonTest, DifferencesInTheirUnitAndAtMostFourPlans) {
  EXPECT_EQ(DifferenceText(2310, 2530, ComparisonUnit::RatioPercent), "−2.20ポイント");
  EXPECT_EQ(DifferenceText(200, 500, ComparisonUnit::ManYen), "−300万");
  EXPECT_EQ(DifferenceText(12345, 0, ComparisonUnit::Yen), "＋12,345円");
  const std::vector<ComparedPlan> five(5, ComparedPlan{"x", WorkedPlan(), {}});
  const Comparison c = ComparePlans(five, RateScenario{});
  EXPECT_EQ(c.columnTitles.size(), kMaxComparedPlans);
  // Equal values everywhere: no plan is marked cheaper.
  for (const ComparisonLine& line : c.lines) {
    for (const ComparisonCell& cell : line.cells) EXPECT_FALSE(cell.cheaper) << line.caption;
  }
}

}  // namespace
}  // namespace zorvik
