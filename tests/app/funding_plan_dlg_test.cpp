// Widget tests of the main plan form: the real dialog, driven with QTest key and mouse input,
// off-screen, with its settings and rate master in a temporary folder.
#include "app/funding_plan_dlg.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/app_icon.h"
#include "app/borrowing_capacity_dlg.h"
#include "app/form_colors.h"
#include "app/form_layout.h"
#include "app/form_screenshot.h"
#include "app/form_widgets.h"
#include "app/repayment_schedule_dlg.h"
#include "app/sys_menu_about_dlg.h"
#include "app/zorvik_app.h"
#include "core/control_ids.h"
#include "io/cp932.h"
#include "io/plan_file.h"
#include "simulation/desired_amount.h"
#include "simulation/dialogs/bonus_sim_dlg.h"
#include "simulation/dialogs/sim_dialog_ids.h"
#include "simulation/dialogs/sim_result_dlg.h"
#include "tests/support/accessible_names.h"
#include "tests/support/private_settings.h"

namespace zorvik {
namespace {

QString U(const char* s) {
  return QString::fromUtf8(s);
}

// The default products of the tests, CP932 on disk like the real file.
const char* const kMaster =
    "フラット35,1.940,\r\n"
    "民間固定10年,1.450,\r\n"
    "変動金利, 0.475 ,\r\n"
    "金利なし,\r\n";

// A message box the form opens, answered from the test.
struct SeenMessage {
  QString text;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QList<QAbstractButton*>::size_type buttonCount = 0;
};

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    KeepSettingsIn(dir_);
    WriteMaster(kMaster);
    app_.setProgramDirectory(dir_.path());
    Open();
  }

  void TearDown() override {
    if (messageTimer_ != nullptr) messageTimer_->stop();
    form_.reset();
  }

  void Open() {
    form_ = std::make_unique<CFundingPlanDlg>(app_);
    form_->show();
    QApplication::setActiveWindow(form_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  }

  void WriteMaster(const std::string& utf8) {
    QFile f(dir_.filePath(QStringLiteral("YushiMaster.txt")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const std::string bytes = Utf8ToCp932(utf8);
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }

  template <typename T = QWidget>
  T* W(int id) {
    T* w = qobject_cast<T*>(form_->control(id));
    EXPECT_NE(w, nullptr) << "control " << id;
    return w;
  }

  QString Text(int id) { return form_->qtView().QText(id); }

  QWidget* Focused() { return QApplication::focusWidget(); }
  int FocusedId() {
    QWidget* f = Focused();
    for (QWidget* w = f; w != nullptr; w = w->parentWidget()) {
      const int id = form_->qtView().IdOf(w);
      if (id != 0) return id;
    }
    return 0;
  }

  // Sends one key event per character, as an input method delivers text (also for characters
  // beyond the keyboard's keys).
  static void TypeText(QWidget* target, const QString& text) {
    for (const uint cp : text.toUcs4()) {
      const QString ch = QString::fromUcs4(reinterpret_cast<const char32_t*>(&cp), 1);
      QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, ch, Qt::NoModifier);
    }
  }

  // Clicks into a box (as the mouse does), replaces its text by typing, and leaves it with Tab.
  void Type(int id, const QString& text, bool leave = true) {
    QWidget* w = W(id);
    w->setFocus(Qt::MouseFocusReason);
    ASSERT_EQ(FocusedId(), id);
    QWidget* target = Focused();
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Delete);
    TypeText(target, text);
    if (leave) QTest::keyClick(target, Qt::Key_Tab);
  }

  // Picks list position `position` with the keyboard (Down from nothing selected, as a user does).
  void PickWithKeys(int id, int position) {
    auto* combo = W<QComboBox>(id);
    combo->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(Focused(), Qt::Key_Home);
    if (combo->currentIndex() < 0) QTest::keyClick(Focused(), Qt::Key_Down);
    while (combo->currentIndex() < position) QTest::keyClick(Focused(), Qt::Key_Down);
  }

  // Answers every message box the form opens with OK (or `answer`; NoButton presses Esc),
  // recording what it showed. Any other dialog is noted and closed.
  void AnswerMessages(QMessageBox::StandardButton answer = QMessageBox::Ok) {
    messageTimer_ = std::make_unique<QTimer>();
    messageTimer_->setInterval(5);
    QObject::connect(messageTimer_.get(), &QTimer::timeout, [this, answer] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* dialog = qobject_cast<QDialog*>(modal);
          dialog != nullptr && qobject_cast<QMessageBox*>(dialog) == nullptr && dialog->isVisible()) {
        otherDialogs_ << QString::fromLatin1(dialog->metaObject()->className());
        dialog->reject();
        return;
      }
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (box == nullptr || !box->isVisible()) return;
      messages_.push_back({box->text(), box->windowTitle(), box->icon(), box->buttons().size()});
      if (answer == QMessageBox::NoButton) {  // the user presses Esc
        QTest::keyClick(box, Qt::Key_Escape);
        return;
      }
      QAbstractButton* button = box->button(answer);
      if (button == nullptr) button = box->button(QMessageBox::Ok);
      if (button != nullptr) button->click();
    });
    messageTimer_->start();
  }

  // After a message box the window manager gives the form the focus back; the off-screen
  // platform needs to be told.
  void Reactivate() {
    QApplication::setActiveWindow(form_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  }

  QTemporaryDir dir_;
  CZorvikApp app_;
  std::unique_ptr<CFundingPlanDlg> form_;
  std::unique_ptr<QTimer> messageTimer_;
  std::vector<SeenMessage> messages_;
  QStringList otherDialogs_;
};

// ---- start-up -------------------------------------------------------------------------------

TEST_F(FormTest, OpensWithANewPlanAndTheNameSelected) {
  EXPECT_EQ(form_->windowTitle(), U("資金計画表 ： ゾルビク"));
  auto* name = W<QLineEdit>(ids::kCustomerName);
  EXPECT_EQ(name->text(), U("新 規"));
  EXPECT_EQ(name->selectedText(), U("新 規"));
  EXPECT_EQ(FocusedId(), ids::kCustomerName);
  const QDate today = QDate::currentDate();
  EXPECT_EQ(Text(ids::kYear), QString::number(today.year()));
  EXPECT_EQ(Text(ids::kMonth), QString::number(today.month()));
  EXPECT_EQ(Text(ids::kDay), QString::number(today.day()));
  EXPECT_EQ(form_->plan().createdYear, today.year());
  EXPECT_EQ(Text(ids::kLandLabel), U("土地価額"));
  EXPECT_EQ(Text(ids::kBuildingLabel), U("建物価額"));
  EXPECT_EQ(Text(ids::kTaxLabel), U("消費税"));
  EXPECT_EQ(Text(ids::kOtherCostLabel), QString());
  EXPECT_EQ(Text(ids::kFundsMinusLoansLabel), U("所要資金－借入額"));
  EXPECT_EQ(Text(ids::kMiscCostsLabel), U(" 諸費用 （概算）"));
  EXPECT_EQ(Text(ids::kOwnFundsLabel), U("自己資金必要額"));
  EXPECT_FALSE(form_->plan().HasUnsavedChanges());
  EXPECT_FALSE(form_->windowIcon().isNull());
}

TEST_F(FormTest, EveryNameListHoldsTheProductsAndNoSelection) {
  for (int id : ids::kLoanName) {
    auto* combo = W<QComboBox>(id);
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->itemText(0), U("フラット35"));
    EXPECT_EQ(combo->itemText(2), U("変動金利"));
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(combo->currentText(), QString());
  }
  for (int id : ids::kMethod) {
    auto* combo = W<QComboBox>(id);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), U("元利均等"));
    EXPECT_EQ(combo->itemText(1), U("元金均等"));
    EXPECT_EQ(combo->currentIndex(), -1);
  }
}

