#pragma once
// Printing the plan sheet on button "印 刷", and saving it as a PDF document.
//
// Flow: form texts + date integers -> page model (print/page_model.h) -> QPainter on the printer
// or PDF (print/render/sheet_renderer.h). Printing computes nothing and changes nothing in the plan.
//
// Everything that talks to the user or the printing system (is there a printer, the message
// boxes, the print and file dialogs, the display resolution) goes through PrintInteraction,
// so that tests can script it and never reach a real printer.

#include <QString>
#include <functional>
#include <memory>

#include "core/funding_plan.h"
#include "core/plan_form_view.h"
#include "core/product_name.h"
#include "io/file_access.h"
#include "print/page_model.h"

class QDialog;
class QPrinter;
class QWidget;

namespace zorvik {

// Texts shown by printing and the PDF export.
inline constexpr const char* kNoPrinterMessage =
    "Windows で印刷に利用できるプリンタが指定されていません。\n\n"
    "●ﾏｲｺﾝﾋﾟｭｰﾀの中の「ﾌﾟﾘﾝﾀ」を開いて通常利用するﾌﾟﾘﾝﾀを確認して下さい。\n"
    "●接続されているプリンタに対応した Windows のプリンタドライバが正しく\n"
    "  設定されているか調べて下さい。\n\n"
    "今回、印刷は行ないません。\n";
// Without a printer on systems other than Windows: what to do, and the way out through a PDF.
// Short lines, broken between phrases, so that the message box never breaks inside a word.
inline constexpr const char* kNoPrinterSetUpMessage =
    "印刷に使えるプリンターが設定されていません。\n\n"
    "プリンターを設定してから、もう一度印刷して下さい。\n"
    "「PDFに保存」で、資金計画表を\nPDFファイルに保存することもできます。\n\n"
    "今回、印刷は行いません。";
inline constexpr const char* kSavePdfButtonText = "PDFに保存";
inline constexpr const char* kPaperCheckMessage =
    "\n用紙のサイズ ⇒ Ａ４， 印刷方向 ⇒ 横\n\nになっているか確認してから印刷して下さい。";
inline constexpr const char* kPrintMessageCaption = kProductCaption;
inline constexpr const char* kPdfFilter = "PDF (*.pdf)";
inline constexpr const char* kPdfSaveFailedMessage = "PDFファイルを保存できませんでした。";
inline constexpr const char* kReplaceFileQuestion = "同じ名前のファイルが存在します。\n上書きしますか？";

class PrintInteraction {
 public:
  virtual ~PrintInteraction() = default;

  // Whether the system has a printer to print on (a default printer, or at least one printer).
  virtual bool HasPrinter() = 0;
  // The application's printer settings: created from the default printer's settings on first
  // use and kept, with every change made to them, until the process ends.
  virtual QPrinter& ApplicationPrinter() = 0;

  // Information box, OK button; `owner` null means an unowned box.
  virtual void ShowInformation(QWidget* owner, const QString& text, const QString& caption) = 0;
  // Warning box, OK button.
  virtual void ShowWarning(QWidget* owner, const QString& text, const QString& caption) = 0;
  // Information box with the buttons "PDFに保存" and OK; true when the user chose "PDFに保存".
  virtual bool OfferPdfInstead(QWidget* owner, const QString& text, const QString& caption) = 0;
  // Question box "同じ名前のファイルが存在します。\n上書きしますか？" with Yes and No (the default);
  // true for Yes.
  virtual bool ConfirmReplace(QWidget* owner, const QString& caption) = 0;

  // The print dialog on `printer`, without page-range, selection and print-to-file choices.
  // True when the user confirmed it; the choices are then in `printer`.
  virtual bool RunPrintDialog(QWidget* owner, QPrinter& printer) = 0;

  // Save dialog for a PDF (RunSaveFileDialog with filter "PDF (*.pdf)", default suffix pdf)
  // starting at `proposedPath`. The chosen path, or empty when cancelled.
  virtual QString GetPdfSavePath(QWidget* owner, const QString& proposedPath) = 0;

