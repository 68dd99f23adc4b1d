#pragma once
// The application object: settings, directories and the start-up of the main form.
//
// Settings live in QSettings (organization "Quorvane", application = the executable's base
// name; the registry on Windows, the per-user config file elsewhere), sections "FILES" and
// "Settings". Directory values that begin with "?" name a folder below the install folder
// (entry 0) and keep their "?" form; they are resolved anew each time a path is asked for.

#include <QString>
#include <array>

namespace zorvik {

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

  // Folder of the executable (StripDebugComponent applied), where the rate master and
  // license.txt live. Empty when it cannot be found.
  const QString& programDirectory() const { return programDirectory_; }
  void setProgramDirectory(const QString& dir) { programDirectory_ = StripDebugComponent(dir); }
  QString RateMasterPath() const;  // programDirectory/YushiMaster.txt
  QString LicensePath() const;     // programDirectory/license.txt

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

 private:
  std::array<QString, kDirectoryCount> directories_;
  int versionMajor_ = 1;
  int versionMinor_ = 0;
  QString programDirectory_;
  bool settingsSaved_ = false;  // SaveSettings ran since the last LoadSettings
};

}  // namespace zorvik
