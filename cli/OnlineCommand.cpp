// aerolith-cli online: what the build's download server and its
// program-information service answer this program, and downloads from it.
// The same calls as the window's; for scripts and for checking a mirror.
//
//   online status [--language LCID] [--json]
//   online download PATH --out FILE [--size BYTES]
//   online fetch-release --out DIR [--language LCID]
//
// fetch-release takes the newest build the server offers for the language
// (English when it has none in it), with its updater and glossaries, into
// DIR laid out as the release is served (DIR/versions/..., DIR/files/...),
// each file checked against the release's signed manifest exactly as the
// upgrade window checks it; nothing is installed or started. A mirror's
// keeper checks a mirror with it. DIR must be new or empty; when something
// is refused, what was written into it goes again.
//   exit 0  every file verified
//   exit 4  refused: the message names the file and the reason
//   exit 1  the server could not be reached, or DIR cannot be written

#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "docs/RTFReader.h"
#include "i18n/LangSupport.h"
#include "online/CorvelConfig.h"
#include "online/CorvelIntegration.h"
#include "online/SignedRelease.h"
#include "online/UpgradeDownload.h"
#include "online/UpgradeSteps.h"
#include "online/VersionsList.h"
#include "platform/VersionUtils.h"

#include <QDir>

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextDocument>

