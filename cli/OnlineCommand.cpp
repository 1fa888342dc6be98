// aerolith-cli online: what the build's download server and its
// program-information service answer this program, and downloads from it.
// The same calls as the window's; for scripts and for checking a mirror.
//
//   online status [--language LCID] [--json]
//   online download PATH --out FILE [--size BYTES]

#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "docs/RTFReader.h"
#include "i18n/LangSupport.h"
#include "online/CorvelConfig.h"
#include "online/CorvelIntegration.h"
#include "platform/VersionUtils.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextDocument>

namespace AerolithCli {

namespace {

constexpr const char* kUsage =
    "usage: aerolith-cli online status [--language LCID] [--json]\n"
    "       aerolith-cli online download PATH --out FILE [--size BYTES]\n";

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
  const int program = CTCorvelIntegration::IdentifyProgram();
  QString manual;
  const bool hasManual = program > 0 && CTCorvelIntegration::HasUsersManual(language, manual);
  QByteArray notesText;
  QTextDocument notes;
  const bool hasNotes = program > 0 && CTCorvelIntegration::ReleaseNotes(notesText) &&
                        CTRTFReader::ReadRichOrPlain(notesText, notes);

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

}  // namespace

int RunOnline(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  const QString sub = arguments.value(0);
  if (sub == QLatin1String("status")) return RunStatus(arguments.mid(1), out, err);
  if (sub == QLatin1String("download")) return RunDownload(arguments.mid(1), out, err);
  err << kUsage;
  return kExitUsage;
}

}  // namespace AerolithCli
