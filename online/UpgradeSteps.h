#pragma once
// CTUpgradeSteps: what the upgrade window decides and says, without the
// window: whether a build may look for upgrades at all, what the download
// server's list means, the rows it shows, the questions asked before a
// download, the progress bar's position, the words of a failed download and
// the fields of the download report.
//
// The window reads its inputs, calls these and shows the answers. Header
// only, so that the windows and their tests share it without a display.

#include "i18n/BaseMsgMan.h"
#include "i18n/LangSupport.h"
#include "online/CorvelConfig.h"
#include "online/CorvelIntegration.h"
#include "online/CorvelSvcUtils.h"
#include "online/UpgradeDownload.h"
#include "online/VersionsList.h"
#include "platform/VersionUtils.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

class CTUpgradeSteps {
 public:
  static constexpr int kMinServerID = 0;
  static constexpr int kMaxServerID = 10;

  // ---- fetching the list ----

  // Why the window cannot offer anything; kNone: the list is in.
  enum class TFetchProblem { kNone, kNotOfficial, kNoServer, kCommunication, kNoVersions };

  // A build with a suffix (a beta, a test build) has no place in the
  // server's numbering; a number outside the table has no server.
  static TFetchProblem BeforeFetch(const QString& szSuffix, int nServerID) {
    if (!szSuffix.trimmed().isEmpty()) return TFetchProblem::kNotOfficial;
    if (nServerID < kMinServerID || nServerID > kMaxServerID) return TFetchProblem::kNoServer;
    return TFetchProblem::kNone;
  }

  static QString VersionsScript() {
    return QStringLiteral("scripts/corvel_get_versions_multi.asp?") +
           CTCorvelIntegration::Query({{"name", QString::fromLatin1(CTCorvelIntegration::kProgramFileName)}});
  }

  // A list cut by an element that does not read is not trusted, even for
  // the builds before it: the server is broken, not empty.
  static TFetchProblem AfterFetch(bool bAnswered, const LTVersionsList& list) {
    if (!bAnswered || list.bFailed) return TFetchProblem::kCommunication;
    if (list.entries.empty()) return TFetchProblem::kNoVersions;
    return TFetchProblem::kNone;
  }

  struct LTFetched {
    TFetchProblem problem = TFetchProblem::kNone;
    LTVersionsList list;
  };
  // Asks the build's server for the builds not older than nAppVersion.
  static LTFetched Fetch(const QString& szSuffix, int nServerID, int nAppVersion) {
    LTFetched fetched;
    fetched.problem = BeforeFetch(szSuffix, nServerID);
    if (fetched.problem != TFetchProblem::kNone) return fetched;
    QString answer;
    const bool answered = CTCorvelIntegration::GetStringFromInternet(nServerID, VersionsScript(), answer);
    if (answered) fetched.list = CTVersionsList::Parse(answer, nAppVersion);
    fetched.problem = AfterFetch(answered, fetched.list);
    return fetched;
  }

  // The message; empty for kNone. A list without builds is a warning, the
  // rest are errors.
  static QString FetchProblemText(TFetchProblem problem) {
    switch (problem) {
      case TFetchProblem::kNotOfficial:
        return TBaseMsg::Tr("You can only upgrade official releases of the program");
      case TFetchProblem::kNoServer:
        return TBaseMsg::Tr("Unable to connect to the download site. Please try again later");
      case TFetchProblem::kCommunication:
        return CommunicationText();
      case TFetchProblem::kNoVersions:
        return TBaseMsg::Tr("No new versions available for download");
      case TFetchProblem::kNone:
        break;
    }
    return QString();
  }
  static bool IsError(TFetchProblem problem) { return problem != TFetchProblem::kNoVersions; }

