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

// The mirror setting of one place: its address and the CA file beside it.
struct LTMirrorSetting {
  QString szAddress;
  QString szCaFile;
};

LTMirrorSetting RegistryMirror(CTRegHive hive) {
  CTRegistry registry(hive);
  if (!registry.OpenKey(QString::fromLatin1(CTCorvelConfig::kMirrorKey), false)) return {};
  const auto read = [&registry](const char* szName) {
    return registry.ReadString(QString::fromLatin1(szName)).value_or(QString()).trimmed();
  };
  return {read(CTCorvelConfig::kMirrorValue), read(CTCorvelConfig::kCaFileValue)};
}

// The first place that names a mirror: the environment, the user, the machine.
LTMirrorSetting MirrorSetting() {
  const QString fromEnvironment = qEnvironmentVariable(CTCorvelConfig::kMirrorEnvironment).trimmed();
  if (!fromEnvironment.isEmpty())
    return {fromEnvironment, qEnvironmentVariable(CTCorvelConfig::kCaFileEnvironment).trimmed()};
  const LTMirrorSetting fromUser = RegistryMirror(CTRegHive::CurrentUser);
  if (!fromUser.szAddress.isEmpty()) return fromUser;
  return RegistryMirror(CTRegHive::LocalMachine);
}

// A mirror address as the header describes it; an empty host when it does
// not parse.
CTCorvelConfig::LTServerAddress ParseMirror(const QString& szMirror) {
  CTCorvelConfig::LTServerAddress address;
  const bool hasScheme = szMirror.contains(QLatin1String("://"));
  const QUrl url(hasScheme ? szMirror : QStringLiteral("http://") + szMirror, QUrl::StrictMode);
  const QString scheme = url.scheme();
  if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment() ||
      (!url.path().isEmpty() && url.path() != QLatin1String("/")) ||
      (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
    return address;
  address.szScheme = scheme;
  address.szHost = url.host();
  if (address.szHost.contains(QLatin1Char(':'))) address.szHost = QLatin1Char('[') + address.szHost + QLatin1Char(']');
  address.nPort = url.port(scheme == QLatin1String("https") ? CTCorvelConfig::kDefaultHttpsPort
                                                             : CTCorvelConfig::kDefaultPort);
  return address;
}

}  // namespace

QString CTCorvelConfig::MirrorAddress() { return MirrorSetting().szAddress; }

QString CTCorvelConfig::MirrorCaFile() {
  const LTMirrorSetting setting = MirrorSetting();
  return setting.szAddress.isEmpty() ? QString() : setting.szCaFile;
}

CTCorvelConfig::LTServerAddress CTCorvelConfig::ServerAddress(int nServerID) {
  const LTServer* server = Find(nServerID);
  if (!server) return {};
  const QString mirror = MirrorAddress();
  if (!mirror.isEmpty()) return ParseMirror(mirror);
  LTServerAddress address;
  address.szHost = QString::fromLatin1(server->szHost);
  return address;
}

void CTCorvelConfig::GetHTTPServerNameAndPort(int nServerID, QString& szServerName, int& nPort) {
  const LTServerAddress address = ServerAddress(nServerID);
  szServerName = address.szHost;
  nPort = address.szHost.isEmpty() ? kDefaultPort : address.nPort;
}

QString CTCorvelConfig::ServerLabel(int nServerID) {
  const LTServer* server = Find(nServerID);
  return QString::fromLatin1(server ? server->szLabel : "n/a");
}
