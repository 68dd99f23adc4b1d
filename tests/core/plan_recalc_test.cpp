#include "core/plan_recalc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/control_ids.h"
#include "core/repayment.h"
#include "core/text_forms.h"
#include "tests/support/editing_session.h"
#include "tests/support/fake_form_view.h"

namespace zorvik {
namespace {

using ids::kBonusAmount;
using ids::kBonusPayment;
using ids::kLoanAmount;
using ids::kMethod;
using ids::kMonthlyPayment;
using ids::kPeriod;
using ids::kRate;

// Drives the recalculation the way the form does: focus in, type, focus out.
class PlanRecalcTest : public ::testing::Test {
 protected:
  PlanRecalcTest() : recalc(plan, view) {
    plan.ResetToNewPlan(PlanDate{2026, 12, 8});
    view.forwardLoanAmountChanges([this](int row) { recalc.OnLoanAmountTextChanged(row); });
  }

  std::string Text(int id) const { return view.Text(id); }

  void TypeLoan(int row, const std::string& text) {
    recalc.OnLoanAmountSetFocus(row);
    view.SetText(kLoanAmount[row], text);
    recalc.OnLoanAmountKillFocus(row);
  }
  // Focus into the loan box and out again without typing.
  void VisitLoan(int row) {
    recalc.OnLoanAmountSetFocus(row);
    recalc.OnLoanAmountKillFocus(row);
  }
  void TypeBonus(int row, const std::string& text) {
    recalc.OnBonusAmountSetFocus(row);
    view.SetText(kBonusAmount[row], text);
    recalc.OnBonusAmountKillFocus(row);
  }
  void TypeRate(int row, const std::string& text) {
    recalc.OnRateSetFocus(row);
    view.SetText(kRate[row], text);
    recalc.OnRateKillFocus(row);
  }
  void TypePeriod(int row, const std::string& text) {
    recalc.OnPeriodSetFocus(row);
    view.SetText(kPeriod[row], text);
    recalc.OnPeriodKillFocus(row);
  }
  void ChooseMethod(int row, int position) {
    view.SetSelection(kMethod[row], position);
    recalc.OnMethodChosen(row);
  }
  void ChooseProduct(int row, double rate) { recalc.OnLoanProductChosen(row, rate); }
  void TypeFunds(int id, const std::string& text) {
    view.SetText(id, text);
    recalc.OnRequiredFundsKillFocus(id);
  }
  void TypeMisc(const std::string& text) {
    view.SetText(ids::kMiscCosts, text);
    recalc.OnMiscCostsKillFocus();
  }
  void TypeIncome(const std::string& text) {
    view.SetText(ids::kAnnualIncome, text);
    recalc.OnAnnualIncomeKillFocus();
  }
  // Loan 3000 with the suggested 1200, product at 2.375 % (元利均等), 35 years.
  void CompleteRow(int row, const std::string& loan = "3000", double rate = 2.375, const std::string& years = "35") {
    TypeLoan(row, loan);
    ChooseProduct(row, rate);
    TypePeriod(row, years);
  }

