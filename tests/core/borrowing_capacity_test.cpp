#include "core/borrowing_capacity.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/repayment.h"

namespace zorvik {
namespace {

struct CapacityRow {
  const char* what;
  CapacityInputs in;
  int32_t loan;       // 万円
  int32_t monthly;    // yen
  int32_t perBonus;   // yen
  double annual;      // yen a year at the answer
  double annualNext;  // yen a year 10万円 above the answer (must exceed the allowance)
};

// {income, ratio, rate, years, method, other, bonus}. The allowance is income x 10000 x ratio / 100
// minus other x 10000 yen; the answer is the last 10万円 step whose 12 monthly and 2 bonus payments
// stay within it.
const CapacityRow kWorked[] = {
    // 600万 at 35%: 2,100,000 yen a year. 4540万 over 35 years at 3.0% costs 12 x 174,721.
    {"the worked consultation", {600, 35.0, 3.0, 35, 1, 0, 0}, 4540, 174721, 0, 2096652.0, 2101272.0},
    // 元金均等 1750万 over 25 years at 2.0%: (17,500,000 + 25 x 17,500,000 x 0.02) / 25 / 12 = 87,500 a
    // month, 1,050,000 a year, which is exactly 300万 x 35%: the limit falls on the step itself.
    {"limit exactly on a step", {300, 35.0, 2.0, 25, 2, 0, 0}, 1750, 87500, 0, 1050000.0, 1056000.0},
    {"one 万円 less income", {299, 35.0, 2.0, 25, 2, 0, 0}, 1740, 87000, 0, 1044000.0, 1050000.0},
    // The 400万 tier: 399 x 3000 = 1,197,000 yen against 400 x 3500 = 1,400,000 yen.
    {"just below the tier", {399, 30.0, 3.0, 35, 1, 0, 0}, 2590, 99676, 0, 1196112.0, 1200732.0},
    {"at the tier", {400, 35.0, 3.0, 35, 1, 0, 0}, 3030, 116609, 0, 1399308.0, 1403928.0},
    // Other debts of 50万 a year leave 1,600,000 yen.
    {"other debts", {600, 35.0, 3.0, 35, 1, 50, 0}, 3460, 133158, 0, 1597896.0, 1602516.0},
    {"other debts equal to the allowance", {500, 35.0, 3.0, 35, 1, 175, 0}, 0, 0, 0, 0.0, 4608.0},
    {"other debts above the allowance", {500, 35.0, 3.0, 35, 1, 200, 0}, 0, 0, 0, 0.0, 4608.0},
    // 1000万 of the loan through the bonuses: 12 x 136,236 + 2 x 231,723.
    {"bonus portion", {600, 35.0, 3.0, 35, 1, 0, 1000}, 4540, 136236, 231723, 2098278.0, 2102898.0},
    // A bonus portion above the loan is capped at the loan: 750万 repaid by bonuses alone.
    {"bonus portion above the loan", {100, 35.0, 3.0, 35, 1, 0, 5000}, 750, 0, 173792, 347584.0, 352218.0},
    {"元金均等", {600, 35.0, 3.0, 35, 2, 0, 0}, 3580, 174738, 0, 2096856.0, 2102712.0},
    {"元金均等 with bonus", {600, 35.0, 3.0, 35, 2, 0, 1800}, 3580, 86880, 527142, 2096844.0, 2102712.0},
    {"not even 10万 fits", {1, 1.0, 3.0, 35, 1, 0, 0}, 0, 0, 0, 0.0, 4608.0},
    {"the smallest step", {2, 30.0, 3.0, 35, 1, 0, 0}, 10, 384, 0, 4608.0, 9228.0},
    {"no income", {0, 35.0, 3.0, 35, 1, 0, 0}, 0, 0, 0, 0.0, 4608.0},
    {"the form's loan limit", {100000, 35.0, 3.0, 35, 1, 0, 0}, 81990, 3155386, 0, 37864632.0, 37869252.0},
    {"low rate, longest period", {1000, 35.0, 0.5, 50, 1, 0, 0}, 15480, 291645, 0, 3499740.0, 3502008.0},
};

class CapacityWorkedTest : public ::testing::TestWithParam<CapacityRow> {};

TEST_P(CapacityWorkedTest, GivesTheLastStepThatFits) {
  const CapacityRow& row = GetParam();
  EXPECT_EQ(MaxLoanAmount(row.in), row.loan);
  const CapacityResult result = CalcCapacity(row.in);
  EXPECT_EQ(result.loanAmount, row.loan);
  EXPECT_EQ(result.monthlyPayment, row.monthly);
  EXPECT_EQ(result.bonusPayment, row.perBonus);
  EXPECT_EQ(result.bonusCapped, row.loan > 0 && row.in.bonusAmount > row.loan);
  EXPECT_EQ(result.annualRepayment, row.annual);
  EXPECT_EQ(AnnualRepaymentYen(row.in, row.loan), row.annual);
  EXPECT_EQ(AnnualRepaymentYen(row.in, row.loan + kCapacityStep), row.annualNext);
  if (row.loan > 0) {
    const double burden = row.annual + row.in.otherAnnualRepayment * 10000.0;
    EXPECT_DOUBLE_EQ(result.ratioPercent, burden / row.in.annualIncome * 0.01);
    EXPECT_LE(result.ratioPercent, row.in.ratioLimitPercent);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, CapacityWorkedTest, ::testing::ValuesIn(kWorked),
                         [](const ::testing::TestParamInfo<CapacityRow>& info) {
                           return "Row" + std::to_string(info.index);
                         });

TEST(BorrowingCapacityTest, RefusedInputsNameTheirField) {
  const CapacityInputs good{600, 35.0, 3.0, 35, 1, 0, 0};
  struct Refusal {
    CapacityInputs in;
    const char* caption;
  };
  auto with = [&good](auto change) {
    CapacityInputs in = good;
    change(in);
    return in;
  };
  const Refusal refusals[] = {
      {with([](CapacityInputs& in) { in.ratePercent = 0.0; }), "金利"},
      {with([](CapacityInputs& in) { in.ratePercent = -0.5; }), "金利"},
      {with([](CapacityInputs& in) { in.ratePercent = 100.0; }), "金利"},
      {with([](CapacityInputs& in) { in.periodYears = 0; }), "返済期間"},
      {with([](CapacityInputs& in) { in.periodYears = 51; }), "返済期間"},
      {with([](CapacityInputs& in) { in.ratioLimitPercent = 0.99; }), "返済負担率の上限"},
      {with([](CapacityInputs& in) { in.ratioLimitPercent = 100.01; }), "返済負担率の上限"},
      {with([](CapacityInputs& in) { in.annualIncome = -1; }), "年収"},
      {with([](CapacityInputs& in) { in.otherAnnualRepayment = -1; }), "他の借入の年間返済額"},
      {with([](CapacityInputs& in) { in.bonusAmount = -50; }), "内ボーナス"},
      {with([](CapacityInputs& in) { in.bonusAmount = kCapacityMaxLoan + 1; }), "内ボーナス"},
      {with([](CapacityInputs& in) { in.method = 0; }), "返済方法"},
  };
  for (const Refusal& r : refusals) {
    const auto error = CheckCapacityInputs(r.in);
    ASSERT_TRUE(error.has_value()) << r.caption;
    EXPECT_EQ(error->message, "入力値が不正です。");
    EXPECT_EQ(error->caption, r.caption);
    EXPECT_EQ(MaxLoanAmount(r.in), 0) << r.caption;
    EXPECT_EQ(CalcCapacity(r.in).monthlyPayment, 0) << r.caption;
  }
  // The edges themselves are accepted.
  for (const CapacityInputs& in :
       {with([](CapacityInputs& in) { in.periodYears = 50; }), with([](CapacityInputs& in) { in.periodYears = 1; }),
        with([](CapacityInputs& in) { in.ratioLimitPercent = 1.0; }),
        with([](CapacityInputs& in) { in.ratioLimitPercent = 100.0; }),
        with([](CapacityInputs& in) { in.ratePercent = 99.999; }),
        with([](CapacityInputs& in) { in.bonusAmount = kCapacityMaxLoan; })}) {
    EXPECT_FALSE(CheckCapacityInputs(in).has_value());
  }
}

// Every box by one rule: blank or one number in the box's form, in its range. A refused text names
// the box, as a refused value does.
TEST(BorrowingCapacityTest, BoxTextsAreAcceptedOrRefusedByOneRule) {
  using F = CapacityField;
  struct Row {
    F field;
    const char* text;
    bool accepted;
  };
  const Row rows[] = {
      {F::Income, "", true},
      {F::Income, "600", true},
      {F::Income, " ６００万 ", true},
      {F::Income, "+600万円", true},
      {F::Income, "1,234万", true},
      {F::Income, "1234,567万", true},  // as the box shows it
      {F::Income, "　600　", true},     // ideographic spaces
      {F::Income, "abc", false},
      {F::Income, "6oo", false},
      {F::Income, "600万abc", false},
      {F::Income, "600 700", false},
      {F::Income, "1,2", false},
      {F::Income, "1,234,567", false},  // the box would read 1234
      {F::Income, ",600", false},
      {F::Income, "600.5", false},
      {F::Income, "-1", false},
      {F::Income, "2147483648", false},  // would be clamped
      {F::Income, "2147483647", true},
      {F::Income, "万", false},
      {F::RatioLimit, "35.00％", true},
      {F::RatioLimit, "35%", true},
      {F::RatioLimit, "100", true},
      {F::RatioLimit, "100.01", false},
      {F::RatioLimit, "0.5", false},
      {F::RatioLimit, "", false},
      {F::RatioLimit, "3５.5", true},
      {F::RatioLimit, "35.5.5", false},
      {F::Rate, "3.000％", true},
      {F::Rate, ".5", true},
      {F::Rate, "3.", true},
      {F::Rate, "3,0", false},
      {F::Rate, "1e1", false},
      {F::Rate, "abc", false},
      {F::Rate, "0", false},
      {F::Rate, "100", false},
      {F::Rate, "-1", false},
      {F::Period, "35年", true},
      {F::Period, "３５", true},
      {F::Period, "1", true},
      {F::Period, "abc", false},
      {F::Period, "35.5", false},
      {F::Period, "35万", false},
      {F::Period, "51", false},
      {F::Period, "0", false},
      {F::Period, "", false},
      {F::OtherRepayment, "", true},
      {F::OtherRepayment, "50万", true},
      {F::OtherRepayment, "x", false},
      {F::OtherRepayment, "-5", false},
      {F::Bonus, "", true},
      {F::Bonus, "1,000万", true},
      {F::Bonus, "81,990万", true},  // the largest loan there can be
      {F::Bonus, "81991", false},
      {F::Bonus, "99,999万", false},
      {F::Bonus, "-10", false},
      {F::Bonus, "1000abc", false},
  };
  const char* captions[] = {"年収", "返済負担率の上限", "金利", "返済期間", "他の借入の年間返済額", "内ボーナス"};
  for (const Row& row : rows) {
    const auto refused = CheckCapacityField(row.field, row.text);
    EXPECT_EQ(!refused.has_value(), row.accepted) << row.text;
    if (refused) {
      EXPECT_EQ(refused->message, "入力値が不正です。");
      EXPECT_EQ(refused->caption, captions[static_cast<size_t>(row.field)]) << row.text;
    }
  }
  EXPECT_EQ(kCapacityMaxLoan, 81990);
  EXPECT_EQ(CapacityFieldHint(F::Bonus), "内ボーナスは0～81,990万で入力してください。");
  EXPECT_EQ(CapacityFieldHint(F::Period), "返済期間は1～50年で入力してください。");
}

// Over random values: a box's text form is accepted and reads back as the value it shows.
TEST(BorrowingCapacityTest, TextFormsReadBackAndAreAccepted) {
  std::mt19937 gen(20261209);
  std::uniform_int_distribution<int32_t> amount(0, kCapacityMaxLoan);
  std::uniform_int_distribution<int> hundredths(100, 10000);
  std::uniform_int_distribution<int> thousandths(1, 99999);
  std::uniform_int_distribution<int> years(1, kCapacityMaxYears);
  for (int i = 0; i < 2000; ++i) {
    CapacityInputs in;
    in.annualIncome = amount(gen) * (i % 7 + 1);
    in.ratioLimitPercent = hundredths(gen) / 100.0;
    in.ratePercent = thousandths(gen) / 1000.0;
    in.periodYears = static_cast<int16_t>(years(gen));
    in.otherAnnualRepayment = amount(gen) % 1000;
    in.bonusAmount = amount(gen);
    CapacityInputs back;
    back.method = in.method;
    for (CapacityField field : kCapacityFields) {
      const std::string text = CapacityFieldText(in, field);
      ASSERT_FALSE(CheckCapacityField(field, text).has_value()) << text;
      ReadCapacityField(back, field, text);
    }
    ASSERT_EQ(back.annualIncome, in.annualIncome);
    ASSERT_DOUBLE_EQ(back.ratioLimitPercent, in.ratioLimitPercent);
    ASSERT_DOUBLE_EQ(back.ratePercent, in.ratePercent);
    ASSERT_EQ(back.periodYears, in.periodYears);
    ASSERT_EQ(back.otherAnnualRepayment, in.otherAnnualRepayment);
    ASSERT_EQ(back.bonusAmount, in.bonusAmount);
  }
}

TEST(BorrowingCapacityTest, DefaultRatioAndRequiredIncomeAroundTheTier) {
  EXPECT_EQ(DefaultRatioLimit(0), 30.0);
  EXPECT_EQ(DefaultRatioLimit(399), 30.0);
  EXPECT_EQ(DefaultRatioLimit(400), 35.0);
  EXPECT_EQ(DefaultRatioLimit(2000), 35.0);
  struct Need {
    double annualYen;
    int32_t other;
    int32_t income;
  };
  const Need needs[] = {
      {0.0, 0, 0},          {3000.0, 0, 1},  // 1万 x 30% = 3000 yen
      {3001.0, 0, 2},                        // one yen more
      {1050000.0, 0, 350},                   // exactly 350 x 3000
      {0.0, 105, 350},                       // the same, all of it other debts
      {1197000.0, 0, 399},                   // the most 30% allows
      {1197001.0, 0, 400},                   // one yen more jumps to the 35% tier
      {1400000.0, 0, 400},                   // 400 x 3500
      {1400001.0, 0, 401},                   // 401 x 3500 = 1,403,500
      {1264582.0, 0, 400},   // 3000万 (1200万 bonus) at 2.375%, 35 years: 361万 at 35% is below the tier
      {1264582.0, 50, 505},  // plus 50万: 1,764,582 / 3500 = 504.2
  };
  for (const Need& n : needs) {
    EXPECT_EQ(RequiredAnnualIncome(n.annualYen, n.other), n.income) << n.annualYen << " + " << n.other;
  }
}

TEST(BorrowingCapacityTest, GridMovesRateAndPeriodAndLeavesOutRefusedRates) {
  const CapacityGrid grid = CalcCapacityGrid({600, 35.0, 3.0, 35, 1, 0, 0});
  const int32_t expected[5][4] = {{3450, 4120, 4730, 5280},
                                  {3300, 3900, 4420, 4890},
                                  {3150, 3690, 4150, 4540},
                                  {3010, 3490, 3890, 4230},
                                  {2880, 3310, 3660, 3950}};
  for (size_t r = 0; r < 5; ++r) {
    for (size_t c = 0; c < 4; ++c) EXPECT_EQ(grid[r][c], expected[r][c]) << r << "," << c;
  }
  // At 0.5% the rows -1.0 and -0.5 would lend at 0% or below.
  const CapacityGrid low = CalcCapacityGrid({600, 35.0, 0.5, 35, 1, 0, 0});
  for (size_t c = 0; c < 4; ++c) {
    EXPECT_FALSE(low[0][c].has_value());
    EXPECT_FALSE(low[1][c].has_value());
    EXPECT_TRUE(low[2][c].has_value());
  }
  EXPECT_EQ(low[2][3], MaxLoanAmount({600, 35.0, 0.5, 35, 1, 0, 0}));
}

// Over random inputs: the answer is a 10万円 step within 0..81990 that fits, and the next step
// does not fit unless the answer is 0 or the form's limit; the required income suffices and one
// 万円 less does not.
TEST(BorrowingCapacityTest, AnswerFitsAndTheNextStepDoesNot) {
  std::mt19937 gen(20261208);
  std::uniform_int_distribution<int32_t> income(0, 4000);
  std::uniform_int_distribution<int> ratio(100, 10000);  // hundredths of a percent
  std::uniform_int_distribution<int> rate(1, 15000);     // thousandths of a percent
  std::uniform_int_distribution<int> years(1, 50);
  std::uniform_int_distribution<int> method(1, 2);
  std::uniform_int_distribution<int32_t> other(0, 400);
  std::uniform_int_distribution<int32_t> bonus(0, 300);
  for (int i = 0; i < 3000; ++i) {
    CapacityInputs in;
    in.annualIncome = income(gen);
    in.ratioLimitPercent = ratio(gen) / 100.0;
    in.ratePercent = rate(gen) / 1000.0;
    in.periodYears = static_cast<int16_t>(years(gen));
    in.method = static_cast<uint16_t>(method(gen));
    in.otherAnnualRepayment = i % 3 == 0 ? other(gen) : 0;
    in.bonusAmount = i % 2 == 0 ? bonus(gen) * 10 : 0;
    const int32_t loan = MaxLoanAmount(in);
    const double allowance = RepaymentAllowanceYen(in);
    SCOPED_TRACE(::testing::Message() << "income " << in.annualIncome << " ratio " << in.ratioLimitPercent << " rate "
                                      << in.ratePercent << " years " << in.periodYears << " method " << in.method
                                      << " other " << in.otherAnnualRepayment << " bonus " << in.bonusAmount << " -> "
                                      << loan);
    ASSERT_EQ(loan % kCapacityStep, 0);
    ASSERT_GE(loan, 0);
    ASSERT_LE(loan, kCapacityMaxLoan);
    if (loan > 0) {
      ASSERT_LE(AnnualRepaymentYen(in, loan), allowance);
    }
    if (loan < kCapacityMaxLoan && in.annualIncome > 0) {
      ASSERT_GT(AnnualRepaymentYen(in, loan + kCapacityStep), allowance);
    }
    const CapacityResult result = CalcCapacity(in);
    ASSERT_EQ(result.monthlyPayment,
              CalcMonthlyPayment(loan, result.bonusAmount, in.method, in.periodYears, in.ratePercent));
    ASSERT_EQ(result.bonusAmount, std::min(in.bonusAmount, loan));

    const double repayment = AnnualRepaymentYen(in, 10 * (1 + i % 5000));
    const int32_t need = RequiredAnnualIncome(repayment, in.otherAnnualRepayment);
    const double burden = repayment + in.otherAnnualRepayment * 10000.0;
    ASSERT_LE(burden, need * 10000.0 * DefaultRatioLimit(need) / 100.0);
    if (need > 0) {
      ASSERT_GT(burden, (need - 1) * 10000.0 * DefaultRatioLimit(need - 1) / 100.0);
    }
  }
}

}  // namespace
}  // namespace zorvik
