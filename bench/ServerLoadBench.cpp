// A company mirror under load: aerolith-server on loopback, met by many
// clients at once, over plain HTTP and over HTTPS.
//
//   BM_VersionsList/150 clients   each asks for the versions list; goal: every
//                                 answer right, p99 under 50 ms
//   BM_Download1MB/50 clients     each downloads the same 1 MB file; goal:
//                                 every file whole, p99 under 200 ms
//
// One iteration is one wave: every client connects, asks and reads its
// answer at the same moment (released together from a gate), and keeps its
// connection open until the whole wave is answered, as a running program
// keeps its connection for the next question. A client's time runs from its
// connect to the last byte of its answer. The counters gather every client
// of every wave: p50_ms, p99_ms, max_ms and wrong (answers not exactly the
// served bytes, failed connections included; must be 0).
//
// The clients share the server's machine, so they are kept as light as a
// client can be (a blocking socket, OpenSSL for HTTPS verifying the
// certificate for 127.0.0.1 against the authority): what is timed is the
// server, not the clients' own work. Each runs on a thread of its own.

#include "support/ServedFiles.h"
#include "support/TestAuthority.h"
#include "support/TestServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int kWaves = 10;
constexpr int kListClients = 150;
constexpr int kDownloadClients = 50;
constexpr qint64 kDownloadBytes = 1000 * 1000;
constexpr int kIoTimeoutSeconds = 30;

// A versions list of the usual length: a few builds, the updater.
QByteArray VersionsList() {
  QByteArray list;
  for (int i = 0; i < 8; ++i)
    list += QByteArray("<version key=\"Aerolith.exe\" nr=\"7.2.") + QByteArray::number(i) +
            "\" languages=\"1033,1031,1036\" countries=\"\" config=\"0\" isdft=\"0\" centraldb=\"1.4.3\" "
            "companydb=\"\" path=\"builds/Aerolith-7.2." +
            QByteArray::number(i) + ".exe\" size=\"31457280\" descr=\"Build 7.2." + QByteArray::number(i) +
            "\" platform=\"Win64\"/>\n";
  list += "<version key=\"Updater2.exe\" nr=\"2.0\" path=\"builds/Updater2.exe\" size=\"1048576\" platform=\"Win64\"/>\n";
  return list;
}

QByteArray OneMegabyte() {
  QByteArray bytes(kDownloadBytes, '\0');
  for (qint64 i = 0; i < kDownloadBytes; ++i) bytes[i] = static_cast<char>((i * 131 + 7) & 0xFF);
  return bytes;
}

// The served folder and one server over it per transport.
struct LTMirror {
  QTemporaryDir root;
  CTTestAuthority authority{QStringLiteral("Bench CA")};
  QByteArray list = VersionsList();
  QByteArray file = OneMegabyte();
  std::unique_ptr<CTTestServer> plain;
  std::unique_ptr<CTTestServer> secure;

  LTMirror() {
    TestFiles::Write(root.filePath(QStringLiteral("versions/Aerolith.exe.txt")), list);
    TestFiles::Write(root.filePath(QStringLiteral("files/builds/one.bin")), file);
    plain = std::make_unique<CTTestServer>(root.path());
    const CTTestAuthority::LTIssued issued = authority.Issue(QStringLiteral("mirror"), {QStringLiteral("127.0.0.1")});
    if (!issued.szCertFile.isEmpty())
      secure = std::make_unique<CTTestServer>(root.path(), QString(),
                                              CTTestServer::LTTls{issued.szCertFile, issued.szKeyFile});
  }
};

LTMirror& Mirror() {
  static LTMirror mirror;
  return mirror;
}

// One client's connection: a socket, and its TLS session over HTTPS.
class CTClient {
 public:
  CTClient(SSL_CTX* pTls) : m_pTlsContext(pTls) {}
  ~CTClient() {
    if (m_pTls) SSL_free(m_pTls);
    if (m_nSocket >= 0) ::close(m_nSocket);
  }
  CTClient(const CTClient&) = delete;
  CTClient& operator=(const CTClient&) = delete;

