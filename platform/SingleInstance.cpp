#include "platform/SingleInstance.h"

#include "platform/Registry.h"

#include <QByteArrayView>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The request's layout is written down in SingleInstance.h.
constexpr char kMagic[4] = {'A', 'H', 'O', '1'};
constexpr qsizetype kHeaderBytes = 8;
constexpr qsizetype kMaxRequestBytes = kHeaderBytes + CTSingleInstance::kMaxPathBytes;
constexpr char kTaken = '\x06';
// Requests read at once; more are closed at the door, so that a flood never
// holds more than this many sockets and buffers.
constexpr int kMaxOpenRequests = 8;
constexpr int kBacklog = 8;
// After a failed accept (no descriptors left) the holder waits before it
// looks again, instead of spinning on the pending connection.
constexpr int kAcceptPauseMs = 100;

// Empty (only to the front), or absolute without NUL.
bool IsAcceptablePath(const QString& szPath) {
  if (szPath.isEmpty()) return true;
  return szPath.startsWith(QLatin1Char('/')) && !szPath.contains(QChar(u'\0'));
}

// Empty when the path cannot be sent.
QByteArray EncodeRequest(const QString& szPath) {
  if (!IsAcceptablePath(szPath)) return {};
  const QByteArray path = szPath.toUtf8();
  if (path.size() > CTSingleInstance::kMaxPathBytes) return {};
  char header[kHeaderBytes];
  std::memcpy(header, kMagic, sizeof kMagic);
  qToBigEndian<quint32>(quint32(path.size()), header + sizeof kMagic);
  return QByteArray(header, kHeaderBytes) + path;
}

enum class RequestState { kIncomplete, kInvalid, kComplete };

// Judges the bytes read so far; szPath is set when they are a whole request.
RequestState ReadRequest(const QByteArray& bytes, QString& szPath) {
  const qsizetype magicBytes = std::min<qsizetype>(bytes.size(), sizeof kMagic);
  if (std::memcmp(bytes.constData(), kMagic, size_t(magicBytes)) != 0) return RequestState::kInvalid;
  if (bytes.size() < kHeaderBytes) return RequestState::kIncomplete;
  const quint32 pathBytes = qFromBigEndian<quint32>(bytes.constData() + sizeof kMagic);
  if (pathBytes > quint32(CTSingleInstance::kMaxPathBytes)) return RequestState::kInvalid;
  const qsizetype total = kHeaderBytes + qsizetype(pathBytes);
  if (bytes.size() < total) return RequestState::kIncomplete;
  if (bytes.size() > total) return RequestState::kInvalid;
  // A byte-order mark is kept (and then fails the absolute-path rule): the
  // path is taken exactly as sent or not at all.
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  const QString path = utf8(QByteArrayView(bytes).sliced(kHeaderBytes));
  if (utf8.hasError() || !IsAcceptablePath(path)) return RequestState::kInvalid;
  szPath = path;
  return RequestState::kComplete;
}

// False when the path does not fit a socket address (108 bytes with NUL).
bool SocketAddress(const QString& szPath, sockaddr_un& address) {
  const QByteArray path = QFile::encodeName(szPath);
  address = sockaddr_un{};
  address.sun_family = AF_UNIX;
  if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
  return true;
}

bool IsOwnUser(int fd) {
#ifdef SO_PEERCRED
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
#else
  (void)fd;  // the socket's mode 0600 keeps other users out
  return true;
#endif
}

