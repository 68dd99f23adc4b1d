#pragma once
// Helpers for the simulation dialog tests: a prompter that answers without showing anything,
// and a plan with two loan rows.

#include <QApplication>
#include <QString>
#include <QWidget>
#include <ostream>
#include <utility>
#include <vector>

#include "core/funding_plan.h"
#include "core/memory_form_view.h"
#include "simulation/dialogs/simulation_prompter.h"
#include "tests/simulation/sim_test_plans.h"

// Readable QStrings in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace zorvik::simtest {

class ScriptedPrompter : public SimulationPrompter {
 public:
  void ShowMessage(QWidget*, const QString& text, const QString& caption) override {
    messages.emplace_back(text, caption);
  }
  bool ConfirmResult(QWidget*, const SimulationOutcome& outcome) override {
    results.push_back(outcome);
    return accept;
  }

  bool accept = true;
  std::vector<std::pair<QString, QString>> messages;
  std::vector<SimulationOutcome> results;
};

// Records every write into the form.
class CountingFormView : public MemoryFormView {
 public:
  void SetText(int id, const std::string& text) override {
    ++writes;
    MemoryFormView::SetText(id, text);
  }
  void SetSelection(int id, int position) override {
    ++writes;
    MemoryFormView::SetSelection(id, position);
  }
  int writes = 0;
};

inline FundingPlan TwoRowPlan() {
  FundingPlan plan = MakePlan({{.rate = 2.375, .period = 35, .loan = 3000, .bonus = 1200},
                               {.period = 0, .method = 0},
                               {.rate = 1.5, .period = 30, .loan = 1000, .bonus = 0}});
  plan.annualIncome = 700;
  plan.requiredFundsTotal = 4390;
  plan.miscCosts = 200;
  plan.fundsMinusLoans = plan.requiredFundsTotal - plan.totalLoan;
  plan.ownFundsNeeded = plan.fundsMinusLoans + plan.miscCosts;
  return plan;
}

}  // namespace zorvik::simtest
