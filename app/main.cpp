// Zorvik: funding plan sheet for home loans.
//
// `zorvik [PLAN.zvk]`: with a plan named, the form starts with that plan open (app/command_line.h).
// Two hidden options: `--screenshot PATH` renders the main form off-screen into an image file for
// the documentation and exits without touching the settings; `--print-paths` prints where this
// copy reads and keeps its files (it reads the settings and makes the "?" folders as a start does).
// An installed copy without a usable home folder (HOME) refuses both, with exit status 1.
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "app/command_line.h"
#include "app/form_screenshot.h"
#include "app/install_layout.h"
#include "app/qt_translations.h"
#include "app/zorvik_app.h"
#include "ui/message_box_fit.h"

namespace {

int RunScreenshot(const QString& path) {
  return zorvik::SaveFormScreenshot(path) ? 0 : 1;
}

bool HasArgument(int argc, char** argv, const char* name) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return true;
  }
  return false;
}

// On X11/Wayland systems Qt aborts with a long diagnostic when there is no display; say it in
// one line instead, with the way out.
bool DisplayMissing() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
         qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
  return false;
#endif
}

// The refusal to start without a home folder: on standard error always, and in a message box
// when there is a screen to show it on (not for --print-paths, and not off-screen, where nobody
// could close the box).
void ReportUnusableHome(bool printOnly) {
  const QString message = QString::fromUtf8(zorvik::kHomeUnusableMessage);
  std::fputs(("zorvik: " + message + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
  const QString platform = QGuiApplication::platformName();
  if (printOnly || platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return;
  QMessageBox box(QMessageBox::Critical, QStringLiteral("ゾルビク"), message, QMessageBox::Ok);
  zorvik::WidenToLongestLine(box);
  box.exec();
}

}  // namespace

int main(int argc, char** argv) {
  // Under a limit on file size a write past it fails and is reported, instead of the signal
  // killing the program with the unsaved plan.
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  if (HasArgument(argc, argv, "--screenshot") || HasArgument(argc, argv, "--print-paths")) {
    // A picture of the form, or the list of paths, needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  } else if (DisplayMissing()) {
    std::fputs(
        "zorvik: no graphical display found (DISPLAY and WAYLAND_DISPLAY are empty); run it under Xvfb: "
        "xvfb-run -a ./zorvik\n",
        stderr);
    return 1;
  }
  QApplication app(argc, argv);
  // Settings are kept under the maker's name and the executable's own base name.
  QApplication::setOrganizationName(QStringLiteral("Quorvane"));
  QApplication::setApplicationName(QFileInfo(QApplication::applicationFilePath()).completeBaseName());
  // Lets a Wayland desktop match the window to the installed menu entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("com.quorvane.zorvik"));
  // Qt's standard dialogs and buttons speak Japanese, as the rest of the program does.
  zorvik::InstallQtJapaneseTranslations();

  const QStringList args = QApplication::arguments();
  const qsizetype shot = args.indexOf(QStringLiteral("--screenshot"));
  if (shot >= 0) {
    if (shot + 1 >= args.size()) {
      qWarning("zorvik: --screenshot needs a file name");
      return 2;
    }
    return RunScreenshot(args.at(shot + 1));
  }

  zorvik::CZorvikApp zorvikApp;
  const bool printPaths = args.contains(QStringLiteral("--print-paths"));
  if (!zorvik::HomeAllowsStart(zorvikApp.layout(), qEnvironmentVariable("HOME"))) {
    ReportUnusableHome(printPaths);
    return 1;
  }
  if (printPaths) {
    zorvikApp.LoadSettings();
    std::fputs(zorvik::DescribePaths(zorvikApp).toLocal8Bit().constData(), stdout);
    return 0;
  }
  return zorvikApp.Run(zorvik::PlanPathFromArguments(args));
}
