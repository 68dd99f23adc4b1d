#pragma once
// The application object: settings, directories and the start-up of the main form.
//
// Settings live in QSettings (organization "Quorvane", application = the executable's base
// name; the registry on Windows, the per-user config file elsewhere), sections "FILES" and
// "Settings". Directory values that begin with "?" name a folder below the install folder
// (entry 0) and keep their "?" form; they are resolved anew each time a path is asked for.
//
// In an installed copy (see install_layout.h) a "?" value is resolved below a per-user place
// instead of the install folder, whose value is still read and written back: "?Program" (and a
// "?" backup value) below the application data folder, "?LoanData" below the Documents folder,
// "?LoanHelp" below the shipped data folder. The stored values are the same in both layouts.

#include <QString>
#include <array>
#include <memory>

#include "app/install_layout.h"

class QSettings;

namespace zorvik {

// The program's settings store: QSettings' default format (the registry on Windows, an INI file
// in the per-user configuration folder elsewhere), organization "Quorvane". Windows that remember
// a choice (a scenario's rate types, a comparison's plans) keep it here, in sections of their own.
std::unique_ptr<QSettings> OpenSettingsStore();

enum DirectoryIndex : int {
  kInstallDirectory = 0,  // "INSTALL_DIRECTORY", default "."
  kProgramDirectory = 1,  // "PROGRAM_DIRECTORY", default "?Program"
  kDataDirectory = 2,     // "DATA_DIRECTORY", default "?LoanData": plan files
  kHelpDirectory = 3,     // "HELP_DIRECTORY", default "?LoanHelp": index.html
  kBackupDirectory = 4,   // "BACKUP_DIRECTORY", default "A:\"
};
inline constexpr int kDirectoryCount = 5;

// base + separator + name, with one separator only when base does not already end with it.
QString JoinPath(const QString& base, const QString& name);

// The executable's folder with a last path component "Debug" removed (a build tree's
// .../Work/Debug reads .../Work; .../Debugger stays as it is).
QString StripDebugComponent(const QString& programDirectory);

class CZorvikApp {
 public:
  CZorvikApp();

  // Reads the settings (defaults where a key is missing; a present but empty key stays empty)
  // and creates the "?" folders one level deep below the install folder.
  bool LoadSettings();
  // Writes the five directory values and the two version numbers back. The main form calls it
  // once when its window is destroyed; Run() calls it after the form is gone if it was not.
  bool SaveSettings();

  // Path of directory setting `index`, with `fileName` appended when `withFileName` is set.
  QString ResolveDirectoryPath(int index, const QString& fileName, bool withFileName) const;

  // Folder of the executable (StripDebugComponent applied). Empty when it cannot be found.
  // Setting it decides the layout anew.
  const QString& programDirectory() const { return programDirectory_; }
  void setProgramDirectory(const QString& dir);
  // The per-user folders an installed copy uses (QStandardPaths' by default; tests set their own).
  void setUserFolders(const UserFolders& user);
  const InstallPlaces& places() const { return places_; }
  InstallLayout layout() const { return places_.layout; }

  // The rate master to read. Portable: programDirectory/YushiMaster.txt. Installed: the
  // downloaded per-user copy when there is one, otherwise the shipped one.
  QString RateMasterPath() const;
  // Where the download writes the rate master: programDirectory/YushiMaster.txt, or the
  // application data folder of an installed copy.
  QString RateMasterDownloadPath() const;
  QString LicensePath() const;  // license.txt beside the program, or in the shipped data folder

  const QString& directory(int index) const { return directories_[static_cast<size_t>(index)]; }
  void setDirectory(int index, const QString& value) { directories_[static_cast<size_t>(index)] = value; }
  int versionMajor() const { return versionMajor_; }
  int versionMinor() const { return versionMinor_; }

  // The screening rate (審査金利, percent) the borrowing-capacity dialog starts with: key
  // "Settings/SCREENING_RATE", 3.0 while it is missing or not a rate above 0 and below 100.
  // Read from and written to the store at once.
  double ScreeningRatePercent() const;
  void SetScreeningRatePercent(double ratePercent);

  // Start-up: settings, program directory, then the main form until it closes. Returns the exit code.
  int Run();
  // The same, with the plan at `planPath` opened on the form as the file command opens it
  // (a file that cannot be read is reported and a new plan stays). Empty: a new plan.
  int Run(const QString& planPath);

 private:
  // The folder a "?" value of directory setting `index` lies below.
  QString QuestionBase(int index) const;
  // Whether LoadSettings may make the "?" folder of setting `index` (never in the shipped data).
  bool MayCreateQuestionFolder(int index) const;

  std::array<QString, kDirectoryCount> directories_;
  int versionMajor_ = 1;
  int versionMinor_ = 0;
  QString programDirectory_;
  UserFolders userFolders_;
  InstallPlaces places_;
  bool settingsSaved_ = false;  // SaveSettings ran since the last LoadSettings
};

}  // namespace zorvik
