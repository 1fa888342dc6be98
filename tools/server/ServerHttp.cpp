#include "tools/server/ServerHttp.h"

#include "online/ATORemoteUtils0.h"
#include "tools/server/ServerPaths.h"
#include "tools/server/ServerService.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QSaveFile>
#include <QUrl>

#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <thread>

namespace {

constexpr qint64 kMaxUploadBytes = 64LL * 1024 * 1024;
constexpr qsizetype kMaxReportChars = 64 * 1024;
constexpr qsizetype kRawReportChars = 1000;
constexpr size_t kChunkBytes = 64 * 1024;
constexpr int kGarbageBytes = 512;
constexpr auto kPollInterval = std::chrono::milliseconds(50);
constexpr auto kSlowByteInterval = std::chrono::milliseconds(500);
constexpr auto kLongestHold = std::chrono::minutes(10);

const std::string kText = "text/plain; charset=iso-8859-1";
const std::string kHtml = "text/html; charset=utf-8";
const std::string kXml = "text/xml; charset=utf-8";
const std::string kBinary = "application/octet-stream";

// What a script answers, before the fault mode decides how it travels.
struct LTAnswer {
  int nStatus = 200;
  std::string contentType = kText;
  std::string body;
  QString szFile;  // when set, the body is this file's bytes
  qint64 nFileSize = 0;
  std::string location;  // for a redirect
  bool bCloseConnection = false;
};

LTAnswer Status(int nStatus, const char* szText) {
  LTAnswer answer;
  answer.nStatus = nStatus;
  answer.body = std::string(szText) + "\n";
  return answer;
}

LTAnswer FileAnswer(const QString& szPath) {
  LTAnswer answer;
  answer.contentType = kBinary;
  answer.szFile = szPath;
  answer.nFileSize = QFileInfo(szPath).size();
  return answer;
}

LTAnswer FromResolved(const CTServerPaths::Resolved& resolved) {
  switch (resolved.found) {
    case CTServerPaths::Found::kFile:
      return FileAnswer(resolved.szPath);
    case CTServerPaths::Found::kMissing:
      return Status(404, "Not Found");
    case CTServerPaths::Found::kRejected:
      break;
  }
  return Status(400, "Bad Request");
}

QString Param(const httplib::Request& req, const char* szName) {
  return QString::fromStdString(req.get_param_value(szName));
}

// One line of the log or of reports.log: no line breaks or other control
// characters from the request may start a line of their own.
QString OneLine(QString szText, bool bKeepTabs) {
  for (QChar& c : szText) {
    const char16_t u = c.unicode();
    if ((u < 0x20 && !(bKeepTabs && u == u'\t')) || u == 0x7f) c = QLatin1Char(' ');
  }
  return szText;
}

bool HasControlCharacter(const QString& szText) {
  return std::any_of(szText.begin(), szText.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

QString HtmlEscaped(const QString& szText) {
  return szText.toHtmlEscaped().replace(QLatin1Char('\''), QLatin1String("&#39;"));
}

QString XmlAttribute(const QString& szText) { return HtmlEscaped(szText); }

// Junk that no XML reader takes for a document: a NUL comes before the
// first '<' can open anything. Always the same bytes, so that a client's
// failure with it can be repeated.
std::string GarbageBytes() {
  std::string junk(kGarbageBytes, '\0');
  quint32 nState = 0x2545f491u;
  for (char& c : junk) {
    nState = nState * 1664525u + 1013904223u;
    c = static_cast<char>(nState >> 24);
  }
  junk[0] = '\x01';
  junk[1] = '\0';
  junk[2] = '<';
  junk[3] = '\0';
  return junk;
}

// The last OpenSSL error in words ("no start line"), emptying its queue.
QString OpenSslReason() {
  const unsigned long nError = ERR_peek_last_error();
  const char* szReason = nError != 0 ? ERR_reason_error_string(nError) : nullptr;
  ERR_clear_error();
  return QString::fromLatin1(szReason ? szReason : "unknown reason");
}

// The TLS side of an HTTPS server: the certificate chain and its key from
// PEM files, TLS 1.2 or later. False with the reason when they cannot serve.
bool SetUpTls(SSL_CTX& ctx, const LTServerOptions& options, QString& szProblem) {
  for (const QString& szFile : {options.szCertFile, options.szKeyFile}) {
    if (!QFileInfo(szFile).isFile() || !QFileInfo(szFile).isReadable()) {
      szProblem = QStringLiteral("cannot read %1").arg(szFile);
      return false;
    }
  }
  SSL_CTX_set_min_proto_version(&ctx, TLS1_2_VERSION);
  SSL_CTX_set_options(&ctx, SSL_OP_NO_COMPRESSION | SSL_OP_NO_SESSION_RESUMPTION_ON_RENEGOTIATION);
  if (SSL_CTX_use_certificate_chain_file(&ctx, QFile::encodeName(options.szCertFile).constData()) != 1) {
    szProblem = QStringLiteral("no certificate in %1 (%2)").arg(options.szCertFile, OpenSslReason());
    return false;
  }
  const QString mismatch = QStringLiteral("the key in %1 does not belong to the certificate in %2")
                               .arg(options.szKeyFile, options.szCertFile);
  if (SSL_CTX_use_PrivateKey_file(&ctx, QFile::encodeName(options.szKeyFile).constData(), SSL_FILETYPE_PEM) != 1) {
    // The library compares the key with the certificate as it loads it.
    const bool otherKey = ERR_GET_REASON(ERR_peek_last_error()) == X509_R_KEY_VALUES_MISMATCH;
    szProblem = otherKey ? mismatch : QStringLiteral("no private key in %1 (%2)").arg(options.szKeyFile, OpenSslReason());
    ERR_clear_error();
    return false;
  }
  if (SSL_CTX_check_private_key(&ctx) != 1) {
    szProblem = mismatch;
    ERR_clear_error();
    return false;
  }
  return true;
}

std::unique_ptr<httplib::Server> MakeServer(const LTServerOptions& options, QString& szTlsProblem) {
  if (options.szCertFile.isEmpty() && options.szKeyFile.isEmpty()) return std::make_unique<httplib::Server>();
  // Called within the constructor, so the references are still alive.
  return std::make_unique<httplib::SSLServer>(
      [&options, &szTlsProblem](SSL_CTX& ctx) { return SetUpTls(ctx, options, szTlsProblem); });
}

}  // namespace

struct CTDownloadServer::Impl {
  explicit Impl(const LTServerOptions& options)
      : opts(options),
        root(QDir(options.szRoot).absolutePath()),
        files(QDir(root).filePath(QStringLiteral("files"))),
        service(root),
        pServer(MakeServer(options, szTlsProblem)),
        http(*pServer) {}

  LTServerOptions opts;
  QString root;
  QString files;
  CTServerService service;
  QMutex reportMutex;
  QString szTlsProblem;  // why the certificate and key cannot serve
  std::unique_ptr<httplib::Server> pServer;  // plain HTTP, or HTTPS
  httplib::Server& http;
  // The socket the library listens on, seen as it is made, so that its
  // listen queue can be widened.
  socket_t nListenSocket = INVALID_SOCKET;
  std::atomic<bool> bStopping{false};
  std::atomic<bool> bRunStarted{false};
  std::atomic<bool> bRunEnded{false};
  std::atomic<bool> bStopCalled{false};
  int nPort = 0;

  using GetScript = LTAnswer (Impl::*)(const httplib::Request&);
  using PostScript = LTAnswer (Impl::*)(const httplib::Request&, const httplib::ContentReader&);

  void Routes();
  bool Wait(std::chrono::milliseconds interval);
  void Hold(const httplib::Request& req, const httplib::ContentReader* pReader, httplib::Response& res);
  void Send(LTAnswer answer, httplib::Response& res);

  LTAnswer VersionsList(const httplib::Request& req);
  LTAnswer Manifest(const httplib::Request& req);
  LTAnswer GlossarySize(const httplib::Request& req);
  LTAnswer DownloadFile(const httplib::Request& req);
  LTAnswer DownloadReport(const httplib::Request& req);
  LTAnswer ShowDocuments(const httplib::Request& req);
  LTAnswer NotFound(const httplib::Request&) { return Status(404, "Not Found"); }
  LTAnswer ReceiveFile(const httplib::Request& req, const httplib::ContentReader& reader);
  LTAnswer Soap(const httplib::Request& req, const httplib::ContentReader& reader);
  LTAnswer PostNotFound(const httplib::Request& req, const httplib::ContentReader& reader);
};

namespace {

enum class BodyRead { kOk, kTooLarge, kFailed };

// What the headers announce: kOk with the length (-1 when the body comes
// chunked), or the refusal.
BodyRead AnnouncedLength(const httplib::Request& req, qint64 nMax, qint64& nLength) {
  nLength = -1;
  if (!req.has_header("Content-Length")) return BodyRead::kOk;
  bool bOk = false;
  nLength = QByteArray::fromStdString(req.get_header_value("Content-Length")).trimmed().toLongLong(&bOk);
  if (!bOk || nLength < 0) return BodyRead::kFailed;
  return nLength > nMax ? BodyRead::kTooLarge : BodyRead::kOk;
}

// Reads a request body of at most nMax bytes into the sink. A longer body
// is refused from its Content-Length before anything is read, or as soon as
// it outgrows the cap when it comes chunked.
BodyRead ReadBody(const httplib::Request& req, const httplib::ContentReader& reader, qint64 nMax,
                  const std::function<bool(const char*, size_t)>& sink) {
  qint64 nLength = 0;
  if (const BodyRead announced = AnnouncedLength(req, nMax, nLength); announced != BodyRead::kOk) return announced;
  // Form bodies would need a handler for each of their pieces; no script takes forms.
  if (req.is_multipart_form_data()) return BodyRead::kFailed;
  qint64 nRead = 0;
  bool bTooLarge = false;
  const bool bOk = reader([&](const char* pData, size_t nBytes) {
    nRead += static_cast<qint64>(nBytes);
    if (nRead > nMax) {
      bTooLarge = true;
      return false;
    }
    return sink(pData, nBytes);
  });
  if (bTooLarge) return BodyRead::kTooLarge;
  return bOk ? BodyRead::kOk : BodyRead::kFailed;
}

LTAnswer RefusedBody(BodyRead result) {
  // The rest of the body is still on the way; the connection cannot carry
  // another request.
  LTAnswer answer = result == BodyRead::kTooLarge ? Status(413, "Payload Too Large") : Status(400, "Bad Request");
  answer.bCloseConnection = true;
  return answer;
}

}  // namespace

void CTDownloadServer::Impl::Routes() {
  const auto get = [this](const char* szPattern, GetScript script) {
    http.Get(szPattern, [this, script](const httplib::Request& req, httplib::Response& res) {
      if (opts.fault == ServerFault::kNever) return Hold(req, nullptr, res);
      Send((this->*script)(req), res);
    });
  };
  const auto post = [this](const char* szPattern, PostScript script) {
    http.Post(szPattern,
              [this, script](const httplib::Request& req, httplib::Response& res, const httplib::ContentReader& reader) {
                if (opts.fault == ServerFault::kNever) return Hold(req, &reader, res);
                Send((this->*script)(req, reader), res);
              });
  };
  get(R"(/scripts/corvel_get_versions_multi\.asp)", &Impl::VersionsList);
  get(R"(/scripts/corvel_get_manifest\.asp)", &Impl::Manifest);
  get(R"(/scripts/corvel_get_glos_size\.asp)", &Impl::GlossarySize);
  get(R"(/scripts/corvel_download_file\.asp)", &Impl::DownloadFile);
  get(R"(/scripts32/upgrade_downloaded\.asp)", &Impl::DownloadReport);
  get(R"(/scripts/show_doc\.asp)", &Impl::ShowDocuments);
  post(R"(/scripts/corvel_receive_file_new\.asp)", &Impl::ReceiveFile);
  post(R"(/svc/CorvelSvc\.dll/soap/ICorvelSvc)", &Impl::Soap);
  // Every other path still meets the fault mode.
  get(".*", &Impl::NotFound);
  post(".*", &Impl::PostNotFound);

  http.set_logger([](const httplib::Request& req, const httplib::Response& res) {
    const QString szLine = QStringLiteral("%1 %2 %3\n")
                               .arg(req.method.empty() ? QStringLiteral("-") : OneLine(QString::fromStdString(req.method), false),
                                    req.path.empty() ? QStringLiteral("-") : OneLine(QString::fromStdString(req.path), false))
                               .arg(res.status);
    const QByteArray arLine = szLine.toUtf8();
    std::fwrite(arLine.constData(), 1, static_cast<size_t>(arLine.size()), stderr);
    std::fflush(stderr);
  });
}

// Sleeps one interval in polls of the stop flag; false when stopping.
bool CTDownloadServer::Impl::Wait(std::chrono::milliseconds interval) {
  const auto end = std::chrono::steady_clock::now() + interval;
  while (!bStopping.load()) {
    const auto now = std::chrono::steady_clock::now();
    if (now >= end) return true;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kPollInterval, end - now));
  }
  return false;
}