namespace AerolithCli {

namespace {

constexpr const char* kUsage =
    "usage: aerolith-cli online status [--language LCID] [--json]\n"
    "       aerolith-cli online download PATH --out FILE [--size BYTES]\n"
    "       aerolith-cli online fetch-release --out DIR [--language LCID]\n";

QString ServerText(int nServerID) {
  QString host;
  int port = CTCorvelConfig::kDefaultPort;
  CTCorvelConfig::GetHTTPServerNameAndPort(nServerID, host, port);
  if (host.isEmpty()) return QString();
  return port == CTCorvelConfig::kDefaultPort ? host : host + QLatin1Char(':') + QString::number(port);
}

int RunStatus(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  CTCliOptions options(arguments, {QStringLiteral("--language")}, {QStringLiteral("--json")});
  const std::optional<double> chosen =
      options.Has(QStringLiteral("--language")) ? options.Number(QStringLiteral("--language")) : std::nullopt;
  if (!options.Error().isEmpty()) {
    err << "aerolith-cli online: " << options.Error() << "\n" << kUsage;
    return kExitUsage;
  }
  const int serverID = CTVersionUtils::CorvelServerID();
  const int language = chosen ? static_cast<int>(*chosen) : CTLangSupport::GetLocaleData().v_language;
  // The program's number is asked once and passed on.
  const int program = CTCorvelIntegration::IdentifyProgram();
  QString manual;
  const bool hasManual = CTCorvelIntegration::HasUsersManual(program, language, manual);
  QByteArray notesText;
  QTextDocument notes;
  const bool hasNotes =
      CTCorvelIntegration::ReleaseNotes(program, notesText) && CTRTFReader::ReadRichOrPlain(notesText, notes);

  const QJsonObject status{{"server_id", serverID},
                           {"server", ServerText(serverID)},
                           {"program_id", program},
                           {"language", language},
                           {"manual", hasManual ? QJsonValue(manual) : QJsonValue()},
                           {"release_notes", hasNotes ? QJsonValue(notes.toPlainText()) : QJsonValue()}};
  if (options.Has(QStringLiteral("--json"))) {
    out << QJsonDocument(status).toJson(QJsonDocument::Indented);
    return kExitOk;
  }
  out << "server: " << (status["server"].toString().isEmpty() ? QStringLiteral("none") : status["server"].toString())
      << " (number " << serverID << ")\n";
  out << "program: " << (program > 0 ? QString::number(program) : QStringLiteral("not known to the service, or no answer"))
      << "\n";
  out << "user's manual (" << language << "): " << (hasManual ? manual : QStringLiteral("none")) << "\n";
  out << "release notes: " << (hasNotes ? QStringLiteral("\n") + notes.toPlainText() : QStringLiteral("none")) << "\n";
  return kExitOk;
}

int RunDownload(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  if (arguments.isEmpty() || arguments.first().startsWith(QLatin1String("--"))) {
    err << "aerolith-cli online download: PATH is required\n" << kUsage;
    return kExitUsage;
  }
  CTCliOptions options(arguments.mid(1), {QStringLiteral("--out"), QStringLiteral("--size")}, {});
  const std::optional<double> size =
      options.Has(QStringLiteral("--size")) ? options.Number(QStringLiteral("--size")) : std::optional<double>(0);
  const QString file = options.Value(QStringLiteral("--out"));
  if (!options.Error().isEmpty() || file.isEmpty() || !size || *size < 0 || *size > 4294967295.0 ||
      *size != static_cast<double>(static_cast<qint64>(*size))) {
    err << "aerolith-cli online download: "
        << (options.Error().isEmpty() ? QStringLiteral("--out FILE is required, --size a whole count of bytes")
                                      : options.Error())
        << "\n" << kUsage;
    return kExitUsage;
  }
  quint32 found = 0;
  const auto result = CTCorvelIntegration::GetFileFromInternet(
      CTVersionUtils::CorvelServerID(), arguments.first(), file, static_cast<quint32>(*size), found);
  switch (result) {
    case CTCorvelIntegration::kFileOk:
      out << found << " bytes written to " << file << "\n";
      return kExitOk;
    case CTCorvelIntegration::kFileSizeDiffers:
      err << "aerolith-cli online download: the file has " << found << " bytes, not " << static_cast<qint64>(*size)
          << "; " << file << " is unchanged\n";
      return kExitFailure;
    default:
      err << "aerolith-cli online download: the download failed (result " << int(result) << "); " << file
          << " is unchanged\n";
      return kExitFailure;
  }
}

// The newest build for a language, English when the list has none in it;
// the first of equally new ones. Null when there is none.
const LTVersionEntry* NewestBuild(const std::vector<LTVersionEntry>& entries, int nLanguage) {
  constexpr int kEnglish = 1033;
  const bool offered = std::any_of(entries.begin(), entries.end(),
                                   [&](const LTVersionEntry& entry) { return entry.v_languageID == nLanguage; });
  const int language = offered ? nLanguage : kEnglish;
  const LTVersionEntry* newest = nullptr;
  for (const LTVersionEntry& entry : entries)
    if (entry.v_languageID == language && (newest == nullptr || entry.v_version > newest->v_version)) newest = &entry;
  return newest;
}

int RunFetchRelease(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  const QString kCommand = QStringLiteral("aerolith-cli online fetch-release: ");
  CTCliOptions options(arguments, {QStringLiteral("--out"), QStringLiteral("--language")}, {});
  const std::optional<double> chosen =
      options.Has(QStringLiteral("--language")) ? options.Number(QStringLiteral("--language")) : std::optional<double>(1033);
  const QString folder = options.Value(QStringLiteral("--out"));
  if (!options.Error().isEmpty() || folder.isEmpty() || !chosen || *chosen < 1 || *chosen > 65535 ||
      *chosen != static_cast<double>(static_cast<int>(*chosen))) {
    err << kCommand
        << (options.Error().isEmpty() ? QStringLiteral("--out DIR is required, --language a language number (LCID)")
                                      : options.Error())
        << "\n" << kUsage;
    return kExitUsage;
  }
  if (QFileInfo::exists(folder) &&
      !(QFileInfo(folder).isDir() && QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))) {
    err << kCommand << folder << " exists and is not an empty folder\n";
    return kExitUsage;
  }

