#include "support/TestServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace {

constexpr int kStartMs = 10000;
constexpr int kTerminateMs = 2000;

}  // namespace

CTTestServer::CTTestServer(const QString& szRoot, const QString& szFault, const LTTls& tls)
    : m_pProcess(std::make_unique<QProcess>()) {
  QStringList args{QStringLiteral("--root"), szRoot, QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                   QStringLiteral("--port"), QStringLiteral("0")};
  if (!szFault.isEmpty()) args << QStringLiteral("--fault") << szFault;
  if (!tls.szCertFile.isEmpty()) args << QStringLiteral("--cert") << tls.szCertFile << QStringLiteral("--key") << tls.szKeyFile;
  if (m_logDir.isValid()) m_pProcess->setStandardErrorFile(m_logDir.filePath(QStringLiteral("server.log")));
  m_pProcess->setProgram(QStringLiteral(AEROLITH_SERVER_BIN));
  m_pProcess->setArguments(args);
  m_pProcess->start(QIODevice::ReadOnly);
  if (!m_pProcess->waitForStarted(kStartMs)) {
    m_szStartProblem = QStringLiteral("could not start %1: %2\n").arg(m_pProcess->program(), m_pProcess->errorString());
    return;
  }
  // Only the first line matters; the server writes nothing else to stdout.
  static const QRegularExpression listening(QStringLiteral("^listening on https?://127\\.0\\.0\\.1:(\\d+)\\s*$"));
  QByteArray firstLine;
  const QDeadlineTimer deadline(kStartMs);
  while (!m_pProcess->canReadLine() && m_pProcess->state() == QProcess::Running && !deadline.hasExpired()) {
    m_pProcess->waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
  }
  if (m_pProcess->canReadLine()) firstLine = m_pProcess->readLine();
  const QRegularExpressionMatch match = listening.match(QString::fromUtf8(firstLine));
  const uint nPort = match.hasMatch() ? match.captured(1).toUInt() : 0;
  if (nPort == 0 || nPort > 65535) {
    m_szStartProblem = QStringLiteral("no \"listening on\" line from the server; its first line: \"%1\"\n")
                           .arg(QString::fromUtf8(firstLine).trimmed());
    return;
  }
  m_nPort = static_cast<quint16>(nPort);
}

CTTestServer::~CTTestServer() {
  if (m_pProcess->state() == QProcess::NotRunning) return;
  m_pProcess->terminate();
  if (!m_pProcess->waitForFinished(kTerminateMs)) {
    m_pProcess->kill();
    m_pProcess->waitForFinished(kTerminateMs);
  }
}

bool CTTestServer::Running() const {
  // Without an event loop the process state is only brought up to date by
  // a waitFor call.
  if (m_pProcess->state() == QProcess::Running) m_pProcess->waitForFinished(0);
  return m_nPort != 0 && m_pProcess->state() == QProcess::Running;
}

QString CTTestServer::HostAndPort() const { return QStringLiteral("127.0.0.1:%1").arg(m_nPort); }

QString CTTestServer::ServerLog() const {
  QFile log(m_logDir.filePath(QStringLiteral("server.log")));
  QString szLog = m_szStartProblem;
  if (log.open(QIODevice::ReadOnly)) szLog += QString::fromUtf8(log.readAll());
  return szLog;
}
