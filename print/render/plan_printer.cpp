#include "print/render/plan_printer.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <cmath>

#include "core/control_ids.h"
#include "io/file_access.h"
#include "print/render/pdf_file.h"
#include "print/render/sheet_renderer.h"

namespace zorvik {

namespace {

class QtPrintInteraction : public PrintInteraction {
 public:
  bool HasPrinter() override {
    return !QPrinterInfo::defaultPrinter().isNull() || !QPrinterInfo::availablePrinterNames().isEmpty();
  }

  QPrinter& ApplicationPrinter() override {
    if (!applicationPrinter_) applicationPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *applicationPrinter_;
  }

  void ShowInformation(QWidget* owner, const QString& text, const QString& caption) override {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, owner);
    ExecAfterPendingEvents(box);
  }

  void ShowWarning(QWidget* owner, const QString& text, const QString& caption) override {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, owner);
    ExecAfterPendingEvents(box);
  }

  bool OfferPdfInstead(QWidget* owner, const QString& text, const QString& caption) override {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, owner);
    QPushButton* pdf = box.addButton(QString::fromUtf8(kSavePdfButtonText), QMessageBox::AcceptRole);
    box.setDefaultButton(pdf);
    box.setEscapeButton(QMessageBox::Ok);
    ExecAfterPendingEvents(box);
    return box.clickedButton() == pdf;
  }

  bool ConfirmReplace(QWidget* owner, const QString& caption) override {
    QMessageBox box(QMessageBox::Question, caption, QString::fromUtf8(kReplaceFileQuestion),
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::No);
    ExecAfterPendingEvents(box);
    return box.clickedButton() == box.button(QMessageBox::Yes);
  }

  bool RunPrintDialog(QWidget* owner, QPrinter& printer) override {
    QPrintDialog dialog(&printer, owner);
    // No page range, no selection, no current page, no print to file; copies and collation
    // stay with the printer's settings.
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies);
    return dialog.exec() == QDialog::Accepted;
  }

  QString GetPdfSavePath(QWidget* owner, const QString& proposedPath) override {
    return RunSaveFileDialog(owner, proposedPath, QString::fromUtf8(kPdfFilter), QStringLiteral("pdf"));
  }

  int DisplayDpi() override {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 0;
    return static_cast<int>(std::lround(screen->logicalDotsPerInchY()));
  }

 private:
  std::unique_ptr<QPrinter> applicationPrinter_;
};

// The caption of the Windows no-printer message: the program's own name.
QString ApplicationCaption() {
  const QString name = QGuiApplication::applicationDisplayName();
  return name.isEmpty() ? QString::fromUtf8(kPrintMessageCaption) : name;
}

}  // namespace

namespace {

// The application's printer settings live as long as the application object: a printer must
// not outlive the platform plugin it was created with, so it is released from
// QCoreApplication's destructor rather than at process exit.
QtPrintInteraction* defaultInteraction = nullptr;

void ReleaseDefaultInteraction() {
  delete defaultInteraction;
  defaultInteraction = nullptr;
}

}  // namespace