void CTDownloadServer::Impl::Hold(const httplib::Request& req, const httplib::ContentReader* pReader,
                                  httplib::Response& res) {
  if (pReader != nullptr) ReadBody(req, *pReader, kMaxUploadBytes, [](const char*, size_t) { return true; });
  const auto end = std::chrono::steady_clock::now() + kLongestHold;
  while (std::chrono::steady_clock::now() < end && Wait(kPollInterval)) {
  }
  // Giving up, or shutting down: whatever the client still reads says so.
  res.status = 503;
  res.set_header("Connection", "close");
  res.set_content("Service Unavailable\n", kText);
}

void CTDownloadServer::Impl::Send(LTAnswer answer, httplib::Response& res) {
  if (answer.bCloseConnection) res.set_header("Connection", "close");
  if (opts.fault == ServerFault::kGarbage) {
    res.status = 200;
    res.set_content(GarbageBytes(), answer.contentType);
    return;
  }
  res.status = answer.nStatus;
  if (!answer.location.empty()) res.set_header("Location", answer.location);
  if (answer.szFile.isEmpty() && (answer.body.empty() || opts.fault == ServerFault::kNone)) {
    res.set_content(answer.body, answer.contentType);
    return;
  }
  if (!answer.szFile.isEmpty() && answer.nFileSize == 0) {
    res.set_content(std::string(), answer.contentType);
    return;
  }
  const bool bSlow = opts.fault == ServerFault::kSlow;
  auto pFile = std::make_shared<QFile>(answer.szFile);
  if (!answer.szFile.isEmpty() && !pFile->open(QIODevice::ReadOnly)) {
    res.status = 404;
    res.set_content("Not Found\n", kText);
    return;
  }
  auto pBody = std::make_shared<std::string>(std::move(answer.body));
  const size_t nLength = answer.szFile.isEmpty() ? pBody->size() : static_cast<size_t>(answer.nFileSize);
  res.set_content_provider(
      nLength, answer.contentType, [this, bSlow, pFile, pBody](size_t nOffset, size_t nLeft, httplib::DataSink& sink) {
        if (bSlow && !Wait(kSlowByteInterval)) return false;
        const size_t nPiece = bSlow ? 1 : std::min(nLeft, kChunkBytes);
        if (!pFile->isOpen()) return sink.write(pBody->data() + nOffset, nPiece);
        // A file that shrank while it was sent ends the connection short,
        // which the client sees against the Content-Length.
        if (!pFile->seek(static_cast<qint64>(nOffset))) return false;
        const QByteArray arPiece = pFile->read(static_cast<qint64>(nPiece));
        if (arPiece.isEmpty()) return false;
        return sink.write(arPiece.constData(), static_cast<size_t>(arPiece.size()));
      });
}

