#pragma once
// Reaching a desired monthly total or a desired per-bonus total by moving loan money between
// monthly and bonus repayment, and, when the user allows it, by changing loan amounts.
//
// The procedures run on a SimulationWork and change only its rows and row orders. They read
// `desiredAmount` (D, yen) and `keepLoanAmounts` from the work:
//   - keepLoanAmounts = 1: bonus portions move in units of 50万円, each row between 0 and its
//     suggested (four-tenths) portion; loan amounts stay.
//   - keepLoanAmounts = 0: the same adjustment first, then loan amounts move in units of 10万円
//     (highest-rate rows are reduced first; only the lowest-rate row is increased).
// Only rows whose rate is not 0 take part; other rows are never changed. Each phase stops at
// the step that comes closest to D (on a tie the step that passed D stays), or at the reachable
// limit: every portion at its cap or at 0, a loan at 0 or at kSimulationLoanLimit.
//
// A run ends for every input (any D, negative or not a whole number; rows with a zero period,
// method or loan; one or ten taking-part rows).

#include <cstdint>

#include "core/text_forms.h"
#include "simulation/simulation_work.h"

namespace zorvik {

// Loans are raised and lowered in steps of 10万円.
inline constexpr int32_t kSimulationLoanUnit = 10;
// The highest loan amount a loan phase raises a row to: the largest multiple of the step that
// the form's loan-amount box accepts (it takes amounts below kLoanAmountLimit), 81990万.
inline constexpr int32_t kSimulationLoanLimit = (kLoanAmountLimit - 1) / kSimulationLoanUnit * kSimulationLoanUnit;

inline constexpr const char* kSimulationCaption = "シミュレーションの実行";
inline constexpr const char* kDesiredAmountMissingMessage = "希望する金額を入力して下さい。";
inline constexpr const char* kSameAsCurrentMessage = "現在の返済額と同じなので、変更されません。";

enum class SimulationStatus {
  AmountMissing,  // D is 0: nothing ran, the work is unchanged
  SameAsCurrent,  // D equals the current target total: nothing ran, the work is unchanged
  Done,           // the rows of the work hold the outcome; the totals below go with them
};

struct SimulationOutcome {
  SimulationStatus status = SimulationStatus::Done;
  // What the result dialog shows: before (the plan's values) and after.
  int32_t loanTotalBefore = 0;      // 万円
  double monthlyTotalBefore = 0.0;  // yen
  double bonusTotalBefore = 0.0;    // yen
  int32_t loanTotal = 0;            // 万円, the work's totalLoan when loans were kept
  double monthlyTotal = 0.0;        // yen
  double bonusTotal = 0.0;          // yen, per bonus date
  int32_t bonusAmountTotal = 0;     // 万円, sum of every row's bonus portion
};

// How a procedure computes the payments of its steps. Both give the same yen; the plain
// formula recomputes the growth factor on every step and exists for comparison only.
enum class PaymentEvaluation {
  ReusePreparedFactors,  // factors prepared once per row (the normal way)
  PlainFormula,          // CalcMonthlyPayment / CalcBonusPayment on every step
};

// The monthly-target simulation (dialog "現在の月払い額").
SimulationOutcome SimulateMonthlyTarget(SimulationWork& work);
SimulationOutcome SimulateMonthlyTarget(SimulationWork& work, PaymentEvaluation evaluation);

// The per-bonus-target simulation (dialog "現在のボーナス払い額").
SimulationOutcome SimulateBonusTarget(SimulationWork& work);
SimulationOutcome SimulateBonusTarget(SimulationWork& work, PaymentEvaluation evaluation);

// Takes an accepted outcome (status Done) into the work's result fields: resultMonthly,
// resultBonus, totalBonusAmount, totalLoan, and annualRepayment = 12 x resultMonthly +
// 2 x resultBonus. Other statuses leave the work as it is.
void ApplySimulationOutcome(SimulationWork& work, const SimulationOutcome& outcome);

// The row orders of the procedures, written into work.rateOrder / work.rateOrderStable
// (exposed for tests). Returns the number of taking-part rows.
int BuildRateOrder(SimulationWork& work);
int BuildRateOrderStable(SimulationWork& work);

}  // namespace zorvik
