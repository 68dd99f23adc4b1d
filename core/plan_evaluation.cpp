#include "core/plan_evaluation.h"

#include <cstddef>

#include "core/repayment.h"
#include "core/units.h"

namespace zorvik {
namespace {

// Sums and ratio of a plan whose rows pay `rows`; only complete rows count, as on the form.
PlanFigures Sum(const FundingPlan& plan, const std::array<RowPayments, kLoanRowCount>& rows) {
  PlanFigures f;
  f.rows = rows;
  for (size_t i = 0; i < plan.rows.size(); ++i) {
    if (!plan.rows[i].IsComplete()) continue;
    f.totalMonthly += rows[i].monthly;
    f.totalBonus += rows[i].bonus;
  }
  f.annualRepayment = 2 * f.totalBonus + 12 * f.totalMonthly;
  f.ratioPercent = ShownRatioPercent(f.annualRepayment, plan.annualIncome);
  return f;
}

}  // namespace

RowPayments ComputeRowPayments(const LoanRow& row) {
  if (!row.IsComplete()) return {};
  const LoanRow loan = ScheduledLoan(row);
  const PaymentFactors f = PreparePaymentFactors(loan.method, loan.periodYears, loan.ratePercent);
  return RowPayments{MonthlyPaymentWith(f, loan.loanAmount, loan.bonusAmount), BonusPaymentWith(f, loan.bonusAmount)};
}

std::optional<double> ShownRatioPercent(double annualRepaymentYen, int32_t annualIncome) {
  if (annualIncome == 0 || annualRepaymentYen == 0.0) return std::nullopt;
  return RepaymentRatioPercent(annualRepaymentYen, annualIncome);
}

PlanEvaluation EvaluatePlan(const FundingPlan& plan) {
  return EvaluatePlan(plan, RateScenario{});
}

PlanEvaluation EvaluatePlan(const FundingPlan& plan, const RateScenario& scenario) {
  PlanEvaluation e;
  e.plan = plan;
  e.texts = MakePlanTexts(plan);
  std::array<RowPayments, kLoanRowCount> stored{};
  std::array<RowPayments, kLoanRowCount> computed{};
  for (size_t i = 0; i < plan.rows.size(); ++i) {
    const LoanRow& row = plan.rows[i];
    if (row.IsComplete()) stored[i] = RowPayments{row.monthlyPayment, row.bonusPayment};
    computed[i] = ComputeRowPayments(row);
  }
  e.stored = Sum(plan, stored);
  // A plan holds its totals; they are what is shown, whatever the rows add up to.
  e.stored.totalMonthly = plan.totalMonthly;
  e.stored.totalBonus = plan.totalBonus;
  e.stored.annualRepayment = plan.annualRepayment;
  e.stored.ratioPercent = ShowsRatio(plan) ? std::optional<double>(plan.repaymentRatio) : std::nullopt;
  e.computed = Sum(plan, computed);
  e.schedule = BuildPlanSchedule(plan, scenario);
  return e;
}

}  // namespace zorvik
