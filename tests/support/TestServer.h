#pragma once
// CTTestServer: one aerolith-server process over a folder, for one test. It
// listens on 127.0.0.1 on a port of its own choosing, so tests can run side
// by side. The server's stderr (one line per request, warnings) goes to a
// file, so a chatty server never blocks on a full pipe while the test, which
// runs no event loop, is busy elsewhere.

#include <QString>
#include <QTemporaryDir>

#include <memory>

class QProcess;

class CTTestServer {
 public:
  // A certificate and its key (PEM files) make the server speak HTTPS.
  struct LTTls {
    QString szCertFile;
    QString szKeyFile;
  };

  // Waits up to 10 s for the server's "listening on" line; when it does not
  // come, Running() is false and ServerLog() tells why.
  explicit CTTestServer(const QString& szRoot, const QString& szFault = QString(), const LTTls& tls = {});
  ~CTTestServer();  // SIGTERM, SIGKILL after 2 s, then waits
  CTTestServer(const CTTestServer&) = delete;
  CTTestServer& operator=(const CTTestServer&) = delete;

  bool Running() const;
  quint16 Port() const { return m_nPort; }
  QString HostAndPort() const;  // "127.0.0.1:PORT"
  QString ServerLog() const;    // what the server wrote to stderr so far

 private:
  std::unique_ptr<QProcess> m_pProcess;
  QTemporaryDir m_logDir;
  QString m_szStartProblem;
  quint16 m_nPort = 0;
};
