#pragma once
// A PlanFormView kept in memory: control texts and list selections in maps. Used where the
// plan's texts are needed without a window (the sheet tool) and as the base of test views.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/plan_form_view.h"

namespace zorvik {

class MemoryFormView : public PlanFormView {
 public:
  // The ten method lists hold "元利均等" and "元金均等", as on the form.
  MemoryFormView();

  std::string Text(int id) const override;
  void SetText(int id, const std::string& text) override;
  int Selection(int id) const override;
  void SetSelection(int id, int position) override;
  void SetFocus(int id) override { focus_ = id; }
  void ShowMessage(const std::string& text, const std::string& caption) override {
    messages_.emplace_back(text, caption);
  }

  // Items of a list. A drop-down list (`editable` false) shows the selected item as its text;
  // a combo box with an edit field keeps its own text, which a selection replaces.
  void SetListItems(int id, std::vector<std::string> items, bool editable);

  int focus() const { return focus_; }
  const std::vector<std::pair<std::string, std::string>>& messages() const { return messages_; }
  void clearMessages() { messages_.clear(); }

 private:
  struct List {
    std::vector<std::string> items;
    bool editable = false;
    int selection = -1;
  };
  std::map<int, std::string> texts_;
  std::map<int, List> lists_;
  int focus_ = 0;
  std::vector<std::pair<std::string, std::string>> messages_;
};

}  // namespace zorvik
