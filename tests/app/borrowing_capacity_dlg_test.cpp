// The borrowing-capacity dialog over the real main form, off-screen, with its settings in a
// temporary folder.
#include "app/borrowing_capacity_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/funding_plan_dlg.h"
#include "app/zorvik_app.h"
#include "core/control_ids.h"
#include "core/repayment.h"
#include "core/text_forms.h"
#include "tests/support/accessible_names.h"

namespace zorvik {
namespace {

QString U(const char* s) {
  return QString::fromUtf8(s);
}

class CapacityDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.filePath(QStringLiteral("settings")));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.filePath(QStringLiteral("settings")));
    app_.setProgramDirectory(dir_.path());
    form_ = std::make_unique<CFundingPlanDlg>(app_);
    form_->setSaveSettingsOnDestroy(false);
    form_->show();
  }

  // Replaces a box's text by typing, as the user does.
  static void Retype(CBorrowingCapacityDlg& dlg, int id, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(dlg.control(id));
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    // One key event per character, as an input method delivers text (full-width digits too).
    for (const QChar ch : text) QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
  }

  QTemporaryDir dir_;
  CZorvikApp app_;
  std::unique_ptr<CFundingPlanDlg> form_;
};

TEST_F(CapacityDialogTest, AnswerFollowsTypingAndIsPutIntoTheFirstBlankRow) {
  QtFormView& view = form_->qtView();
  view.SetText(ids::kAnnualIncome, "600");
  form_->Dispatch(ids::kAnnualIncome, FormNotification::KillFocus);

  // The tools menu sits between the file and help menus and opens the dialog.
  const QList<QAction*> menus = form_->menuBar()->actions();
  ASSERT_EQ(menus.size(), 3);
  EXPECT_EQ(menus[1]->text(), U("ツール(&T)"));
  EXPECT_EQ(menus[1]->menu()->actions().front()->text(), U("借入可能額(&B)..."));

  {
    CBorrowingCapacityDlg dlg(*form_);
    dlg.show();
    // Filled from the plan and the defaults.
    EXPECT_EQ(dlg.controlText(capacity_ids::kIncome), U("600万"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kRatioLimit), U("35.00％"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kRate), U("3.000％"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kPeriod), U("35年"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kMethod), U("元利均等"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kOtherRepayment), QString());
    // 4540万: 12 x 174,721 = 2,096,652 yen of the 2,100,000 that 35％ of 600万 allows.
    EXPECT_EQ(dlg.controlText(capacity_ids::kLoan), U("4,540万"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kMonthly), U("174,721円"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kRatio), U("34.94％"));
    const int currentCell = capacity_ids::kGridCell + 20 + 3;  // ±0, 35 years
    EXPECT_EQ(dlg.controlText(currentCell), U("4,540万"));
    EXPECT_TRUE(dlg.control(currentCell)->property("current").toBool());
    EXPECT_EQ(dlg.controlText(capacity_ids::kGridCell), U("3,450万"));  // 2.0％ over 20 years
    EXPECT_EQ(dlg.controlText(capacity_ids::kPlanNote), U("計画にはまだ返済額がありません。"));

    // Full-width digits, recomputed while typing; the limit follows the income's tier.
    Retype(dlg, capacity_ids::kIncome, U("５００"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kLoan), U("3,780万"));
    Retype(dlg, capacity_ids::kIncome, U("３９９"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kRatioLimit), U("30.00％"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kLoan), U("2,590万"));
    Retype(dlg, capacity_ids::kIncome, U("600"));
    Retype(dlg, capacity_ids::kRate, U("0"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kLoan), QString());
    EXPECT_FALSE(dlg.control(capacity_ids::kApply)->isEnabled());
    Retype(dlg, capacity_ids::kRate, U("3"));
    ASSERT_EQ(dlg.FirstBlankRow(), 0);
    ASSERT_TRUE(dlg.control(capacity_ids::kApply)->isEnabled());

    QTest::mouseClick(static_cast<QPushButton*>(dlg.control(capacity_ids::kApply)), Qt::LeftButton);
    // The row as if typed: the four-tenths bonus suggestion, the payments, totals and ratio.
    EXPECT_EQ(view.QText(ids::kMethod[0]), U("元利均等"));
    EXPECT_EQ(view.QText(ids::kRate[0]), U("3.000％"));
    EXPECT_EQ(view.QText(ids::kPeriod[0]), U("35年"));
    EXPECT_EQ(view.QText(ids::kLoanAmount[0]), U("4,540万"));
    EXPECT_EQ(view.QText(ids::kBonusAmount[0]), U("1,800万"));
    EXPECT_EQ(view.Text(ids::kMonthlyPayment[0]), FormatYen(CalcMonthlyPayment(4540, 1800, 1, 35, 3.0)));
    EXPECT_EQ(view.QText(ids::kTotalLoan), U("4,540万"));
    EXPECT_EQ(view.QText(ids::kAnnualRepayment), U("2,099,580円"));
    EXPECT_EQ(view.QText(ids::kRepaymentRatio), U("34.99％"));
    EXPECT_EQ(form_->plan().rows[0].loanAmount, 4540);
    // The plan's part of the dialog follows, and the next blank row is row 1.
    EXPECT_EQ(dlg.controlText(capacity_ids::kPlanAnnual), U("2,099,580円"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kRequiredIncome), U("600万"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kPlanNote), U("この計画の返済負担率は、上限の範囲内です。"));
    EXPECT_EQ(dlg.FirstBlankRow(), 1);

    Retype(dlg, capacity_ids::kRate, U("2.5"));
    dlg.reject();  // the screening rate is remembered
  }

  for (int row = 1; row < kLoanRowCount; ++row) view.SetText(ids::kLoanName[static_cast<size_t>(row)], "フラット35");
  CBorrowingCapacityDlg again(*form_);
  EXPECT_EQ(again.controlText(capacity_ids::kRate), U("2.500％"));
  EXPECT_EQ(again.FirstBlankRow(), -1);
  EXPECT_FALSE(again.control(capacity_ids::kApply)->isEnabled());
}