TEST_F(FormTest, MenuHoldsTheCommandsWithTheirSeparators) {
  const QList<QAction*> menus = form_->menuBar()->actions();
  ASSERT_EQ(menus.size(), 3);
  EXPECT_EQ(menus[0]->text(), U("ファイル(&F)"));
  EXPECT_EQ(menus[1]->text(), U("ツール(&T)"));
  EXPECT_EQ(menus[2]->text(), U("ヘルプ(&H)"));
  auto describe = [](QMenu* menu) {
    QStringList items;
    for (QAction* a : menu->actions()) {
      items << (a->isSeparator() ? QStringLiteral("-") : a->text() + QLatin1Char('=') + a->data().toString());
    }
    return items.join(QLatin1Char('|'));
  };
  EXPECT_EQ(
      describe(menus[0]->menu()),
      U("新規作成(&N)=32775|開く(&O)=32772|-|上書き保存(&S)=57603|名前をつけて保存(&A)=1001|PDFに保存(&P)...=32790|-|"
        "金利マスターのダウンロード=32776|-|終了(&X)=1"));
  EXPECT_EQ(describe(menus[1]->menu()),
            U("借入可能額(&B)...=32800|返済予定表(&R)...=32801|金利シナリオ(&V)...=32804|住宅ローン控除(&K)...=32806|"
              "月払いシミュレーション(&M)=32802|ボーナス払いシミュレーション(&O)=32803"));
  EXPECT_EQ(menus[0]->menu()->actions()[3]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
  EXPECT_EQ(describe(menus[2]->menu()), U("操作説明(&H)=57670|-|著作権情報=32780|バージョン情報=32779"));
  EXPECT_EQ(menus[2]->menu()->actions().value(0)->shortcut(), QKeySequence(Qt::Key_F1));
}

// The simulations are reached from the keyboard through the tools menu: each item opens the
// dialog a click on its yellow total opens. F1, wherever the focus is, opens the help page.
TEST_F(FormTest, ToolsMenuOpensTheSimulationsAndF1TheHelp) {
  PickWithKeys(ids::kMethod[0], 0);
  Type(ids::kRate[0], QStringLiteral("2.375"));
  Type(ids::kPeriod[0], QStringLiteral("35"));
  Type(ids::kLoanAmount[0], QStringLiteral("3000"));
  ASSERT_EQ(Text(ids::kTotalMonthly), U("63,149円"));
  QMenu* tools = form_->menuBar()->actions().value(1)->menu();
  ASSERT_NE(tools, nullptr);
  auto opened = [tools](int command) {
    QString shown;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&shown, &poll] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !dialog->isVisible()) return;
      poll.stop();
      shown = QString::fromLatin1(dialog->metaObject()->className()) + QLatin1Char(' ') + dialog->windowTitle();
      dialog->reject();
    });
    poll.start();
    for (QAction* action : tools->actions()) {
      if (action->data().toInt() == command) action->trigger();
    }
    return shown.toStdString();
  };
  const std::string monthly = opened(ids::kToolsMonthlySimulation);
  const std::string bonus = opened(ids::kToolsBonusSimulation);
  Reactivate();
  W(ids::kLoanAmount[0])->setFocus(Qt::MouseFocusReason);
  QString clicked;
  for (int total : {ids::kTotalMonthly, ids::kTotalBonus}) {
    QTimer::singleShot(0, [&clicked] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      clicked +=
          QString::fromLatin1(dialog->metaObject()->className()) + QLatin1Char(' ') + dialog->windowTitle() + '|';
      dialog->reject();
    });
    QTest::mouseClick(W(total), Qt::LeftButton);
  }
  EXPECT_EQ(clicked.toStdString(), monthly + "|" + bonus + "|");
  EXPECT_EQ(monthly.rfind("zorvik::CMonthlySimDlg ", 0), 0u) << monthly;
  EXPECT_EQ(bonus.rfind("zorvik::CBonusSimDlg ", 0), 0u) << bonus;

  // F1 in a box: the help page is looked for (here it is missing, so the user is told).
  Reactivate();
  app_.setDirectory(kInstallDirectory, dir_.path());
  app_.setDirectory(kHelpDirectory, QStringLiteral("?NoHelpHere"));
  W(ids::kAnnualIncome)->setFocus(Qt::MouseFocusReason);
  AnswerMessages();
  QTest::keyClick(Focused(), Qt::Key_F1);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].text.startsWith(U("操作説明のページが見つかりません。")));
}

// ---- the worked example --------------------------------------------------------------------

TEST_F(FormTest, TypingTheWorkedExampleGivesItsTexts) {
  PickWithKeys(ids::kMethod[0], 0);
  EXPECT_EQ(Text(ids::kMethod[0]), U("元利均等"));
  Type(ids::kRate[0], QStringLiteral("2.375"));
  EXPECT_EQ(Text(ids::kRate[0]), U("2.375％"));
  Type(ids::kPeriod[0], QStringLiteral("35"));
  EXPECT_EQ(Text(ids::kPeriod[0]), U("35年"));
  Type(ids::kLoanAmount[0], QStringLiteral("3000"));
  EXPECT_EQ(Text(ids::kLoanAmount[0]), U("3,000万"));
  EXPECT_EQ(Text(ids::kBonusAmount[0]), U("1,200万"));
  EXPECT_EQ(Text(ids::kMonthlyPayment[0]), U("63,149円"));
  EXPECT_EQ(Text(ids::kBonusPayment[0]), U("253,397円"));
  EXPECT_EQ(Text(ids::kTotalLoan), U("3,000万"));
  EXPECT_EQ(Text(ids::kTotalBonusAmount), U("1,200万"));
  EXPECT_EQ(Text(ids::kTotalMonthly), U("63,149円"));
  EXPECT_EQ(Text(ids::kTotalBonus), U("253,397円"));
  EXPECT_EQ(form_->plan().rows[0].loanAmount, 3000);
  EXPECT_TRUE(form_->plan().HasUnsavedChanges());

  // Leaving the bonus box with its text unchanged keeps everything as it is.
  Type(ids::kBonusAmount[0], QStringLiteral("1,200万"));
  EXPECT_EQ(Text(ids::kMonthlyPayment[0]), U("63,149円"));
}

TEST_F(FormTest, RequiredFundsAndIncomeAreShownWhenLeft) {
  Type(ids::kLandPrice, QStringLiteral("2500"));
  Type(ids::kBuildingPrice, QStringLiteral("1800"));
  Type(ids::kConsumptionTax, QStringLiteral("90"));
  Type(ids::kMiscCosts, QStringLiteral("200"));
  Type(ids::kLoanAmount[0], QStringLiteral("3000"));
  EXPECT_EQ(Text(ids::kLandPrice), U("2,500万"));
  EXPECT_EQ(Text(ids::kRequiredFundsTotal), U("4,390万"));
  EXPECT_EQ(Text(ids::kFundsMinusLoans), U("1,390万"));
  EXPECT_EQ(Text(ids::kOwnFundsNeeded), U("1,590万"));
  Type(ids::kAnnualIncome, QStringLiteral("800"));
  EXPECT_EQ(Text(ids::kAnnualIncome), U("800万"));
}

TEST_F(FormTest, BonusAboveTheLoanIsClampedSilently) {
  AnswerMessages();
  Type(ids::kLoanAmount[0], QStringLiteral("3000"));
  Type(ids::kBonusAmount[0], QStringLiteral("5000"));
  EXPECT_EQ(Text(ids::kBonusAmount[0]), U("3,000万"));
  QTest::qWait(20);
  EXPECT_TRUE(messages_.empty());
}

// ---- picking a product ----------------------------------------------------------------------

TEST_F(FormTest, PickingAProductFillsRateAndMethodAndRecomputes) {
  Type(ids::kPeriod[1], QStringLiteral("35"));
  Type(ids::kLoanAmount[1], QStringLiteral("3000"));
  EXPECT_EQ(Text(ids::kMonthlyPayment[1]), QString());  // no method, no rate yet
  PickWithKeys(ids::kLoanName[1], 0);
  EXPECT_EQ(Text(ids::kLoanName[1]), U("フラット35"));
  EXPECT_EQ(Text(ids::kRate[1]), U("1.940％"));
  EXPECT_EQ(Text(ids::kMethod[1]), U("元利均等"));
  EXPECT_EQ(form_->plan().rows[1].method, 1);
  EXPECT_DOUBLE_EQ(form_->plan().rows[1].ratePercent, 1.94);
  EXPECT_FALSE(Text(ids::kMonthlyPayment[1]).isEmpty());
  EXPECT_FALSE(Text(ids::kTotalMonthly).isEmpty());
  // The name is taken when the box is left.
  QTest::keyClick(Focused(), Qt::Key_Tab);
  EXPECT_EQ(form_->plan().rows[1].loanName, "フラット35");
}

