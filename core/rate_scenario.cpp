#include "core/rate_scenario.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/text_forms.h"
#include "core/units.h"

namespace zorvik {
namespace {

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// The number written just before byte `end` in half- or full-width digits (０ is EF BC 90 ... ９ EF
// BC 99); none when there is no digit there.
std::optional<int32_t> NumberBefore(const std::string& text, size_t end) {
  int64_t value = 0;
  int64_t scale = 1;
  bool any = false;
  size_t i = end;
  while (i > 0 && scale <= 1000000) {
    int digit = -1;
    const auto c = static_cast<unsigned char>(text[i - 1]);
    if (c >= '0' && c <= '9') {
      digit = c - '0';
      i -= 1;
    } else if (i >= 3 && static_cast<unsigned char>(text[i - 3]) == 0xEF &&
               static_cast<unsigned char>(text[i - 2]) == 0xBC && c >= 0x90 && c <= 0x99) {
      digit = c - 0x90;
      i -= 3;
    } else {
      break;
    }
    value += digit * scale;
    scale *= 10;
    any = true;
  }
  if (!any) return std::nullopt;
  return static_cast<int32_t>(value);
}

int64_t PointsInThousandths(double points) {
  return std::llround(points * 1000.0);
}

// The first monthly (or bonus) payment of loan year `year`.
int32_t FirstPaymentOfYear(int32_t year, int32_t paymentsPerYear) {
  return (year - 1) * paymentsPerYear + 1;
}

std::string TrimSpaces(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// A whole number of digits only.
std::optional<int32_t> ParseYear(const std::string& s) {
  if (s.empty() || s.size() > 3) return std::nullopt;
  int32_t v = 0;
  for (const char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

// "+1.0", "-0.25", "2": a sign, digits, at most one point with digits after it.
std::optional<double> ParsePoints(const std::string& s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  int64_t whole = 0;
  int64_t fraction = 0;
  int64_t scale = 1;
  size_t digits = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9' && digits < 6; ++i, ++digits) whole = whole * 10 + (s[i] - '0');
  if (digits == 0) return std::nullopt;
  if (i < s.size() && s[i] == '.') {
    ++i;
    size_t fractionDigits = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9' && fractionDigits < 6; ++i, ++fractionDigits) {
      fraction = fraction * 10 + (s[i] - '0');
      scale *= 10;
    }
    if (fractionDigits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  const double value = static_cast<double>(whole) + static_cast<double>(fraction) / static_cast<double>(scale);
  return negative ? -value : value;
}

}  // namespace

RowRateType RateTypeFromProductName(const std::string& name) {
  // "フラット35（全期間固定）" names a loan fixed for its whole term, not a 35-year fixed period.
  if (Contains(name, "フラット") || Contains(name, "全期間固定")) return {};
  if (Contains(name, "変動")) return RowRateType{RateType::Variable, 0, std::nullopt};
  if (Contains(name, "固定")) {
    static const std::string kYear = "年";
    for (size_t at = name.find(kYear); at != std::string::npos; at = name.find(kYear, at + kYear.size())) {
      const auto years = NumberBefore(name, at);
      if (years && *years > 0) return RowRateType{RateType::FixedPeriod, *years, std::nullopt};
    }
  }
  return {};
}

std::string RateTypeText(const RowRateType& type) {
  switch (type.type) {
    case RateType::Variable:
      return "変動";
    case RateType::FixedPeriod:
      return "固定期間選択（" + std::to_string(type.fixedYears) + "年）";
    case RateType::FullFixed:
      break;
  }
  return "全期間固定";
}

double PointsInYear(const RatePath& path, int32_t year) {
  double points = 0.0;
  for (const RatePathStep& step : path) {
    if (step.fromYear > year) break;
    points = step.points;
  }
  return points;
}

double ScenarioRate(double rowRate, double points) {
  const int64_t thousandths = RateInThousandths(rowRate) + PointsInThousandths(points);
  return static_cast<double>(std::max<int64_t>(thousandths, 0)) / 1000.0;
}

RatePath SteppedPath(int32_t startYear, double step, int32_t everyYears, std::optional<double> ceiling) {
  RatePath path;
  if (everyYears <= 0 || startYear < kFirstPathYear || !std::isfinite(step) || step == 0.0) return path;
  double points = 0.0;
  for (int32_t year = startYear; year <= kLastPathYear; year += everyYears) {
    points = static_cast<double>(PointsInThousandths(points + step)) / 1000.0;
    const bool reached = ceiling && (step > 0 ? points >= *ceiling : points <= *ceiling);
    path.push_back({year, reached ? *ceiling : points});
    if (reached) break;
  }
  return path;
}

bool IsRatePath(const RatePath& path) {
  for (size_t i = 0; i < path.size(); ++i) {
    const RatePathStep& s = path[i];
    if (s.fromYear < kFirstPathYear || s.fromYear > kLastPathYear) return false;
    if (!std::isfinite(s.points) || std::fabs(s.points) > 100.0) return false;
    if (i > 0 && s.fromYear <= path[i - 1].fromYear) return false;
  }
  return true;
}

std::optional<RatePath> ParseRatePath(const std::string& text, std::string* error) {
  RatePath path;
  const auto fail = [&](const std::string& piece) -> std::optional<RatePath> {
    if (error != nullptr) {
      *error = "金利の推移「" + piece +
               "」を読み取れません。年目:変動幅をカンマで区切り、年目は2から99まで順に指定してください（例 "
               "2:+1.0,6:+2.0）。";
    }
    return std::nullopt;
  };
  const std::string all = TrimSpaces(text);
  if (all.empty()) return path;
  size_t begin = 0;
  while (begin <= all.size()) {
    const size_t comma = all.find(',', begin);
    const std::string piece =
        TrimSpaces(all.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin));
    const size_t colon = piece.find(':');
    if (colon == std::string::npos) return fail(piece);
    const auto year = ParseYear(TrimSpaces(piece.substr(0, colon)));
    const auto points = ParsePoints(TrimSpaces(piece.substr(colon + 1)));
    if (!year || !points) return fail(piece);
    path.push_back({*year, *points});
    if (!IsRatePath(path)) return fail(piece);
    if (comma == std::string::npos) break;
    begin = comma + 1;
  }
  return path;
}

std::string PointsText(double points) {
  const int64_t t = PointsInThousandths(points);
  if (t == 0) return "±0％";
  const int64_t a = t < 0 ? -t : t;
  std::string digits = std::to_string(a / 1000) + "." + std::to_string(1000 + a % 1000).substr(1);
  while (digits.size() > 1 && digits.back() == '0' && digits[digits.size() - 2] != '.') digits.pop_back();
  return (t < 0 ? "−" : "+") + digits + "％";
}

std::string RatePathText(const RatePath& path) {
  if (path.empty()) return "変動なし";
  std::string text;
  for (const RatePathStep& s : path) {
    if (!text.empty()) text += "、";
    text += std::to_string(s.fromYear) + "年目 " + PointsText(s.points);
  }
  return text;
}

std::vector<RateScenario> PresetScenarios() {
  std::vector<RateScenario> presets(5);
  presets[0].name = kUnchangedScenarioName;
  presets[1].name = "毎年 +0.25％（上限 +2.0％）";
  presets[1].path = SteppedPath(2, 0.25, 1, 2.0);
  presets[2].name = "5年ごとに +0.5％";
  presets[2].path = SteppedPath(6, 0.5, 5, std::nullopt);
  presets[3].name = "2年目に +1.0％";
  presets[3].path = {{2, 1.0}};
  presets[4].name = "3年目に +3.0％";
  presets[4].path = {{3, 3.0}};
  return presets;
}

std::array<RowRateType, kLoanRowCount> RateTypesFromNames(const FundingPlan& plan) {
  std::array<RowRateType, kLoanRowCount> types{};
  for (size_t i = 0; i < types.size(); ++i) types[i] = RateTypeFromProductName(plan.rows[i].loanName);
  return types;
}

std::vector<RateChange> PartRateChanges(const LoanRow& row, SchedulePartKind kind, const RowRateType& type,
                                        const RatePath& path) {
  const int32_t perYear = kind == SchedulePartKind::Monthly ? 12 : 2;
  std::vector<RateChange> rates{{1, row.ratePercent, false}};
  if (type.type == RateType::Variable) {
    for (const RatePathStep& s : path) {
      if (s.fromYear > row.periodYears) break;
      rates.push_back({FirstPaymentOfYear(s.fromYear, perYear), ScenarioRate(row.ratePercent, s.points), false});
    }
  } else if (type.type == RateType::FixedPeriod && type.fixedYears > 0 && type.fixedYears < row.periodYears) {
    const double after = type.rateAfterFixed.value_or(row.ratePercent);
    const int32_t switchYear = type.fixedYears + 1;
    rates.push_back(
        {FirstPaymentOfYear(switchYear, perYear), ScenarioRate(after, PointsInYear(path, switchYear)), true});
    for (const RatePathStep& s : path) {
      if (s.fromYear <= switchYear) continue;
      if (s.fromYear > row.periodYears) break;
      rates.push_back({FirstPaymentOfYear(s.fromYear, perYear), ScenarioRate(after, s.points), false});
    }
  }
  if (rates.size() == 1) rates.clear();
  return rates;
}

PlanSchedule BuildPlanSchedule(const FundingPlan& plan, const RateScenario& scenario, PrepaymentResults* results) {
  PrepaymentResult noRow;
  noRow.refused = PrepaymentRefusal::NoSuchPart;  // a row without a schedule
  if (results != nullptr) results->assign(scenario.prepayments.size(), noRow);
  return BuildPlanSchedule(plan, [&scenario, results](RowSchedule& row) {
    const RowRateType& type = scenario.rowTypes[static_cast<size_t>(row.row)];
    for (SchedulePart* part : {&row.monthly, &row.bonus}) {
      if (!part->HasPayments()) continue;
      part->rates = PartRateChanges(row.loan, part->kind, type, scenario.path);
      part->review = scenario.review;
    }
    for (size_t i = 0; i < scenario.prepayments.size(); ++i) {
      if (scenario.prepayments[i].row != row.row) continue;
      const PrepaymentResult r = PrepayRow(row, scenario.prepayments[i]);
      if (results != nullptr) (*results)[i] = r;
    }
  });
}

ScenarioSummary SummarizeScenario(const PlanSchedule& schedule, int32_t annualIncome) {
  ScenarioSummary s;
  s.totalRepaid = schedule.totals.totalRepaid;
  s.totalInterest = schedule.totals.totalInterest;
  s.unpaidInterest = schedule.totals.unpaidInterest;
  std::vector<int64_t> bonusPayments;  // without each part's last payment
  std::vector<int64_t> monthlyWithoutLast;
  std::vector<int64_t> yearRepayment;  // without the deferred interest paid at the end
  const auto add = [](std::vector<int64_t>& to, size_t index, int64_t yen) {
    if (to.size() <= index) to.resize(index + 1, 0);
    to[index] += yen;
  };
  for (const RowSchedule& row : schedule.rows) {
    for (const SchedulePart* part : {&row.monthly, &row.bonus}) {
      const bool monthly = part->kind == SchedulePartKind::Monthly;
      const std::vector<SchedulePayment> payments = PartPaymentList(*part);
      int64_t deferred = 0;
      size_t lastIndex = 0;
      for (size_t i = 0; i < payments.size(); ++i) {
        deferred += payments[i].unpaidInterest;
        if (!payments[i].prepayment) lastIndex = i;
      }
      for (size_t i = 0; i < payments.size(); ++i) {
        const SchedulePayment& p = payments[i];
        if (p.prepayment) continue;  // a lump paid at will is not a payment of the plan
        const bool last = i == lastIndex;
        const auto index = static_cast<size_t>(p.number - 1);
        if (monthly) add(s.monthlyPayments, index, p.payment);
        if (!last) add(monthly ? monthlyWithoutLast : bonusPayments, index, p.payment);
        add(yearRepayment, static_cast<size_t>(p.year - 1), last ? p.payment - deferred : p.payment);
        if (last && monthly) s.lastPayment = std::max(s.lastPayment, p.payment);
      }
    }
  }
  const auto byPeriod = [](const std::vector<int64_t>& payments, size_t perPeriod, std::vector<int64_t>& out) {
    int64_t highest = 0;
    for (size_t i = 0; i < payments.size(); ++i) {
      const size_t period = i / perPeriod;
      if (out.size() <= period) out.resize(period + 1, 0);
      out[period] = std::max(out[period], payments[i]);
      highest = std::max(highest, payments[i]);
    }
    return highest;
  };
  s.highestMonthly = byPeriod(monthlyWithoutLast, 12 * kYearsPerPeriod, s.monthlyByPeriod);
  s.highestBonus = byPeriod(bonusPayments, 2 * kYearsPerPeriod, s.bonusByPeriod);
  for (const int64_t y : yearRepayment) s.highestYearRepayment = std::max(s.highestYearRepayment, y);
  if (annualIncome != 0 && s.highestYearRepayment != 0) {
    s.ratioPercent = RepaymentRatioPercent(static_cast<double>(s.highestYearRepayment), annualIncome);
  }
  return s;
}

std::string PeriodText(size_t period) {
  const auto first = static_cast<int>(period) * kYearsPerPeriod + 1;
  return std::to_string(first) + "〜" + std::to_string(first + kYearsPerPeriod - 1) + "年目";
}

}  // namespace zorvik
