#pragma once
// Payments of one loan row.
//
// Amounts are whole 万円, the rate is percent per year, the period whole years, the method a
// RepaymentMethod code (1 元利均等, 2 元金均等; anything else pays nothing). Results are whole
// yen, truncated toward zero, never rounded. The arithmetic runs in a fixed order (a running
// product for the growth factor, multiplication by the double 0.08333333333333333 for a
// twelfth) so that every result matches the plan sheets customers already hold to the yen.
//
// Inputs outside the form's limits (a plan file is not range-checked) still give a defined
// value: yen amounts are formed in 64 bits, and a result that does not fit an int32_t, or
// is not finite, is clamped to the int32_t range (not finite: 0).

#include <cstdint>

namespace zorvik {

int32_t CalcMonthlyPayment(int32_t loanAmount, int32_t bonusAmount, uint16_t method, int16_t periodYears,
                           double ratePercent);

int32_t CalcBonusPayment(int32_t bonusAmount, uint16_t method, int16_t periodYears, double ratePercent);

}  // namespace zorvik

namespace zorvik {

// The parts of the formulas that depend only on method, period and rate. A simulation changes
// loan amounts and bonus portions thousands of times but never these three, so it prepares
// them once per row; the payments it then gets are identical to the yen to the two functions
// above (which are built on the same preparation).
struct PaymentFactors {
  uint16_t method = 0;
  int16_t periodYears = 0;
  double rate = 0.0;            // ratePercent x 0.01
  double monthlyRate = 0.0;     // rate x 0.08333333333333333
  double monthlyDivisor = 0.0;  // 1 - 1 / G for the monthly growth factor G (元利均等)
  double halfYearRate = 0.0;    // rate x 0.5
  double bonusDivisor = 0.0;    // 1 - 1 / G for the half-yearly growth factor G (元利均等)
  bool paysNothing = true;      // method not 1 or 2, period 0 or rate exactly 0.0
};

PaymentFactors PreparePaymentFactors(uint16_t method, int16_t periodYears, double ratePercent);
int32_t MonthlyPaymentWith(const PaymentFactors& factors, int32_t loanAmount, int32_t bonusAmount);
int32_t BonusPaymentWith(const PaymentFactors& factors, int32_t bonusAmount);

// The level (元利均等) payment of a balance in yen over `payments` payments of `paymentsPerYear` a
// year: the form's own formula applied to a yen amount, so that for 万円 x 10,000 it gives the
// form's payment to the yen. At 0 % (or a rate too small to move the growth factor) it is
// balance / payments, truncated. 0 for no payments or no balance.
int64_t LevelPayment(int64_t balance, double ratePercent, int32_t payments, int32_t paymentsPerYear);
// The first 元金均等 payment of a balance in yen: its principal share and one period's interest on
// the whole balance, formed as the form forms it.
int64_t FirstEqualPrincipalPayment(int64_t balance, double ratePercent, int32_t payments, int32_t paymentsPerYear);

}  // namespace zorvik