// A saved row keeps its own rate: only a choice in the list copies the master's rate into it.
TEST_F(FormTest, TabEnterAndTypingThroughAProductNameKeepTheRowsRate) {
  FundingPlan saved;
  saved.ResetToNewPlan(PlanDate{2026, 12, 8});
  saved.customerName = "田中";
  LoanRow& row = saved.rows[0];
  row.loanName = "フラット35";  // at 1.940 % in the master
  row.method = 1;
  row.ratePercent = 1.5;
  row.periodYears = 35;
  row.loanAmount = 3000;
  row.monthlyPayment = 91855;
  const QString path = dir_.filePath(QStringLiteral("saved.zvk"));
  ASSERT_TRUE(WritePlanFile(saved, path.toStdString()));
  form_->OpenPlanFile(path);
  ASSERT_EQ(Text(ids::kRate[0]), U("1.500％"));
  auto* combo = W<QComboBox>(ids::kLoanName[0]);
  const auto unchanged = [&](const char* how) {
    EXPECT_EQ(Text(ids::kRate[0]), U("1.500％")) << how;
    EXPECT_EQ(Text(ids::kMonthlyPayment[0]), U("91,855円")) << how;
    EXPECT_DOUBLE_EQ(form_->plan().rows[0].ratePercent, 1.5) << how;
    EXPECT_FALSE(form_->plan().HasUnsavedChanges()) << how;
  };
  combo->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(Focused(), Qt::Key_Tab);
  unchanged("Tab");
  combo->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(Focused(), Qt::Key_Return);
  unchanged("Enter");
  combo->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(Focused(), Qt::Key_Enter, Qt::KeypadModifier);
  unchanged("keypad Enter");
  Type(ids::kLoanName[0], U("フラット35"));
  unchanged("typed");
  Type(ids::kLoanName[0], U("フラット35"), /*leave=*/false);
  QTest::keyClick(Focused(), Qt::Key_Return);
  unchanged("typed and Enter");

  // Chosen in the open list with the keys, the product brings its rate.
  combo->setFocus(Qt::MouseFocusReason);
  combo->showPopup();
  ASSERT_TRUE(combo->view()->isVisible());
  combo->view()->setCurrentIndex(combo->model()->index(1, 0));
  QTest::keyClick(combo->view(), Qt::Key_Up);
  QTest::keyClick(combo->view(), Qt::Key_Return);
  QTest::qWait(10);
  EXPECT_EQ(Text(ids::kLoanName[0]), U("フラット35"));
  EXPECT_EQ(Text(ids::kRate[0]), U("1.940％"));
  EXPECT_NE(Text(ids::kMonthlyPayment[0]), U("91,855円"));

  // And clicked in the open list.
  combo->showPopup();
  ASSERT_TRUE(combo->view()->isVisible());
  const QRect second = combo->view()->visualRect(combo->model()->index(1, 0));
  QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {}, second.center());
  QTest::qWait(10);
  EXPECT_EQ(Text(ids::kLoanName[0]), U("民間固定10年"));
  EXPECT_EQ(Text(ids::kRate[0]), U("1.450％"));
}

TEST_F(FormTest, TheWheelOverAClosedNameBoxChangesNothing) {
  Type(ids::kRate[0], QStringLiteral("1.5"));
  auto* combo = W<QComboBox>(ids::kLoanName[0]);
  QWheelEvent wheel(QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(combo, &wheel);
  EXPECT_EQ(combo->currentIndex(), -1);
  EXPECT_EQ(Text(ids::kRate[0]), U("1.500％"));
}

TEST_F(FormTest, ProductWithoutRateEmptiesTheRateBox) {
  Type(ids::kRate[0], QStringLiteral("2"));
  PickWithKeys(ids::kLoanName[0], 3);
  EXPECT_EQ(Text(ids::kLoanName[0]), U("金利なし"));
  EXPECT_EQ(Text(ids::kRate[0]), QString());
  EXPECT_EQ(form_->plan().rows[0].ratePercent, 0.0);
}

TEST_F(FormTest, AfterASkippedLineEveryProductIsListedAndKeepsItsOwnRate) {
  WriteMaster("一番,1.000,\n\n三番,3.000,\n四番,4.000,\n");
  form_->LoadRateMaster(form_->RateMasterPath());
  auto* combo = W<QComboBox>(ids::kLoanName[0]);
  ASSERT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->itemText(1), U("三番"));
  PickWithKeys(ids::kLoanName[0], 1);
  EXPECT_EQ(Text(ids::kRate[0]), U("3.000％"));
  PickWithKeys(ids::kLoanName[0], 2);
  EXPECT_EQ(Text(ids::kRate[0]), U("4.000％"));
}

TEST_F(FormTest, ReloadKeepsEveryShownNameAndDoesNotCountAsAPick) {
  Type(ids::kLoanName[2], U("手入力の融資"));
  Type(ids::kRate[2], QStringLiteral("1.5"));
  WriteMaster("別の商品,9.000,\n");
  form_->LoadRateMaster(form_->RateMasterPath());
  EXPECT_EQ(Text(ids::kLoanName[2]), U("手入力の融資"));
  EXPECT_EQ(Text(ids::kRate[2]), U("1.500％"));
  EXPECT_EQ(W<QComboBox>(ids::kLoanName[2])->count(), 1);
  EXPECT_EQ(form_->plan().rows[2].loanName, "手入力の融資");
}

TEST_F(FormTest, ALongNameShowsFromItsStartWithTheWholeNameAsTooltip) {
  const QString name = U("フラット35（全期間固定金利・返済期間21年以上35年以下）");
  WriteMaster(name.toStdString() + ",1.940,\n");
  form_->LoadRateMaster(form_->RateMasterPath());
  auto* combo = W<QComboBox>(ids::kLoanName[0]);
  PickWithKeys(ids::kLoanName[0], 0);
  EXPECT_EQ(combo->lineEdit()->cursorPosition(), 0);  // picked: shown from its start
  EXPECT_EQ(combo->toolTip(), name);
  QTest::keyClick(Focused(), Qt::Key_End);
  QTest::keyClick(Focused(), Qt::Key_Tab);
  EXPECT_EQ(combo->lineEdit()->cursorPosition(), 0);  // left: shown from its start again
  Type(ids::kLoanName[1], name);
  EXPECT_EQ(W<QComboBox>(ids::kLoanName[1])->lineEdit()->cursorPosition(), 0);
  EXPECT_EQ(W<QComboBox>(ids::kLoanName[1])->toolTip(), name);
}

TEST_F(FormTest, MissingMasterLeavesEmptyLists) {
  QFile::remove(dir_.filePath(QStringLiteral("YushiMaster.txt")));
  form_->LoadRateMaster(form_->RateMasterPath());
  EXPECT_EQ(W<QComboBox>(ids::kLoanName[0])->count(), 0);
}

// ---- the totals follow the loan rows ------------------------------------------------------------

// One step typed or picked on the form, then the texts it must show. `id` 0 with a text runs a
// per-bonus target with loans kept: click on the per-bonus total, the amount, 実行, OK.
struct TotalsStep {
  int id;
  const char* text;  // typed; for a name list the product's position
  std::vector<std::pair<int, const char*>> shown;
};
struct TotalsCase {
  const char* name;
  std::vector<TotalsStep> steps;
  friend void PrintTo(const TotalsCase& c, std::ostream* out) { *out << c.name; }
};

class TotalsTest : public FormTest, public ::testing::WithParamInterface<TotalsCase> {
 protected:
  void BonusTarget(const QString& amount) {
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (auto* input = qobject_cast<CBonusSimDlg*>(QApplication::activeModalWidget())) {
        input->desiredBox()->setText(amount);  // as leaving the box reads it
        input->work().desiredAmount = ParseDesiredAmount(amount.toStdString());
        QTimer::singleShot(0, static_cast<QAbstractButton*>(input->control(sim_ids::kOk)), &QAbstractButton::click);
      } else if (auto* result = qobject_cast<CSimResultDlg*>(QApplication::activeModalWidget())) {
        poll.stop();
        static_cast<QAbstractButton*>(result->control(sim_ids::kOk))->click();
      }
    });
    poll.start();
    QTest::mouseClick(W(ids::kTotalBonus), Qt::LeftButton);
    poll.stop();
  }
};

