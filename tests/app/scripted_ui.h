#pragma once
// The print and save dialogs of the windows, answered by the test: the next save path, a printer
// that writes a PDF into the test's folder, and every message box's text collected.

#include <QPageLayout>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include "app/repayment_schedule_dlg.h"
#include "print/render/plan_printer.h"

namespace zorvik {

class ScriptedUi : public PrintInteraction, public ScheduleSaveUi {
 public:
  explicit ScriptedUi(const QString& folder) : printer_(QPrinter::HighResolution) {
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setOutputFileName(folder + QStringLiteral("/printed.pdf"));
  }
  QString answer;  // path of the next save dialog
  QStringList warnings;
  QPageLayout::Orientation printedOrientation = QPageLayout::Landscape;

  bool hasPrinter = true;
  bool HasPrinter() override { return hasPrinter; }
  bool OfferPdfInstead(QWidget*, const QString& text, const QString&) override {
    warnings << text;
    return true;
  }
  QPrinter& ApplicationPrinter() override { return printer_; }
  void ShowInformation(QWidget*, const QString& text, const QString&) override { warnings << text; }
  void ShowWarning(QWidget*, const QString& text, const QString&) override { warnings << text; }
  bool RunPrintDialog(QWidget*, QPrinter& printer) override {
    printedOrientation = printer.pageLayout().orientation();
    return true;
  }
  bool ConfirmReplace(QWidget*, const QString&) override { return true; }
  QString GetPdfSavePath(QWidget*, const QString&) override { return answer; }
  int DisplayDpi() override { return 96; }
  QString GetSavePath(QWidget*, const QString&, const QString&, const QString&) override { return answer; }

 private:
  QPrinter printer_;
};

}  // namespace zorvik