// ---------------------------------------------------------------- scripts

LTAnswer CTDownloadServer::Impl::VersionsList(const httplib::Request& req) {
  const QString szName = Param(req, "name");
  if (!CTServerPaths::IsPlainName(szName)) return Status(400, "Bad Request");
  const CTServerPaths::Resolved list =
      CTServerPaths::Resolve(QDir(root).filePath(QStringLiteral("versions")), szName + QStringLiteral(".txt"));
  // No list: nothing to offer, which is not an error. A list goes out as
  // aerolith-release signed it, byte for byte.
  if (list.found != CTServerPaths::Found::kFile) return LTAnswer();
  LTAnswer answer = FileAnswer(list.szPath);
  answer.contentType = kText;
  return answer;
}

// ROOT/versions/NAME.manifest, as aerolith-release wrote it. The list and
// the files go out as they lie: the manifest vouches for their bytes, the
// server for none.
LTAnswer CTDownloadServer::Impl::Manifest(const httplib::Request& req) {
  const QString szName = Param(req, "name");
  if (!CTServerPaths::IsPlainName(szName)) return Status(400, "Bad Request");
  // No manifest is a 404, which the program takes for an unsigned release.
  return FromResolved(
      CTServerPaths::Resolve(QDir(root).filePath(QStringLiteral("versions")), szName + QStringLiteral(".manifest")));
}