TEST_P(TotalsTest, WorkedCase) {
  WriteMaster("住宅ローン,2.375,\n固定10年,2.000,\n固定35年,3.500,\n");
  form_->LoadRateMaster(form_->RateMasterPath());
  for (const TotalsStep& step : GetParam().steps) {
    if (step.id == 0) {
      BonusTarget(U(step.text));
      Reactivate();
    } else if (ids::RowOf(ids::kLoanName, step.id) >= 0) {
      PickWithKeys(step.id, std::atoi(step.text));
    } else {
      Type(step.id, U(step.text));
    }
    for (const auto& [id, text] : step.shown) EXPECT_EQ(Text(id).toStdString(), text) << step.id << " " << step.text;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, TotalsTest,
                         ::testing::Values(
                             // Picking a product, then typing a rate, on the second loan moves the totals each time.
                             TotalsCase{"SecondLoanChangesRate",
                                        {{ids::kAnnualIncome, "600", {}},
                                         {ids::kLoanName[0], "0", {}},
                                         {ids::kPeriod[0], "35", {}},
                                         {ids::kLoanAmount[0], "3000", {}},
                                         {ids::kLoanName[1], "1", {}},
                                         {ids::kPeriod[1], "10", {}},
                                         {ids::kLoanAmount[1], "100", {{ids::kTotalMonthly, "72,350円"}}},
                                         {ids::kLoanName[1],
                                          "2",
                                          {{ids::kMonthlyPayment[1], "9,888円"},
                                           {ids::kTotalMonthly, "73,037円"},
                                           {ids::kAnnualRepayment, "1,383,238円"}}},
                                         {ids::kRate[1],
                                          "3.0",
                                          {{ids::kMonthlyPayment[1], "9,656円"},
                                           {ids::kTotalMonthly, "72,805円"},
                                           {ids::kTotalBonus, "253,397円"},
                                           {ids::kAnnualRepayment, "1,380,454円"},
                                           {ids::kRepaymentRatio, "23.01％"}}}}},
                             // A hand-typed bonus portion above the suggestion; the per-bonus target is reachable.
                             TotalsCase{"BonusTargetAfterTypedPortion",
                                        {{ids::kLoanName[0], "0", {}},
                                         {ids::kPeriod[0], "35", {}},
                                         {ids::kLoanAmount[0], "3000", {}},
                                         {ids::kBonusAmount[0], "2000", {{ids::kTotalBonus, "422,329円"}}},
                                         {0,
                                          "300000",
                                          {{ids::kTotalBonus, "295,630円"},
                                           {ids::kBonusAmount[0], "1,400万"},
                                           {ids::kTotalBonusAmount, "1,400万"}}}}}),
                         [](const auto& info) { return std::string(info.param.name); });

// The list that drops down shows every product name whole; the closed box keeps its width.
TEST_F(FormTest, DropDownListIsWideEnoughForTheLongestName) {
  WriteMaster(
      "フラット35（全期間固定）,1.940,\n"
      "フラット35（当初10年間固定）,1.450,\n"
      "短い,0.5,\n");
  auto* combo = W<QComboBox>(ids::kLoanName[0]);
  const int closedWidth = combo->width();
  form_->LoadRateMaster(form_->RateMasterPath());
  EXPECT_EQ(combo->width(), closedWidth);
  combo->showPopup();
  QAbstractItemView* view = combo->view();
  ASSERT_TRUE(view->isVisible());
  for (int i = 0; i < combo->count(); ++i) {
    const QRect item = view->visualRect(combo->model()->index(i, 0));
    EXPECT_GE(view->viewport()->width(), view->sizeHintForIndex(combo->model()->index(i, 0)).width()) << i;
    EXPECT_GE(item.width(), QFontMetrics(view->font()).horizontalAdvance(combo->itemText(i))) << i;
  }
  EXPECT_GT(view->width(), closedWidth) << "the names are wider than the box";
  combo->hidePopup();
  EXPECT_EQ(combo->width(), closedWidth);
}

// ---- which Qt events count --------------------------------------------------------------------

TEST_F(FormTest, ProgrammaticTextCountsAsATextChange) {
  form_->formView().SetText(ids::kCustomerName, "佐藤 花子");
  EXPECT_EQ(form_->plan().customerName, "佐藤 花子");
  form_->formView().SetText(ids::kMonth, "12");
  EXPECT_EQ(form_->plan().createdMonth, 12);
}

TEST_F(FormTest, ProgrammaticSelectionIsNotAUserChoice) {
  Type(ids::kRate[0], QStringLiteral("2.375"));
  Type(ids::kPeriod[0], QStringLiteral("35"));
  Type(ids::kLoanAmount[0], QStringLiteral("3000"));
  form_->formView().SetSelection(ids::kMethod[0], 0);
  EXPECT_EQ(form_->plan().rows[0].method, 0);
  EXPECT_EQ(Text(ids::kMonthlyPayment[0]), QString());
  form_->formView().SetSelection(ids::kLoanName[0], 1);
  EXPECT_EQ(Text(ids::kRate[0]), U("2.375％"));
}

TEST_F(FormTest, APopupDoesNotLeaveTheBox) {
  Type(ids::kLoanAmount[0], QStringLiteral("3000"), /*leave=*/false);
  QMenu menu(form_.get());
  menu.addAction(QStringLiteral("x"));
  menu.popup(form_->mapToGlobal(QPoint(10, 10)));
  QTest::qWait(20);
  menu.close();
  QTest::qWait(20);
  EXPECT_EQ(Text(ids::kLoanAmount[0]), QStringLiteral("3000"));
  EXPECT_EQ(Text(ids::kBonusAmount[0]), QString());
  QTest::keyClick(Focused(), Qt::Key_Tab);
  EXPECT_EQ(Text(ids::kBonusAmount[0]), U("1,200万"));
}

TEST_F(FormTest, TextTypedWithoutLeavingIsNotTakenYet) {
  Type(ids::kAnnualIncome, QStringLiteral("800"), /*leave=*/false);
  EXPECT_EQ(form_->plan().annualIncome, 0);
  QTest::keyClick(Focused(), Qt::Key_Tab);
  EXPECT_EQ(form_->plan().annualIncome, 800);
}

// ---- range errors -----------------------------------------------------------------------------

struct RangeCase {
  const char* name;
  int id;
  const char* typed;
  const char* caption;
};

class RangeErrorTest : public FormTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeErrorTest, ShowsTheMessageOnceAndPutsTheFocusBack) {
  const RangeCase& c = GetParam();
  AnswerMessages();
  Type(c.id, U(c.typed));
  QTest::qWait(30);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, U("入力値が不正です。"));
  EXPECT_EQ(messages_[0].caption, U(c.caption));
  EXPECT_EQ(messages_[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(messages_[0].buttonCount, 1);
  EXPECT_EQ(form_->qtView().IdOf(form_->focusWidget()), c.id);
  Reactivate();
  EXPECT_EQ(FocusedId(), c.id);
  QTest::qWait(20);
  EXPECT_EQ(messages_.size(), 1u);    // coming back into the window does not leave the box again
  EXPECT_EQ(Text(c.id), U(c.typed));  // left as typed
  EXPECT_EQ(Text(ids::kMonthlyPayment[0]), QString());
}

INSTANTIATE_TEST_SUITE_P(Fields, RangeErrorTest,
                         ::testing::Values(RangeCase{"rate", ids::kRate[0], "100", "金利"},
                                           RangeCase{"period", ids::kPeriod[0], "100", "返済期間"},
                                           RangeCase{"loan", ids::kLoanAmount[0], "82000", "借入額"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormTest, AcceptedBoundaryValuesShowNoMessage) {
  AnswerMessages();
  Type(ids::kRate[0], QStringLiteral("99.999"));
  Type(ids::kPeriod[0], QStringLiteral("99"));
  Type(ids::kLoanAmount[0], QStringLiteral("81999"));
  QTest::qWait(20);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Text(ids::kLoanAmount[0]), U("81,999万"));
}

TEST_F(FormTest, CorrectingTheValueAfterTheMessageGoesOn) {
  AnswerMessages();
  Type(ids::kLoanAmount[0], QStringLiteral("82000"));
  QTest::qWait(30);
  ASSERT_EQ(messages_.size(), 1u);
  Reactivate();
  Type(ids::kLoanAmount[0], QStringLiteral("3000"));
  EXPECT_EQ(Text(ids::kLoanAmount[0]), U("3,000万"));
  EXPECT_EQ(Text(ids::kBonusAmount[0]), U("1,200万"));
  EXPECT_EQ(messages_.size(), 1u);
}

// Each time the focus leaves a box holding a refused value, the same message comes again and
// the focus goes back, however the box was left.
TEST_F(FormTest, ARefusedValueIsRefusedAgainEachTimeTheBoxIsLeft) {
  AnswerMessages();
  Type(ids::kRate[0], QStringLiteral("150"));
  QTest::qWait(30);
  ASSERT_EQ(messages_.size(), 1u);
  for (int next : {ids::kPeriod[0], ids::kCustomerName, ids::kLoanAmount[3]}) {
    Reactivate();
    ASSERT_EQ(FocusedId(), ids::kRate[0]);
    W(next)->setFocus(Qt::MouseFocusReason);
    QTest::qWait(30);
    EXPECT_EQ(form_->qtView().IdOf(form_->focusWidget()), ids::kRate[0]) << next;
  }
  Reactivate();
  QTest::keyClick(Focused(), Qt::Key_Return);
  QTest::qWait(30);
  Reactivate();
  ASSERT_EQ(messages_.size(), 5u);
  for (const SeenMessage& m : messages_) {
    EXPECT_EQ(m.text, U("入力値が不正です。"));
    EXPECT_EQ(m.caption, U("金利"));
    EXPECT_EQ(m.icon, QMessageBox::NoIcon);
    EXPECT_EQ(m.buttonCount, 1);
  }
  EXPECT_EQ(FocusedId(), ids::kRate[0]);
  EXPECT_EQ(Text(ids::kRate[0]), QStringLiteral("150"));
}

// Two boxes holding refused values (one as read from a file): leaving one for the other gives
// one message and the focus back, never a message about the other box in return.
TEST_F(FormTest, TwoRefusedBoxesNeverHandTheFocusBackAndForth) {
  form_->qtView().SetQText(ids::kPeriod[0], U("120年"));
  AnswerMessages();
  Type(ids::kRate[0], QStringLiteral("150"), /*leave=*/false);
  W(ids::kPeriod[0])->setFocus(Qt::MouseFocusReason);
  for (int i = 0; i < 5; ++i) {
    QTest::qWait(20);
    Reactivate();
  }
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].caption, U("金利"));
  EXPECT_EQ(FocusedId(), ids::kRate[0]);
  // The user corrects the rate and goes on; the period is refused when it is left in turn.
  Type(ids::kRate[0], QStringLiteral("2"));
  EXPECT_EQ(FocusedId(), ids::kPeriod[0]);
  QTest::qWait(30);
  EXPECT_EQ(messages_.size(), 1u);
  QTest::keyClick(Focused(), Qt::Key_Tab);
  QTest::qWait(30);
  Reactivate();
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[1].caption, U("返済期間"));
  EXPECT_EQ(FocusedId(), ids::kPeriod[0]);
}

