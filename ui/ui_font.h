#pragma once
// The font of the program's windows: "ＭＳ ゴシック" where it is installed, otherwise another
// Japanese Gothic face (IPAGothic, Noto Sans CJK JP, or any face that covers Japanese and
// calls itself Gothic), so that every Japanese text is drawn with Japanese glyph shapes.

#include <QFont>
#include <QString>

namespace zorvik {

// The family chosen for window texts; looked up once per process.
QString UiFontFamily();

// The window font at `pointSize` points.
QFont UiFont(double pointSize = 9.0);

}  // namespace zorvik
