#pragma once
// Fitting a one-line text into a box, on the form and on paper: a text too wide for its box is
// drawn smaller; a number that does not fit even then shows "###", as spreadsheets do, because its
// last digits alone would read as a plausible, wrong amount; any other text shows from its first
// character.

#include <QFont>
#include <QString>

namespace zorvik {

// Shown instead of a number that does not fit even in the smallest size.
inline constexpr const char* kNumberTooWideText = "###";

// How a text is drawn in a box.
struct FittedText {
  QString text;            // the text, or "###" for a number too wide
  QFont font;              // the box's font, or a smaller size of it
  bool fromStart = false;  // a caption too wide even when small: drawn from its first character
  bool asIs = true;        // the text fits in the box's own font: nothing to change
};

// True for the texts of amounts, payments, rates, periods and ratios ("2,147,483,647万",
// "85,000円", "1.940％", "35年", "-1,200万"): digits with their separators and units only.
bool LooksLikeNumber(const QString& text);

// Fits `text` into `width` pixels: in `font` when it fits, else in the largest smaller size (in
// half points, down to `minimumPoints`) that fits; a number that fits in none becomes "###",
// any other text is drawn in the smallest size from its first character.
FittedText FitTextToWidth(const QString& text, const QFont& font, int width, double minimumPoints);

// The same for a font sized in device pixels (the printed sheet), one pixel at a time down to
// `minimumPixels`.
FittedText FitTextToPixelWidth(const QString& text, const QFont& font, int width, int minimumPixels);

}  // namespace zorvik