// Leaving a box with a refused value shows the form's range message and returns to the box; Enter
// moves on from a box and never closes the dialog.
TEST_F(CapacityDialogTest, RefusedValueIsReportedWhenTheBoxIsLeft) {
  CBorrowingCapacityDlg dlg(*form_);
  dlg.show();
  QApplication::setActiveWindow(&dlg);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
  QString caption;
  QString text;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      caption = box->windowTitle();
      text = box->text();
      box->accept();
    }
  });
  Retype(dlg, capacity_ids::kPeriod, U("51"));
  EXPECT_EQ(dlg.controlText(capacity_ids::kStatus), U("返済期間は1～50年で入力してください。"));
  QTest::keyClick(dlg.control(capacity_ids::kPeriod), Qt::Key_Return);
  EXPECT_EQ(caption, U("返済期間"));
  EXPECT_EQ(text, U("入力値が不正です。"));
  EXPECT_EQ(dlg.focusWidget(), dlg.control(capacity_ids::kPeriod));
  EXPECT_EQ(dlg.controlText(capacity_ids::kPeriod), U("51"));
  QApplication::setActiveWindow(&dlg);  // as the window system does when the message closes
  Retype(dlg, capacity_ids::kPeriod, U("２５"));
  QTest::keyClick(dlg.control(capacity_ids::kPeriod), Qt::Key_Return);
  EXPECT_EQ(dlg.controlText(capacity_ids::kPeriod), U("25年"));
  EXPECT_EQ(dlg.focusWidget(), dlg.control(capacity_ids::kMethod));
  EXPECT_TRUE(dlg.isVisible());
}

TEST_F(CapacityDialogTest, EveryControlHasTheNameOfItsCaption) {
  CBorrowingCapacityDlg dlg(*form_);
  dlg.show();
  QStringList names;
  EXPECT_EQ(UnnamedControls(&dlg, &names).join(QLatin1Char(' ')).toStdString(), "");
  EXPECT_EQ(names, QStringList({U("年収"), U("返済負担率の上限"), U("審査金利"), U("返済期間"), U("返済方法"),
                                U("他の借入の年間返済額"), U("内ボーナス"), U("計画に反映"), U("閉じる")}));
  // The answer keeps its value as its name and says what it is.
  EXPECT_EQ(dlg.control(capacity_ids::kLoan)->accessibleDescription(), U("借入可能額"));
}

}  // namespace
}  // namespace zorvik
