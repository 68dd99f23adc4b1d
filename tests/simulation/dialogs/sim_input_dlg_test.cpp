#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "core/text_forms.h"
#include "simulation/dialogs/bonus_sim_dlg.h"
#include "simulation/dialogs/monthly_sim_dlg.h"
#include "simulation/dialogs/sim_dialog_ids.h"
#include "simulation/dialogs/sim_result_dlg.h"
#include "tests/simulation/dialogs/sim_dialog_test_support.h"
#include "tests/support/accessible_names.h"

namespace zorvik {
namespace {

using simtest::ScriptedPrompter;

QString TextOf(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  return {};
}

class SimInputDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { plan = simtest::TwoRowPlan(); }

  // Shows the dialog and gives it the keyboard, as a modal run would.
  void Activate(QDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  }

  // Types `text` into the desired box and leaves it with Tab.
  void EnterAmount(CSimInputDlg& dialog, const QString& text) {
    dialog.desiredBox()->setFocus();
    dialog.desiredBox()->selectAll();
    // The test library types ASCII only; other characters arrive as an input method would.
    for (QChar c : text) {
      if (c.unicode() < 0x80) {
        QTest::keyClicks(dialog.desiredBox(), QString(c));
      } else {
        dialog.desiredBox()->insert(QString(c));
      }
    }
    QTest::keyClick(dialog.desiredBox(), Qt::Key_Tab);
  }

  FundingPlan plan;
  ScriptedPrompter prompter;
};

TEST_F(SimInputDlgTest, MonthlyDialogStartsWithItsTextsAndTheCurrentTotal) {
  CMonthlySimDlg dialog(MakeSimulationWork(plan), nullptr, &prompter);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("シミュレーション機能"));
  EXPECT_EQ(TextOf(dialog.control(sim_ids::kCurrentCaption)), QStringLiteral("現在の月払い額"));
  EXPECT_EQ(TextOf(dialog.control(sim_ids::kDesiredCaption)), QStringLiteral("希望する金額"));
  EXPECT_EQ(TextOf(dialog.control(sim_ids::kChangeLoansYes)), QStringLiteral("はい"));
  EXPECT_EQ(TextOf(dialog.control(sim_ids::kChangeLoansNo)), QStringLiteral("いいえ"));
  EXPECT_EQ(TextOf(dialog.control(sim_ids::kOk)), QStringLiteral("実  行"));
  EXPECT_EQ(TextOf(dialog.control(sim_ids::kCancel)), QStringLiteral("中  止"));
  EXPECT_EQ(dialog.currentBox()->text(), QString::fromStdString(FormatYen(plan.totalMonthly)));
  EXPECT_TRUE(dialog.currentBox()->isReadOnly());
  EXPECT_EQ(dialog.desiredBox()->text(), QString());
  EXPECT_EQ(dialog.work().keepLoanAmounts, 1);
  EXPECT_EQ(dialog.work().desiredAmount, 0.0);
  EXPECT_TRUE(static_cast<QRadioButton*>(dialog.control(sim_ids::kChangeLoansNo))->isChecked());
  EXPECT_FALSE(static_cast<QRadioButton*>(dialog.control(sim_ids::kChangeLoansYes))->isChecked());
  EXPECT_TRUE(static_cast<QPushButton*>(dialog.control(sim_ids::kOk))->isDefault());