  // Dots per inch of the display, used to turn font point sizes into pixels; 0 when unknown.
  virtual int DisplayDpi() = 0;
};

// The save dialog of every file the program writes. It opens in the folder of `proposedPath`
// with the bare file name filled in (a name with its folder would be taken relative to the
// dialog's folder once more: "LoanData/LoanData/..."), shows the one `filter` and adds `suffix`
// to a name typed without one. Qt's own question about an existing file is off: it would open
// while the dialog is closing and never be painted; callers ask with ChooseSavePath. The chosen
// path, or empty when cancelled.
QString RunSaveFileDialog(QWidget* owner, const QString& proposedPath, const QString& filter, const QString& suffix);

// A save dialog (`ask`, given the path to propose) until the user picks a name that is not a
// file yet or agrees to replace the file (ui.ConfirmReplace); after No the dialog opens again
// on the chosen name. Empty when cancelled.
QString ChooseSavePath(PrintInteraction& ui, QWidget* owner, const QString& proposedPath, const QString& caption,
                       const std::function<QString(const QString&)>& ask);

// Runs `dialog` application-modal, like QDialog::exec, but shows it from a queued call, once the
// events already waiting are handled. A box shown while the window system is still moving the
// focus (a save dialog that has just closed, a box that lost the focus) is mapped before that
// change completes and stays unpainted, black; shown afterwards it is laid out and drawn.
// Returns the dialog's result code.
int ExecAfterPendingEvents(QDialog& dialog);

// The real dialogs, message boxes and printers. One instance keeps the application's printer
// settings for the whole run; it is released when the QApplication object is destroyed.
PrintInteraction& DefaultPrintInteraction();

enum class PrintResult {
  Printed,        // the sheet went to the printer
  NotPrinted,     // no printer, or the print dialog was cancelled
  SavePdfChosen,  // no printer, and the user chose "PDFに保存" instead: the caller runs that command
};

// "印 刷" (button 1000). Without a printer, Windows users read how to set one up; elsewhere the
// message offers "PDFに保存" instead. Every print starts from A4 landscape in the application's
// printer settings, keeping the printer the user picked. `printFlag` is the form's print flag: 0 at
// start-up, set to 1 when the user cancels the print dialog; the layout no longer depends on it.
// `date` is the form's date integers.
PrintResult PrintPlanSheet(QWidget* owner, const PlanTexts& texts, const PlanDate& date, int& printFlag,
                           PrintInteraction& ui = DefaultPrintInteraction());

// The sheet for the PDF page: the reference printable area, 6774 x 4720 pixels at 600 dpi.
PageModel BuildPdfPageModel(const PlanTexts& texts, const PlanDate& date, int displayDpi);

// Writes the one-page PDF of `model` to `path` atomically (io/file_access.h): the file appears
// complete or not at all, an existing file is replaced only on success, and only a regular file
// or a new name is replaced. Returns false on any failure, a full disk included.
WriteResult WritePlanSheetPdfFile(const QString& path, const PageModel& model);

// What a print command does without a printer: Windows users read how to set one up (under
// `windowsCaption`); elsewhere `message` says in plain words that none is set up and offers
// "PDFに保存" instead. True when the user chose the PDF.
bool OfferPdfWithoutPrinter(QWidget* owner, PrintInteraction& ui, const QString& windowsCaption, const QString& message,
                            const QString& caption);

// The proposed PDF file name for a customer: the name with characters that cannot be part of a
// file name replaced by "_", plus ".pdf"; "資金計画表.pdf" for an empty name.
QString ProposedPdfFileName(const QString& customerName);

// "PDFに保存(&P)...": asks for a file (proposed: the customer name, in `dataFolder`) and writes
// the sheet there. A failure to write is reported in a warning box. Returns whether a PDF was
// written (false also when the user cancelled).
bool SavePlanSheetPdf(QWidget* owner, const PlanTexts& texts, const PlanDate& date, const QString& dataFolder,
                      PrintInteraction& ui = DefaultPrintInteraction());

}  // namespace zorvik
