// Loading generated databases of 10k, 100k and 1M rows, plain and
// compressed, beside expanding the compressed bytes alone. The counters
// say rows per second and the resident memory while the loaded engine
// lives. Goals: 1M rows cost at most 11 times 100k rows; a compressed load
// at most 3 times the expansion of its bytes.

#include "recdb/BaseFactory.h"
#include "recdb/LZSS.h"
#include "recdb/MemDB.h"
#include "recdb/TableLink.h"

#include <QBuffer>
#include <QFile>

#include <benchmark/benchmark.h>

#include <map>

namespace {

// Curve (1): ID, Name, Value, Enabled. Point (2): ID, curve reference, order, X, Y.
class Schema : public CTBaseFactory {
 public:
  Schema() : CTBaseFactory("ROZ", 100, 100) {
    auto* curve = new CTTableInfo(1, 0, "Curve", -1, false, false);
    CTDbObject::Initialize(curve, "ID");
    curve->AddFieldInfo(1, CTFieldInfo::CreateUnicodeString("Name"), true);
    curve->AddFieldInfo(2, CTFieldInfo::CreateDouble("Value"));
    curve->AddFieldInfo(3, CTFieldInfo::CreateBoolean("Enabled"));
    AddTableInfo(curve);
    auto* point = new CTTableInfo(2, 0, "Point", -1, false, false);
    CTDbObject::Initialize(point, "ID");
    point->AddFieldInfo(1, CTFieldInfo::CreateInteger("Curve_CLS_REF"));
    point->AddFieldInfo(2, CTFieldInfo::CreateInteger("Curve_OBJ_REF"));
    point->AddFieldInfo(3, CTFieldInfo::CreateInteger("Curve_Order"));
    point->AddFieldInfo(4, CTFieldInfo::CreateDouble("X"));
    point->AddFieldInfo(5, CTFieldInfo::CreateDouble("Y"));
    AddTableInfo(point);
    AddLinkInfo(new CTTableLink(curve, 1, "", "", "", 2, 1, false, true, true, true));
    ResolveStructure();
    AddDatabase("Bench");
  }
};

Schema& TheSchema() {
  static Schema schema;
  return schema;
}

// One curve per ten rows, nine points each.
QByteArray Generate(int rows) {
  QByteArray text = "ROZ100\r\n"
                    "5 9 Tbl_Curve 1\r\n5 2 ID 2\r\n5 4 Name 10\r\n5 5 Value 4\r\n5 7 Enabled 0\r\n0\r\n"
                    "5 9 Tbl_Point 2\r\n5 2 ID 2\r\n5 13 Curve_CLS_REF 2\r\n5 13 Curve_OBJ_REF 2\r\n"
                    "5 11 Curve_Order 2\r\n5 1 X 4\r\n5 1 Y 4\r\n0\r\n0\r\n";
  const int curves = rows / 10;
  const int points = rows - curves;
  text += "2 1 2 0 2 " + QByteArray::number(curves) + " 2 " + QByteArray::number(curves) + "\r\n";
  for (int c = 1; c <= curves; ++c) {
    const QByteArray name = "Fan curve " + QByteArray::number(c);
    text += "2 " + QByteArray::number(c) + " 10 " + QByteArray::number(name.size()) + ' ' + name + " 4 " +
            QByteArray::number(0.5 + c * 0.001, 'g', 15) + " 0 " + QByteArray::number(c % 2) + " \r\n";
  }
  text += "2 2 2 0 2 " + QByteArray::number(points) + " 2 " + QByteArray::number(points) + "\r\n";
  for (int p = 1; p <= points; ++p) {
    const int curve = 1 + (p - 1) / 9;
    text += "2 " + QByteArray::number(p) + " 2 1 2 " + QByteArray::number(curve) + " 2 " +
            QByteArray::number((p - 1) % 9) + " 4 " + QByteArray::number(80.0 * ((p - 1) % 9), 'g', 15) + " 4 " +
            QByteArray::number(450.0 - 3.25 * ((p - 1) % 9) + curve * 0.01, 'g', 15) + " \r\n";
  }
  text += "0\r\n0\r\n";
  return text;
}

struct Data {
  QByteArray plain;
  QByteArray packed;  // behind the signature
};

const Data& DataFor(int rows) {
  static std::map<int, Data> cache;
  auto it = cache.find(rows);
  if (it == cache.end()) {
    Data d;
    d.plain = Generate(rows);
    d.packed = "K7R" + CTLZSSLogic::Compress(d.plain);
    it = cache.emplace(rows, std::move(d)).first;
  }
  return it->second;
}

double ResidentMegabytes() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
  return 0;
}

void LoadBench(benchmark::State& state, bool compressed) {
  const int rows = int(state.range(0));
  const Data& data = DataFor(rows);
  CTMemDbEngine::UseCompression(true);
  CTMemDbEngine::SetCompressionSignature("K7R");
  double rss = 0;
  for (auto _ : state) {
    QByteArray bytes = compressed ? data.packed : data.plain;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CTMemDbEngine engine(&TheSchema(), "Bench", QString(), true, 0);
    if (!engine.Load(&buffer)) state.SkipWithError("load failed");
    rss = ResidentMegabytes();
  }
  state.counters["rows_per_s"] = benchmark::Counter(double(rows), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["rss_mb"] = rss;
  state.SetBytesProcessed(int64_t(state.iterations()) * (compressed ? data.packed.size() : data.plain.size()));
}

void BM_LoadPlain(benchmark::State& state) { LoadBench(state, false); }
void BM_LoadCompressed(benchmark::State& state) { LoadBench(state, true); }

void BM_ExpandOnly(benchmark::State& state) {
  const Data& data = DataFor(int(state.range(0)));
  const QByteArray packed = data.packed.mid(3);
  for (auto _ : state) benchmark::DoNotOptimize(CTLZSSLogic::Expand(packed));
  state.SetBytesProcessed(int64_t(state.iterations()) * data.plain.size());
}

BENCHMARK(BM_LoadPlain)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadCompressed)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExpandOnly)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
