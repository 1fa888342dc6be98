#include "recdb/MyFileStream.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

int g_startDelayMs = 100;
int g_maxDelayMs = 1600;

std::function<void(int)>& SleepFunction() {
  static std::function<void(int)> fn = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
  return fn;
}

}  // namespace

CTFileStreamError::CTFileStreamError(const QString& szFileName, bool bCreating, int nErrno)
    : std::runtime_error((bCreating ? "cannot create " : "cannot open ") + szFileName.toStdString() + ": " +
                         std::strerror(nErrno)),
      v_fileName(szFileName),
      v_creating(bCreating),
      v_errno(nErrno) {}

CTMyFileStream::CTMyFileStream(const QString& szFileName, unsigned nMode) : QFile(szFileName) {
  int delay = g_startDelayMs;
  for (;;) {
    const int err = TryOpen(szFileName, nMode);
    if (err == 0) {
      g_startDelayMs = delay;
      return;
    }
    if (err != EWOULDBLOCK) throw CTFileStreamError(szFileName, (nMode & kCreate) == kCreate, err);
    SleepFunction()(delay);
    delay *= 2;
    if (delay >= g_maxDelayMs) break;
  }
  const int err = TryOpen(szFileName, nMode);
  if (err != 0) throw CTFileStreamError(szFileName, (nMode & kCreate) == kCreate, err);
}

CTMyFileStream::~CTMyFileStream() { close(); }

int CTMyFileStream::TryOpen(const QString& szFileName, unsigned nMode) {
  const bool bCreate = (nMode & kCreate) == kCreate;
  const unsigned access = bCreate ? kAccessReadWrite : (nMode & 0x3);
  const unsigned share = nMode & 0xF0;

  int flags = O_CLOEXEC;
  flags |= access == kAccessRead ? O_RDONLY : access == kAccessWrite ? O_WRONLY : O_RDWR;
  if (bCreate) flags |= O_CREAT;  // truncated only once the lock is held
  const QByteArray path = QFile::encodeName(szFileName);
  const int fd = ::open(path.constData(), flags, 0644);
  if (fd < 0) return errno;

  int lockOp = 0;
  if (share == kShareExclusive || access != kAccessRead) lockOp = LOCK_EX;
  else if (share == kShareDenyWrite) lockOp = LOCK_SH;
  if (share == kShareDenyNone && access == kAccessRead) lockOp = 0;
  if (lockOp != 0 && ::flock(fd, lockOp | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    return err == EWOULDBLOCK ? EWOULDBLOCK : err;
  }
  if (bCreate && ::ftruncate(fd, 0) != 0) {
    const int err = errno;
    ::close(fd);
    return err;
  }
  const QIODevice::OpenMode qmode = access == kAccessRead    ? QIODevice::ReadOnly
                                    : access == kAccessWrite ? QIODevice::WriteOnly
                                                             : QIODevice::ReadWrite;
  if (!open(fd, qmode, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return EIO;
  }
  return 0;
}

int CTMyFileStream::SetMaxWaitInterval(int n) {
  const int previous = g_maxDelayMs;
  g_maxDelayMs = std::clamp(n, 100, 6400);
  g_startDelayMs = g_maxDelayMs / 16;
  return previous;
}

int CTMyFileStream::StartDelay() { return g_startDelayMs; }
int CTMyFileStream::MaxDelay() { return g_maxDelayMs; }

void CTMyFileStream::SetSleepFunction(std::function<void(int)> fnSleep) { SleepFunction() = std::move(fnSleep); }
