#include "simulation/dialogs/sim_result_dlg.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "simulation/dialogs/sim_dialog_ids.h"
#include "tests/simulation/dialogs/sim_dialog_test_support.h"

namespace zorvik {
namespace {

TEST(SimResultDlg, ShowsTheSixValuesInTheirForms) {
  const SimResultValues values{.monthlyAfter = 85000,
                               .bonusAfter = 253397,
                               .monthlyBefore = 105249,
                               .bonusBefore = 0,
                               .loanAfter = 1234567,
                               .loanBefore = 0};
  CSimResultDlg dialog(values);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("シミュレーションの結果"));
  EXPECT_EQ(dialog.controlText(sim_ids::kMonthlyAfter), QStringLiteral("85,000円"));
  EXPECT_EQ(dialog.controlText(sim_ids::kBonusAfter), QStringLiteral("253,397円"));
  EXPECT_EQ(dialog.controlText(sim_ids::kMonthlyBefore), QStringLiteral("105,249円"));
  EXPECT_EQ(dialog.controlText(sim_ids::kBonusBefore), QStringLiteral("0円"));  // zero is shown
  EXPECT_EQ(dialog.controlText(sim_ids::kLoanAfter), QStringLiteral("1,234,567万"));
  EXPECT_EQ(dialog.controlText(sim_ids::kLoanBefore), QStringLiteral("0万"));
  EXPECT_EQ(dialog.controlText(sim_ids::kAfterCaption), QStringLiteral("【 変更後 】"));
  EXPECT_EQ(dialog.controlText(sim_ids::kOk), QStringLiteral("OK"));
  EXPECT_EQ(dialog.controlText(sim_ids::kCancel), QStringLiteral("元に戻す"));
  EXPECT_TRUE(static_cast<QPushButton*>(dialog.control(sim_ids::kOk))->isDefault());

  QStringList texts;
  for (QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
  for (const char* text : {"次のように月払い額、ボーナス払い額を調整しました。", "借 入 額", "月 払 い 額",
                           "ボーナス払い額", "【 現   在 】"}) {
    EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
  }
  EXPECT_EQ(texts.count(QStringLiteral("↓")), 3);
}

TEST(SimResultDlg, ColoursOfBeforeAfterAndTheAfterCaption) {
  CSimResultDlg dialog(SimResultValues{});
  for (int id : {sim_ids::kLoanAfter, sim_ids::kMonthlyAfter, sim_ids::kBonusAfter}) {
    EXPECT_EQ(dialog.control(id)->palette().color(QPalette::Window), QColor(255, 200, 200)) << id;
    EXPECT_EQ(dialog.control(id)->palette().color(QPalette::WindowText), QColor(Qt::black)) << id;
  }
  for (int id : {sim_ids::kLoanBefore, sim_ids::kMonthlyBefore, sim_ids::kBonusBefore}) {
    EXPECT_EQ(dialog.control(id)->palette().color(QPalette::Window), QColor(220, 220, 220)) << id;
  }
  const QPalette caption = dialog.control(sim_ids::kAfterCaption)->palette();
  EXPECT_EQ(caption.color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(caption.color(QPalette::Window), QColor(255, 0, 0));
}

TEST(SimResultDlg, OkAcceptsAndRestoreRejects) {
  {
    CSimResultDlg dialog(SimResultValues{});
    dialog.show();
    QTest::mouseClick(dialog.control(sim_ids::kOk), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  }
  {
    CSimResultDlg dialog(SimResultValues{});
    dialog.show();
    QTest::mouseClick(dialog.control(sim_ids::kCancel), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
  }
}

TEST(SimResultValues, TakenFromAnOutcome) {
  SimulationOutcome outcome;
  outcome.loanTotalBefore = 4000;
  outcome.loanTotal = 4100;
  outcome.monthlyTotalBefore = 120000;
  outcome.monthlyTotal = 85000;
  outcome.bonusTotalBefore = 200000;
  outcome.bonusTotal = 300000;
  const SimResultValues values = SimResultValues::From(outcome);
  EXPECT_EQ(values.loanBefore, 4000);
  EXPECT_EQ(values.loanAfter, 4100);
  EXPECT_EQ(values.monthlyBefore, 120000);
  EXPECT_EQ(values.monthlyAfter, 85000);
  EXPECT_EQ(values.bonusBefore, 200000);
  EXPECT_EQ(values.bonusAfter, 300000);
}

}  // namespace
}  // namespace zorvik
