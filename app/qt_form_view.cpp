#include "app/qt_form_view.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/form_widgets.h"
#include "ui/message_box_fit.h"

namespace zorvik {

void QtFormView::Register(int id, QWidget* widget) {
  widgets_[id] = widget;
  idsByObject_[widget] = id;
}

QWidget* QtFormView::Widget(int id) const {
  const auto it = widgets_.find(id);
  return it == widgets_.end() ? nullptr : it->second;
}

int QtFormView::IdOf(const QObject* object) const {
  const auto it = idsByObject_.find(object);
  return it == idsByObject_.end() ? 0 : it->second;
}

QString QtFormView::QText(int id) const {
  QWidget* w = Widget(id);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
  if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
  if (auto* box = qobject_cast<CenteredTextBox*>(w)) return box->toPlainText();
  if (auto* note = qobject_cast<NoteLabel*>(w)) return note->text();
  if (auto* button = qobject_cast<QPushButton*>(w)) return button->text();
  return {};
}

void QtFormView::SetQText(int id, const QString& text) {
  QWidget* w = Widget(id);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->setText(text);
  } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
    if (combo->isEditable()) {
      combo->setEditText(text);
      combo->lineEdit()->setCursorPosition(0);  // a long name shows its beginning
    } else {
      combo->setCurrentIndex(combo->findText(text));
    }
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(text);
  } else if (auto* box = qobject_cast<CenteredTextBox*>(w)) {
    box->setCenteredText(text);
  } else if (auto* note = qobject_cast<NoteLabel*>(w)) {
    note->setText(text);
  } else if (auto* button = qobject_cast<QPushButton*>(w)) {
    button->setText(text);
  }
}

std::string QtFormView::Text(int id) const {
  return QText(id).toStdString();
}

void QtFormView::SetText(int id, const std::string& text) {
  SetQText(id, QString::fromStdString(text));
}

int QtFormView::Selection(int id) const {
  if (auto* combo = qobject_cast<QComboBox*>(Widget(id))) return combo->currentIndex();
  return -1;
}

void QtFormView::SetSelection(int id, int position) {
  auto* combo = qobject_cast<QComboBox*>(Widget(id));
  if (combo == nullptr) return;
  if (position < -1 || position >= combo->count()) position = -1;
  if (combo->isEditable() && position < 0) {
    // Clearing the selection of a name list leaves the name in its edit field.
    const QString text = combo->currentText();
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
  } else {
    combo->setCurrentIndex(position);
  }
}

void QtFormView::SetFocus(int id) {
  QWidget* w = Widget(id);
  if (w == nullptr) return;
  // After a message the focus goes back into the field it was about; the control that had taken
  // the focus meanwhile has not been left by the user.
  restoringFocus_ = focusBackPending_;
  focusBackPending_ = false;
  w->setFocus(Qt::OtherFocusReason);
  restoringFocus_ = false;
}

void QtFormView::ShowMessage(const std::string& text, const std::string& caption) {
  lastMessage_ = {QString::fromStdString(text), QString::fromStdString(caption)};
  QMessageBox box(QMessageBox::NoIcon, lastMessage_.second, lastMessage_.first, QMessageBox::Ok, owner_);
  box.setObjectName(QStringLiteral("rangeMessage"));
  FitCaption(box);
  ++messageDepth_;
  box.exec();
  --messageDepth_;
  focusBackPending_ = true;
}

void QtFormView::RefuseValue(int id, const std::string& text, const std::string& caption) {
  if (refusalPending_ || messageDepth_ > 0 || restoringFocus_) return;
  refusalPending_ = true;
  QTimer::singleShot(0, owner_, [this, id, text, caption] {
    ShowMessage(text, caption);
    SetFocus(id);
    refusalPending_ = false;
  });
}

}  // namespace zorvik
