#pragma once
// Rate scenarios: what a plan costs when rates move.
//
// Each loan row has a 金利タイプ: 全期間固定 (the rate never moves), 変動 (the rate follows the
// scenario's path from the year it names) or 固定期間選択 (the rate stays for the fixed years; from
// the first payment after them it is the rate after the fixed period plus the path's points, the
// payment is recomputed there without a cap and the five-year clock starts again).
//
// A path is a list of steps in percentage points over the row's own rate, by loan year (年目):
// each step holds until the next ("2年目 +1.0, 6年目 +2.0" is +1.0 in years 2-5 and +2.0 from year
// 6); before the first step the points are 0, and steps start at 2年目. Loan year Y begins with
// monthly payment 12(Y - 1) + 1 and with bonus payment 2Y - 1. A scenario's rate is the row's rate
// plus the points, rounded to thousandths of a percent as the form shows rates, never below 0.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/funding_plan.h"
#include "core/prepayment.h"
#include "core/rate_timeline.h"
#include "core/repayment_schedule.h"

namespace zorvik {

enum class RateType { FullFixed, Variable, FixedPeriod };

struct RowRateType {
  RateType type = RateType::FullFixed;
  int32_t fixedYears = 0;                // 固定期間選択: the fixed years
  std::optional<double> rateAfterFixed;  // 固定期間選択: the rate after them; none: the row's rate
  bool operator==(const RowRateType&) const = default;
};

// The 金利タイプ a product name suggests: フラット or 全期間固定 in it -> 全期間固定; else 変動 -> 変動;
// else 固定 with a number of years written "N年" (half- or full-width digits) -> 固定期間選択 of N
// years; else 全期間固定.
RowRateType RateTypeFromProductName(const std::string& name);
// "全期間固定", "変動", "固定期間選択（10年）".
std::string RateTypeText(const RowRateType& type);

struct RatePathStep {
  int32_t fromYear = 2;
  double points = 0.0;
  bool operator==(const RatePathStep&) const = default;
};
using RatePath = std::vector<RatePathStep>;  // by fromYear, strictly increasing, from 2

inline constexpr int32_t kFirstPathYear = 2;
inline constexpr int32_t kLastPathYear = 99;

// The points of loan year `year` (0 before the first step).
double PointsInYear(const RatePath& path, int32_t year);
// The rate of a row at `rowRate` plus `points`, rounded to thousandths, never below 0.
double ScenarioRate(double rowRate, double points);
// Steps of `step` points from `startYear`, every `everyYears` years, up to `ceiling` points when
// given (the last step is the ceiling itself), through 99年目.
RatePath SteppedPath(int32_t startYear, double step, int32_t everyYears, std::optional<double> ceiling);
// Whether `path` is a path: years from 2 to 99, strictly increasing, points finite and within
// +-100.
bool IsRatePath(const RatePath& path);

// "2:+1.0,6:+2.0" (年目:points, each holding until the next); an empty text is no change. On a
// malformed text: none, and `error` says what is wrong in Japanese.
std::optional<RatePath> ParseRatePath(const std::string& text, std::string* error = nullptr);
// "2年目 +1.0％、6年目 +2.0％"; "変動なし" for an empty path.
std::string RatePathText(const RatePath& path);
// "+1.0％", "−0.25％", "±0％".
std::string PointsText(double points);

struct RateScenario {
  std::string name;
  RatePath path;
  std::array<RowRateType, kLoanRowCount> rowTypes{};
  PaymentReview review;
  std::vector<PlannedPrepayment> prepayments;  // applied in order, each row's on that row
};

// What became of each planned prepayment of a scenario, in the same order.
using PrepaymentResults = std::vector<PrepaymentResult>;

// 据え置き, 毎年 +0.25％（上限 +2.0％）, 5年ごとに +0.5％, 2年目に +1.0％, 3年目に +3.0％ (paths only).
std::vector<RateScenario> PresetScenarios();
inline constexpr const char* kUnchangedScenarioName = "据え置き";
// Each row's type as its product name suggests.
std::array<RowRateType, kLoanRowCount> RateTypesFromNames(const FundingPlan& plan);

// The rate timeline of one part of `row` under `path` for the row's type; empty for a row whose
// rate never moves (the plain schedule).
std::vector<RateChange> PartRateChanges(const LoanRow& row, SchedulePartKind kind, const RowRateType& type,
                                        const RatePath& path);
// The plan's schedule under a scenario (its rates, then its prepayments in order); under 据え置き with
// no 固定期間選択 row and no prepayment, the plain schedule. `results`, when given, receives what
// became of each planned prepayment (refused ones change nothing).
PlanSchedule BuildPlanSchedule(const FundingPlan& plan, const RateScenario& scenario,
                               PrepaymentResults* results = nullptr);

// What the scenario window, its page and the CLI show of one scenario.
struct ScenarioSummary {
  // 月々の返済額 and ボーナス時 of the whole plan: the highest in each five-year period (1-5年目,
  // 6-10年目, ...) and over all, each part's last payment left out (it is shown apart).
  std::vector<int64_t> monthlyByPeriod;
  std::vector<int64_t> bonusByPeriod;
  int64_t highestMonthly = 0;
  int64_t highestBonus = 0;
  int64_t totalRepaid = 0;             // 総返済額
  int64_t totalInterest = 0;           // 利息総額, deferred interest included
  int64_t unpaidInterest = 0;          // 未払利息: yen deferred to the last payments
  int64_t lastPayment = 0;             // 最終回の返済額: the largest last payment of a monthly part
  int64_t highestYearRepayment = 0;    // the highest loan year's repayment without deferred interest
  std::optional<double> ratioPercent;  // of that year against the income; none without income
  // The plan's monthly payment at each monthly payment number (index 0 is payment 1), every
  // part's last payment included: the chart's step line.
  std::vector<int64_t> monthlyPayments;
};

ScenarioSummary SummarizeScenario(const PlanSchedule& schedule, int32_t annualIncome);

inline constexpr int32_t kYearsPerPeriod = 5;
// "1〜5年目".
std::string PeriodText(size_t period);
inline constexpr const char* kUnpaidInterestWarning = "未払利息が発生し、最終回に一括で返済します";

}  // namespace zorvik
