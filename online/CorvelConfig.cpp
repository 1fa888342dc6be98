#include "online/CorvelConfig.h"

#include "platform/Registry.h"

#include <QUrl>

namespace {

struct LTServer {
  int nID;
  const char* szHost;
  const char* szLabel;
};

// Our own download servers. They answer what the program asks in the forms
// that online/ reads; aerolith-server (tools/server/) is one that anybody can run.
constexpr LTServer kServers[] = {
    {0, "orsk.download.aerolith-hrv.example", "Orsk"},
    {1, "tarn.download.aerolith-hrv.example", "Tarn"},
    {2, "mobe.download.aerolith-hrv.example", "Mobe"},
    {CTCorvelConfig::kDeveloperServer, "dev.download.aerolith-hrv.example", "n/a"},
};

const LTServer* Find(int nServerID) {
  for (const LTServer& server : kServers)
    if (server.nID == nServerID) return &server;
  return nullptr;
}

QString RegistryMirror(CTRegHive hive) {
  CTRegistry registry(hive);
  if (!registry.OpenKey(QString::fromLatin1(CTCorvelConfig::kMirrorKey), false)) return QString();
  return registry.ReadString(QString::fromLatin1(CTCorvelConfig::kMirrorValue)).value_or(QString()).trimmed();
}

}  // namespace

QString CTCorvelConfig::MirrorAddress() {
  const QString fromEnvironment = qEnvironmentVariable(kMirrorEnvironment).trimmed();
  if (!fromEnvironment.isEmpty()) return fromEnvironment;
  const QString fromUser = RegistryMirror(CTRegHive::CurrentUser);
  if (!fromUser.isEmpty()) return fromUser;
  return RegistryMirror(CTRegHive::LocalMachine);
}

void CTCorvelConfig::GetHTTPServerNameAndPort(int nServerID, QString& szServerName, int& nPort) {
  nPort = kDefaultPort;
  szServerName.clear();
  const LTServer* server = Find(nServerID);
  if (!server) return;
  szServerName = QString::fromLatin1(server->szHost);
  const QString mirror = MirrorAddress();
  if (mirror.isEmpty()) return;
  // "host", "host:port" or "[v6]:port"; a mirror that does not parse leaves
  // no server rather than the wrong one.
  const QUrl url(QStringLiteral("http://") + mirror);
  if (!url.isValid() || url.host().isEmpty() || !url.path().isEmpty()) {
    szServerName.clear();
    return;
  }
  szServerName = url.host();
  if (szServerName.contains(QLatin1Char(':'))) szServerName = QLatin1Char('[') + szServerName + QLatin1Char(']');
  nPort = url.port(kDefaultPort);
}

QString CTCorvelConfig::ServerLabel(int nServerID) {
  const LTServer* server = Find(nServerID);
  return QString::fromLatin1(server ? server->szLabel : "n/a");
}