// While a box holds a refused value, nothing starts that would print, save or compute with it:
// the same message, the focus on that box, and no dialog of the command.
class RefusedValueCommandTest : public FormTest, public ::testing::WithParamInterface<int> {};

TEST_P(RefusedValueCommandTest, StopsTheCommand) {
  app_.setDirectory(kDataDirectory, dir_.path());
  Type(ids::kCustomerName, U("田中"));
  Type(ids::kPeriod[0], QStringLiteral("35"));
  Type(ids::kLoanAmount[0], QStringLiteral("3000"));
  form_->qtView().SetQText(ids::kLoanAmount[2], U("90,000万"));  // as a file may hold it
  W(ids::kCustomerName)->setFocus(Qt::MouseFocusReason);
  AnswerMessages();
  const int command = GetParam();
  if (command == ids::kPrint || command == ids::kTotalMonthly || command == ids::kTotalBonus) {
    QTest::mouseClick(W(command), Qt::LeftButton);
  } else {
    EXPECT_TRUE(form_->RunCommand(command));
  }
  QTest::qWait(30);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, U("入力値が不正です。"));
  EXPECT_EQ(messages_[0].caption, U("借入額"));
  EXPECT_TRUE(otherDialogs_.isEmpty()) << otherDialogs_.join(QLatin1Char(' ')).toStdString();
  Reactivate();
  EXPECT_EQ(FocusedId(), ids::kLoanAmount[2]);
  EXPECT_EQ(form_->findChild<QDialog*>(QString(), Qt::FindDirectChildrenOnly), nullptr);
  EXPECT_TRUE(QDir(dir_.path()).entryList({QStringLiteral("*.zvk"), QStringLiteral("*.pdf")}).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Commands, RefusedValueCommandTest,
                         ::testing::Values(ids::kPrint, kFileSavePdfCommand, ids::kFileSaveAs, ids::kFileSave,
                                           ids::kTotalMonthly, ids::kTotalBonus, kBorrowingCapacityCommand,
                                           kRepaymentScheduleCommand));

// ---- Enter key ---------------------------------------------------------------------------------

struct EnterCase {
  int from;
  int to;
};

class EnterKeyTest : public FormTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EnterKeyTest, MovesToTheNextControl) {
  const EnterCase c = GetParam();
  W(c.from)->setFocus(Qt::MouseFocusReason);
  ASSERT_EQ(FocusedId(), c.from);
  QTest::keyClick(Focused(), Qt::Key_Return);
  EXPECT_EQ(FocusedId(), c.to);
}

INSTANTIATE_TEST_SUITE_P(Listed, EnterKeyTest,
                         ::testing::Values(EnterCase{ids::kCustomerName, ids::kYear},
                                           EnterCase{ids::kYear, ids::kMonth}, EnterCase{ids::kDay, ids::kLandPrice},
                                           EnterCase{ids::kConsumptionTax, ids::kOtherCostLabel},
                                           EnterCase{ids::kOtherCostLabel, ids::kOtherCost},
                                           EnterCase{ids::kAnnualIncome, 1008}, EnterCase{1008, 1009},
                                           EnterCase{1009, 1044}, EnterCase{1044, 1054}, EnterCase{1054, 1064},
                                           EnterCase{1064, 1074}, EnterCase{1074, 1026}, EnterCase{1083, ids::kPrint},
                                           EnterCase{ids::kLandLabel, ids::kBuildingLabel},
                                           EnterCase{ids::kFundsMinusLoans, ids::kOwnFundsNeeded}));

TEST_F(FormTest, EnterWalksTheWholeInputOrder) {
  W(ids::kCustomerName)->setFocus(Qt::MouseFocusReason);
  std::vector<int> walked = {FocusedId()};
  for (int i = 0; i < 71; ++i) {
    QTest::keyClick(Focused(), Qt::Key_Return);
    walked.push_back(FocusedId());
  }
  const std::vector<int>& order = TabOrder();
  ASSERT_GE(order.size(), walked.size());
  EXPECT_EQ(walked, std::vector<int>(order.begin(), order.begin() + static_cast<long>(walked.size())));
  EXPECT_EQ(walked.back(), ids::kPrint);
}

TEST_F(FormTest, EnterOnPrintAndDeleteButtonsDoesNothing) {
  Type(ids::kLoanAmount[0], QStringLiteral("3000"));
  for (int id : {ids::kPrint, ids::kDeleteRow[0], ids::kDeleteRow[9]}) {
    W(id)->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(Focused(), Qt::Key_Return);
    QTest::keyClick(Focused(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(FocusedId(), id);
  }
  EXPECT_EQ(Text(ids::kLoanAmount[0]), U("3,000万"));  // row 0 was not deleted
  EXPECT_TRUE(form_->isVisible());
}

TEST_F(FormTest, DeleteButtonClickEmptiesItsRow) {
  Type(ids::kLoanAmount[0], QStringLiteral("3000"));
  Type(ids::kLoanAmount[1], QStringLiteral("1000"));
  QTest::mouseClick(W(ids::kDeleteRow[0]), Qt::LeftButton);
  EXPECT_EQ(Text(ids::kLoanAmount[0]), QString());
  EXPECT_EQ(Text(ids::kLoanAmount[1]), U("1,000万"));
  EXPECT_EQ(Text(ids::kTotalLoan), U("1,000万"));
}

// Without a printer (Linux), the message offers "PDFに保存", which opens the PDF save dialog
// exactly as the menu item does.
TEST_F(FormTest, PrintWithoutAPrinterOffersThePdf) {
  if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has a printer";
#ifdef Q_OS_WIN
  GTEST_SKIP() << "Windows keeps its own message";
#endif
  QStringList seen;
  QTimer timer;
  timer.setInterval(5);
  QObject::connect(&timer, &QTimer::timeout, [&seen] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal); box != nullptr && box->isVisible()) {
      seen << box->windowTitle() + "|" + box->text().section(QLatin1Char('\n'), 0, 0);
      for (QAbstractButton* button : box->buttons()) {
        if (button->text() == U("PDFに保存")) button->click();
      }
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog != nullptr && dialog->isVisible()) {
      seen << QStringLiteral("save dialog");
      dialog->reject();
    }
  });
  timer.start();
  QTest::mouseClick(W(ids::kPrint), Qt::LeftButton);
  timer.stop();
  EXPECT_EQ(seen,
            QStringList({U("ゾルビク|印刷に使えるプリンターが設定されていません。"), QStringLiteral("save dialog")}));
}

