#pragma once
// Where the rate master is fetched from: the primary server first, then the secondary one.
//
// The servers' base URLs are deployment configuration (CMake cache variables
// ZORVIK_RATE_PRIMARY_BASE / ZORVIK_RATE_SECONDARY_BASE); the paths on them are fixed. The
// environment variables ZORVIK_RATE_PRIMARY_URL / ZORVIK_RATE_SECONDARY_URL, when set and not
// empty, replace the whole URL of their source at run time (tests point them at a local server).

#include <QString>
#include <QStringList>

namespace zorvik {

inline constexpr char kPrimaryRateMasterPath[] = "/plan/zorvik/YushiMaster.txt";
inline constexpr char kSecondaryRateMasterPath[] = "/zorvik/YushiMaster.txt";

// base + path with exactly one "/" between them.
QString RateMasterUrl(const QString& base, const QString& path);

// The two source URLs in the order they are tried.
QStringList RateMasterSourceUrls();

}  // namespace zorvik
