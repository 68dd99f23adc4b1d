#include "ui/window_fit.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QStyle>
#include <QWindow>
#include <algorithm>

namespace zorvik {
namespace {

// The window system's frame around `window`: known once the window is shown, estimated before
// (a title bar and thin borders, as most window managers draw them).
QMargins FrameOf(const QWidget& window) {
  if (window.isVisible() && window.windowHandle() != nullptr) {
    const QMargins known = window.windowHandle()->frameMargins();
    if (!known.isNull()) return known;
  }
  const int border = 4;
  const int titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
  return {border, titleBar + border, border, border};
}

}  // namespace

FittingScrollArea::FittingScrollArea(QWidget* parent) : QScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(true);
}

QSize FittingScrollArea::sizeHint() const {
  const QWidget* body = widget();
  if (body == nullptr) return QScrollArea::sizeHint();
  const int frame = 2 * frameWidth();
  // A body without a layout (a sheet of fixed size) has no size hint, only its minimum size.
  const QSize wanted = body->sizeHint().expandedTo(body->minimumSizeHint()).expandedTo(body->minimumSize());
  return wanted + QSize(frame, frame);
}

FittingScrollArea* ScrollingBody(QWidget* body, QWidget* parent) {
  auto* area = new FittingScrollArea(parent);
  area->setWidget(body);
  // The window's background shows around the body, as without the scroll area.
  area->viewport()->setAutoFillBackground(false);
  return area;
}

void FitIntoArea(QWidget& window, const QRect& area) {
  if (QLayout* layout = window.layout()) layout->activate();
  const QMargins frame = FrameOf(window);
  const QSize room = area.size().shrunkBy(frame).expandedTo(QSize(1, 1));
  QSize wanted = window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint();
  // A body cut short one way scrolls that way, and its scroll bar takes room the other way: room
  // the window is given, where there is some, rather than a second scroll bar.
  // (Two pixels more for the rounding of a fractional scale factor.)
  const int bar = window.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &window) + 2;
  if (wanted.height() > room.height()) wanted.rwidth() += bar;
  if (wanted.width() > room.width()) wanted.rheight() += bar;
  const QSize size = wanted.boundedTo(room).expandedTo(window.minimumSize()).boundedTo(window.maximumSize());
  window.resize(size);

  // The frame's top-left corner, centred on the parent window or the area, then moved inside.
  const QSize outer = window.size().grownBy(frame);
  const QWidget* parent = window.parentWidget() != nullptr ? window.parentWidget()->window() : nullptr;
  const QPoint centre = parent != nullptr && parent->isVisible() ? parent->frameGeometry().center() : area.center();
  QPoint corner = centre - QPoint(outer.width() / 2, outer.height() / 2);
  corner.setX(std::max(area.left(), std::min(corner.x(), area.left() + area.width() - outer.width())));
  corner.setY(std::max(area.top(), std::min(corner.y(), area.top() + area.height() - outer.height())));
  window.move(corner);
}

void FitToScreen(QWidget& window) {
  const QWidget* parent = window.parentWidget() != nullptr ? window.parentWidget()->window() : nullptr;
  QScreen* screen = parent != nullptr ? parent->screen() : nullptr;
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;  // no screen at all: nothing to fit into
  FitIntoArea(window, screen->availableGeometry());
}

}  // namespace zorvik
