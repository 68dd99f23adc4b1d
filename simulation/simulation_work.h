#pragma once
// The working copy a payment-target simulation runs on.
//
// The simulation dialogs copy the plan into a SimulationWork when they open; the procedures in
// simulation/payment_target.h change only this copy, and the plan takes the outcome over only
// when the user accepts it in the result dialog. Units as in the plan: amounts and bonus
// portions in whole 万円, payments and payment totals in whole yen, rates in percent.

#include <array>
#include <cstdint>

#include "core/funding_plan.h"

namespace zorvik {

// Marks an entry of a row order that holds no row. Such entries stand after every entry with a
// row and are never used as a row index.
inline constexpr int32_t kNoRowInOrder = 10;

struct SimulationWork {
  double desiredAmount = 0.0;   // yen: the total the user wants
  double currentMonthly = 0.0;  // yen: the plan's monthly total before the simulation
  double currentBonus = 0.0;    // yen: the plan's per-bonus total before the simulation
  std::array<LoanRow, kLoanRowCount> rows{};
  int32_t totalLoan = 0;         // 万円: replaced by the result
  int32_t totalBonusAmount = 0;  // 万円: replaced by the result
  double resultMonthly = 0.0;    // yen: monthly total after the simulation
  double resultBonus = 0.0;      // yen: per-bonus total after the simulation
  int32_t annualIncome = 0;      // 万円: carried along
  double annualRepayment = 0.0;  // yen: replaced by 12 x resultMonthly + 2 x resultBonus
  double repaymentRatio = 0.0;   // percent: carried along
  // Per row, the four-tenths bonus portion: the cap of the row's bonus portion while portions
  // are raised.
  std::array<int32_t, kLoanRowCount> suggestedBonus{};
  // Monthly total with every row carrying at least its suggested portion: the lowest monthly
  // total that raising bonus portions can reach.
  double recalcMonthlySum = 0.0;
  // Per-bonus total in the same situation: the highest one raising bonus portions can reach.
  double recalcBonusSum = 0.0;
  // Taking-part rows (rate not 0), highest rate first; equal rates: higher index first.
  std::array<int32_t, kLoanRowCount> rateOrder{kNoRowInOrder, kNoRowInOrder, kNoRowInOrder, kNoRowInOrder,
                                               kNoRowInOrder, kNoRowInOrder, kNoRowInOrder, kNoRowInOrder,
                                               kNoRowInOrder, kNoRowInOrder};
  // Same rows, highest rate first; equal rates: lower index first (monthly target only).
  std::array<int32_t, kLoanRowCount> rateOrderStable{kNoRowInOrder, kNoRowInOrder, kNoRowInOrder, kNoRowInOrder,
                                                     kNoRowInOrder, kNoRowInOrder, kNoRowInOrder, kNoRowInOrder,
                                                     kNoRowInOrder, kNoRowInOrder};
  // 1: loan amounts must not change (the default, "いいえ"); 0: they may change ("はい").
  int32_t keepLoanAmounts = 1;
};

// A fresh working copy of `plan`: current and result totals from the plan's displayed totals,
// every row and its suggested portion, the reference sums built afresh from the rows (the full
// rebuild of FullReferenceSums); desiredAmount 0, keepLoanAmounts 1, both orders empty.
SimulationWork MakeSimulationWork(const FundingPlan& plan);

}  // namespace zorvik
