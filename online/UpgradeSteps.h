#pragma once
// CTUpgradeSteps: what the upgrade window decides and says, without the
// window: whether a build may look for upgrades at all, what the download
// server's list means, the rows it shows, the questions asked before a
// download, the progress bar's position, the words of a failed download and
// the fields of the download report.
//
// The window reads its inputs, calls these and shows the answers; its tests
// call them without a display.

#include "i18n/LangSupport.h"
#include "online/UpgradeDownload.h"
#include "online/VersionsList.h"

#include <QString>
#include <QStringList>

#include <vector>

class CTUpgradeSteps {
 public:
  static constexpr int kMinServerID = 0;
  static constexpr int kMaxServerID = 10;

  // ---- fetching the list ----

  // Why the window cannot offer anything; kNone: the list is in.
  // kRefused: the server's release is not a signed one this build trusts.
  enum class TFetchProblem { kNone, kNotOfficial, kNoServer, kCommunication, kNoVersions, kRefused };

  // A build with a suffix (a beta, a test build) has no place in the
  // server's numbering; a number outside the table has no server.
  static TFetchProblem BeforeFetch(const QString& szSuffix, int nServerID);

  static QString VersionsScript();

  // A list cut by an element that does not read is not trusted, even for
  // the builds before it: the server is broken, not empty.
  static TFetchProblem AfterFetch(bool bAnswered, const LTVersionsList& list);

  struct LTFetched {
    TFetchProblem problem = TFetchProblem::kNone;
    LTReleaseRefusal refusal;  // kRefused: why
    LTVersionsList list;       // with its signed release
  };
  // Asks the build's server for its signed release (CTSignedRelease) and
  // takes from its list the builds not older than nAppVersion; a release
  // older than nAppVersion is refused.
  static LTFetched Fetch(const QString& szSuffix, int nServerID, int nAppVersion);

  // The message; empty for kNone. A list without builds is a warning, the
  // rest are errors.
  static QString FetchProblemText(TFetchProblem problem, const LTReleaseRefusal& refusal = {});
  // Why a release or one of its files was refused, in a sentence that names
  // the file: szShownName when given, else the file's name in the release.
  static QString RefusalText(const LTReleaseRefusal& refusal, const QString& szShownName = QString());
  static bool IsError(TFetchProblem problem) { return problem != TFetchProblem::kNoVersions; }

  static QString CommunicationText();

  // ---- the running build and the rows ----

  // The running build as the list's entries are compared with it.
  struct LTRunningBuild {
    int nVersion = 0;      // 720 for 7.2.0
    int nLanguage = 1033;  // the interface language
    int nDbVersion = 0;    // the catalogue's number (DatabaseNumber); 0 without one
    QString szConfig;      // empty: the default configuration
    bool IsSame(const LTVersionEntry& entry) const {
      return CTVersionsList::SameBuild(entry, nVersion, nLanguage, nDbVersion, szConfig.isEmpty(), szConfig);
    }
  };

  // A list that offers nothing but the running build has nothing new. Said
  // only for the default configuration outside the initial configuration:
  // a named configuration has its own warning when it is gone, and a new
  // installation may well want the same build.
  static bool NothingNew(const std::vector<LTVersionEntry>& entries, const LTRunningBuild& running,
                         bool bInitialConfig);

  // A named configuration that no build carries any more: its users must
  // be let at the other configurations.
  static bool ConfigDiscontinued(const std::vector<LTVersionEntry>& entries, const QString& szAppConfig);
  static QString DiscontinuedText(const QString& szAppConfig);

  // Whether the list offers other configurations than the running one.
  // Servers 1 and 2 keep a build to its configuration except in the initial
  // configuration; the others offer every configuration. A discontinued
  // configuration opens the others on every server, or its users would be
  // left with nothing to choose.
  static bool CanChangeConfig(int nServerID, bool bInitialConfig, bool bDiscontinued);

  // The rows for a country and a language (bCanChangeConfig: above).
  // This program is 64-bit: only 64-bit builds replace it, so builds of the
  // other platform never come up as an alternative.
  static LTVersionFilter Filter(int nCountry, int nLanguage, bool bCanChangeConfig, const QString& szAppConfig);

  enum TColumn { kColVersion, kColLanguage, kColConfiguration, kColDatabase, kColDescription, kColSize, kColCount };

  static QString VersionText(int nVersion);
  static QString DefaultConfigText();
  static QString NotAvailableText();

  // The first line of the description; "…" says there is more behind the
  // Configuration Description button.
  static QString ShownDescription(const LTVersionEntry& entry);

  // The build's catalogue as the caption and the about box would show it.
  static QString DatabaseText(const LTVersionEntry& entry);

  // The cells of a row; szTitle is the program's name without a version.
  static QStringList RowTexts(const LTVersionEntry& entry, const QString& szTitle);

  // What the window says of the running build. A download build comes
  // without data, so neither line means anything there.
  static QString ProgramLine(const QString& szTitle, int nUILanguage);
  static QString ConfigurationLine(const QString& szAppConfig, const QString& szCatalogueVersion,
                                   bool bDownloadBuild);
  static QString DatabaseLine(const QString& szCatalogueVersion, bool bDownloadBuild);
  // The catalogue's number as the list counts it; 0 without one.
  static int DatabaseNumber(const QString& szCatalogueVersion);

  // ---- before a download ----

  enum class TAsk {
    kSameBuild,    // question: the build is the running one
    kUnsaved,      // question: the restart loses unsaved work; No closes the window
    kPrivacy,      // the notice on data processing must be accepted
    kFolder,       // the installation folder must take new files
  };
  // In this order; each one that is refused ends the download.
  static std::vector<TAsk> BeforeDownload(bool bSameBuild, bool bWarnUnsaved, int nServerID);
  static QString SameBuildText();
  static QString UnsavedText();
  static QString FolderText(const QString& szFolder);

  // ---- the download ----

  static QString DownloadingText(const QString& szShownName);
  // The bar's position for nProgress of nExpected bytes, rounded, within
  // 0 .. nMax; 0 while nothing is expected.
  static int ProgressPosition(int nMax, quint32 nProgress, quint32 nExpected);

  // The lines of the error after a failed download; none when there is
  // nothing to say (no updater: nothing was fetched, the list is back).
  static QStringList FailureLines(const LTUpgradeOutcome& outcome);

  static QString UpdaterFailedText();
  static QString RestartText();

  // The download report: program, the build's version, language,
  // configuration and database, the starts of the running build, and the
  // user's language and country from the locale store. Nothing that names
  // the user.
  static QStringList ReportFields(const LTVersionEntry& entry, int nUsageCount, const LTLocaleData& locale);
};
