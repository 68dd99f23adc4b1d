#include <algorithm>

#include "core/control_ids.h"
#include "tests/support/fake_form_view.h"

namespace zorvik {

FakeFormView::FakeFormView() {
  // The loan-name boxes are combo boxes with an edit field.
  for (int id : ids::kLoanName) SetListItems(id, {}, true);
}

void FakeFormView::SetText(int id, const std::string& text) {
  MemoryFormView::SetText(id, text);
  auto w = std::find_if(writes_.begin(), writes_.end(), [id](const auto& e) { return e.first == id; });
  if (w == writes_.end()) {
    writes_.emplace_back(id, 1);
  } else {
    ++w->second;
  }
  const int row = ids::RowOf(ids::kLoanAmount, id);
  if (row >= 0 && onLoanAmountChange_) onLoanAmountChange_(row);
}

void FakeFormView::SetFocus(int id) {
  MemoryFormView::SetFocus(id);
  focusHistory_.push_back(id);
}

int FakeFormView::writes(int id) const {
  auto w = std::find_if(writes_.begin(), writes_.end(), [id](const auto& e) { return e.first == id; });
  return w == writes_.end() ? 0 : w->second;
}

}  // namespace zorvik
