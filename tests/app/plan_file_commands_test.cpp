#include "app/plan_file_commands.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <deque>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/control_ids.h"
#include "core/memory_form_view.h"
#include "core/plan_recalc.h"
#include "io/plan_file.h"

namespace zorvik {
namespace {

struct AskedMessage {
  std::string text;
  std::string caption;
  MessageButtons buttons;
  MessageIcon icon;
  MessageOwner owner;
};

// Answers the dialogs from scripts and records what was asked. A dialog or question without
// a scripted answer fails the test and is answered with "cancel".
class ScriptedUi : public FileCommandUi {
 public:
  std::deque<std::optional<std::string>> savePaths;
  std::deque<std::optional<std::string>> openPaths;
  std::deque<MessageAnswer> answers;

  std::vector<std::pair<std::string, std::string>> saveDialogs;  // (folder, proposed name)
  std::vector<std::pair<std::string, std::string>> openDialogs;
  std::vector<AskedMessage> messages;

  std::optional<std::string> AskSavePath(const std::string& folder, const std::string& name) override {
    saveDialogs.emplace_back(folder, name);
    return Next(savePaths, "save dialog");
  }
  std::optional<std::string> AskOpenPath(const std::string& folder, const std::string& name) override {
    openDialogs.emplace_back(folder, name);
    return Next(openPaths, "open dialog");
  }
  MessageAnswer Ask(const std::string& text, const std::string& caption, MessageButtons buttons, MessageIcon icon,
                    MessageOwner owner) override {
    messages.push_back({text, caption, buttons, icon, owner});
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected message: " << text;
      return MessageAnswer::Cancel;
    }
    const MessageAnswer a = answers.front();
    answers.pop_front();
    return a;
  }

  void ExpectAllUsed() const {
    EXPECT_TRUE(savePaths.empty()) << "save dialog answers left";
    EXPECT_TRUE(openPaths.empty()) << "open dialog answers left";
    EXPECT_TRUE(answers.empty()) << "message answers left";
  }

 private:
  static std::optional<std::string> Next(std::deque<std::optional<std::string>>& q, const char* what) {
    if (q.empty()) {
      ADD_FAILURE() << "unexpected " << what;
      return std::nullopt;
    }
    std::optional<std::string> a = q.front();
    q.pop_front();
    return a;
  }
};

constexpr PlanDate kToday{2026, 12, 8};
const std::vector<std::string> kProducts = {"フラット35（全期間固定）", "民間変動金利", "財形住宅融資"};

std::string ReadAll(const std::string& path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return "<unreadable>";
  return f.readAll().toStdString();
}

class PlanFileCommandsTest : public ::testing::Test {
 protected:
  PlanFileCommandsTest() : recalc(plan, view), commands(plan, view, ui, Hooks()) {
    // The form as it opens: a new plan shown in every box.
    commands.OnFileNew();
    reloads = 0;
    nameSelections = 0;
  }

  FileCommandHooks Hooks() {
    FileCommandHooks h;
    h.dataFolder = [this] { return dir.path().toStdString(); };
    h.today = [] { return kToday; };
    h.reloadRateMaster = [this] {
      ++reloads;
      ReloadLists();
    };
    h.closeForm = [this] { ++closes; };
    h.selectCustomerName = [this] { ++nameSelections; };
    return h;
  }

  void ReloadLists() {
    for (int id : ids::kLoanName) {
      const std::string shown = view.Text(id);
      view.SetListItems(id, kProducts, true);
      view.SetText(id, shown);
    }
  }

  std::string PathOf(const char* name) const { return dir.filePath(name).toStdString(); }

