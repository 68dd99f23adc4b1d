// Payments of one loan row.
//
// Notation: L and B are the loan amount and its bonus portion in yen (万円 x 10000), P = L - B is
// the part repaid monthly, r the yearly rate as a fraction (ratePercent x 0.01) and n the period
// in years.
//
// 元利均等 (level payments). With a monthly rate m = r / 12 and the growth over the whole period
// G = (1 + m)^(12n), the level payment that pays P off is
//     P m / (1 - 1/G),
// the usual annuity formula written with 1/G so that no second power is needed. The bonus part
// is the same annuity over 2n half-years with h = r / 2 on B.
//
// 元金均等 (equal principal). The first instalment repays the principal share P / (12n) and one
// month's interest on the whole principal, P r / 12. It is formed as ((P + n P r) / n) / 12;
// the bonus part likewise ((B + n B r) / n) / 2.
//
// The order of the operations is part of the contract: a twelfth is a multiplication by the
// double 0.08333333333333333, the growth factor is a running product (not pow()), and the
// result is truncated toward zero. Plan sheets printed earlier carry exactly these yen.
//
// Yen amounts are formed in 64 bits so that amounts read from a file that was never
// range-checked cannot overflow; inside the form's limits every intermediate value is the
// same as in 32 bits, and so is every result.

#include "core/repayment.h"

#include <cmath>
#include <limits>

#include "core/funding_plan.h"
#include "core/units.h"

