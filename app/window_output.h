#pragma once
// Printing and saving from a tool window (返済予定表, 金利シナリオ, プラン比較), the same way in each:
// the save dialog on the customer's file name in the data folder, the question before a file is
// replaced, the failure message with the file and why; printing on the application's printer
// (A4, the window's orientation) and, without a printer, the offer to save a PDF instead.

#include <QPageLayout>
#include <QString>
#include <functional>
#include <string>

#include "io/file_access.h"

class QPrinter;
class QWidget;

namespace zorvik {

class PrintInteraction;
class ScheduleSaveUi;

// "山田 太郎_返済予定表.xlsx", "返済予定表.csv" without a name; characters a file name cannot hold
// become "_".
QString ProposedWindowFileName(const QString& customerName, const QString& title, const QString& suffix);

class WindowOutput {
 public:
  // `caption` titles the boxes; `fileTitle` names the files ("返済予定表").
  WindowOutput(QWidget* owner, PrintInteraction& print, ScheduleSaveUi& save, QString caption, QString fileTitle);

  // Asks where (`filter` null: the PDF dialog), then writes with `write`; a failure is reported.
  void Save(const QString& folder, const std::string& customerName, const char* suffix, const char* filter,
            const std::function<WriteResult(const QString& path)>& write);
  // Prints with `print`; without a printer offers a PDF instead and runs `savePdf` when chosen.
  void Print(QPageLayout::Orientation orientation, const std::function<bool(QPrinter&)>& print,
             const std::function<void()>& savePdf);

 private:
  QWidget* owner_;
  PrintInteraction& print_;
  ScheduleSaveUi& save_;
  QString caption_;
  QString fileTitle_;
};

}  // namespace zorvik
