#pragma once
// The notice dialog (template 142, "著作権情報"): the text of "license.txt" from the program
// directory in a read-only box; long lines wrap at the box's edge, the box scrolls down.
//
// The file is read anew each time the dialog is built, so an edited notice shows at the next
// opening; a missing or empty file gives an empty box and no message.

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace zorvik {

class CNoticeDlg : public QDialog {
 public:
  static constexpr int kTemplateId = 142;
  static constexpr int kNoticeEditId = 1170;

  explicit CNoticeDlg(const QString& licensePath, QWidget* parent = nullptr);

  QPlainTextEdit* noticeEdit() const { return edit_; }

 protected:
  // Puts the notice text into the edit 1170; always returns true.
  bool OnInitDialog();

 private:
  QString licensePath_;
  QPlainTextEdit* edit_ = nullptr;
};

}  // namespace zorvik
