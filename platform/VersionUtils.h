#pragma once
// CTVersionUtils: this build's information, fixed when it is built: the
// version number (three decimal digits: 720 is 7.2.0), a suffix, the name
// of the data configuration, the build kind and the server number of the
// online services. Tests may put other values in effect.

#include <QDate>
#include <QString>

struct LTBuildInfo {
  int versionNumber = 0;
  QString suffix;             // trimmed
  QString configurationName;
  int buildKind = 0;          // 1: a download build, 2: an approval build
  int serverID = 0;           // 2 starts in imperial units; 0 and 10 have the online information
};

class CTVersionUtils {
 public:
  static const LTBuildInfo& Info();
  // Tests: other values in effect until the next call (none: the build's).
  static void SetInfoForTests(const LTBuildInfo* pInfo);

  static int GetVersion() { return Info().versionNumber; }
  static int GetVersionEx(QString& szSuffix) {
    szSuffix = Info().suffix;
    return Info().versionNumber;
  }
  // "7.2.0", then szSfxPre + suffix + szSfxPost when the suffix is not empty.
  static QString VersionString(int nVer, const QString& szSfx, const QString& szSfxPre, const QString& szSfxPost);
  static QString GetVersionString() { return VersionString(GetVersion(), QString(), QString(), QString()); }
  static QString GetVersionStringEx(const QString& szSfxPre, const QString& szSfxPost) {
    return VersionString(GetVersion(), Info().suffix, szSfxPre, szSfxPost);
  }
  // "7.2.0" gives 720: the dots removed, the rest a whole number; 0 otherwise.
  static int String2Version(const QString& szStr);
  static QString ConfigurationName() { return Info().configurationName; }
  static int CorvelServerID() { return Info().serverID; }
  static bool IsCorvelDownload() { return Info().buildKind == 1; }
  static bool IsApprovalVersion() { return Info().buildKind == 2; }
  // "9 December 2026", in English whatever the locale.
  static QString DateAsString(const QDate& date);
};
