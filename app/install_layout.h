#pragma once
// Where the program finds its shipped files and keeps the user's files.
//
// One program, two layouts, told apart by the shape of the tree around the executable (never by
// whether a folder is writable: root can write anywhere):
//   - Portable (the build tree, a folder copied anywhere, Windows): the rate master, license.txt
//     and LoanHelp sit beside the program, and the "?" folders are made below the install folder
//     of the settings, as they always were.
//   - Installed (Linux packages, `cmake --install` on Linux): the program lives in a folder named
//     "bin" with "../share/zorvik" beside it. The shipped rate master, licence and help are read
//     from that data folder, which is never written. Everything the user makes goes to per-user
//     places: the downloaded rate master and the Program folder to the application data folder
//     (QStandardPaths::AppDataLocation), plans to "LoanData" in the Documents folder.

#include <QString>

namespace zorvik {

enum class InstallLayout { Portable, Installed };

// The data folder of an installed copy, relative to the program's "bin" folder.
inline constexpr const char* kInstalledDataRelative = "../share/zorvik";

// Portable unless `programDirectory` is a folder named "bin" with a folder
// "../share/zorvik" beside it.
InstallLayout DetectInstallLayout(const QString& programDirectory);

// The per-user folders of an installed copy.
struct UserFolders {
  QString appData;    // the downloaded rate master and the Program folder
  QString documents;  // "?LoanData" is made below it
};

// QStandardPaths' AppDataLocation and DocumentsLocation (the home folder when there is no
// Documents location).
UserFolders StandardUserFolders();

struct InstallPlaces {
  InstallLayout layout = InstallLayout::Portable;
  QString shippedFolder;     // YushiMaster.txt, license.txt and LoanHelp as shipped; read only
  QString rateMasterFolder;  // where the download writes YushiMaster.txt
  UserFolders user;          // used by the installed layout only
};

// The places for a program in `programDirectory`. Portable: every folder is the program
// directory itself. Installed: shipped files from the data folder, the rate master from the
// download in `user.appData`.
InstallPlaces ResolveInstallPlaces(const QString& programDirectory, const UserFolders& user);

// Said (in a message box, and on standard error) when an installed copy refuses to start for
// want of a home folder.
inline constexpr const char* kHomeUnusableMessage =
    "環境変数 HOME が設定されていないか、存在するフォルダーを指していないため、ゾルビクを起動できません。";

// Whether a copy of the given layout may start with `home` as the value of HOME (empty when it
// is not set). The per-user places of an installed copy lie below the home folder: without an
// absolute path of an existing folder there, they would be made at the root of the file system,
// or the missing home itself would be made, so an installed copy starts only with one. A
// portable copy keeps everything beside the program and starts whatever HOME holds.
bool HomeAllowsStart(InstallLayout layout, const QString& home);

}  // namespace zorvik
