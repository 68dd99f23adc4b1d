#include "app/install_layout.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zorvik {

InstallLayout DetectInstallLayout(const QString& programDirectory) {
  if (programDirectory.isEmpty()) return InstallLayout::Portable;
  const QFileInfo program(programDirectory);
  // "bin" exactly: a build folder called "Bin" or "bin2" is a portable copy.
  if (program.fileName() != QLatin1String("bin")) return InstallLayout::Portable;
  const QFileInfo data(QDir(programDirectory).filePath(QString::fromLatin1(kInstalledDataRelative)));
  return data.isDir() ? InstallLayout::Installed : InstallLayout::Portable;
}

UserFolders StandardUserFolders() {
  UserFolders user;
  user.appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  user.documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (user.documents.isEmpty()) user.documents = QDir::homePath();
  return user;
}

InstallPlaces ResolveInstallPlaces(const QString& programDirectory, const UserFolders& user) {
  InstallPlaces places;
  places.layout = DetectInstallLayout(programDirectory);
  if (places.layout == InstallLayout::Portable) {
    places.shippedFolder = programDirectory;
    places.rateMasterFolder = programDirectory;
    return places;
  }
  places.shippedFolder = QDir::cleanPath(QDir(programDirectory).filePath(QString::fromLatin1(kInstalledDataRelative)));
  places.rateMasterFolder = user.appData;
  places.user = user;
  return places;
}

bool HomeAllowsStart(InstallLayout layout, const QString& home) {
  if (layout == InstallLayout::Portable) return true;
  // A relative value would be read against whatever folder the program was started in.
  if (home.isEmpty() || QDir::isRelativePath(home)) return false;
  return QFileInfo(home).isDir();
}

}  // namespace zorvik
