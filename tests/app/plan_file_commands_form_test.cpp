// A plan typed on the real form survives save, new and open: every control shows again what
// it showed. The file commands run over the form's own plan and view; the file dialogs are
// answered from the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/funding_plan_dlg.h"
#include "app/plan_file_commands.h"
#include "app/zorvik_app.h"
#include "core/control_ids.h"
#include "io/cp932.h"
#include "tests/support/private_settings.h"

namespace zorvik {
namespace {

class DialogAnswers : public FileCommandUi {
 public:
  std::deque<std::optional<std::string>> paths;
  int questions = 0;

  std::optional<std::string> AskSavePath(const std::string&, const std::string&) override { return Next(); }
  std::optional<std::string> AskOpenPath(const std::string&, const std::string&) override { return Next(); }
  MessageAnswer Ask(const std::string& text, const std::string&, MessageButtons, MessageIcon, MessageOwner) override {
    ++questions;
    ADD_FAILURE() << "unexpected question: " << text;
    return MessageAnswer::Cancel;
  }

 private:
  std::optional<std::string> Next() {
    if (paths.empty()) return std::nullopt;
    auto p = paths.front();
    paths.pop_front();
    return p;
  }
};

class FileCommandsOnFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    KeepSettingsIn(dir_);
    QFile master(dir_.filePath("YushiMaster.txt"));
    ASSERT_TRUE(master.open(QIODevice::WriteOnly));
    master.write(QByteArray::fromStdString(Utf8ToCp932("フラット35,1.940,\r\n民間固定10年,1.450,\r\n")));
    master.close();
    app_.setProgramDirectory(dir_.path());

    form_ = std::make_unique<CFundingPlanDlg>(app_);
    form_->setSaveSettingsOnDestroy(false);
    form_->show();
    QApplication::setActiveWindow(form_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));

    FileCommandHooks hooks;
    hooks.dataFolder = [this] { return dir_.path().toStdString(); };
    hooks.today = [] {
      const QDate d = QDate::currentDate();
      return PlanDate{static_cast<uint16_t>(d.year()), static_cast<uint16_t>(d.month()),
                      static_cast<uint16_t>(d.day())};
    };
    hooks.reloadRateMaster = [this] { form_->LoadRateMaster(form_->RateMasterPath()); };
    hooks.closeForm = [] {};
    hooks.selectCustomerName = [this] {
      if (auto* name = qobject_cast<QLineEdit*>(form_->control(ids::kCustomerName))) name->selectAll();
    };
    commands_ = std::make_unique<PlanFileCommands>(form_->plan(), form_->formView(), ui_, hooks);
  }

  void TearDown() override {
    commands_.reset();
    form_.reset();
  }

  QWidget* Focused() { return QApplication::focusWidget(); }

  // Clicks into a box, replaces its text key by key, and leaves it with Tab.
  void Type(int id, const QString& text) {
    QWidget* w = form_->control(id);
    ASSERT_NE(w, nullptr) << id;
    w->setFocus(Qt::MouseFocusReason);
    QWidget* target = Focused();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Delete);
    for (const uint cp : text.toUcs4()) {
      const QString ch = QString::fromUcs4(reinterpret_cast<const char32_t*>(&cp), 1);
      QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, ch, Qt::NoModifier);
    }
    QTest::keyClick(target, Qt::Key_Tab);
  }

  // Chooses list position `position` with the keyboard, then leaves the list with Tab.
  void Pick(int id, int position) {
    auto* combo = qobject_cast<QComboBox*>(form_->control(id));
    ASSERT_NE(combo, nullptr) << id;
    combo->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(Focused(), Qt::Key_Home);
    if (combo->currentIndex() < 0) QTest::keyClick(Focused(), Qt::Key_Down);
    while (combo->currentIndex() < position) QTest::keyClick(Focused(), Qt::Key_Down);
    QTest::keyClick(Focused(), Qt::Key_Tab);
  }

  std::map<int, QString> Snapshot() {
    std::map<int, QString> s;
    for (int id : {ids::kCustomerName,
                   ids::kYear,
                   ids::kMonth,
                   ids::kDay,
                   ids::kLandLabel,
                   ids::kBuildingLabel,
                   ids::kTaxLabel,
                   ids::kOtherCostLabel,
                   ids::kLandPrice,
                   ids::kBuildingPrice,
                   ids::kConsumptionTax,
                   ids::kOtherCost,
                   ids::kFundsMinusLoansLabel,
                   ids::kMiscCostsLabel,
                   ids::kOwnFundsLabel,
                   ids::kFundsMinusLoans,
                   ids::kMiscCosts,
                   ids::kOwnFundsNeeded,
                   ids::kAnnualIncome,
                   ids::kRequiredFundsTotal,
                   ids::kTotalLoan,
                   ids::kTotalBonusAmount,
                   ids::kTotalMonthly,
                   ids::kTotalBonus,
                   ids::kAnnualRepayment,
                   ids::kRepaymentRatio}) {
      s[id] = form_->qtView().QText(id);
    }
    for (const ids::RowIds* column : {&ids::kLoanName, &ids::kMethod, &ids::kRate, &ids::kPeriod, &ids::kLoanAmount,
                                      &ids::kBonusAmount, &ids::kMonthlyPayment, &ids::kBonusPayment}) {
      for (int id : *column) s[id] = form_->qtView().QText(id);
    }
    for (int id : ids::kMethod) s[-id] = QString::number(form_->formView().Selection(id));
    return s;
  }

  QTemporaryDir dir_;
  CZorvikApp app_;
  std::unique_ptr<CFundingPlanDlg> form_;
  DialogAnswers ui_;
  std::unique_ptr<PlanFileCommands> commands_;
};

