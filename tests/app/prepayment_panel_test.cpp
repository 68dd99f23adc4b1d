// The 繰上返済 panel of the repayment schedule window: worked prepayments of lenders' simulators
// typed in, refusals shown, the list remembered per plan, and the files with the prepayment lines.
#include "app/prepayment_panel.h"

#include <gtest/gtest.h>

#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>

#include "app/repayment_schedule_dlg.h"
#include "app/zorvik_app.h"
#include "core/plan_evaluation.h"
#include "io/schedule_export.h"
#include "tests/support/private_settings.h"

namespace zorvik {
namespace {

QString U(const char* s) {
  return QString::fromUtf8(s);
}

FundingPlan PlanOf(double rate, int16_t years, int32_t loan, int32_t bonus = 0) {
  FundingPlan plan;
  plan.customerName = "山田 太郎";
  LoanRow& row = plan.rows[0];
  row.method = 1;
  row.ratePercent = rate;
  row.periodYears = years;
  row.loanAmount = loan;
  row.bonusAmount = bonus;
  return plan;
}

// Types a prepayment into the panel and presses 追加.
void Add(CRepaymentScheduleDlg& dlg, int when, bool years, const char* amount, bool manYen, bool shorten,
         bool bonus = false) {
  PrepaymentPanel& p = *dlg.prepaymentPanel();
  p.when()->setValue(when);
  p.whenUnit()->setCurrentIndex(years ? 1 : 0);
  p.amount()->setText(U(amount));
  p.amountUnit()->setCurrentIndex(manYen ? 0 : 1);
  (shorten ? p.shorten() : p.reduce())->setChecked(true);
  p.part()->setCurrentIndex(bonus ? 1 : 0);
  p.addButton()->click();
}

class PrepaymentPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    KeepSettingsIn(dir_);
  }
  QTemporaryDir dir_;
};

TEST(PrepaymentPanelTexts, AmountsTypedIn) {
  struct Case {
    const char* text;
    bool manYen;
    std::optional<int64_t> yen;
  };
  for (const Case& c : {Case{"100", true, 1000000}, Case{"101.1934", true, 1011934}, Case{"１００", true, 1000000},
                        Case{"1,000,000", false, 1000000}, Case{" 5 ", false, 5}, Case{"0.5", true, 5000},
                        Case{"1.5", false, std::nullopt}, Case{"1.23456", true, std::nullopt},
                        Case{"", true, std::nullopt}, Case{"-1", false, std::nullopt}, Case{"1e6", false, std::nullopt},
                        Case{"百", true, std::nullopt}, Case{"1.", true, std::nullopt}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParsePrepaymentAmount(U(c.text), c.manYen), c.yen);
  }
}

// "Y年目 Mか月目" is after payment 12(Y - 1) + M; "every N years" steps 12N (bonus part: 2N).
TEST(PrepaymentPanelTexts, LoanMonthsAndRepeats) {
  EXPECT_EQ(AfterPaymentOfLoanMonth(1, 0, false), 0);
  EXPECT_EQ(AfterPaymentOfLoanMonth(6, 0, false), 60);
  EXPECT_EQ(AfterPaymentOfLoanMonth(2, 4, false), 16);
  EXPECT_EQ(AfterPaymentOfLoanMonth(2, 4, true), 2);
  EXPECT_EQ(AfterPaymentOfLoanMonth(6, 0, true), 10);
  EXPECT_EQ(RepeatedAfterPayments(60, 5, false, 360, 20), (std::vector<int32_t>{60, 120, 180, 240, 300}));
  EXPECT_EQ(RepeatedAfterPayments(10, 5, true, 60, 20), (std::vector<int32_t>{10, 20, 30, 40, 50}));
  EXPECT_EQ(RepeatedAfterPayments(12, 1, false, 360, 3), (std::vector<int32_t>{12, 24, 36}));
  EXPECT_TRUE(RepeatedAfterPayments(360, 1, false, 360, 20).empty());
  ScheduleTotals without;
  without.totalRepaid = 41558400;
  without.totalInterest = 11558400;
  without.years = 30;
  ScheduleTotals with = without;
  with.totalRepaid -= 792041;
  with.totalInterest -= 792041;
  with.years = 29;
  EXPECT_EQ(PrepaymentComparisonText(without, with),
            "繰上返済なし → あり：総返済額 41,558,400円 → 40,766,359円、利息総額 11,558,400円 → 10,766,359円、完済 "
            "30年目 → 29年目");
}

