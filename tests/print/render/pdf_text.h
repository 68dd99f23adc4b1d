#pragma once
// Reading a PDF back in tests with poppler's command-line tools, where they are installed.

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <optional>

namespace zorvik {

// The text of a PDF as pdftotext extracts it (UTF-8), or nothing when pdftotext is missing or fails.
inline std::optional<QString> PdfText(const QString& path, const QStringList& options = {}) {
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
  if (tool.isEmpty()) return std::nullopt;
  QProcess process;
  process.start(tool, QStringList(options)
                          << QStringLiteral("-enc") << QStringLiteral("UTF-8") << path << QStringLiteral("-"));
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return std::nullopt;
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace zorvik
