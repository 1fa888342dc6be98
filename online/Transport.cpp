#include "online/Transport.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <memory>

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
  if (!QCoreApplication::instance() || !url.isValid() || url.host().isEmpty() ||
      url.scheme() != QLatin1String("http"))
    return exchange.response;

  std::unique_ptr<QFile> upload;
  if (!request.uploadFile.isEmpty()) {
    upload = std::make_unique<QFile>(request.uploadFile);
    if (!upload->open(QIODevice::ReadOnly)) {
      exchange.response.outcome = LTHttpOutcome::kLocalFile;
      return exchange.response;
    }
  }

  QNetworkAccessManager& manager = Manager();
  // The system's proxy for the world, never for our own machine.
  manager.setProxy(IsLoopback(url) ? QNetworkProxy(QNetworkProxy::NoProxy) : QNetworkProxy(QNetworkProxy::DefaultProxy));

  QNetworkRequest http(url);
  http.setHeader(QNetworkRequest::UserAgentHeader, QByteArray(kUserAgent));
  http.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  http.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  http.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
  for (const auto& [name, value] : request.headers) http.setRawHeader(name, value);

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
  if (response.nStatus != 0 && (response.nStatus < 200 || response.nStatus > 299))
    response.outcome = LTHttpOutcome::kHttpStatus;
  else if (reply->error() != QNetworkReply::NoError || response.nStatus == 0)
    response.outcome = LTHttpOutcome::kNoServer;
  else
    response.outcome = LTHttpOutcome::kOk;
  return response;
}
