#include "online/Transport.h"

#include "online/CorvelConfig.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QSslSocket>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <optional>

namespace {

CTTransport* g_testTransport = nullptr;

constexpr const char* kUserAgent = "Mozilla/5.0 (compatible; MSIE 8.0;)";

// One manager per thread, made on first use: its connection cache keeps the
// service's connection open between questions.
QNetworkAccessManager& Manager() {
  static thread_local std::unique_ptr<QNetworkAccessManager> manager;
  if (!manager) {
    manager = std::make_unique<QNetworkAccessManager>();
    manager->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
  }
  return *manager;
}

bool IsLoopback(const QUrl& url) {
  if (url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) return true;
  const QHostAddress address(url.host());
  return !address.isNull() && address.isLoopback();
}

// The system's authorities, read once: reading them takes tens of
// milliseconds, and they only matter beside a company CA file.
const QList<QSslCertificate>& SystemAuthorities() {
  static const QList<QSslCertificate> authorities = QSslConfiguration::systemCaCertificates();
  return authorities;
}

// What an https exchange trusts: the system's authorities, plus the company
// CA file when the mirror setting names one. None, with the reason, when
// the CA file cannot serve: an unreadable file fails closed rather than
// quietly trusting less than the setting says (which would fail anyway,
// with a less useful message).
std::optional<QSslConfiguration> TlsConfiguration(const QString& szCaFile, QString& szProblem) {
  if (!QSslSocket::supportsSsl()) {
    szProblem = QStringLiteral("this system offers no TLS library for https");
    return std::nullopt;
  }
  QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
  tls.setProtocol(QSsl::TlsV1_2OrLater);
  tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
  if (szCaFile.isEmpty()) return tls;
  const QList<QSslCertificate> company =
      QSslCertificate::fromPath(szCaFile, QSsl::Pem, QSslCertificate::PatternSyntax::FixedString);
  if (company.isEmpty()) {
    szProblem = QStringLiteral("the CA file %1 cannot be read or holds no PEM certificate").arg(szCaFile);
    return std::nullopt;
  }
  // Setting the list ends Qt's loading of system authorities on demand, so
  // the list carries them itself.
  tls.setCaCertificates(SystemAuthorities() + company);
  return tls;
}

// Which trust a kept connection was verified under: the CA file and its
// time stamp. Qt keys kept connections by scheme, host and port alone, so a
// connection verified under one trust would otherwise carry requests under
// another (a CA file removed or replaced while the program runs).
QString TrustIdentity(const QString& szCaFile) {
  if (szCaFile.isEmpty()) return QStringLiteral("system");
  const QFileInfo info(szCaFile);
  return szCaFile + QLatin1Char('@') + QString::number(info.lastModified().toMSecsSinceEpoch()) + QLatin1Char('/') +
         QString::number(info.size());
}

// State of one running exchange; the reply's signals write into it.
struct LTExchange {
  const LTHttpRequest& request;
  LTHttpResponse response;
  bool bFinished = false;
  bool bStopped = false;  // ended by us; response.outcome says why
};

void Stop(LTExchange& exchange, QNetworkReply* pReply, LTHttpOutcome outcome) {
  if (exchange.bStopped || exchange.bFinished) return;
  exchange.bStopped = true;
  exchange.response.outcome = outcome;
  pReply->abort();
}

void TakeAvailable(LTExchange& exchange, QNetworkReply* pReply) {
  if (exchange.bStopped) return;
  const QByteArray piece = pReply->readAll();
  if (piece.isEmpty()) return;
  // What fits is kept, so that the caller sees how far the answer went.
  const qint64 room = exchange.request.nMaxBytes - exchange.response.nReceived;
  const bool tooLarge = piece.size() > room;
  const QByteArray kept = tooLarge ? piece.left(room) : piece;
  exchange.response.nReceived += kept.size();
  if (!exchange.request.pSink)
    exchange.response.body += kept;
  else if (exchange.request.pSink->write(kept) != kept.size())
    Stop(exchange, pReply, LTHttpOutcome::kLocalFile);
  if (tooLarge) Stop(exchange, pReply, LTHttpOutcome::kTooLarge);
}

}  // namespace

CTTransport& CTTransport::Current() {
  if (g_testTransport) return *g_testTransport;
  static CTNetworkTransport network;
  return network;
}

void CTTransport::SetForTests(CTTransport* pTransport) { g_testTransport = pTransport; }