namespace zorvik {
namespace {

constexpr double kOneTwelfth = 0.08333333333333333;

// Truncates toward zero; a value outside the int32_t range is clamped, a value that is not a
// number at all (infinite or NaN) gives 0. No out-of-range double ever reaches the cast.
int32_t TruncateToYen(double value) {
  if (!std::isfinite(value)) return 0;
  if (value >= 2147483648.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483649.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

// 1 - 1/G with G = g^count, G formed by starting at g and multiplying by g (count - 1) times;
// when count - 1 is not positive G stays g.
double AnnuityDivisor(double g, int count) {
  double growth = g;
  for (int i = 1; i < count; ++i) growth *= g;
  return 1.0 - 1.0 / growth;
}

// amount x rate / divisor, without dividing by zero: a zero divisor (a rate too small to move
// the growth factor off 1.0) would only give an infinite or undefined quotient, which the yen
// conversion turns into 0 anyway.
int32_t AnnuityPayment(int64_t amountYen, double rate, double divisor) {
  if (divisor == 0.0 || !std::isfinite(divisor)) return 0;
  return TruncateToYen(static_cast<double>(amountYen) * rate / divisor);
}

// The same truncation for amounts beyond the int32_t range (a balance of a plan read from a file):
// clamped to +-2^62, not finite: 0.
int64_t TruncateToYen64(double value) {
  constexpr double kLimit = 4611686018427387904.0;  // 2^62
  if (!std::isfinite(value)) return 0;
  if (value >= kLimit) return int64_t{1} << 62;
  if (value <= -kLimit) return -(int64_t{1} << 62);
  return static_cast<int64_t>(value);
}

// The rate of one period: a twelfth as the form forms it, a half, or a share of any other count.
double PeriodRate(double rate, int32_t paymentsPerYear) {
  if (paymentsPerYear == 12) return rate * kOneTwelfth;
  if (paymentsPerYear == 2) return rate * 0.5;
  return paymentsPerYear > 0 ? rate / paymentsPerYear : 0.0;
}

// ((A + n A r) / n) x share, with n A formed in 64 bits before it meets the rate.
int32_t FirstPrincipalInstalment(int64_t amountYen, int16_t periodYears, double rate, double share) {
  const int64_t periodTimesAmount = static_cast<int64_t>(periodYears) * amountYen;
  const double perYear = (static_cast<double>(amountYen) + static_cast<double>(periodTimesAmount) * rate) / periodYears;
  return TruncateToYen(perYear * share);
}

}  // namespace

PaymentFactors PreparePaymentFactors(uint16_t method, int16_t periodYears, double ratePercent) {
  PaymentFactors f;
  f.method = method;
  f.periodYears = periodYears;
  f.rate = ratePercent * 0.01;
  f.monthlyRate = f.rate * kOneTwelfth;
  f.halfYearRate = f.rate * 0.5;
  f.paysNothing = (method != MethodCode(RepaymentMethod::EqualInstallment) &&
                   method != MethodCode(RepaymentMethod::EqualPrincipal)) ||
                  periodYears == 0 || ratePercent == 0.0;
  if (!f.paysNothing && method == MethodCode(RepaymentMethod::EqualInstallment)) {
    // 12 x n and 2 x n fit an int for every int16_t period.
    f.monthlyDivisor = AnnuityDivisor(1.0 + f.monthlyRate, 12 * periodYears);
    f.bonusDivisor = AnnuityDivisor(1.0 + f.halfYearRate, 2 * periodYears);
  }
  return f;
}

int32_t MonthlyPaymentWith(const PaymentFactors& f, int32_t loanAmount, int32_t bonusAmount) {
  if (f.paysNothing || loanAmount == 0) return 0;
  const int64_t monthlyPart =
      static_cast<int64_t>(loanAmount) * kYenPerManYen - static_cast<int64_t>(bonusAmount) * kYenPerManYen;
  if (f.method == MethodCode(RepaymentMethod::EqualInstallment)) {
    return AnnuityPayment(monthlyPart, f.monthlyRate, f.monthlyDivisor);
  }
  return FirstPrincipalInstalment(monthlyPart, f.periodYears, f.rate, kOneTwelfth);
}

int32_t BonusPaymentWith(const PaymentFactors& f, int32_t bonusAmount) {
  if (f.paysNothing) return 0;
  const int64_t bonusPart = static_cast<int64_t>(bonusAmount) * kYenPerManYen;
  if (f.method == MethodCode(RepaymentMethod::EqualInstallment)) {
    return AnnuityPayment(bonusPart, f.halfYearRate, f.bonusDivisor);
  }
  return FirstPrincipalInstalment(bonusPart, f.periodYears, f.rate, 0.5);
}

int32_t CalcMonthlyPayment(int32_t loanAmount, int32_t bonusAmount, uint16_t method, int16_t periodYears,
                           double ratePercent) {
  return MonthlyPaymentWith(PreparePaymentFactors(method, periodYears, ratePercent), loanAmount, bonusAmount);
}

int32_t CalcBonusPayment(int32_t bonusAmount, uint16_t method, int16_t periodYears, double ratePercent) {
  return BonusPaymentWith(PreparePaymentFactors(method, periodYears, ratePercent), bonusAmount);
}

int64_t LevelPayment(int64_t balance, double ratePercent, int32_t payments, int32_t paymentsPerYear) {
  if (payments <= 0 || balance <= 0 || !std::isfinite(ratePercent)) return 0;
  const double periodRate = PeriodRate(ratePercent * 0.01, paymentsPerYear);
  if (ratePercent == 0.0) return balance / payments;
  const double divisor = AnnuityDivisor(1.0 + periodRate, payments);
  if (divisor == 0.0 || !std::isfinite(divisor)) return balance / payments;
  return TruncateToYen64(static_cast<double>(balance) * periodRate / divisor);
}

int64_t FirstEqualPrincipalPayment(int64_t balance, double ratePercent, int32_t payments, int32_t paymentsPerYear) {
  if (payments <= 0 || balance <= 0 || paymentsPerYear <= 0 || !std::isfinite(ratePercent)) return 0;
  // ((A + n A r) / n) x share with n in years, as the form forms it for whole years.
  const double years = static_cast<double>(payments) / paymentsPerYear;
  const double share = paymentsPerYear == 12 ? kOneTwelfth : paymentsPerYear == 2 ? 0.5 : 1.0 / paymentsPerYear;
  const double perYear =
      (static_cast<double>(balance) + years * static_cast<double>(balance) * (ratePercent * 0.01)) / years;
  return TruncateToYen64(perYear * share);
}

}  // namespace zorvik
