#pragma once
// CTAutoUpgrade: what the start-up asks of the online services, as rules
// without windows: the count of starts of one build, the question whether
// anything newer exists, and the lines of the hint that says so.
//
// The count lives under kUsageKey (current user): "Name" is the identity of
// the last start (version and catalogue version), "Used" the starts with
// that identity. A new build or catalogue restarts the count.

#include "online/CorvelSvcUtils.h"

#include <QString>
#include <QStringList>

class CTAutoUpgrade {
 public:
  static constexpr const char* kUsageKey = "Software\\Norvane\\Hi-Trivane Selection\\Aerolith\\Version";

  // The identity of a start: the program's version, a blank, the
  // catalogue's version ("7.2.0 1.0.0").
  static QString RunCountID(const QString& szVersion, const QString& szCatalogueVersion) {
    return szVersion + QLatin1Char(' ') + szCatalogueVersion;
  }
  // Starts with this identity so far (letter case ignored); 0 when the last
  // start had another identity or nothing is stored.
  static int GetUsageCount(const QString& szRunCountID);
  // Records one more start; registry failures are ignored.
  static void CountStart(const QString& szRunCountID, int nCountBefore);

  // What the start-up asks the service, from what is installed.
  struct LTInstalled {
    int nProgramVersion = 0;    // 720 for 7.2.0
    QString szCatalogueVersion;  // the catalogue's version text; empty without one
    bool bHasGlossary = false;   // an interface glossary is in effect
    int nGlossaryDate = 0;       // its change date
    int nGlossaryLanguage = 0;   // its language
    int nStoredLanguage = 1033;  // the locale store's language
  };
  // The packed upgrade number; 0 when nothing is newer or nobody answers.
  static int AskForUpgrades(const LTInstalled& installed);

  // The hint's text: "Please upgrade your copy of <title> (version ...)",
  // an empty line and a line for each novelty. bReleaseNotes: a program or
  // catalogue is new, so the release notes are worth a button.
  static QStringList HintLines(const QString& szAppTitle, const QString& szCatalogueVersion, int nUpgradeInfo,
                               bool& bReleaseNotes);
};
