#include "core/funding_plan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace zorvik {
namespace {

TEST(FundingPlanTest, NewPlanValues) {
  FundingPlan plan;
  plan.rows[4].loanAmount = 100;
  plan.totalMonthly = 5.0;
  plan.suggestedBonus[2] = 50;
  plan.ResetToNewPlan(PlanDate{2026, 12, 8});
  EXPECT_EQ(plan.customerName, "新 規");
  EXPECT_EQ(plan.createdYear, 2026);
  EXPECT_EQ(plan.createdMonth, 12);
  EXPECT_EQ(plan.createdDay, 8);
  EXPECT_EQ(plan.landLabel, "土地価額");
  EXPECT_EQ(plan.buildingLabel, "建物価額");
  EXPECT_EQ(plan.taxLabel, "消費税");
  EXPECT_EQ(plan.otherCostLabel, "");
  EXPECT_EQ(plan.fundsMinusLoansLabel, "所要資金－借入額");
  EXPECT_EQ(plan.miscCostsLabel, " 諸費用 （概算）");
  EXPECT_EQ(plan.ownFundsLabel, "自己資金必要額");
  EXPECT_TRUE(plan.rows[4].HasNoInputs());
  EXPECT_EQ(plan.totalMonthly, 0.0);
  EXPECT_EQ(plan.suggestedBonus[2], 0);
  EXPECT_FALSE(plan.HasUnsavedChanges());
  EXPECT_EQ(plan.savedBaseline.customerName, "新 規");
  EXPECT_EQ(plan.savedBaseline.createdYear, 2026);
}

TEST(FundingPlanTest, ChangingAndRestoringAnInputIsNoChange) {
  FundingPlan plan;
  plan.ResetToNewPlan(PlanDate{2026, 12, 8});
  plan.customerName += "x";
  EXPECT_TRUE(plan.HasUnsavedChanges());
  plan.customerName = "新 規";
  EXPECT_FALSE(plan.HasUnsavedChanges());
  plan.createdDay = 9;
  EXPECT_TRUE(plan.HasUnsavedChanges());
  plan.createdDay = 8;
  plan.rows[9].ratePercent = 2.375;
  EXPECT_TRUE(plan.HasUnsavedChanges());
  plan.TakeBaseline();
  EXPECT_FALSE(plan.HasUnsavedChanges());
}

TEST(FundingPlanTest, DerivedFieldsAndFixedCaptionsAreNotCompared) {
  FundingPlan plan;
  plan.ResetToNewPlan(PlanDate{2026, 1, 1});
  plan.requiredFundsTotal = 1;
  plan.fundsMinusLoans = 2;
  plan.ownFundsNeeded = 3;
  plan.totalLoan = 4;
  plan.totalMonthly = 5;
  plan.annualRepayment = 6;
  plan.repaymentRatio = 7;
  plan.recalcMonthlySum = 8;
  plan.rows[0].monthlyPayment = 9;
  plan.rows[0].bonusPayment = 10;
  plan.suggestedBonus[0] = 11;
  plan.landLabel = "x";
  EXPECT_FALSE(plan.HasUnsavedChanges());
  plan.otherCostLabel = "外構";  // the one caption the user types
  EXPECT_TRUE(plan.HasUnsavedChanges());
}

TEST(FundingPlanTest, EveryRowInputIsCompared) {
  FundingPlan plan;
  plan.ResetToNewPlan(PlanDate{2026, 1, 1});
  for (int field = 0; field < 6; ++field) {
    FundingPlan copy = plan;
    LoanRow& r = copy.rows[7];
    switch (field) {
      case 0:
        r.loanName = "a";
        break;
      case 1:
        r.method = 2;
        break;
      case 2:
        r.ratePercent = 0.001;
        break;
      case 3:
        r.periodYears = 1;
        break;
      case 4:
        r.loanAmount = 1;
        break;
      case 5:
        r.bonusAmount = 1;
        break;
    }
    EXPECT_TRUE(copy.HasUnsavedChanges()) << field;
  }
}

TEST(FundingPlanTest, ClearForLoadKeepsReferenceSumsAndBaseline) {
  FundingPlan plan;
  plan.ResetToNewPlan(PlanDate{2026, 1, 1});
  plan.recalcMonthlySum = 100.0;
  plan.recalcBonusSum = 200.0;
  plan.landPrice = 5;
  plan.rows[1].loanAmount = 3000;
  plan.suggestedBonus[1] = 1200;
  plan.ClearForLoad();
  EXPECT_EQ(plan.customerName, "");
  EXPECT_EQ(plan.landLabel, "");
  EXPECT_EQ(plan.createdYear, 0);
  EXPECT_EQ(plan.landPrice, 0);
  EXPECT_TRUE(plan.rows[1].HasNoInputs());
  EXPECT_EQ(plan.suggestedBonus[1], 0);
  EXPECT_EQ(plan.recalcMonthlySum, 100.0);
  EXPECT_EQ(plan.recalcBonusSum, 200.0);
  EXPECT_EQ(plan.savedBaseline.customerName, "新 規");
  EXPECT_TRUE(plan.HasUnsavedChanges());  // a cleared plan differs from the new-plan baseline
}

TEST(FundingPlanTest, RowCompleteness) {
  LoanRow r{"", 1, 2.375, 35, 3000, 1200, 0, 0};
  EXPECT_TRUE(r.IsComplete());
  for (int missing = 0; missing < 4; ++missing) {
    LoanRow c = r;
    if (missing == 0) c.method = 0;
    if (missing == 1) c.ratePercent = 0.0;
    if (missing == 2) c.periodYears = 0;
    if (missing == 3) c.loanAmount = 0;
    EXPECT_FALSE(c.IsComplete()) << missing;
  }
}

struct SuggestCase {
  int32_t loan;
  int32_t rule;
  int32_t loaded;
};
class SuggestTest : public ::testing::TestWithParam<SuggestCase> {};
TEST_P(SuggestTest, BothVariants) {
  EXPECT_EQ(SuggestBonusAmount(GetParam().loan), GetParam().rule);
  EXPECT_EQ(SuggestBonusAmountForLoadedPlan(GetParam().loan), GetParam().loaded);
}
INSTANTIATE_TEST_SUITE_P(Table, SuggestTest,
                         ::testing::Values(SuggestCase{0, 0, 0}, SuggestCase{3000, 1200, 1200},
                                           SuggestCase{3120, 1200, 1200}, SuggestCase{3124, 1200, 1200},
                                           SuggestCase{3125, 1250, 1200}, SuggestCase{125, 50, 0},
                                           SuggestCase{124, 0, 0}, SuggestCase{81999, 32750, 32750},
                                           SuggestCase{-3000, -1200, -1200},
                                           SuggestCase{std::numeric_limits<int32_t>::max(), 858993450, 858993450},
                                           SuggestCase{std::numeric_limits<int32_t>::min(), -858993450, -858993450}));

}  // namespace
}  // namespace zorvik