  // Typing into a box and leaving it, as the form reports it to the recalculation.
  void TypeName(const std::string& text) {
    view.SetText(ids::kCustomerName, text);
    recalc.OnCustomerNameChanged();
  }
  void TypeDate(int id, const std::string& text) {
    view.SetText(id, text);
    recalc.OnDateChanged(id);
  }
  void TypeOtherCostLabel(const std::string& text) {
    view.SetText(ids::kOtherCostLabel, text);
    recalc.OnOtherCostLabelChanged();
  }
  void TypeRequiredFunds(int id, const std::string& text) {
    view.SetText(id, text);
    recalc.OnRequiredFundsKillFocus(id);
  }
  void TypeMiscCosts(const std::string& text) {
    view.SetText(ids::kMiscCosts, text);
    recalc.OnMiscCostsKillFocus();
  }
  void TypeIncome(const std::string& text) {
    view.SetText(ids::kAnnualIncome, text);
    recalc.OnAnnualIncomeKillFocus();
  }
  void PickProduct(int row, int position, double rate) {
    view.SetSelection(ids::kLoanName[static_cast<size_t>(row)], position);
    recalc.OnLoanProductChosen(row, rate);
    recalc.OnLoanNameKillFocus(row);
  }
  void TypeLoanName(int row, const std::string& text) {
    view.SetText(ids::kLoanName[static_cast<size_t>(row)], text);
    recalc.OnLoanNameKillFocus(row);
  }
  void ChooseMethod(int row, int position) {
    view.SetSelection(ids::kMethod[static_cast<size_t>(row)], position);
    recalc.OnMethodChosen(row);
  }
  void TypeRate(int row, const std::string& text) {
    recalc.OnRateSetFocus(row);
    view.SetText(ids::kRate[static_cast<size_t>(row)], text);
    recalc.OnRateKillFocus(row);
  }
  void TypePeriod(int row, const std::string& text) {
    recalc.OnPeriodSetFocus(row);
    view.SetText(ids::kPeriod[static_cast<size_t>(row)], text);
    recalc.OnPeriodKillFocus(row);
  }
  void TypeLoan(int row, const std::string& text) {
    recalc.OnLoanAmountSetFocus(row);
    view.SetText(ids::kLoanAmount[static_cast<size_t>(row)], text);
    recalc.OnLoanAmountTextChanged(row);
    recalc.OnLoanAmountKillFocus(row);
  }
  void TypeBonus(int row, const std::string& text) {
    recalc.OnBonusAmountSetFocus(row);
    view.SetText(ids::kBonusAmount[static_cast<size_t>(row)], text);
    recalc.OnBonusAmountKillFocus(row);
  }

  // A plan typed on the form, with every kind of field.
  void TypeFullPlan() {
    TypeName("山田 太郎");
    TypeDate(ids::kYear, "2026");
    TypeDate(ids::kMonth, "4");
    TypeDate(ids::kDay, "1");
    TypeOtherCostLabel("外構工事");
    TypeRequiredFunds(ids::kLandPrice, "2500");
    TypeRequiredFunds(ids::kBuildingPrice, "1800");
    TypeRequiredFunds(ids::kConsumptionTax, "90");
    TypeRequiredFunds(ids::kOtherCost, "300");
    TypeMiscCosts("200");
    TypeIncome("800");
    PickProduct(0, 0, 1.94);
    TypePeriod(0, "35");
    TypeLoan(0, "3000");
    TypeLoanName(1, "親族,借入");  // typed by hand, with a comma
    ChooseMethod(1, 1);
    TypeRate(1, "0.475");
    TypePeriod(1, "20");
    TypeLoan(1, "2500");
    TypeBonus(1, "0");
    TypeLoan(3, "125");  // an amount without name, rate or period
  }

  // Every control the plan is shown in: texts, and the method lists' selections.
  std::map<int, std::string> Snapshot() const {
    std::map<int, std::string> s;
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
      s[id] = view.Text(id);
    }
    for (const ids::RowIds* column : {&ids::kLoanName, &ids::kMethod, &ids::kRate, &ids::kPeriod, &ids::kLoanAmount,
                                      &ids::kBonusAmount, &ids::kMonthlyPayment, &ids::kBonusPayment}) {
      for (int id : *column) s[id] = view.Text(id);
    }
    for (int id : ids::kMethod) s[-id] = std::to_string(view.Selection(id));
    return s;
  }

  QTemporaryDir dir;
  FundingPlan plan;
  MemoryFormView view;
  PlanRecalculator recalc;
  ScriptedUi ui;
  PlanFileCommands commands;
  int reloads = 0;
  int closes = 0;
  int nameSelections = 0;
};

// ---- nothing to ask ------------------------------------------------------------------------------

