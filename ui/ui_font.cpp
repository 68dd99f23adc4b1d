#include "ui/ui_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace zorvik {
namespace {

QString FindFamily() {
  const QStringList installed = QFontDatabase::families();
  // Preferred faces first: the original face under its Japanese and Latin names, then the faces
  // of the common free Japanese font packages.
  static const char* const kPreferred[] = {"ＭＳ ゴシック",      "MS Gothic",        "IPAGothic",
                                           "IPAゴシック",        "Noto Sans CJK JP", "Noto Sans Mono CJK JP",
                                           "Source Han Sans JP", "TakaoGothic",      "VL Gothic"};
  for (const char* name : kPreferred) {
    const QString family = QString::fromUtf8(name);
    if (installed.contains(family, Qt::CaseInsensitive)) return family;
  }
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  for (const QString& family : japanese) {
    if (family.contains(QStringLiteral("Gothic"), Qt::CaseInsensitive) ||
        family.contains(QString::fromUtf8("ゴシック"))) {
      return family;
    }
  }
  if (!japanese.isEmpty()) return japanese.front();
  return QString::fromUtf8("ＭＳ ゴシック");  // let the font matcher choose
}

}  // namespace

QString UiFontFamily() {
  static const QString family = FindFamily();
  return family;
}

QFont UiFont(double pointSize) {
  QFont font(UiFontFamily());
  font.setPointSizeF(pointSize);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace zorvik
