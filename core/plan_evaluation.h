#pragma once
// One evaluation of a plan: everything a window, a printout or an export reads about it, from
// one pure function. Every view of a plan (the sheet, the schedule window and pages, the
// exports, the capacity dialog's comparison with the plan) reads a PlanEvaluation instead of
// computing a figure itself.
//
// A plan carries two sets of figures. Its stored figures are the payments and totals it holds:
// what the form shows and the sheet prints, exactly as typed or as read from a file, until a
// recalculation replaces them. Its computed figures are what its inputs give: each complete
// row's payments by the form's own formula (the bonus portion capped at the loan), their sums,
// the yearly repayment and the ratio. After any editing on the form the two agree; a file
// written elsewhere may hold other stored payments, and the schedule, which is always computed
// from the inputs, then says so.

#include <array>
#include <cstdint>
#include <optional>

#include "core/funding_plan.h"
#include "core/plan_texts.h"
#include "core/rate_scenario.h"
#include "core/repayment_schedule.h"

namespace zorvik {

// A row's payments as its inputs give them; 0 and 0 for a row that is not complete.
struct RowPayments {
  int32_t monthly = 0;
  int32_t bonus = 0;
  bool operator==(const RowPayments&) const = default;
};

// The figures the form computes from the rows.
struct PlanFigures {
  std::array<RowPayments, kLoanRowCount> rows{};
  double totalMonthly = 0.0;     // sum of the complete rows' 月払
  double totalBonus = 0.0;       // sum of the complete rows' ボーナス払
  double annualRepayment = 0.0;  // 12 x 月払 + 2 x ボーナス払
  // 返済比率 in percent; none without an income or a repayment (the form then shows no ratio).
  std::optional<double> ratioPercent;
  bool operator==(const PlanFigures&) const = default;
};

struct PlanEvaluation {
  FundingPlan plan;       // as held: its stored figures
  PlanTexts texts;        // every text the form shows and the sheet prints, of `plan`
  PlanFigures stored;     // the stored figures, gathered as PlanFigures
  PlanFigures computed;   // the figures the plan's inputs give
  PlanSchedule schedule;  // every payment of every part, computed from the inputs

  // Whether what the plan holds differs from what its inputs give (a payment or a total).
  bool StoredFiguresDiffer() const { return !(stored == computed); }
};

// The payments of one row as its inputs give them.
RowPayments ComputeRowPayments(const LoanRow& row);
// The ratio the form shows for a yearly repayment in yen and an income in 万円; none when either
// is 0.
std::optional<double> ShownRatioPercent(double annualRepaymentYen, int32_t annualIncome);

PlanEvaluation EvaluatePlan(const FundingPlan& plan);
// The same under a rate scenario: the schedule follows the scenario's rates; the figures the form
// shows stay those of the plan's own rates.
PlanEvaluation EvaluatePlan(const FundingPlan& plan, const RateScenario& scenario);

}  // namespace zorvik