TEST(PrepaymentPanelTexts, SettingsTextReadsBackAsTheSheetToolsOption) {
  for (const PlannedPrepayment& p :
       {PlannedPrepayment{0, 60, 1000000, PrepaymentKind::ShortenTerm, ShortenRule::AtLeastAmount, false},
        PlannedPrepayment{9, 3, 500000, PrepaymentKind::ReducePayment, ShortenRule::AtLeastAmount, true}}) {
    EXPECT_EQ(ParsePrepaymentOption(PrepaymentSettingsText(p)), std::optional<PlannedPrepayment>(p));
  }
  EXPECT_EQ(PrepaymentSettingsText({1, 0, 5, PrepaymentKind::ReducePayment, ShortenRule::AtLeastAmount, true}),
            "2:0:5:reduce:bonus");
  // Names with separators stay one key; a plan without a name has its own.
  EXPECT_FALSE(PrepaymentSettingsKey(U("C:\\データ/a.zvk")).mid(12).contains(QLatin1Char('/')));
  EXPECT_NE(PrepaymentSettingsKey(QString()), PrepaymentSettingsKey(U("x")));
  const PlannedPrepayment within{0, 6, 900000, PrepaymentKind::ShortenTerm, ShortenRule::AtMostAmount, false};
  EXPECT_EQ(PrepaymentSettingsText(within), "1:6:900000:shorten:within");
  EXPECT_EQ(ParsePrepaymentSettingsText("1:6:900000:shorten:within"), std::optional<PlannedPrepayment>(within));
  EXPECT_EQ(ParsePrepaymentSettingsText("1:6:900000:within"), std::nullopt);
  EXPECT_EQ(PrepaymentListText({0, 0, 1000000, PrepaymentKind::ReducePayment, ShortenRule::AtLeastAmount, false}),
            "1行目 返済開始時 1,000,000円 返済額軽減型（月払）");
}

// The published cases: 3,000万, 元利均等, no bonus.
TEST_F(PrepaymentPanelTest, WorkedFiguresOfThePublishedCases) {
  struct Case {
    double rate;
    int16_t years;
    int when;  // 回目, or 年目 with `inYears`
    bool inYears;
    int32_t after;
    const char* amount;
    bool manYen;
    bool shorten;
    std::vector<const char*> shown;
  };
  const std::vector<const char*> first = {"繰上返済額 1,054,999円（入力 1,000,000円）", "利息軽減額 792,041円",
                                          "16回減（返済期間が 1年4か月 短縮）", "115,440円 のまま", "1回単位"};
  const std::vector<const char*> third = {"繰上返済額 1,011,934円\n", "1,412,621円",
                                          "21回減（返済期間が 1年9か月 短縮）"};
  const std::vector<const char*> reduced = {"繰上返済額 1,000,000円\n", "返済額 110,885円 → 107,189円"};
  for (const Case& c : {Case{2.3, 30, 60, false, 60, "100", true, true, first},
                        Case{2.3, 30, 4, true, 36, "1,000,000", false, true, {"1,007,613円", "839,427円", "16回減"}},
                        Case{3.0, 35, 6, true, 60, "101.1934", true, true, third},
                        Case{2.0, 30, 0, false, 0, "100", true, false, reduced}}) {
    SCOPED_TRACE(c.amount);
    const FundingPlan plan = PlanOf(c.rate, c.years, 3000);
    CRepaymentScheduleDlg dlg(plan, dir_.path());
    dlg.SetPlanFileName(QString::number(c.rate) + U(c.amount));  // each case a plan of its own
    const int64_t plainInterest = dlg.schedule().totals.totalInterest;
    Add(dlg, c.when, c.inYears, c.amount, c.manYen, c.shorten);
    ASSERT_EQ(dlg.plannedPrepayments().size(), 1u);
    EXPECT_EQ(dlg.plannedPrepayments()[0].afterPayment, c.after);
    EXPECT_TRUE(dlg.prepaymentPanel()->message()->isHidden());
    const QString details = dlg.prepaymentPanel()->details()->text();
    for (const char* s : c.shown) EXPECT_TRUE(details.contains(U(s))) << details.toStdString() << "\n  " << s;
    // The window's schedule is the one with the prepayment.
    EXPECT_LT(dlg.schedule().totals.totalInterest, plainInterest);
  }
}

