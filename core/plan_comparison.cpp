#include "core/plan_comparison.h"

#include <algorithm>

#include "core/plan_evaluation.h"
#include "core/text_forms.h"

namespace zorvik {
namespace {

// The shown ratio ("23.10％") in hundredths of a percent: the digits of the text without its point.
int64_t ShownHundredths(double ratioPercent) {
  const std::string text = FormatRatio(ratioPercent);
  int64_t value = 0;
  bool negative = false;
  for (const char c : text) {
    if (c == '-') negative = true;
    if (c >= '0' && c <= '9') value = value * 10 + (c - '0');
    if (c != '-' && c != '.' && (c < '0' || c > '9')) break;
  }
  return negative ? -value : value;
}

std::string ValueText(int64_t value, ComparisonUnit unit) {
  switch (unit) {
    case ComparisonUnit::ManYen:
      return GroupedInteger(value) + "万";
    case ComparisonUnit::Yen:
      return GroupedInteger(value) + "円";
    case ComparisonUnit::RatioPercent: {
      const int64_t a = value < 0 ? -value : value;
      return std::string(value < 0 ? "-" : "") + std::to_string(a / 100) + "." +
             std::to_string(100 + a % 100).substr(1) + "％";
    }
    case ComparisonUnit::Years:
      return std::to_string(value) + "年目";
    case ComparisonUnit::Text:
      break;
  }
  return {};
}

void AddLine(Comparison& c, std::string caption, ComparisonUnit unit, bool cost,
             const std::vector<std::optional<int64_t>>& values) {
  ComparisonLine line;
  line.caption = std::move(caption);
  line.unit = unit;
  line.cost = cost;
  line.values = values;
  std::optional<int64_t> lowest;
  size_t distinct = 0;
  for (const auto& v : values) {
    if (!v) continue;
    if (!lowest || *v != *lowest) ++distinct;
    lowest = lowest ? std::min(*lowest, *v) : *v;
  }
  for (size_t i = 0; i < values.size(); ++i) {
    ComparisonCell cell;
    cell.text = values[i] ? ValueText(*values[i], unit) : "－";
    if (i > 0 && values[i] && values[0]) {
      cell.difference = DifferenceText(*values[i], *values[0], unit);
      cell.sign = *values[i] < *values[0] ? -1 : *values[i] > *values[0] ? 1 : 0;
    }
    cell.cheaper = cost && distinct > 1 && values[i] && *values[i] == *lowest;
    line.cells.push_back(std::move(cell));
  }
  c.lines.push_back(std::move(line));
}

}  // namespace

std::string PlanColumnTitle(size_t index) {
  static const char* const kTitles[] = {"A案", "B案", "C案", "D案"};
  return index < 4 ? kTitles[index] : std::to_string(index + 1) + "案";
}

std::string DifferenceText(int64_t value, int64_t base, ComparisonUnit unit) {
  const int64_t d = value - base;
  const std::string sign = d > 0 ? "＋" : d < 0 ? "−" : "±";
  const int64_t a = d < 0 ? -d : d;
  switch (unit) {
    case ComparisonUnit::ManYen:
      return sign + GroupedInteger(a) + "万";
    case ComparisonUnit::Yen:
      return sign + GroupedInteger(a) + "円";
    case ComparisonUnit::RatioPercent:
      return sign + std::to_string(a / 100) + "." + std::to_string(100 + a % 100).substr(1) + "ポイント";
    case ComparisonUnit::Years:
      return sign + std::to_string(a) + "年";
    case ComparisonUnit::Text:
      break;
  }
  return {};
}

std::string LoanRowShortText(const LoanRow& row, const RowRateType& type) {
  std::string text = row.loanName.empty() ? std::string("（名称なし）") : row.loanName;
  text += " " + RateTypeText(type) + " " + FormatRate(row.ratePercent) + " " + FormatPeriod(row.periodYears) + " " +
          FormatScheduleManYen(row.loanAmount);
  return text;
}

Comparison ComparePlans(const std::vector<ComparedPlan>& plans, const RateScenario& scenario) {
  Comparison c;
  c.scenarioName = scenario.name.empty() ? std::string(kUnchangedScenarioName) : scenario.name;
  const size_t n = std::min(plans.size(), kMaxComparedPlans);
  std::vector<PlanEvaluation> evaluations;
  std::vector<PlanSchedule> plain;
  std::vector<ScenarioSummary> summaries;
  size_t loanRows = 0;
  for (size_t i = 0; i < n; ++i) {
    const ComparedPlan& p = plans[i];
    RateScenario own = scenario;
    own.rowTypes = p.rowTypes;
    evaluations.push_back(EvaluatePlan(p.plan));
    c.schedules.push_back(BuildPlanSchedule(p.plan, own));
    summaries.push_back(SummarizeScenario(c.schedules.back(), p.plan.annualIncome));
    c.columnTitles.push_back(PlanColumnTitle(i));
    c.planLabels.push_back(p.label);
    c.notes.push_back(ScheduleNotes(evaluations.back().schedule));
    int32_t rows = 0;
    int64_t loans = 0;
    for (const LoanRow& row : p.plan.rows) {
      if (!row.IsComplete()) continue;
      ++rows;
      loans += row.loanAmount;
    }
    loanRows = std::max(loanRows, static_cast<size_t>(rows));
    c.loanSummaries.push_back(std::to_string(rows) + "本 合計 " + FormatScheduleManYen(loans));
  }
  const auto each = [&](auto figure) {
    std::vector<std::optional<int64_t>> values;
    for (size_t i = 0; i < n; ++i) values.push_back(figure(i));
    return values;
  };
  const auto plan = [&](size_t i) -> const FundingPlan& { return plans[i].plan; };
  const auto loanSum = [&](size_t i) {
    int64_t sum = 0;
    for (const LoanRow& row : plan(i).rows) sum += row.loanAmount;
    return sum;
  };
  const auto required = [&](size_t i) {
    return int64_t{plan(i).landPrice} + plan(i).buildingPrice + plan(i).consumptionTax + plan(i).otherCost;
  };
  AddLine(c, "物件価格", ComparisonUnit::ManYen, false, each([&](size_t i) { return std::optional(required(i)); }));
  AddLine(c, "諸費用", ComparisonUnit::ManYen, false,
          each([&](size_t i) { return std::optional<int64_t>(plan(i).miscCosts); }));
  AddLine(c, "借入総額", ComparisonUnit::ManYen, false, each([&](size_t i) { return std::optional(loanSum(i)); }));
  AddLine(c, "自己資金", ComparisonUnit::ManYen, false,
          each([&](size_t i) { return std::optional<int64_t>(required(i) + plan(i).miscCosts - loanSum(i)); }));
  // Each loan row in short, the k-th complete row of every plan on the k-th line.
  for (size_t k = 0; k < loanRows; ++k) {
    ComparisonLine line;
    line.caption = "融資" + std::to_string(k + 1);
    line.unit = ComparisonUnit::Text;
    line.loanRow = true;
    for (size_t i = 0; i < n; ++i) {
      size_t seen = 0;
      ComparisonCell cell{"", "", 0, false};
      for (size_t r = 0; r < kLoanRowCount; ++r) {
        const LoanRow& row = plan(i).rows[r];
        if (!row.IsComplete()) continue;
        if (seen++ == k) cell.text = LoanRowShortText(row, plans[i].rowTypes[r]);
      }
      line.values.emplace_back();
      line.cells.push_back(cell);
    }
    c.lines.push_back(std::move(line));
  }
  const auto computed = [&](size_t i) -> const PlanFigures& { return evaluations[i].computed; };
  AddLine(c, "月々の返済額", ComparisonUnit::Yen, true,
          each([&](size_t i) { return std::optional(static_cast<int64_t>(computed(i).totalMonthly)); }));
  AddLine(c, "ボーナス時", ComparisonUnit::Yen, true,
          each([&](size_t i) { return std::optional(static_cast<int64_t>(computed(i).totalBonus)); }));
  AddLine(c, "年間返済額", ComparisonUnit::Yen, true,
          each([&](size_t i) { return std::optional(static_cast<int64_t>(computed(i).annualRepayment)); }));
  AddLine(c, "返済比率", ComparisonUnit::RatioPercent, true, each([&](size_t i) -> std::optional<int64_t> {
            const auto& ratio = computed(i).ratioPercent;
            return ratio ? std::optional(ShownHundredths(*ratio)) : std::nullopt;
          }));
  const auto totals = [&](size_t i) -> const ScheduleTotals& { return evaluations[i].schedule.totals; };
  AddLine(c, "総返済額", ComparisonUnit::Yen, true,
          each([&](size_t i) { return std::optional(totals(i).totalRepaid); }));
  AddLine(c, "利息総額", ComparisonUnit::Yen, true,
          each([&](size_t i) { return std::optional(totals(i).totalInterest); }));
  AddLine(c, "完済年目", ComparisonUnit::Years, false, each([&](size_t i) -> std::optional<int64_t> {
            return totals(i).years > 0 ? std::optional<int64_t>(totals(i).years) : std::nullopt;
          }));
  const std::string under = "（" + c.scenarioName + "）";
  AddLine(c, "最高の月々の返済額" + under, ComparisonUnit::Yen, true,
          each([&](size_t i) { return std::optional(summaries[i].highestMonthly); }));
  AddLine(c, "総返済額" + under, ComparisonUnit::Yen, true,
          each([&](size_t i) { return std::optional(summaries[i].totalRepaid); }));
  AddLine(c, "未払利息" + under, ComparisonUnit::Yen, true,
          each([&](size_t i) { return std::optional(summaries[i].unpaidInterest); }));
  return c;
}

}  // namespace zorvik
