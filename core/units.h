#pragma once
// The units the plan is kept in, in one place: amounts typed on the form are 万円 (ten thousand
// yen), payments and schedules are whole yen, rates and ratios are percent.

#include <cstdint>

namespace zorvik {

inline constexpr int64_t kYenPerManYen = 10000;

// 万円 as yen; an int32_t amount of the form always fits.
constexpr int64_t ManYenToYen(int64_t manYen) {
  return manYen * kYenPerManYen;
}
// Yen as whole 万円, truncated toward zero (30,000,000円 -> 3,000万).
constexpr int64_t WholeManYen(int64_t yen) {
  return yen / kYenPerManYen;
}
// Yen as 万円 with the fraction kept (chart axes).
constexpr double ManYenOf(double yen) {
  return yen / static_cast<double>(kYenPerManYen);
}

// The repayment ratio (返済比率) in percent: a yearly repayment in yen against an income in 万円.
// Yen over 万円 is a hundredth of a percent, so the quotient is scaled by 0.01: 1,800,000円 a year
// on 600万 is 30％. The caller makes sure the income is not 0.
inline double RepaymentRatioPercent(double annualRepaymentYen, double annualIncomeManYen) {
  return annualRepaymentYen / annualIncomeManYen * 0.01;
}

}  // namespace zorvik