LTAnswer CTDownloadServer::Impl::GlossarySize(const httplib::Request& req) {
  static const QRegularExpression digits(QStringLiteral("^[0-9]{1,10}$"));
  const QString szName = Param(req, "name");
  const QString szLanguage = Param(req, "lang");
  if (!CTServerPaths::IsPlainName(szName) || !digits.match(szLanguage).hasMatch()) return Status(400, "Bad Request");
  const QString szRelative = QStringLiteral("glossaries/%1/%2.xml").arg(szLanguage, szName);
  const CTServerPaths::Resolved glossary = CTServerPaths::Resolve(files, szRelative);
  LTAnswer answer;
  // The release's manifest vouches for the glossary's bytes.
  const QString szBody = glossary.found == CTServerPaths::Found::kFile
                             ? QStringLiteral("<glossary path=\"%1\" size=\"%2\"/>")
                                   .arg(XmlAttribute(szRelative))
                                   .arg(QFileInfo(glossary.szPath).size())
                             : QStringLiteral("<glossary/>");
  // The list speaks ISO 8859-1; a name beyond it would come back as '?'.
  answer.body = szBody.toLatin1().toStdString();
  return answer;
}

LTAnswer CTDownloadServer::Impl::DownloadFile(const httplib::Request& req) {
  return FromResolved(CTServerPaths::Resolve(files, Param(req, "file")));
}

