#include "app/info_dialog_units.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#include "ui/ui_font.h"

namespace zorvik {

namespace {

constexpr double kInfoFontPoints = 9.0;

QString FirstInstalled(const QStringList& candidates) {
  const QStringList installed = QFontDatabase::families();
  for (const QString& family : candidates) {
    if (installed.contains(family, Qt::CaseInsensitive)) return family;
  }
  return QString();
}

}  // namespace

InfoDialogUnits InfoDialogUnits::ForFont(const QFont& font) {
  const QFontMetrics metrics(font);
  static const QString kAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  InfoDialogUnits units;
  // The average width of the 52 Latin letters, rounded, as the original platform computes it.
  units.cx = (metrics.horizontalAdvance(kAlphabet) / 26 + 1) / 2;
  units.cy = metrics.height();
  if (units.cx <= 0) units.cx = 6;
  if (units.cy <= 0) units.cy = 12;
  return units;
}

QFont InfoDialogGothicFont() {
  return UiFont(kInfoFontPoints);
}

QFont InfoDialogProportionalGothicFont() {
  const QString family =
      FirstInstalled({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic")});
  if (family.isEmpty()) return InfoDialogGothicFont();
  QFont font(family);
  font.setPointSizeF(kInfoFontPoints);
  return font;
}

}  // namespace zorvik
