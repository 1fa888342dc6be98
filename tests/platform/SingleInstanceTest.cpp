#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <future>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstReleases) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_EQ(setenv("AEROLITH_RUNTIME_DIR", dir.path().toLocal8Bit().constData(), 1), 0);

  CTSingleInstance first("Global\\Aerolith");
  CTSingleInstance second("Global\\Aerolith");
  EXPECT_TRUE(first.LockFilePath().endsWith("/Global_Aerolith.lock"));
  EXPECT_TRUE(first.TryAcquire());
  EXPECT_TRUE(first.TryAcquire());  // holding already
  EXPECT_FALSE(second.TryAcquire());
  first.Release();
  EXPECT_TRUE(second.TryAcquire());

  CTSingleInstance other("Global\\Other");
  EXPECT_TRUE(other.TryAcquire());
  unsetenv("AEROLITH_RUNTIME_DIR");
}

namespace {

// A socket of the test's own at szPath: connected (a client) or bound and
// listening (a holder that never accepts). -1 when that fails.
int RawSocket(const QString& szPath, bool bListen) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray path = QFile::encodeName(szPath);
  if (size_t(path.size()) >= sizeof address.sun_path) return -1;
  std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const auto* any = reinterpret_cast<const sockaddr*>(&address);
  const bool ok = bListen ? ::bind(fd, any, sizeof address) == 0 && ::listen(fd, 4) == 0
                          : ::connect(fd, any, sizeof address) == 0;
  if (ok) return fd;
  ::close(fd);
  return -1;
}

// What the holder did with raw bytes: the byte it answered, or -1 when it
// closed without an answer, -2 when it did nothing for 5 s.
int SendRaw(const QString& szSocket, const QByteArray& bytes, bool bCloseAfter) {
  const int fd = RawSocket(szSocket, false);
  if (fd < 0) return -3;
  if (::send(fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) != bytes.size()) return -3;
  if (bCloseAfter) ::shutdown(fd, SHUT_WR);
  pollfd entry{fd, POLLIN, 0};
  int result = -2;
  if (::poll(&entry, 1, 5000) == 1) {
    unsigned char answer = 0;
    result = ::recv(fd, &answer, 1, 0) == 1 ? answer : -1;
  }
  ::close(fd);
  return result;
}

class HandOver : public testing::Test {
 protected:
  // The holder reads requests in an event loop.
  static void SetUpTestSuite() { s_app = new QCoreApplication(s_argc, s_argv); }
  static void TearDownTestSuite() {
    delete s_app;
    s_app = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(v_dir.isValid());
    ASSERT_EQ(setenv("AEROLITH_RUNTIME_DIR", v_dir.path().toLocal8Bit().constData(), 1), 0);
    v_holder = std::make_unique<CTSingleInstance>(QStringLiteral("Global\\Aerolith"));
    v_later = std::make_unique<CTSingleInstance>(QStringLiteral("Global\\Aerolith"));
    QObject::connect(v_holder.get(), &CTSingleInstance::HandedOver, [this](const QString& path) { v_received << path; });
  }
  void TearDown() override { unsetenv("AEROLITH_RUNTIME_DIR"); }

  void StartHolder() {
    ASSERT_TRUE(v_holder->TryAcquire());
    ASSERT_FALSE(v_later->TryAcquire());
    ASSERT_TRUE(v_holder->Listen());
  }

  // Runs fnLater on another thread, as a later start would, while this
  // thread's event loop serves the holder; then delivers what was handed.
  template <typename Result>
  Result WhileHolderServes(std::function<Result()> fnLater) {
    std::future<Result> later = std::async(std::launch::async, std::move(fnLater));
    while (later.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::sendPostedEvents();
    return later.get();
  }
  bool HandOverFromLaterStart(const QString& szPath, int nWaitMs = 2000) {
    return WhileHolderServes<bool>([this, szPath, nWaitMs] { return v_later->HandOver(szPath, nWaitMs); });
  }

  QTemporaryDir v_dir;
  std::unique_ptr<CTSingleInstance> v_holder, v_later;
  QStringList v_received;

  static inline int s_argc = 1;
  static inline char s_name[] = "platform_tests";
  static inline char* s_argv[] = {s_name, nullptr};
  static inline QCoreApplication* s_app = nullptr;
};

}  // namespace

TEST_F(HandOver, TheHolderGetsTheLaterStartsPath) {
  StartHolder();
  const QString longest = QLatin1Char('/') + QString(4095, QLatin1Char('a'));  // 4096 bytes
  for (const QString& path : {QStringLiteral("/home/ann/Projects/Hall 3.ven"),
                              QStringLiteral("/tmp/L\u00fcftung/B\u00fcro \u00bd \u6e29\u5ea6.ven"), longest,
                              QString() /* only to the front */}) {
    SCOPED_TRACE(path.left(40).toStdString());
    v_received.clear();
    EXPECT_TRUE(HandOverFromLaterStart(path));
    EXPECT_EQ(v_received, QStringList{path});
  }
}

