#pragma once
// How much a customer can borrow on a given income, and the income a plan needs.
//
// Lenders cap the yearly repayment at a share of the yearly income (返済負担率), and compute
// that repayment at a screening rate (審査金利) that is usually above the rate actually paid.
// Other debts (a car loan, say) use up part of the same allowance.
//
// Units: income, other debts and loan amounts are whole 万円 (other debts per year), payments
// whole yen, rates and ratios percent. The payments are those of the plan form
// (CalcMonthlyPayment, CalcBonusPayment), so an amount found here shows the same yen when it
// is put into a loan row.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/text_forms.h"

namespace zorvik {

struct CapacityInputs {
  int32_t annualIncome = 0;          // 万円 a year
  double ratioLimitPercent = 0.0;    // 返済負担率の上限, percent of the income
  double ratePercent = 0.0;          // 審査金利, percent a year
  int16_t periodYears = 0;           // whole years
  uint16_t method = 1;               // RepaymentMethod code: 1 元利均等, 2 元金均等
  int32_t otherAnnualRepayment = 0;  // 万円 a year repaid on other debts
  int32_t bonusAmount = 0;           // 万円 of the loan repaid through the bonuses; capped at the loan
};

// Loan amounts are searched in steps of 10万円 up to the largest step the form's loan box takes
// (below kLoanAmountLimit: 81990万円). A screening period is never longer than 50 years.
inline constexpr int32_t kCapacityStep = 10;
inline constexpr int32_t kCapacityMaxLoan = (kLoanAmountLimit - 1) / kCapacityStep * kCapacityStep;
inline constexpr int16_t kCapacityMaxYears = 50;

// The first input that is refused, with the range message of its kind of value: a rate that is
// not above 0 or not below 100 ("金利"), a period outside 1..50 ("返済期間"), a ratio limit
// outside 1..100 ("返済負担率の上限"), a negative income ("年収"), negative other debts
// ("他の借入の年間返済額"), a bonus portion outside 0..kCapacityMaxLoan ("内ボーナス": the loan
// is the answer, not an input, so the portion is held only to the largest loan there can be), a
// method other than 1 or 2 ("返済方法"). nullopt when every input is accepted.
std::optional<RangeError> CheckCapacityInputs(const CapacityInputs& in);

// The boxes in which the inputs are typed, in their tab order.
enum class CapacityField { Income, RatioLimit, Rate, Period, OtherRepayment, Bonus };
inline constexpr std::array<CapacityField, 6> kCapacityFields = {
    CapacityField::Income, CapacityField::RatioLimit,     CapacityField::Rate,
    CapacityField::Period, CapacityField::OtherRepayment, CapacityField::Bonus};

// One rule for every box: its text is refused, with the range message of the field (the captions
// of CheckCapacityInputs), unless it is blank (a value of 0) or one number in the field's text
// form, and its value is in the field's range. The number may have white space around it, a sign,
// full-width digits, and the field's unit after it ("万" or "万円"; "％" or "%"; "年"). Amounts
// are whole, with at most one comma before their last three digits ("1,500", "1234,567万") and
// no larger than the int32_t range; the ratio limit and the rate may have a decimal point;
// periods are whole. Anything else (letters, a second number, "1,2") is refused: nothing typed is
// dropped without a word.
std::optional<RangeError> CheckCapacityField(CapacityField field, std::string_view text);

// The field's value read from its box's text, as the form reads its boxes of that kind
// (ParseAmountText, ParseRateText, ParsePeriodText), into `in`.
void ReadCapacityField(CapacityInputs& in, CapacityField field, std::string_view text);

// The field's value of `in` in its text form ("600万", "35.00％", "3.000％", "35年"; the bonus
// portion as a loan amount); 0 as the empty text.
std::string CapacityFieldText(const CapacityInputs& in, CapacityField field);

// The sentence that says what the box takes ("返済期間は1～50年で入力してください。").
std::string CapacityFieldHint(CapacityField field);

// The yearly repayment the inputs allow, in yen: income x 10000 x ratio / 100 - other x 10000.
// Negative when the other debts alone exceed it.
double RepaymentAllowanceYen(const CapacityInputs& in);

// 12 x the monthly payment + 2 x the payment per bonus of a loan of `loanAmount` 万円 under the
// inputs' rate, period and method, with the bonus portion min(in.bonusAmount, loanAmount).
double AnnualRepaymentYen(const CapacityInputs& in, int32_t loanAmount);

// The largest loan L (万円, a multiple of 10, 0 <= L <= 81990) whose yearly repayment fits the
// allowance. 0 when not even 10万円 fits, when the income is 0, or when the inputs are refused
// by CheckCapacityInputs. Found by searching the 10万円 steps, not by inverting the formula: the
// truncation of every payment to whole yen makes an inverted formula inexact. The yearly
// repayment never falls as L grows, so a bisection over the steps finds the last one that fits.
int32_t MaxLoanAmount(const CapacityInputs& in);

// 30.0 below an income of 400万円, 35.0 from 400万円 on: the rule most lenders publish.
double DefaultRatioLimit(int32_t annualIncome);

// The smallest whole income in 万円 at which `annualRepaymentYen` plus the other debts
// (`otherAnnualRepayment` 万円 a year) stays within DefaultRatioLimit of that income. 0 when there
// is nothing to repay.
int32_t RequiredAnnualIncome(double annualRepaymentYen, int32_t otherAnnualRepayment);

// The answer for one set of inputs, with what it costs.
struct CapacityResult {
  int32_t loanAmount = 0;        // 万円: MaxLoanAmount
  int32_t bonusAmount = 0;       // 万円: the bonus portion, capped at the loan
  bool bonusCapped = false;      // the bonus portion asked for was above the loan, and is the loan
  int32_t monthlyPayment = 0;    // yen
  int32_t bonusPayment = 0;      // yen per bonus date
  double annualRepayment = 0.0;  // yen: 12 x monthly + 2 x per bonus
  double ratioPercent = 0.0;     // (annualRepayment + other debts) against the income; 0 for no income
};
CapacityResult CalcCapacity(const CapacityInputs& in);

// 借入可能額 for the screening rate moved by -1.0, -0.5, 0, +0.5 and +1.0 points (rows) and for
// 20, 25, 30 and 35 years (columns), the other inputs unchanged. A cell whose rate would not be
// accepted (0 or below) is nullopt; a cell is also nullopt when the inputs other than rate and
// period are refused.
inline constexpr std::array<double, 5> kCapacityGridRateOffsets = {-1.0, -0.5, 0.0, 0.5, 1.0};
inline constexpr std::array<int16_t, 4> kCapacityGridYears = {20, 25, 30, 35};
using CapacityGrid =
    std::array<std::array<std::optional<int32_t>, kCapacityGridYears.size()>, kCapacityGridRateOffsets.size()>;
CapacityGrid CalcCapacityGrid(const CapacityInputs& in);

}  // namespace zorvik
