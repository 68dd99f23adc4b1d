#pragma once
// Windows that fit the screen they open on.
//
// A window is laid out at the size its contents ask for, which on a small screen or at a large
// scaling (a 1366x768 laptop at 150 % leaves about 910x512 pixels) can be more than the screen
// holds: its buttons would open off-screen, out of reach. So a window's body scrolls while its
// row of buttons stays below it, and the window opens no larger than the screen's available area
// (without the task bar), inside that area.

#include <QScrollArea>

class QRect;
class QWidget;

namespace zorvik {

// A frameless scroll area that asks for the whole size of its contents, so that a window opens
// at its natural size where the screen has room and scrolls only where it has not. (A plain
// QScrollArea asks for no more than 36 x 24 lines of text.)
class FittingScrollArea : public QScrollArea {
 public:
  explicit FittingScrollArea(QWidget* parent = nullptr);
  QSize sizeHint() const override;
};

// Puts `body` (a widget with its own layout) into a new FittingScrollArea owned by `parent`;
// the body is given the area's width and height, never less than its minimum size.
FittingScrollArea* ScrollingBody(QWidget* body, QWidget* parent);

// Makes the top-level `window` no larger than `area` less its frame (title bar and borders), and
// places it inside `area`: centred on its parent's window where that fits, otherwise moved in as
// far as needed. A window opened before keeps its size unless that is too large.
void FitIntoArea(QWidget& window, const QRect& area);

// FitIntoArea with the available geometry of the screen the window opens on: its parent's
// screen, or else the primary screen.
void FitToScreen(QWidget& window);

}  // namespace zorvik