LTAnswer CTDownloadServer::Impl::DownloadReport(const httplib::Request& req) {
  static const QRegularExpression packed(QStringLiteral("^[a-p]+$"));
  const QString szReport = Param(req, "req");
  if (szReport.size() > kMaxReportChars) return Status(400, "Bad Request");
  QString szLine;
  if (packed.match(szReport).hasMatch()) szLine = CTATORemoteUtils0::UnpackServiceText(szReport);
  if (szLine.isEmpty()) szLine = QStringLiteral("raw ") + szReport.left(kRawReportChars);
  const QByteArray arLine = OneLine(szLine, true).toUtf8() + '\n';

  // An append of one line in one write: readers of the log never see half
  // a line, and the log is never rewritten, so nothing can be lost.
  QMutexLocker lock(&reportMutex);
  QFile log(QDir(root).filePath(QStringLiteral("reports.log")));
  if (!log.open(QIODevice::WriteOnly | QIODevice::Append) || log.write(arLine) != arLine.size()) {
    return Status(500, "Internal Server Error");
  }
  return Status(200, "OK");
}

LTAnswer CTDownloadServer::Impl::ShowDocuments(const httplib::Request& req) {
  const QString szSeries = Param(req, "series");
  if (!CTServerPaths::IsPlainName(szSeries)) return Status(400, "Bad Request");
  const QString szFolder = QDir(files).filePath(QStringLiteral("devices/") + szSeries);
  const QString szType = Param(req, "type");
  const QString szPage = Param(req, "page");
  if (szType.trimmed() == QLatin1String("3") && !szPage.isEmpty()) {
    if (szPage.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
        szPage.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)) {
      // The address goes into a header line: it may not break it, and
      // what is not plain ASCII goes percent-encoded.
      const QUrl url(szPage, QUrl::TolerantMode);
      if (HasControlCharacter(szPage) || !url.isValid()) return Status(400, "Bad Request");
      LTAnswer answer = Status(302, "Found");
      answer.location = url.toEncoded().toStdString();
      return answer;
    }
    return FromResolved(CTServerPaths::Resolve(szFolder, szPage));
  }

  QString szItems;
  if (CTServerPaths::IsInside(files, szFolder)) {
    for (const QFileInfo& info : QDir(szFolder).entryInfoList(QDir::Files, QDir::Name)) {
      if (!CTServerPaths::IsInside(szFolder, info.absoluteFilePath())) continue;
      const QString szFile = QStringLiteral("devices/%1/%2").arg(szSeries, info.fileName());
      const QString szHref = QStringLiteral("/scripts/corvel_download_file.asp?file=%1&server=0")
                                 .arg(QString::fromLatin1(QUrl::toPercentEncoding(szFile)));
      szItems += QStringLiteral("<li><a href=\"%1\">%2</a></li>\n").arg(HtmlEscaped(szHref), HtmlEscaped(info.fileName()));
    }
  }
  const QString szTitle = HtmlEscaped(szSeries + QStringLiteral(" documents"));
  QString szPageText = QStringLiteral(
                           "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title></head>\n"
                           "<body><h1>%1</h1>\n<p>Type %2, country %3, caller %4.</p>\n")
                           .arg(szTitle, HtmlEscaped(szType), HtmlEscaped(Param(req, "country")),
                                HtmlEscaped(Param(req, "caller")));
  szPageText += szItems.isEmpty() ? QStringLiteral("<p>No documents.</p>\n")
                                  : QStringLiteral("<ul>\n") + szItems + QStringLiteral("</ul>\n");
  szPageText += QStringLiteral("</body></html>\n");
  LTAnswer answer;
  answer.contentType = kHtml;
  answer.body = szPageText.toUtf8().toStdString();
  return answer;
}

