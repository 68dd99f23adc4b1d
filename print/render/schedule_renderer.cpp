#include "print/render/schedule_renderer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <functional>

#include "print/render/pdf_file.h"
#include "print/render/schedule_chart.h"
#include "print/render/sheet_renderer.h"

namespace zorvik {
namespace {

// Chart texts: 20 units on the 800-unit-wide chart, about 8 points on the page.
QFont ChartFont() {
  QFont font(SheetFontFamily());
  font.setPixelSize(15);
  return font;
}

bool SetLayout(QPdfWriter& writer, QPageLayout::Orientation orientation) {
  return writer.setPageLayout(
      QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

// Draws `pages` on a device whose pages are already set up; `origin` and `scale` place the model.
void RenderAll(QPainter& painter, const SchedulePages& pages, const std::function<bool()>& newPage,
               const std::function<void(QPainter&)>& placeModel) {
  for (size_t i = 0; i < pages.pages.size(); ++i) {
    if (i > 0 && !newPage()) return;
    painter.save();
    placeModel(painter);
    RenderSchedulePage(painter, pages, i);
    painter.restore();
  }
}

}  // namespace

void RenderSchedulePage(QPainter& painter, const SchedulePages& pages, size_t index) {
  if (index >= pages.pages.size()) return;
  const SchedulePage& page = pages.pages[index];
  PageModel model;
  model.ops = page.ops;
  RenderPageModel(painter, model);
  if (page.hasChart && !pages.chartYears.empty()) {
    const PageBox& b = page.chartBox;
    DrawScheduleChart(painter, QRectF(b.left, b.top, b.right - b.left, b.bottom - b.top), pages.chartYears,
                      ChartFont());
  }
}

bool WriteSchedulePdf(QIODevice& out, const SchedulePages& pages, const PageModel* sheet) {
  QPdfWriter writer(&out);
  writer.setResolution(kSchedulePageDpi);
  writer.setTitle(QString::fromUtf8(sheet != nullptr ? kSheetDocumentName : kScheduleDocumentName));
  writer.setCreator(QStringLiteral("Zorvik"));
  if (!SetLayout(writer, sheet != nullptr ? QPageLayout::Landscape : QPageLayout::Portrait)) return false;
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  if (sheet != nullptr) {
    painter.save();
    painter.translate(std::max(0, (writer.width() - sheet->metrics.H) / 2),
                      std::max(0, (writer.height() - sheet->metrics.V) / 2));
    RenderPageModel(painter, *sheet);
    painter.restore();
    if (!pages.pages.empty() && (!SetLayout(writer, QPageLayout::Portrait) || !writer.newPage())) {
      painter.end();
      return false;
    }
  }
  bool pagesOk = true;
  RenderAll(
      painter, pages,
      [&writer, &pagesOk] {
        pagesOk = writer.newPage();
        return pagesOk;
      },
      [&writer, &pages](QPainter& p) {
        p.translate(std::max(0, (writer.width() - pages.width) / 2), std::max(0, (writer.height() - pages.height) / 2));
      });
  return painter.end() && pagesOk;
}

WriteResult WriteSchedulePdfFile(const QString& path, const SchedulePages& pages, const PageModel* sheet) {
  return WritePdfFile(path, [&](QIODevice& out) { return WriteSchedulePdf(out, pages, sheet); });
}

bool PrintSchedulePages(QPrinter& printer, const SchedulePages& pages) {
  printer.setDocName(QString::fromUtf8(kScheduleDocumentName));
  printer.setFullPage(false);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const double scale = std::min(static_cast<double>(painter.device()->width()) / pages.width,
                                static_cast<double>(painter.device()->height()) / pages.height);
  RenderAll(
      painter, pages, [&printer] { return printer.newPage(); }, [scale](QPainter& p) { p.scale(scale, scale); });
  return painter.end();
}

}  // namespace zorvik
