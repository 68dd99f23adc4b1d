#pragma once
// プラン比較: two to four plans side by side (A案 … D案), each evaluated on its own, with the
// difference of each figure against A案.
//
// Differences are in the figure's own unit (＋12,345円, −300万, ＋5年); ratios in percentage points
// as the difference of the shown values (25.30％ against 23.10％ is ＋2.20ポイント), never a relative
// percent. On lines that are a cost to the customer the lowest value is marked as the cheaper one;
// lines that are not a cost (物件価格, 借入総額, 自己資金, 完済年目) get a difference and no mark.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/funding_plan.h"
#include "core/rate_scenario.h"
#include "core/repayment_schedule.h"

namespace zorvik {

inline constexpr size_t kMaxComparedPlans = 4;
inline constexpr const char* kComparisonTitle = "資金計画 比較表";
inline constexpr const char* kComparisonMenuText = "プラン比較(&C)...";
inline constexpr const char* kCurrentPlanLabel = "現在のプラン";
inline constexpr const char* kCheaperMark = "◎";
inline constexpr const char* kCheaperLegend = "◎ 負担が最も少ない案（同じ額のときはそれぞれ）";

struct ComparedPlan {
  std::string label;  // "現在のプラン" or the file's name
  FundingPlan plan;
  std::array<RowRateType, kLoanRowCount> rowTypes{};
};

enum class ComparisonUnit { ManYen, Yen, RatioPercent, Years, Text };

struct ComparisonCell {
  std::string text;        // the figure as shown ("115,455円"); "－" for none
  std::string difference;  // against A案 ("＋12,345円", "−2.20ポイント"); "" for A案 and for none
  int sign = 0;            // of the difference: -1, 0, +1
  bool cheaper = false;    // the lowest value of a cost line
};

struct ComparisonLine {
  std::string caption;
  ComparisonUnit unit = ComparisonUnit::Yen;
  bool cost = false;     // a cost to the customer: the lowest value is marked
  bool loanRow = false;  // one loan row in short; collapses into the plan's loan summary on a full page
  std::vector<std::optional<int64_t>> values;  // per plan (hundredths of a percent for ratios)
  std::vector<ComparisonCell> cells;
};

struct Comparison {
  std::vector<std::string> columnTitles;  // "A案", "B案", …
  std::vector<std::string> planLabels;
  std::vector<std::string> loanSummaries;  // per plan "2本 合計 3,500万"
  std::string scenarioName;
  std::vector<ComparisonLine> lines;
  std::vector<PlanSchedule> schedules;          // per plan, under the scenario (the chart's lines)
  std::vector<std::vector<std::string>> notes;  // per plan: the schedule's notes
};

// Compares up to kMaxComparedPlans plans; each plan's rows take the plan's own rate types under
// the scenario's path and review (据え置き: the plain schedule).
Comparison ComparePlans(const std::vector<ComparedPlan>& plans, const RateScenario& scenario);

// "A案" for 0 … "D案" for 3.
std::string PlanColumnTitle(size_t index);
// The difference of `value` against `base` in `unit`: "＋12,345円", "−300万", "±0円", "＋2.20ポイント".
std::string DifferenceText(int64_t value, int64_t base, ComparisonUnit unit);
// A loan row in short: "フラット35 全期間固定 1.500％ 35年 3,000万".
std::string LoanRowShortText(const LoanRow& row, const RowRateType& type);

}  // namespace zorvik