  static QString CommunicationText() {
    return TBaseMsg::Tr("A problem occurred while communicating with the download server. Please try again later");
  }

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
                         bool bInitialConfig) {
    if (bInitialConfig || !running.szConfig.isEmpty() || entries.empty()) return false;
    return std::all_of(entries.begin(), entries.end(),
                       [&](const LTVersionEntry& entry) { return running.IsSame(entry); });
  }

  // A named configuration that no build carries any more: its users must
  // be let at the other configurations.
  static bool ConfigDiscontinued(const std::vector<LTVersionEntry>& entries, const QString& szAppConfig) {
    if (szAppConfig.isEmpty()) return false;
    return std::none_of(entries.begin(), entries.end(), [&](const LTVersionEntry& entry) {
      return entry.v_config.compare(szAppConfig, Qt::CaseInsensitive) == 0;
    });
  }
  static QString DiscontinuedText(const QString& szAppConfig) {
    return TBaseMsg::ReplaceParams(TBaseMsg::Tr("Configuration '$1' has been discontinued. You will need to download another "
                                      "configuration or a default program version"),
                                   {szAppConfig});
  }

  // Whether the list offers other configurations than the running one.
  // Servers 1 and 2 keep a build to its configuration except in the initial
  // configuration; the others offer every configuration. A discontinued
  // configuration opens the others on every server, or its users would be
  // left with nothing to choose.
  static bool CanChangeConfig(int nServerID, bool bInitialConfig, bool bDiscontinued) {
    const bool keepsConfig = nServerID == 1 || nServerID == 2;
    return !keepsConfig || bInitialConfig || bDiscontinued;
  }

  // The rows for a country and a language (bCanChangeConfig: above).
  // This program is 64-bit: only 64-bit builds replace it, so builds of the
  // other platform never come up as an alternative.
  static LTVersionFilter Filter(int nCountry, int nLanguage, bool bCanChangeConfig, const QString& szAppConfig) {
    LTVersionFilter filter;
    filter.nCountry = nCountry;
    filter.nLanguage = nLanguage;
    filter.bCanChangeConfig = bCanChangeConfig;
    filter.szAppConfig = szAppConfig;
    filter.bAppDftConfig = szAppConfig.isEmpty();
    filter.bWantWin64 = true;
    return filter;
  }

  enum TColumn { kColVersion, kColLanguage, kColConfiguration, kColDatabase, kColDescription, kColSize, kColCount };

  static QString VersionText(int nVersion) { return CTVersionUtils::VersionString(nVersion, {}, {}, {}); }
  static QString DefaultConfigText() { return TBaseMsg::Tr("<default>"); }
  static QString NotAvailableText() { return TBaseMsg::Tr("n/a"); }

  // The first line of the description; "…" says there is more behind the
  // Configuration Description button.
  static QString ShownDescription(const LTVersionEntry& entry) {
    if (entry.v_shortDescription == entry.v_description) return entry.v_shortDescription;
    return entry.v_shortDescription + QChar(0x2026);
  }

  // The build's catalogue as the caption and the about box would show it.
  static QString DatabaseText(const LTVersionEntry& entry) {
    const QString text = CTVersionUtils::DataVersionString(entry.v_centralDbText);
    return text.isEmpty() ? NotAvailableText() : text;
  }

  // The cells of a row; szTitle is the program's name without a version.
  static QStringList RowTexts(const LTVersionEntry& entry, const QString& szTitle) {
    QStringList cells;
    cells << szTitle + QLatin1Char(' ') + VersionText(entry.v_version)
          << CTLangSupport::EnglishLanguageName(entry.v_languageID)
          << (entry.v_config.isEmpty() ? DefaultConfigText() : entry.v_config)
          << DatabaseText(entry)
          << ShownDescription(entry)
          // Sizes are shown the same whatever the process locale.
          << CTVersionsList::SizeText(entry.v_fileSize, QLatin1Char('.'));
    return cells;
  }

  // What the window says of the running build. A download build comes
  // without data, so neither line means anything there.
  static QString ProgramLine(const QString& szTitle, int nUILanguage) {
    return szTitle + QLatin1Char(' ') + CTLangSupport::EnglishLanguageName(nUILanguage);
  }
  static QString ConfigurationLine(const QString& szAppConfig, const QString& szCatalogueVersion,
                                   bool bDownloadBuild) {
    if (bDownloadBuild || szCatalogueVersion.trimmed().isEmpty()) return NotAvailableText();
    return szAppConfig.isEmpty() ? DefaultConfigText() : szAppConfig;
  }
  static QString DatabaseLine(const QString& szCatalogueVersion, bool bDownloadBuild) {
    if (bDownloadBuild || szCatalogueVersion.trimmed().isEmpty()) return NotAvailableText();
    return CTVersionUtils::DataVersionString(szCatalogueVersion);
  }
  // The catalogue's number as the list counts it; 0 without one.
  static int DatabaseNumber(const QString& szCatalogueVersion) {
    return szCatalogueVersion.trimmed().isEmpty() ? 0 : CTCorvelSvcUtils::DataVersionFromString(szCatalogueVersion);
  }

  // ---- before a download ----

  enum class TAsk {
    kSameBuild,    // question: the build is the running one
    kUnsaved,      // question: the restart loses unsaved work; No closes the window
    kPrivacy,      // the notice on data processing must be accepted
    kFolder,       // the installation folder must take new files
  };
  // In this order; each one that is refused ends the download.
  static std::vector<TAsk> BeforeDownload(bool bSameBuild, bool bWarnUnsaved, int nServerID) {
    std::vector<TAsk> asks;
    if (bSameBuild) asks.push_back(TAsk::kSameBuild);
    if (bWarnUnsaved) asks.push_back(TAsk::kUnsaved);
    // The servers that receive the download report tell what it holds first.
    if (CTCorvelConfig::IsReportingServer(nServerID)) asks.push_back(TAsk::kPrivacy);
    asks.push_back(TAsk::kFolder);
    return asks;
  }
  static QString SameBuildText() {
    return TBaseMsg::Tr("The version you selected is identical to the one that you are using now. Continue anyway?");
  }
  static QString UnsavedText() {
    return TBaseMsg::Tr("The program will automatically restart after the upgrade. Make sure you have saved your project as "
              "unsaved changes will be lost! Would you proceed with the upgrade?");
  }
  static QString FolderText(const QString& szFolder) {
    return TBaseMsg::ReplaceParams(
        TBaseMsg::Tr("The installation folder $1 cannot be written. Ask your administrator to install the upgrade."),
        {szFolder});
  }

  // ---- the download ----

  static QString DownloadingText(const QString& szShownName) {
    return TBaseMsg::Tr("Downloading") + QLatin1Char(' ') + szShownName;
  }
  // The bar's position for nProgress of nExpected bytes, rounded, within
  // 0 .. nMax; 0 while nothing is expected.
  static int ProgressPosition(int nMax, quint32 nProgress, quint32 nExpected) {
    if (nExpected == 0 || nMax <= 0) return 0;
    const double position = std::round(double(nMax) * double(nProgress) / double(nExpected));
    return int(std::clamp(position, 0.0, double(nMax)));
  }

  // The lines of the error after a failed download; none when there is
  // nothing to say (no updater: nothing was fetched, the list is back).
  static QStringList FailureLines(const LTUpgradeOutcome& outcome) {
    using Result = LTUpgradeOutcome::Result;
    QStringList lines;
    switch (outcome.result) {
      case Result::kOk:
      case Result::kNoUpdater:
        return lines;
      case Result::kMissing:
        lines << TBaseMsg::ReplaceParams(TBaseMsg::Tr("File $1 not found."), {outcome.szShownName}) << QString();
        break;
      case Result::kSizeDiffers:
        lines << TBaseMsg::ReplaceParams(TBaseMsg::Tr("Size of downloaded file $1, expected size $2."),
                                         {QString::number(outcome.nFoundSize), QString::number(outcome.nExpectedSize)})
              << QString();
        break;
      case Result::kDigestDiffers:
      case Result::kNoDigest:
        lines << TBaseMsg::ReplaceParams(TBaseMsg::Tr("File $1 did not arrive as the server announced it."),
                                         {outcome.szShownName})
              << QString();
        break;
      case Result::kFailed:
      case Result::kLocalFolder:
        break;
    }
    lines << TBaseMsg::Tr("Unable to download the upgrade version. Please try again later");
    if (outcome.result == Result::kFailed) lines << CommunicationText();
    return lines;
  }

  static QString UpdaterFailedText() { return TBaseMsg::Tr("Upgrade failed. Please try again later"); }
  static QString RestartText() { return TBaseMsg::Tr("Download complete. The program will now restart"); }

  // The download report: program, the build's version, language,
  // configuration and database, the starts of the running build, and the
  // user's language and country from the locale store. Nothing that names
  // the user.
  static QStringList ReportFields(const LTVersionEntry& entry, int nUsageCount, const LTLocaleData& locale) {
    return {QString::fromLatin1(CTCorvelIntegration::kProgramFileName),
            VersionText(entry.v_version),
            QString::number(entry.v_languageID),
            entry.v_config,
            CTVersionUtils::DataVersionString(entry.v_centralDbText),
            QString::number(nUsageCount),
            QString::number(locale.v_language),
            CTLangSupport::EnglishCountryName(locale.v_country)};
  }
};
