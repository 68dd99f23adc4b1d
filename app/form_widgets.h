#pragma once
// Small widget kinds of the main plan form that Qt does not offer as such: value boxes that never
// show part of a number, a bordered static that reports clicks, an explanatory text drawn the way
// the form's colour rule asks (blue text on the default background, in a blue box), and a
// read-only multi-line edit with centred lines.

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

#include "print/render/text_fit.h"

namespace zorvik {

// The smallest size a value is shrunk to before it gives up: still readable on the form. The
// fitting itself (FitTextToWidth) is shared with the printed sheet.
inline constexpr double kMinimumFitPoints = 7.0;

// A value static (totals, payments) whose text is fitted to its box when painted; text() stays
// the value the form holds.
class FittingLabel : public QLabel {
  Q_OBJECT
 public:
  explicit FittingLabel(QWidget* parent = nullptr);
  // How the current text is drawn.
  FittedText fittedText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect TextArea() const;
};

// A text box that draws its text fitted to the box (see FitTextToWidth) while it is read-only or
// does not have the focus; while the user edits, it behaves as a plain QLineEdit.
class FittingLineEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit FittingLineEdit(QWidget* parent = nullptr);
  // How the current text is drawn when the user is not editing it.
  FittedText fittedText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect TextArea() const;
};

// The loan-name box: an editable list whose name shows from its first character once picked or
// left (a name wider than the box is cut at its end, never at its start), with the whole name as
// the tooltip.
//
// picked() tells a choice the user made in the list: an item clicked or chosen with the arrow
// keys and Enter in the open list, or stepped to with the arrow keys on the closed box. Typing,
// Tab and Enter in the edit field never pick, even when the typed name is an item of the list
// (QComboBox reports that as activated() when the field is left), and the mouse wheel over the
// closed box changes nothing: a row keeps its own rate until the user picks a product.
class NameComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit NameComboBox(QWidget* parent = nullptr);

  void showPopup() override;
  void hidePopup() override;

 signals:
  void picked(int index);

 protected:
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void ShowFromStart();

  bool listOpen_ = false;   // the list is up, or has just closed with the user's choice
  bool arrowStep_ = false;  // an arrow key on the closed box is being handled
};

// Gives `control` the name a screen reader and UI automation use for it. A value static keeps
// its value as its name and gets `name` as its description; a drop-down, read by its current item
// on Linux, gets it as its description too, and the edit field of an editable list is named as the
// list.
void SetAccessibleControlName(QWidget* control, const QString& name);

// Lets the list of `combo` drop down as wide as its widest item, so that no name is cut; the
// closed box keeps its size. Call it after the items are filled in.
void WidenDropDownToItems(QComboBox* combo);

// A static that emits clicked() when the left mouse button is pressed and released over it.
class ClickableLabel : public FittingLabel {
  Q_OBJECT
 public:
  explicit ClickableLabel(QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

// Word-wrapped text whose box is filled with the palette's Window colour while each text line is
// drawn in WindowText on the `textBackground` colour.
class NoteLabel : public QWidget {
  Q_OBJECT
 public:
  explicit NoteLabel(const QString& text, QWidget* parent = nullptr);

  QString text() const { return text_; }
  void setText(const QString& text);
  QColor textBackground() const { return textBackground_; }
  void setTextBackground(const QColor& color);

  // Number of lines the text takes at the current width.
  int lineCount() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  QColor textBackground_;
};

// Read-only, wrapped, centred text in an edit frame; takes the keyboard focus like an edit.
class CenteredTextBox : public QTextEdit {
  Q_OBJECT
 public:
  explicit CenteredTextBox(QWidget* parent = nullptr);
  void setCenteredText(const QString& text);
};

}  // namespace zorvik
