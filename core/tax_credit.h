#pragma once
// 住宅ローン控除: the estimate of the mortgage tax credit, year by year, from the plan's schedule.
//
// Each credit year Y (入居年, 入居年 + 1, … for the 控除期間) takes the loans' balance on 31 December:
// with the first monthly payment in month m0 of year y0, the principal left after the monthly
// payments up to k = 12 (Y - y0) + (13 - m0) and the bonus payments j with 6j <= k. Then
//   年末残高等 = min(year-end balance, 取得対価)
//   控除額     = min(年末残高等, 借入限度額) x 0.7 %, truncated to 100円,
// received first from 所得税 (up to the year's income tax), then from 住民税 (up to 課税総所得金額等
// x 5 %, truncated, and 97,500円); the rest is not received. A year whose 合計所得金額 is above
// 2,000万円 (1,000万円 for 40㎡ to under 50㎡) gets no credit.
//
// The limits and periods change with the law almost every year, so they are data: a table read
// from a file (TaxCreditTable) with the date it was checked and its sources. All amounts are whole
// yen in exact integer arithmetic.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/funding_plan.h"
#include "core/repayment_schedule.h"

namespace zorvik {

enum class HousingKind { NewOrResale, Existing };                       // 新築・買取再販 / 既存
enum class HousingPerformance { Certified, Zeh, EnergySaving, Other };  // 認定住宅 / ZEH水準 / 省エネ基準適合 / その他

// "新築・買取再販" / "既存"; "認定住宅", "ZEH水準省エネ住宅", "省エネ基準適合住宅", "その他".
const char* HousingKindText(HousingKind kind);
const char* HousingPerformanceText(HousingPerformance performance);

struct TaxCreditLimit {
  PlanDate from;  // first and last entry date the line covers
  PlanDate to;
  HousingKind kind = HousingKind::NewOrResale;
  HousingPerformance performance = HousingPerformance::Other;
  bool childRearing = false;  // 子育て世帯・若者夫婦世帯
  int64_t limit = 0;          // 借入限度額 in yen (0: no credit)
  int32_t years = 0;          // 控除期間
};

struct TaxCreditTable {
  std::string checkedDate;           // "2026-12-01"
  std::vector<std::string> sources;  // titles and addresses
  std::vector<TaxCreditLimit> lines;

  // The line for an entry in `entryYear` (the line covering 1 July of that year); nullptr when the
  // table does not cover it.
  const TaxCreditLimit* Find(int32_t entryYear, HousingKind kind, HousingPerformance performance,
                             bool childRearing) const;
};

// Reads the table (UTF-8): lines "確認日,YYYY-MM-DD", "出典,TEXT", comment lines starting with #, blank
// lines, and data lines "FROM,TO,区分,性能,世帯,借入限度額(万円),控除期間(年)", e.g.
// "2026-01-01,2027-12-31,新築,ZEH水準,一般,3500,13". On a malformed file: none, and `error` names
// the line.
std::optional<TaxCreditTable> ParseTaxCreditTable(const std::string& text, std::string* error = nullptr);

struct TaxCreditYear {
  int64_t credit = 0;
  int64_t fromIncomeTax = 0;
  int64_t fromResidentTax = 0;
  int64_t notReceived = 0;
  bool operator==(const TaxCreditYear&) const = default;
};
inline constexpr int64_t kResidentTaxCreditCap = 97500;

// incomeTax and taxableIncome are -1 when not given: then only `credit` is filled.
TaxCreditYear CreditForYear(int64_t yearEndBalance, int64_t acquisitionCost, int64_t limit, int64_t incomeTax,
                            int64_t taxableIncome);

struct TaxCreditInputs {
  int32_t entryYear = 0;          // 入居年
  int32_t firstPaymentYear = 0;   // year and month of the first monthly payment
  int32_t firstPaymentMonth = 1;  // 1..12
  HousingKind kind = HousingKind::NewOrResale;
  HousingPerformance performance = HousingPerformance::Zeh;
  bool childRearing = false;
  bool smallFloor = false;                 // 40㎡ to under 50㎡ (default: 50㎡ or more)
  int64_t acquisitionCost = 0;             // 取得対価 in yen
  std::optional<int64_t> totalIncome;      // 合計所得金額 in yen; none: within the limit
  int64_t incomeTax = -1;                  // 所得税額 before the credit, or -1
  int64_t taxableIncome = -1;              // 課税総所得金額等, or -1
  std::array<bool, kLoanRowCount> rows{};  // the loan rows that qualify
};

// The inputs a plan suggests: 入居年 the 作成日's year, the first payment the month after the
// 作成日's month, 取得対価 土地 + 建物 + 消費税, the rows with a term of 10 years or more.
TaxCreditInputs DefaultTaxCreditInputs(const FundingPlan& plan);

struct TaxCreditRow {
  int32_t year = 0;            // calendar year
  int64_t yearEndBalance = 0;  // of the qualifying rows
  int64_t creditBase = 0;      // 年末残高等 limited by 取得対価 and the 借入限度額
  TaxCreditYear credit;
};

struct TaxCreditEstimate {
  std::vector<TaxCreditRow> years;
  int64_t total = 0;
  int64_t totalNotReceived = 0;
  int64_t limit = 0;
  bool incomeAboveLimit = false;  // 合計所得金額 above the limit: no credit at all
  bool upperBound = false;        // no tax inputs: the credits are the upper bound
  std::string error;              // the table does not cover the entry year, or no credit applies
};

// The year-end balance of calendar year `year` of the schedule's rows picked by `rows`.
int64_t YearEndBalance(const PlanSchedule& schedule, const std::array<bool, kLoanRowCount>& rows, int32_t year,
                       int32_t firstPaymentYear, int32_t firstPaymentMonth);
TaxCreditEstimate EstimateTaxCredit(const PlanSchedule& schedule, const TaxCreditInputs& inputs,
                                    const TaxCreditTable& table);

}  // namespace zorvik