  // Connects (and shakes hands), asks arTarget and reads the answer; true
  // when it is 200 with exactly the expected body. The body is compared as
  // it arrives, never kept: a client that copied each megabyte into fresh
  // memory would time its own page faults. The connection stays open.
  bool Exchange(quint16 nPort, const QByteArray& arTarget, const QByteArray& arExpected) {
    if (!Connect(nPort)) return false;
    const QByteArray request = "GET " + arTarget + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: keep-alive\r\n\r\n";
    if (!Send(request)) return false;
    QByteArray head;
    qsizetype nHeadEnd = -1;
    while (nHeadEnd < 0) {
      const qint64 nRead = Receive(m_piece, sizeof m_piece);
      if (nRead <= 0 || head.size() > 16 * 1024) return false;
      head.append(m_piece, nRead);
      nHeadEnd = head.indexOf("\r\n\r\n");
    }
    if (!head.startsWith("HTTP/1.1 200 ")) return false;
    const QByteArray fields = head.left(nHeadEnd).toLower();
    const qsizetype nField = fields.indexOf("\r\ncontent-length:");
    if (nField < 0) return false;
    const qsizetype nValue = nField + 17;
    const qsizetype nLineEnd = fields.indexOf("\r\n", nValue);
    if (fields.mid(nValue, nLineEnd < 0 ? -1 : nLineEnd - nValue).trimmed().toLongLong() != arExpected.size())
      return false;
    // What came with the head is the body's start.
    qint64 nDone = head.size() - (nHeadEnd + 4);
    if (nDone > arExpected.size() ||
        std::memcmp(head.constData() + nHeadEnd + 4, arExpected.constData(), static_cast<size_t>(nDone)) != 0)
      return false;
    while (nDone < arExpected.size()) {
      const qint64 nRead = Receive(m_piece, sizeof m_piece);
      if (nRead <= 0 || nDone + nRead > arExpected.size() ||
          std::memcmp(m_piece, arExpected.constData() + nDone, static_cast<size_t>(nRead)) != 0)
        return false;
      nDone += nRead;
    }
    return true;
  }

