// The online layer against our own server on loopback: one question to the
// program-information service (goal: under 20 ms) and a 10 MB download
// (goal: at least half the speed of curl fetching the same file from the
// same server, measured here as the yardstick).

#include "online/CorvelIntegration.h"
#include "support/TestServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr qint64 kDownloadBytes = 10 * 1000 * 1000;

// The served folder: a known program for the service and one 10 MB file.
struct LTServedFolder {
  QTemporaryDir root;
  std::unique_ptr<CTTestServer> server;

  LTServedFolder() {
    QDir(root.path()).mkpath(QStringLiteral("files/builds"));
    QFile service(root.filePath(QStringLiteral("service.json")));
    service.open(QIODevice::WriteOnly);
    service.write(R"({"programs": [{"name": "Aerolith.exe", "id": 7, "version": 720, "database": 143}]})");
    service.close();
    QFile big(root.filePath(QStringLiteral("files/builds/big.bin")));
    big.open(QIODevice::WriteOnly);
    QByteArray block(1 << 16, '\0');
    for (int i = 0; i < block.size(); ++i) block[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    for (qint64 written = 0; written < kDownloadBytes; written += block.size())
      big.write(block.constData(), std::min<qint64>(block.size(), kDownloadBytes - written));
    big.close();
    server = std::make_unique<CTTestServer>(root.path());
    qputenv("AEROLITH_SERVER", server->HostAndPort().toLatin1());
  }
};

LTServedFolder& Served() {
  static LTServedFolder folder;
  return folder;
}

void BM_ServiceQuestion(benchmark::State& state) {
  if (!Served().server->Running()) state.SkipWithError("aerolith-server did not start");
  for (auto _ : state) {
    const int id = CTCorvelIntegration::IdentifyProgram();
    if (id != 7) state.SkipWithError("the service did not know the program");
    benchmark::DoNotOptimize(id);
  }
}
BENCHMARK(BM_ServiceQuestion)->Unit(benchmark::kMillisecond);

void BM_Download10MB(benchmark::State& state) {
  if (!Served().server->Running()) state.SkipWithError("aerolith-server did not start");
  QTemporaryDir target;
  const QString local = target.filePath(QStringLiteral("big.bin"));
  for (auto _ : state) {
    quint32 found = 0;
    const auto result = CTCorvelIntegration::GetFileFromInternet(0, QStringLiteral("builds/big.bin"), local,
                                                                 kDownloadBytes, found);
    if (result != CTCorvelIntegration::kFileOk) state.SkipWithError("the download failed");
  }
  state.SetBytesProcessed(state.iterations() * kDownloadBytes);
}
BENCHMARK(BM_Download10MB)->Unit(benchmark::kMillisecond)->UseRealTime();

// The yardstick: curl fetching the same file from the same server.
void BM_CurlDownload10MB(benchmark::State& state) {
  const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
  if (curl.isEmpty()) state.SkipWithError("no curl");
  if (!Served().server->Running()) state.SkipWithError("aerolith-server did not start");
  const QString url = QStringLiteral("http://%1/scripts/corvel_download_file.asp?file=builds/big.bin&server=0")
                          .arg(Served().server->HostAndPort());
  QTemporaryDir target;
  for (auto _ : state) {
    QProcess process;
    process.start(curl, {QStringLiteral("-sf"), QStringLiteral("-o"), target.filePath(QStringLiteral("big.bin")), url});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) state.SkipWithError("curl failed");
  }
  state.SetBytesProcessed(state.iterations() * kDownloadBytes);
}
BENCHMARK(BM_CurlDownload10MB)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
