// aerolith-server as a company mirror runs it: over HTTPS with its own
// certificate, and under many clients at once.

#include "ServerRun.h"
#include "support/ServedFiles.h"
#include "support/TestAuthority.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <signal.h>

#include <memory>
#include <vector>

namespace {

TEST(ServerHttps, RefusesACertificateItCannotServe) {
  QTemporaryDir dir;
  CTTestAuthority authority;
  ASSERT_TRUE(authority.Ok()) << authority.Problem().toStdString();
  const CTTestAuthority::LTIssued one = authority.Issue(QStringLiteral("one"), {QStringLiteral("127.0.0.1")});
  const CTTestAuthority::LTIssued two = authority.Issue(QStringLiteral("two"), {QStringLiteral("127.0.0.1")});
  ASSERT_FALSE(one.szCertFile.isEmpty());
  ASSERT_FALSE(two.szCertFile.isEmpty());
  const QString missing = dir.filePath(QStringLiteral("missing.pem"));
  struct LTCase {
    const char* szName;
    QStringList tls;
    int nExit;
    QString szSays;
  };
  const LTCase cases[] = {
      {"a certificate without its key", {QStringLiteral("--cert"), one.szCertFile}, 2, QStringLiteral("--key")},
      {"a key without its certificate", {QStringLiteral("--key"), one.szKeyFile}, 2, QStringLiteral("--cert")},
      {"no certificate file", {QStringLiteral("--cert"), missing, QStringLiteral("--key"), one.szKeyFile}, 1, missing},
      {"a key where the certificate goes",
       {QStringLiteral("--cert"), one.szKeyFile, QStringLiteral("--key"), one.szKeyFile}, 1,
       QStringLiteral("no certificate in ") + one.szKeyFile},
      {"a certificate where the key goes",
       {QStringLiteral("--cert"), one.szCertFile, QStringLiteral("--key"), one.szCertFile}, 1,
       QStringLiteral("no private key in ") + one.szCertFile},
      {"another certificate's key",
       {QStringLiteral("--cert"), one.szCertFile, QStringLiteral("--key"), two.szKeyFile}, 1,
       QStringLiteral("does not belong")},
  };
  for (const LTCase& c : cases) {
    const LTServerRun run = RunServer(QStringList{QStringLiteral("--root"), dir.path(), QStringLiteral("--port"),
                                            QStringLiteral("0")} +
                                c.tls);
    EXPECT_EQ(run.nExit, c.nExit) << c.szName << ": " << run.arErr.toStdString();
    EXPECT_TRUE(QString::fromUtf8(run.arErr).contains(c.szSays)) << c.szName << ": " << run.arErr.toStdString();
  }
}

// A server that is not accepting (stopped) leaves every new connection to
// the kernel's listen queue. A queue of a few hundred takes them all at
// once; the library's own queue of five would take six and drop the rest's
// handshakes, which clients repeat only after one, three, seven seconds.
TEST(ServerCapacity, ListenQueueTakesAFewHundredConnectionsAndAllAreAnswered) {
  constexpr int kClients = 300;
  constexpr const char* kList = "<version key=\"Aerolith.exe\" nr=\"7.2.0\"/>";
  QTemporaryDir dir;
  ASSERT_TRUE(TestFiles::Write(dir.filePath(QStringLiteral("versions/Aerolith.exe.txt")), kList));
  QProcess server;
  server.setStandardErrorFile(QProcess::nullDevice());
  server.start(QStringLiteral(AEROLITH_SERVER_BIN),
               {QStringLiteral("--root"), dir.path(), QStringLiteral("--port"), QStringLiteral("0")});
  ASSERT_TRUE(server.waitForStarted(10000));
  const QDeadlineTimer started(10000);
  while (!server.canReadLine() && !started.hasExpired()) server.waitForReadyRead(100);
  const QByteArray line = server.readLine().trimmed();
  ASSERT_TRUE(line.startsWith("listening on http://127.0.0.1:")) << line.toStdString();
  const quint16 port = static_cast<quint16>(line.mid(line.lastIndexOf(':') + 1).toUInt());

  ASSERT_EQ(kill(static_cast<pid_t>(server.processId()), SIGSTOP), 0);
  std::vector<std::unique_ptr<QTcpSocket>> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.push_back(std::make_unique<QTcpSocket>());
    clients.back()->connectToHost(QStringLiteral("127.0.0.1"), port);
  }
  // Loopback handshakes complete at once; the wait is only for a slow
  // machine, and a refused handshake is not repeated within it.
  const QDeadlineTimer connecting(800);
  int connected = 0;
  for (const auto& client : clients)
    if (client->waitForConnected(static_cast<int>(qMax<qint64>(1, connecting.remainingTime())))) ++connected;
  kill(static_cast<pid_t>(server.processId()), SIGCONT);
  EXPECT_EQ(connected, kClients) << "connections the stopped server's listen queue took";

  const QByteArray request =
      "GET /scripts/corvel_get_versions_multi.asp?name=Aerolith.exe HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: "
      "close\r\n\r\n";
  for (const auto& client : clients) client->write(request);
  int answered = 0;
  for (const auto& client : clients) {
    client->waitForBytesWritten(5000);
    QByteArray reply;
    const QDeadlineTimer deadline(10000);
    while (client->state() == QAbstractSocket::ConnectedState && !deadline.hasExpired()) {
      client->waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
      reply += client->readAll();
    }
    reply += client->readAll();
    if (reply.startsWith("HTTP/1.1 200") && reply.endsWith(kList)) ++answered;
  }
  EXPECT_EQ(answered, connected);
  server.terminate();
  server.waitForFinished(5000);
}

}  // namespace