// True when an event of nEvents (or a hang-up or error, which the call that
// follows reports) came before the deadline.
bool WaitFor(int fd, short nEvents, const QDeadlineTimer& deadline) {
  for (;;) {
    pollfd entry{fd, nEvents, 0};
    const int ready = ::poll(&entry, 1, int(std::max<qint64>(0, deadline.remainingTime())));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

bool Connect(int fd, const sockaddr_un& address, const QDeadlineTimer& deadline) {
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return true;
  // A missing socket file answers ENOENT, a stale one ECONNREFUSED, a holder
  // whose backlog is full EAGAIN: nobody takes the request now.
  if (errno != EINPROGRESS && errno != EINTR) return false;
  if (!WaitFor(fd, POLLOUT, deadline)) return false;
  int error = 0;
  socklen_t size = sizeof error;
  return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

bool SendAll(int fd, const QByteArray& bytes, const QDeadlineTimer& deadline) {
  qsizetype sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
    if (n > 0) {
      sent += n;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && WaitFor(fd, POLLOUT, deadline)) continue;
    return false;
  }
  return true;
}

bool AwaitTaken(int fd, const QDeadlineTimer& deadline) {
  for (;;) {
    char answer = 0;
    const ssize_t n = ::recv(fd, &answer, 1, 0);
    if (n == 1) return answer == kTaken;
    if (n == 0) return false;  // closed without an answer: refused
    if (errno == EINTR) continue;
    if ((errno != EAGAIN && errno != EWOULDBLOCK) || !WaitFor(fd, POLLIN, deadline)) return false;
  }
}

// One request being read by the holder: its socket, the bytes so far and
// the time it has left. It answers and reports a whole request, drops
// anything else, and then deletes itself.
class LTRequestReader : public QObject {
 public:
  LTRequestReader(int fd, std::function<void(const QString&)> fnTaken, QObject* pParent)
      : QObject(pParent), v_fd(fd), v_notifier(fd, QSocketNotifier::Read), v_taken(std::move(fnTaken)) {
    connect(&v_notifier, &QSocketNotifier::activated, this, &LTRequestReader::Read);
    v_deadline.setSingleShot(true);
    connect(&v_deadline, &QTimer::timeout, this, &LTRequestReader::Finish);
    v_deadline.start(CTSingleInstance::kRequestWaitMs);
  }
  ~LTRequestReader() override { Close(); }
  LTRequestReader(const LTRequestReader&) = delete;
  LTRequestReader& operator=(const LTRequestReader&) = delete;

 private:
  void Read() {
    char chunk[1024];
    while (v_fd >= 0) {
      // One byte beyond the longest request shows an overlong one; the
      // buffer never grows past that.
      const size_t room = size_t(kMaxRequestBytes + 1 - v_bytes.size());
      const ssize_t n = ::recv(v_fd, chunk, std::min(sizeof chunk, room), 0);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
      if (n <= 0) break;  // cut short, or the socket failed
      v_bytes.append(chunk, n);
      QString path;
      const RequestState state = ReadRequest(v_bytes, path);
      if (state == RequestState::kIncomplete) continue;
      // Reported only when the answer reached the sender: one that gave up
      // waiting has told its user that nobody took the file.
      if (state == RequestState::kComplete && ::send(v_fd, &kTaken, 1, MSG_NOSIGNAL) == 1) v_taken(path);
      break;
    }
    Finish();
  }
  void Close() {
    if (v_fd < 0) return;
    v_notifier.setEnabled(false);
    v_deadline.stop();
    ::close(v_fd);
    v_fd = -1;
  }
  void Finish() {
    Close();
    deleteLater();
  }

  int v_fd;
  QSocketNotifier v_notifier;
  QTimer v_deadline;
  QByteArray v_bytes;
  std::function<void(const QString&)> v_taken;
};

}  // namespace

// The holder's listening socket. The socket file goes with it.
struct CTSingleInstance::LTChannel {
  int fd = -1;
  QByteArray file;
  std::unique_ptr<QSocketNotifier> notifier;
  QObject readers;  // parent of the requests being read

  ~LTChannel() {
    notifier.reset();
    ::close(fd);
    ::unlink(file.constData());
  }
};

CTSingleInstance::CTSingleInstance(const QString& szName, QObject* pParent) : QObject(pParent) {
  QString szFile = szName;
  for (QChar& c : szFile)
    if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('.')) c = QLatin1Char('_');
  const QString folder = LockFolder() + QLatin1Char('/');
  v_path = folder + szFile + QStringLiteral(".lock");
  v_socketPath = folder + szFile + QLatin1Char('-') + QString::number(::getuid()) + QStringLiteral(".sock");
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
  // The socket goes before the lock, so that a next holder's socket is
  // never removed by this one.
  v_channel.reset();
  if (v_fd < 0) return;
  ::flock(v_fd, LOCK_UN);
  ::close(v_fd);
  v_fd = -1;
}

bool CTSingleInstance::Listen() {
  if (v_channel) return true;
  sockaddr_un address;
  if (!IsHeld() || !SocketAddress(v_socketPath, address)) return false;
  const QByteArray file = QFile::encodeName(v_socketPath);
  // Whoever holds the lock owns the socket file: one that is there now was
  // left by a holder that crashed.
  ::unlink(file.constData());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  // No request is accepted before listen(), so the moment between bind and
  // chmod lets nobody in.
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::chmod(file.constData(), 0600) != 0 || ::listen(fd, kBacklog) != 0) {
    ::close(fd);
    ::unlink(file.constData());
    return false;
  }
  v_channel = std::make_unique<LTChannel>();
  LTChannel* channel = v_channel.get();
  channel->fd = fd;
  channel->file = file;
  channel->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  const auto taken = [this](const QString& szPath) {
    // From the event loop, not from inside the reader: a receiver that asks
    // the user something runs its own loop meanwhile.
    QMetaObject::invokeMethod(this, [this, szPath] { emit HandedOver(szPath); }, Qt::QueuedConnection);
  };
  connect(channel->notifier.get(), &QSocketNotifier::activated, this, [channel, taken] {
    for (;;) {
      const int peer = ::accept4(channel->fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (peer < 0) {
        if (errno == EINTR || errno == ECONNABORTED) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return;
        QSocketNotifier* notifier = channel->notifier.get();
        notifier->setEnabled(false);
        QTimer::singleShot(kAcceptPauseMs, notifier, [notifier] { notifier->setEnabled(true); });
        return;
      }
      if (!IsOwnUser(peer) || channel->readers.children().size() >= kMaxOpenRequests) {
        ::close(peer);
        continue;
      }
      new LTRequestReader(peer, taken, &channel->readers);
    }
  });
  return true;
}

bool CTSingleInstance::HandOver(const QString& szPath, int nWaitMs) const {
  const QByteArray request = EncodeRequest(szPath);
  sockaddr_un address;
  if (request.isEmpty() || !SocketAddress(v_socketPath, address)) return false;
  const QDeadlineTimer deadline(std::max(0, nWaitMs));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  // The path goes only to a copy of this user's: a socket another user
  // made in a shared folder gets nothing.
  const bool taken = Connect(fd, address, deadline) && IsOwnUser(fd) && SendAll(fd, request, deadline) &&
                     AwaitTaken(fd, deadline);
  ::close(fd);
  return taken;
}
