// Test main for programs that need a Qt application object (widgets, network, fonts).
// Runs headless: the offscreen platform is chosen unless the caller set another one. Qt's own
// texts are Japanese, as in the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

#include "app/qt_translations.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  // As in the program: Qt's own buttons and dialogs in Japanese.
  zorvik::InstallQtJapaneseTranslations();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
