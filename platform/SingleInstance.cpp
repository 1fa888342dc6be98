#include "platform/SingleInstance.h"

#include "platform/Registry.h"

#include <QDir>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

CTSingleInstance::CTSingleInstance(const QString& szName) {
  QString szFile = szName;
  for (QChar& c : szFile)
    if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('.')) c = QLatin1Char('_');
  v_path = LockFolder() + QLatin1Char('/') + szFile + QStringLiteral(".lock");
}

CTSingleInstance::~CTSingleInstance() { Release(); }

QString CTSingleInstance::LockFolder() {
  const QByteArray env = qgetenv("AEROLITH_RUNTIME_DIR");
  if (!env.isEmpty()) return QString::fromLocal8Bit(env);
  const QString szRuntime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (!szRuntime.isEmpty()) return szRuntime;
  return CTRegistryStore::UserFolder();
}

bool CTSingleInstance::TryAcquire() {
  if (v_fd >= 0) return true;
  QDir().mkpath(QFileInfo(v_path).absolutePath());
  const QByteArray path = QFile::encodeName(v_path);
  const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  // flock locks belong to the open file description, so a second acquire in
  // the same process conflicts as well: tests can play the second copy.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  v_fd = fd;
  return true;
}

void CTSingleInstance::Release() {
  if (v_fd < 0) return;
  ::flock(v_fd, LOCK_UN);
  ::close(v_fd);
  v_fd = -1;
}
