#pragma once
// Files of a served folder, and the program's server address, for the tests
// that talk to aerolith-server.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace TestFiles {

// Writes the bytes, making the folders on the way; false when it cannot.
inline bool Write(const QString& szPath, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(szPath).path());
  QFile file(szPath);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The file's bytes, or "<missing>".
inline QByteArray Read(const QString& szPath) {
  QFile file(szPath);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace TestFiles

// Points the program's download server at an address for one scope.
class CTServerAddress {
 public:
  explicit CTServerAddress(const QString& szHostAndPort) { qputenv("AEROLITH_SERVER", szHostAndPort.toLatin1()); }
  ~CTServerAddress() { qunsetenv("AEROLITH_SERVER"); }
  CTServerAddress(const CTServerAddress&) = delete;
  CTServerAddress& operator=(const CTServerAddress&) = delete;
};
