#pragma once
// The 住宅ローン控除 estimate on one A4 portrait page: the title, the conditions, the table of the
// credit years with the total, and the notes (the upper-bound remark, the table's checked date).
// The window fills the texts as it shows them, so the paper says what the screen says.

#include <QPainter>
#include <QPrinter>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>

#include "io/file_access.h"

namespace zorvik {

struct TaxCreditPage {
  QString title;              // "住宅ローン控除（概算）" and the customer
  QStringList conditions;     // "入居年: 2026年", …
  QStringList headers;        // the six column captions
  QVector<QStringList> rows;  // one per credit year, six cells
  QStringList totalRow;       // "合計", …
  QStringList notes;          // below the table
};

// Draws the page into `page` (device units); the text scales with the page's width.
void RenderTaxCreditPage(QPainter& painter, const QRectF& page, const TaxCreditPage& data);

// A4 portrait through the program's one PDF writer.
WriteResult WriteTaxCreditPdfFile(const QString& path, const TaxCreditPage& data);

// On `printer` (already set up by the print dialog); false when printing failed.
bool PrintTaxCreditPage(QPrinter& printer, const TaxCreditPage& data);

}  // namespace zorvik
