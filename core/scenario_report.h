#pragma once
// A plan under several rate scenarios, side by side: what the scenario window shows, its printed
// page and its workbook read. Built by one function from the plan and the scenarios, so that the
// window, the page, the workbook and the sheet tool show the same lines and the same yen.

#include <cstdint>
#include <string>
#include <vector>

#include "core/funding_plan.h"
#include "core/rate_scenario.h"
#include "core/repayment_schedule.h"

namespace zorvik {

inline constexpr const char* kScenarioTitle = "金利シナリオ";
inline constexpr const char* kScenarioMenuText = "金利シナリオ(&V)...";
inline constexpr size_t kMaxScenarioColumns = 4;

struct ScenarioColumn {
  RateScenario scenario;
  PlanSchedule schedule;  // every payment under the scenario
  ScenarioSummary summary;
};

// A loan row as the report names it: "1行目 変動金利", "変動", "元利均等  2.375％  30年  1,000万".
struct ScenarioRowLine {
  int row = 0;
  std::string title;
  std::string rateType;
  std::string details;
};

// One line of the table: a caption and one cell per scenario. `warning` marks the line that
// warns of deferred interest; `money` a line of yen amounts (right-aligned).
struct ScenarioTableLine {
  std::string caption;
  std::vector<std::string> cells;
  bool money = true;
  bool warning = false;
};

struct ScenarioReport {
  std::string customerName;
  std::string dateText;  // "2026年 12月 8日  作成"
  int32_t annualIncome = 0;
  std::vector<ScenarioRowLine> rows;  // the rows that have a schedule
  std::vector<ScenarioColumn> columns;
  std::string reviewText;          // how payments follow the rate, in one sentence
  std::vector<std::string> notes;  // the schedule's notes (rows left out, stored payments)
  std::vector<ScenarioTableLine> table;
};

// Builds the report of `plan` under each of `scenarios` (at most kMaxScenarioColumns are used).
ScenarioReport BuildScenarioReport(const FundingPlan& plan, const std::vector<RateScenario>& scenarios);

// "5年ルール・125％ルールあり（返済額は5年ごとに見直し、上昇は前回の1.25倍まで）" or
// "返済額は金利が変わるたびに見直し".
std::string ReviewText(const PaymentReview& review);

}  // namespace zorvik
