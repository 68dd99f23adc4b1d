#include "ui/leave_watch.h"

#include <QEvent>
#include <QFocusEvent>
#include <QWidget>

namespace zorvik {

void LeaveWatch::Watch(QWidget* box, std::function<void()> onLeave, std::function<void()> onEnter) {
  if (boxes_.find(box) == boxes_.end()) {
    box->installEventFilter(this);
    connect(box, &QObject::destroyed, this, [this](QObject* gone) { boxes_.erase(gone); });
  }
  boxes_[box] = Handlers{std::move(onEnter), std::move(onLeave)};
}

bool LeaveWatch::IsUsersMove(Qt::FocusReason reason) {
  return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && reason != Qt::MenuBarFocusReason;
}

bool LeaveWatch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) return false;
  const auto found = boxes_.find(watched);
  if (found == boxes_.end()) return false;
  const FocusMove move = event->type() == QEvent::FocusIn ? FocusMove::Enter : FocusMove::Leave;
  const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
  // A copy: the handler may watch other boxes, or close the window.
  const std::function<void()> handler = move == FocusMove::Enter ? found->second.onEnter : found->second.onLeave;
  if (!handler || !IsUsersMove(reason) || (hold_ && hold_(move, reason))) return false;
  watched->event(event);
  handler();
  return true;
}

}  // namespace zorvik