 private:
  bool Connect(quint16 nPort) {
    m_nSocket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (m_nSocket < 0) return false;
    const timeval timeout{kIoTimeoutSeconds, 0};
    setsockopt(m_nSocket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(m_nSocket, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    const int nYes = 1;
    setsockopt(m_nSocket, IPPROTO_TCP, TCP_NODELAY, &nYes, sizeof nYes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(nPort);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(m_nSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return false;
    if (!m_pTlsContext) return true;
    m_pTls = SSL_new(m_pTlsContext);
    return m_pTls && SSL_set_fd(m_pTls, m_nSocket) == 1 &&
           X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(m_pTls), "127.0.0.1") == 1 && SSL_connect(m_pTls) == 1 &&
           SSL_get_verify_result(m_pTls) == X509_V_OK;
  }

  bool Send(const QByteArray& bytes) {
    if (m_pTls) return SSL_write(m_pTls, bytes.constData(), static_cast<int>(bytes.size())) == bytes.size();
    return ::send(m_nSocket, bytes.constData(), static_cast<size_t>(bytes.size()), MSG_NOSIGNAL) == bytes.size();
  }

  qint64 Receive(char* pBuffer, size_t nSize) {
    if (m_pTls) return SSL_read(m_pTls, pBuffer, static_cast<int>(nSize));
    return ::recv(m_nSocket, pBuffer, nSize, 0);
  }

  SSL_CTX* m_pTlsContext;
  SSL* m_pTls = nullptr;
  int m_nSocket = -1;
  char m_piece[16 * 1024];
};

// What an HTTPS client trusts: the mirror's authority alone.
struct LTTlsContext {
  SSL_CTX* pContext = nullptr;
  LTTlsContext() {
    pContext = SSL_CTX_new(TLS_client_method());
    if (!pContext) return;
    SSL_CTX_set_verify(pContext, SSL_VERIFY_PEER, nullptr);
    const QByteArray authority = QFile::encodeName(Mirror().authority.CertificateFile());
    if (SSL_CTX_load_verify_locations(pContext, authority.constData(), nullptr) != 1) {
      SSL_CTX_free(pContext);
      pContext = nullptr;
    }
  }
  ~LTTlsContext() {
    if (pContext) SSL_CTX_free(pContext);
  }
  LTTlsContext(const LTTlsContext&) = delete;
  LTTlsContext& operator=(const LTTlsContext&) = delete;
};

// Releases every client of a wave at once.
class CTGate {
 public:
  void Wait() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_bOpen; });
  }
  void Open() {
    {
      std::lock_guard lock(m_mutex);
      m_bOpen = true;
    }
    m_changed.notify_all();
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_bOpen = false;
};

struct LTWave {
  std::vector<double> millis;
  int nWrong = 0;
};

// One wave of nClients, each asking arTarget and expecting arExpected.
LTWave RunWave(int nClients, SSL_CTX* pTls, quint16 nPort, const QByteArray& arTarget, const QByteArray& arExpected) {
  LTWave wave;
  wave.millis.assign(static_cast<size_t>(nClients), 0.0);
  std::atomic<int> wrong{0};
  std::atomic<int> answered{0};
  CTGate start;
  CTGate done;
  std::vector<std::thread> clients;
  for (int i = 0; i < nClients; ++i) {
    clients.emplace_back([&, i] {
      CTClient client(pTls);
      start.Wait();
      QElapsedTimer clock;
      clock.start();
      const bool right = client.Exchange(nPort, arTarget, arExpected);
      wave.millis[static_cast<size_t>(i)] = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      if (!right) ++wrong;
      if (++answered == nClients) done.Open();
      done.Wait();  // the connection stays open until the wave is answered
    });
  }
  start.Open();
  for (std::thread& client : clients) client.join();
  wave.nWrong = wrong.load();
  return wave;
}

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  // The nearest-rank percentile: the smallest value with at least the
  // fraction of all values at or below it.
  const size_t rank = static_cast<size_t>(std::ceil(fraction * static_cast<double>(values.size())));
  return values[std::max<size_t>(rank, 1) - 1];
}

void RunLoad(benchmark::State& state, int nClients, const QByteArray& arTarget, const QByteArray& arExpected) {
  const bool https = state.range(0) != 0;
  const CTTestServer* server = https ? Mirror().secure.get() : Mirror().plain.get();
  if (!server || !server->Running()) {
    state.SkipWithError("aerolith-server did not start");
    return;
  }
  static LTTlsContext tls;
  if (https && !tls.pContext) {
    state.SkipWithError("no TLS context for the clients");
    return;
  }
  std::vector<double> all;
  int wrong = 0;
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    const LTWave wave = RunWave(nClients, https ? tls.pContext : nullptr, server->Port(), arTarget, arExpected);
    state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    all.insert(all.end(), wave.millis.begin(), wave.millis.end());
    wrong += wave.nWrong;
  }
  state.counters["clients"] = nClients;
  state.counters["p50_ms"] = Percentile(all, 0.50);
  state.counters["p99_ms"] = Percentile(all, 0.99);
  state.counters["max_ms"] = Percentile(all, 1.0);
  state.counters["wrong"] = wrong;
  state.SetLabel(https ? "https" : "http");
  if (wrong > 0) state.SkipWithError("some answers were wrong or missing");
}

void BM_VersionsList(benchmark::State& state) {
  RunLoad(state, kListClients, "/scripts/corvel_get_versions_multi.asp?name=Aerolith.exe", Mirror().list);
}
BENCHMARK(BM_VersionsList)->Arg(0)->Arg(1)->Iterations(kWaves)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Download1MB(benchmark::State& state) {
  RunLoad(state, kDownloadClients, "/scripts/corvel_download_file.asp?file=builds/one.bin&server=0", Mirror().file);
}
BENCHMARK(BM_Download1MB)->Arg(0)->Arg(1)->Iterations(kWaves)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