TEST_F(PlanFileCommandsTest, UntouchedNewPlanAsksNothing) {
  EXPECT_FALSE(commands.HasUnsavedChanges());
  commands.OnFileNew();
  ui.openPaths = {std::nullopt};
  commands.OnFileOpen();
  commands.OnOK();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(closes, 1);
  ASSERT_EQ(ui.openDialogs.size(), 1u);
  EXPECT_EQ(ui.openDialogs[0].first, dir.path().toStdString());
  EXPECT_EQ(ui.openDialogs[0].second, "新 規");  // the customer name of a new plan
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, TypingAndDeletingAgainAsksNothingButADateChangeDoes) {
  TypeName("新 規x");
  EXPECT_TRUE(commands.HasUnsavedChanges());
  TypeName("新 規");
  EXPECT_FALSE(commands.HasUnsavedChanges());
  TypeDate(ids::kDay, "9");
  EXPECT_TRUE(commands.HasUnsavedChanges());
}

// ---- save ------------------------------------------------------------------------------------------

TEST_F(PlanFileCommandsTest, SaveWritesTheFileAndTakesTheBaseline) {
  TypeFullPlan();
  ui.savePaths = {PathOf("山田.zvk")};
  EXPECT_EQ(commands.SavePlanAs(), SaveOutcome::Saved);
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  EXPECT_EQ(ui.saveDialogs[0].first, dir.path().toStdString());  // the data folder
  EXPECT_EQ(ui.saveDialogs[0].second, "山田 太郎");              // the customer name
  EXPECT_FALSE(commands.HasUnsavedChanges());
  FundingPlan copy = plan;
  EXPECT_EQ(ReadAll(PathOf("山田.zvk")), PlanFileBytes(copy));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PlanFileCommandsTest, FailedSaveIsReportedAndThePlanStaysChanged) {
  TypeName("山田");
  const std::string path = PathOf("no-such-folder/山田.zvk");
  ui.savePaths = {path};
  ui.answers = {MessageAnswer::Ok};
  EXPECT_EQ(commands.SavePlanAs(), SaveOutcome::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "ファイルを保存できませんでした。\n" + path);
  EXPECT_EQ(ui.messages[0].caption, "ゾルビク");
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_TRUE(commands.HasUnsavedChanges());
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, OverwriteNoThenCancelWritesNothing) {
  const std::string path = PathOf("plan.zvk");
  {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old contents");
  }
  TypeName("山田");
  ui.savePaths = {path, std::nullopt};
  ui.answers = {MessageAnswer::No};
  EXPECT_EQ(commands.SavePlanAs(), SaveOutcome::Cancelled);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "同じ名前のファイルが存在します。\n上書きしますか？");
  EXPECT_EQ(ui.messages[0].caption, "ゾルビク");
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(ui.messages[0].owner, MessageOwner::None);
  EXPECT_EQ(ui.saveDialogs.size(), 2u);  // a fresh dialog after No
  EXPECT_EQ(ReadAll(path), "old contents");
  EXPECT_TRUE(commands.HasUnsavedChanges());
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, OverwriteYesReplacesTheFile) {
  const std::string path = PathOf("plan.zvk");
  {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old contents");
  }
  TypeName("山田");
  ui.savePaths = {path};
  ui.answers = {MessageAnswer::Yes};
  EXPECT_EQ(commands.SavePlanAs(), SaveOutcome::Saved);
  FundingPlan reread;
  ASSERT_TRUE(ReadPlanFile(reread, path));
  EXPECT_EQ(reread.customerName, "山田");
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, OnFileSaveAsChangesNothingOnTheForm) {
  TypeFullPlan();
  const auto before = Snapshot();
  ui.savePaths = {PathOf("a.zvk")};
  commands.OnFileSaveAs();
  EXPECT_EQ(Snapshot(), before);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PlanFileCommandsTest, ProposedNameHasNoPathSeparator) {
  TypeName("A/B\\C");
  ui.savePaths = {std::nullopt};
  commands.SavePlanAs();
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  EXPECT_EQ(ui.saveDialogs[0].second, "A_B_C");
}

// The proposed name is cleaned as the PDF's: a NUL would cut it (and lose ".zvk"), control
// characters have no place in a file name, and dots alone would name a folder.
TEST_F(PlanFileCommandsTest, ProposedNameIsCleanedAsThePdfName) {
  const std::pair<std::string, std::string> rows[] = {
      {std::string("a\0b", 3), "a_b"}, {"a\x01\x1F b\x7F", "a__ b_"}, {" 山田 ", "山田"}, {"..", ""}};
  for (const auto& [name, proposed] : rows) {
    plan.customerName = name;
    ui.saveDialogs.clear();
    ui.savePaths = {std::nullopt};
    commands.SavePlanAs();
    ASSERT_EQ(ui.saveDialogs.size(), 1u);
    EXPECT_EQ(ui.saveDialogs[0].second, proposed);
  }
}