LTAnswer CTDownloadServer::Impl::ReceiveFile(const httplib::Request& req, const httplib::ContentReader& reader) {
  const QString szName = Param(req, "target");
  if (!CTServerPaths::IsPlainName(szName)) return RefusedBody(BodyRead::kFailed);
  // Refused before the uploads folder is made, so a refusal leaves no trace.
  qint64 nLength = 0;
  const BodyRead announced = AnnouncedLength(req, kMaxUploadBytes, nLength);
  if (announced != BodyRead::kOk) return RefusedBody(announced);
  if (nLength == 0 || (nLength < 0 && !req.has_header("Transfer-Encoding"))) return RefusedBody(BodyRead::kFailed);
  const QString szFolder = QDir(root).filePath(QStringLiteral("uploads"));
  if (!QDir().mkpath(szFolder) || !CTServerPaths::IsInside(root, szFolder)) return Status(500, "Internal Server Error");

  // Written aside and renamed over the old file only when whole, so a
  // broken upload leaves the previous file as it was.
  QSaveFile file(QDir(szFolder).filePath(szName));
  file.setDirectWriteFallback(false);
  if (!file.open(QIODevice::WriteOnly)) return RefusedBody(BodyRead::kFailed);
  qint64 nWritten = 0;
  const BodyRead result = ReadBody(req, reader, kMaxUploadBytes, [&](const char* pData, size_t nBytes) {
    nWritten += static_cast<qint64>(nBytes);
    return file.write(pData, static_cast<qint64>(nBytes)) == static_cast<qint64>(nBytes);
  });
  if (result != BodyRead::kOk || nWritten == 0) {
    file.cancelWriting();
    return result == BodyRead::kOk ? Status(400, "Bad Request") : RefusedBody(result);
  }
  if (!file.commit()) return Status(500, "Internal Server Error");
  return Status(200, "OK");
}

LTAnswer CTDownloadServer::Impl::Soap(const httplib::Request& req, const httplib::ContentReader& reader) {
  QByteArray arRequest;
  const BodyRead result = ReadBody(req, reader, CTServerService::kMaxRequestBytes, [&](const char* pData, size_t nBytes) {
    arRequest.append(pData, static_cast<qsizetype>(nBytes));
    return true;
  });
  if (result != BodyRead::kOk) return RefusedBody(result);
  const CTServerService::Reply reply = service.Answer(arRequest);
  LTAnswer answer;
  answer.nStatus = reply.nStatus;
  answer.contentType = kXml;
  answer.body = reply.xml.toStdString();
  return answer;
}

