#pragma once
// CTDownloadServer: the HTTP side of aerolith-server, the download scripts,
// the upload and report scripts, the documents page and the
// program-information service, over one served folder:
//
//   ROOT/files/             every downloadable file
//   ROOT/versions/NAME.txt  the versions list of the program file NAME
//   ROOT/service.json       the service's data (CTServerService)
//   ROOT/uploads/           where uploads land
//   ROOT/reports.log        one line per download report
//
// A fault mode makes every answer misbehave in one way, so that clients can
// be tried against a server that never answers, trickles its answer or
// answers junk.
//
// With a certificate and its key (PEM files) the server speaks HTTPS only,
// TLS 1.2 or later; without them plain HTTP.
//
// Load: every connection is served by one worker of a fixed pool
// (kWorkers) from its first byte until it closes or stays idle for a second;
// connections beyond the pool wait in the pool's queue, and connections not
// yet accepted wait in the kernel's listen queue (kListenBacklog). Both are
// sized so that a few hundred clients at once are each served at the first
// attempt: a listen queue that overflows drops the client's SYN, which the
// client repeats only after a second.

#include <QString>

#include <memory>

enum class ServerFault {
  kNone,
  kNever,    // read the request, then hold the connection without answering
  kSlow,     // status and headers at once, then one byte of the body every 500 ms
  kGarbage,  // status 200 with 512 bytes of junk instead of the body
};

struct LTServerOptions {
  QString szRoot;
  QString szBind = QStringLiteral("127.0.0.1");
  int nPort = 8080;  // 0: any free port
  ServerFault fault = ServerFault::kNone;
  QString szCertFile;  // both set: HTTPS
  QString szKeyFile;
};

class CTDownloadServer {
 public:
  static constexpr int kWorkers = 256;
  static constexpr int kListenBacklog = 1024;

  explicit CTDownloadServer(const LTServerOptions& options);
  ~CTDownloadServer();
  CTDownloadServer(const CTDownloadServer&) = delete;
  CTDownloadServer& operator=(const CTDownloadServer&) = delete;

  // "none", "never", "slow" or "garbage".
  static bool ParseFault(const QString& szMode, ServerFault& fault);

  // Takes the port; false with the reason when the address is bad or taken,
  // or the certificate and key cannot serve.
  bool Bind(QString& szError);
  int Port() const;
  // Serves until Stop(); returns after every connection has ended.
  bool Run();
  // From any thread: held and trickled answers give up within 50 ms.
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> m_pImpl;
};
