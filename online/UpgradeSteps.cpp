#include "online/UpgradeSteps.h"

#include "i18n/BaseMsgMan.h"
#include "online/CorvelConfig.h"
#include "online/CorvelIntegration.h"
#include "online/CorvelSvcUtils.h"
#include "platform/VersionUtils.h"

#include <algorithm>
#include <cmath>

// ---- fetching the list ----

CTUpgradeSteps::TFetchProblem CTUpgradeSteps::BeforeFetch(const QString& szSuffix, int nServerID) {
  if (!szSuffix.trimmed().isEmpty()) return TFetchProblem::kNotOfficial;
  if (nServerID < kMinServerID || nServerID > kMaxServerID) return TFetchProblem::kNoServer;
  return TFetchProblem::kNone;
}

QString CTUpgradeSteps::VersionsScript() {
  return QStringLiteral("scripts/corvel_get_versions_multi.asp?") +
         CTCorvelIntegration::Query({{"name", QString::fromLatin1(CTCorvelIntegration::kProgramFileName)}});
}

CTUpgradeSteps::TFetchProblem CTUpgradeSteps::AfterFetch(bool bAnswered, const LTVersionsList& list) {
  if (!bAnswered || list.bFailed) return TFetchProblem::kCommunication;
  if (list.entries.empty()) return TFetchProblem::kNoVersions;
  return TFetchProblem::kNone;
}

CTUpgradeSteps::LTFetched CTUpgradeSteps::Fetch(const QString& szSuffix, int nServerID, int nAppVersion) {
  LTFetched fetched;
  fetched.problem = BeforeFetch(szSuffix, nServerID);
  if (fetched.problem != TFetchProblem::kNone) return fetched;
  QString answer;
  const bool answered = CTCorvelIntegration::GetStringFromInternet(nServerID, VersionsScript(), answer);
  if (answered) fetched.list = CTVersionsList::Parse(answer, nAppVersion);
  fetched.problem = AfterFetch(answered, fetched.list);
  return fetched;
}

