#pragma once
// Dialog units of the help menu's small dialogs, and their fonts.
//
// A dialog unit is relative to the dialog's font: horizontally a quarter of the average
// character width, vertically an eighth of the character height, so a template keeps its
// proportions with any font and screen resolution.

#include <QFont>
#include <QRect>
#include <QString>

namespace zorvik {

struct InfoDialogUnits {
  int cx = 6;   // average character width in pixels
  int cy = 12;  // character height in pixels

  static InfoDialogUnits ForFont(const QFont& font);
  int X(int du) const { return (du * cx + 2) / 4; }
  int Y(int du) const { return (du * cy + 4) / 8; }
  QRect Rect(int x, int y, int width, int height) const { return QRect(X(x), Y(y), X(width), Y(height)); }
};

// "ＭＳ ゴシック" 9 pt where installed, otherwise the program's Japanese Gothic fallback.
QFont InfoDialogGothicFont();
// "ＭＳ Ｐゴシック" 9 pt where installed (proportional), otherwise as InfoDialogGothicFont.
QFont InfoDialogProportionalGothicFont();

}  // namespace zorvik