QString RunSaveFileDialog(QWidget* owner, const QString& proposedPath, const QString& filter, const QString& suffix) {
  const QFileInfo proposed(proposedPath);
  QFileDialog dialog(owner, QString(), proposed.absolutePath(), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(suffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.selectFile(proposed.fileName());
  if (dialog.exec() != QDialog::Accepted) return QString();
  return dialog.selectedFiles().value(0);
}

QString ChooseSavePath(PrintInteraction& ui, QWidget* owner, const QString& proposedPath, const QString& caption,
                       const std::function<QString(const QString&)>& ask) {
  QString proposed = proposedPath;
  for (;;) {
    const QString path = ask(proposed);
    // A folder of that name is not replaced: writing there fails and says so.
    if (path.isEmpty() || !QFileInfo(path).isFile() || ui.ConfirmReplace(owner, caption)) return path;
    proposed = path;
  }
}

int ExecAfterPendingEvents(QDialog& dialog) {
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  dialog.setAttribute(Qt::WA_ShowModal, true);
  QMetaObject::invokeMethod(&dialog, &QDialog::show, Qt::QueuedConnection);
  loop.exec(QEventLoop::DialogExec);
  return dialog.result();
}

PrintInteraction& DefaultPrintInteraction() {
  if (defaultInteraction == nullptr) {
    defaultInteraction = new QtPrintInteraction;
    qAddPostRoutine(ReleaseDefaultInteraction);
  }
  return *defaultInteraction;
}

bool OfferPdfWithoutPrinter(QWidget* owner, PrintInteraction& ui, const QString& windowsCaption, const QString& message,
                            const QString& caption) {
#ifdef Q_OS_WIN
  Q_UNUSED(message);
  Q_UNUSED(caption);
  ui.ShowInformation(owner, QString::fromUtf8(kNoPrinterMessage), windowsCaption);
  return false;
#else
  // The Windows text names Windows folders and drivers; here the user reads what is missing in
  // plain words and can save a PDF right away.
  Q_UNUSED(windowsCaption);
  return ui.OfferPdfInstead(owner, message, caption);
#endif
}

PrintResult PrintPlanSheet(QWidget* owner, const PlanTexts& texts, const PlanDate& date, int& printFlag,
                           PrintInteraction& ui) {
  // Without a printer there is nothing to print on.
  if (!ui.HasPrinter()) {
    return OfferPdfWithoutPrinter(owner, ui, ApplicationCaption(), QString::fromUtf8(kNoPrinterSetUpMessage),
                                  QString::fromUtf8(kPrintMessageCaption))
               ? PrintResult::SavePdfChosen
               : PrintResult::NotPrinted;
  }

  // Every print starts from A4 landscape, in the application's printer settings, which keep
  // the printer the user picked last time. (After a cancelled dialog the printer's own defaults,
  // often portrait, would distort the landscape sheet.)
  QPrinter& applicationPrinter = ui.ApplicationPrinter();
  applicationPrinter.setPageOrientation(QPageLayout::Landscape);
  applicationPrinter.setPageSize(QPageSize(QPageSize::A4));
  QPrinter* printer = &applicationPrinter;

  // Remind the user to check the paper; the answer is not looked at.
  ui.ShowInformation(owner, QString::fromUtf8(kPaperCheckMessage), QString::fromUtf8(kPrintMessageCaption));

  // The print dialog.
  if (!ui.RunPrintDialog(owner, *printer)) {
    printFlag = 1;
    return PrintResult::NotPrinted;
  }

  // One page on the chosen printer. Failures of the output are not reported.
  printer->setDocName(QString::fromUtf8(kSheetDocumentName));
  printer->setFullPage(false);
  QPainter painter;
  if (!painter.begin(printer)) return PrintResult::NotPrinted;
  const PageModel model =
      BuildPageModel(painter.device()->width(), painter.device()->height(), ui.DisplayDpi(), texts, date);
  RenderPageModel(painter, model);
  painter.end();
  return PrintResult::Printed;
}

PageModel BuildPdfPageModel(const PlanTexts& texts, const PlanDate& date, int displayDpi) {
  return BuildPageModel(kReferencePageWidth, kReferencePageHeight, displayDpi, texts, date);
}

WriteResult WritePlanSheetPdfFile(const QString& path, const PageModel& model) {
  return WritePdfFile(path, [&model](QIODevice& out) { return WritePageModelPdf(out, model); });
}

QString ProposedPdfFileName(const QString& customerName) {
  QString name = CleanFileNameBase(customerName);
  if (name.isEmpty()) name = QString::fromUtf8(kSheetDocumentName);
  return name + QStringLiteral(".pdf");
}

bool SavePlanSheetPdf(QWidget* owner, const PlanTexts& texts, const PlanDate& date, const QString& dataFolder,
                      PrintInteraction& ui) {
  const QString fileName = ProposedPdfFileName(QString::fromStdString(texts.customerName));
  const QString proposed = dataFolder.isEmpty() ? fileName : QDir(dataFolder).filePath(fileName);
  const QString path = ChooseSavePath(ui, owner, proposed, QString::fromUtf8(kPrintMessageCaption),
                                      [&ui, owner](const QString& p) { return ui.GetPdfSavePath(owner, p); });
  if (path.isEmpty()) return false;
  const PageModel model = BuildPdfPageModel(texts, date, ui.DisplayDpi());
  const WriteResult written = WritePlanSheetPdfFile(path, model);
  if (!written) {
    ui.ShowWarning(owner,
                   QString::fromUtf8(kPdfSaveFailedMessage) + QStringLiteral("\n") + QDir::toNativeSeparators(path) +
                       WriteFailureReasonLine(written),
                   QString::fromUtf8(kPrintMessageCaption));
    return false;
  }
  return true;
}

}  // namespace zorvik