TEST_F(PrepaymentPanelTest, RefusalsShownAndNothingAdded) {
  const FundingPlan plan = PlanOf(2.3, 30, 3000);
  CRepaymentScheduleDlg dlg(plan, dir_.path());
  QLabel* message = dlg.prepaymentPanel()->message();
  struct Case {
    int when;
    const char* amount;
    QString shown;
  };
  for (const Case& c : {Case{60, "0", U(PrepaymentRefusalText(PrepaymentRefusal::NoAmount).c_str())},
                        Case{0, "3001", U(PrepaymentRefusalText(PrepaymentRefusal::AboveBalance).c_str())},
                        Case{360, "100", U(PrepaymentRefusalText(PrepaymentRefusal::AfterOutOfRange).c_str())},
                        Case{358, "20", U(PrepaymentRefusalText(PrepaymentRefusal::NeedsLastPayment).c_str())},
                        Case{60, "百", U(kPrepaymentAmountError)}}) {
    SCOPED_TRACE(c.amount);
    Add(dlg, c.when, false, c.amount, true, true);
    EXPECT_FALSE(message->isHidden());
    EXPECT_EQ(message->text(), c.shown);
    EXPECT_TRUE(dlg.plannedPrepayments().empty());
  }
  // A valid one clears the message.
  Add(dlg, 60, false, "100", true, true);
  EXPECT_TRUE(message->isHidden());
  EXPECT_EQ(dlg.plannedPrepayments().size(), 1u);
}

TEST_F(PrepaymentPanelTest, RememberedPerPlanFileAndRemoved) {
  const FundingPlan plan = PlanOf(2.3, 30, 3000);
  const QString file = U("/データ/山田.zvk");
  {
    // Planned before the plan is first saved: the list goes with the new file.
    CRepaymentScheduleDlg dlg(plan, dir_.path());
    Add(dlg, 60, false, "100", true, true);
    Add(dlg, 11, true, "200", true, false);
    ASSERT_EQ(dlg.plannedPrepayments().size(), 2u);
    dlg.SetPlanFileName(file);
    EXPECT_EQ(dlg.plannedPrepayments().size(), 2u);
  }
  CRepaymentScheduleDlg again(plan, dir_.path());
  again.SetPlanFileName(file);
  ASSERT_EQ(again.plannedPrepayments().size(), 2u);
  EXPECT_EQ(again.plannedPrepayments()[1].afterPayment, 120);
  EXPECT_EQ(again.prepaymentPanel()->list()->count(), 2);
  EXPECT_FALSE(again.prepaymentPanel()->comparison()->isHidden());
  again.SetPlanFileName(U("/データ/佐藤.zvk"));
  EXPECT_TRUE(again.plannedPrepayments().empty());
  EXPECT_TRUE(again.prepaymentPanel()->comparison()->isHidden());
  again.SetPlanFileName(file);

  // 削除 of the selected one; the last one removed leaves nothing in the settings.
  QListWidget* list = again.prepaymentPanel()->list();
  list->setCurrentRow(0);
  again.prepaymentPanel()->removeButton()->click();
  ASSERT_EQ(again.plannedPrepayments().size(), 1u);
  EXPECT_EQ(again.plannedPrepayments()[0].kind, PrepaymentKind::ReducePayment);
  again.prepaymentPanel()->removeButton()->click();
  EXPECT_TRUE(again.plannedPrepayments().empty());
  EXPECT_FALSE(OpenSettingsStore()->contains(PrepaymentSettingsKey(file)));
  EXPECT_FALSE(again.prepaymentPanel()->removeButton()->isEnabled());
}

