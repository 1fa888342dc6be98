#include "online/CorvelIntegration.h"

#include "online/ATORemoteUtils0.h"
#include "online/CorvelConfig.h"
#include "online/CorvelSvc.h"
#include "online/Transport.h"
#include "platform/Resources.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <limits>

void CTMyBSClass::OnProgress(qint64 ulProgress, qint64 ulProgressMax) const {
  if (!v_progIndic || ulProgress <= 0 || ulProgressMax <= 0 || ulProgressMax < ulProgress) return;
  constexpr qint64 kMax = std::numeric_limits<quint32>::max();
  v_progIndic(static_cast<quint32>(std::min(ulProgress, kMax)), static_cast<quint32>(std::min(ulProgressMax, kMax)));
}

// ---------------------------------------------------------------- URLs

QString CTCorvelIntegration::MakeCompleteHttpURL(const QString& szServerName, int nServerHttpPort,
                                                 const QString& szRelativeURL) {
  return MakeCompleteURL(QStringLiteral("http"), szServerName, nServerHttpPort, szRelativeURL);
}

QString CTCorvelIntegration::MakeCompleteURL(const QString& szScheme, const QString& szServerName, int nPort,
                                             const QString& szRelativeURL) {
  const bool https = szScheme == QLatin1String("https");
  const int schemePort = https ? CTCorvelConfig::kDefaultHttpsPort : CTCorvelConfig::kDefaultPort;
  QString url = (https ? QStringLiteral("https://") : QStringLiteral("http://")) + szServerName;
  if (nPort != schemePort) url += QLatin1Char(':') + QString::number(nPort);
  return url + QLatin1Char('/') + szRelativeURL;
}

QString CTCorvelIntegration::ServerURL(int nServerID, const QString& szRelativeURL) {
  const CTCorvelConfig::LTServerAddress address = CTCorvelConfig::ServerAddress(nServerID);
  if (address.szHost.isEmpty()) return QString();
  return MakeCompleteURL(address.szScheme, address.szHost, address.nPort, szRelativeURL);
}

QString CTCorvelIntegration::Query(std::initializer_list<std::pair<const char*, QString>> values) {
  // Unreserved characters and "/" stay; "{" becomes "%7B", a blank "%20".
  QString out;
  for (const auto& [name, value] : values) {
    if (!out.isEmpty()) out += QLatin1Char('&');
    out += QString::fromLatin1(name) + QLatin1Char('=') +
           QString::fromLatin1(QUrl::toPercentEncoding(value, QByteArrayLiteral("/")));
  }
  return out;
}

// ---------------------------------------------------------------- transfers

bool CTCorvelIntegration::GetStringFromInternet(int nCorvelServerID, const QString& szScriptRelativeURL,
                                                QString& szReadStr) {
  szReadStr.clear();
  const QString url = ServerURL(nCorvelServerID, szScriptRelativeURL);
  if (url.isEmpty()) return false;
  LTHttpRequest request;
  request.url = url.toLatin1();
  request.nMaxBytes = kMaxStringAnswer;
  request.nOverallMs = kStringTimeoutMs;
  const LTHttpResponse response = CTTransport::Current().Exchange(request);
  if (!response.Ok()) return false;
  szReadStr = QString::fromLatin1(response.body);
  return true;
}

CTCorvelIntegration::TFileResult CTCorvelIntegration::GetFileFromInternet(
    int nCorvelServerID, const QString& szFileRelativeURL, const QString& szLocalFileName, quint32 nExpectedSize,
    quint32& nFoundSize, const CTCorvelDownloadProgressIndicator& pProgIndic) {
  nFoundSize = 0;
  QString path = szFileRelativeURL;
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  const QString url = ServerURL(nCorvelServerID, QStringLiteral("scripts/corvel_download_file.asp?") +
                                                     Query({{"file", path},
                                                            {"server", QString::number(nCorvelServerID)}}));
  if (url.isEmpty() || szLocalFileName.isEmpty()) return kFileFailed;

  // Written aside: the local file changes only when the download is whole.
  QSaveFile file(szLocalFileName);
  if (!file.open(QIODevice::WriteOnly)) return kFileFailed;
  const CTMyBSClass progress(pProgIndic);
  LTHttpRequest request;
  request.url = url.toLatin1();
  request.pSink = &file;
  // One byte past the expected size is enough to know it differs.
  request.nMaxBytes = nExpectedSize > 0 ? qint64(nExpectedSize) + 1 : kMaxFileSize;
  request.nOverallMs = 0;
  request.nIdleMs = kDownloadIdleMs;
  request.progress = [&progress](qint64 nReceived, qint64 nTotal) { progress.OnProgress(nReceived, nTotal); };
  const LTHttpResponse response = CTTransport::Current().Exchange(request);
  if (response.outcome != LTHttpOutcome::kOk && response.outcome != LTHttpOutcome::kTooLarge) {
    file.cancelWriting();
    return kFileFailed;
  }
  nFoundSize = static_cast<quint32>(std::min<qint64>(response.nReceived, kMaxFileSize));
  if (response.outcome == LTHttpOutcome::kTooLarge) {
    file.cancelWriting();
    return kFileSizeDiffers;
  }
  if (nExpectedSize != 0 && nFoundSize != nExpectedSize) {
    file.cancelWriting();
    return kFileSizeDiffers;
  }
  if (!file.commit()) return kFileMissing;
  return kFileOk;
}