TEST_F(HandOver, PathsThatCannotBeSentAreRefusedBySender) {
  StartHolder();
  for (const QString& path : {QStringLiteral("Hall 3.ven"), QStringLiteral("./a.ven"),
                              QString::fromUtf8("/a\0b.ven", 8), QLatin1Char('/') + QString(4096, QLatin1Char('a'))}) {
    SCOPED_TRACE(path.left(40).toStdString());
    EXPECT_FALSE(HandOverFromLaterStart(path));
  }
  EXPECT_TRUE(v_received.isEmpty());
}

TEST_F(HandOver, NoListeningHolderMeansNoHandOver) {
  const QString socket = v_holder->SocketPath();
  EXPECT_TRUE(socket.startsWith(v_dir.path() + "/Global_Aerolith-"));
  EXPECT_TRUE(socket.endsWith(QStringLiteral("-%1.sock").arg(::getuid())));

  // Nobody there; then a socket file that a crashed holder left.
  EXPECT_FALSE(v_later->HandOver("/p/a.ven", 2000));
  const int stale = RawSocket(socket, true);
  ASSERT_GE(stale, 0);
  ::close(stale);
  ASSERT_TRUE(QFile::exists(socket));
  EXPECT_FALSE(v_later->HandOver("/p/a.ven", 2000));

  // A holder still starting up (locked, not listening) takes nothing either.
  ASSERT_TRUE(v_holder->TryAcquire());
  EXPECT_FALSE(v_later->HandOver("/p/a.ven", 2000));

  // The stale file does not keep the holder from listening.
  ASSERT_TRUE(v_holder->Listen());
  EXPECT_TRUE(HandOverFromLaterStart("/p/a.ven"));
  EXPECT_EQ(v_received, QStringList{"/p/a.ven"});

  // A holder that ends takes its socket with it, and the next one serves.
  v_holder.reset();
  EXPECT_FALSE(QFile::exists(socket));
  EXPECT_FALSE(v_later->HandOver("/p/a.ven", 2000));
  ASSERT_TRUE(v_later->TryAcquire());
  EXPECT_TRUE(v_later->Listen());
}

TEST_F(HandOver, AHolderThatNeverAnswersIsGivenUp) {
  // Listening but never accepting, as a hung holder.
  const int hung = RawSocket(v_holder->SocketPath(), true);
  ASSERT_GE(hung, 0);
  EXPECT_FALSE(v_later->HandOver("/p/a.ven", 200));
  ::close(hung);
}

TEST_F(HandOver, OnlyWellFormedRequestsAreTaken) {
  StartHolder();
  const QByteArray magic("AHO1", 4);
  const auto length = [](int n) { return QByteArray("\0\0", 2) + char(n >> 8) + char(n & 0xFF); };
  struct Case {
    const char* what;
    QByteArray bytes;
    bool closeAfter;
    int answer;
    QStringList taken;
  };
  const Case cases[] = {
      {"the documented example", QByteArray::fromHex("41484F31000000082F702F612E76656E"), true, 0x06, {"/p/a.ven"}},
      {"no magic", QByteArray("GET / HTTP/1.0\r\n\r\n"), true, -1, {}},
      {"longer than a path may be", magic + length(4097) + QByteArray(4097, '/'), true, -1, {}},
      {"not UTF-8", magic + length(4) + QByteArray("/a\xC3(", 4), true, -1, {}},
      {"relative", magic + length(5) + "a.ven", true, -1, {}},
      {"a NUL inside", magic + length(4) + QByteArray("/a\0b", 4), true, -1, {}},
      {"a byte-order mark first", magic + length(7) + "\xEF\xBB\xBF/a.v", true, -1, {}},
      {"cut short", magic + length(10) + "/ab", true, -1, {}},
      {"left incomplete", magic + length(10) + "/ab", false, -1, {}},
  };
  const QString socket = v_holder->SocketPath();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    v_received.clear();
    const QByteArray bytes = c.bytes;
    const bool closeAfter = c.closeAfter;
    EXPECT_EQ(WhileHolderServes<int>([socket, bytes, closeAfter] { return SendRaw(socket, bytes, closeAfter); }),
              c.answer);
    EXPECT_EQ(v_received, c.taken);
  }
  // The holder still serves.
  EXPECT_TRUE(HandOverFromLaterStart("/p/b.ven"));
  EXPECT_EQ(v_received, QStringList{"/p/b.ven"});
}
