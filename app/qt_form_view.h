#pragma once
// PlanFormView over the widgets of the main plan form: texts, list selections, focus and the
// OK-only message box, addressed by control id.
//
// While a message box is open, and while the focus is being put back into the field the message
// was about, focus changes are the program's own doing and not the user's: the form asks
// ignoreFocusOut()/ignoreFocusIn() and does not run its focus handlers for them.
//
// A refused value is reported once the event that found it has been handled (a queued call):
// a box opened from inside a focus change is not painted on every platform, and the focus
// change it interrupts would complete behind it. One refusal at a time: while one waits or its
// box is open, or the focus is being put back, another is dropped, so two boxes that both hold
// refused values never hand the focus and the message back and forth.

#include <QString>
#include <functional>
#include <string>
#include <unordered_map>

#include "core/plan_form_view.h"

class QObject;
class QWidget;

namespace zorvik {

class QtFormView : public PlanFormView {
 public:
  explicit QtFormView(QWidget* owner) : owner_(owner) {}

  void Register(int id, QWidget* widget);
  QWidget* Widget(int id) const;
  // The id of a registered widget, or 0.
  int IdOf(const QObject* object) const;

  std::string Text(int id) const override;
  void SetText(int id, const std::string& text) override;
  int Selection(int id) const override;
  void SetSelection(int id, int position) override;
  void SetFocus(int id) override;
  void ShowMessage(const std::string& text, const std::string& caption) override;
  void RefuseValue(int id, const std::string& text, const std::string& caption) override;

  QString QText(int id) const;
  void SetQText(int id, const QString& text);

  bool messageOpen() const { return messageDepth_ > 0; }
  // A refusal waits to be shown or is being shown.
  bool refusalPending() const { return refusalPending_; }
  bool ignoreFocusIn() const { return messageDepth_ > 0; }
  bool ignoreFocusOut() const { return messageDepth_ > 0 || restoringFocus_; }

  // The last message shown: text and caption (for the status of the form, and for tests).
  const std::pair<QString, QString>& lastMessage() const { return lastMessage_; }

 private:
  QWidget* owner_;
  std::unordered_map<int, QWidget*> widgets_;
  std::unordered_map<const QObject*, int> idsByObject_;
  int messageDepth_ = 0;
  bool focusBackPending_ = false;  // a message was answered; the next SetFocus puts the focus back
  bool restoringFocus_ = false;
  bool refusalPending_ = false;
  std::pair<QString, QString> lastMessage_;
};

}  // namespace zorvik
