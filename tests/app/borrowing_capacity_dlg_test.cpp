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
#include <vector>

#include "app/funding_plan_dlg.h"
#include "app/zorvik_app.h"
#include "core/control_ids.h"
#include "core/repayment.h"
#include "core/text_forms.h"
#include "tests/support/accessible_names.h"
#include "tests/support/private_settings.h"

namespace zorvik {
namespace {

QString U(const char* s) {
  return QString::fromUtf8(s);
}

// Answers every message box that opens, once it has been shown and its text painted, and keeps
// what the user saw: caption, text, the box's size and the size its text needs.
class MessageWatcher : public QObject {
 public:
  struct Seen {
    QString caption;
    QString text;
    QSize size;
    QSize textNeeds;
    bool textShown = false;
    bool textPainted = false;
  };

  MessageWatcher() { qApp->installEventFilter(this); }
  ~MessageWatcher() override { qApp->removeEventFilter(this); }

  std::vector<Seen> seen;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->objectName() == QStringLiteral("qt_msgbox_label")) {
      painted_ = true;
    } else if (auto* box = qobject_cast<QMessageBox*>(watched); box != nullptr && event->type() == QEvent::Show) {
      painted_ = false;
      Answer(box, 0);
    }
    return false;
  }

 private:
  // Lets the event loop run until the text is painted (a few rounds at most), then answers.
  void Answer(QMessageBox* box, int round) {
    QTimer::singleShot(0, box, [this, box, round] {
      if (!painted_ && round < 1000) {
        Answer(box, round + 1);
        return;
      }
      const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
      Seen s;
      s.caption = box->windowTitle();
      s.text = box->text();
      s.size = box->size();
      if (label != nullptr) {
        s.textNeeds = label->fontMetrics().size(0, label->text());
        s.textShown = label->isVisible() && box->rect().contains(QRect(label->mapTo(box, QPoint()), label->size())) &&
                      label->width() >= s.textNeeds.width() && label->height() >= s.textNeeds.height();
      }
      s.textPainted = painted_;
      seen.push_back(s);
      box->accept();
    });
  }

  bool painted_ = false;
};

class CapacityDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    KeepSettingsIn(dir_);
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
    QTest::keyClick(edit, Qt::Key_Delete);
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
    // The row as if typed, with the dialog's bonus portion (none): the payments, totals and ratio.
    EXPECT_EQ(view.QText(ids::kMethod[0]), U("元利均等"));
    EXPECT_EQ(view.QText(ids::kRate[0]), U("3.000％"));
    EXPECT_EQ(view.QText(ids::kPeriod[0]), U("35年"));
    EXPECT_EQ(view.QText(ids::kLoanAmount[0]), U("4,540万"));
    EXPECT_EQ(view.QText(ids::kBonusAmount[0]), QString());
    EXPECT_EQ(view.QText(ids::kMonthlyPayment[0]), U("174,721円"));
    EXPECT_EQ(view.QText(ids::kTotalLoan), U("4,540万"));
    EXPECT_EQ(view.QText(ids::kAnnualRepayment), U("2,096,652円"));
    EXPECT_EQ(view.QText(ids::kRepaymentRatio), U("34.94％"));
    EXPECT_EQ(form_->plan().rows[0].loanAmount, 4540);
    // The plan's part of the dialog follows, and the next blank row is row 1.
    EXPECT_EQ(dlg.controlText(capacity_ids::kPlanAnnual), U("2,096,652円"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kRequiredIncome), U("600万"));
    EXPECT_EQ(dlg.controlText(capacity_ids::kPlanNote),
              U("この計画の返済負担率は、上限の範囲内です。\n"
                "計画の欄は計画の各行の金利で、借入可能額は審査金利で計算しています。"));
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

