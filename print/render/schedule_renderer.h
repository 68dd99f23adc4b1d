#pragma once
// Draws the repayment schedule pages (print/schedule_pages.h) with QPainter: the operations of
// each page as the plan sheet's renderer draws them, and the chart in its box.
//
// On a PDF the printable area of the A4 portrait page is the model's 4720 x 6774 pixels at
// 600 dpi, centred on the paper. On a printer the model is scaled (same factor both ways) to
// the printable area of the chosen paper.

#include <QString>

#include "io/file_access.h"
#include "print/page_model.h"
#include "print/schedule_pages.h"

class QIODevice;
class QPainter;
class QPrinter;

namespace zorvik {

// Draws page `index` with the painter's origin at the top-left corner of the printable area
// and model pixels as units.
void RenderSchedulePage(QPainter& painter, const SchedulePages& pages, size_t index);

// The schedule pages as a PDF; with `sheet`, the plan sheet comes first on an A4 landscape page
// (as WritePageModelPdf draws it). False when the PDF could not be produced.
bool WriteSchedulePdf(QIODevice& out, const SchedulePages& pages, const PageModel* sheet = nullptr);

// Writes that PDF to `path` atomically; false on any failure (an existing file is then unchanged).
WriteResult WriteSchedulePdfFile(const QString& path, const SchedulePages& pages, const PageModel* sheet = nullptr);

// Prints the pages on `printer` (A4 portrait is set before the print dialog by the caller).
// False when the printer could not be started.
bool PrintSchedulePages(QPrinter& printer, const SchedulePages& pages);

}  // namespace zorvik
