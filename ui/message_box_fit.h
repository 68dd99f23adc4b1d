#pragma once
// Long Japanese messages in a standard message box. QMessageBox wraps a text wider than about
// half the screen anywhere, since Japanese has no spaces: a line then breaks inside a word
// ("状態だっ / た。"). Messages whose lines are broken by hand between phrases keep those lines
// whole when the box is made as wide as the longest of them.

class QMessageBox;

namespace zorvik {

// Makes the text of `box` at least as wide as its longest line, as far as the screen allows.
// Call it after the text is set and before the box is shown.
void WidenToLongestLine(QMessageBox& box);

// For a small box whose caption says what it is about (a field's name over "入力値が不正です。"):
// wide enough that a window manager's title bar shows the whole caption beside its icon and
// buttons instead of cutting it ("返… 間").
void FitCaption(QMessageBox& box);

}  // namespace zorvik