// 100万 every 10 years from 6年目 on a 30-year loan: after payments 60, 180 and 300 while the
// shortened term lasts; the rule "stay within" takes the largest number of payments within it.
TEST_F(PrepaymentPanelTest, RepeatedAndWithinTheAmount) {
  const FundingPlan plan = PlanOf(2.3, 30, 3000);
  CRepaymentScheduleDlg dlg(plan, dir_.path());
  dlg.prepaymentPanel()->repeat()->setChecked(true);
  dlg.prepaymentPanel()->repeatEvery()->setValue(10);
  Add(dlg, 6, true, "100", true, true);
  ASSERT_EQ(dlg.plannedPrepayments().size(), 3u);
  EXPECT_EQ(dlg.plannedPrepayments()[1].afterPayment, 180);
  EXPECT_EQ(dlg.plannedPrepayments()[2].afterPayment, 300);
  dlg.prepaymentPanel()->repeat()->setChecked(false);
  dlg.prepaymentPanel()->list()->setCurrentRow(0);
  for (int i = 0; i < 3; ++i) dlg.prepaymentPanel()->removeButton()->click();
  ASSERT_TRUE(dlg.plannedPrepayments().empty());

  dlg.prepaymentPanel()->rule()->setCurrentIndex(1);
  Add(dlg, 60, false, "100", true, true);
  ASSERT_EQ(dlg.plannedPrepayments().size(), 1u);
  EXPECT_EQ(dlg.plannedPrepayments()[0].rule, ShortenRule::AtMostAmount);
  const QString details = dlg.prepaymentPanel()->details()->text();
  EXPECT_TRUE(details.contains(U("15回減"))) << details.toStdString();
  EXPECT_TRUE(details.contains(U("入力額を超えない最多の回数分"))) << details.toStdString();
}

// A planned prepayment the plan's later edits make impossible stays in the list, marked, with why.
TEST_F(PrepaymentPanelTest, PlannedOneRefusedAfterAnEdit) {
  FundingPlan plan = PlanOf(2.3, 30, 3000);
  CRepaymentScheduleDlg dlg(plan, dir_.path());
  Add(dlg, 0, false, "2000", true, false);
  ASSERT_EQ(dlg.plannedPrepayments().size(), 1u);
  plan.rows[0].loanAmount = 1000;
  dlg.Refresh();
  ASSERT_EQ(dlg.prepaymentPanel()->list()->count(), 1);
  EXPECT_TRUE(dlg.prepaymentPanel()->list()->item(0)->text().endsWith(U("（適用されません）")));
  EXPECT_EQ(dlg.prepaymentPanel()->details()->text(),
            U("この繰上返済は適用されません。") + U(PrepaymentRefusalText(PrepaymentRefusal::AboveBalance).c_str()));
  EXPECT_EQ(dlg.schedule().totals.totalRepaid, EvaluatePlan(plan).schedule.totals.totalRepaid);
}

TEST_F(PrepaymentPanelTest, ChartAndFilesShowTheScheduleWithThePrepayment) {
  const FundingPlan plan = PlanOf(2.3, 30, 3000);
  CRepaymentScheduleDlg dlg(plan, dir_.path());
  const auto without = [&] {
    for (QAbstractSeries* s : dlg.chart()->series()) {
      if (s->name() == U("繰上返済なしの残高")) return qobject_cast<QLineSeries*>(s);
    }
    return static_cast<QLineSeries*>(nullptr);
  };
  EXPECT_TRUE(without() == nullptr || !without()->isVisible());
  const std::string plainCsv = ScheduleCsvBytes(dlg.schedule());
  EXPECT_EQ(plainCsv.find("繰上返済"), std::string::npos);

  Add(dlg, 60, false, "100", true, true);
  QLineSeries* line = without();
  ASSERT_NE(line, nullptr);
  EXPECT_TRUE(line->isVisible());
  EXPECT_EQ(line->count(), 30);                                      // the plain schedule's years
  EXPECT_EQ(dlg.yearTable()->rowCount(), 29);                        // 16 payments fewer: ends in year 29
  EXPECT_EQ(dlg.yearTable()->item(4, 1)->text(), U("2,440,279円"));  // 12 x 115,440 + 1,054,999
  const std::string csv = ScheduleCsvBytes(dlg.schedule());
  EXPECT_NE(csv.find("1,,繰上返済,60,5,1054999,1054999,0,"), std::string::npos);

  // Removed again, the files are those of the plain schedule, byte for byte.
  dlg.prepaymentPanel()->removeButton()->click();
  EXPECT_EQ(ScheduleCsvBytes(dlg.schedule()), plainCsv);
  EXPECT_FALSE(without()->isVisible());
  EXPECT_EQ(dlg.yearTable()->rowCount(), 30);
}

}  // namespace
}  // namespace zorvik
