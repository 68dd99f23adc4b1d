#pragma once
// Qt's own dialogs and buttons in Japanese: the file dialogs ("名前を付けて保存", "ファイル名") and
// the message-box buttons (はい / いいえ / キャンセル) come from Qt's catalogue "qtbase_ja.qm"
// (Debian: qt6-translations-l10n) in Qt's translations folder. The program is Japanese whatever
// the system's language; its own texts are written in Japanese and need no catalogue.
//
// Header-only, so that the program and the test programs load the catalogue the same way.

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zorvik {

// Installs Qt's Japanese catalogue for the whole application, once; later calls do nothing.
// Returns whether the catalogue is installed (false when it is not on the system, in which
// case Qt's texts stay English).
inline bool InstallQtJapaneseTranslations() {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return false;
  static const char* const kName = "zorvikQtJapanese";
  if (app->findChild<QTranslator*>(QString::fromLatin1(kName), Qt::FindDirectChildrenOnly) != nullptr) return true;
  auto* translator = new QTranslator(app);
  translator->setObjectName(QString::fromLatin1(kName));
  if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}

}  // namespace zorvik
