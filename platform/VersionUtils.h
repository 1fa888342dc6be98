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
  // The three-digit numbering holds 1 to 9999 (0.0.1 to 99.9.9); the
  // program-information service's packed upgrade number holds no more.
  static constexpr int kVersionLimit = 10000;

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
  // A version that comes with data (the catalogue's data version, a build's
  // database in the download server's list) as every window shows it: the
  // caption, the about box, the upgrade hint and the upgrade window.
  //   "1.4.3", "14.3", " 01.4.3 "  ->  "1.4.3"    its number in VersionString's form
  //   "1.4"                        ->  "0.1.4"    (the number is 14)
  //   "2026.12"                    ->  "2026.12"  202612 is beyond the numbering: an
  //                                               older scheme, shown as written, not
  //                                               regrouped into "2026.1.2"
  //   "Demo 1.4", "0.0.0", "  "    ->  "Demo 1.4", "0.0.0", ""   (no number: as written)
  static QString DataVersionString(const QString& szVersion);
  static QString ConfigurationName() { return Info().configurationName; }
  static int CorvelServerID() { return Info().serverID; }
  static bool IsCorvelDownload() { return Info().buildKind == 1; }
  static bool IsApprovalVersion() { return Info().buildKind == 2; }
  // "9 December 2026", in English whatever the locale.
  static QString DateAsString(const QDate& date);
};
