#pragma once
// LeaveWatch: tells a window when the user enters and leaves its edit boxes.
//
// The windows of the program take a box's value when the user leaves the box (Tab, Enter, a
// click elsewhere in the window): they check it, show it in its text form and recompute what
// follows from it. Entering a box may note its text beforehand. Only the user's own moves count:
//   - a popup taking the focus for a while (a drop-down list, a completer, a context menu, the
//     menu bar) does not leave the box, and coming back from it does not enter it again;
//   - another window taking the focus (another program, a message box) does not either;
//   - while the window's hold says so, focus changes are the program's own doing (a message of
//     the window open, the focus being put back into a refused box, the window closing).
// The box takes its focus event first (caret, selection), so the handler sees the box in its new
// state and may move the focus again.

#include <QObject>
#include <functional>
#include <unordered_map>

class QWidget;

namespace zorvik {

enum class FocusMove { Enter, Leave };

class LeaveWatch : public QObject {
 public:
  // Whether a focus move is the program's own and not the user's; `reason` is Qt's.
  using Hold = std::function<bool(FocusMove move, Qt::FocusReason reason)>;

  explicit LeaveWatch(QObject* owner) : QObject(owner) {}

  // Watches `box`: `onLeave` runs when the user leaves it, `onEnter` (when given) when the user
  // enters it. Watching a box again replaces its handlers.
  void Watch(QWidget* box, std::function<void()> onLeave, std::function<void()> onEnter = {});
  void SetHold(Hold hold) { hold_ = std::move(hold); }

  // A focus change with this reason is the user's move into or out of a box: not a popup, a
  // menu bar or another window taking the focus for a while.
  static bool IsUsersMove(Qt::FocusReason reason);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Handlers {
    std::function<void()> onEnter;
    std::function<void()> onLeave;
  };
  std::unordered_map<const QObject*, Handlers> boxes_;
  Hold hold_;
};

}  // namespace zorvik
