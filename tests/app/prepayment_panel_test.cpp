// The 繰上返済 panel of the repayment schedule window: worked prepayments of lenders' simulators
// typed in, refusals shown, the list remembered per plan, and the files with the prepayment lines.
#include "app/prepayment_panel.h"

#include <gtest/gtest.h>

#include <QChart>
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

TEST(PrepaymentPanelTexts, SettingsTextReadsBackAsTheSheetToolsOption) {
  for (const PlannedPrepayment& p :
       {PlannedPrepayment{0, 60, 1000000, PrepaymentKind::ShortenTerm, ShortenRule::AtLeastAmount, false},
        PlannedPrepayment{9, 3, 500000, PrepaymentKind::ReducePayment, ShortenRule::AtLeastAmount, true}}) {
    EXPECT_EQ(ParsePrepaymentOption(PrepaymentSettingsText(p)), std::optional<PlannedPrepayment>(p));
  }
  EXPECT_EQ(PrepaymentSettingsText({1, 0, 5, PrepaymentKind::ReducePayment, ShortenRule::AtLeastAmount, true}),
            "2:0:5:reduce:bonus");
  // Names with separators stay one key; a plan without a name has its own.
  EXPECT_FALSE(PrepaymentSettingsKey("a/b\\c").mid(12).contains(QLatin1Char('/')));
  EXPECT_NE(PrepaymentSettingsKey(""), PrepaymentSettingsKey("x"));
  EXPECT_EQ(PrepaymentListText({0, 0, 1000000, PrepaymentKind::ReducePayment, ShortenRule::AtLeastAmount, false}),
            "1行目 返済開始時 1,000,000円 返済額軽減型（月払）");
}

// The published cases: 3,000万, 元利均等, no bonus.
TEST_F(PrepaymentPanelTest, WorkedFiguresOfThePublishedCases) {
  struct Case {
    double rate;
    int16_t years;
    int when;
    bool inYears;
    const char* amount;
    bool manYen;
    bool shorten;
    std::vector<const char*> shown;
  };
  for (const Case& c :
       {Case{2.3,
             30,
             60,
             false,
             "100",
             true,
             true,
             {"繰上返済額 1,054,999円（入力 1,000,000円）", "利息軽減額 792,041円", "16回減（1年4か月短縮）",
              "115,440円 のまま", "1回単位"}},
        Case{2.3, 30, 3, true, "1,000,000", false, true, {"1,007,613円", "839,427円", "16回減"}},
        Case{3.0,
             35,
             5,
             true,
             "101.1934",
             true,
             true,
             {"繰上返済額 1,011,934円\n", "1,412,621円", "21回減（1年9か月短縮）"}},
        Case{2.0, 30, 0, false, "100", true, false, {"繰上返済額 1,000,000円\n", "返済額 110,885円 → 107,189円"}}}) {
    SCOPED_TRACE(c.amount);
    FundingPlan plan = PlanOf(c.rate, c.years, 3000);
    plan.customerName = std::to_string(c.rate) + c.amount;  // each case its own plan in the settings
    CRepaymentScheduleDlg dlg(plan, dir_.path());
    const int64_t plainInterest = dlg.schedule().totals.totalInterest;
    Add(dlg, c.when, c.inYears, c.amount, c.manYen, c.shorten);
    ASSERT_EQ(dlg.plannedPrepayments().size(), 1u);
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

TEST_F(PrepaymentPanelTest, RememberedPerPlanAndRemoved) {
  const FundingPlan plan = PlanOf(2.3, 30, 3000);
  {
    CRepaymentScheduleDlg dlg(plan, dir_.path());
    Add(dlg, 60, false, "100", true, true);
    Add(dlg, 10, true, "200", true, false);
    ASSERT_EQ(dlg.plannedPrepayments().size(), 2u);
  }
  CRepaymentScheduleDlg again(plan, dir_.path());
  ASSERT_EQ(again.plannedPrepayments().size(), 2u);
  EXPECT_EQ(again.plannedPrepayments()[1].afterPayment, 120);
  EXPECT_EQ(again.prepaymentPanel()->list()->count(), 2);
  FundingPlan other = plan;
  other.customerName = "佐藤 花子";
  EXPECT_TRUE(CRepaymentScheduleDlg(other, dir_.path()).plannedPrepayments().empty());

  // 削除 of the selected one; the last one removed leaves nothing in the settings.
  QListWidget* list = again.prepaymentPanel()->list();
  list->setCurrentRow(0);
  again.prepaymentPanel()->removeButton()->click();
  ASSERT_EQ(again.plannedPrepayments().size(), 1u);
  EXPECT_EQ(again.plannedPrepayments()[0].kind, PrepaymentKind::ReducePayment);
  again.prepaymentPanel()->removeButton()->click();
  EXPECT_TRUE(again.plannedPrepayments().empty());
  EXPECT_FALSE(OpenSettingsStore()->contains(PrepaymentSettingsKey(plan.customerName)));
  EXPECT_FALSE(again.prepaymentPanel()->removeButton()->isEnabled());
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
