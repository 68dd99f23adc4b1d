#include "app/window_output.h"

#include <QDir>
#include <QPageSize>
#include <QPrinter>

#include "app/repayment_schedule_dlg.h"
#include "print/render/plan_printer.h"

namespace zorvik {

QString ProposedWindowFileName(const QString& customerName, const QString& title, const QString& suffix) {
  // The PDF name of the plan sheet already cleans a customer name for use as a file name.
  QString base = ProposedPdfFileName(customerName);
  base.chop(4);  // ".pdf"
  if (customerName.trimmed().isEmpty()) return title + QLatin1Char('.') + suffix;
  return base + QLatin1Char('_') + title + QLatin1Char('.') + suffix;
}

WindowOutput::WindowOutput(QWidget* owner, PrintInteraction& print, ScheduleSaveUi& save, QString caption,
                           QString fileTitle)
    : owner_(owner), print_(print), save_(save), caption_(std::move(caption)), fileTitle_(std::move(fileTitle)) {}

void WindowOutput::Save(const QString& folder, const std::string& customerName, const char* suffix, const char* filter,
                        const std::function<WriteResult(const QString& path)>& write) {
  const QString name =
      ProposedWindowFileName(QString::fromStdString(customerName), fileTitle_, QString::fromUtf8(suffix));
  const QString proposed = folder.isEmpty() ? name : QDir(folder).filePath(name);
  const auto ask = [this, suffix, filter](const QString& p) {
    if (filter == nullptr) return print_.GetPdfSavePath(owner_, p);
    return save_.GetSavePath(owner_, p, QString::fromUtf8(filter), QString::fromUtf8(suffix));
  };
  const QString path = ChooseSavePath(print_, owner_, proposed, caption_, ask);
  if (path.isEmpty()) return;
  const WriteResult written = write(path);
  if (written) return;
  print_.ShowWarning(owner_,
                     QString::fromUtf8(kScheduleSaveFailedMessage) + QStringLiteral("\n") +
                         QDir::toNativeSeparators(path) + WriteFailureReasonLine(written),
                     caption_);
}

void WindowOutput::Print(QPageLayout::Orientation orientation, const std::function<bool(QPrinter&)>& print,
                         const std::function<void()>& savePdf) {
  if (!print_.HasPrinter()) {
    // The schedule's message, naming what this window saves.
    QString message = QString::fromUtf8(kScheduleNoPrinterMessage);
    message.replace(QStringLiteral("返済予定表を"), fileTitle_ + QStringLiteral("を"));
    if (OfferPdfWithoutPrinter(owner_, print_, caption_, message, caption_)) {
      savePdf();
    }
    return;
  }
  // The printer the user picked last, on A4 paper in this window's orientation.
  QPrinter& printer = print_.ApplicationPrinter();
  printer.setPageOrientation(orientation);
  printer.setPageSize(QPageSize(QPageSize::A4));
  if (!print_.RunPrintDialog(owner_, printer)) return;
  if (!print(printer)) print_.ShowWarning(owner_, QString::fromUtf8(kSchedulePrintFailedMessage), caption_);
}

}  // namespace zorvik
