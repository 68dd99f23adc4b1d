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

}  // namespace zorvik
