#include "simulation/dialogs/simulation_entry.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "core/control_ids.h"
#include "core/text_forms.h"
#include "simulation/desired_amount.h"
#include "simulation/dialogs/bonus_sim_dlg.h"
#include "simulation/dialogs/monthly_sim_dlg.h"
#include "simulation/dialogs/sim_dialog_ids.h"
#include "simulation/dialogs/sim_result_dlg.h"
#include "tests/simulation/dialogs/sim_dialog_test_support.h"

namespace zorvik {
namespace {

using simtest::CountingFormView;
using simtest::ScriptedPrompter;

// Runs `step` on the modal dialog of type T once it is open (polling, as exec() only returns
// when the dialog closes).
template <typename T>
void WhenOpen(std::function<void(T&)> step) {
  auto* timer = new QTimer();
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, step] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      step(*dialog);
    }
  });
  timer->start();
}

// Enters the amount as leaving the box would, then presses 実行. (The modal dialog does not
// get the keyboard under the offscreen platform; typing is tested on the shown dialogs.)
void TypeAndRun(CSimInputDlg& dialog, const QString& amount, bool changeLoans) {
  if (changeLoans) static_cast<QAbstractButton*>(dialog.control(sim_ids::kChangeLoansYes))->click();
  dialog.desiredBox()->setText(amount);
  dialog.work().desiredAmount = ParseDesiredAmount(amount.toStdString());
  static_cast<QAbstractButton*>(dialog.control(sim_ids::kOk))->click();
}

// Every field of the plan that a simulation could touch.
void ExpectSamePlan(const FundingPlan& a, const FundingPlan& b) {
  EXPECT_TRUE(a.Inputs() == b.Inputs());
  for (size_t i = 0; i < a.rows.size(); ++i) {
    EXPECT_TRUE(simtest::SameRow(a.rows[i], b.rows[i])) << i;
    EXPECT_EQ(a.suggestedBonus[i], b.suggestedBonus[i]) << i;
  }
  EXPECT_EQ(a.totalLoan, b.totalLoan);
  EXPECT_EQ(a.totalBonusAmount, b.totalBonusAmount);
  EXPECT_EQ(a.totalMonthly, b.totalMonthly);
  EXPECT_EQ(a.totalBonus, b.totalBonus);
  EXPECT_EQ(a.annualRepayment, b.annualRepayment);
  EXPECT_EQ(a.repaymentRatio, b.repaymentRatio);
  EXPECT_EQ(a.recalcMonthlySum, b.recalcMonthlySum);
  EXPECT_EQ(a.recalcBonusSum, b.recalcBonusSum);
  EXPECT_EQ(a.fundsMinusLoans, b.fundsMinusLoans);
  EXPECT_EQ(a.ownFundsNeeded, b.ownFundsNeeded);
}

TEST(SimulationEntry, RestoreLeavesThePlanAndTheFormExactlyAsTheyWere) {
  FundingPlan plan = simtest::TwoRowPlan();
  const FundingPlan original = plan;
  CountingFormView view;
  ScriptedPrompter prompter;
  prompter.accept = false;  // 元に戻す
  int32_t before = -1;
  WhenOpen<CMonthlySimDlg>([](CMonthlySimDlg& d) { TypeAndRun(d, QStringLiteral("85,000"), true); });
  OpenMonthlySimulation(nullptr, plan, view, before, &prompter);
  ASSERT_EQ(prompter.results.size(), 1u);
  ExpectSamePlan(plan, original);
  EXPECT_EQ(view.writes, 0);
  EXPECT_EQ(before, original.totalLoan);
}

TEST(SimulationEntry, CancelLeavesThePlanUntouched) {
  FundingPlan plan = simtest::TwoRowPlan();
  const FundingPlan original = plan;
  CountingFormView view;
  ScriptedPrompter prompter;
  int32_t before = 0;
  WhenOpen<CMonthlySimDlg>([](CMonthlySimDlg& d) { QTest::mouseClick(d.control(sim_ids::kCancel), Qt::LeftButton); });
  OpenMonthlySimulation(nullptr, plan, view, before, &prompter);
  ExpectSamePlan(plan, original);
  EXPECT_EQ(view.writes, 0);
}

TEST(SimulationEntry, NothingOpensWhenBothTotalsAreZero) {
  FundingPlan plan;
  plan.totalLoan = 500;
  CountingFormView view;
  ScriptedPrompter prompter;
  int32_t before = 0;
  OpenMonthlySimulation(nullptr, plan, view, before, &prompter);  // would block if it opened
  OpenBonusSimulation(nullptr, plan, view, before, &prompter);
  EXPECT_EQ(before, 500);
  EXPECT_EQ(view.writes, 0);
}

