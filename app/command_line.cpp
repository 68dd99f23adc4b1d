#include "app/command_line.h"

#include <QFileInfo>
#include <QUrl>

#include "app/zorvik_app.h"

namespace zorvik {

namespace {

QString AbsolutePlanPath(const QString& argument) {
  QString path = argument;
  if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) path = QUrl(argument).toLocalFile();
  if (path.isEmpty()) return QString();
  return QFileInfo(path).absoluteFilePath();
}

}  // namespace

QString PlanPathFromArguments(const QStringList& arguments) {
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments.at(i);
    if (argument == QLatin1String("--")) {
      return i + 1 < arguments.size() ? AbsolutePlanPath(arguments.at(i + 1)) : QString();
    }
    if (argument == QLatin1String("--screenshot")) {
      ++i;  // its image path is no plan
      continue;
    }
    if (argument.startsWith(QLatin1Char('-')) || argument.isEmpty()) continue;
    return AbsolutePlanPath(argument);
  }
  return QString();
}

QString DescribePaths(const CZorvikApp& app) {
  const auto line = [](const char* name, const QString& value) {
    return QString::fromLatin1(name) + QLatin1String(": ") + value + QLatin1Char('\n');
  };
  return line("layout",
              app.layout() == InstallLayout::Installed ? QStringLiteral("installed") : QStringLiteral("portable")) +
         line("program", app.programDirectory()) + line("rate master", app.RateMasterPath()) +
         line("rate master download", app.RateMasterDownloadPath()) + line("license", app.LicensePath()) +
         line("help", app.ResolveDirectoryPath(kHelpDirectory, QStringLiteral("index.html"), true)) +
         line("plans", app.ResolveDirectoryPath(kDataDirectory, QString(), false)) +
         line("program folder", app.ResolveDirectoryPath(kProgramDirectory, QString(), false));
}

}  // namespace zorvik
