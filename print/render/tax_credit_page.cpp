#include "print/render/tax_credit_page.h"

#include <QPdfWriter>
#include <algorithm>

#include "print/render/pdf_file.h"
#include "print/render/sheet_renderer.h"

namespace zorvik {
namespace {

constexpr int kPdfDpi = 300;

// A font whose em is `em` device units.
QFont PageFont(double em, bool bold = false) {
  QFont font(SheetFontFamily());
  font.setPixelSize(std::max(1, static_cast<int>(em)));
  font.setBold(bold);
  return font;
}

}  // namespace

void RenderTaxCreditPage(QPainter& painter, const QRectF& page, const TaxCreditPage& data) {
  // The page is laid out in tenths of a millimetre of A4 (2100 wide) and scaled to the device.
  const double u = page.width() / 2100.0;
  const double margin = 180 * u;
  const double width = page.width() - 2 * margin;
  double y = page.top() + 200 * u;
  const double left = page.left() + margin;
  painter.save();
  painter.setPen(Qt::black);

  painter.setFont(PageFont(60 * u, true));
  painter.drawText(QRectF(left, y, width, 90 * u), Qt::AlignLeft | Qt::AlignVCenter, data.title);
  y += 140 * u;

  painter.setFont(PageFont(36 * u));
  const double line = 55 * u;
  for (const QString& c : data.conditions) {
    painter.drawText(QRectF(left, y, width, line), Qt::AlignLeft | Qt::AlignVCenter, c);
    y += line;
  }
  y += 50 * u;

  // The table: the year column narrower, the five amounts equal.
  const double yearWidth = width * 0.12;
  const double amountWidth = (width - yearWidth) / 5;
  const double rowHeight = 60 * u;
  auto drawRow = [&](const QStringList& cells, bool header) {
    double x = left;
    for (int c = 0; c < 6; ++c) {
      const double w = c == 0 ? yearWidth : amountWidth;
      const QRectF cell(x, y, w, rowHeight);
      if (header) painter.fillRect(cell, QColor(0xE8, 0xE8, 0xE8));
      painter.drawRect(cell);
      const int align = header || c == 0 ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter);
      painter.drawText(cell.adjusted(12 * u, 0, -12 * u, 0), align, cells.value(c));
      x += w;
    }
    y += rowHeight;
  };
  QPen pen(Qt::black);
  pen.setWidthF(2 * u);
  painter.setPen(pen);
  painter.setFont(PageFont(32 * u, true));
  drawRow(data.headers, true);
  painter.setFont(PageFont(32 * u));
  for (const QStringList& row : data.rows) drawRow(row, false);
  if (!data.totalRow.isEmpty()) {
    painter.setFont(PageFont(32 * u, true));
    drawRow(data.totalRow, false);
  }
  y += 50 * u;

  painter.setFont(PageFont(32 * u));
  for (const QString& note : data.notes) {
    const QRectF box(left, y, width, page.bottom() - y);
    const QRectF used = painter.boundingRect(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, note);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, note);
    y += used.height() + 15 * u;
  }
  painter.restore();
}

WriteResult WriteTaxCreditPdfFile(const QString& path, const TaxCreditPage& data) {
  return WritePdfFile(path, [&data](QIODevice& out) {
    QPdfWriter writer(&out);
    writer.setResolution(kPdfDpi);
    writer.setTitle(data.title);
    writer.setCreator(QStringLiteral("Zorvik"));
    if (!writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                          QPageLayout::Millimeter))) {
      return false;
    }
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    RenderTaxCreditPage(painter, QRectF(0, 0, writer.width(), writer.height()), data);
    return painter.end();
  });
}

bool PrintTaxCreditPage(QPrinter& printer, const TaxCreditPage& data) {
  printer.setDocName(data.title);
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
  RenderTaxCreditPage(painter, QRectF(0, 0, paper.width(), paper.height()), data);
  return painter.end();
}

}  // namespace zorvik
