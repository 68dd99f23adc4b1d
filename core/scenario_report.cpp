#include "core/scenario_report.h"

#include <algorithm>

#include "core/plan_texts.h"
#include "core/text_forms.h"

namespace zorvik {
namespace {

std::string Yen(int64_t yen) {
  return FormatScheduleYen(yen);
}

// The lines of figures per five-year period, up to the longest column.
void AddPeriodLines(ScenarioReport& r, const char* caption, std::vector<int64_t> ScenarioSummary::*field,
                    int64_t ScenarioSummary::*highest) {
  size_t periods = 0;
  for (const ScenarioColumn& c : r.columns) periods = std::max(periods, (c.summary.*field).size());
  if (periods == 0) return;
  for (size_t p = 0; p < periods; ++p) {
    ScenarioTableLine line{std::string(caption) + " " + PeriodText(p), {}, true, false};
    for (const ScenarioColumn& c : r.columns) {
      const auto& values = c.summary.*field;
      line.cells.push_back(p < values.size() && values[p] != 0 ? Yen(values[p]) : std::string("－"));
    }
    r.table.push_back(std::move(line));
  }
  ScenarioTableLine top{std::string(caption) + "（最高）", {}, true, false};
  for (const ScenarioColumn& c : r.columns) top.cells.push_back(Yen(c.summary.*highest));
  r.table.push_back(std::move(top));
}

}  // namespace

std::string ReviewText(const PaymentReview& review) {
  if (!review.fiveYearRule) return "返済額は金利が変わるたびに見直し（5年ルール・125％ルールなし）";
  std::string text =
      "5年ルール・125％ルールあり（変動金利の元利均等返済は5年ごとに返済額を見直し、上昇は前回の1.25倍まで";
  if (review.recomputeWhenUnchanged) text += "、金利が変わらなくても見直し";
  return text + "）";
}

ScenarioReport BuildScenarioReport(const FundingPlan& plan, const std::vector<RateScenario>& scenarios) {
  ScenarioReport r;
  r.customerName = plan.customerName;
  r.dateText = CreatedDateText(CreatedDate(plan));
  r.annualIncome = plan.annualIncome;
  const size_t count = std::min(scenarios.size(), kMaxScenarioColumns);
  for (size_t i = 0; i < count; ++i) {
    ScenarioColumn c;
    c.scenario = scenarios[i];
    c.schedule = BuildPlanSchedule(plan, c.scenario);
    c.summary = SummarizeScenario(c.schedule, plan.annualIncome);
    r.columns.push_back(std::move(c));
  }
  if (!r.columns.empty()) {
    const RateScenario& first = r.columns.front().scenario;
    r.reviewText = ReviewText(first.review);
    r.notes = ScheduleNotes(r.columns.front().schedule);
    for (const RowSchedule& row : r.columns.front().schedule.rows) {
      const RowRateType& type = first.rowTypes[static_cast<size_t>(row.row)];
      std::string typeText = RateTypeText(type);
      if (type.type == RateType::FixedPeriod && type.rateAfterFixed) {
        typeText += " 以後 " + FormatRate(*type.rateAfterFixed);
      }
      r.rows.push_back({row.row, ScheduleRowTitle(row.row, row.loan.loanName), typeText, ScheduleRowDetails(row.loan)});
    }
  }

  ScenarioTableLine name{"シナリオ", {}, false, false};
  ScenarioTableLine path{"金利の推移", {}, false, false};
  for (const ScenarioColumn& c : r.columns) {
    name.cells.push_back(c.scenario.name);
    path.cells.push_back(RatePathText(c.scenario.path));
  }
  r.table.push_back(std::move(name));
  r.table.push_back(std::move(path));
  AddPeriodLines(r, "月々の返済額", &ScenarioSummary::monthlyByPeriod, &ScenarioSummary::highestMonthly);
  AddPeriodLines(r, "ボーナス時", &ScenarioSummary::bonusByPeriod, &ScenarioSummary::highestBonus);
  const auto add = [&r](const char* caption, auto cell, bool money = true) {
    ScenarioTableLine line{caption, {}, money, false};
    for (const ScenarioColumn& c : r.columns) line.cells.push_back(cell(c.summary));
    r.table.push_back(std::move(line));
  };
  add("総返済額", [](const ScenarioSummary& s) { return Yen(s.totalRepaid); });
  add("利息総額", [](const ScenarioSummary& s) { return Yen(s.totalInterest); });
  add("未払利息", [](const ScenarioSummary& s) { return Yen(s.unpaidInterest); });
  add("最終回の返済額", [](const ScenarioSummary& s) { return s.lastPayment != 0 ? Yen(s.lastPayment) : "－"; });
  add("返済比率（最も多い年）",
      [](const ScenarioSummary& s) { return s.ratioPercent ? FormatRatio(*s.ratioPercent) : std::string("－"); });
  const bool anyUnpaid = std::any_of(r.columns.begin(), r.columns.end(),
                                     [](const ScenarioColumn& c) { return c.summary.unpaidInterest > 0; });
  if (anyUnpaid) {
    ScenarioTableLine warning{"注意", {}, false, true};
    for (const ScenarioColumn& c : r.columns) {
      warning.cells.push_back(c.summary.unpaidInterest > 0 ? kUnpaidInterestWarning : "");
    }
    r.table.push_back(std::move(warning));
  }
  return r;
}

}  // namespace zorvik