bool CTCorvelIntegration::SaveFileToInternet(int nCorvelServerID, const QString& szFileRelativeURL,
                                             const QString& szLocalFileName) {
  const QFileInfo local(szLocalFileName);
  if (!local.isFile() || local.size() <= 0) return false;
  const QString url = ServerURL(nCorvelServerID, QStringLiteral("scripts/corvel_receive_file_new.asp?") +
                                                     Query({{"target", szFileRelativeURL}}));
  if (url.isEmpty()) return false;
  LTHttpRequest request;
  request.verb = LTHttpRequest::Verb::kPost;
  request.url = url.toLatin1();
  request.uploadFile = szLocalFileName;
  request.headers = {{"Content-Type", "application/octet-stream"}};
  request.nOverallMs = 0;
  request.nIdleMs = kDownloadIdleMs;
  const LTHttpResponse response = CTTransport::Current().Exchange(request);
  return response.Ok() && response.nStatus == 200;
}

// ---------------------------------------------------------------- structure versions

QString CTCorvelIntegration::StructureVersionFromText(const QByteArray& arText) {
  constexpr qsizetype kLongestResource = 200;
  if (arText.size() > kLongestResource) return QString();
  QString text = QString::fromLatin1(arText);
  const qsizetype blank = text.lastIndexOf(QLatin1Char(' '));
  if (blank >= 0) text = text.mid(blank + 1);
  // The version ends at the first line end; one at the very start is kept
  // out of the rule (a version has at least one character).
  for (qsizetype i = 1; i < text.size(); ++i) {
    if (text.at(i) == QLatin1Char('\r') || text.at(i) == QLatin1Char('\n')) {
      text.truncate(i);
      break;
    }
  }
  return text;
}

namespace {
QString VersionFromResources(const char* szFirst, const char* szSecond) {
  std::optional<QByteArray> data = CTResources::Data(QString::fromLatin1(szFirst));
  if (!data) data = CTResources::Data(QString::fromLatin1(szSecond));
  return data ? CTCorvelIntegration::StructureVersionFromText(*data) : QString();
}
}  // namespace

QString CTCorvelIntegration::GetCentralDbStructureVersionFromResource() {
  return VersionFromResources("Device_Database_Ref", "Device_Database");
}

QString CTCorvelIntegration::GetCompanyDbStructureVersionFromResource() {
  return VersionFromResources("Company_Database_Ref", "Company_Database_RO");
}

// ---------------------------------------------------------------- questions

int CTCorvelIntegration::IdentifyProgram(CTCorvelSvc& service) {
  return service.ProgramID(CTATORemoteUtils0::PackProgramName(QString::fromLatin1(kProgramFileName))).value_or(0);
}

int CTCorvelIntegration::IdentifyProgram() {
  const std::unique_ptr<CTCorvelSvc> service = GetCorvelSvc();
  return service ? IdentifyProgram(*service) : 0;
}

int CTCorvelIntegration::HasUpgrades(int nLanguageID, int nProgramVersion, int nDataVersion, int nGlossaryDate) {
  const std::unique_ptr<CTCorvelSvc> service = GetCorvelSvc();
  if (!service) return 0;
  const int program = IdentifyProgram(*service);
  if (program <= 0) return 0;
  return service->HasUpgrades(program, nLanguageID, nProgramVersion, nDataVersion, nGlossaryDate).value_or(0);
}

namespace {

// The questions after the program's number, over one client so that they
// share its deadline. A program the service does not know has neither.
bool AskManual(CTCorvelSvc& service, int nProgramID, int nLanguageID, QString& szFileName) {
  if (nProgramID <= 0) return false;
  const int manual = service.HasManual(nProgramID).value_or(0);
  if (manual < 1) return false;
  const QString packed = service.TransManualInfo(manual, nLanguageID).value_or(QString());
  if (packed.isEmpty()) return false;
  const QString path = CTATORemoteUtils0::UnpackServiceText(packed);
  if (path.isEmpty()) return false;
  szFileName = path;
  return true;
}

bool AskReleaseNotes(CTCorvelSvc& service, int nProgramID, QByteArray& arNotes) {
  if (nProgramID <= 0) return false;
  const QString packed = service.ReleaseNotes(nProgramID).value_or(QString());
  if (packed.isEmpty()) return false;
  const QByteArray notes = CTATORemoteUtils0::Bytes(CTATORemoteUtils0::UnpackServiceText(packed));
  if (notes.isEmpty()) return false;
  arNotes = notes;
  return true;
}

}  // namespace

bool CTCorvelIntegration::HasUsersManual(int nLanguageID, QString& szFileName) {
  const std::unique_ptr<CTCorvelSvc> service = GetCorvelSvc();
  return service && AskManual(*service, IdentifyProgram(*service), nLanguageID, szFileName);
}

bool CTCorvelIntegration::HasUsersManual(int nProgramID, int nLanguageID, QString& szFileName) {
  if (nProgramID <= 0) return false;
  const std::unique_ptr<CTCorvelSvc> service = GetCorvelSvc();
  return service && AskManual(*service, nProgramID, nLanguageID, szFileName);
}

bool CTCorvelIntegration::ReleaseNotes(QByteArray& arNotes) {
  const std::unique_ptr<CTCorvelSvc> service = GetCorvelSvc();
  return service && AskReleaseNotes(*service, IdentifyProgram(*service), arNotes);
}

bool CTCorvelIntegration::ReleaseNotes(int nProgramID, QByteArray& arNotes) {
  if (nProgramID <= 0) return false;
  const std::unique_ptr<CTCorvelSvc> service = GetCorvelSvc();
  return service && AskReleaseNotes(*service, nProgramID, arNotes);
}
