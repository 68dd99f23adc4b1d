#include "app/form_widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextOption>

namespace zorvik {

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  QLabel::mouseReleaseEvent(event);
  if (click) emit clicked();
}

namespace {

// Lays out `text` in lines no wider than `width`; returns the layout's lines.
void LayoutText(QTextLayout& layout, int width) {
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  qreal y = 0;
  for (;;) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(width);
    line.setPosition(QPointF(0, y));
    y += line.height();
  }
  layout.endLayout();
}

}  // namespace

NoteLabel::NoteLabel(const QString& text, QWidget* parent) : QWidget(parent), text_(text) {
  textBackground_ = palette().color(QPalette::Window);
}

void NoteLabel::setText(const QString& text) {
  text_ = text;
  update();
}

void NoteLabel::setTextBackground(const QColor& color) {
  textBackground_ = color;
  update();
}

int NoteLabel::lineCount() const {
  QTextLayout layout(text_, font());
  LayoutText(layout, width());
  return layout.lineCount();
}

void NoteLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  QTextLayout layout(text_, font());
  LayoutText(layout, width());
  for (int i = 0; i < layout.lineCount(); ++i) {
    const QTextLine line = layout.lineAt(i);
    painter.fillRect(QRectF(line.x(), line.y(), line.naturalTextWidth(), line.height()), textBackground_);
  }
  painter.setPen(palette().color(QPalette::WindowText));
  layout.draw(&painter, QPointF(0, 0));
}

CenteredTextBox::CenteredTextBox(QWidget* parent) : QTextEdit(parent) {
  setReadOnly(true);
  setAcceptRichText(false);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setTabChangesFocus(true);
  document()->setDocumentMargin(1);
  setFrameShape(QFrame::Box);
  setLineWidth(1);
}

void CenteredTextBox::setCenteredText(const QString& text) {
  setPlainText(text);
  QTextCursor cursor(document());
  cursor.select(QTextCursor::Document);
  QTextBlockFormat format;
  format.setAlignment(Qt::AlignHCenter);
  cursor.mergeBlockFormat(format);
}

}  // namespace zorvik