// ---- open ------------------------------------------------------------------------------------------

TEST_F(PlanFileCommandsTest, OpeningAMissingFileKeepsThePlanAndShowsANewDialog) {
  TypeFullPlan();
  const PlanInputs before = plan.Inputs();
  const auto shown = Snapshot();
  ui.openPaths = {PathOf("missing.zvk"), std::nullopt};
  ui.answers = {MessageAnswer::No, MessageAnswer::Ok};  // do not save; then the open failure
  commands.OnFileOpen();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].text, "指定したファイルは開けません。");
  EXPECT_EQ(ui.messages[1].caption, "ゾルビク");
  EXPECT_EQ(ui.messages[1].buttons, MessageButtons::Ok);
  EXPECT_EQ(ui.messages[1].icon, MessageIcon::Exclamation);
  EXPECT_EQ(ui.openDialogs.size(), 2u);
  EXPECT_EQ(plan.Inputs(), before);
  EXPECT_EQ(Snapshot(), shown);
  EXPECT_TRUE(commands.HasUnsavedChanges());
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, OpeningAnUnreadableFileKeepsThePlan) {
  TypeName("山田");
  const PlanInputs before = plan.Inputs();
  // A folder cannot be read as a plan; an empty file or one of NUL bytes is not a plan.
  QFile(dir.filePath("empty.zvk")).open(QIODevice::WriteOnly);
  QFile zeros(dir.filePath("zeros.zvk"));
  ASSERT_TRUE(zeros.open(QIODevice::WriteOnly));
  zeros.write(QByteArray(2000, '\0'));
  zeros.close();
  ui.openPaths = {dir.path().toStdString(), PathOf("empty.zvk"), PathOf("zeros.zvk"), std::nullopt};
  ui.answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Ok};
  EXPECT_EQ(commands.OpenPlan(), OpenOutcome::Cancelled);
  ASSERT_EQ(ui.messages.size(), 3u);
  for (const auto& message : ui.messages) EXPECT_EQ(message.text, "指定したファイルは開けません。");
  EXPECT_EQ(plan.Inputs(), before);
  EXPECT_TRUE(commands.HasUnsavedChanges());
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, OpenShowsTheStoredValuesAndTakesTheBaseline) {
  // A file whose stored payments differ from what the formulas would give now: they are shown
  // as stored.
  FundingPlan stored;
  stored.ResetToNewPlan(PlanDate{2025, 1, 2});
  stored.customerName = "佐藤";
  stored.rows[0] = LoanRow{"古い商品", 1, 2.5, 30, 3125, 1000, 99999, 12345};
  stored.totalLoan = 3125;
  stored.totalBonusAmount = 1000;
  stored.totalMonthly = 99999;
  stored.totalBonus = 12345;
  stored.annualRepayment = 1224678;
  stored.repaymentRatio = 12.5;  // with an income of 0 the ratio box stays empty
  const std::string path = PathOf("sato.zvk");
  ASSERT_TRUE(WritePlanFile(stored, path));

  ui.openPaths = {path};
  commands.OnFileOpen();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(plan.customerName, "佐藤");
  EXPECT_FALSE(commands.HasUnsavedChanges());
  EXPECT_EQ(view.Text(ids::kCustomerName), "佐藤");
  EXPECT_EQ(view.Text(ids::kYear), "2025");
  EXPECT_EQ(view.Text(ids::kLoanName[0]), "古い商品");
  EXPECT_EQ(view.Selection(ids::kLoanName[0]), -1);
  EXPECT_EQ(view.Text(ids::kMethod[0]), "元利均等");
  EXPECT_EQ(view.Text(ids::kMonthlyPayment[0]), "99,999円");
  EXPECT_EQ(view.Text(ids::kTotalMonthly), "99,999円");
  EXPECT_EQ(view.Text(ids::kRepaymentRatio), "");
  EXPECT_EQ(plan.suggestedBonus[0], 1200);  // the loaded-plan variant of the four-tenths rule
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, PlanNamedAtStartShowsAsTheOpenCommandShowsIt) {
  TypeFullPlan();
  const std::string path = PathOf("full.zvk");
  ui.savePaths = {path};
  ASSERT_EQ(commands.SavePlanAs(), SaveOutcome::Saved);
  ui.openPaths = {path};
  commands.OnFileOpen();
  const auto viaDialog = Snapshot();
  commands.OnFileNew();

  EXPECT_TRUE(commands.OpenPlanFile(path));
  EXPECT_EQ(Snapshot(), viaDialog);
  EXPECT_EQ(plan.customerName, "山田 太郎");
  EXPECT_FALSE(commands.HasUnsavedChanges());
  EXPECT_EQ(ui.openDialogs.size(), 1u) << "no dialog for a named plan";
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, UnreadablePlanNamedAtStartIsReportedAndTheNewPlanStays) {
  const auto fresh = Snapshot();
  const PlanInputs before = plan.Inputs();
  for (const std::string& path : {PathOf("missing.zvk"), dir.path().toStdString()}) {
    ui.answers = {MessageAnswer::Ok};
    EXPECT_FALSE(commands.OpenPlanFile(path)) << path;
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, kCannotOpenMessage);
    EXPECT_EQ(ui.messages.back().caption, kFileCommandCaption);
    EXPECT_EQ(Snapshot(), fresh);
    EXPECT_EQ(plan.Inputs(), before);
  }
  EXPECT_TRUE(ui.openDialogs.empty());
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, CancelledOpenChangesNothing) {
  TypeFullPlan();
  const auto shown = Snapshot();
  ui.answers = {MessageAnswer::No};
  ui.openPaths = {std::nullopt};
  commands.OnFileOpen();
  EXPECT_EQ(Snapshot(), shown);
  EXPECT_TRUE(commands.HasUnsavedChanges());
  ui.ExpectAllUsed();
}

