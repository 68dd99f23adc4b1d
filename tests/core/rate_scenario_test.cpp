#include "core/rate_scenario.h"

#include <gtest/gtest.h>

#include "core/plan_evaluation.h"
#include "core/repayment.h"
#include "core/scenario_report.h"

namespace zorvik {
namespace {

TEST(RateScenarioTest, RateTypeFromTheProductName) {
  struct Case {
    const char* name;
    RateType type;
    int32_t years;
  };
  for (const Case& c :
       {Case{"フラット35（全期間固定）", RateType::FullFixed, 0}, Case{"全期間固定20年", RateType::FullFixed, 0},
        Case{"変動金利", RateType::Variable, 0}, Case{"当初10年固定", RateType::FixedPeriod, 10},
        Case{"３年固定特約", RateType::FixedPeriod, 3}, Case{"固定期間選択型 ２０年", RateType::FixedPeriod, 20},
        Case{"固定金利", RateType::FullFixed, 0}, Case{"住宅ローン", RateType::FullFixed, 0},
        Case{"", RateType::FullFixed, 0}}) {
    const RowRateType t = RateTypeFromProductName(c.name);
    EXPECT_EQ(t.type, c.type) << c.name;
    EXPECT_EQ(t.fixedYears, c.years) << c.name;
  }
}

TEST(RateScenarioTest, PathsParsedAndRefusedWithTheirText) {
  EXPECT_EQ(ParseRatePath("2:+1.0,6:+2.0"), (RatePath{{2, 1.0}, {6, 2.0}}));
  EXPECT_EQ(ParseRatePath(" 3 : -0.25 "), (RatePath{{3, -0.25}}));
  EXPECT_EQ(ParseRatePath(""), RatePath{});
  for (const char* bad :
       {"1:+1.0", "6:+1,2:+1", "2:+1.0,2:+2", "100:1", "2:", "2:+1.", "2;+1", "x:1", "2:1e3", "2:+1.0,"}) {
    std::string error;
    EXPECT_FALSE(ParseRatePath(bad, &error)) << bad;
    EXPECT_NE(error.find("金利の推移「"), std::string::npos) << bad;
  }
  EXPECT_EQ(RatePathText({{2, 1.0}, {6, -0.25}}), "2年目 +1.0％、6年目 −0.25％");
  // Presets: every year +0.25 up to +2.0 reaches it at 9年目; every five years from 6年目, no ceiling.
  const auto presets = PresetScenarios();
  EXPECT_EQ(presets[1].path.back(), (RatePathStep{9, 2.0}));
  EXPECT_DOUBLE_EQ(PointsInYear(presets[2].path, 5), 0.0);
  EXPECT_DOUBLE_EQ(PointsInYear(presets[2].path, 11), 1.0);
  EXPECT_DOUBLE_EQ(PointsInYear(presets[2].path, 99), 9.5);
  EXPECT_DOUBLE_EQ(ScenarioRate(0.5, -1.0), 0.0);
  EXPECT_DOUBLE_EQ(ScenarioRate(2.375, 1.0), 3.375);
}

FundingPlan OneVariableRow(int32_t bonus = 0) {
  FundingPlan plan;
  plan.annualIncome = 500;
  LoanRow& row = plan.rows[0];
  row.loanName = "変動金利";
  row.method = 1;
  row.ratePercent = 2.375;
  row.periodYears = 30;
  row.loanAmount = 1000;
  row.bonusAmount = bonus;
  return plan;
}

// The government's published example of the five-year and 125 % rules, read through the plan:
// 1,000万 / 変動 / 2.375 % / 30 years, the rate from year 2 at +0, +1, +2, +3 points.
TEST(RateScenarioTest, PublishedExampleThroughThePlan) {
  const FundingPlan plan = OneVariableRow();
  struct Case {
    double points;
    int64_t totalRepaid, unpaid, last, highestMonthly;
  };
  for (const Case& c : {Case{0.0, 13991280, 0, 0, 38865}, Case{1.0, 15940991, 0, 0, 0}, Case{2.0, 18299322, 0, 0, 0},
                        Case{3.0, 21043742, 234720, 300937, 0}}) {
    RateScenario scenario;
    scenario.rowTypes = RateTypesFromNames(plan);
    if (c.points != 0.0) scenario.path = {{2, c.points}};
    const PlanEvaluation e = EvaluatePlan(plan, scenario);
    const ScenarioSummary s = SummarizeScenario(e.schedule, plan.annualIncome);
    EXPECT_EQ(s.totalRepaid, c.totalRepaid) << c.points;
    EXPECT_EQ(s.unpaidInterest, c.unpaid) << c.points;
    EXPECT_EQ(c.last == 0 || s.lastPayment == c.last, true) << s.lastPayment;
    EXPECT_EQ(c.highestMonthly == 0 || s.highestMonthly == c.highestMonthly, true) << s.highestMonthly;
    EXPECT_EQ(s.monthlyByPeriod.size(), 6u);
    EXPECT_EQ(s.monthlyByPeriod[0], 38865);
    EXPECT_EQ(e.computed, EvaluatePlan(plan).computed);  // the form's figures stay the plan's own
  }
}

TEST(RateScenarioTest, UnchangedIsThePlainScheduleAndFixedRowsNeverMove) {
  FundingPlan plan = OneVariableRow(400);
  plan.rows[1] = plan.rows[0];
  plan.rows[1].loanName = "フラット35";
  RateScenario scenario;
  scenario.rowTypes = RateTypesFromNames(plan);
  const PlanSchedule plain = BuildPlanSchedule(plan);
  EXPECT_EQ(BuildPlanSchedule(plan, scenario).totals, plain.totals);
  scenario.path = {{2, 1.0}};
  const PlanSchedule moved = BuildPlanSchedule(plan, scenario);
  EXPECT_EQ(moved.rows[1].totals, plain.rows[1].totals);
  EXPECT_GT(moved.rows[0].totals.totalRepaid, plain.rows[0].totals.totalRepaid);
  // The bonus part moves from bonus payment 3 (year 2), reviewed every ten bonus payments.
  const auto bonus = PartPaymentList(moved.rows[0].bonus);
  EXPECT_EQ(bonus[2].interest, bonus[1].balance * 3375 / kBonusInterestDivisor);
  EXPECT_EQ(bonus[9].payment, bonus[0].payment);
  EXPECT_NE(bonus[10].payment, bonus[0].payment);
}

// A 10-year fixed period: the rate and payment hold for 120 payments, then the payment is
// recomputed at the rate after the period plus the path's points, without the cap.
TEST(RateScenarioTest, FixedPeriodSwitchesUncappedAfterItsYears) {
  FundingPlan plan = OneVariableRow();
  plan.rows[0].loanName = "当初10年固定";
  RateScenario scenario;
  scenario.rowTypes = RateTypesFromNames(plan);
  scenario.rowTypes[0].rateAfterFixed = 6.0;
  scenario.path = {{2, 1.0}, {15, 4.0}};
  const auto ps = PartPaymentList(BuildPlanSchedule(plan, scenario).rows[0].monthly);
  EXPECT_EQ(ps[119].payment, ps[0].payment);
  EXPECT_EQ(ps[120].payment, LevelPayment(ps[119].balance, 7.0, 240, 12));  // 6.0 + 1.0, uncapped
  EXPECT_GT(ps[120].payment, ps[0].payment * 5 / 4);
  // The clock restarts at payment 121: the rise of year 15 waits for payment 181.
  EXPECT_EQ(ps[179].payment, ps[120].payment);
  EXPECT_LE(ps[180].payment, ps[120].payment * 5 / 4);
}

}  // namespace
}  // namespace zorvik