// The row gets the bonus portion the dialog computed with, so it shows the payments the dialog
// showed; a portion above the answer is held to the answer, and the dialog says so.
TEST_F(CapacityDialogTest, ApplyPutsTheDialogsBonusPortionIntoTheRow) {
  struct Row {
    const char* income;
    const char* bonus;
    const char* loan;
    const char* monthly;
    const char* bonusPortion;  // as the row and the dialog then show it
    bool capped;
  };
  const Row rows[] = {
      {"500", "", "3,780万", "145,473円", "", false},  // not the 1,500万 the loan box would propose
      {"600", "1000", "4,540万", "136,236円", "1,000万", false},
      {"100", "5,000万", "640万", "", "640万", true},  // 30％ of 100万: repaid through the bonuses alone
  };
  QtFormView& view = form_->qtView();
  CBorrowingCapacityDlg dlg(*form_);
  dlg.show();
  for (size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    Retype(dlg, capacity_ids::kIncome, U(row.income));
    Retype(dlg, capacity_ids::kBonus, U(row.bonus));
    EXPECT_EQ(dlg.controlText(capacity_ids::kLoan), U(row.loan)) << i;
    EXPECT_EQ(dlg.controlText(capacity_ids::kMonthly), U(row.monthly)) << i;
    EXPECT_EQ(
        dlg.controlText(capacity_ids::kStatus).contains(U("内ボーナスが借入可能額を超えるため、借入可能額と同じ")),
        row.capped)
        << i;
    const QString perBonus = dlg.controlText(capacity_ids::kBonusPayment);
    ASSERT_EQ(dlg.FirstBlankRow(), static_cast<int>(i));
    QTest::mouseClick(static_cast<QPushButton*>(dlg.control(capacity_ids::kApply)), Qt::LeftButton);
    EXPECT_EQ(view.QText(ids::kLoanAmount[i]), U(row.loan)) << i;
    EXPECT_EQ(view.QText(ids::kBonusAmount[i]), U(row.bonusPortion)) << i;
    EXPECT_EQ(view.QText(ids::kMonthlyPayment[i]), U(row.monthly)) << i;
    EXPECT_EQ(view.QText(ids::kBonusPayment[i]), perBonus) << i;
  }
  EXPECT_EQ(view.QText(ids::kTotalMonthly), U("281,709円"));  // 145,473 + 136,236
}

// Every box by one rule: a refused text or value, letters included, shows the form's range
// message once the focus has left the box (not from inside the focus change), laid out and
// painted; the focus goes back into the box, which keeps what was typed.
TEST_F(CapacityDialogTest, RefusedTextIsReportedOnceTheBoxIsLeft) {
  struct Row {
    int id;
    const char* text;
    const char* caption;
    const char* good;
    const char* shown;
  };
  const Row rows[] = {
      {capacity_ids::kPeriod, "abc", "返済期間", "２５", "25年"},
      {capacity_ids::kPeriod, "51", "返済期間", "35", "35年"},
      {capacity_ids::kIncome, "6oo", "年収", "600", "600万"},
      {capacity_ids::kRatioLimit, "101", "返済負担率の上限", "35", "35.00％"},
      {capacity_ids::kRate, "3,5", "金利", "3", "3.000％"},
      {capacity_ids::kOtherRepayment, "x", "他の借入の年間返済額", "", ""},
      {capacity_ids::kBonus, "-10", "内ボーナス", "1,000", "1,000万"},
      {capacity_ids::kBonus, "99,999万", "内ボーナス", "81990", "81,990万"},
  };
  CBorrowingCapacityDlg dlg(*form_);
  dlg.show();
  MessageWatcher watcher;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    QApplication::setActiveWindow(&dlg);  // as the window system does when a message closes
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    watcher.seen.clear();
    Retype(dlg, row.id, U(row.text));
    EXPECT_EQ(dlg.controlText(capacity_ids::kLoan), QString());
    EXPECT_FALSE(dlg.controlText(capacity_ids::kStatus).isEmpty());
    QTest::keyClick(dlg.control(row.id), Qt::Key_Tab);
    EXPECT_TRUE(watcher.seen.empty()) << "shown from inside the focus change";
    QCoreApplication::processEvents();
    ASSERT_EQ(watcher.seen.size(), 1u);
    const MessageWatcher::Seen& seen = watcher.seen.front();
    EXPECT_EQ(seen.caption, U(row.caption));
    EXPECT_EQ(seen.text, U("入力値が不正です。"));
    EXPECT_TRUE(seen.textShown) << seen.size.width() << "x" << seen.size.height() << " for a text of "
                                << seen.textNeeds.width() << "x" << seen.textNeeds.height();
    EXPECT_TRUE(seen.textPainted);
    EXPECT_EQ(dlg.focusWidget(), dlg.control(row.id));
    EXPECT_EQ(dlg.controlText(row.id), U(row.text));

    QApplication::setActiveWindow(&dlg);
    Retype(dlg, row.id, U(row.good));
    // Enter moves on from a box, as on the form, and never closes the dialog.
    QTest::keyClick(dlg.control(row.id), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(watcher.seen.size(), 1u);
    EXPECT_EQ(dlg.controlText(row.id), U(row.shown));
    EXPECT_NE(dlg.focusWidget(), dlg.control(row.id));
    EXPECT_TRUE(dlg.isVisible());
  }
  // A portion as large as any loan is taken, and held to the answer.
  EXPECT_FALSE(dlg.controlText(capacity_ids::kLoan).isEmpty());
  EXPECT_TRUE(dlg.controlText(capacity_ids::kStatus).startsWith(U("内ボーナスが借入可能額を超えるため")));
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
