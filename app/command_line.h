#pragma once
// The command line of the program: `zorvik [PLAN.zvk]`. A file manager starts it this way when a
// plan is double-clicked (the menu entry's "Exec=zorvik %f"). `zorvik --print-paths` tells where
// this copy keeps its files.

#include <QString>
#include <QStringList>

namespace zorvik {

class CZorvikApp;

// The plan named on the command line (`arguments` as QCoreApplication::arguments() gives them,
// the program first), as an absolute path; empty when none is named. The first argument that is
// not an option names the plan and later ones are passed over; "--screenshot PATH" is skipped;
// after "--" the next argument is the plan even when it starts with "-". A "file:" URL names its
// local file.
QString PlanPathFromArguments(const QStringList& arguments);

// What `zorvik --print-paths` prints after the settings were loaded: the layout ("portable" or
// "installed") and where this copy reads and keeps its files, one "name: path" line each.
QString DescribePaths(const CZorvikApp& app);

}  // namespace zorvik
