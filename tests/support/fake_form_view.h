#pragma once
// A form view for tests: the in-memory view, plus what the real form does when the program
// writes a loan-amount box. The form reports every text change of such a box (typed or written
// by the program) to the recalculation, whose "loan text changed" flag depends on it; tests
// connect that report to a recalculator with forwardLoanAmountChanges().

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/memory_form_view.h"

namespace zorvik {

class FakeFormView : public MemoryFormView {
 public:
  using RowCallback = std::function<void(int row)>;

  FakeFormView();

  // Every SetText of a loan-amount box (rows 0..9) calls `onChange(row)` after the text is set.
  void forwardLoanAmountChanges(RowCallback onChange) { onLoanAmountChange_ = std::move(onChange); }

  void SetText(int id, const std::string& text) override;
  void SetFocus(int id) override;

  // Ids that took the focus through SetFocus, oldest first.
  const std::vector<int>& focusHistory() const { return focusHistory_; }
  // How many times a control's text was written.
  int writes(int id) const;

 private:
  RowCallback onLoanAmountChange_;
  std::vector<int> focusHistory_;
  std::vector<std::pair<int, int>> writes_;
};

}  // namespace zorvik
