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
#include "core/number_scan.h"
#include "core/repayment.h"
#include "core/units.h"

namespace zorvik {
namespace {

std::optional<RangeError> Refused(const char* caption) {
  return RangeError{kRangeErrorMessage, caption};
}

// How a box writes its number: whole 万円 with the form's one comma, a decimal percentage, or
// whole years.
enum class NumberForm { Amount, Decimal, Whole };

struct FieldRule {
  const char* caption;
  NumberForm form;
  std::array<std::string_view, 2> units;  // the longer first, as "万" ends "万円" too; "" for none
};

const FieldRule& RuleOf(CapacityField field) {
  // In the order of CapacityField.
  static constexpr FieldRule kRules[] = {
      {"年収", NumberForm::Amount, {"万円", "万"}},
      {"返済負担率の上限", NumberForm::Decimal, {"％", "%"}},
      {"金利", NumberForm::Decimal, {"％", "%"}},
      {"返済期間", NumberForm::Whole, {"年", ""}},
      {"他の借入の年間返済額", NumberForm::Amount, {"万円", "万"}},
      {"内ボーナス", NumberForm::Amount, {"万円", "万"}},
  };
  return kRules[static_cast<size_t>(field)];
}

// Drops white space, the ideographic space (U+3000) included, from both ends.
std::string_view Trimmed(std::string_view text) {
  constexpr std::string_view kWideSpace = "\xE3\x80\x80";
  for (bool more = true; more;) {
    more = false;
    if (!text.empty() && IsAsciiSpace(text.front())) {
      text.remove_prefix(1);
      more = true;
    } else if (text.starts_with(kWideSpace)) {
      text.remove_prefix(kWideSpace.size());
      more = true;
    }
    if (!text.empty() && IsAsciiSpace(text.back())) {
      text.remove_suffix(1);
      more = true;
    } else if (text.ends_with(kWideSpace)) {
      text.remove_suffix(kWideSpace.size());
      more = true;
    }
  }
  return text;
}

size_t CountDigits(std::string_view text, size_t& at) {
  const size_t start = at;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  return at - start;
}

// `number` (already without white space and unit) is a sign and digits in `form`.
bool IsNumberInForm(std::string_view number, NumberForm form) {
  size_t at = 0;
  if (at < number.size() && (number[at] == '+' || number[at] == '-')) ++at;
  size_t digits = CountDigits(number, at);
  if (at < number.size() && number[at] == ',' && form == NumberForm::Amount) {
    // The comma the form writes before the last three digits, and no other.
    ++at;
    if (digits == 0 || CountDigits(number, at) != 3) return false;
  } else if (at < number.size() && number[at] == '.' && form == NumberForm::Decimal) {
    ++at;
    digits += CountDigits(number, at);
  }
  return digits > 0 && at == number.size();
}

// The value of the field alone against its range.
std::optional<RangeError> CheckFieldValue(CapacityField field, const CapacityInputs& in) {
  bool accepted = true;
  // Written so that a NaN fails every check it meets.
  switch (field) {
    case CapacityField::Income:
      accepted = in.annualIncome >= 0;
      break;
    case CapacityField::RatioLimit:
      accepted = in.ratioLimitPercent >= 1.0 && in.ratioLimitPercent <= 100.0;
      break;
    case CapacityField::Rate:
      accepted = in.ratePercent > 0.0 && !CheckRate(in.ratePercent);
      break;
    case CapacityField::Period:
      accepted = in.periodYears >= 1 && in.periodYears <= kCapacityMaxYears;
      break;
    case CapacityField::OtherRepayment:
      accepted = in.otherAnnualRepayment >= 0;
      break;
    case CapacityField::Bonus:
      accepted = in.bonusAmount >= 0 && in.bonusAmount <= kCapacityMaxLoan;
      break;
  }
  return accepted ? std::nullopt : Refused(RuleOf(field).caption);
}

}  // namespace

std::optional<RangeError> CheckCapacityInputs(const CapacityInputs& in) {
  for (CapacityField field : {CapacityField::Rate, CapacityField::Period, CapacityField::RatioLimit,
                              CapacityField::Income, CapacityField::OtherRepayment, CapacityField::Bonus}) {
    if (auto refused = CheckFieldValue(field, in)) return refused;
  }
  if (in.method != MethodCode(RepaymentMethod::EqualInstallment) &&
      in.method != MethodCode(RepaymentMethod::EqualPrincipal)) {
    return Refused("返済方法");
  }
  return std::nullopt;
}

std::optional<RangeError> CheckCapacityField(CapacityField field, std::string_view text) {
  const FieldRule& rule = RuleOf(field);
  const std::string normal = NormalizeDigits(text);
  std::string_view number = Trimmed(normal);
  if (!number.empty()) {
    for (std::string_view unit : rule.units) {
      if (!unit.empty() && number.ends_with(unit)) {
        number = Trimmed(number.substr(0, number.size() - unit.size()));
        break;
      }
    }
    if (!IsNumberInForm(number, rule.form)) return Refused(rule.caption);
    // An amount the reader would have to clamp is not the amount typed.
    if (rule.form == NumberForm::Amount &&
        ScanLeadingInteger(WithoutFirstComma(std::string(number))) > std::numeric_limits<int32_t>::max()) {
      return Refused(rule.caption);
    }
  }
  CapacityInputs in;
  ReadCapacityField(in, field, text);
  return CheckFieldValue(field, in);
}

void ReadCapacityField(CapacityInputs& in, CapacityField field, std::string_view text) {
  switch (field) {
    case CapacityField::Income:
      in.annualIncome = ParseAmountText(text);
      break;
    case CapacityField::RatioLimit:
      in.ratioLimitPercent = ParseRateText(text);
      break;
    case CapacityField::Rate:
      in.ratePercent = ParseRateText(text);
      break;
    case CapacityField::Period:
      in.periodYears = ParsePeriodText(text);
      break;
    case CapacityField::OtherRepayment:
      in.otherAnnualRepayment = ParseAmountText(text);
      break;
    case CapacityField::Bonus:
      in.bonusAmount = ParseAmountText(text);
      break;
  }
}

std::string CapacityFieldText(const CapacityInputs& in, CapacityField field) {
  switch (field) {
    case CapacityField::Income:
      return in.annualIncome == 0 ? std::string() : FormatSignedAmount(in.annualIncome);
    case CapacityField::RatioLimit:
      return in.ratioLimitPercent == 0.0 ? std::string() : FormatRatio(in.ratioLimitPercent);
    case CapacityField::Rate:
      return in.ratePercent == 0.0 ? std::string() : FormatRate(in.ratePercent);
    case CapacityField::Period:
      return in.periodYears == 0 ? std::string() : FormatPeriod(in.periodYears);
    case CapacityField::OtherRepayment:
      return in.otherAnnualRepayment == 0 ? std::string() : FormatSignedAmount(in.otherAnnualRepayment);
    case CapacityField::Bonus:
      return in.bonusAmount == 0 ? std::string() : FormatLoanAmount(in.bonusAmount);
  }
  return {};
}

std::string CapacityFieldHint(CapacityField field) {
  switch (field) {
    case CapacityField::Income:
      return "年収は0以上で入力してください。";
    case CapacityField::RatioLimit:
      return "返済負担率の上限は1～100％で入力してください。";
    case CapacityField::Rate:
      return "審査金利は0より大きく100％未満で入力してください。";
    case CapacityField::Period:
      return "返済期間は1～" + FormatPeriod(kCapacityMaxYears) + "で入力してください。";
    case CapacityField::OtherRepayment:
      return "他の借入の年間返済額は0以上で入力してください。";
    case CapacityField::Bonus:
      return "内ボーナスは0～" + FormatLoanAmount(kCapacityMaxLoan) + "で入力してください。";
  }
  return {};
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
  result.bonusCapped = in.bonusAmount > result.loanAmount;
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
