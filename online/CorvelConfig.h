#pragma once
// CTCorvelConfig: the table of download servers. A build carries a server
// number (CTVersionUtils::CorvelServerID); the number gives the host and the
// port of its download server and program-information service.
//
//   number  server                       label in the upgrade window
//   0       first regional server        "Orsk"
//   1       second regional server       "Tarn"
//   2       third regional server        "Mobe"
//   10      the developers' server       "n/a"
//   other   none: empty host             "n/a"
//
// A company's own mirror (and every test) replaces the host and port of the
// numbers that have one: the environment variable AEROLITH_SERVER
// ("host" or "host:port") wins over the registry value "Server" under
// kMirrorKey (current user, then machine). A number without a server stays
// without one.

#include <QString>

class CTCorvelConfig {
 public:
  static constexpr int kDefaultPort = 80;
  static constexpr int kDeveloperServer = 10;
  static constexpr const char* kMirrorEnvironment = "AEROLITH_SERVER";
  static constexpr const char* kMirrorKey = "Software\\Norvane\\Online";
  static constexpr const char* kMirrorValue = "Server";

  // Host and port of a server number; the host is empty when there is none.
  static void GetHTTPServerNameAndPort(int nServerID, QString& szServerName, int& nPort);
  static QString ServerLabel(int nServerID);
  // The mirror in effect ("host:port" or "host"), empty when none is set.
  static QString MirrorAddress();
  // Servers 0 and 10 take download reports, the data-processing notice and
  // the online device information.
  static bool IsReportingServer(int nServerID) { return nServerID == 0 || nServerID == kDeveloperServer; }
};
