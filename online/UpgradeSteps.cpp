#include "online/UpgradeSteps.h"

#include "i18n/BaseMsgMan.h"
#include "online/CorvelConfig.h"
#include "online/CorvelIntegration.h"
#include "online/CorvelSvcUtils.h"
#include "online/SignedRelease.h"
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
  return CTSignedRelease::ListScript(QString::fromLatin1(CTCorvelIntegration::kProgramFileName));
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
  LTReleaseFetch release = CTSignedRelease::Fetch(nServerID, nAppVersion);
  if (release.result == LTReleaseFetch::Result::kRefused) {
    fetched.problem = TFetchProblem::kRefused;
    fetched.refusal = release.refusal;
    return fetched;
  }
  const bool answered = release.result == LTReleaseFetch::Result::kOk;
  if (answered) {
    fetched.list = CTVersionsList::Parse(QString::fromLatin1(release.release.arList), nAppVersion);
    fetched.list.release = std::move(release.release);
  }
  fetched.problem = AfterFetch(answered, fetched.list);
  return fetched;
}

QString CTUpgradeSteps::FetchProblemText(TFetchProblem problem, const LTReleaseRefusal& refusal) {
  switch (problem) {
    case TFetchProblem::kRefused:
      return TBaseMsg::ReplaceParams(TBaseMsg::Tr("The release on the download server was refused. $1"),
                                     {RefusalText(refusal)});
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

QString CTUpgradeSteps::RefusalText(const LTReleaseRefusal& refusal, const QString& szShownName) {
  const QString file = szShownName.isEmpty() ? refusal.szFile : szShownName;
  const auto say = [&](const char* szText, QStringList params = {}) {
    params.prepend(file);
    return TBaseMsg::ReplaceParams(TBaseMsg::Tr(szText), params);
  };
  switch (refusal.problem) {
    case TReleaseProblem::kNone:
      break;
    case TReleaseProblem::kNoManifest:
      return say("The release is not signed: the server has no $1.");
    case TReleaseProblem::kMalformed:
      // The reader's own words for what is wrong.
      if (refusal.nLine <= 0) return say("$1 does not read: $2.", {refusal.szDetail});
      return say("$1 does not read: line $2, $3.", {QString::number(refusal.nLine), refusal.szDetail});
    case TReleaseProblem::kUnsigned:
      return say("$1 carries no signature.");
    case TReleaseProblem::kUnknownKey:
      return say("$1 is signed by a key this program does not accept (key $2).",
                 {QString::fromLatin1(refusal.arKeyId.toHex())});
    case TReleaseProblem::kBadSignature:
      return say("The signature of $1 does not match its content.");
    case TReleaseProblem::kOtherProgram:
      return say("$1 is the release of $2, not of this program.", {refusal.szDetail});
    case TReleaseProblem::kExpired:
      return say("$1 expired on $2.", {CTReleaseManifest::TimeText(refusal.nExpires)});
    case TReleaseProblem::kRolledBack:
      return say("$1 offers version $2, older than the installed version $3.",
                 {VersionText(refusal.nRelease), VersionText(refusal.nInstalled)});
    case TReleaseProblem::kListDiffers:
      return say("$1 is not the versions list that was signed.");
    case TReleaseProblem::kNotInRelease:
      return say("File $1 is not part of the signed release.");
    case TReleaseProblem::kFileDiffers:
      return say("File $1 is not the file that was signed.");
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
    case Result::kNotInRelease:
      lines << RefusalText(outcome.refusal, outcome.szShownName) << QString();
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
