#include "print/render/sheet_renderer.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <algorithm>

#include "print/render/text_fit.h"

namespace zorvik {

namespace {

QString FindSheetFontFamily() {
  // Exact faces first, in order of preference. IPAMincho reports its Japanese name on some systems.
  const QStringList preferred = {QStringLiteral("ＭＳ 明朝"),   QStringLiteral("MS Mincho"),
                                 QStringLiteral("IPAMincho"),   QStringLiteral("IPA明朝"),
                                 QStringLiteral("IPAexMincho"), QStringLiteral("IPAex明朝")};
  for (const QString& family : preferred) {
    if (QFontDatabase::hasFamily(family)) return family;
  }
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  auto firstMatching = [&japanese](auto predicate) -> QString {
    const auto it = std::find_if(japanese.begin(), japanese.end(), predicate);
    return it == japanese.end() ? QString() : *it;
  };
  QString family = firstMatching([](const QString& f) {
    return f.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive) || f.contains(QStringLiteral("明朝"));
  });
  if (family.isEmpty()) {
    family = firstMatching([](const QString& f) {
      return f.contains(QStringLiteral("Serif"), Qt::CaseInsensitive) || f.contains(QStringLiteral("Ming"));
    });
  }
  if (family.isEmpty() && !japanese.isEmpty()) family = japanese.first();
  if (family.isEmpty()) family = QStringLiteral("serif");
  return family;
}

Qt::Alignment AlignmentOf(TextMode mode) {
  switch (mode) {
    case TextMode::BottomCentre:
      return Qt::AlignBottom | Qt::AlignHCenter;
    case TextMode::BottomLeft:
      return Qt::AlignBottom | Qt::AlignLeft;
    case TextMode::BottomRight:
      return Qt::AlignBottom | Qt::AlignRight;
    case TextMode::MiddleCentre:
      return Qt::AlignVCenter | Qt::AlignHCenter;
    case TextMode::MiddleLeft:
      return Qt::AlignVCenter | Qt::AlignLeft;
    case TextMode::MiddleRight:
      return Qt::AlignVCenter | Qt::AlignRight;
    case TextMode::WrappedCentre:
      return Qt::AlignTop | Qt::AlignHCenter;
  }
  return Qt::AlignCenter;
}

// The pixels a box of the model covers: left and top edge included, right and bottom excluded.
QRect DeviceRect(const PageBox& box) {
  return QRect(box.left, box.top, box.right - box.left, box.bottom - box.top);
}

void DrawWrapped(QPainter& painter, const QRect& rect, const QString& text) {
  const QFontMetrics metrics = painter.fontMetrics();
  const QStringList lines = WrapSheetText(text, metrics, rect.width());
  int baseline = rect.top() + metrics.ascent();
  for (const QString& line : lines) {
    if (baseline - metrics.ascent() >= rect.bottom() + 1) break;  // below the box: nothing visible
    const int width = metrics.horizontalAdvance(line);
    painter.drawText(QPoint(rect.left() + (rect.width() - width) / 2, baseline), line);
    baseline += metrics.height();
  }
}

void DrawText(QPainter& painter, const PageOp& op) {
  if (op.text.empty()) return;  // an empty control prints nothing
  const QRect rect = DeviceRect(op.box);
  if (rect.width() <= 0 || rect.height() <= 0) return;
  const QString text = QString::fromStdString(op.text);
  painter.save();
  painter.setClipRect(rect, Qt::IntersectClip);
  if (op.mode == TextMode::WrappedCentre) {
    DrawWrapped(painter, rect, text);
  } else {
    // A value too wide for its cell is printed smaller, down to two thirds of its size, and never
    // as its last digits alone (FitTextToPixelWidth).
    const QFont font = painter.font();
    const FittedText fit = FitTextToPixelWidth(text, font, rect.width(), std::max(1, font.pixelSize() * 2 / 3));
    int alignment = static_cast<int>(AlignmentOf(op.mode));
    if (fit.fromStart) alignment = (alignment & ~static_cast<int>(Qt::AlignHorizontal_Mask)) | Qt::AlignLeft;
    painter.setFont(fit.font);
    painter.drawText(rect, alignment | Qt::TextSingleLine | Qt::TextDontClip, fit.text);
  }
  painter.restore();
}

// MoveTo/LineTo semantics: the end point itself is not drawn.
void DrawLine(QPainter& painter, const PageBox& line) {
  QPoint to(line.right, line.bottom);
  if (line.top == line.bottom && line.right != line.left) to.rx() += line.right > line.left ? -1 : 1;
  if (line.left == line.right && line.bottom != line.top) to.ry() += line.bottom > line.top ? -1 : 1;
  painter.drawLine(QPoint(line.left, line.top), to);
}

void DrawBox(QPainter& painter, const PageBox& box) {
  // Outline on the first and last covered pixel, interior filled with the default white brush.
  if (box.right - box.left < 1 || box.bottom - box.top < 1) return;
  painter.drawRect(QRect(box.left, box.top, box.right - box.left - 1, box.bottom - box.top - 1));
}

}  // namespace