TEST_F(FormTest, EnterOnEndRunsTheExitCheck) {
  W(ids::kOk)->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(Focused(), Qt::Key_Return);
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(form_->result(), QDialog::Accepted);
}

TEST_F(FormTest, EscapeAndEnterOnEndAskAboutUnsavedChanges) {
  Type(ids::kAnnualIncome, QStringLiteral("800"));
  AnswerMessages(QMessageBox::Cancel);
  QTest::keyClick(Focused(), Qt::Key_Escape);
  QTest::qWait(20);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, U("資金計画表の変更を保存しますか？"));
  EXPECT_TRUE(form_->isVisible());  // cancelled: the form stays
  Reactivate();
  W(ids::kOk)->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(Focused(), Qt::Key_Return);
  QTest::qWait(20);
  EXPECT_EQ(messages_.size(), 2u);
  EXPECT_TRUE(form_->isVisible());
}

TEST_F(FormTest, CloseBoxAsksAndCancelKeepsTheForm) {
  Type(ids::kCustomerName, U("山田"));
  AnswerMessages(QMessageBox::Cancel);
  EXPECT_FALSE(form_->close());
  QTest::qWait(20);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].caption, U("ゾルビク"));
  EXPECT_TRUE(form_->isVisible());
}

TEST_F(FormTest, MenuEndOfAnUntouchedPlanClosesWithoutAQuestion) {
  AnswerMessages(QMessageBox::Cancel);
  EXPECT_TRUE(form_->RunCommand(ids::kOk));
  QTest::qWait(20);
  EXPECT_TRUE(messages_.empty());
  EXPECT_FALSE(form_->isVisible());
  EXPECT_FALSE(form_->RunCommand(12345));
}

TEST_F(FormTest, EscapeRunsTheExitCheck) {
  QTest::keyClick(Focused(), Qt::Key_Escape);
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(form_->result(), QDialog::Accepted);
}

// Before 新規作成 and 開く the question offers キャンセル; it and Esc stop the command.
TEST_F(FormTest, CancelOrEscapeOnTheSaveQuestionKeepsThePlan) {
  Type(ids::kCustomerName, U("山田"));
  Type(ids::kAnnualIncome, QStringLiteral("800"));
  for (QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::NoButton}) {
    for (int command : {ids::kFileNew, ids::kFileOpen}) {
      messages_.clear();
      AnswerMessages(answer);
      EXPECT_TRUE(form_->RunCommand(command));
      QTest::qWait(20);
      ASSERT_EQ(messages_.size(), 1u) << command;
      EXPECT_EQ(messages_[0].text, U("資金計画表の変更を保存しますか？"));
      EXPECT_EQ(messages_[0].buttonCount, 3);
      EXPECT_TRUE(otherDialogs_.isEmpty()) << command;
      EXPECT_EQ(Text(ids::kCustomerName), U("山田"));
      EXPECT_EQ(Text(ids::kAnnualIncome), U("800万"));
      EXPECT_TRUE(form_->plan().HasUnsavedChanges());
      Reactivate();
    }
  }
}

// A button clicked while leaving a box whose value is refused is not acted on: the refusal
// comes alone. A value typed and not yet left counts for the question before the end.
TEST_F(FormTest, TheRefusalComesAloneAndATypedValueCountsAtTheEnd) {
  Type(ids::kLoanAmount[0], QStringLiteral("3000"));
  AnswerMessages(QMessageBox::Cancel);
  for (int button : {ids::kOk, ids::kDeleteRow[0], ids::kPrint}) {
    Type(ids::kRate[0], QStringLiteral("150"), /*leave=*/false);
    QTest::mouseClick(W(button), Qt::LeftButton);
    QTest::qWait(30);
    Reactivate();
    ASSERT_EQ(messages_.size(), 1u) << button;
    EXPECT_EQ(messages_[0].caption, U("金利"));
    EXPECT_EQ(FocusedId(), ids::kRate[0]);
    messages_.clear();
  }
  EXPECT_TRUE(form_->isVisible());
  EXPECT_EQ(Text(ids::kLoanAmount[0]), U("3,000万"));  // not deleted

  Type(ids::kRate[0], QStringLiteral("2"));
  form_->plan().TakeBaseline();  // as if just saved
  Type(ids::kAnnualIncome, QStringLiteral("800"), /*leave=*/false);
  QTest::keyClick(Focused(), Qt::Key_Escape);
  QTest::qWait(20);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, U("資金計画表の変更を保存しますか？"));
  EXPECT_EQ(form_->plan().annualIncome, 800);
  EXPECT_TRUE(form_->isVisible());
}

// ---- whose plan: the title, 上書き保存 --------------------------------------------------------

// Ctrl+S on a plan without a file saves as 名前をつけて保存 does (accepting the proposed name
// saves into the data folder); on a plan with a file it writes there without any dialog. The
// title names the customer and marks unsaved changes.
TEST_F(FormTest, CtrlSSavesThePlanAndTheTitleFollows) {
  app_.setDirectory(kDataDirectory, dir_.path());
  EXPECT_EQ(form_->windowTitle(), U("資金計画表 ： ゾルビク"));
  Type(ids::kCustomerName, U("田中"));
  EXPECT_EQ(form_->windowTitle(), U("*田中様 - ゾルビク"));

  QStringList dialogs;
  QTimer answer;
  answer.setInterval(5);
  QObject::connect(&answer, &QTimer::timeout, [&dialogs] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    dialogs << dialog->directory().absolutePath() + QLatin1Char('|') + dialog->selectedFiles().value(0);
    static_cast<QDialog*>(dialog)->accept();  // the proposal as it stands
  });
  answer.start();
  W(ids::kAnnualIncome)->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(Focused(), Qt::Key_S, Qt::ControlModifier);
  Reactivate();
  const QString path = QDir(dir_.path()).filePath(U("田中.zvk"));
  ASSERT_EQ(dialogs.size(), 1);
  EXPECT_EQ(dialogs[0], QDir(dir_.path()).absolutePath() + QLatin1Char('|') + path);
  ASSERT_TRUE(QFile::exists(path));
  EXPECT_EQ(form_->PlanFilePath(), path);
  EXPECT_EQ(form_->windowTitle(), U("田中様 - ゾルビク"));

  // Typed and not yet left: the value the box shows is the one saved.
  Type(ids::kAnnualIncome, QStringLiteral("800"), /*leave=*/false);
  QTest::keyClick(Focused(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(FocusedId(), ids::kAnnualIncome);
  EXPECT_EQ(dialogs.size(), 1) << "no dialog for the plan's own file";
  EXPECT_EQ(form_->windowTitle(), U("田中様 - ゾルビク"));
  FundingPlan onDisk;
  ASSERT_TRUE(ReadPlanFile(onDisk, path.toStdString()));
  EXPECT_EQ(onDisk.annualIncome, 800);
  EXPECT_EQ(onDisk.customerName, "田中");

  // Without a customer name the file names the plan; a new plan has neither.
  Type(ids::kCustomerName, QString());
  EXPECT_EQ(form_->windowTitle(), U("*田中.zvk - ゾルビク"));
  AnswerMessages(QMessageBox::No);
  EXPECT_TRUE(form_->RunCommand(ids::kFileNew));
  Reactivate();
  EXPECT_EQ(form_->windowTitle(), U("資金計画表 ： ゾルビク"));
  EXPECT_EQ(form_->PlanFilePath(), QString());
  form_->OpenPlanFile(path);
  EXPECT_EQ(form_->windowTitle(), U("田中様 - ゾルビク"));
  EXPECT_EQ(Text(ids::kAnnualIncome), U("800万"));
}

// 名前をつけて保存 proposes the customer's name in the data folder; accepting it as it stands saves.
TEST_F(FormTest, AcceptingTheSaveAsProposalSaves) {
  app_.setDirectory(kDataDirectory, dir_.path());
  Type(ids::kCustomerName, U("佐藤/花子"));
  Type(ids::kLoanAmount[0], QStringLiteral("2500"));
  QTimer answer;
  answer.setInterval(5);
  QObject::connect(&answer, &QTimer::timeout, [] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog != nullptr && dialog->isVisible()) static_cast<QDialog*>(dialog)->accept();
  });
  answer.start();
  EXPECT_TRUE(form_->RunCommand(ids::kFileSaveAs));
  answer.stop();
  Reactivate();
  const QStringList saved = QDir(dir_.path()).entryList({QStringLiteral("*.zvk")});
  ASSERT_EQ(saved.size(), 1) << "the proposed name holds no folder";
  FundingPlan onDisk;
  ASSERT_TRUE(ReadPlanFile(onDisk, QDir(dir_.path()).filePath(saved[0]).toStdString()));
  EXPECT_EQ(onDisk.customerName, "佐藤/花子");
  EXPECT_EQ(onDisk.rows[0].loanAmount, 2500);
  EXPECT_FALSE(form_->plan().HasUnsavedChanges());
  EXPECT_EQ(form_->windowTitle(), U("佐藤/花子様 - ゾルビク"));
}

