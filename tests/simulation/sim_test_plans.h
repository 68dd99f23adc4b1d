#pragma once
// Plans for the simulation tests, built the way the form leaves them after editing: each row's
// payments from the formulas, the displayed totals as the sums of the complete rows, the
// suggested portions by the four-tenths rule and the reference sums by the full rebuild.

#include <cstdint>
#include <vector>

#include "core/funding_plan.h"
#include "core/repayment.h"
#include "simulation/simulation_work.h"

namespace zorvik::simtest {

struct TestRow {
  double rate = 0.0;
  int16_t period = 35;
  int32_t loan = 0;
  int32_t bonus = 0;
  uint16_t method = 1;
  int32_t suggested = -1;  // -1: the four-tenths rule of the loan
};

inline int32_t Monthly(const TestRow& r, int32_t loan, int32_t bonus) {
  return CalcMonthlyPayment(loan, bonus, r.method, r.period, r.rate);
}
inline int32_t Bonus(const TestRow& r, int32_t bonus) {
  return CalcBonusPayment(bonus, r.method, r.period, r.rate);
}

inline FundingPlan MakePlan(const std::vector<TestRow>& testRows) {
  FundingPlan plan;
  for (size_t i = 0; i < testRows.size() && i < plan.rows.size(); ++i) {
    const TestRow& s = testRows[i];
    LoanRow& row = plan.rows[i];
    if (s.rate != 0.0 || s.loan != 0) row.loanName = "ローン";
    row.method = s.method;
    row.ratePercent = s.rate;
    row.periodYears = s.period;
    row.loanAmount = s.loan;
    row.bonusAmount = s.bonus;
    if (row.IsComplete()) {
      row.monthlyPayment = Monthly(s, s.loan, s.bonus);
      row.bonusPayment = Bonus(s, s.bonus);
    }
    plan.suggestedBonus[i] = s.suggested >= 0 ? s.suggested : SuggestBonusAmount(s.loan);
  }
  for (size_t i = 0; i < plan.rows.size(); ++i) {
    const LoanRow& row = plan.rows[i];
    plan.totalLoan += row.loanAmount;
    plan.totalBonusAmount += row.bonusAmount;
    if (row.IsComplete()) {
      plan.totalMonthly += row.monthlyPayment;
      plan.totalBonus += row.bonusPayment;
    }
    if (row.loanAmount != 0) {
      const int32_t m =
          plan.suggestedBonus[i] >= row.bonusAmount ? SuggestBonusAmount(row.loanAmount) : row.bonusAmount;
      plan.recalcMonthlySum += CalcMonthlyPayment(row.loanAmount, m, row.method, row.periodYears, row.ratePercent);
      plan.recalcBonusSum += CalcBonusPayment(m, row.method, row.periodYears, row.ratePercent);
    }
  }
  plan.annualRepayment = 2 * plan.totalBonus + 12 * plan.totalMonthly;
  return plan;
}

inline SimulationWork MakeWork(const std::vector<TestRow>& testRows, double desired, int32_t keepLoanAmounts = 1) {
  SimulationWork work = MakeSimulationWork(MakePlan(testRows));
  work.desiredAmount = desired;
  work.keepLoanAmounts = keepLoanAmounts;
  return work;
}

inline bool SameRow(const LoanRow& a, const LoanRow& b) {
  return a.loanName == b.loanName && a.method == b.method && a.ratePercent == b.ratePercent &&
         a.periodYears == b.periodYears && a.loanAmount == b.loanAmount && a.bonusAmount == b.bonusAmount &&
         a.monthlyPayment == b.monthlyPayment && a.bonusPayment == b.bonusPayment;
}

}  // namespace zorvik::simtest