// ---- the save-changes question before new and open -----------------------------------------------

TEST_F(PlanFileCommandsTest, YesThenCancelledSaveStopsOpen) {
  TypeName("山田");
  ui.answers = {MessageAnswer::Yes};
  ui.savePaths = {std::nullopt};
  commands.OnFileOpen();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "資金計画表の変更を保存しますか？");
  EXPECT_EQ(ui.messages[0].caption, "ゾルビク");
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(ui.messages[0].owner, MessageOwner::Form);
  EXPECT_TRUE(ui.openDialogs.empty());
  EXPECT_EQ(plan.customerName, "山田");
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, YesThenFailedSaveStopsNew) {
  TypeFullPlan();
  const auto shown = Snapshot();
  ui.answers = {MessageAnswer::Yes, MessageAnswer::Ok};
  ui.savePaths = {PathOf("missing/x.zvk")};
  commands.OnFileNew();
  EXPECT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(plan.customerName, "山田 太郎");
  EXPECT_EQ(Snapshot(), shown);
  EXPECT_EQ(reloads, 0);
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, YesThenSavedGoesOnWithNew) {
  TypeFullPlan();
  ui.answers = {MessageAnswer::Yes};
  ui.savePaths = {PathOf("saved.zvk")};
  commands.OnFileNew();
  EXPECT_TRUE(QFile::exists(QString::fromStdString(PathOf("saved.zvk"))));
  EXPECT_EQ(plan.customerName, "新 規");
  ui.ExpectAllUsed();
}

// キャンセル (and Esc, which answers it) stops new and open before anything is asked or cleared.
TEST_F(PlanFileCommandsTest, CancelStopsNewAndOpenAndThePlanStays) {
  TypeFullPlan();
  const auto shown = Snapshot();
  const PlanInputs inputs = plan.Inputs();
  ui.answers = {MessageAnswer::Cancel, MessageAnswer::Cancel};
  commands.OnFileNew();
  commands.OnFileOpen();
  ASSERT_EQ(ui.messages.size(), 2u);
  for (const AskedMessage& m : ui.messages) EXPECT_EQ(m.buttons, MessageButtons::YesNoCancel);
  EXPECT_TRUE(ui.openDialogs.empty());
  EXPECT_TRUE(ui.saveDialogs.empty());
  EXPECT_EQ(reloads, 0);
  EXPECT_EQ(Snapshot(), shown);
  EXPECT_EQ(plan.Inputs(), inputs);
  EXPECT_TRUE(commands.HasUnsavedChanges());
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, NoGoesOnWithoutSaving) {
  TypeFullPlan();
  ui.answers = {MessageAnswer::No};
  commands.OnFileNew();
  EXPECT_TRUE(ui.saveDialogs.empty());
  EXPECT_EQ(plan.customerName, "新 規");
  ui.ExpectAllUsed();
}

