#include "app/zorvik_app.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>
#include <memory>

#include "app/funding_plan_dlg.h"
#include "io/rate_master.h"

namespace zorvik {

namespace {

constexpr char kOrganization[] = "Quorvane";
constexpr char kFilesSection[] = "FILES";
constexpr char kSettingsSection[] = "Settings";
constexpr char kVersionMajorKey[] = "VERSION_MAJOR";
constexpr char kVersionMinorKey[] = "VERSION_MINOR";
constexpr char kScreeningRateKey[] = "SCREENING_RATE";
constexpr double kDefaultScreeningRate = 3.0;

struct DirectoryEntry {
  const char* key;
  const char* defaultValue;
};

// Index = DirectoryIndex. The backup default is a Windows drive path kept for compatibility
// with existing stores; nothing but the store itself ever reads it.
constexpr DirectoryEntry kDirectoryEntries[kDirectoryCount] = {
    {"INSTALL_DIRECTORY", "."},      {"PROGRAM_DIRECTORY", "?Program"}, {"DATA_DIRECTORY", "?LoanData"},
    {"HELP_DIRECTORY", "?LoanHelp"}, {"BACKUP_DIRECTORY", "A:\\"},
};

const QChar kBelowInstall = QLatin1Char('?');

bool EndsWithSeparator(const QString& path) {
  return !path.isEmpty() && path.back() == QDir::separator();
}

// The executable's base name names the application in the settings store.
QString ExecutableBaseName() {
  const QString file = QCoreApplication::applicationFilePath();
  if (file.isEmpty()) return QCoreApplication::applicationName();
  return QFileInfo(file).completeBaseName();
}

QString SettingsKey(const char* section, const char* key) {
  return QString::fromLatin1(section) + QLatin1Char('/') + QString::fromLatin1(key);
}

}  // namespace

std::unique_ptr<QSettings> OpenSettingsStore() {
  return std::make_unique<QSettings>(QSettings::defaultFormat(), QSettings::UserScope,
                                     QString::fromLatin1(kOrganization), ExecutableBaseName());
}

QString JoinPath(const QString& base, const QString& name) {
  if (EndsWithSeparator(base)) return base + name;
  return base + QDir::separator() + name;
}

QString StripDebugComponent(const QString& programDirectory) {
  // Qt hands out '/' on every platform; a stored Windows path may use '\'. Only a last
  // component spelled exactly "Debug" is the build configuration's folder.
  static const QString kDebug = QStringLiteral("Debug");
  if (!programDirectory.endsWith(kDebug)) return programDirectory;
  const qsizetype cut = programDirectory.size() - kDebug.size();
  if (cut == 0) return programDirectory;  // a bare relative "Debug" names nothing above it
  const QChar before = programDirectory[cut - 1];
  if (before != QLatin1Char('/') && before != QLatin1Char('\\')) return programDirectory;
  QString parent = programDirectory.left(cut - 1);
  // "/Debug" or "C:\Debug": the parent is the root itself, which keeps its separator.
  if (parent.isEmpty() || (parent.size() == 2 && parent[1] == QLatin1Char(':'))) parent += before;
  return parent;
}

CZorvikApp::CZorvikApp() {
  for (int i = 0; i < kDirectoryCount; ++i) directories_[static_cast<size_t>(i)] = QString();
  if (QCoreApplication::instance() != nullptr) {
    userFolders_ = StandardUserFolders();
    setProgramDirectory(QCoreApplication::applicationDirPath());
  }
}

void CZorvikApp::setProgramDirectory(const QString& dir) {
  programDirectory_ = StripDebugComponent(dir);
  places_ = ResolveInstallPlaces(programDirectory_, userFolders_);
}

void CZorvikApp::setUserFolders(const UserFolders& user) {
  userFolders_ = user;
  places_ = ResolveInstallPlaces(programDirectory_, userFolders_);
}

QString CZorvikApp::QuestionBase(int index) const {
  if (places_.layout == InstallLayout::Portable) return directories_[0];
  switch (index) {
    case kDataDirectory:
      return places_.user.documents;
    case kHelpDirectory:
      return places_.shippedFolder;
    default:
      return places_.user.appData;
  }
}

bool CZorvikApp::MayCreateQuestionFolder(int index) const {
  return places_.layout == InstallLayout::Portable || index != kHelpDirectory;
}

bool CZorvikApp::LoadSettings() {
  std::unique_ptr<QSettings> store = OpenSettingsStore();
  const QString install = store
                              ->value(SettingsKey(kFilesSection, kDirectoryEntries[0].key),
                                      QString::fromUtf8(kDirectoryEntries[0].defaultValue))
                              .toString();
  directories_[0] = install;
  for (int i = 1; i < kDirectoryCount; ++i) {
    const DirectoryEntry& entry = kDirectoryEntries[i];
    // A key present with an empty value stays empty; only a missing key takes the default.
    const QString value =
        store->value(SettingsKey(kFilesSection, entry.key), QString::fromUtf8(entry.defaultValue)).toString();
    directories_[static_cast<size_t>(i)] = value;
    if (value.startsWith(kBelowInstall) && MayCreateQuestionFolder(i)) {
      // One level only: a missing parent or an existing folder is passed over without a word.
      // The per-user place of an installed copy (the Documents or application data folder) is
      // made first, since a new account may not have it yet.
      // Without a per-user place nothing is made (never a folder at the root).
      const QString base = QuestionBase(i);
      if (places_.layout == InstallLayout::Installed) {
        if (base.isEmpty()) continue;
        QDir().mkpath(base);
      }
      QDir().mkdir(JoinPath(base, value.mid(1)));
    }
  }
  bool ok = false;
  int major = store->value(SettingsKey(kSettingsSection, kVersionMajorKey), 1).toInt(&ok);
  versionMajor_ = ok ? major : 1;
  int minor = store->value(SettingsKey(kSettingsSection, kVersionMinorKey), 0).toInt(&ok);
  versionMinor_ = ok ? minor : 0;
  settingsSaved_ = false;
  return true;
}

bool CZorvikApp::SaveSettings() {
  std::unique_ptr<QSettings> store = OpenSettingsStore();
  for (int i = 0; i < kDirectoryCount; ++i) {
    store->setValue(SettingsKey(kFilesSection, kDirectoryEntries[i].key), directories_[static_cast<size_t>(i)]);
  }
  store->setValue(SettingsKey(kSettingsSection, kVersionMajorKey), versionMajor_);
  store->setValue(SettingsKey(kSettingsSection, kVersionMinorKey), versionMinor_);
  store->sync();  // a failed write is not reported
  settingsSaved_ = true;
  return true;
}

QString CZorvikApp::ResolveDirectoryPath(int index, const QString& fileName, bool withFileName) const {
  if (index < 0 || index >= kDirectoryCount) return QString();
  const QString& entry = directories_[static_cast<size_t>(index)];
  if (entry.startsWith(kBelowInstall)) {
    const QString folder = JoinPath(QuestionBase(index), entry.mid(1));
    return withFileName ? folder + QDir::separator() + fileName : folder;
  }
  return withFileName ? JoinPath(entry, fileName) : entry;
}

double CZorvikApp::ScreeningRatePercent() const {
  bool ok = false;
  const double rate =
      OpenSettingsStore()->value(SettingsKey(kSettingsSection, kScreeningRateKey)).toString().toDouble(&ok);
  return ok && rate > 0.0 && rate < 100.0 ? rate : kDefaultScreeningRate;
}

void CZorvikApp::SetScreeningRatePercent(double ratePercent) {
  if (!(ratePercent > 0.0 && ratePercent < 100.0)) return;
  std::unique_ptr<QSettings> store = OpenSettingsStore();
  // Three decimals, as the rate is shown; written with a point whatever the locale.
  store->setValue(SettingsKey(kSettingsSection, kScreeningRateKey), QString::number(ratePercent, 'f', 3));
  store->sync();
}

QString CZorvikApp::RateMasterPath() const {
  const QString name = QString::fromLatin1(kRateMasterFileName);
  if (places_.layout == InstallLayout::Portable) return JoinPath(programDirectory_, name);
  const QString downloaded = RateMasterDownloadPath();
  return QFileInfo(downloaded).isFile() ? downloaded : JoinPath(places_.shippedFolder, name);
}

QString CZorvikApp::RateMasterDownloadPath() const {
  return JoinPath(places_.rateMasterFolder, QString::fromLatin1(kRateMasterFileName));
}

QString CZorvikApp::LicensePath() const {
  return JoinPath(places_.shippedFolder, QStringLiteral("license.txt"));
}

int CZorvikApp::Run() {
  return Run(QString());
}

int CZorvikApp::Run(const QString& planPath) {
  setProgramDirectory(QCoreApplication::applicationDirPath());
  LoadSettings();
  {
    // The form saves the settings when its window is destroyed; should it not have done so,
    // they are saved here once it is gone, so a run always stores what it read.
    CFundingPlanDlg form(*this);
    // The plan is opened once the form is up, so a message about it stands over the window.
    if (!planPath.isEmpty()) QTimer::singleShot(0, &form, [&form, planPath] { form.OpenPlanFile(planPath); });
    form.exec();
  }
  if (!settingsSaved_) SaveSettings();
  return 0;
}

}  // namespace zorvik
