#pragma once
// CTCorvelSvcUtils: the packed upgrade number that the program-information
// service answers to HasUpgrades, and the version number of a version text.
//
//   n mod 2              1: a newer translation of the interface glossary
//   (n div 2) mod 10000  the newest program version (720 is 7.2.0); 0: none newer
//   n div 20000          the newest database version (143 is 1.4.3); 0: none newer
//
//   1 -> glossary only;  1440 -> program 7.2.0;  2860001 -> database 1.4.3 and glossary

#include "platform/VersionUtils.h"

#include <QString>

struct LTUpgradeInfo {
  bool bProgramUpdated = false;
  int nProgramVersion = 0;
  bool bDatabaseUpdated = false;
  int nDatabaseVersion = 0;
  bool bGlossaryUpdated = false;
  bool Any() const { return bProgramUpdated || bDatabaseUpdated || bGlossaryUpdated; }
};

class CTCorvelSvcUtils {
 public:
  static constexpr int kVersionLimit = CTVersionUtils::kVersionLimit;  // versions are below this number

  static int EncodeProgramUpdates(bool bUpdated, int nVersion);
  static int EncodeDatabaseUpdates(bool bUpdated, int nVersion);
  static int EncodeGlossaryUpdates(bool bUpdated) { return bUpdated ? 1 : 0; }
  // A negative number decodes as nothing new.
  static LTUpgradeInfo DecodeUpdates(int nEncodedNumber);
  // The digits of a version text as one number: "1.4.3" is 143, "v2.0 beta"
  // is 20. A "." is skipped; another character is skipped while the number
  // is still 0 and ends it once it is not. Digits that would overflow end it
  // too.
  static int DataVersionFromString(const QString& szStr);
};