  FundingPlan plan;
  FakeFormView view;
  PlanRecalculator recalc;
};

TEST_F(PlanRecalcTest, TypingALoanIntoAnEmptyRowSuggestsFourTenths) {
  TypeLoan(0, "3000");
  EXPECT_EQ(Text(kLoanAmount[0]), "3,000万");
  EXPECT_EQ(Text(kBonusAmount[0]), "1,200万");
  EXPECT_EQ(plan.rows[0].loanAmount, 3000);
  EXPECT_EQ(plan.rows[0].bonusAmount, 1200);
  EXPECT_EQ(plan.suggestedBonus[0], 1200);
  EXPECT_EQ(Text(ids::kTotalLoan), "3,000万");
  EXPECT_EQ(Text(ids::kTotalBonusAmount), "1,200万");
  // No method, rate or period yet: no payments.
  EXPECT_EQ(Text(kMonthlyPayment[0]), "");
  EXPECT_EQ(Text(ids::kTotalMonthly), "");
  // The loans count against the (still empty) required funds.
  EXPECT_EQ(Text(ids::kFundsMinusLoans), "-3,000万");
}

TEST_F(PlanRecalcTest, ProductThenPeriodGivesThePayments) {
  TypeLoan(0, "3000");
  ChooseProduct(0, 2.375);
  EXPECT_EQ(view.Selection(kMethod[0]), 0);
  EXPECT_EQ(plan.rows[0].method, 1);
  EXPECT_EQ(Text(kRate[0]), "2.375％");
  EXPECT_EQ(Text(kMonthlyPayment[0]), "");  // the period box is still empty
  TypePeriod(0, "35");
  EXPECT_EQ(Text(kPeriod[0]), "35年");
  EXPECT_EQ(Text(kMonthlyPayment[0]), "63,149円");
  EXPECT_EQ(Text(kBonusPayment[0]), "253,397円");
  EXPECT_EQ(Text(ids::kTotalMonthly), "63,149円");
  EXPECT_EQ(Text(ids::kTotalBonus), "253,397円");
  EXPECT_EQ(plan.annualRepayment, 2 * 253397.0 + 12 * 63149.0);
  EXPECT_EQ(Text(ids::kAnnualRepayment), "1,264,582円");
  EXPECT_EQ(plan.recalcMonthlySum, 63149.0);
  EXPECT_EQ(plan.recalcBonusSum, 253397.0);
}

TEST_F(PlanRecalcTest, PeriodThenProductGivesThePayments) {
  TypeLoan(0, "3000");
  TypeRate(0, "2.375");
  TypePeriod(0, "35");
  // Loan, bonus, rate and period but no method: no payments.
  EXPECT_EQ(Text(kMonthlyPayment[0]), "");
  EXPECT_EQ(plan.rows[0].monthlyPayment, 0);
  ChooseProduct(0, 2.375);
  EXPECT_EQ(Text(kMonthlyPayment[0]), "63,149円");
  EXPECT_EQ(Text(kBonusPayment[0]), "253,397円");
  EXPECT_EQ(Text(ids::kTotalMonthly), "63,149円");
}

TEST_F(PlanRecalcTest, EqualPrincipalFromTheMethodList) {
  CompleteRow(0);
  ChooseMethod(0, 1);
  EXPECT_EQ(plan.rows[0].method, 2);
  EXPECT_EQ(Text(kMonthlyPayment[0]), "78,482円");
  EXPECT_EQ(Text(kBonusPayment[0]), "313,928円");
  EXPECT_EQ(Text(ids::kTotalMonthly), "78,482円");
  EXPECT_EQ(plan.recalcMonthlySum, 78482.0);
}

TEST_F(PlanRecalcTest, RequiredFundsExample) {
  TypeFunds(ids::kLandPrice, "2500");
  TypeFunds(ids::kBuildingPrice, "1800");
  TypeFunds(ids::kConsumptionTax, "90");
  TypeMisc("200");
  EXPECT_EQ(Text(ids::kLandPrice), "2,500万");
  EXPECT_EQ(Text(ids::kConsumptionTax), "90万");
  EXPECT_EQ(Text(ids::kRequiredFundsTotal), "4,390万");
  EXPECT_EQ(Text(ids::kOwnFundsNeeded), "4,590万");
  TypeLoan(0, "3000");
  EXPECT_EQ(plan.requiredFundsTotal, 4390);
  EXPECT_EQ(plan.fundsMinusLoans, 1390);
  EXPECT_EQ(plan.ownFundsNeeded, 1590);
  EXPECT_EQ(Text(ids::kRequiredFundsTotal), "4,390万");
  EXPECT_EQ(Text(ids::kFundsMinusLoans), "1,390万");
  EXPECT_EQ(Text(ids::kOwnFundsNeeded), "1,590万");
}

TEST_F(PlanRecalcTest, RequiredFundsReadsAllFourBoxesButShowsOnlyTheOneLeft) {
  view.SetText(ids::kLandPrice, "2500");
  view.SetText(ids::kBuildingPrice, "１８００");
  recalc.OnRequiredFundsKillFocus(ids::kLandPrice);
  EXPECT_EQ(plan.buildingPrice, 1800);
  EXPECT_EQ(Text(ids::kLandPrice), "2,500万");
  EXPECT_EQ(Text(ids::kBuildingPrice), "１８００");
  EXPECT_EQ(Text(ids::kRequiredFundsTotal), "4,300万");
  TypeFunds(ids::kLandPrice, "");
  EXPECT_EQ(Text(ids::kLandPrice), "");
  EXPECT_EQ(Text(ids::kRequiredFundsTotal), "1,800万");
}

TEST_F(PlanRecalcTest, FullWidthLoanIsNotLost) {
  TypeLoan(0, "３，０００万");
  EXPECT_EQ(plan.rows[0].loanAmount, 3000);
  EXPECT_EQ(Text(kLoanAmount[0]), "3,000万");
  EXPECT_EQ(Text(kBonusAmount[0]), "1,200万");
  TypeRate(0, "２．３７５");
  EXPECT_EQ(plan.rows[0].ratePercent, 2.375);
}

struct SuggestionCase {
  const char* loan;
  const char* bonusShown;
};
class SuggestionTest : public PlanRecalcTest, public ::testing::WithParamInterface<SuggestionCase> {};
TEST_P(SuggestionTest, BonusBox) {
  TypeLoan(0, GetParam().loan);
  EXPECT_EQ(Text(kBonusAmount[0]), GetParam().bonusShown);
}
INSTANTIATE_TEST_SUITE_P(Table, SuggestionTest,
                         ::testing::Values(SuggestionCase{"3000", "1,200万"}, SuggestionCase{"3120", "1,200万"},
                                           SuggestionCase{"3124", "1,200万"}, SuggestionCase{"3125", "1,250万"},
                                           SuggestionCase{"125", "50万"}, SuggestionCase{"124", ""},
                                           SuggestionCase{"0", ""}));

TEST_F(PlanRecalcTest, LeavingTheLoanBoxUnchangedKeepsAHandTypedBonus) {
  TypeLoan(0, "3000");
  TypeBonus(0, "500");
  EXPECT_EQ(Text(kBonusAmount[0]), "500万");
  VisitLoan(0);
  EXPECT_EQ(plan.rows[0].bonusAmount, 500);
  EXPECT_EQ(Text(kBonusAmount[0]), "500万");
  EXPECT_FALSE(recalc.editState().loanTextChanged);
  // Typing the same number in another text counts as a change: the bonus is suggested again.
  TypeLoan(0, "3000");
  EXPECT_EQ(Text(kBonusAmount[0]), "1,200万");
}

TEST_F(PlanRecalcTest, BonusIsClampedToTheLoan) {
  TypeLoan(0, "3000");
  TypeBonus(0, "5000");
  EXPECT_EQ(plan.rows[0].bonusAmount, 3000);
  EXPECT_EQ(Text(kBonusAmount[0]), "3,000万");
  EXPECT_EQ(Text(ids::kTotalBonusAmount), "3,000万");
  EXPECT_TRUE(view.messages().empty());
}

TEST_F(PlanRecalcTest, BonusWithoutALoanBecomesZero) {
  TypeBonus(1, "800");
  EXPECT_EQ(plan.rows[1].bonusAmount, 0);
  EXPECT_EQ(Text(kBonusAmount[1]), "");
  EXPECT_EQ(Text(ids::kTotalBonusAmount), "");
}

TEST_F(PlanRecalcTest, ChangingTheBonusRecomputesTheRowButNotTheReferenceSums) {
  CompleteRow(0);
  TypeBonus(0, "0");
  EXPECT_EQ(Text(kMonthlyPayment[0]), "105,249円");
  EXPECT_EQ(Text(kBonusPayment[0]), "");
  EXPECT_EQ(Text(ids::kTotalMonthly), "105,249円");
  EXPECT_EQ(Text(ids::kTotalBonus), "");
  EXPECT_EQ(plan.recalcMonthlySum, 63149.0);  // untouched by a bonus edit
  EXPECT_EQ(Text(ids::kTotalBonusAmount), "");
}

TEST_F(PlanRecalcTest, EmptyingThePeriodKeepsTheShownPayments) {
  CompleteRow(0);
  TypePeriod(0, "");
  EXPECT_EQ(plan.rows[0].periodYears, 0);
  EXPECT_EQ(Text(kPeriod[0]), "");
  EXPECT_EQ(Text(kMonthlyPayment[0]), "63,149円");
  EXPECT_EQ(Text(kBonusPayment[0]), "253,397円");
  EXPECT_EQ(plan.rows[0].monthlyPayment, 63149);
  // Without a period the row is no longer complete: it leaves the totals.
  EXPECT_EQ(Text(ids::kTotalMonthly), "");
  EXPECT_EQ(Text(ids::kAnnualRepayment), "");
  // The reference sums follow the inputs: the row pays nothing without a period.
  EXPECT_EQ(plan.recalcMonthlySum, 0.0);
  EXPECT_EQ(plan.recalcBonusSum, 0.0);
}

TEST_F(PlanRecalcTest, ZeroPeriodTypedAsTextZerosThePayments) {
  CompleteRow(0);
  TypePeriod(0, "0");
  EXPECT_EQ(Text(kMonthlyPayment[0]), "");
  EXPECT_EQ(Text(kBonusPayment[0]), "");
  EXPECT_EQ(Text(ids::kTotalMonthly), "");
  EXPECT_EQ(Text(kPeriod[0]), "");
}

TEST_F(PlanRecalcTest, ChoosingAProductResumsTheLoansWithoutShowingThem) {
  TypeLoan(0, "3000");
  plan.rows[1].loanAmount = 500;  // not yet summed
  ChooseProduct(0, 2.375);
  EXPECT_EQ(plan.totalLoan, 3500);
  EXPECT_EQ(Text(ids::kTotalLoan), "3,000万");
  EXPECT_EQ(Text(ids::kFundsMinusLoans), "-3,500万");
}

TEST_F(PlanRecalcTest, ARejectedLoanLeavesTheBonusAndTotals) {
  TypeLoan(0, "3000");
  TypeBonus(0, "700");
  TypeLoan(0, "90000");
  EXPECT_EQ(plan.rows[0].loanAmount, 90000);  // stored, as typed
  EXPECT_EQ(Text(kLoanAmount[0]), "90000");
  EXPECT_EQ(Text(kBonusAmount[0]), "700万");
  EXPECT_EQ(plan.totalLoan, 3000);
  // The focus comes back; the user types an accepted amount.
  TypeLoan(0, "2000");
  EXPECT_TRUE(view.messages().size() == 1u);
  EXPECT_EQ(Text(kBonusAmount[0]), "800万");
  EXPECT_EQ(Text(ids::kTotalLoan), "2,000万");
}

TEST_F(PlanRecalcTest, ProductWithZeroRateEmptiesTheRateBox) {
  TypeLoan(0, "3000");
  TypePeriod(0, "35");
  ChooseProduct(0, 0.0);
  EXPECT_EQ(Text(kRate[0]), "");
  EXPECT_EQ(plan.rows[0].monthlyPayment, 0);
  EXPECT_EQ(Text(kMonthlyPayment[0]), "");
}

TEST_F(PlanRecalcTest, RateIsShownWithThreeDecimals) {
  CompleteRow(0);
  TypeRate(0, "2.4");
  EXPECT_EQ(Text(kRate[0]), "2.400％");
  EXPECT_EQ(plan.rows[0].monthlyPayment, CalcMonthlyPayment(3000, 1200, 1, 35, 2.4));
  EXPECT_EQ(plan.recalcMonthlySum, CalcMonthlyPayment(3000, 1200, 1, 35, 2.4));
  // More decimals, typed or from the master, are computed as shown; clicking through the box
  // then changes nothing.
  TypeRate(0, "2.4375");
  EXPECT_EQ(Text(kRate[0]), "2.438％");
  EXPECT_EQ(plan.rows[0].monthlyPayment, CalcMonthlyPayment(3000, 1200, 1, 35, 2.438));
  ChooseProduct(0, 1.9375);
  EXPECT_EQ(plan.rows[0].ratePercent, ParseRateText("1.938"));
  EXPECT_EQ(plan.rows[0].monthlyPayment, CalcMonthlyPayment(3000, 1200, 1, 35, 1.938));
  TypeRate(0, "1.938％");
  EXPECT_EQ(plan.rows[0].monthlyPayment, CalcMonthlyPayment(3000, 1200, 1, 35, 1.938));
}

struct RangeCase {
  int column;  // 0 rate, 1 period, 2 loan
  const char* text;
  const char* caption;
};
class RangeCheckTest : public PlanRecalcTest, public ::testing::WithParamInterface<RangeCase> {};
TEST_P(RangeCheckTest, StopsTheHandlerAndPutsTheFocusBack) {
  CompleteRow(0);
  TypeIncome("600");
  const std::string ratioBefore = Text(ids::kRepaymentRatio);
  const RangeCase& c = GetParam();
  const int id = c.column == 0 ? kRate[0] : c.column == 1 ? kPeriod[0] : kLoanAmount[0];
  if (c.column == 0) TypeRate(0, c.text);
  if (c.column == 1) TypePeriod(0, c.text);
  if (c.column == 2) TypeLoan(0, c.text);
  ASSERT_EQ(view.messages().size(), 1u);
  EXPECT_EQ(view.messages()[0].first, "入力値が不正です。");
  EXPECT_EQ(view.messages()[0].second, c.caption);
  EXPECT_EQ(view.focus(), id);
  EXPECT_EQ(Text(id), c.text);  // left as typed
  // Nothing was recalculated.
  EXPECT_EQ(Text(kMonthlyPayment[0]), "63,149円");
  EXPECT_EQ(Text(kBonusAmount[0]), "1,200万");
  EXPECT_EQ(Text(ids::kTotalLoan), "3,000万");
  EXPECT_EQ(Text(ids::kTotalMonthly), "63,149円");
  EXPECT_EQ(Text(ids::kRepaymentRatio), ratioBefore);
  EXPECT_EQ(plan.recalcMonthlySum, 63149.0);
}
INSTANTIATE_TEST_SUITE_P(Table, RangeCheckTest,
                         ::testing::Values(RangeCase{0, "100", "金利"}, RangeCase{0, "1e400", "金利"},
                                           RangeCase{1, "100", "返済期間"}, RangeCase{1, "65571", "返済期間"},
                                           RangeCase{1, "６５５７１", "返済期間"}, RangeCase{2, "82000", "借入額"},
                                           RangeCase{2, "99999999999", "借入額"}));

TEST_F(PlanRecalcTest, LimitsAreAccepted) {
  CompleteRow(0);
  TypeRate(0, "99.999");
  TypePeriod(0, "99");
  TypeLoan(0, "81999");
  EXPECT_TRUE(view.messages().empty());
  EXPECT_EQ(Text(kLoanAmount[0]), "81,999万");
  EXPECT_EQ(Text(kPeriod[0]), "99年");
  EXPECT_EQ(Text(kRate[0]), "99.999％");
}

TEST_F(PlanRecalcTest, RejectedRateIsStoredAndAcceptedOnceCorrected) {
  CompleteRow(0);
  TypeRate(0, "150");
  EXPECT_EQ(plan.rows[0].ratePercent, 150.0);
  view.clearMessages();
  // The user corrects the text; focus never left, so no set-focus read happens in between.
  view.SetText(kRate[0], "3");
  recalc.OnRateKillFocus(0);
  EXPECT_TRUE(view.messages().empty());
  EXPECT_EQ(Text(kRate[0]), "3.000％");
  EXPECT_EQ(plan.rows[0].monthlyPayment, CalcMonthlyPayment(3000, 1200, 1, 35, 3.0));
}

// Which box the form reports while values are refused: the focused one first, then row by row,
// rate before period before loan; every other box, and every accepted value, counts as fine.
struct RejectedRow {
  const char* name;
  std::vector<std::pair<int, const char*>> texts;
  int preferred;
  int expectedId;  // 0: none
  const char* caption;
};
class FindRejectedBoxTest : public ::testing::TestWithParam<RejectedRow> {};
TEST_P(FindRejectedBoxTest, ReportsTheBoxTheUserMustCorrect) {
  const RejectedRow& row = GetParam();
  FakeFormView view;
  for (const auto& [id, text] : row.texts) view.SetText(id, text);
  const std::optional<RejectedBox> found = FindRejectedBox(view, row.preferred);
  ASSERT_EQ(found.has_value(), row.expectedId != 0);
  if (!found) return;
  EXPECT_EQ(found->id, row.expectedId);
  EXPECT_EQ(found->error.message, "入力値が不正です。");
  EXPECT_EQ(found->error.caption, row.caption);
}
INSTANTIATE_TEST_SUITE_P(
    Table, FindRejectedBoxTest,
    ::testing::Values(
        RejectedRow{"Empty", {}, 0, 0, ""},
        RejectedRow{"Limits", {{kRate[0], "99.999％"}, {kPeriod[9], "99年"}, {kLoanAmount[4], "81,999万"}}, 0, 0, ""},
        RejectedRow{"Rate", {{kRate[3], "150"}}, 0, kRate[3], "金利"},
        RejectedRow{"RateAsShown", {{kRate[3], "150.000％"}}, kRate[0], kRate[3], "金利"},
        RejectedRow{"FullWidthPeriod", {{kPeriod[9], "１００"}}, 0, kPeriod[9], "返済期間"},
        RejectedRow{"Loan", {{kLoanAmount[1], "82,000万"}}, ids::kCustomerName, kLoanAmount[1], "借入額"},
        RejectedRow{
            "RowOrder", {{kLoanAmount[0], "82000"}, {kRate[1], "100"}, {kPeriod[0], "100"}}, 0, kPeriod[0], "返済期間"},
        RejectedRow{
            "FocusedFirst", {{kRate[0], "100"}, {kLoanAmount[7], "90000"}}, kLoanAmount[7], kLoanAmount[7], "借入額"},
        RejectedRow{"FocusedButFine", {{kRate[0], "100"}, {kLoanAmount[7], "900"}}, kLoanAmount[7], kRate[0], "金利"},
        RejectedRow{"OtherBoxesUnchecked",
                    {{ids::kLandPrice, "99999999"}, {kBonusAmount[0], "90000"}, {ids::kYear, "99999"}},
                    ids::kLandPrice,
                    0,
                    ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlanRecalcTest, EveryRejectionGoesThroughTheViewsRefusal) {
  // A view that counts refusals: the recalculation must use RefuseValue, which a window may
  // delay and coalesce, not a message and a focus change of its own.
  struct CountingView : FakeFormView {
    std::vector<int> refused;
    void RefuseValue(int id, const std::string& text, const std::string& caption) override {
      refused.push_back(id);
      FakeFormView::RefuseValue(id, text, caption);
    }
  } counting;
  PlanRecalculator r(plan, counting);
  counting.SetText(kRate[2], "100");
  r.OnRateKillFocus(2);
  counting.SetText(kPeriod[2], "100");
  r.OnPeriodKillFocus(2);
  counting.SetText(kLoanAmount[2], "82000");
  r.OnLoanAmountKillFocus(2);
  EXPECT_EQ(counting.refused, (std::vector<int>{kRate[2], kPeriod[2], kLoanAmount[2]}));
  EXPECT_EQ(counting.messages().size(), 3u);
  EXPECT_EQ(counting.focus(), kLoanAmount[2]);
}

TEST_F(PlanRecalcTest, IncomeOfZeroLeavesTheRatioEmpty) {
  CompleteRow(0);
  TypeIncome("600");
  EXPECT_EQ(Text(ids::kRepaymentRatio), "21.08％");  // 1,264,582 yen over 600万
  TypeIncome("");
  EXPECT_EQ(Text(ids::kRepaymentRatio), "");
  EXPECT_EQ(plan.annualIncome, 0);
  TypeRate(0, "3");
  EXPECT_EQ(Text(ids::kRepaymentRatio), "");
}

TEST_F(PlanRecalcTest, DeletingARowKeepsTheRowsBelowAndRecomputesTotals) {
  TypeFunds(ids::kLandPrice, "5000");
  TypeIncome("800");
  CompleteRow(0);
  CompleteRow(1, "1000", 3.0, "20");
  TypeBonus(1, "400");
  ASSERT_EQ(Text(kMonthlyPayment[1]), "33,275円");
  ASSERT_EQ(Text(kBonusPayment[1]), "133,708円");
  ASSERT_EQ(Text(ids::kTotalMonthly), "96,424円");

  recalc.OnDeleteRow(0);
  for (int id : {ids::kLoanName[0], kRate[0], kPeriod[0], kLoanAmount[0], kBonusAmount[0], kMonthlyPayment[0],
                 kBonusPayment[0]}) {
    EXPECT_EQ(Text(id), "") << id;
  }
  EXPECT_EQ(view.Selection(kMethod[0]), -1);
  EXPECT_TRUE(plan.rows[0].HasNoInputs());
  EXPECT_EQ(plan.suggestedBonus[0], 1200);  // left as it was
  // Row 1 stays where it is.
  EXPECT_EQ(Text(kLoanAmount[1]), "1,000万");
  EXPECT_EQ(plan.rows[1].loanAmount, 1000);
  EXPECT_EQ(Text(ids::kTotalLoan), "1,000万");
  EXPECT_EQ(Text(ids::kTotalBonusAmount), "400万");
  EXPECT_EQ(Text(ids::kTotalMonthly), "33,275円");
  EXPECT_EQ(Text(ids::kTotalBonus), "133,708円");
  EXPECT_EQ(plan.annualRepayment, 2 * 133708.0 + 12 * 33275.0);
  EXPECT_EQ(Text(ids::kAnnualRepayment), "666,716円");
  EXPECT_EQ(Text(ids::kRepaymentRatio), "8.33％");
  EXPECT_EQ(Text(ids::kFundsMinusLoans), "4,000万");
  EXPECT_EQ(Text(ids::kOwnFundsNeeded), "4,000万");
  EXPECT_EQ(plan.recalcMonthlySum, 33275.0);
  EXPECT_EQ(plan.recalcBonusSum, 133708.0);

  recalc.OnDeleteRow(1);
  EXPECT_EQ(Text(ids::kTotalLoan), "");
  EXPECT_EQ(Text(ids::kTotalMonthly), "");
  EXPECT_EQ(Text(ids::kAnnualRepayment), "");
  EXPECT_EQ(Text(ids::kRepaymentRatio), "");
}

TEST_F(PlanRecalcTest, FullRebuildUsesTheSuggestionWhileTheBonusIsAtOrBelowIt) {
  CompleteRow(0);
  TypeBonus(0, "500");  // below the suggestion of 1200
  ChooseMethod(0, 0);   // a full rebuild
  EXPECT_EQ(plan.recalcMonthlySum, CalcMonthlyPayment(3000, 1200, 1, 35, 2.375));
  EXPECT_EQ(plan.recalcBonusSum, CalcBonusPayment(1200, 1, 35, 2.375));
  TypeBonus(0, "2000");  // above it: the typed portion counts
  ChooseMethod(0, 0);
  EXPECT_EQ(plan.recalcMonthlySum, CalcMonthlyPayment(3000, 2000, 1, 35, 2.375));
  EXPECT_EQ(plan.recalcBonusSum, CalcBonusPayment(2000, 1, 35, 2.375));
}

TEST_F(PlanRecalcTest, MethodWithoutSelectionOnAnIncompleteRowOnlyRebuildsTheSums) {
  TypeLoan(0, "3000");
  ChooseMethod(0, -1);
  EXPECT_EQ(plan.rows[0].method, 0);
  EXPECT_EQ(Text(kMonthlyPayment[0]), "");
  EXPECT_EQ(plan.recalcMonthlySum, 0.0);
}

// A simulation has written totals of its own (row 0 stays as it was shown).
class SimulatedTotalsTest : public PlanRecalcTest {
 protected:
  void SetUp() override {
    CompleteRow(0);
    plan.totalMonthly = 70000.0;
    plan.totalBonus = 253397.0;
    view.SetText(ids::kTotalMonthly, "70,000円");
  }
};

TEST_F(SimulatedTotalsTest, ARowChangeThatMovesOnlyOneTotalTakesTheRowsOver) {
  plan.rows[0].loanAmount = 3100;  // the monthly payment moves, the bonus payment does not
  recalc.RecalculateRow(0);
  const int32_t monthly = CalcMonthlyPayment(3100, 1200, 1, 35, 2.375);
  EXPECT_EQ(Text(kMonthlyPayment[0]), FormatYen(monthly));
  EXPECT_EQ(plan.totalMonthly, monthly);
  EXPECT_EQ(Text(ids::kTotalMonthly), FormatYen(monthly));
  EXPECT_EQ(plan.annualRepayment, 2 * 253397.0 + 12 * monthly);
}

TEST_F(SimulatedTotalsTest, ARowChangeThatMovesBothTotalsRebuildsThem) {
  plan.rows[0].ratePercent = 3.0;
  recalc.RecalculateRow(0);
  EXPECT_EQ(plan.totalMonthly, CalcMonthlyPayment(3000, 1200, 1, 35, 3.0));
  EXPECT_EQ(plan.totalBonus, CalcBonusPayment(1200, 1, 35, 3.0));
  EXPECT_EQ(plan.recalcMonthlySum, 63149.0);  // the row recalculation leaves the reference sums
}

TEST_F(PlanRecalcTest, RowRecalculationReadsThePaymentsBackFromTheForm) {
  CompleteRow(0);
  view.SetText(kMonthlyPayment[0], "1,000円");
  view.SetText(kPeriod[0], "");
  recalc.RecalculateRow(0);
  EXPECT_EQ(plan.rows[0].monthlyPayment, 1000);  // stopped at the empty period, after the read
}

TEST_F(PlanRecalcTest, RowRecalculationTakesTheMethodFromTheList) {
  CompleteRow(0);
  view.SetSelection(kMethod[0], -1);  // nothing selected counts as 元金均等
  plan.rows[0].ratePercent = 3.0;
  recalc.RecalculateRow(0);
  EXPECT_EQ(plan.rows[0].method, 2);
  EXPECT_EQ(plan.rows[0].monthlyPayment, CalcMonthlyPayment(3000, 1200, 2, 35, 3.0));
}

TEST_F(PlanRecalcTest, HeaderFieldsFollowTheirBoxes) {
  view.SetText(ids::kCustomerName, "山田 太郎");
  recalc.OnCustomerNameChanged();
  view.SetText(ids::kYear, "２０２７");
  recalc.OnDateChanged(ids::kYear);
  view.SetText(ids::kMonth, "1");
  recalc.OnDateChanged(ids::kMonth);
  view.SetText(ids::kDay, "99999");
  recalc.OnDateChanged(ids::kDay);
  view.SetText(ids::kOtherCostLabel, "外構工事");
  recalc.OnOtherCostLabelChanged();
  view.SetText(ids::kLoanName[2], "フラット35");
  recalc.OnLoanNameKillFocus(2);
  EXPECT_EQ(plan.customerName, "山田 太郎");
  EXPECT_EQ(plan.createdYear, 2027);
  EXPECT_EQ(plan.createdMonth, 1);
  EXPECT_EQ(plan.createdDay, 65535);
  EXPECT_EQ(plan.otherCostLabel, "外構工事");
  EXPECT_EQ(plan.rows[2].loanName, "フラット35");
  EXPECT_TRUE(plan.HasUnsavedChanges());
}

TEST_F(PlanRecalcTest, NegativeDifferencesShowWithALeadingMinus) {
  TypeFunds(ids::kLandPrice, "1000");
  TypeMisc("100");
  TypeLoan(0, "2234");
  EXPECT_EQ(Text(ids::kFundsMinusLoans), "-1,234万");
  EXPECT_EQ(Text(ids::kOwnFundsNeeded), "-1,134万");
}

// Amounts no form lets through, as a plan file may hold them: the sums saturate instead of
// overflowing.
TEST_F(PlanRecalcTest, HugeAmountsSaturate) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  for (int id : {ids::kLandPrice, ids::kBuildingPrice, ids::kConsumptionTax, ids::kOtherCost}) {
    TypeFunds(id, "2000000000");
  }
  EXPECT_EQ(plan.requiredFundsTotal, kMax);
  plan.rows[0].loanAmount = kMin;
  plan.rows[1].loanAmount = kMin;
  plan.rows[0].bonusAmount = kMax;
  plan.rows[1].bonusAmount = kMax;
  recalc.ResumLoanTotals();
  EXPECT_EQ(plan.totalLoan, kMin);
  EXPECT_EQ(plan.totalBonusAmount, kMax);
  recalc.UpdateFundsChain();
  EXPECT_EQ(plan.fundsMinusLoans, kMax);
  plan.rows[2] = LoanRow{"", 2, 2.0, 99, kMax, kMin, 0, 0};
  recalc.OnDeleteRow(5);
  EXPECT_EQ(plan.totalLoan, kMin);
  EXPECT_EQ(plan.recalcMonthlySum, static_cast<double>(kMax));
}

// Whatever the order of the edits, the totals, the yearly repayment and the ratio follow the
// complete rows, and each complete row shows the payments of its own inputs.
TEST(EditingSessionProperty, TotalsAlwaysFollowTheRows) {
  for (uint32_t session = 0; session < 300; ++session) {
    EditingSession editing(20261208 + session);
    editing.FillRow(static_cast<int>(session % 4));
    std::string events;
    for (int event = 0; event < 40; ++event) {
      events += editing.Step() + "; ";
      const std::string violation = editing.Violation();
      ASSERT_EQ(violation, "") << "session " << session << ": " << events;
    }
  }
}

FundingPlan LoadedPlan() {
  FundingPlan p;
  p.customerName = "佐藤 花子";
  p.createdYear = 2025;
  p.createdMonth = 4;
  p.createdDay = 1;
  p.landLabel = kLandLabel;
  p.buildingLabel = kBuildingLabel;
  p.taxLabel = kTaxLabel;
  p.otherCostLabel = "外構";
  p.fundsMinusLoansLabel = kFundsMinusLoansLabel;
  p.miscCostsLabel = kMiscCostsLabel;
  p.ownFundsLabel = kOwnFundsLabel;
  p.landPrice = 2500;
  p.buildingPrice = 1800;
  p.consumptionTax = 90;
  p.requiredFundsTotal = 4390;
  p.fundsMinusLoans = 1265;
  p.miscCosts = 200;
  p.ownFundsNeeded = 1465;
  p.rows[0] = LoanRow{"銀行ローン", 1, 2.375, 35, 3125, 1250, 64000, 260000};  // stored payments, not recomputed
  p.rows[3] = LoanRow{"手入力", 0, 0.0, 0, 0, 0, 0, 0};
  p.totalLoan = 3125;
  p.totalBonusAmount = 1250;
  p.totalMonthly = 64000;
  p.totalBonus = 260000;
  p.annualRepayment = 1288000;
  p.repaymentRatio = 25.5;  // no income: not shown
  return p;
}

TEST(ShowLoadedPlanTest, ShowsTheStoredValuesWithoutRecalculating) {
  FundingPlan plan = LoadedPlan();
  FakeFormView view;
  view.SetText(ids::kRepaymentRatio, "9.99％");
  view.SetText(kMonthlyPayment[5], "1円");
  view.SetSelection(kMethod[5], 1);
  ShowLoadedPlan(plan, view);

  EXPECT_EQ(view.Text(ids::kCustomerName), "佐藤 花子");
  EXPECT_EQ(view.Text(ids::kYear), "2025");
  EXPECT_EQ(view.Text(ids::kMonth), "4");
  EXPECT_EQ(view.Text(ids::kOtherCostLabel), "外構");
  EXPECT_EQ(view.Text(ids::kMiscCostsLabel), " 諸費用 （概算）");
  EXPECT_EQ(view.Text(ids::kLandPrice), "2,500万");
  EXPECT_EQ(view.Text(ids::kOtherCost), "");
  EXPECT_EQ(view.Text(ids::kRequiredFundsTotal), "4,390万");
  EXPECT_EQ(view.Text(ids::kFundsMinusLoans), "1,265万");
  EXPECT_EQ(view.Text(ids::kAnnualIncome), "");
  EXPECT_EQ(view.Text(ids::kLoanName[0]), "銀行ローン");
  EXPECT_EQ(view.Selection(ids::kLoanName[0]), -1);
  EXPECT_EQ(view.Selection(kMethod[0]), 0);
  EXPECT_EQ(view.Text(kRate[0]), "2.375％");
  EXPECT_EQ(view.Text(kPeriod[0]), "35年");
  EXPECT_EQ(view.Text(kLoanAmount[0]), "3,125万");
  EXPECT_EQ(view.Text(kBonusAmount[0]), "1,250万");
  EXPECT_EQ(view.Text(kMonthlyPayment[0]), "64,000円");
  EXPECT_EQ(view.Text(kBonusPayment[0]), "260,000円");
  EXPECT_EQ(view.Text(ids::kLoanName[3]), "手入力");
  EXPECT_EQ(view.Selection(kMethod[3]), -1);
  EXPECT_EQ(view.Text(kRate[3]), "");
  // Earlier contents are cleared.
  EXPECT_EQ(view.Text(kMonthlyPayment[5]), "");
  EXPECT_EQ(view.Selection(kMethod[5]), -1);
  EXPECT_EQ(view.Text(ids::kTotalLoan), "3,125万");
  EXPECT_EQ(view.Text(ids::kTotalMonthly), "64,000円");
  EXPECT_EQ(view.Text(ids::kAnnualRepayment), "1,288,000円");
  EXPECT_EQ(view.Text(ids::kRepaymentRatio), "");  // income 0
  EXPECT_EQ(plan.rows[0].monthlyPayment, 64000);
  EXPECT_EQ(plan.totalMonthly, 64000.0);
  // The loaded variant of the four-tenths rule takes the tenth first: 3125 -> 1200.
  EXPECT_EQ(plan.suggestedBonus[0], 1200);
  EXPECT_EQ(plan.suggestedBonus[3], 0);
  // The reference sums come from the rows: the bonus 1250 is above the suggestion, so it counts.
  EXPECT_EQ(plan.recalcMonthlySum, CalcMonthlyPayment(3125, 1250, 1, 35, 2.375));
  EXPECT_EQ(plan.recalcBonusSum, CalcBonusPayment(1250, 1, 35, 2.375));
}

TEST(ShowLoadedPlanTest, RatioShownOnlyWithIncomeAndRepayment) {
  FundingPlan plan = LoadedPlan();
  plan.annualIncome = 600;
  FakeFormView view;
  ShowLoadedPlan(plan, view);
  EXPECT_EQ(view.Text(ids::kAnnualIncome), "600万");
  EXPECT_EQ(view.Text(ids::kRepaymentRatio), "25.50％");
  plan.annualRepayment = 0.0;
  ShowLoadedPlan(plan, view);
  EXPECT_EQ(view.Text(ids::kRepaymentRatio), "");
}

TEST(ShowLoadedPlanTest, ThenEditingContinuesFromTheShownPayments) {
  FundingPlan plan = LoadedPlan();
  FakeFormView view;
  PlanRecalculator recalc(plan, view);
  view.forwardLoanAmountChanges([&](int row) { recalc.OnLoanAmountTextChanged(row); });
  ShowLoadedPlan(plan, view);
  // The stored totals (64,000) differ from the reference sums; changing the rate moves both
  // payments, so the rows take over the totals.
  recalc.OnRateSetFocus(0);
  view.SetText(kRate[0], "3");
  recalc.OnRateKillFocus(0);
  EXPECT_EQ(plan.totalMonthly, CalcMonthlyPayment(3125, 1250, 1, 35, 3.0));
  EXPECT_EQ(view.Text(ids::kTotalMonthly), FormatYen(plan.totalMonthly));
}

}  // namespace
}  // namespace zorvik
