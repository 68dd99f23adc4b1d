#include "ui/message_box_fit.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>

namespace zorvik {

void WidenToLongestLine(QMessageBox& box) {
  // The text label of every QMessageBox carries this object name.
  auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  if (label == nullptr) return;
  const QFontMetrics metrics(label->font());
  int widest = 0;
  for (const QString& line : box.text().split(QLatin1Char('\n'))) {
    widest = std::max(widest, metrics.horizontalAdvance(line));
  }
  // The box never grows beyond the screen; QMessageBox itself stops at 800 pixels on most
  // screens, which leaves room for its icon and margins.
  int limit = 700;
  if (const QScreen* screen = box.screen()) limit = std::min(limit, screen->availableGeometry().width() - 120);
  label->setMinimumWidth(std::min(widest + 2, limit));
}

void FitCaption(QMessageBox& box) {
  auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  if (label == nullptr) return;
  // Title bars often use a larger or bold face: a fifth more than the box's own font, and room
  // for the window's icon, its close button and the frame.
  const QFontMetrics metrics(box.font());
  const int caption = metrics.horizontalAdvance(box.windowTitle()) * 6 / 5 + 72;
  // Never narrower than the text's own lines, which the box would otherwise wrap.
  int widest = 0;
  const QFontMetrics textMetrics(label->font());
  for (const QString& line : box.text().split(QLatin1Char('\n'))) {
    widest = std::max(widest, textMetrics.horizontalAdvance(line) + 2);
  }
  if (caption > widest) label->setMinimumWidth(std::max(label->minimumWidth(), caption));
}

}  // namespace zorvik
