#include "core/plan_texts.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/control_ids.h"
#include "core/memory_form_view.h"
#include "core/plan_recalc.h"
#include "tests/support/worked_plan.h"

namespace zorvik {
namespace {

struct TextRow {
  int id;
  const char* text;
};

class WorkedPlanTextTest : public ::testing::TestWithParam<TextRow> {};

TEST_P(WorkedPlanTextTest, ShowsTheTextForm) {
  EXPECT_EQ(MakePlanTexts(WorkedPlan()).Text(GetParam().id), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WorkedPlanTextTest,
    ::testing::Values(TextRow{ids::kCustomerName, "山田 太郎"}, TextRow{ids::kYear, "2026"}, TextRow{ids::kMonth, "12"},
                      TextRow{ids::kDay, "8"}, TextRow{ids::kLandLabel, "土地価額"},
                      TextRow{ids::kOtherCostLabel, "解体費"}, TextRow{ids::kMiscCostsLabel, " 諸費用 （概算）"},
                      TextRow{ids::kLandPrice, "2,500万"}, TextRow{ids::kConsumptionTax, "144万"},
                      TextRow{ids::kOtherCost, ""}, TextRow{ids::kRequiredFundsTotal, "4,444万"},
                      TextRow{ids::kFundsMinusLoans, "1,444万"}, TextRow{ids::kOwnFundsNeeded, "1,744万"},
                      TextRow{ids::kAnnualIncome, "600万"}, TextRow{ids::kLoanName[0], "フラット35"},
                      TextRow{ids::kMethod[0], "元利均等"}, TextRow{ids::kRate[0], "2.375％"},
                      TextRow{ids::kPeriod[0], "35年"}, TextRow{ids::kLoanAmount[0], "3,000万"},
                      TextRow{ids::kBonusAmount[0], "1,200万"}, TextRow{ids::kMonthlyPayment[0], "63,149円"},
                      TextRow{ids::kBonusPayment[0], "253,397円"}, TextRow{ids::kLoanName[1], ""},
                      TextRow{ids::kMethod[1], ""}, TextRow{ids::kRate[9], ""}, TextRow{ids::kBonusPayment[9], ""},
                      TextRow{ids::kTotalLoan, "3,000万"}, TextRow{ids::kTotalBonusAmount, "1,200万"},
                      TextRow{ids::kTotalMonthly, "63,149円"}, TextRow{ids::kTotalBonus, "253,397円"},
                      TextRow{ids::kAnnualRepayment, "1,264,582円"}, TextRow{ids::kRepaymentRatio, "21.08％"},
                      // Controls that show no text of the plan.
                      TextRow{ids::kPrint, ""}, TextRow{ids::kCaptionName, ""}, TextRow{ids::kDeleteRow[0], ""}));

// Method codes: the two on the list, and codes a file may hold that are not on it.
TEST(PlanTextsTest, MethodTextAndListPosition) {
  const struct {
    uint16_t code;
    const char* text;
    int position;
  } rows[] = {{0, "", -1}, {1, "元利均等", 0}, {2, "元金均等", 1}, {3, "", -1}, {65535, "", -1}};
  for (const auto& r : rows) {
    EXPECT_EQ(MethodText(r.code), r.text) << r.code;
    EXPECT_EQ(MethodListPosition(r.code), r.position) << r.code;
  }
}

// The ratio shows only with both income and repayment, and then even when it is 0.
TEST(PlanTextsTest, RatioNeedsIncomeAndRepayment) {
  FundingPlan plan = WorkedPlan();
  plan.annualIncome = 0;
  EXPECT_EQ(MakePlanTexts(plan).repaymentRatio, "");
  plan = WorkedPlan();
  plan.annualRepayment = 0.0;
  EXPECT_EQ(MakePlanTexts(plan).repaymentRatio, "");
  plan = WorkedPlan();
  plan.repaymentRatio = 0.0;
  EXPECT_EQ(MakePlanTexts(plan).repaymentRatio, "0.00％");
}

// The texts are exactly those the form shows after opening the plan, for every control: the
// worked plan, an empty one, and one with negative, extreme and off-list values.
TEST(PlanTextsTest, EqualTheTextsOfAnOpenedPlan) {
  FundingPlan extreme = WorkedPlan();
  extreme.createdYear = 65535;
  extreme.createdMonth = 0;
  extreme.landPrice = -120;
  extreme.ownFundsNeeded = std::numeric_limits<int32_t>::min();
  extreme.rows[3].method = 9;
  extreme.rows[3].loanAmount = 1234567;
  extreme.rows[4].ratePercent = -0.5;
  extreme.rows[4].periodYears = -3;
  extreme.rows[9].monthlyPayment = std::numeric_limits<int32_t>::max();
  extreme.totalMonthly = 1e300;
  FundingPlan empty;
  for (const FundingPlan& plan : {WorkedPlan(), empty, extreme}) {
    FundingPlan shown = plan;
    MemoryFormView view;
    ShowLoadedPlan(shown, view);
    const PlanTexts texts = MakePlanTexts(plan);
    for (int id = 0; id < 1200; ++id) EXPECT_EQ(texts.Text(id), view.Text(id)) << id;
  }
}

}  // namespace
}  // namespace zorvik
