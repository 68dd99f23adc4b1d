#pragma once
// Seeded random editing sessions on the plan form for property tests: a plan, the in-memory
// view and the recalculation, driven by every kind of event the form reports for the loan rows
// (product, method, rate, period, loan, bonus portion, row delete) and the income, and the
// invariants that hold between the rows and the displayed totals after each event.

#include <random>
#include <string>
#include <vector>

#include "core/control_ids.h"
#include "core/plan_recalc.h"
#include "core/repayment.h"
#include "core/text_forms.h"
#include "tests/support/fake_form_view.h"

namespace zorvik {

class EditingSession {
 public:
  explicit EditingSession(uint32_t seed) : rng_(seed), recalc_(plan_, view_) {
    plan_.ResetToNewPlan(PlanDate{2026, 12, 8});
    view_.forwardLoanAmountChanges([this](int row) { recalc_.OnLoanAmountTextChanged(row); });
  }

  // One random event on one of the first four rows (or the income); returns what it did.
  std::string Step() {
    const int row = Pick(0, 3);
    const size_t i = static_cast<size_t>(row);
    const std::string where = " row " + std::to_string(row);
    switch (Pick(0, 7)) {
      case 0: {
        const double rate = OneOf<double>({0.0, 0.475, 1.45, 2.0, 2.375, 3.5});
        recalc_.OnLoanProductChosen(row, rate);
        return "product " + std::to_string(rate) + where;
      }
      case 1: {
        const int position = Pick(-1, 1);  // -1: no selection, as a cleared list reports it
        view_.SetSelection(ids::kMethod[i], position);
        recalc_.OnMethodChosen(row);
        return "method " + std::to_string(position) + where;
      }
      case 2:
        return Type(ids::kRate[i], {"", "0", "1.2", "2.375", "3", "-0.5", "２．４"}, row,
                    &PlanRecalculator::OnRateSetFocus, &PlanRecalculator::OnRateKillFocus);
      case 3:
        return Type(ids::kPeriod[i], {"", "0", "10", "20", "35", "35年", "99"}, row,
                    &PlanRecalculator::OnPeriodSetFocus, &PlanRecalculator::OnPeriodKillFocus);
      case 4:
        return Type(ids::kLoanAmount[i], {"", "0", "100", "125", "1500", "3000", "3,000万", "81999"}, row,
                    &PlanRecalculator::OnLoanAmountSetFocus, &PlanRecalculator::OnLoanAmountKillFocus);
      case 5:
        return Type(ids::kBonusAmount[i], {"", "0", "50", "330", "1200", "2000", "5000"}, row,
                    &PlanRecalculator::OnBonusAmountSetFocus, &PlanRecalculator::OnBonusAmountKillFocus);
      case 6:
        recalc_.OnDeleteRow(row);
        return "delete" + where;
      default: {
        const std::string text = OneOf<std::string>({"", "600", "1,200"});
        view_.SetText(ids::kAnnualIncome, text);
        recalc_.OnAnnualIncomeKillFocus();
        return "income '" + text + "'";
      }
    }
  }

  // A product, a period and a loan typed into `row`, which makes it complete.
  void FillRow(int row) {
    const size_t i = static_cast<size_t>(row);
    recalc_.OnLoanProductChosen(row, OneOf<double>({0.475, 1.45, 2.0, 2.375, 3.5}));
    Type(ids::kPeriod[i], {"10", "20", "35"}, row, &PlanRecalculator::OnPeriodSetFocus,
         &PlanRecalculator::OnPeriodKillFocus, false);
    Type(ids::kLoanAmount[i], {"100", "1500", "3000"}, row, &PlanRecalculator::OnLoanAmountSetFocus,
         &PlanRecalculator::OnLoanAmountKillFocus, false);
  }

  // Empty while the displayed totals are the sums of the complete rows' payments, the yearly
  // repayment and the ratio follow them, and every complete row pays and shows what its own
  // inputs give; otherwise the first difference found. A monthly total of 0 may show as 0円, as
  // an accepted simulation writes it.
  std::string Violation() const {
    double monthly = 0.0;
    double bonus = 0.0;
    for (size_t i = 0; i < plan_.rows.size(); ++i) {
      const LoanRow& r = plan_.rows[i];
      if (!r.IsComplete()) continue;
      monthly += r.monthlyPayment;
      bonus += r.bonusPayment;
      const std::string where = "row " + std::to_string(i);
      if (r.monthlyPayment != CalcMonthlyPayment(r.loanAmount, r.bonusAmount, r.method, r.periodYears, r.ratePercent) ||
          r.bonusPayment != CalcBonusPayment(r.bonusAmount, r.method, r.periodYears, r.ratePercent)) {
        return where + " pays what other inputs give";
      }
      if (view_.Text(ids::kMonthlyPayment[i]) != Yen(r.monthlyPayment) ||
          view_.Text(ids::kBonusPayment[i]) != Yen(r.bonusPayment)) {
        return where + " shows other payments";
      }
    }
    if (plan_.totalMonthly != monthly || plan_.totalBonus != bonus) {
      return "totals " + std::to_string(plan_.totalMonthly) + " / " + std::to_string(plan_.totalBonus) + ", rows " +
             std::to_string(monthly) + " / " + std::to_string(bonus);
    }
    const double yearly = 12 * monthly + 2 * bonus;
    if (plan_.annualRepayment != yearly) return "yearly repayment " + std::to_string(plan_.annualRepayment);
    const std::string shownMonthly = view_.Text(ids::kTotalMonthly);
    if (shownMonthly != Yen(monthly) && !(monthly == 0.0 && shownMonthly == "0円")) return "shown monthly total";
    if (view_.Text(ids::kTotalBonus) != Yen(bonus)) return "shown per-bonus total";
    if (view_.Text(ids::kAnnualRepayment) != Yen(yearly)) return "shown yearly repayment";
    const bool ratio = plan_.annualIncome != 0 && yearly != 0.0;
    if (view_.Text(ids::kRepaymentRatio) != (ratio ? FormatRatio(yearly / plan_.annualIncome * 0.01) : "")) {
      return "shown ratio";
    }
    return {};
  }

  FundingPlan& plan() { return plan_; }
  FakeFormView& view() { return view_; }
  std::mt19937& rng() { return rng_; }

 private:
  using Handler = void (PlanRecalculator::*)(int);

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  template <typename T>
  T OneOf(const std::vector<T>& values) {
    return values[static_cast<size_t>(Pick(0, static_cast<int>(values.size()) - 1))];
  }
  static std::string Yen(double v) { return v == 0.0 ? std::string() : FormatYen(v); }

  // Focus in, a text typed (with `mayKeep`, one time in four the box is left as it shows), focus out.
  std::string Type(int id, const std::vector<std::string>& texts, int row, Handler in, Handler out,
                   bool mayKeep = true) {
    const std::string text = mayKeep && Pick(0, 3) == 0 ? view_.Text(id) : OneOf(texts);
    (recalc_.*in)(row);
    view_.SetText(id, text);
    (recalc_.*out)(row);
    return "box " + std::to_string(id) + " '" + text + "'";
  }

  std::mt19937 rng_;
  FundingPlan plan_;
  FakeFormView view_;
  PlanRecalculator recalc_;
};

}  // namespace zorvik
