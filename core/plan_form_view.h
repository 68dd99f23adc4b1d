#pragma once
// How the recalculation sees the main form: control texts by id, list selections, focus and
// an OK-only message box. The Qt form implements it over its widgets; tests over a map.
//
// Writing a text counts as a text change of that control, as if the user had typed it (the
// form forwards such changes to the same handlers). Texts are UTF-8.

#include <string>

namespace zorvik {

class PlanFormView {
 public:
  virtual ~PlanFormView() = default;

  virtual std::string Text(int id) const = 0;
  virtual void SetText(int id, const std::string& text) = 0;

  // Selected position of a method list or a loan-name list; -1 when nothing is selected.
  virtual int Selection(int id) const = 0;
  // Selects a position; -1 clears the selection (a name list keeps its edit text as it is).
  virtual void SetSelection(int id, int position) = 0;

  virtual void SetFocus(int id) = 0;

  // A plain message box owned by the form: OK button only, no icon.
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;

  // Refuses the value of box `id`: the message (as ShowMessage), then the focus back into the
  // box. A window may show it once the focus change under way has completed, and shows one
  // refusal at a time: while one is waiting or open, another is dropped.
  virtual void RefuseValue(int id, const std::string& text, const std::string& caption) {
    ShowMessage(text, caption);
    SetFocus(id);
  }
};

}  // namespace zorvik