// ---- new ---------------------------------------------------------------------------------------------

TEST_F(PlanFileCommandsTest, NewAfterSaveAsksNothingAndShowsAnEmptyPlan) {
  TypeFullPlan();
  ui.savePaths = {PathOf("p.zvk")};
  commands.OnFileSaveAs();
  commands.OnFileNew();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(reloads, 1);
  EXPECT_EQ(view.Text(ids::kCustomerName), "新 規");
  EXPECT_EQ(view.focus(), ids::kCustomerName);
  EXPECT_EQ(nameSelections, 1);
  EXPECT_EQ(view.Text(ids::kYear), "2026");
  EXPECT_EQ(view.Text(ids::kMonth), "12");
  EXPECT_EQ(view.Text(ids::kDay), "8");
  EXPECT_EQ(view.Text(ids::kOtherCostLabel), "");
  EXPECT_EQ(view.Text(ids::kMiscCostsLabel), " 諸費用 （概算）");
  for (size_t i = 0; i < static_cast<size_t>(kLoanRowCount); ++i) {
    EXPECT_EQ(view.Text(ids::kLoanName[i]), "") << i;
    EXPECT_EQ(view.Selection(ids::kMethod[i]), -1) << i;
    EXPECT_EQ(view.Text(ids::kLoanAmount[i]), "") << i;
    EXPECT_EQ(view.Text(ids::kMonthlyPayment[i]), "") << i;
  }
  for (int id : {ids::kLandPrice, ids::kRequiredFundsTotal, ids::kFundsMinusLoans, ids::kOwnFundsNeeded,
                 ids::kTotalLoan, ids::kTotalMonthly, ids::kAnnualRepayment, ids::kRepaymentRatio}) {
    EXPECT_EQ(view.Text(id), "") << id;
  }
  FundingPlan fresh;
  fresh.ResetToNewPlan(kToday);
  EXPECT_EQ(plan.Inputs(), fresh.Inputs());
  EXPECT_EQ(plan.totalMonthly, 0.0);
  EXPECT_EQ(plan.recalcMonthlySum, 0.0);
  EXPECT_FALSE(commands.HasUnsavedChanges());
  // The lists are filled again from the rate master.
  ui.ExpectAllUsed();
}

// ---- 上書き保存 and the plan's file ----------------------------------------------------------------

TEST_F(PlanFileCommandsTest, SaveWithoutAFileAsksForOneThenWritesThereWithoutADialog) {
  TypeFullPlan();
  EXPECT_EQ(commands.filePath(), "");
  const std::string path = PathOf("山田.zvk");
  ui.savePaths = {path};
  EXPECT_EQ(commands.SavePlan(), SaveOutcome::Saved);  // no file yet: as 名前をつけて保存
  EXPECT_EQ(ui.saveDialogs.size(), 1u);
  EXPECT_EQ(commands.filePath(), path);
  TypeIncome("900");
  EXPECT_TRUE(commands.HasUnsavedChanges());
  commands.OnFileSave();
  EXPECT_EQ(ui.saveDialogs.size(), 1u);  // no second dialog
  EXPECT_TRUE(ui.messages.empty());      // nor the overwrite question: it is the plan's own file
  EXPECT_FALSE(commands.HasUnsavedChanges());
  FundingPlan copy = plan;
  EXPECT_EQ(ReadAll(path), PlanFileBytes(copy));
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, TheFileIsTheOneLastOpenedOrSavedAndNewForgetsIt) {
  TypeFullPlan();
  const std::string first = PathOf("first.zvk");
  const std::string second = PathOf("second.zvk");
  ui.savePaths = {first, second};
  commands.OnFileSaveAs();
  commands.OnFileSaveAs();
  EXPECT_EQ(commands.filePath(), second);
  commands.OnFileNew();
  EXPECT_EQ(commands.filePath(), "");
  ui.openPaths = {first};
  commands.OnFileOpen();
  EXPECT_EQ(commands.filePath(), first);
  // A failed or cancelled save keeps the file the plan has.
  ui.savePaths = {PathOf("missing/x.zvk"), std::nullopt};
  ui.answers = {MessageAnswer::Ok};
  EXPECT_EQ(commands.SavePlanAs(), SaveOutcome::Failed);
  EXPECT_EQ(commands.SavePlanAs(), SaveOutcome::Cancelled);
  EXPECT_EQ(commands.filePath(), first);
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, FailedOverwriteIsReportedAndThePlanStaysChanged) {
  TypeName("山田");
  const std::string path = PathOf("gone/山田.zvk");
  ASSERT_TRUE(QDir(dir.path()).mkdir("gone"));
  ui.savePaths = {path};
  ASSERT_EQ(commands.SavePlanAs(), SaveOutcome::Saved);
  ASSERT_TRUE(QDir(dir.filePath("gone")).removeRecursively());
  TypeName("山田 太郎");
  ui.answers = {MessageAnswer::Ok};
  EXPECT_EQ(commands.SavePlan(), SaveOutcome::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "ファイルを保存できませんでした。\n" + path);
  EXPECT_TRUE(commands.HasUnsavedChanges());
  ui.ExpectAllUsed();
}

