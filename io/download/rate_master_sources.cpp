#include "io/download/rate_master_sources.h"

#include <QtGlobal>

#ifndef ZORVIK_RATE_PRIMARY_BASE
#define ZORVIK_RATE_PRIMARY_BASE "http://rates-primary.zorvik.invalid"
#endif
#ifndef ZORVIK_RATE_SECONDARY_BASE
#define ZORVIK_RATE_SECONDARY_BASE "http://rates-secondary.zorvik.invalid"
#endif

namespace zorvik {

namespace {

QString SourceUrl(const char* envName, const char* base, const char* path) {
  const QString fromEnv = qEnvironmentVariable(envName).trimmed();
  if (!fromEnv.isEmpty()) return fromEnv;
  return RateMasterUrl(QString::fromUtf8(base), QString::fromLatin1(path));
}

}  // namespace

QString RateMasterUrl(const QString& base, const QString& path) {
  QString left = base;
  while (left.endsWith(QLatin1Char('/'))) left.chop(1);
  if (path.startsWith(QLatin1Char('/'))) return left + path;
  return left + QLatin1Char('/') + path;
}

QStringList RateMasterSourceUrls() {
  return {SourceUrl("ZORVIK_RATE_PRIMARY_URL", ZORVIK_RATE_PRIMARY_BASE, kPrimaryRateMasterPath),
          SourceUrl("ZORVIK_RATE_SECONDARY_URL", ZORVIK_RATE_SECONDARY_BASE, kSecondaryRateMasterPath)};
}

}  // namespace zorvik