LTAnswer CTDownloadServer::Impl::PostNotFound(const httplib::Request& req, const httplib::ContentReader& reader) {
  // Read (and drop) what fits, so the connection stays usable.
  const BodyRead result = ReadBody(req, reader, CTServerService::kMaxRequestBytes, [](const char*, size_t) { return true; });
  LTAnswer answer = Status(404, "Not Found");
  answer.bCloseConnection = result != BodyRead::kOk;
  return answer;
}

// ---------------------------------------------------------------- server

CTDownloadServer::CTDownloadServer(const LTServerOptions& options) : m_pImpl(std::make_unique<Impl>(options)) {
  Impl& d = *m_pImpl;
  d.http.new_task_queue = [] { return new httplib::ThreadPool(static_cast<size_t>(kWorkers)); };
  d.http.set_payload_max_length(static_cast<size_t>(kMaxUploadBytes));
  // The library's default adds SO_REUSEPORT, with which a second server on
  // a taken port starts without complaint and shares the connections.
  // TCP_NODELAY (inherited by the accepted connections): a service answer
  // goes out in two writes, and Nagle's rule would hold the second until
  // the client's delayed acknowledgement, some 40 ms a question.
  d.http.set_socket_options([&d](socket_t sock) {
    d.nListenSocket = sock;
    const int nYes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &nYes, sizeof(nYes));
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &nYes, sizeof(nYes));
  });
  d.http.set_tcp_nodelay(true);
  // An idle kept-alive connection holds a worker; a short wait lets the
  // server stop promptly.
  d.http.set_keep_alive_timeout(1);
  d.Routes();
}

CTDownloadServer::~CTDownloadServer() = default;

bool CTDownloadServer::ParseFault(const QString& szMode, ServerFault& fault) {
  static const std::map<QString, ServerFault> modes{{QStringLiteral("none"), ServerFault::kNone},
                                                    {QStringLiteral("never"), ServerFault::kNever},
                                                    {QStringLiteral("slow"), ServerFault::kSlow},
                                                    {QStringLiteral("garbage"), ServerFault::kGarbage}};
  const auto it = modes.find(szMode);
  if (it == modes.end()) return false;
  fault = it->second;
  return true;
}

bool CTDownloadServer::Bind(QString& szError) {
  Impl& d = *m_pImpl;
  if (!d.szTlsProblem.isEmpty() || !d.http.is_valid()) {
    szError = d.szTlsProblem.isEmpty() ? QStringLiteral("cannot set up TLS") : d.szTlsProblem;
    return false;
  }
  const std::string host = d.opts.szBind.toStdString();
  if (d.opts.nPort == 0) {
    d.nPort = d.http.bind_to_any_port(host);
  } else if (d.http.bind_to_port(host, d.opts.nPort)) {
    d.nPort = d.opts.nPort;
  } else {
    d.nPort = -1;
  }
  if (d.nPort <= 0) {
    szError = QStringLiteral("cannot listen on %1 port %2 (address not available or port in use)")
                  .arg(d.opts.szBind)
                  .arg(d.opts.nPort);
    return false;
  }
  // The library listens with a queue of five; a second listen() on the
  // listening socket only sets the new length (the kernel caps it at
  // net.core.somaxconn).
  if (d.nListenSocket == INVALID_SOCKET || ::listen(d.nListenSocket, kListenBacklog) != 0) {
    szError = QStringLiteral("cannot widen the listen queue on port %1").arg(d.nPort);
    return false;
  }
  return true;
}

int CTDownloadServer::Port() const { return m_pImpl->nPort; }

bool CTDownloadServer::Run() {
  Impl& d = *m_pImpl;
  d.bRunStarted.store(true);
  const bool bOk = d.bStopping.load() || d.http.listen_after_bind();
  d.bRunEnded.store(true);
  return bOk;
}

void CTDownloadServer::Stop() {
  Impl& d = *m_pImpl;
  d.bStopping.store(true);
  // The library's stop() only works once it listens, and only once.
  if (!d.bRunStarted.load() || d.bStopCalled.exchange(true)) return;
  while (!d.http.is_running() && !d.bRunEnded.load()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  if (!d.bRunEnded.load()) d.http.stop();
}