// While a box holds a value the range checks refuse, nothing is saved: the refusal comes again,
// about the box with the focus when it is one of them, and the commands that wanted to save stop.
TEST_F(PlanFileCommandsTest, ARefusedValueOnTheFormIsNeverSaved) {
  TypeFullPlan();
  const std::string path = PathOf("山田.zvk");
  ui.savePaths = {path};
  commands.OnFileSaveAs();
  const std::string bytes = ReadAll(path);
  TypeRate(0, "150");
  TypePeriod(1, "100");
  view.clearMessages();
  ASSERT_TRUE(commands.HasUnsavedChanges());

  EXPECT_EQ(commands.SavePlanAs(), SaveOutcome::Refused);
  EXPECT_EQ(commands.SavePlan(), SaveOutcome::Refused);
  ui.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
  commands.OnOK();       // はい, then the refusal: the program stays
  commands.OnFileNew();  // はい, then the refusal: the plan stays
  EXPECT_EQ(closes, 0);
  EXPECT_EQ(plan.customerName, "山田 太郎");
  EXPECT_EQ(ui.saveDialogs.size(), 1u);
  EXPECT_EQ(ReadAll(path), bytes);
  ASSERT_EQ(view.messages().size(), 4u);
  for (const auto& [text, caption] : view.messages()) {
    EXPECT_EQ(text, "入力値が不正です。");
    EXPECT_EQ(caption, "金利");  // the first refused box, row by row
  }
  EXPECT_EQ(view.focus(), ids::kRate[0]);
  ui.ExpectAllUsed();
}

TEST_F(PlanFileCommandsTest, TheRefusalIsAboutTheFocusedBoxWhenItHoldsOne) {
  int focused = ids::kPeriod[1];
  PlanFileCommands withFocus(plan, view, ui, [&] {
    FileCommandHooks h = Hooks();
    h.focusedControl = [&focused] { return focused; };
    return h;
  }());
  TypeRate(0, "150");
  TypePeriod(1, "100");
  view.clearMessages();
  EXPECT_EQ(withFocus.SavePlan(), SaveOutcome::Refused);
  focused = ids::kCustomerName;
  EXPECT_EQ(withFocus.SavePlan(), SaveOutcome::Refused);
  ASSERT_EQ(view.messages().size(), 2u);
  EXPECT_EQ(view.messages()[0].second, "返済期間");
  EXPECT_EQ(view.messages()[1].second, "金利");
  EXPECT_EQ(view.focus(), ids::kRate[0]);
  ui.ExpectAllUsed();
}

// ---- the window title ------------------------------------------------------------------------------

struct TitleRow {
  const char* customer;
  const char* file;
  bool changed;
  const char* title;
};
class PlanWindowTitleTest : public ::testing::TestWithParam<TitleRow> {};
TEST_P(PlanWindowTitleTest, SaysWhosePlanItIs) {
  const TitleRow& r = GetParam();
  EXPECT_EQ(PlanWindowTitle(r.customer, r.file, r.changed), r.title);
}
INSTANTIATE_TEST_SUITE_P(Rows, PlanWindowTitleTest,
                         ::testing::Values(TitleRow{"田中", "", false, "田中様 - ゾルビク"},
                                           TitleRow{"田中", "", true, "*田中様 - ゾルビク"},
                                           TitleRow{" 田中 ", "/data/other.zvk", false, "田中様 - ゾルビク"},
                                           TitleRow{"", "/data/LoanData/田中邸.zvk", false, "田中邸.zvk - ゾルビク"},
                                           TitleRow{"新 規", "/data/a.zvk", true, "*a.zvk - ゾルビク"},
                                           TitleRow{"新 規", "", false, "資金計画表 ： ゾルビク"},
                                           TitleRow{"新 規", "", true, "資金計画表 ： ゾルビク"},
                                           TitleRow{"  ", "", true, "資金計画表 ： ゾルビク"}));