QString CTUpgradeSteps::FetchProblemText(TFetchProblem problem) {
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

QString CTUpgradeSteps::CommunicationText() {
  return TBaseMsg::Tr("A problem occurred while communicating with the download server. Please try again later");
}

// ---- the running build and the rows ----

bool CTUpgradeSteps::NothingNew(const std::vector<LTVersionEntry>& entries, const LTRunningBuild& running,
                                bool bInitialConfig) {
  if (bInitialConfig || !running.szConfig.isEmpty() || entries.empty()) return false;
  return std::all_of(entries.begin(), entries.end(),
                     [&](const LTVersionEntry& entry) { return running.IsSame(entry); });
}

bool CTUpgradeSteps::ConfigDiscontinued(const std::vector<LTVersionEntry>& entries, const QString& szAppConfig) {
  if (szAppConfig.isEmpty()) return false;
  return std::none_of(entries.begin(), entries.end(), [&](const LTVersionEntry& entry) {
    return entry.v_config.compare(szAppConfig, Qt::CaseInsensitive) == 0;
  });
}

QString CTUpgradeSteps::DiscontinuedText(const QString& szAppConfig) {
  return TBaseMsg::ReplaceParams(TBaseMsg::Tr("Configuration '$1' has been discontinued. You will need to download "
                                              "another configuration or a default program version"),
                                 {szAppConfig});
}

bool CTUpgradeSteps::CanChangeConfig(int nServerID, bool bInitialConfig, bool bDiscontinued) {
  const bool keepsConfig = nServerID == 1 || nServerID == 2;
  return !keepsConfig || bInitialConfig || bDiscontinued;
}

LTVersionFilter CTUpgradeSteps::Filter(int nCountry, int nLanguage, bool bCanChangeConfig,
                                       const QString& szAppConfig) {
  LTVersionFilter filter;
  filter.nCountry = nCountry;
  filter.nLanguage = nLanguage;
  filter.bCanChangeConfig = bCanChangeConfig;
  filter.szAppConfig = szAppConfig;
  filter.bAppDftConfig = szAppConfig.isEmpty();
  filter.bWantWin64 = true;
  return filter;
}

QString CTUpgradeSteps::VersionText(int nVersion) { return CTVersionUtils::VersionString(nVersion, {}, {}, {}); }
QString CTUpgradeSteps::DefaultConfigText() { return TBaseMsg::Tr("<default>"); }
QString CTUpgradeSteps::NotAvailableText() { return TBaseMsg::Tr("n/a"); }

QString CTUpgradeSteps::ShownDescription(const LTVersionEntry& entry) {
  if (entry.v_shortDescription == entry.v_description) return entry.v_shortDescription;
  return entry.v_shortDescription + QChar(0x2026);
}

QString CTUpgradeSteps::DatabaseText(const LTVersionEntry& entry) {
  const QString text = CTVersionUtils::DataVersionString(entry.v_centralDbText);
  return text.isEmpty() ? NotAvailableText() : text;
}

QStringList CTUpgradeSteps::RowTexts(const LTVersionEntry& entry, const QString& szTitle) {
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

QString CTUpgradeSteps::ProgramLine(const QString& szTitle, int nUILanguage) {
  return szTitle + QLatin1Char(' ') + CTLangSupport::EnglishLanguageName(nUILanguage);
}

QString CTUpgradeSteps::ConfigurationLine(const QString& szAppConfig, const QString& szCatalogueVersion,
                                          bool bDownloadBuild) {
  if (bDownloadBuild || szCatalogueVersion.trimmed().isEmpty()) return NotAvailableText();
  return szAppConfig.isEmpty() ? DefaultConfigText() : szAppConfig;
}

QString CTUpgradeSteps::DatabaseLine(const QString& szCatalogueVersion, bool bDownloadBuild) {
  if (bDownloadBuild || szCatalogueVersion.trimmed().isEmpty()) return NotAvailableText();
  return CTVersionUtils::DataVersionString(szCatalogueVersion);
}

int CTUpgradeSteps::DatabaseNumber(const QString& szCatalogueVersion) {
  return szCatalogueVersion.trimmed().isEmpty() ? 0 : CTCorvelSvcUtils::DataVersionFromString(szCatalogueVersion);
}

// ---- before a download ----

std::vector<CTUpgradeSteps::TAsk> CTUpgradeSteps::BeforeDownload(bool bSameBuild, bool bWarnUnsaved, int nServerID) {
  std::vector<TAsk> asks;
  if (bSameBuild) asks.push_back(TAsk::kSameBuild);
  if (bWarnUnsaved) asks.push_back(TAsk::kUnsaved);
  // The servers that receive the download report tell what it holds first.
  if (CTCorvelConfig::IsReportingServer(nServerID)) asks.push_back(TAsk::kPrivacy);
  asks.push_back(TAsk::kFolder);
  return asks;
}

QString CTUpgradeSteps::SameBuildText() {
  return TBaseMsg::Tr("The version you selected is identical to the one that you are using now. Continue anyway?");
}

QString CTUpgradeSteps::UnsavedText() {
  return TBaseMsg::Tr("The program will automatically restart after the upgrade. Make sure you have saved your "
                      "project as unsaved changes will be lost! Would you proceed with the upgrade?");
}

QString CTUpgradeSteps::FolderText(const QString& szFolder) {
  return TBaseMsg::ReplaceParams(
      TBaseMsg::Tr("The installation folder $1 cannot be written. Ask your administrator to install the upgrade."),
      {szFolder});
}

// ---- the download ----

QString CTUpgradeSteps::DownloadingText(const QString& szShownName) {
  return TBaseMsg::Tr("Downloading") + QLatin1Char(' ') + szShownName;
}

int CTUpgradeSteps::ProgressPosition(int nMax, quint32 nProgress, quint32 nExpected) {
  if (nExpected == 0 || nMax <= 0) return 0;
  const double position = std::round(double(nMax) * double(nProgress) / double(nExpected));
  return int(std::clamp(position, 0.0, double(nMax)));
}

QStringList CTUpgradeSteps::FailureLines(const LTUpgradeOutcome& outcome) {
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

QString CTUpgradeSteps::UpdaterFailedText() { return TBaseMsg::Tr("Upgrade failed. Please try again later"); }
QString CTUpgradeSteps::RestartText() { return TBaseMsg::Tr("Download complete. The program will now restart"); }

QStringList CTUpgradeSteps::ReportFields(const LTVersionEntry& entry, int nUsageCount, const LTLocaleData& locale) {
  return {QString::fromLatin1(CTCorvelIntegration::kProgramFileName),
          VersionText(entry.v_version),
          QString::number(entry.v_languageID),
          entry.v_config,
          CTVersionUtils::DataVersionString(entry.v_centralDbText),
          QString::number(nUsageCount),
          QString::number(locale.v_language),
          CTLangSupport::EnglishCountryName(locale.v_country)};
}