  QStringList texts;
  for (QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(texts.contains(QStringLiteral("希望する金額を入力して下さい。")));
  EXPECT_TRUE(texts.contains(QStringLiteral("借入額を変更しますか？")));
}

TEST_F(SimInputDlgTest, BonusDialogShowsThePerBonusTotal) {
  CBonusSimDlg dialog(MakeSimulationWork(plan), nullptr, &prompter);
  EXPECT_EQ(TextOf(dialog.control(sim_ids::kCurrentCaption)), QStringLiteral("現在のボーナス払い額"));
  EXPECT_EQ(dialog.currentBox()->text(), QString::fromStdString(FormatYen(plan.totalBonus)));
}

TEST_F(SimInputDlgTest, CaptionsAndTheCurrentBoxHaveTheirColours) {
  CMonthlySimDlg dialog(MakeSimulationWork(plan), nullptr, &prompter);
  for (int id : {sim_ids::kCurrentCaption, sim_ids::kDesiredCaption}) {
    const QPalette palette = dialog.control(id)->palette();
    EXPECT_EQ(palette.color(QPalette::Window), QColor(200, 255, 200)) << id;
    EXPECT_EQ(palette.color(QPalette::WindowText), QColor(Qt::black)) << id;
    EXPECT_TRUE(dialog.control(id)->autoFillBackground()) << id;
  }
  const QPalette current = dialog.currentBox()->palette();
  EXPECT_EQ(current.color(QPalette::Base), QColor(220, 220, 220));
  EXPECT_EQ(current.color(QPalette::Text), QColor(Qt::black));
}

TEST_F(SimInputDlgTest, LeavingTheDesiredBoxReadsAndFormatsTheAmount) {
  CMonthlySimDlg dialog(MakeSimulationWork(plan), nullptr, &prompter);
  Activate(dialog);
  struct Case {
    QString typed;
    QString shown;
    double amount;
  };
  for (const Case& c : {Case{"85,000", "85,000円", 85000.0}, Case{"85000円", "85,000円", 85000.0},
                        Case{"1234567", "1,234,567円", 1234567.0}, Case{"abc", "0円", 0.0}}) {
    EnterAmount(dialog, c.typed);
    EXPECT_EQ(dialog.desiredBox()->text(), c.shown) << c.typed.toStdString();
    EXPECT_EQ(dialog.work().desiredAmount, c.amount) << c.typed.toStdString();
  }
  dialog.desiredBox()->setFocus();
  dialog.desiredBox()->clear();
  QTest::keyClick(dialog.desiredBox(), Qt::Key_Tab);
  EXPECT_EQ(dialog.desiredBox()->text(), QStringLiteral("0円"));
}

// A context menu or another window taking the focus for a while is not leaving the box: the
// amount stays as typed until the user moves on.
TEST_F(SimInputDlgTest, PopupOrAnotherWindowDoesNotReadTheAmount) {
  CMonthlySimDlg dialog(MakeSimulationWork(plan), nullptr, &prompter);
  Activate(dialog);
  QLineEdit* box = dialog.desiredBox();
  box->setFocus();
  QTest::keyClicks(box, QStringLiteral("85000"));
  for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
    QFocusEvent out(QEvent::FocusOut, reason);
    QApplication::sendEvent(box, &out);
    QFocusEvent in(QEvent::FocusIn, reason);
    QApplication::sendEvent(box, &in);
  }
  EXPECT_EQ(box->text(), QStringLiteral("85000"));
  EXPECT_EQ(dialog.work().desiredAmount, 0.0);
  QTest::keyClick(box, Qt::Key_Tab);
  EXPECT_EQ(box->text(), QStringLiteral("85,000円"));
  EXPECT_EQ(dialog.work().desiredAmount, 85000.0);
}

