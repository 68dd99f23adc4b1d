#include "core/memory_form_view.h"

#include "core/control_ids.h"
#include "core/plan_texts.h"

namespace zorvik {

MemoryFormView::MemoryFormView() {
  for (int id : ids::kMethod) SetListItems(id, {kMethodNames[0], kMethodNames[1]}, false);
}

std::string MemoryFormView::Text(int id) const {
  if (auto l = lists_.find(id); l != lists_.end() && !l->second.editable) {
    const List& list = l->second;
    if (list.selection < 0 || list.selection >= static_cast<int>(list.items.size())) return {};
    return list.items[static_cast<size_t>(list.selection)];
  }
  auto t = texts_.find(id);
  return t == texts_.end() ? std::string() : t->second;
}

void MemoryFormView::SetText(int id, const std::string& text) {
  texts_[id] = text;
}

int MemoryFormView::Selection(int id) const {
  auto l = lists_.find(id);
  return l == lists_.end() ? -1 : l->second.selection;
}

void MemoryFormView::SetSelection(int id, int position) {
  auto l = lists_.find(id);
  if (l == lists_.end()) return;
  List& list = l->second;
  if (position < 0 || position >= static_cast<int>(list.items.size())) {
    list.selection = -1;
    return;
  }
  list.selection = position;
  if (list.editable) texts_[id] = list.items[static_cast<size_t>(position)];
}

void MemoryFormView::SetListItems(int id, std::vector<std::string> items, bool editable) {
  List& list = lists_[id];
  list.items = std::move(items);
  list.editable = editable;
  list.selection = -1;
}

}  // namespace zorvik
