#pragma once
// Keeps a test's settings in its own temporary folder, never in the real home folder.

#include <QSettings>
#include <QString>
#include <QTemporaryDir>

namespace zorvik {

inline void KeepSettingsIn(const QTemporaryDir& dir) {
  const QString folder = dir.filePath(QStringLiteral("settings"));
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

}  // namespace zorvik
