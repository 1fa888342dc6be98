// Loading a catalogue whose plain heat-recovery family is cloned to 1k, 5k
// and 20k units (aerolith-catalogue generate), opened through the
// catalogue session as the program opens its embedded catalogue: compressed,
// read-only, auto-correct on, every unit read. Counters: units per second,
// the heap the open session holds (the engine's rows and the units), and the
// process's peak resident memory so far (the sizes run smallest first).
// Goal: the load grows linearly with the number of units.

#include "selection/CatalogueSession.h"
#include "tools/CatalogueBuild.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <map>

namespace {

QTemporaryDir& Folder() {
  static QTemporaryDir dir;
  return dir;
}

// The generated file for a number of units, made once per run.
QString CatalogueWith(int units) {
  static std::map<int, QString> files;
  auto it = files.find(units);
  if (it != files.end()) return it->second;
  const QString path = Folder().filePath(QStringLiteral("catalogue-%1").arg(units));
  QStringList problems;
  if (!CTCatalogueBuild::Generate({QStringLiteral(AEROLITH_CATALOGUE_SOURCE)}, units, path, problems))
    return QString();
  return files.emplace(units, path).first->second;
}

double ProcStatusMegabytes(const char* key) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith(key)) return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toDouble() / 1024.0;
  return 0;
}

void BM_LoadCatalogue(benchmark::State& state) {
  const int units = int(state.range(0));
  const QString path = CatalogueWith(units);
  if (path.isEmpty()) {
    state.SkipWithError("generating the catalogue failed");
    return;
  }
  double heldMb = 0;
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    CTCatalogueSession session;
    QString error;
    if (!session.OpenFile(path, CTCatalogueSession::AutoCorrect::kOn, error)) {
      state.SkipWithError(qPrintable(error));
      break;
    }
    heldMb = double(mallinfo2().uordblks - before) / (1024.0 * 1024.0);
  }
  state.counters["units_per_s"] = benchmark::Counter(double(units), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["held_mb"] = heldMb;
  state.counters["peak_rss_mb"] = ProcStatusMegabytes("VmHWM:");
  state.counters["file_kb"] = double(QFile(path).size()) / 1024.0;
}

BENCHMARK(BM_LoadCatalogue)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