// A stale "0円" left by an empty run is replaced by what the user types, however the box is entered.
TEST_F(SimInputDlgTest, EnteringTheDesiredBoxSelectsItsText) {
  CMonthlySimDlg dialog(MakeSimulationWork(plan), nullptr, &prompter);
  Activate(dialog);
  for (const bool byMouse : {true, false}) {
    dialog.desiredBox()->setFocus();
    dialog.desiredBox()->clear();
    QTest::keyClick(dialog.desiredBox(), Qt::Key_Tab);
    ASSERT_EQ(dialog.desiredBox()->text(), QStringLiteral("0円"));
    if (byMouse) {
      QTest::mouseClick(dialog.desiredBox(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    } else {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    }
    ASSERT_TRUE(dialog.desiredBox()->hasFocus()) << byMouse;
    QTRY_COMPARE(dialog.desiredBox()->selectedText(), QStringLiteral("0円"));
    QTest::keyClicks(dialog.desiredBox(), QStringLiteral("232281"));
    QTest::keyClick(dialog.desiredBox(), Qt::Key_Tab);
    EXPECT_EQ(dialog.desiredBox()->text(), QStringLiteral("232,281円")) << byMouse;
    EXPECT_EQ(dialog.work().desiredAmount, 232281.0) << byMouse;
  }
}

TEST_F(SimInputDlgTest, TextLimitFollowsCommasAndTheYenSign) {
  CMonthlySimDlg dialog(MakeSimulationWork(plan), nullptr, &prompter);
  QLineEdit* box = dialog.desiredBox();
  box->setText(QStringLiteral("1,234,567円"));
  EXPECT_EQ(box->maxLength(), 14);
  box->setCursorPosition(0);
  QTest::keyClicks(box, QStringLiteral("99999"));
  EXPECT_EQ(box->text().size(), 14);
  box->setText(QStringLiteral("85000"));
  EXPECT_EQ(box->maxLength(), 10);
  QTest::keyClicks(box, QStringLiteral("123456789"));
  EXPECT_EQ(box->text(), QStringLiteral("8500012345"));
  // A text longer than its new limit stays as it is: 11 digits, 3 commas and "円" fit the limit
  // of 15; without "円" the limit is 13 and the 14 characters remain.
  box->clear();
  QTest::keyClicks(box, QStringLiteral("12,345,678,9"));
  box->insert(QStringLiteral("円"));
  box->setCursorPosition(box->text().size() - 1);
  QTest::keyClicks(box, QStringLiteral("01"));
  EXPECT_EQ(box->text(), QStringLiteral("12,345,678,901円"));
  box->end(false);
  QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_EQ(box->text(), QStringLiteral("12,345,678,901"));
  QTest::keyClicks(box, QStringLiteral("2"));
  EXPECT_EQ(box->text(), QStringLiteral("12,345,678,901"));
}

TEST_F(SimInputDlgTest, EnterInTheDesiredBoxMovesTheFocusOn) {
  CMonthlySimDlg dialog(MakeSimulationWork(plan), nullptr, &prompter);
  Activate(dialog);
  dialog.desiredBox()->setFocus();
  QTest::keyClicks(dialog.desiredBox(), QStringLiteral("85,000"));
  QTest::keyClick(dialog.desiredBox(), Qt::Key_Return);
  EXPECT_NE(QApplication::focusWidget(), dialog.desiredBox());
  EXPECT_EQ(dialog.work().desiredAmount, 85000.0);
  EXPECT_EQ(dialog.desiredBox()->text(), QStringLiteral("85,000円"));
  EXPECT_TRUE(prompter.results.empty());  // Enter there never runs the simulation
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(SimInputDlgTest, EnterOnRunStartsTheSimulationAndElsewhereDoesNothing) {
  CMonthlySimDlg dialog(MakeSimulationWork(plan), nullptr, &prompter);
  Activate(dialog);
  EnterAmount(dialog, QStringLiteral("85,000"));

  dialog.control(sim_ids::kChangeLoansNo)->setFocus();
  QTest::keyClick(dialog.control(sim_ids::kChangeLoansNo), Qt::Key_Return);
  EXPECT_TRUE(prompter.results.empty());
  EXPECT_TRUE(dialog.isVisible());

  prompter.accept = false;
  dialog.control(sim_ids::kOk)->setFocus();
  QTest::keyClick(dialog.control(sim_ids::kOk), Qt::Key_Enter);
  ASSERT_EQ(prompter.results.size(), 1u);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(SimInputDlgTest, RunWithoutAnAmountOrWithTheCurrentOneOnlyShowsAMessage) {
  CMonthlySimDlg dialog(MakeSimulationWork(plan), nullptr, &prompter);
  Activate(dialog);
  QTest::mouseClick(dialog.control(sim_ids::kOk), Qt::LeftButton);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].first, QStringLiteral("希望する金額を入力して下さい。"));
  EXPECT_EQ(prompter.messages[0].second, QStringLiteral("シミュレーションの実行"));
  EXPECT_TRUE(dialog.isVisible());

  EnterAmount(dialog, QString::number(plan.totalMonthly, 'f', 0));
  QTest::mouseClick(dialog.control(sim_ids::kOk), Qt::LeftButton);
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[1].first, QStringLiteral("現在の返済額と同じなので、変更されません。"));
  EXPECT_EQ(prompter.messages[1].second, QStringLiteral("シミュレーションの実行"));
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(prompter.results.empty());
}

TEST_F(SimInputDlgTest, RadioButtonsChooseWhetherLoansMayChange) {
  CMonthlySimDlg dialog(MakeSimulationWork(plan), nullptr, &prompter);
  Activate(dialog);
  QTest::mouseClick(dialog.control(sim_ids::kChangeLoansYes), Qt::LeftButton);
  EXPECT_EQ(dialog.work().keepLoanAmounts, 0);
  QTest::mouseClick(dialog.control(sim_ids::kChangeLoansNo), Qt::LeftButton);
  EXPECT_EQ(dialog.work().keepLoanAmounts, 1);
}

TEST_F(SimInputDlgTest, AcceptedResultFillsTheWorkAndEndsWithOk) {
  CMonthlySimDlg dialog(MakeSimulationWork(plan), nullptr, &prompter);
  Activate(dialog);
  QTest::mouseClick(dialog.control(sim_ids::kChangeLoansYes), Qt::LeftButton);
  EnterAmount(dialog, QStringLiteral("200,000"));
  QTest::mouseClick(dialog.control(sim_ids::kOk), Qt::LeftButton);
  ASSERT_EQ(prompter.results.size(), 1u);
  const SimulationOutcome& outcome = prompter.results[0];
  EXPECT_EQ(outcome.monthlyTotalBefore, plan.totalMonthly);
  EXPECT_EQ(outcome.loanTotalBefore, plan.totalLoan);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.work().resultMonthly, outcome.monthlyTotal);
  EXPECT_EQ(dialog.work().totalLoan, outcome.loanTotal);
  EXPECT_GT(dialog.work().totalLoan, plan.totalLoan);
  EXPECT_EQ(dialog.work().annualRepayment, 12 * outcome.monthlyTotal + 2 * outcome.bonusTotal);
}

