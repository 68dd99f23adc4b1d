#include "simulation/dialogs/sim_dialog_style.h"

#include <QFontDatabase>
#include <QPalette>
#include <QStringList>
#include <QWidget>

namespace zorvik {

QFont SimulationDialogFont() {
  static const QStringList kFamilies = {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"),
                                        QStringLiteral("Noto Sans CJK JP")};
  QFont font;
  font.setFamilies(kFamilies);
  for (const QString& family : kFamilies) {
    if (QFontDatabase::hasFamily(family)) {
      font.setFamily(family);
      break;
    }
  }
  font.setPointSizeF(9.0);
  return font;
}

void PaintControl(QWidget* control, const QColor& background) {
  QPalette palette = control->palette();
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base}) palette.setColor(role, background);
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text}) palette.setColor(role, Qt::black);
  control->setPalette(palette);
  control->setAutoFillBackground(true);
}

}  // namespace zorvik