// ---- exit ------------------------------------------------------------------------------------------

struct ExitCase {
  const char* name;
  std::vector<MessageAnswer> answers;
  std::vector<std::optional<std::string>> savePaths;  // "*" is replaced by a writable path, "!" by an unwritable one
  bool closes;
  bool saved;
};
void PrintTo(const ExitCase& c, std::ostream* os) {
  *os << c.name;
}

class PlanFileCommandsExitTest : public PlanFileCommandsTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(PlanFileCommandsExitTest, ClosesOnlyWhenNothingIsLost) {
  const ExitCase& c = GetParam();
  TypeName("山田");
  ui.answers = {c.answers.begin(), c.answers.end()};
  for (const auto& p : c.savePaths) {
    if (!p) {
      ui.savePaths.push_back(std::nullopt);
    } else {
      ui.savePaths.push_back(*p == "*" ? PathOf("exit.zvk") : PathOf("missing/exit.zvk"));
    }
  }
  commands.OnOK();
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages[0].text, "資金計画表の変更を保存しますか？");
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(closes, c.closes ? 1 : 0);
  EXPECT_EQ(QFile::exists(QString::fromStdString(PathOf("exit.zvk"))), c.saved);
  EXPECT_EQ(plan.customerName, "山田");
  ui.ExpectAllUsed();
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlanFileCommandsExitTest,
    ::testing::Values(
        ExitCase{"cancel_stays_open", {MessageAnswer::Cancel}, {}, false, false},
        ExitCase{"no_closes_without_saving", {MessageAnswer::No}, {}, true, false},
        ExitCase{"yes_and_saved_closes", {MessageAnswer::Yes}, {"*"}, true, true},
        ExitCase{"yes_then_cancelled_dialog_stays_open", {MessageAnswer::Yes}, {std::nullopt}, false, false},
        ExitCase{"yes_then_failed_save_stays_open", {MessageAnswer::Yes, MessageAnswer::Ok}, {"!"}, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- every field survives save, new and open --------------------------------------------------------

TEST_F(PlanFileCommandsTest, RoundTripOfEveryFieldThroughTheForm) {
  TypeFullPlan();
  const auto shown = Snapshot();
  const PlanInputs inputs = plan.Inputs();
  ASSERT_EQ(view.Text(ids::kFundsMinusLoans), "-935万");  // 4690 - 5625
  ASSERT_NE(view.Text(ids::kMonthlyPayment[0]), "");

  ui.savePaths = {PathOf("round.zvk")};
  commands.OnFileSaveAs();
  commands.OnFileNew();
  ASSERT_EQ(view.Text(ids::kCustomerName), "新 規");
  ui.openPaths = {PathOf("round.zvk")};
  commands.OnFileOpen();

  auto reopened = Snapshot();
  // The comma typed into a loan name is stored as a full-width comma, so that the row keeps
  // all its values.
  EXPECT_EQ(reopened[ids::kLoanName[1]], "親族，借入");
  reopened[ids::kLoanName[1]] = shown.at(ids::kLoanName[1]);
  EXPECT_EQ(reopened, shown);
  PlanInputs expected = inputs;
  expected.rows[1].loanName = "親族，借入";
  EXPECT_EQ(plan.Inputs(), expected);
  EXPECT_FALSE(commands.HasUnsavedChanges());
  EXPECT_TRUE(ui.messages.empty());
  ui.ExpectAllUsed();
}

// ---- the Qt file dialog ----------------------------------------------------------------------------

TEST(PlanFileDialog, IsConfiguredForPlanFiles) {
  QTemporaryDir dir;
  for (bool save : {true, false}) {
    QFileDialog dialog;
    ConfigurePlanFileDialog(dialog, save, dir.path(), QString::fromUtf8("新 規"));
    EXPECT_EQ(dialog.acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
    EXPECT_EQ(dialog.nameFilters(), QStringList{QString::fromUtf8("zvk ﾌｧｲﾙ (*.zvk)")});
    EXPECT_EQ(dialog.defaultSuffix(), "zvk");
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
  }
}

}  // namespace
}  // namespace zorvik