TEST_F(FileCommandsOnFormTest, TypedPlanSurvivesSaveNewAndOpen) {
  Type(ids::kCustomerName, QString::fromUtf8("山田 太郎"));
  Type(ids::kMonth, "4");
  Type(ids::kDay, "1");
  Type(ids::kOtherCostLabel, QString::fromUtf8("外構工事"));
  Type(ids::kLandPrice, "2500");
  Type(ids::kBuildingPrice, "1800");
  Type(ids::kConsumptionTax, "90");
  Type(ids::kOtherCost, "300");
  Type(ids::kMiscCosts, "200");
  Type(ids::kAnnualIncome, "800");
  Pick(ids::kLoanName[0], 0);
  Type(ids::kPeriod[0], "35");
  Type(ids::kLoanAmount[0], "3000");
  Type(ids::kLoanName[1], QString::fromUtf8("親族からの借入"));
  Pick(ids::kMethod[1], 1);
  Type(ids::kRate[1], "0.475");
  Type(ids::kPeriod[1], "20");
  Type(ids::kLoanAmount[1], "2500");
  Type(ids::kBonusAmount[1], "500");
  Type(ids::kLoanAmount[3], "125");

  const auto typed = Snapshot();
  ASSERT_EQ(typed.at(ids::kCustomerName), QString::fromUtf8("山田 太郎"));
  ASSERT_EQ(typed.at(ids::kLoanName[0]), QString::fromUtf8("フラット35"));
  ASSERT_EQ(typed.at(ids::kRate[0]), QString::fromUtf8("1.940％"));
  ASSERT_FALSE(typed.at(ids::kMonthlyPayment[0]).isEmpty());
  ASSERT_FALSE(typed.at(ids::kRepaymentRatio).isEmpty());
  ASSERT_EQ(typed.at(ids::kFundsMinusLoans), QString::fromUtf8("-935万"));
  ASSERT_TRUE(commands_->HasUnsavedChanges());
  const PlanInputs inputs = form_->plan().Inputs();

  const std::string path = dir_.filePath("round.zvk").toStdString();
  ui_.paths = {path};
  commands_->OnFileSaveAs();
  ASSERT_FALSE(commands_->HasUnsavedChanges());

  commands_->OnFileNew();
  EXPECT_EQ(form_->qtView().QText(ids::kCustomerName), QString::fromUtf8("新 規"));
  EXPECT_EQ(form_->qtView().QText(ids::kLoanAmount[0]), QString());
  EXPECT_EQ(form_->qtView().QText(ids::kTotalMonthly), QString());
  EXPECT_FALSE(commands_->HasUnsavedChanges());
  auto* name = qobject_cast<QLineEdit*>(form_->control(ids::kCustomerName));
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->selectedText(), QString::fromUtf8("新 規"));
  auto* list = qobject_cast<QComboBox*>(form_->control(ids::kLoanName[0]));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count(), 2);

  ui_.paths = {path};
  commands_->OnFileOpen();
  EXPECT_EQ(Snapshot(), typed);
  EXPECT_EQ(form_->plan().Inputs(), inputs);
  EXPECT_FALSE(commands_->HasUnsavedChanges());
  EXPECT_EQ(ui_.questions, 0);
}

}  // namespace
}  // namespace zorvik