namespace zorvik {
namespace {

const ScenarioTableLine* FindLine(const ScenarioReport& r, const std::string& caption) {
  for (const ScenarioTableLine& line : r.table) {
    if (line.caption == caption) return &line;
  }
  return nullptr;
}

// Four columns, 据え置き and +1, +2, +3 points from year 2: the government example's totals side by
// side, with the warning only where interest is deferred.
TEST(ScenarioReportTest, FourColumnsOfThePublishedExample) {
  const FundingPlan plan = OneVariableRow();
  std::vector<RateScenario> scenarios(5);
  for (size_t i = 0; i < scenarios.size(); ++i) {
    scenarios[i].name = i == 0 ? kUnchangedScenarioName : "+" + std::to_string(i);
    scenarios[i].rowTypes = RateTypesFromNames(plan);
    if (i > 0) scenarios[i].path = {{2, static_cast<double>(i)}};
  }
  const ScenarioReport r = BuildScenarioReport(plan, scenarios);
  ASSERT_EQ(r.columns.size(), kMaxScenarioColumns);
  EXPECT_EQ(FindLine(r, "総返済額")->cells,
            (std::vector<std::string>{"13,991,280円", "15,940,991円", "18,299,322円", "21,043,742円"}));
  EXPECT_EQ(FindLine(r, "未払利息")->cells, (std::vector<std::string>{"0円", "0円", "0円", "234,720円"}));
  EXPECT_EQ(FindLine(r, "最終回の返済額")->cells[3], "300,937円");
  EXPECT_EQ(FindLine(r, "注意")->cells, (std::vector<std::string>{"", "", "", kUnpaidInterestWarning}));
  EXPECT_EQ(FindLine(r, "月々の返済額 1〜5年目")->cells[0], "38,865円");
  EXPECT_EQ(FindLine(r, "月々の返済額 26〜30年目")->cells.size(), 4u);
  EXPECT_EQ(FindLine(r, "ボーナス時（最高）"), nullptr);
  ASSERT_EQ(r.rows.size(), 1u);
  EXPECT_EQ(r.rows[0].rateType, "変動");
}

}  // namespace
}  // namespace zorvik
