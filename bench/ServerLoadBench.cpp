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

#include "support/ServedFiles.h"
#include "support/TestAuthority.h"
#include "support/TestServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int kWaves = 10;
constexpr int kListClients = 150;
constexpr int kDownloadClients = 50;
constexpr qint64 kDownloadBytes = 1000 * 1000;
constexpr int kIoTimeoutMs = 30000;

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

// One client's exchange: the answer's body, or empty when anything failed.
// The socket stays connected for the caller to close.
QByteArray Exchange(QSslSocket& socket, bool bHttps, quint16 nPort, const QByteArray& arTarget) {
  if (bHttps) {
    socket.connectToHostEncrypted(QStringLiteral("127.0.0.1"), nPort);
    if (!socket.waitForEncrypted(kIoTimeoutMs)) return {};
  } else {
    socket.connectToHost(QStringLiteral("127.0.0.1"), nPort);
    if (!socket.waitForConnected(kIoTimeoutMs)) return {};
  }
  socket.write("GET " + arTarget + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: keep-alive\r\n\r\n");
  QByteArray reply;
  qsizetype nHeadEnd = -1;
  qint64 nLength = -1;
  while (nHeadEnd < 0 || reply.size() - (nHeadEnd + 4) < nLength) {
    if (!socket.waitForReadyRead(kIoTimeoutMs)) return {};
    reply += socket.readAll();
    if (nHeadEnd >= 0) continue;
    nHeadEnd = reply.indexOf("\r\n\r\n");
    if (nHeadEnd < 0) continue;
    if (!reply.startsWith("HTTP/1.1 200 ")) return {};
    const qsizetype nField = reply.toLower().indexOf("\r\ncontent-length:");
    if (nField < 0 || nField > nHeadEnd) return {};
    const qsizetype nValue = nField + 17;
    nLength = reply.mid(nValue, reply.indexOf("\r\n", nValue) - nValue).trimmed().toLongLong();
  }
  return reply.mid(nHeadEnd + 4);
}

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
LTWave RunWave(int nClients, bool bHttps, quint16 nPort, const QByteArray& arTarget, const QByteArray& arExpected) {
  QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
  tls.setCaCertificates(QSslCertificate::fromPath(Mirror().authority.CertificateFile()));
  LTWave wave;
  wave.millis.assign(static_cast<size_t>(nClients), 0.0);
  std::atomic<int> wrong{0};
  std::atomic<int> answered{0};
  CTGate start;
  CTGate done;
  std::vector<std::thread> clients;
  for (int i = 0; i < nClients; ++i) {
    clients.emplace_back([&, i] {
      QSslSocket socket;
      socket.setSslConfiguration(tls);
      start.Wait();
      QElapsedTimer clock;
      clock.start();
      const QByteArray body = Exchange(socket, bHttps, nPort, arTarget);
      wave.millis[static_cast<size_t>(i)] = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      if (body != arExpected) ++wrong;
      if (++answered == nClients) done.Open();
      done.Wait();  // the connection stays open until the wave is answered
      socket.abort();
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
  std::vector<double> all;
  int wrong = 0;
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    const LTWave wave = RunWave(nClients, https, server->Port(), arTarget, arExpected);
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

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
