#include "app/cp932_validator.h"

#include "io/cp932.h"

namespace zorvik {

QValidator::State Cp932Validator::validate(QString& input, int& pos) const {
  // Input methods deliver a few characters (〜 − ‖ — ¢ £ ¬) as code points CP932 has under
  // another number; they are taken as that character, so what the user typed is kept.
  input = ToCp932Equivalents(input);
  if (Cp932CanEncode(input)) return Acceptable;
  // Drop the characters that cannot be stored and keep the cursor after what remains of the
  // text before it, so that a paste keeps its good part.
  const QString before = KeepCp932Encodable(input.left(pos));
  input = KeepCp932Encodable(input);
  pos = static_cast<int>(before.size());
  return Acceptable;
}

void Cp932Validator::fixup(QString& input) const {
  input = KeepCp932Encodable(ToCp932Equivalents(input));
}

}  // namespace zorvik
