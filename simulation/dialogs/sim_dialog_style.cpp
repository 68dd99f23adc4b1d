#include "simulation/dialogs/sim_dialog_style.h"

#include <QPalette>
#include <QWidget>

#include "ui/ui_font.h"

namespace zorvik {

QFont SimulationDialogFont() {
  return UiFont(9.0);
}

void PaintControl(QWidget* control, const QColor& background) {
  QPalette palette = control->palette();
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base}) palette.setColor(role, background);
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text}) palette.setColor(role, Qt::black);
  control->setPalette(palette);
  control->setAutoFillBackground(true);
}

}  // namespace zorvik
