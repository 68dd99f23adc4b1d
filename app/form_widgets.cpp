#include "app/form_widgets.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextOption>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

namespace zorvik {

namespace {

// Draws a fitted text into `area` with the box's alignment (a caption too wide from its start).
void DrawFitted(QPainter& painter, const QRect& area, Qt::Alignment alignment, const FittedText& fit,
                const QColor& color) {
  painter.save();
  painter.setClipRect(area);
  painter.setFont(fit.font);
  painter.setPen(color);
  const Qt::Alignment align = fit.fromStart ? (Qt::AlignLeft | Qt::AlignVCenter) : alignment;
  painter.drawText(area, static_cast<int>(align) | Qt::TextSingleLine, fit.text);
  painter.restore();
}

}  // namespace

FittingLabel::FittingLabel(QWidget* parent) : QLabel(parent) {}

QRect FittingLabel::TextArea() const {
  const int inset = margin() + std::max(0, indent());
  return contentsRect().adjusted(inset, 0, -inset, 0);
}

FittedText FittingLabel::fittedText() const {
  return FitTextToWidth(text(), font(), TextArea().width(), kMinimumFitPoints);
}

void FittingLabel::paintEvent(QPaintEvent* event) {
  const FittedText fit = fittedText();
  if (fit.asIs) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  drawFrame(&painter);
  DrawFitted(painter, TextArea(), alignment(), fit, palette().color(foregroundRole()));
}

FittingLineEdit::FittingLineEdit(QWidget* parent) : QLineEdit(parent) {}

QRect FittingLineEdit::TextArea() const {
  QStyleOptionFrame panel;
  initStyleOption(&panel);
  // QLineEdit keeps 2 pixels of air left and right and 1 above and below inside its contents.
  const QMargins margins = textMargins();
  return style()
      ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
      .adjusted(margins.left() + 2, margins.top() + 1, -margins.right() - 2, -margins.bottom() - 1);
}

FittedText FittingLineEdit::fittedText() const {
  // QLineEdit keeps one pixel for the caret beside the text; what does not fit with it scrolls.
  return FitTextToWidth(text(), font(), TextArea().width() - 1, kMinimumFitPoints);
}

void FittingLineEdit::paintEvent(QPaintEvent* event) {
  // While the user edits, the box scrolls with the caret as any text box does; a read-only box
  // has nothing to edit and stays fitted.
  const FittedText fit = hasFocus() && !isReadOnly() ? FittedText{} : fittedText();
  if (fit.asIs) {
    QLineEdit::paintEvent(event);
    return;
  }
  QPainter painter(this);
  QStyleOptionFrame panel;
  initStyleOption(&panel);
  style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
  DrawFitted(painter, TextArea(), alignment(), fit, palette().color(QPalette::Text));
}

NameComboBox::NameComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  // A pick puts the name into the edit field with the caret after it, which scrolls a long name
  // to its end.
  connect(this, &QComboBox::textActivated, this, &NameComboBox::ShowFromStart);
  connect(this, &QComboBox::editTextChanged, this, [this](const QString& text) { setToolTip(text); });
  connect(this, &QComboBox::activated, this, [this](int index) {
    if (listOpen_ || arrowStep_) emit picked(index);
  });
}

void NameComboBox::showPopup() {
  listOpen_ = true;
  QComboBox::showPopup();
}

void NameComboBox::hidePopup() {
  QComboBox::hidePopup();
  // The list reports the chosen item after it has closed itself; the choice still counts once
  // the events that closed it are handled.
  QTimer::singleShot(0, this, [this] {
    if (view() == nullptr || !view()->isVisible()) listOpen_ = false;
  });
}

void NameComboBox::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool step = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
  arrowStep_ = step && (event->modifiers() & Qt::AltModifier) == 0;
  QComboBox::keyPressEvent(event);
  arrowStep_ = false;
}

void NameComboBox::wheelEvent(QWheelEvent* event) {
  event->ignore();  // the form under the box takes it
}

void NameComboBox::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  // Leaving for the list, a menu or another window is not leaving the box.
  const Qt::FocusReason reason = event->reason();
  if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && reason != Qt::MenuBarFocusReason) {
    ShowFromStart();
  }
}

void NameComboBox::ShowFromStart() {
  if (lineEdit() != nullptr) lineEdit()->setCursorPosition(0);
}

void SetAccessibleControlName(QWidget* control, const QString& name) {
  if (control == nullptr || name.isEmpty()) return;
  if (qobject_cast<QLabel*>(control) != nullptr) {
    control->setAccessibleDescription(name);
    return;
  }
  control->setAccessibleName(name);
  if (auto* combo = qobject_cast<QComboBox*>(control)) {
    // On Linux a drop-down is read by its current item; the description still says which it is.
    combo->setAccessibleDescription(name);
    if (combo->lineEdit() != nullptr) combo->lineEdit()->setAccessibleName(name);
  }
}

void WidenDropDownToItems(QComboBox* combo) {
  QAbstractItemView* view = combo->view();
  int widest = 0;
  for (int i = 0; i < combo->count(); ++i)
    widest = std::max(widest, view->sizeHintForIndex(combo->model()->index(i, combo->modelColumn())).width());
  const bool scrolls = combo->count() > combo->maxVisibleItems();
  const int scrollBar = scrolls ? view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view) : 0;
  view->setMinimumWidth(widest + 2 * view->frameWidth() + scrollBar);
  // Wide enough, a name needs no ellipsis; should the screen be narrower, the end is cut, not the middle.
  view->setTextElideMode(Qt::ElideRight);
}

ClickableLabel::ClickableLabel(QWidget* parent) : FittingLabel(parent) {
  setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  FittingLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  FittingLabel::mouseReleaseEvent(event);
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
