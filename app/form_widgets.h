#pragma once
// Small widget kinds of the main plan form that Qt does not offer as such: a bordered static that
// reports clicks, an explanatory text drawn the way the form's colour rule asks (blue text on the
// default background, in a blue box), and a read-only multi-line edit with centred lines.

#include <QLabel>
#include <QTextEdit>

namespace zorvik {

// A static that emits clicked() when the left mouse button is pressed and released over it.
class ClickableLabel : public QLabel {
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
