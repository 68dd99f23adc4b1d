#include "app/form_layout.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <utility>

#include "core/control_ids.h"
#include "core/plan_texts.h"

namespace zorvik {
namespace {

using K = ControlKind;
using A = TextAlign;

std::vector<ControlTemplate> BuildTemplate() {
  std::vector<ControlTemplate> t;
  auto add = [&t](int id, K kind, const char* text, DialogRect r, A align = A::Left, int drop = 0) {
    t.push_back(ControlTemplate{id, kind, text, r, align, drop});
  };

  add(0, K::Line, "", {4, 1, 416, 1});

  // Header.
  add(ids::kCaptionName, K::Caption, "氏 名", {8, 6, 31, 12}, A::Center);
  add(ids::kCustomerName, K::Edit, "", {40, 6, 115, 12});
  add(ids::kCaptionSama, K::Caption, "様", {155, 6, 13, 12}, A::Center);
  add(ids::kCaptionCreated, K::Caption, "作成日", {292, 6, 36, 12}, A::Center);
  add(ids::kYear, K::Edit, "", {328, 6, 24, 12}, A::Center);
  add(0, K::Label, "年", {352, 6, 10, 12}, A::Center);
  add(ids::kMonth, K::Edit, "", {362, 6, 15, 12}, A::Center);
  add(0, K::Label, "月", {377, 6, 10, 12}, A::Center);
  add(ids::kDay, K::Edit, "", {387, 6, 15, 12}, A::Center);
  add(0, K::Label, "日", {402, 6, 10, 12}, A::Center);

  // Required funds.
  add(ids::kCaptionRequiredFunds, K::Caption, "所  要  資  金", {8, 23, 200, 13}, A::Center);
  add(ids::kLandLabel, K::ReadOnlyEdit, "", {8, 37, 40, 12}, A::Center);
  add(ids::kBuildingLabel, K::ReadOnlyEdit, "", {48, 37, 40, 12}, A::Center);
  add(ids::kTaxLabel, K::ReadOnlyEdit, "", {88, 37, 40, 12}, A::Center);
  add(ids::kOtherCostLabel, K::Edit, "", {128, 37, 40, 12}, A::Center);
  add(ids::kCaptionTotal, K::Caption, "合  計", {168, 37, 40, 12}, A::Center);
  add(ids::kLandPrice, K::Edit, "", {8, 49, 40, 12}, A::Center);
  add(ids::kBuildingPrice, K::Edit, "", {48, 49, 40, 12}, A::Center);
  add(ids::kConsumptionTax, K::Edit, "", {88, 49, 40, 12}, A::Center);
  add(ids::kOtherCost, K::Edit, "", {128, 49, 40, 12}, A::Center);
  add(ids::kRequiredFundsTotal, K::Result, "", {168, 49, 40, 12}, A::Right);
  add(ids::kFundsMinusLoansLabel, K::ReadOnlyMultiLine, "", {213, 23, 40, 26}, A::Center);
  add(ids::kMiscCostsLabel, K::ReadOnlyMultiLine, "", {253, 23, 40, 26}, A::Center);
  add(ids::kOwnFundsLabel, K::ReadOnlyMultiLine, "", {293, 23, 40, 26}, A::Center);
  add(ids::kCaptionIncome, K::Caption, kIncomeCaption, {337, 23, 40, 26}, A::Center);
  add(ids::kFundsMinusLoans, K::ReadOnlyEdit, "", {213, 49, 39, 12}, A::Right);
  add(ids::kMiscCosts, K::Edit, "", {253, 49, 39, 12}, A::Right);
  add(ids::kOwnFundsNeeded, K::ReadOnlyEdit, "", {293, 49, 39, 12}, A::Right);
  add(ids::kAnnualIncome, K::Edit, "", {337, 49, 40, 12}, A::Right);

  // Loan table captions.
  add(ids::kCaptionLoanName, K::Caption, kLoanNameCaption, {6, 68, 92, 24}, A::Center);
  add(ids::kCaptionMethod, K::Caption, kMethodCaption, {98, 68, 47, 24}, A::Center);
  add(ids::kCaptionConditions, K::Caption, "借 入 条 件", {145, 68, 76, 12}, A::Center);
  add(ids::kCaptionRate, K::Caption, "金 利", {145, 80, 36, 12}, A::Center);
  add(ids::kCaptionPeriod, K::Caption, "期 間", {181, 80, 40, 12}, A::Center);
  add(ids::kCaptionLoanAmountGroup, K::Caption, "借 入 額", {221, 68, 80, 12}, A::Center);
  add(ids::kCaptionLoanAmount, K::Caption, "借入額", {221, 80, 40, 12}, A::Center);
  add(ids::kCaptionBonusPortion, K::Caption, "内ﾎﾞｰﾅｽ", {261, 80, 40, 12}, A::Center);
  add(ids::kCaptionRepaymentGroup, K::Caption, "返  済  額", {301, 68, 104, 12}, A::Center);
  add(ids::kCaptionMonthly, K::Caption, "月 払 い", {301, 80, 52, 12}, A::Center);
  add(ids::kCaptionBonus, K::Caption, "ボーナス払い", {353, 80, 52, 12}, A::Center);

  // The ten loan rows.
  for (int k = 0; k < kLoanRowCount; ++k) {
    const auto r = static_cast<size_t>(k);
    const int y = 92 + 12 * k;
    add(ids::kLoanName[r], K::NameCombo, "", {6, y, 92, 12}, A::Left, 65);
    add(ids::kMethod[r], K::MethodList, "", {98, y, 48, 12}, A::Left, 35);
    add(ids::kRate[r], K::Edit, "", {145, y, 36, 13}, A::Right);
    add(ids::kPeriod[r], K::Edit, "", {181, y, 40, 13}, A::Center);
    add(ids::kLoanAmount[r], K::Edit, "", {221, y, 40, 13}, A::Right);
    add(ids::kBonusAmount[r], K::Edit, "", {261, y, 40, 13}, A::Right);
    add(ids::kMonthlyPayment[r], K::Result, "", {301, y, 52, 12}, A::Right);
    add(ids::kBonusPayment[r], K::Result, "", {353, y, 52, 12}, A::Right);
    add(ids::kDeleteRow[r], K::PushButton, "×", {405, y, 12, 12}, A::Center);
  }

  // Footer.
  add(ids::kCaptionTotals, K::Caption, "合     計", {98, 213, 123, 13}, A::Center);
  add(ids::kTotalLoan, K::Result, "", {221, 213, 40, 13}, A::Right);
  add(ids::kTotalBonusAmount, K::Result, "", {261, 213, 40, 13}, A::Right);
  add(ids::kTotalMonthly, K::ClickableResult, "", {301, 213, 52, 13}, A::Right);
  add(ids::kTotalBonus, K::ClickableResult, "", {353, 213, 52, 13}, A::Right);
  add(ids::kCaptionAnnualRepayment, K::Caption, kAnnualRepaymentCaption, {98, 231, 123, 12}, A::Center);
  add(ids::kAnnualRepayment, K::Result, "", {221, 231, 80, 12}, A::Right);
  add(ids::kCaptionRatio, K::Caption, kRatioCaption, {98, 243, 123, 12}, A::Center);
  add(ids::kRepaymentRatio, K::Result, "", {221, 243, 80, 12}, A::Right);
  add(ids::kBonusRuleText, K::Note, "借入額を修正すると、その１０分の４がボーナス分として５０万円単位で表示されます。",
      {12, 220, 80, 32});
  add(ids::kLegendSample, K::Sample, "", {304, 230, 14, 8});
  add(ids::kLegendText, K::Note, "内はシミュレーション可能。", {320, 229, 104, 8});
  add(ids::kPrint, K::PushButton, "印 刷", {320, 240, 40, 18}, A::Center);
  add(ids::kOk, K::DefaultButton, "終 了", {368, 240, 40, 17}, A::Center);
  return t;
}

std::vector<int> BuildTabOrder() {
  std::vector<int> order = {ids::kCustomerName, ids::kYear,          ids::kMonth,          ids::kDay,
                            ids::kLandPrice,    ids::kBuildingPrice, ids::kConsumptionTax, ids::kOtherCostLabel,
                            ids::kOtherCost,    ids::kMiscCosts,     ids::kAnnualIncome};
  for (int k = 0; k < kLoanRowCount; ++k) {
    const auto r = static_cast<size_t>(k);
    for (const auto* column :
         {&ids::kLoanName, &ids::kMethod, &ids::kRate, &ids::kPeriod, &ids::kLoanAmount, &ids::kBonusAmount}) {
      order.push_back((*column)[r]);
    }
  }
  order.push_back(ids::kPrint);
  order.push_back(ids::kOk);
  for (int id : ids::kDeleteRow) order.push_back(id);
  for (int id : {ids::kFundsMinusLoans, ids::kOwnFundsNeeded, ids::kLandLabel, ids::kBuildingLabel, ids::kTaxLabel,
                 ids::kFundsMinusLoansLabel, ids::kMiscCostsLabel, ids::kOwnFundsLabel}) {
    order.push_back(id);
  }
  return order;
}

std::vector<int> BuildEnterList() {
  std::vector<int> list = {ids::kCustomerName,
                           ids::kYear,
                           ids::kMonth,
                           ids::kDay,
                           ids::kLandLabel,
                           ids::kLandPrice,
                           ids::kBuildingLabel,
                           ids::kBuildingPrice,
                           ids::kTaxLabel,
                           ids::kConsumptionTax,
                           ids::kOtherCostLabel,
                           ids::kOtherCost,
                           ids::kFundsMinusLoansLabel,
                           ids::kFundsMinusLoans,
                           ids::kMiscCostsLabel,
                           ids::kMiscCosts,
                           ids::kOwnFundsLabel,
                           ids::kOwnFundsNeeded,
                           ids::kAnnualIncome};
  for (int k = 0; k < kLoanRowCount; ++k) {
    const auto r = static_cast<size_t>(k);
    for (const auto* column :
         {&ids::kLoanName, &ids::kMethod, &ids::kRate, &ids::kPeriod, &ids::kLoanAmount, &ids::kBonusAmount}) {
      list.push_back((*column)[r]);
    }
  }
  list.push_back(ids::kTotalMonthly);
  list.push_back(ids::kTotalBonus);
  std::sort(list.begin(), list.end());
  return list;
}

}  // namespace

const std::vector<ControlTemplate>& FormTemplate() {
  static const std::vector<ControlTemplate> t = BuildTemplate();
  return t;
}

const ControlTemplate* FindTemplate(int id) {
  if (id == 0) return nullptr;
  for (const auto& c : FormTemplate()) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

const std::vector<int>& TabOrder() {
  static const std::vector<int> order = BuildTabOrder();
  return order;
}

bool EnterMovesToNext(int id) {
  static const std::vector<int> list = BuildEnterList();
  return std::binary_search(list.begin(), list.end(), id);
}

QString FormAccessibleName(int id) {
  static const std::pair<int, const char*> kSingle[] = {
      {ids::kCustomerName, "氏名"},
      {ids::kYear, "作成日 年"},
      {ids::kMonth, "作成日 月"},
      {ids::kDay, "作成日 日"},
      {ids::kLandLabel, "土地価額 見出し"},
      {ids::kBuildingLabel, "建物価額 見出し"},
      {ids::kTaxLabel, "消費税 見出し"},
      {ids::kOtherCostLabel, "その他の費用 見出し"},
      {ids::kLandPrice, "土地価額"},
      {ids::kBuildingPrice, "建物価額"},
      {ids::kConsumptionTax, "消費税"},
      {ids::kOtherCost, "その他の費用"},
      {ids::kRequiredFundsTotal, "所要資金 合計"},
      {ids::kFundsMinusLoansLabel, "所要資金－借入額 見出し"},
      {ids::kMiscCostsLabel, "諸費用 見出し"},
      {ids::kOwnFundsLabel, "自己資金必要額 見出し"},
      {ids::kFundsMinusLoans, "所要資金－借入額"},
      {ids::kMiscCosts, "諸費用"},
      {ids::kOwnFundsNeeded, "自己資金必要額"},
      {ids::kAnnualIncome, "年収"},
      {ids::kTotalLoan, "合計 借入額"},
      {ids::kTotalBonusAmount, "合計 内ボーナス"},
      {ids::kTotalMonthly, "合計 月払い"},
      {ids::kTotalBonus, "合計 ボーナス払い"},
      {ids::kAnnualRepayment, "年間返済総額"},
      {ids::kRepaymentRatio, "年収に対する返済割合"},
      {ids::kPrint, "印刷"},
      {ids::kOk, "終了"},
  };
  for (const auto& [single, name] : kSingle) {
    if (single == id) return QString::fromUtf8(name);
  }
  static const std::pair<const ids::RowIds*, const char*> kColumns[] = {
      {&ids::kLoanName, "融資名"},       {&ids::kMethod, "返済方法"},           {&ids::kRate, "金利"},
      {&ids::kPeriod, "期間"},           {&ids::kLoanAmount, "借入額"},         {&ids::kBonusAmount, "内ボーナス"},
      {&ids::kMonthlyPayment, "月払い"}, {&ids::kBonusPayment, "ボーナス払い"}, {&ids::kDeleteRow, "消去"},
  };
  for (const auto& [column, name] : kColumns) {
    const int row = ids::RowOf(*column, id);
    if (row >= 0) return QStringLiteral("%1行目 %2").arg(row + 1).arg(QString::fromUtf8(name));
  }
  return {};
}

const std::vector<MenuTemplate>& FormMenu() {
  static const std::vector<MenuTemplate> menu = {
      {"ファイル(&F)",
       {{ids::kFileNew, "新規作成(&N)"},
        {ids::kFileOpen, "開く(&O)"},
        {0, ""},
        {ids::kFileSave, "上書き保存(&S)"},
        {ids::kFileSaveAs, "名前をつけて保存(&A)"},
        {kFileSavePdfCommand, "PDFに保存(&P)..."},
        {0, ""},
        {ids::kDownloadRateMaster, "金利マスターのダウンロード"},
        {0, ""},
        {ids::kOk, "終了(&X)"}}},
      {"ヘルプ(&H)",
       {{ids::kHelpInstructions, "操作説明(&H)"},
        {0, ""},
        {ids::kHelpNotice, "著作権情報"},
        {ids::kHelpVersion, "バージョン情報"}}},
  };
  return menu;
}

QKeySequence MenuShortcut(int commandId) {
  if (commandId == ids::kFileSave) return QKeySequence(Qt::CTRL | Qt::Key_S);
  if (commandId == ids::kHelpInstructions) return QKeySequence(Qt::Key_F1);
  return {};
}

DialogBaseUnits DialogBaseUnits::ForFont(const QFont& font) {
  // The average width is taken over the 52 Latin letters and rounded, as the original platform
  // measures a dialog font; the height is the font's full line height.
  const QFontMetrics fm(font);
  const int letters = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  DialogBaseUnits u;
  u.cx = std::max(1, (letters / 26 + 1) / 2);
  u.cy = std::max(1, fm.height());
  return u;
}

int DialogBaseUnits::X(int du) const {
  return static_cast<int>(std::lround(du * cx / 4.0));
}
int DialogBaseUnits::Y(int du) const {
  return static_cast<int>(std::lround(du * cy / 8.0));
}

QRect DialogBaseUnits::ToPixels(const DialogRect& r) const {
  // Both edges are converted, so that neighbouring controls meet without gaps or overlaps.
  const int left = X(r.x);
  const int top = Y(r.y);
  return QRect(left, top, std::max(1, X(r.x + r.width) - left), std::max(1, Y(r.y + r.height) - top));
}

}  // namespace zorvik
