#include "online/CorvelSvcUtils.h"

#include <limits>

int CTCorvelSvcUtils::EncodeProgramUpdates(bool bUpdated, int nVersion) {
  return bUpdated && nVersion > 0 && nVersion < kVersionLimit ? 2 * nVersion : 0;
}

int CTCorvelSvcUtils::EncodeDatabaseUpdates(bool bUpdated, int nVersion) {
  return bUpdated && nVersion > 0 && nVersion < kVersionLimit ? 2 * kVersionLimit * nVersion : 0;
}

LTUpgradeInfo CTCorvelSvcUtils::DecodeUpdates(int nEncodedNumber) {
  LTUpgradeInfo info;
  if (nEncodedNumber <= 0) return info;
  info.bGlossaryUpdated = nEncodedNumber % 2 != 0;
  info.nProgramVersion = (nEncodedNumber / 2) % kVersionLimit;
  info.bProgramUpdated = info.nProgramVersion != 0;
  info.nDatabaseVersion = nEncodedNumber / (2 * kVersionLimit);
  info.bDatabaseUpdated = info.nDatabaseVersion != 0;
  return info;
}

int CTCorvelSvcUtils::DataVersionFromString(const QString& szStr) {
  int value = 0;
  for (const QChar c : szStr) {
    if (c == QLatin1Char('.')) continue;
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
      const int digit = c.unicode() - u'0';
      if (value > (std::numeric_limits<int>::max() - digit) / 10) break;
      value = value * 10 + digit;
      continue;
    }
    if (value != 0) break;
  }
  return value;
}
