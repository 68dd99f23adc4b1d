#include "core/tax_credit.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/worked_plan.h"

namespace zorvik {
namespace {

TaxCreditTable ShippedTable() {
  std::ifstream in(std::string(ZORVIK_SOURCE_DIR) + "/res/tax_credit_limits.txt", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string error;
  const auto table = ParseTaxCreditTable(text.str(), &error);
  EXPECT_TRUE(table) << error;
  return table.value_or(TaxCreditTable{});
}

// By hand: 0.7 % of the balance limited by 取得対価 and the limit, to 100円, taken from 所得税 first,
// then from 住民税 up to 5 % of 課税総所得金額等 and 97,500円.
TEST(TaxCreditTest, OneYearByHand) {
  // 2026 entry, 新築 認定住宅, 一般: 46,123,456円 is limited to 45,000,000円 -> 315,000円.
  EXPECT_EQ(CreditForYear(46123456, 60000000, 45000000, 180000, 3200000),
            (TaxCreditYear{315000, 180000, 97500, 37500}));
  EXPECT_EQ(CreditForYear(46123456, 60000000, 45000000, -1, 3200000), (TaxCreditYear{315000, 0, 0, 0}));
  EXPECT_EQ(CreditForYear(30014285, 60000000, 45000000, -1, -1).credit, 210000);  // 210,099.995 to 100円
  EXPECT_EQ(CreditForYear(30014285, 29000000, 45000000, -1, -1).credit, 203000);  // the price limits it
  EXPECT_EQ(CreditForYear(-5, 29000000, 45000000, 0, 0), TaxCreditYear{});
}

// The help's plan (3,000万, 内ボーナス 1,200万, 元利均等, 2.375 %, 35 years), first payment April 2026,
// 入居 2026, 取得対価 4,000万, 新築 ZEH水準, 一般: limit 3,500万, 13 years. At the end of 2026 nine monthly
// payments and one bonus payment are made: 29,639,413円, 207,400円.
TEST(TaxCreditTest, HelpPlanThirteenYears) {
  const FundingPlan plan = WorkedPlan();
  TaxCreditInputs in = DefaultTaxCreditInputs(plan);
  EXPECT_EQ(in.entryYear, 2026);
  EXPECT_EQ(in.firstPaymentMonth, 1);  // the plan is made in December: January of the next year
  EXPECT_EQ(in.firstPaymentYear, 2027);
  EXPECT_EQ(in.acquisitionCost, 44440000);
  in.firstPaymentYear = 2026;
  in.firstPaymentMonth = 4;
  in.acquisitionCost = 40000000;
  const TaxCreditEstimate e = EstimateTaxCredit(BuildPlanSchedule(plan), in, ShippedTable());
  ASSERT_EQ(e.years.size(), 13u) << e.error;
  EXPECT_EQ(e.years.front().yearEndBalance, 29639413);
  EXPECT_EQ(e.years.front().credit.credit, 207400);
  EXPECT_EQ(e.years.back().credit.credit, 153100);
  EXPECT_EQ(e.total, 2359000);
  EXPECT_TRUE(e.upperBound);
  // Before the first payment the whole loan; after the last, nothing.
  std::array<bool, kLoanRowCount> rows{};
  rows[0] = true;
  EXPECT_EQ(YearEndBalance(BuildPlanSchedule(plan), rows, 2025, 2026, 4), 30000000);
  EXPECT_EQ(YearEndBalance(BuildPlanSchedule(plan), rows, 2061, 2026, 4), 0);
  // 合計所得金額 above 2,000万: no credit; 1,500万 is within it unless the floor is under 50㎡.
  in.totalIncome = 15000000;
  EXPECT_EQ(EstimateTaxCredit(BuildPlanSchedule(plan), in, ShippedTable()).total, 2359000);
  in.smallFloor = true;
  EXPECT_EQ(EstimateTaxCredit(BuildPlanSchedule(plan), in, ShippedTable()).total, 0);
}

TEST(TaxCreditTest, TableCoverageAndReaderErrors) {
  const TaxCreditTable table = ShippedTable();
  EXPECT_EQ(table.checkedDate, "2026-12-09");
  EXPECT_GE(table.sources.size(), 2u);
  for (int32_t year = 2024; year <= 2030; ++year) {
    for (const auto kind : {HousingKind::NewOrResale, HousingKind::Existing}) {
      for (const auto perf : {HousingPerformance::Certified, HousingPerformance::Zeh, HousingPerformance::EnergySaving,
                              HousingPerformance::Other}) {
        EXPECT_NE(table.Find(year, kind, perf, false), nullptr) << year;
        EXPECT_NE(table.Find(year, kind, perf, true), nullptr) << year;
      }
    }
  }
  TaxCreditInputs in;
  in.entryYear = 2031;
  EXPECT_NE(EstimateTaxCredit(PlanSchedule{}, in, table).error.find("2026-12-09"), std::string::npos);
  in.entryYear = 2026;
  in.performance = HousingPerformance::Other;
  EXPECT_NE(EstimateTaxCredit(PlanSchedule{}, in, table).error.find("対象外"), std::string::npos);
  for (const char* bad : {"確認日,2026-12-09\n2026-01-01,2027-12-31,新築,ZEH,一般,3500,13\n", "確認日,2026-13-01\n",
                          "確認日,2026-12-09\n2026-01-01,2027-12-31,新築,ZEH水準,一般,35百,13\n",
                          "2026-01-01,2027-12-31,新築,ZEH水準,一般,3500,13\n"}) {
    std::string error;
    EXPECT_FALSE(ParseTaxCreditTable(bad, &error)) << bad;
    EXPECT_NE(error.find("住宅ローン控除の表"), std::string::npos) << bad;
  }
  std::string error;
  ParseTaxCreditTable("確認日,2026-12-09\n\n2026-01-01,2027-12-31,新築,ZEH,一般,3500,13\n", &error);
  EXPECT_NE(error.find(" 3 行目"), std::string::npos) << error;
  // A long line is quoted in part, never cut inside a character (the message is shown as UTF-8).
  ParseTaxCreditTable(
      "確認日,2026-12-09\n2026-01-01,2027-12-31,新築,x省エネ基準適合住宅ではない長い説明の行,一般,3500,13\n", &error);
  ASSERT_FALSE(error.empty());
  size_t lead = error.size() - 1;
  while (lead > 0 && (static_cast<unsigned char>(error[lead]) & 0xC0) == 0x80) --lead;
  const auto first = static_cast<unsigned char>(error[lead]);
  const size_t length = first < 0x80 ? 1 : first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : 2;
  EXPECT_EQ(error.size() - lead, length) << error;
}

}  // namespace
}  // namespace zorvik