// ---- clicks ---------------------------------------------------------------------------------------

TEST_F(FormTest, YellowTotalsReportClicksAndGreyPaymentsDoNot) {
  auto* monthly = W<ClickableLabel>(ids::kTotalMonthly);
  auto* bonus = W<ClickableLabel>(ids::kTotalBonus);
  ASSERT_NE(monthly, nullptr);
  ASSERT_NE(bonus, nullptr);
  int clicks = 0;
  QObject::connect(monthly, &ClickableLabel::clicked, [&clicks] { ++clicks; });
  QObject::connect(bonus, &ClickableLabel::clicked, [&clicks] { clicks += 10; });
  QTest::mouseClick(monthly, Qt::LeftButton);
  QTest::mouseClick(bonus, Qt::LeftButton);
  EXPECT_EQ(clicks, 11);
  EXPECT_EQ(qobject_cast<ClickableLabel*>(form_->control(ids::kMonthlyPayment[0])), nullptr);
}

// ---- colours ---------------------------------------------------------------------------------------

struct ColorCase {
  int id;
  QColor box;
  QColor text;
};

class ColorTest : public FormTest, public ::testing::WithParamInterface<ColorCase> {};

TEST_P(ColorTest, ControlHasItsColours) {
  const ColorCase c = GetParam();
  QWidget* w = W(c.id);
  EXPECT_TRUE(w->autoFillBackground());
  EXPECT_EQ(w->palette().color(QPalette::Window), c.box) << c.id;
  EXPECT_EQ(w->palette().color(QPalette::WindowText), c.text) << c.id;
}

INSTANTIATE_TEST_SUITE_P(Sample, ColorTest,
                         ::testing::Values(ColorCase{ids::kCaptionName, QColor(200, 255, 200), Qt::black},
                                           ColorCase{ids::kCaptionTotals, QColor(200, 255, 200), Qt::black},
                                           ColorCase{ids::kCaptionRequiredFunds, QColor(200, 180, 255), Qt::black},
                                           ColorCase{ids::kCaptionBonus, QColor(200, 180, 255), Qt::black},
                                           ColorCase{ids::kCaptionRatio, QColor(255, 200, 200), Qt::black},
                                           ColorCase{ids::kCaptionLoanName, QColor(255, 230, 200), Qt::black},
                                           ColorCase{ids::kCaptionMethod, QColor(255, 200, 255), Qt::black},
                                           ColorCase{ids::kCaptionPeriod, QColor(200, 255, 255), Qt::black},
                                           ColorCase{ids::kMonthlyPayment[4], QColor(220, 220, 220), Qt::black},
                                           ColorCase{ids::kBonusPayment[9], QColor(220, 220, 220), Qt::black},
                                           ColorCase{ids::kLandLabel, QColor(220, 220, 220), Qt::black},
                                           ColorCase{ids::kRequiredFundsTotal, QColor(220, 220, 220), Qt::black},
                                           ColorCase{ids::kBonusRuleText, QColor(0, 0, 255), QColor(0, 0, 255)},
                                           ColorCase{ids::kLegendText, QColor(0, 0, 255), QColor(0, 0, 255)},
                                           ColorCase{ids::kTotalMonthly, QColor(255, 255, 0), Qt::black},
                                           ColorCase{ids::kTotalBonus, QColor(255, 255, 0), Qt::black},
                                           ColorCase{ids::kLegendSample, QColor(255, 255, 0), Qt::black}));

TEST_F(FormTest, InputsCaptionSamaAndButtonsKeepDefaultColours) {
  for (int id : {ids::kCustomerName, ids::kRate[0], ids::kLoanName[0], ids::kMethod[0], ids::kCaptionSama, ids::kPrint,
                 ids::kOk, ids::kDeleteRow[0], ids::kAnnualIncome}) {
    EXPECT_FALSE(ColorsForControl(id).has_value()) << id;
    EXPECT_FALSE(W(id)->autoFillBackground()) << id;
  }
}

TEST_F(FormTest, BlueTextsDrawOnTheFormsOwnBackground) {
  auto* note = W<NoteLabel>(ids::kBonusRuleText);
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->textBackground(), form_->palette().color(QPalette::Window));
}

// ---- layout: every text fits its box -----------------------------------------------------------

TEST_F(FormTest, EveryControlLiesInsideTheForm) {
  const QRect body = form_->control(ids::kCustomerName)->parentWidget()->rect();
  for (const ControlTemplate& t : FormTemplate()) {
    if (t.id == 0) continue;
    EXPECT_TRUE(body.contains(W(t.id)->geometry())) << t.id;
  }
}

TEST_F(FormTest, CaptionAndButtonTextsFitTheirBoxes) {
  for (const ControlTemplate& t : FormTemplate()) {
    if (t.id == 0 || std::string(t.text).empty()) continue;
    QWidget* w = W(t.id);
    const QFontMetrics fm(w->font());
    if (t.kind == ControlKind::Note) {
      auto* note = qobject_cast<NoteLabel*>(w);
      EXPECT_LE(note->lineCount() * fm.height(), w->height() + 1) << t.id;
      continue;
    }
    const QRect inner = w->contentsRect();
    EXPECT_LE(fm.horizontalAdvance(U(t.text).trimmed()), inner.width()) << t.id;
    EXPECT_LE(fm.ascent() + fm.descent(), inner.height() + 2) << t.id;
  }
}

TEST_F(FormTest, FormUsesAJapaneseFont) {
  const QFontInfo info(form_->font());
  const QFontMetrics fm(form_->font());
  EXPECT_TRUE(fm.inFontUcs4(U("資").toUcs4().front())) << info.family().toStdString();
}

// ---- CP932 --------------------------------------------------------------------------------------

TEST_F(FormTest, CharactersAPlanFileCannotHoldAreRefused) {
  Type(ids::kCustomerName, U("山田😀太郎"), /*leave=*/false);
  EXPECT_EQ(Text(ids::kCustomerName), U("山田太郎"));
  Type(ids::kLoanName[0], U("𠮷野ローン"), /*leave=*/false);
  EXPECT_EQ(Text(ids::kLoanName[0]), U("野ローン"));
  W<QLineEdit>(ids::kOtherCostLabel)->setText(U("外構😀工事"));
  EXPECT_EQ(Text(ids::kOtherCostLabel), U("外構工事"));
  EXPECT_EQ(form_->plan().otherCostLabel, "外構工事");
}