LTHttpResponse CTNetworkTransport::Exchange(const LTHttpRequest& request) {
  LTExchange exchange{request, {}};
  const QUrl url = QUrl::fromEncoded(request.url, QUrl::StrictMode);
  const bool https = url.scheme() == QLatin1String("https");
  if (!QCoreApplication::instance() || !url.isValid() || url.host().isEmpty() ||
      (url.scheme() != QLatin1String("http") && !https))
    return exchange.response;
  const QString caFile = https ? CTCorvelConfig::MirrorCaFile() : QString();
  std::optional<QSslConfiguration> tls;
  if (https) {
    tls = TlsConfiguration(caFile, exchange.response.szProblem);
    if (!tls) {
      exchange.response.outcome = LTHttpOutcome::kUntrusted;
      return exchange.response;
    }
  }

  std::unique_ptr<QFile> upload;
  if (!request.uploadFile.isEmpty()) {
    upload = std::make_unique<QFile>(request.uploadFile);
    if (!upload->open(QIODevice::ReadOnly)) {
      exchange.response.outcome = LTHttpOutcome::kLocalFile;
      return exchange.response;
    }
  }

  QNetworkAccessManager& manager = Manager();
  if (https) {
    static thread_local QString keptUnderTrust;
    const QString trust = TrustIdentity(caFile);
    if (trust != keptUnderTrust) manager.clearConnectionCache();
    keptUnderTrust = trust;
  }
  // The system's proxy for the world, never for our own machine.
  manager.setProxy(IsLoopback(url) ? QNetworkProxy(QNetworkProxy::NoProxy) : QNetworkProxy(QNetworkProxy::DefaultProxy));

  QNetworkRequest http(url);
  http.setHeader(QNetworkRequest::UserAgentHeader, QByteArray(kUserAgent));
  http.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  http.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  http.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
  for (const auto& [name, value] : request.headers) http.setRawHeader(name, value);
  if (tls) http.setSslConfiguration(*tls);

  QNetworkReply* reply = nullptr;
  if (request.verb == LTHttpRequest::Verb::kGet) {
    reply = manager.get(http);
  } else if (upload) {
    http.setHeader(QNetworkRequest::ContentLengthHeader, upload->size());
    reply = manager.post(http, upload.get());
  } else {
    reply = manager.post(http, request.body);
  }
  std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> owner(reply, [](QNetworkReply* p) { p->deleteLater(); });

  QEventLoop loop;
  QTimer overall;
  overall.setSingleShot(true);
  QTimer idle;
  idle.setSingleShot(true);
  const auto restartIdle = [&] {
    if (request.nIdleMs > 0) idle.start(request.nIdleMs);
  };
  QObject::connect(&overall, &QTimer::timeout, reply, [&] { Stop(exchange, reply, LTHttpOutcome::kTimedOut); });
  QObject::connect(&idle, &QTimer::timeout, reply, [&] { Stop(exchange, reply, LTHttpOutcome::kTimedOut); });
  QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
    restartIdle();
    TakeAvailable(exchange, reply);
  });
  QObject::connect(reply, &QNetworkReply::uploadProgress, reply, [&](qint64, qint64) { restartIdle(); });
  QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [&](qint64 nReceived, qint64 nTotal) {
    if (request.progress && !exchange.bStopped) request.progress(nReceived, nTotal);
  });
  // Never ignored: the reply then ends with a handshake error, before the
  // request leaves. The first error is the one that says why.
  QObject::connect(reply, &QNetworkReply::sslErrors, reply, [&](const QList<QSslError>& errors) {
    if (!errors.isEmpty() && exchange.response.szProblem.isEmpty())
      exchange.response.szProblem = errors.first().errorString();
  });
  QObject::connect(reply, &QNetworkReply::finished, &loop, [&] {
    exchange.bFinished = true;
    loop.quit();
  });
  if (request.nOverallMs > 0) overall.start(request.nOverallMs);
  restartIdle();
  if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);

  TakeAvailable(exchange, reply);
  LTHttpResponse& response = exchange.response;
  response.nStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (exchange.bStopped) return response;
  if (https && (reply->error() == QNetworkReply::SslHandshakeFailedError || !response.szProblem.isEmpty())) {
    response.outcome = LTHttpOutcome::kUntrusted;
    if (response.szProblem.isEmpty()) response.szProblem = reply->errorString();
    return response;
  }
  if (response.nStatus != 0 && (response.nStatus < 200 || response.nStatus > 299))
    response.outcome = LTHttpOutcome::kHttpStatus;
  else if (reply->error() != QNetworkReply::NoError || response.nStatus == 0)
    response.outcome = LTHttpOutcome::kNoServer;
  else
    response.outcome = LTHttpOutcome::kOk;
  return response;
}
