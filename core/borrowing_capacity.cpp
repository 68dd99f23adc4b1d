// Borrowing capacity: the largest loan whose yearly repayment fits a share of the income.
//
// With A the allowance (income x 10000 x ratio / 100 - other debts x 10000, in yen) and R(L) the
// yearly repayment of a loan of L 万円 (12 monthly payments and 2 bonus payments, each truncated
// to whole yen exactly as on the plan form), the answer is the largest step L = 10k with
// R(L) <= A.
//
// R never falls as L grows: with the bonus portion B = min(bonus, L) fixed, the monthly payment
// grows with the monthly part L - B (every operation of the formula, the final truncation
// included, is monotonic in its input), and while L is below the bonus portion the whole loan is
// repaid through the bonuses, whose payment grows with L. So the steps that fit form a prefix,
// and a bisection over the 8199 steps finds its end with about 13 evaluations of R.

#include "core/borrowing_capacity.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/funding_plan.h"
#include "core/repayment.h"
#include "core/units.h"

namespace zorvik {
namespace {

std::optional<RangeError> Refused(const char* caption) {
  return RangeError{kRangeErrorMessage, caption};
}

}  // namespace

std::optional<RangeError> CheckCapacityInputs(const CapacityInputs& in) {
  // Written so that a NaN fails every check it meets.
  if (!(in.ratePercent > 0.0) || CheckRate(in.ratePercent)) return Refused("金利");
  if (in.periodYears < 1 || in.periodYears > kCapacityMaxYears) return Refused("返済期間");
  if (!(in.ratioLimitPercent >= 1.0 && in.ratioLimitPercent <= 100.0)) return Refused("返済負担率の上限");
  if (in.annualIncome < 0) return Refused("年収");
  if (in.otherAnnualRepayment < 0) return Refused("他の借入の年間返済額");
  if (in.bonusAmount < 0) return Refused("内ボーナス");
  if (in.method != MethodCode(RepaymentMethod::EqualInstallment) &&
      in.method != MethodCode(RepaymentMethod::EqualPrincipal)) {
    return Refused("返済方法");
  }
  return std::nullopt;
}

double RepaymentAllowanceYen(const CapacityInputs& in) {
  return static_cast<double>(in.annualIncome) * kYenPerManYen * in.ratioLimitPercent / 100.0 -
         static_cast<double>(in.otherAnnualRepayment) * kYenPerManYen;
}

double AnnualRepaymentYen(const CapacityInputs& in, int32_t loanAmount) {
  const int32_t bonus = std::clamp(in.bonusAmount, 0, std::max(loanAmount, 0));
  const int32_t monthly = CalcMonthlyPayment(loanAmount, bonus, in.method, in.periodYears, in.ratePercent);
  const int32_t perBonus = CalcBonusPayment(bonus, in.method, in.periodYears, in.ratePercent);
  return 12.0 * monthly + 2.0 * perBonus;
}

int32_t MaxLoanAmount(const CapacityInputs& in) {
  if (CheckCapacityInputs(in) || in.annualIncome == 0) return 0;
  const double allowance = RepaymentAllowanceYen(in);
  const auto fits = [&](int32_t step) { return AnnualRepaymentYen(in, step * kCapacityStep) <= allowance; };
  constexpr int32_t kLastStep = kCapacityMaxLoan / kCapacityStep;
  if (!fits(1)) return 0;
  if (fits(kLastStep)) return kCapacityMaxLoan;
  // fits(low) holds and fits(high) does not; narrow down to neighbours.
  int32_t low = 1;
  int32_t high = kLastStep;
  while (high - low > 1) {
    const int32_t middle = low + (high - low) / 2;
    (fits(middle) ? low : high) = middle;
  }
  return low * kCapacityStep;
}

double DefaultRatioLimit(int32_t annualIncome) {
  return annualIncome < 400 ? 30.0 : 35.0;
}

int32_t RequiredAnnualIncome(double annualRepaymentYen, int32_t otherAnnualRepayment) {
  const double need = annualRepaymentYen + static_cast<double>(otherAnnualRepayment) * kYenPerManYen;
  if (!(need > 0.0)) return 0;  // nothing to repay (or not a number)
  // The allowance grows with the income, across the step of the limit at 400万円 too
  // (399 x 3000 yen < 400 x 3500 yen), so the incomes that suffice form a suffix.
  const auto suffices = [need](int32_t income) {
    return need <= static_cast<double>(income) * kYenPerManYen * DefaultRatioLimit(income) / 100.0;
  };
  int32_t low = 0;  // does not suffice, as need > 0
  int32_t high = std::numeric_limits<int32_t>::max();
  if (!suffices(high)) return high;
  while (high - low > 1) {
    const int32_t middle = low + (high - low) / 2;
    (suffices(middle) ? high : low) = middle;
  }
  return high;
}

CapacityResult CalcCapacity(const CapacityInputs& in) {
  CapacityResult result;
  result.loanAmount = MaxLoanAmount(in);
  if (result.loanAmount == 0) return result;
  result.bonusAmount = std::clamp(in.bonusAmount, 0, result.loanAmount);
  result.monthlyPayment =
      CalcMonthlyPayment(result.loanAmount, result.bonusAmount, in.method, in.periodYears, in.ratePercent);
  result.bonusPayment = CalcBonusPayment(result.bonusAmount, in.method, in.periodYears, in.ratePercent);
  result.annualRepayment = 12.0 * result.monthlyPayment + 2.0 * result.bonusPayment;
  const double burden = result.annualRepayment + static_cast<double>(in.otherAnnualRepayment) * kYenPerManYen;
  result.ratioPercent = RepaymentRatioPercent(burden, in.annualIncome);
  return result;
}

CapacityGrid CalcCapacityGrid(const CapacityInputs& in) {
  CapacityGrid grid{};
  for (size_t r = 0; r < kCapacityGridRateOffsets.size(); ++r) {
    for (size_t c = 0; c < kCapacityGridYears.size(); ++c) {
      CapacityInputs cell = in;
      cell.ratePercent = in.ratePercent + kCapacityGridRateOffsets[r];
      cell.periodYears = kCapacityGridYears[c];
      if (!CheckCapacityInputs(cell)) grid[r][c] = MaxLoanAmount(cell);
    }
  }
  return grid;
}

}  // namespace zorvik