  const int serverID = CTVersionUtils::CorvelServerID();
  const LTReleaseFetch fetched = CTSignedRelease::Fetch(serverID, CTVersionUtils::GetVersion());
  if (fetched.result == LTReleaseFetch::Result::kUnreachable) {
    err << kCommand << "the download server could not be reached\n";
    return kExitFailure;
  }
  if (fetched.result == LTReleaseFetch::Result::kRefused) {
    err << kCommand << "refused: " << CTUpgradeSteps::RefusalText(fetched.refusal) << "\n";
    return kExitRefused;
  }
  LTVersionsList list = CTVersionsList::Parse(QString::fromLatin1(fetched.release.arList), 0);
  list.release = fetched.release;
  const QString listName = CTReleaseManifest::ListName(list.release.manifest.szProgram);
  const LTVersionEntry* build = list.bFailed ? nullptr : NewestBuild(list.entries, static_cast<int>(*chosen));
  if (build == nullptr) {
    err << kCommand << "refused: " << listName
        << (list.bFailed ? QStringLiteral(": an element does not read\n") : QStringLiteral(": it offers no build\n"));
    return kExitRefused;
  }

  std::vector<LTUpgradeFile> files = CTUpgradeDownload::Plan(
      serverID, list, *build, QString::fromLatin1(CTCorvelIntegration::kProgramFileName), true);
  const LTUpgradeOutcome outcome = CTUpgradeDownload::DownloadAll(serverID, list.release, files, folder);
  using Result = LTUpgradeOutcome::Result;
  switch (outcome.result) {
    case Result::kOk:
      break;
    case Result::kFailed:
      // The transfer tells no more than that it failed; a server that still
      // answers lacks the file, or broke it off.
      if (CTSignedRelease::Fetch(serverID, 0).result == LTReleaseFetch::Result::kUnreachable) {
        err << kCommand << "the download of " << outcome.refusal.szFile
            << " failed: the download server could not be reached; nothing was kept\n";
        return kExitFailure;
      }
      err << kCommand << "refused: " << outcome.refusal.szFile << ": the server did not give it; nothing was kept\n";
      return kExitRefused;
    case Result::kLocalFolder:
    case Result::kMissing:
      err << kCommand << folder << " cannot be written; nothing was kept\n";
      return kExitFailure;
    case Result::kNoUpdater:
      err << kCommand << "refused: " << listName << ": it names no updater\n";
      return kExitRefused;
    case Result::kSizeDiffers:
      err << kCommand << "refused: " << outcome.refusal.szFile << ": it arrived with " << outcome.nFoundSize
          << " bytes, signed with " << outcome.nExpectedSize << "; nothing was kept\n";
      return kExitRefused;
    case Result::kDigestDiffers:
    case Result::kNotInRelease:
      err << kCommand << "refused: " << CTUpgradeSteps::RefusalText(outcome.refusal) << " Nothing was kept.\n";
      return kExitRefused;
  }
  const LTReleaseManifest& manifest = list.release.manifest;
  out << "release " << CTUpgradeSteps::VersionText(manifest.nRelease) << " of " << manifest.szProgram << ", key "
      << manifest.arKeyId.toHex() << ", expires " << CTReleaseManifest::TimeText(manifest.nExpires) << "\n";
  out << "verified " << listName << "\n";
  for (const LTUpgradeFile& file : files)
    if (file.role != LTUpgradeFile::Role::kManifest)
      out << "verified " << file.szReleaseName << " (" << file.nSize << " bytes)\n";
  out << "build " << CTUpgradeSteps::VersionText(build->v_version) << " for language " << build->v_languageID
      << " in " << QDir::toNativeSeparators(folder) << "\n";
  return kExitOk;
}

}  // namespace

int RunOnline(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  const QString sub = arguments.value(0);
  if (sub == QLatin1String("status")) return RunStatus(arguments.mid(1), out, err);
  if (sub == QLatin1String("download")) return RunDownload(arguments.mid(1), out, err);
  if (sub == QLatin1String("fetch-release")) return RunFetchRelease(arguments.mid(1), out, err);
  err << kUsage;
  return kExitUsage;
}

}  // namespace AerolithCli