TEST(SimulationEntry, AcceptedMonthlyResultIsWrittenToThePlanAndTheForm) {
  FundingPlan plan = simtest::TwoRowPlan();
  CountingFormView view;
  ScriptedPrompter prompter;
  int32_t before = 0;
  WhenOpen<CMonthlySimDlg>([](CMonthlySimDlg& d) { TypeAndRun(d, QStringLiteral("85,000"), false); });
  OpenMonthlySimulation(nullptr, plan, view, before, &prompter);
  ASSERT_EQ(prompter.results.size(), 1u);
  const SimulationOutcome& outcome = prompter.results[0];
  EXPECT_EQ(plan.totalMonthly, outcome.monthlyTotal);
  EXPECT_EQ(plan.totalBonus, outcome.bonusTotal);
  EXPECT_EQ(plan.totalBonusAmount, outcome.bonusAmountTotal);
  EXPECT_EQ(plan.totalLoan, 4000);
  EXPECT_EQ(view.Text(ids::kTotalMonthly), QString::fromStdString(FormatYen(plan.totalMonthly)).toStdString());
  // The empty row 1 was closed up: the second loan is now row 1.
  EXPECT_EQ(plan.rows[1].ratePercent, 1.5);
  EXPECT_EQ(plan.rows[2].ratePercent, 0.0);
  EXPECT_EQ(view.Text(ids::kRate[1]), "1.500％");
  EXPECT_TRUE(view.messages().empty());  // loans unchanged: no warning
}

TEST(SimulationEntry, AcceptedBonusResultWithHigherLoansWarns) {
  FundingPlan plan = simtest::TwoRowPlan();
  CountingFormView view;
  ScriptedPrompter prompter;
  int32_t before = 0;
  WhenOpen<CBonusSimDlg>([](CBonusSimDlg& d) { TypeAndRun(d, QStringLiteral("1000000"), true); });
  OpenBonusSimulation(nullptr, plan, view, before, &prompter);
  ASSERT_EQ(prompter.results.size(), 1u);
  EXPECT_GT(plan.totalLoan, 4000);
  EXPECT_EQ(before, 4000);
  ASSERT_EQ(view.messages().size(), 1u);
  EXPECT_EQ(view.messages()[0].second, "ゾルビク");
}

// The whole way with the real result dialog: type 85,000, press 実行, read the result dialog,
// press OK.
TEST(SimulationEntry, RealResultDialogShowsBeforeAndAfter) {
  FundingPlan plan = simtest::TwoRowPlan();
  const double monthlyBefore = plan.totalMonthly;
  CountingFormView view;
  int32_t before = 0;
  QString shownBefore, shownAfter, shownLoan;
  WhenOpen<CMonthlySimDlg>([&](CMonthlySimDlg& d) {
    WhenOpen<CSimResultDlg>([&](CSimResultDlg& result) {
      shownBefore = result.controlText(sim_ids::kMonthlyBefore);
      shownAfter = result.controlText(sim_ids::kMonthlyAfter);
      shownLoan = result.controlText(sim_ids::kLoanAfter);
      QTest::mouseClick(result.control(sim_ids::kOk), Qt::LeftButton);
    });
    TypeAndRun(d, QStringLiteral("85,000"), false);
  });
  OpenMonthlySimulation(nullptr, plan, view, before, nullptr);
  EXPECT_EQ(shownBefore, QString::fromStdString(FormatYen(monthlyBefore)));
  EXPECT_EQ(shownAfter, QString::fromStdString(FormatYen(plan.totalMonthly)));
  EXPECT_EQ(shownLoan, QStringLiteral("4,000万"));
  EXPECT_NE(plan.totalMonthly, monthlyBefore);
}

// The real message box of the common frame: 実行 without an amount keeps the dialog open.
TEST(SimulationEntry, RealMessageBoxKeepsTheDialogOpen) {
  FundingPlan plan = simtest::TwoRowPlan();
  const FundingPlan original = plan;
  CountingFormView view;
  int32_t before = 0;
  QString text, caption;
  WhenOpen<CMonthlySimDlg>([&](CMonthlySimDlg& d) {
    WhenOpen<QMessageBox>([&](QMessageBox& box) {
      text = box.text();
      caption = box.windowTitle();
      box.accept();
      QTimer::singleShot(0, &d, [&d] { QTest::mouseClick(d.control(sim_ids::kCancel), Qt::LeftButton); });
    });
    static_cast<QAbstractButton*>(d.control(sim_ids::kOk))->click();
  });
  OpenMonthlySimulation(nullptr, plan, view, before, nullptr);
  EXPECT_EQ(text, QStringLiteral("希望する金額を入力して下さい。"));
  EXPECT_EQ(caption, QStringLiteral("シミュレーションの実行"));
  ExpectSamePlan(plan, original);
}

}  // namespace
}  // namespace zorvik