QString SheetFontFamily() {
  static const QString family = FindSheetFontFamily();
  return family;
}

QFont MakeSheetQFont(int pixelHeight) {
  QFont font(SheetFontFamily());
  font.setWeight(QFont::Normal);
  font.setStyle(QFont::StyleNormal);
  font.setPixelSize(std::max(1, pixelHeight));
  return font;
}

bool IsDoubleByteChar(char32_t c) {
  if (c < 0x80) return false;
  if (c >= 0xFF61 && c <= 0xFF9F) return false;  // half-width katakana are single bytes
  return true;
}

QStringList WrapSheetText(const QString& text, const QFontMetrics& metrics, int width) {
  // Work on code points so that a surrogate pair is never split.
  const QList<uint> cps = text.toUcs4();
  const qsizetype n = cps.size();
  auto isBlank = [&cps](qsizetype i) { return cps[i] == ' ' || cps[i] == '\t'; };
  auto piece = [&cps](qsizetype from, qsizetype to) {
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(cps.constData()) + from, to - from);
  };

  QStringList lines;
  qsizetype start = 0;
  while (start <= n) {
    // The line runs from `start`; find the longest prefix that fits, ending at a break point.
    qsizetype lastBreak = -1;  // end of the text of the line if broken here (exclusive)
    qsizetype resume = -1;     // where the next line starts after that break
    qsizetype i = start;
    bool hardBreak = false;
    for (; i < n; ++i) {
      if (cps[i] == '\n') {
        hardBreak = true;
        break;
      }
      // Break opportunity before i: after blanks, or between two double-byte characters.
      if (i > start) {
        if (isBlank(i - 1) && !isBlank(i)) {
          qsizetype end = i;
          while (end > start && isBlank(end - 1)) --end;
          if (end > start) {
            lastBreak = end;
            resume = i;
          }
        } else if (IsDoubleByteChar(cps[i - 1]) && IsDoubleByteChar(cps[i])) {
          lastBreak = i;
          resume = i;
        }
      }
      qsizetype trimmed = i + 1;
      while (trimmed > start && isBlank(trimmed - 1)) --trimmed;
      if (metrics.horizontalAdvance(piece(start, trimmed)) > width && lastBreak > start) {
        break;  // does not fit: break at the last opportunity
      }
    }
    if (i >= n || hardBreak) {
      qsizetype end = i;
      while (end > start && isBlank(end - 1)) --end;
      lines.append(piece(start, end));
      if (!hardBreak) break;
      start = i + 1;
      continue;
    }
    lines.append(piece(start, lastBreak));
    start = resume;
    while (start < n && isBlank(start)) ++start;
    if (start >= n) break;
  }
  return lines;
}

void RenderPageModel(QPainter& painter, const PageModel& model) {
  painter.save();
  QPen pen(Qt::black);
  pen.setStyle(Qt::SolidLine);
  pen.setWidth(1);
  painter.setPen(pen);
  painter.setBrush(Qt::white);
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const PageOp& op : model.ops) {
    switch (op.kind) {
      case PageOpKind::Line:
        DrawLine(painter, op.box);
        break;
      case PageOpKind::Rect:
        DrawBox(painter, op.box);
        break;
      case PageOpKind::Font:
        painter.setFont(MakeSheetQFont(op.font.pixelHeight));
        break;
      case PageOpKind::Text:
        DrawText(painter, op);
        break;
    }
  }
  painter.restore();
}

bool WritePageModelPdf(QIODevice& out, const PageModel& model) {
  QPdfWriter writer(&out);
  writer.setResolution(kPdfResolution);
  writer.setTitle(QStringLiteral("資金計画表"));
  writer.setCreator(QStringLiteral("Zorvik"));
  const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0),
                           QPageLayout::Millimeter);
  if (!writer.setPageLayout(layout)) return false;
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  // The printable area is the reference page, centred on the sheet of paper.
  const int dx = std::max(0, (writer.width() - model.metrics.H) / 2);
  const int dy = std::max(0, (writer.height() - model.metrics.V) / 2);
  painter.translate(dx, dy);
  RenderPageModel(painter, model);
  return painter.end();
}

}  // namespace zorvik
