// Zorvik: funding plan sheet for home loans.
//
// The program takes no arguments. One hidden option, `--screenshot PATH`, renders the main form
// off-screen into an image file for the documentation and exits without touching the settings.
#include <QApplication>
#include <QFileInfo>
#include <QStringList>
#include <type_traits>

#include "app/zorvik_app.h"

#if __has_include("app/form_screenshot.h")
#include "app/form_screenshot.h"
#define ZORVIK_HAVE_FORM_SCREENSHOT 1
#else
#define ZORVIK_HAVE_FORM_SCREENSHOT 0
#endif

namespace {

int RunScreenshot(const QString& path) {
#if ZORVIK_HAVE_FORM_SCREENSHOT
  if constexpr (std::is_void_v<decltype(zorvik::SaveFormScreenshot(path))>) {
    zorvik::SaveFormScreenshot(path);
    return 0;
  } else {
    return zorvik::SaveFormScreenshot(path) ? 0 : 1;
  }
#else
  qWarning("zorvik: this build cannot render a screenshot of the form (%s)", qPrintable(path));
  return 1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Settings are kept under the maker's name and the executable's own base name.
  QApplication::setOrganizationName(QStringLiteral("Quorvane"));
  QApplication::setApplicationName(QFileInfo(QApplication::applicationFilePath()).completeBaseName());

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
  return zorvikApp.Run();
}