TEST_F(SimInputDlgTest, BonusDialogRunsTheBonusTarget) {
  CBonusSimDlg dialog(MakeSimulationWork(plan), nullptr, &prompter);
  Activate(dialog);
  EnterAmount(dialog, QStringLiteral("100,000"));
  QTest::mouseClick(dialog.control(sim_ids::kOk), Qt::LeftButton);
  ASSERT_EQ(prompter.results.size(), 1u);
  EXPECT_EQ(prompter.results[0].bonusTotalBefore, plan.totalBonus);
  EXPECT_LT(prompter.results[0].bonusTotal, plan.totalBonus);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(SimInputDlgTest, CancelEndsWithoutRunning) {
  CMonthlySimDlg dialog(MakeSimulationWork(plan), nullptr, &prompter);
  Activate(dialog);
  QTest::mouseClick(dialog.control(sim_ids::kCancel), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_TRUE(prompter.results.empty());
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(SimInputDlgTest, EveryControlOfBothDialogsAndOfTheResultHasAName) {
  CMonthlySimDlg monthly(MakeSimulationWork(plan), nullptr, &prompter);
  CBonusSimDlg bonus(MakeSimulationWork(plan), nullptr, &prompter);
  CSimResultDlg result(SimResultValues{});
  for (QDialog* dialog : std::initializer_list<QDialog*>{&monthly, &bonus, &result}) {
    EXPECT_EQ(UnnamedControls(dialog).join(QLatin1Char(' ')).toStdString(), "") << dialog->windowTitle().toStdString();
  }
  QStringList names;
  UnnamedControls(&monthly, &names);
  EXPECT_TRUE(names.contains(QStringLiteral("現在の月払い額")));
  EXPECT_TRUE(names.contains(QStringLiteral("希望する金額")));
}

}  // namespace
}  // namespace zorvik
