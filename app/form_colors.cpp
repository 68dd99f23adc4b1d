#include "app/form_colors.h"

#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <initializer_list>

#include "core/control_ids.h"

namespace zorvik {
namespace {

bool In(int id, std::initializer_list<int> list) {
  return std::find(list.begin(), list.end(), id) != list.end();
}

bool InColumn(int id, const ids::RowIds& column) {
  return ids::RowOf(column, id) >= 0;
}

// The brush of a control, checked in brush order so that the first group wins; 0 for none.
int BrushFor(int id) {
  using namespace ids;
  if (In(id, {kCaptionName, kCaptionLoanAmountGroup, kCaptionLoanAmount, kCaptionBonusPortion, kCaptionTotals})) {
    return 1;
  }
  if (In(id, {kCaptionCreated, kCaptionRequiredFunds, kCaptionTotal, kCaptionRepaymentGroup, kCaptionMonthly,
              kCaptionBonus})) {
    return 2;
  }
  if (In(id, {kCaptionIncome, kCaptionAnnualRepayment, kCaptionRatio})) return 3;
  if (id == kCaptionLoanName) return 4;
  if (id == kCaptionMethod) return 5;
  if (In(id, {kCaptionConditions, kCaptionRate, kCaptionPeriod})) return 6;
  if (InColumn(id, kMonthlyPayment) || InColumn(id, kBonusPayment) ||
      In(id, {ids::kLandLabel, ids::kBuildingLabel, ids::kTaxLabel, ids::kFundsMinusLoansLabel, ids::kMiscCostsLabel,
              ids::kOwnFundsLabel, kFundsMinusLoans, kOwnFundsNeeded, kTotalLoan, kTotalBonusAmount, kAnnualRepayment,
              kRepaymentRatio, kRequiredFundsTotal})) {
    return 7;
  }
  if (In(id, {kBonusRuleText, kLegendText})) return 8;
  if (In(id, {kTotalMonthly, kTotalBonus, kLegendSample})) return 9;
  return 0;
}

}  // namespace

QColor FormBrushColor(int brush) {
  if (brush < 1 || brush > kFormBrushCount) return {};
  const FormRgb c = kFormBrushColors[static_cast<size_t>(brush - 1)];
  return QColor(c.r, c.g, c.b);
}

std::optional<ControlColors> ColorsForControl(int id) {
  const int brush = BrushFor(id);
  if (brush == 0) return std::nullopt;
  ControlColors c;
  c.brush = brush;
  c.box = FormBrushColor(brush);
  if (brush == 8) {
    c.text = FormBrushColor(8);
    c.style = ColorStyle::BlueOnDefault;
  } else {
    c.text = Qt::black;
    c.style = ColorStyle::BlackOnBrush;
  }
  return c;
}

bool ApplyFormColors(QWidget* widget, int id) {
  const auto colors = ColorsForControl(id);
  if (!colors || widget == nullptr) return false;
  QPalette pal = widget->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    pal.setColor(group, QPalette::Window, colors->box);
    pal.setColor(group, QPalette::WindowText, colors->text);
    pal.setColor(group, QPalette::Text, colors->text);
    // Read-only edits show their text on the brush colour as well.
    if (colors->style == ColorStyle::BlackOnBrush) pal.setColor(group, QPalette::Base, colors->box);
  }
  widget->setPalette(pal);
  widget->setAutoFillBackground(true);
  return true;
}

}  // namespace zorvik
