#pragma once
// Draws the plan sheet's page model (print/page_model.h) with QPainter, on a printer or a PDF.
//
// The painter's origin must be the top-left corner of the printable area, with device pixels
// as units (no other transformation). Boxes and lines use a solid black pen one device pixel
// wide; a rectangle covers its left and top edge but not its right and bottom edge, as the
// coordinates of the model mean. Every text is clipped to its rectangle; the single-line
// modes never break a line, the wrapped mode breaks at blanks and between any two double-byte
// characters. Font sizes are em heights in device pixels (QFont::setPixelSize).

#include <QString>
#include <QStringList>

#include "print/page_model.h"

class QFont;
class QFontMetrics;
class QIODevice;
class QPainter;

namespace zorvik {

// The face the sheet is printed in: "ＭＳ 明朝" where installed, else IPAMincho, else another
// installed Mincho face, else a serif face with Japanese glyphs, else any face with Japanese
// glyphs. Looked up once per process.
QString SheetFontFamily();

// A font of the sheet: SheetFontFamily(), normal weight, `pixelHeight` as its em height.
QFont MakeSheetQFont(int pixelHeight);

// True for a character that takes two bytes in the Japanese ANSI code page: anything outside
// ASCII and the half-width katakana block. Wrapped texts may break between two such characters.
bool IsDoubleByteChar(char32_t c);

// The lines of a wrapped-centre text for a rectangle `width` pixels wide: broken at blanks
// (which are dropped at the break) and between two double-byte characters; a word wider than
// the rectangle stays whole on its line (and is clipped when drawn). Explicit line feeds break too.
QStringList WrapSheetText(const QString& text, const QFontMetrics& metrics, int width);

// Replays the model's operations in order on `painter`.
void RenderPageModel(QPainter& painter, const PageModel& model);

// The PDF page: A4 landscape at 600 dots per inch. Its printable area is the reference page,
// 6774 x 4720 pixels, centred on the sheet of paper.
inline constexpr int kPdfResolution = 600;

// Renders `model` (built for kReferencePageWidth x kReferencePageHeight) as a one-page PDF into
// `out`. Returns false when the PDF could not be produced.
bool WritePageModelPdf(QIODevice& out, const PageModel& model);

}  // namespace zorvik
