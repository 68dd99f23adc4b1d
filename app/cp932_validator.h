#pragma once
// Keeps out of the form's text boxes every character that a plan file cannot hold: plan files
// are CP932 on disk, so an emoji or a rare kanji typed or pasted into a box would be saved as
// "?" and the plan would silently change. Such characters are dropped as they arrive; the few
// that input methods send under another code point than CP932's (〜 for ～) are replaced by it.

#include <QValidator>

namespace zorvik {

class Cp932Validator : public QValidator {
  Q_OBJECT
 public:
  explicit Cp932Validator(QObject* parent = nullptr) : QValidator(parent) {}

  State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;
};

}  // namespace zorvik
