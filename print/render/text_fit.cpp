#include "print/render/text_fit.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>
#include <functional>

namespace zorvik {
namespace {

// Tries the sizes `setSize` is given from `from` down to `to` in steps of `step`; `smallest` sets
// the size used for a text that fits in none.
FittedText Fit(const QString& text, const QFont& font, int width, double from, double to, double step,
               const std::function<void(QFont&, double)>& setSize) {
  const auto fits = [&text, width](const QFont& f) { return QFontMetrics(f).horizontalAdvance(text) <= width; };
  if (text.isEmpty() || fits(font)) return FittedText{text, font, false, true};
  QFont smaller = font;
  for (double size = from - step; size >= to - 1e-9; size -= step) {
    setSize(smaller, size);
    if (fits(smaller)) return FittedText{text, smaller, false, false};
  }
  if (LooksLikeNumber(text)) return FittedText{QString::fromUtf8(kNumberTooWideText), font, false, false};
  setSize(smaller, std::min(from, to));
  return FittedText{text, smaller, true, false};
}

}  // namespace

bool LooksLikeNumber(const QString& text) {
  // Full-width digits too: a box shows them as typed until it is left.
  static const QString kAllowed = QString::fromUtf8("0123456789,.-+ 万円％%年０１２３４５６７８９，．－＋");
  bool digit = false;
  for (const QChar c : text) {
    if (!kAllowed.contains(c)) return false;
    digit = digit || c.isDigit();
  }
  return digit;
}

FittedText FitTextToWidth(const QString& text, const QFont& font, int width, double minimumPoints) {
  const double points = font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
  return Fit(text, font, width, points, minimumPoints, 0.5, [](QFont& f, double size) { f.setPointSizeF(size); });
}

FittedText FitTextToPixelWidth(const QString& text, const QFont& font, int width, int minimumPixels) {
  const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
  return Fit(text, font, width, pixels, std::max(1, minimumPixels), 1.0,
             [](QFont& f, double size) { f.setPixelSize(static_cast<int>(size)); });
}

}  // namespace zorvik
