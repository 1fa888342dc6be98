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
// A company's own mirror (and every test) replaces the scheme, host and port
// of the numbers that have one: the environment variable AEROLITH_SERVER wins
// over the registry value "Server" under kMirrorKey (current user, then
// machine). A number without a server stays without one. The value reads
//   host | host:port | http://host[:port] | https://host[:port]
// (an IPv6 host in brackets); without a scheme it is plain HTTP, and the port
// defaults to the scheme's own (80, 443). Anything else (a path, a query,
// user information, another scheme) is no server at all, never the maker's.
//
// A mirror whose certificate comes from a company's own authority names that
// authority's certificates (a PEM file) beside its address: the variable
// AEROLITH_SERVER_CA, or the registry value "ServerCA" next to "Server". The
// CA file is taken from the same place as the address, so a setting never
// pairs one source's mirror with another source's authority.

#include <QString>

class CTCorvelConfig {
 public:
  static constexpr int kDefaultPort = 80;
  static constexpr int kDefaultHttpsPort = 443;
  static constexpr int kDeveloperServer = 10;
  static constexpr const char* kMirrorEnvironment = "AEROLITH_SERVER";
  static constexpr const char* kMirrorKey = "Software\\Norvane\\Online";
  static constexpr const char* kMirrorValue = "Server";
  static constexpr const char* kCaFileEnvironment = "AEROLITH_SERVER_CA";
  static constexpr const char* kCaFileValue = "ServerCA";

  // Where a server number's requests go; szHost is empty when nowhere.
  struct LTServerAddress {
    QString szScheme = QStringLiteral("http");  // "http" or "https"
    QString szHost;                             // an IPv6 address in brackets
    int nPort = kDefaultPort;
  };

  // Host and port of a server number; the host is empty when there is none.
  static void GetHTTPServerNameAndPort(int nServerID, QString& szServerName, int& nPort);
  static LTServerAddress ServerAddress(int nServerID);
  static QString ServerLabel(int nServerID);
  // The mirror in effect ("host:port" or "host"), empty when none is set.
  static QString MirrorAddress();
  // The company CA file that goes with the mirror in effect; empty when none.
  static QString MirrorCaFile();
  // Servers 0 and 10 take download reports, the data-processing notice and
  // the online device information.
  static bool IsReportingServer(int nServerID) { return nServerID == 0 || nServerID == kDeveloperServer; }
};