TEST_F(FormTest, PastedTextKeepsOnlyWhatAPlanFileCanHold) {
  QApplication::clipboard()->setText(U("田中😀様邸"));
  ASSERT_EQ(QApplication::clipboard()->text(), U("田中😀様邸"));
  W(ids::kCustomerName)->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(Focused(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(Focused(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(ids::kCustomerName), U("田中様邸"));
  EXPECT_EQ(form_->plan().customerName, "田中様邸");
}

// Characters input methods send under other code points than CP932's are kept as the CP932
// character of the same look, in the box, in the plan and in the file's bytes.
struct ImeCharRow {
  int id;
  const char* typed;
  const char* kept;
};

class ImeCharTest : public FormTest, public ::testing::WithParamInterface<ImeCharRow> {};

TEST_P(ImeCharTest, IsKeptAsItsCp932Equivalent) {
  const ImeCharRow& row = GetParam();
  Type(row.id, U(row.typed));
  EXPECT_EQ(Text(row.id), U(row.kept));
  EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(Text(row.id).toStdString())), row.kept) << "the file holds what was typed";
}

INSTANTIATE_TEST_SUITE_P(Rows, ImeCharTest,
                         ::testing::Values(ImeCharRow{ids::kCustomerName, "山田〜太郎", "山田～太郎"},
                                           ImeCharRow{ids::kCustomerName, "A−B‖C—D", "A－B∥C―D"},
                                           ImeCharRow{ids::kOtherCostLabel, "¢£¬費", "￠￡￢費"},
                                           ImeCharRow{ids::kLoanName[0], "ローン〜35", "ローン～35"}));

// ---- texts wider than their boxes ---------------------------------------------------------------

// A box never shows part of a number: too wide, it is drawn smaller, and "###" when even the
// smallest size does not hold it; a caption shows from its first character.
struct FitRow {
  int id;
  const char* text;
  const char* drawn;  // the text drawn
  bool smaller;       // drawn in a smaller font than the box's
  bool fromStart;     // a caption too wide even when small, drawn from its first character
};

class FitTest : public FormTest, public ::testing::WithParamInterface<FitRow> {};

TEST_P(FitTest, BoxDrawsTheWholeTextOrHashes) {
  const FitRow& row = GetParam();
  form_->qtView().SetQText(row.id, U(row.text));
  QWidget* w = W(row.id);
  FittedText fit;
  if (auto* edit = qobject_cast<FittingLineEdit*>(w)) {
    fit = edit->fittedText();
  } else {
    auto* label = qobject_cast<FittingLabel*>(w);
    ASSERT_NE(label, nullptr) << row.id;
    fit = label->fittedText();
  }
  EXPECT_EQ(fit.text, U(row.drawn)) << row.id;
  EXPECT_EQ(fit.font.pointSizeF() < w->font().pointSizeF(), row.smaller) << row.id;
  EXPECT_GE(fit.font.pointSizeF(), kMinimumFitPoints) << row.id;
  EXPECT_EQ(fit.fromStart, row.fromStart) << row.id;
  EXPECT_FALSE(w->grab().isNull());
}

INSTANTIATE_TEST_SUITE_P(Rows, FitTest,
                         ::testing::Values(FitRow{ids::kLandPrice, "3,000万", "3,000万", false, false},
                                           FitRow{ids::kLandPrice, "2,147,483,647万", "###", false, false},
                                           FitRow{ids::kLandPrice, "123,456万", "123,456万", true, false},
                                           FitRow{ids::kFundsMinusLoans, "-2,147,483,647万", "###", false, false},
                                           FitRow{ids::kTotalLoan, "2,147,483,647万", "###", false, false},
                                           FitRow{ids::kMonthlyPayment[0], "2,147,483,647円", "2,147,483,647円", true,
                                                  false},
                                           FitRow{ids::kTotalMonthly, "99,999,999,999,999円", "###", false, false},
                                           FitRow{ids::kLandPrice, "１２３４５６７８９０", "###", false, false},
                                           FitRow{ids::kOtherCostLabel, "外構工事費", "外構工事費", true, false},
                                           FitRow{ids::kOtherCostLabel, "外構工事費および地盤改良費",
                                                  "外構工事費および地盤改良費", true, true}));

// ---- settings ---------------------------------------------------------------------------------------

TEST_F(FormTest, SettingsAreWrittenWhenTheFormIsDestroyed) {
  app_.setDirectory(kDataDirectory, QStringLiteral("?Plans"));
  form_.reset();
  QSettings store(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Quorvane"),
                  QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
  EXPECT_EQ(store.value(QStringLiteral("FILES/DATA_DIRECTORY")).toString(), QStringLiteral("?Plans"));
  EXPECT_TRUE(store.fileName().startsWith(dir_.path())) << store.fileName().toStdString();
}

// ---- window deactivation, version box, screenshot ------------------------------------------------

TEST_F(FormTest, AnotherWindowTakingTheFocusDoesNotLeaveTheBox) {
  Type(ids::kLoanAmount[0], QStringLiteral("3000"), /*leave=*/false);
  QWidget other;
  other.show();
  QApplication::setActiveWindow(&other);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_EQ(Text(ids::kLoanAmount[0]), QStringLiteral("3000"));  // not taken yet
  Reactivate();
  EXPECT_EQ(FocusedId(), ids::kLoanAmount[0]);
  // The box was not entered again either: the typed change still re-suggests the bonus.
  QTest::keyClick(Focused(), Qt::Key_Tab);
  EXPECT_EQ(Text(ids::kBonusAmount[0]), U("1,200万"));
}

TEST_F(FormTest, ContextMenuOffersTheVersionBox) {
  QString menuItem;
  QString boxTitle;
  QString boxLine;
  QTimer timer;
  timer.setInterval(5);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      if (!menu->actions().isEmpty()) {
        menuItem = menu->actions().front()->text();
        menu->setActiveAction(menu->actions().front());
        QTest::keyClick(menu, Qt::Key_Return);
      }
      return;
    }
    if (auto* box = qobject_cast<CSysMenuAboutDlg*>(QApplication::activeModalWidget())) {
      boxTitle = box->windowTitle();
      if (auto* line = box->findChild<QLabel*>(QStringLiteral("version"))) boxLine = line->text();
      box->accept();
      timer.stop();
    }
  });
  timer.start();
  QWidget* caption = W(ids::kCaptionLoanName);
  const QPoint local = caption->rect().center();
  QContextMenuEvent event(QContextMenuEvent::Mouse, local, caption->mapToGlobal(local));
  QApplication::sendEvent(caption, &event);
  EXPECT_EQ(menuItem, U("Zorvik のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
  EXPECT_EQ(boxTitle, U("Zorvikのﾊﾞｰｼﾞｮﾝ情報"));
  EXPECT_EQ(boxLine, U("Zorvik Version 1.3"));
}

// ---- accessibility ------------------------------------------------------------------------------

TEST_F(FormTest, EveryControlHasTheNameReadBesideIt) {
  QStringList names;
  EXPECT_EQ(UnnamedControls(form_.get(), &names).join(QLatin1Char('\n')).toStdString(), "");
  // 69 text boxes (the name lists' edit fields among them), 20 drop-downs, 12 buttons.
  EXPECT_EQ(names.size(), 69 + 20 + 12);
  for (const char* name : {"氏名", "作成日 年", "年収", "諸費用", "1行目 返済方法", "1行目 金利", "10行目 内ボーナス",
                           "10行目 消去", "印刷", "終了"}) {
    EXPECT_EQ(names.count(U(name)), 1) << name;
  }
  // The edit field of a name list is read with the list's name.
  EXPECT_EQ(names.count(U("3行目 融資名")), 2);
  // A value keeps its value as its name and says what it is.
  EXPECT_EQ(W(ids::kTotalMonthly)->accessibleDescription(), U("合計 月払い"));
  EXPECT_EQ(W(ids::kMonthlyPayment[9])->accessibleDescription(), U("10行目 月払い"));
}

TEST(SysMenuAboutDlgTest, ShowsIconVersionAndOk) {
  CSysMenuAboutDlg box;
  EXPECT_EQ(box.windowTitle(), U("Zorvikのﾊﾞｰｼﾞｮﾝ情報"));
  EXPECT_FALSE(AppIcon().availableSizes().isEmpty());
  auto* icon = box.findChild<QLabel*>(QStringLiteral("icon"));
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->pixmap().isNull());
  auto* ok = box.findChild<QPushButton*>(QStringLiteral("ok"));
  ASSERT_NE(ok, nullptr);
  box.show();
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(FormScreenshotTest, WritesThePictureOfTheWholeForm) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath(QStringLiteral("settings")));
  const QString path = dir.filePath(QStringLiteral("docs/form.png"));
  ASSERT_TRUE(SaveFormScreenshot(path));
  const QImage image(path);
  ASSERT_FALSE(image.isNull());
  EXPECT_GT(image.width(), 500);
  EXPECT_GT(image.height(), 300);
  // No settings were written by the render.
  EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("settings"))));
}

}  // namespace
}  // namespace zorvik
