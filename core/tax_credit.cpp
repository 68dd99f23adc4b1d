#include "core/tax_credit.h"

#include <algorithm>

#include "core/units.h"

namespace zorvik {
namespace {

constexpr int64_t kIncomeLimit = 20000000;            // 合計所得金額 2,000万円
constexpr int64_t kSmallFloorIncomeLimit = 10000000;  // 1,000万円 for 40㎡ to under 50㎡
constexpr int32_t kQualifyingTermYears = 10;

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> fields;
  size_t begin = 0;
  for (;;) {
    const size_t at = line.find(separator, begin);
    fields.push_back(line.substr(begin, at == std::string::npos ? std::string::npos : at - begin));
    if (at == std::string::npos) return fields;
    begin = at + 1;
  }
}

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

std::optional<int64_t> Whole(const std::string& s, size_t maxDigits) {
  if (s.empty() || s.size() > maxDigits) return std::nullopt;
  int64_t v = 0;
  for (const char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

std::optional<PlanDate> ParseDate(const std::string& s) {
  const auto parts = Split(s, '-');
  if (parts.size() != 3 || parts[0].size() != 4 || parts[1].size() != 2 || parts[2].size() != 2) return std::nullopt;
  const auto y = Whole(parts[0], 4);
  const auto m = Whole(parts[1], 2);
  const auto d = Whole(parts[2], 2);
  if (!y || !m || !d || *m < 1 || *m > 12 || *d < 1 || *d > 31) return std::nullopt;
  return PlanDate{static_cast<uint16_t>(*y), static_cast<uint16_t>(*m), static_cast<uint16_t>(*d)};
}

int64_t DateKey(const PlanDate& d) {
  return int64_t{d.year} * 10000 + d.month * 100 + d.day;
}

std::optional<HousingKind> ParseKind(const std::string& s) {
  if (s == "新築" || s == "新築・買取再販" || s == "買取再販") return HousingKind::NewOrResale;
  if (s == "既存") return HousingKind::Existing;
  return std::nullopt;
}

std::optional<HousingPerformance> ParsePerformance(const std::string& s) {
  if (s == "認定住宅") return HousingPerformance::Certified;
  if (s == "ZEH水準" || s == "ZEH水準省エネ住宅") return HousingPerformance::Zeh;
  if (s == "省エネ基準適合" || s == "省エネ基準適合住宅") return HousingPerformance::EnergySaving;
  if (s == "その他") return HousingPerformance::Other;
  return std::nullopt;
}

std::optional<bool> ParseHousehold(const std::string& s) {
  if (s == "一般") return false;
  if (s == "子育て・若者夫婦" || s == "子育て世帯・若者夫婦世帯") return true;
  return std::nullopt;
}

// The balance of a part after its payments numbered up to `k` (prepayments paid with them
// included): its principal for k <= 0, 0 after its last payment.
int64_t BalanceAfter(const std::vector<SchedulePayment>& lines, int64_t principal, int64_t k) {
  int64_t balance = principal;
  for (const SchedulePayment& p : lines) {
    if (p.number > k) break;
    if (p.number == 0 && k <= 0) break;  // a prepayment at the start comes with the first payment
    balance = p.balance;
  }
  return balance;
}

// The year-end balances of every year asked for, walking each part once.
std::vector<int64_t> YearEndBalances(const PlanSchedule& schedule, const std::array<bool, kLoanRowCount>& rows,
                                     int32_t fromYear, int32_t years, int32_t y0, int32_t m0) {
  std::vector<int64_t> balances(static_cast<size_t>(std::max(years, 0)), 0);
  for (const RowSchedule& row : schedule.rows) {
    if (!rows[static_cast<size_t>(row.row)]) continue;
    for (const SchedulePart* part : {&row.monthly, &row.bonus}) {
      if (!part->HasPayments()) continue;
      const std::vector<SchedulePayment> lines = PartPaymentList(*part);
      for (int32_t i = 0; i < years; ++i) {
        const int64_t k = int64_t{12} * (fromYear + i - y0) + (13 - m0);
        const int64_t paid = part->kind == SchedulePartKind::Monthly ? k : (k > 0 ? k / 6 : k);
        balances[static_cast<size_t>(i)] += BalanceAfter(lines, part->principal, paid);
      }
    }
  }
  return balances;
}

}  // namespace

const char* HousingKindText(HousingKind kind) {
  return kind == HousingKind::NewOrResale ? "新築・買取再販" : "既存";
}

const char* HousingPerformanceText(HousingPerformance performance) {
  switch (performance) {
    case HousingPerformance::Certified:
      return "認定住宅";
    case HousingPerformance::Zeh:
      return "ZEH水準省エネ住宅";
    case HousingPerformance::EnergySaving:
      return "省エネ基準適合住宅";
    case HousingPerformance::Other:
      break;
  }
  return "その他";
}

const TaxCreditLimit* TaxCreditTable::Find(int32_t entryYear, HousingKind kind, HousingPerformance performance,
                                           bool childRearing) const {
  const int64_t key = int64_t{entryYear} * 10000 + 701;
  for (const TaxCreditLimit& line : lines) {
    if (line.kind == kind && line.performance == performance && line.childRearing == childRearing &&
        DateKey(line.from) <= key && key <= DateKey(line.to)) {
      return &line;
    }
  }
  return nullptr;
}

std::optional<TaxCreditTable> ParseTaxCreditTable(const std::string& text, std::string* error) {
  TaxCreditTable table;
  std::string body = text;
  if (body.rfind("\xEF\xBB\xBF", 0) == 0) body.erase(0, 3);
  const auto lines = Split(body, '\n');
  const auto fail = [&](size_t number, const std::string& line) -> std::optional<TaxCreditTable> {
    if (error != nullptr) {
      // At most 80 bytes of the line, never cut inside a character.
      size_t cut = std::min<size_t>(line.size(), 80);
      while (cut > 0 && cut < line.size() && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
      *error = "住宅ローン控除の表の " + std::to_string(number) + " 行目を読み取れません: " + line.substr(0, cut);
    }
    return std::nullopt;
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string line = Trim(lines[i]);
    if (line.empty() || line[0] == '#') continue;
    const auto fields = Split(line, ',');
    if (fields.size() == 2 && Trim(fields[0]) == "確認日") {
      if (!ParseDate(Trim(fields[1]))) return fail(i + 1, line);
      table.checkedDate = Trim(fields[1]);
      continue;
    }
    if (fields.size() >= 2 && Trim(fields[0]) == "出典") {
      table.sources.push_back(Trim(line.substr(line.find(',') + 1)));
      continue;
    }
    if (fields.size() != 7) return fail(i + 1, line);
    const auto from = ParseDate(Trim(fields[0]));
    const auto to = ParseDate(Trim(fields[1]));
    const auto kind = ParseKind(Trim(fields[2]));
    const auto performance = ParsePerformance(Trim(fields[3]));
    const auto household = ParseHousehold(Trim(fields[4]));
    const auto limit = Whole(Trim(fields[5]), 6);
    const auto years = Whole(Trim(fields[6]), 2);
    if (!from || !to || !kind || !performance || !household || !limit || !years || DateKey(*from) > DateKey(*to)) {
      return fail(i + 1, line);
    }
    table.lines.push_back(
        {*from, *to, *kind, *performance, *household, ManYenToYen(*limit), static_cast<int32_t>(*years)});
  }
  if (table.checkedDate.empty() || table.lines.empty()) {
    if (error != nullptr) *error = "住宅ローン控除の表に確認日または借入限度額の行がありません。";
    return std::nullopt;
  }
  return table;
}

TaxCreditYear CreditForYear(int64_t yearEndBalance, int64_t acquisitionCost, int64_t limit, int64_t incomeTax,
                            int64_t taxableIncome) {
  TaxCreditYear y;
  const int64_t base = std::max<int64_t>(0, std::min({yearEndBalance, acquisitionCost, limit}));
  // 0.7 % in whole yen, truncated to 100円: 45,000,000円 gives 315,000円 exactly.
  y.credit = base * 7 / 1000 / 100 * 100;
  if (incomeTax < 0 || taxableIncome < 0) return y;
  y.fromIncomeTax = std::min(y.credit, incomeTax);
  y.fromResidentTax = std::min({y.credit - y.fromIncomeTax, taxableIncome * 5 / 100, kResidentTaxCreditCap});
  y.notReceived = y.credit - y.fromIncomeTax - y.fromResidentTax;
  return y;
}

TaxCreditInputs DefaultTaxCreditInputs(const FundingPlan& plan) {
  TaxCreditInputs in;
  const PlanDate created{plan.createdYear, plan.createdMonth, plan.createdDay};
  in.entryYear = created.year;
  in.firstPaymentYear = created.month >= 12 ? created.year + 1 : created.year;
  in.firstPaymentMonth = created.month >= 12 ? 1 : created.month + 1;
  in.acquisitionCost = ManYenToYen(int64_t{plan.landPrice} + plan.buildingPrice + plan.consumptionTax);
  for (size_t i = 0; i < kLoanRowCount; ++i) in.rows[i] = plan.rows[i].periodYears >= kQualifyingTermYears;
  return in;
}

int64_t YearEndBalance(const PlanSchedule& schedule, const std::array<bool, kLoanRowCount>& rows, int32_t year,
                       int32_t firstPaymentYear, int32_t firstPaymentMonth) {
  return YearEndBalances(schedule, rows, year, 1, firstPaymentYear, firstPaymentMonth).front();
}

TaxCreditEstimate EstimateTaxCredit(const PlanSchedule& schedule, const TaxCreditInputs& in,
                                    const TaxCreditTable& table) {
  TaxCreditEstimate e;
  const TaxCreditLimit* line = table.Find(in.entryYear, in.kind, in.performance, in.childRearing);
  if (line == nullptr) {
    e.error =
        std::to_string(in.entryYear) + "年の入居は、住宅ローン控除の表（" + table.checkedDate + " 確認）の範囲外です。";
    return e;
  }
  e.limit = line->limit;
  if (line->limit <= 0 || line->years <= 0) {
    e.error = std::to_string(in.entryYear) + "年入居の" + HousingKindText(in.kind) + "・" +
              HousingPerformanceText(in.performance) + "は、住宅ローン控除の対象外です。";
    return e;
  }
  const int64_t incomeLimit = in.smallFloor ? kSmallFloorIncomeLimit : kIncomeLimit;
  e.incomeAboveLimit = in.totalIncome && *in.totalIncome > incomeLimit;
  e.upperBound = in.incomeTax < 0 || in.taxableIncome < 0;
  const std::vector<int64_t> balances =
      YearEndBalances(schedule, in.rows, in.entryYear, line->years, in.firstPaymentYear, in.firstPaymentMonth);
  for (int32_t i = 0; i < line->years; ++i) {
    TaxCreditRow row;
    row.year = in.entryYear + i;
    row.yearEndBalance = balances[static_cast<size_t>(i)];
    row.creditBase = std::min(row.yearEndBalance, in.acquisitionCost);
    if (!e.incomeAboveLimit) {
      row.credit = CreditForYear(row.yearEndBalance, in.acquisitionCost, line->limit, in.incomeTax, in.taxableIncome);
    }
    e.total += row.credit.credit;
    e.totalNotReceived += row.credit.notReceived;
    e.years.push_back(row);
  }
  return e;
}

}  // namespace zorvik
