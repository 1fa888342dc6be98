// Throughput of the LZSS coders beside zlib (deflate level 6, inflate) on
// the same inputs in the same run: database text and incompressible bytes.
// Goals: LZSS expansion at least as fast as inflate, LZSS compression at
// least half as fast as deflate level 6. The ratios are printed at the end.
//
// This file has its own main (for the ratio table); the benchmark_main
// archive that aerolith_benchmark links is then left unused.

#include "recdb/LZSS.h"
#include "recdb/LZSSSmallPhrase.h"

#include <QBuffer>

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// splitmix64: the same inputs on every machine and library version.
class TInputRandom {
 public:
  explicit TInputRandom(std::uint64_t seed) : v_state(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (v_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

 private:
  std::uint64_t v_state;
};

// Record lines as the database writer produces them: "2", object id, then
// per field its type code and value (integers, decimals, short names).
QByteArray DatabaseText(int nBytes) {
  static const char* const kNames[] = {"HRX", "Supply", "Exhaust", "Filter F7", "EC fan", "Rotor", "Plate", "Bypass"};
  TInputRandom random(2024);
  QByteArray text;
  text.reserve(nBytes + 256);
  text += "ROZ100\r\n";
  for (int id = 1; text.size() < nBytes; ++id) {
    text += "2 " + QByteArray::number(id) + " 10 " + QByteArray::number(1 + random.Below(40));
    const int fields = 3 + random.Below(7);
    for (int f = 0; f < fields; ++f) {
      switch (random.Below(5)) {
        case 0:
        case 1: text += " 4 " + QByteArray::number(random.Below(50000) / 100.0, 'f', random.Below(3)); break;
        case 2: text += " 2 " + QByteArray::number(random.Below(5000)); break;
        case 3: {
          const QByteArray name = kNames[random.Below(8)];
          text += " 10 " + QByteArray::number(name.size()) + ' ' + name;
          break;
        }
        default: text += " 6 " + QByteArray::number(random.Below(2)); break;
      }
    }
    text += "\r\n";
  }
  text.truncate(nBytes);
  return text;
}

QByteArray RandomBytes(int nBytes) {
  TInputRandom random(77);
  QByteArray bytes(nBytes, Qt::Uninitialized);
  for (char& c : bytes) c = static_cast<char>(random.Next() >> 56);
  return bytes;
}

const QByteArray& Input(int which) {
  static const QByteArray text = DatabaseText(600 * 1024);
  static const QByteArray random = RandomBytes(256 * 1024);
  return which == 0 ? text : random;
}
const char* InputName(int which) { return which == 0 ? "text" : "random"; }

QByteArray ZlibDeflate(const QByteArray& plain) {
  uLongf size = compressBound(static_cast<uLong>(plain.size()));
  QByteArray packed(static_cast<qsizetype>(size), Qt::Uninitialized);
  compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(plain.constData()),
            static_cast<uLong>(plain.size()), 6);
  packed.truncate(static_cast<qsizetype>(size));
  return packed;
}

// Device to device, as the database reader and writer use the coder; the
// output array keeps its capacity between iterations.
template <typename Coder>
void RunCompress(benchmark::State& state) {
  QByteArray plain = Input(static_cast<int>(state.range(0)));
  QByteArray packed;
  packed.reserve(plain.size() * 2);
  for (auto _ : state) {
    QBuffer in(&plain);
    in.open(QIODevice::ReadOnly);
    packed.resize(0);
    QBuffer out(&packed);
    out.open(QIODevice::WriteOnly);
    benchmark::DoNotOptimize(Coder::Compress(&in, &out));
  }
  state.SetBytesProcessed(state.iterations() * plain.size());
  state.SetLabel(std::string(InputName(static_cast<int>(state.range(0)))) + ", " +
                 std::to_string(100 * packed.size() / plain.size()) + "% of input");
}

template <typename Coder>
void RunExpand(benchmark::State& state) {
  const QByteArray plain = Input(static_cast<int>(state.range(0)));
  QByteArray packed = Coder::Compress(plain);
  QByteArray expanded;
  expanded.reserve(plain.size() + 64 * 1024);
  for (auto _ : state) {
    QBuffer in(&packed);
    in.open(QIODevice::ReadOnly);
    expanded.resize(0);
    QBuffer out(&expanded);
    out.open(QIODevice::WriteOnly);
    benchmark::DoNotOptimize(Coder::Expand(&in, &out));
  }
  if (expanded != plain) state.SkipWithError("expansion differs from the input");
  state.SetBytesProcessed(state.iterations() * plain.size());
  state.SetLabel(InputName(static_cast<int>(state.range(0))));
}

void BM_LZSSCompress(benchmark::State& state) { RunCompress<CTLZSSLogic>(state); }
void BM_LZSSExpand(benchmark::State& state) { RunExpand<CTLZSSLogic>(state); }
void BM_LZSSSmallPhraseCompress(benchmark::State& state) { RunCompress<CTLZSSSmallPhraseLogic>(state); }
void BM_LZSSSmallPhraseExpand(benchmark::State& state) { RunExpand<CTLZSSSmallPhraseLogic>(state); }

void BM_ZlibDeflate(benchmark::State& state) {
  const QByteArray& plain = Input(static_cast<int>(state.range(0)));
  const uLong bound = compressBound(static_cast<uLong>(plain.size()));
  std::vector<Bytef> packed(bound);
  uLongf size = 0;
  for (auto _ : state) {
    size = bound;
    benchmark::DoNotOptimize(compress2(packed.data(), &size, reinterpret_cast<const Bytef*>(plain.constData()),
                                       static_cast<uLong>(plain.size()), 6));
  }
  state.SetBytesProcessed(state.iterations() * plain.size());
  state.SetLabel(std::string(InputName(static_cast<int>(state.range(0)))) + ", " +
                 std::to_string(100 * size / static_cast<uLong>(plain.size())) + "% of input");
}

void BM_ZlibInflate(benchmark::State& state) {
  const QByteArray& plain = Input(static_cast<int>(state.range(0)));
  const QByteArray packed = ZlibDeflate(plain);
  std::vector<Bytef> expanded(static_cast<std::size_t>(plain.size()));
  for (auto _ : state) {
    uLongf size = static_cast<uLongf>(expanded.size());
    benchmark::DoNotOptimize(uncompress(expanded.data(), &size, reinterpret_cast<const Bytef*>(packed.constData()),
                                        static_cast<uLong>(packed.size())));
  }
  state.SetBytesProcessed(state.iterations() * plain.size());
  state.SetLabel(InputName(static_cast<int>(state.range(0))));
}

// The streams as the database uses them: written in record-sized pieces,
// read in the reader's 16384-byte blocks. Real time, since the coding runs
// on the worker thread.
void BM_LZSSCompressorStream(benchmark::State& state) {
  const QByteArray& plain = Input(static_cast<int>(state.range(0)));
  QByteArray packed;
  packed.reserve(plain.size() * 2);
  for (auto _ : state) {
    packed.resize(0);
    QBuffer out(&packed);
    out.open(QIODevice::WriteOnly);
    CTLZSSCompressorStream stream(&out);
    for (qsizetype pos = 0; pos < plain.size(); pos += 60) stream.write(plain.constData() + pos, std::min<qsizetype>(60, plain.size() - pos));
    benchmark::DoNotOptimize(stream.Finish());
  }
  state.SetBytesProcessed(state.iterations() * plain.size());
  state.SetLabel(InputName(static_cast<int>(state.range(0))));
}

void BM_LZSSExpanderStream(benchmark::State& state) {
  const QByteArray& plain = Input(static_cast<int>(state.range(0)));
  QByteArray packed = CTLZSSLogic::Compress(plain);
  std::vector<char> block(16384);
  for (auto _ : state) {
    QBuffer in(&packed);
    in.open(QIODevice::ReadOnly);
    CTLZSSExpanderStream stream(&in);
    while (stream.read(block.data(), static_cast<qint64>(block.size())) > 0) {
    }
  }
  state.SetBytesProcessed(state.iterations() * plain.size());
  state.SetLabel(InputName(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_LZSSCompress)->DenseRange(0, 1);
BENCHMARK(BM_ZlibDeflate)->DenseRange(0, 1);
BENCHMARK(BM_LZSSExpand)->DenseRange(0, 1);
BENCHMARK(BM_ZlibInflate)->DenseRange(0, 1);
BENCHMARK(BM_LZSSSmallPhraseCompress)->DenseRange(0, 1);
BENCHMARK(BM_LZSSSmallPhraseExpand)->DenseRange(0, 1);
BENCHMARK(BM_LZSSCompressorStream)->DenseRange(0, 1)->UseRealTime();
BENCHMARK(BM_LZSSExpanderStream)->DenseRange(0, 1)->UseRealTime();

// Keeps the bytes/second of every run for the ratio table.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto it = run.counters.find("bytes_per_second");
      if (it != run.counters.end() && !run.error_occurred) rates[run.benchmark_name()] = it->second.value;
    }
  }
  std::map<std::string, double> rates;  // name -> bytes per second
};

void PrintRatio(const TRatioReporter& reporter, const char* title, const char* lzss, const char* zlib,
                double goal) {
  for (const char* input : {"/0", "/1"}) {
    const auto a = reporter.rates.find(std::string(lzss) + input);
    const auto b = reporter.rates.find(std::string(zlib) + input);
    if (a == reporter.rates.end() || b == reporter.rates.end()) continue;
    const double ratio = a->second / b->second;
    std::printf("%-12s %-7s LZSS %8.1f MB/s  zlib %8.1f MB/s  ratio %.2f (goal >= %.1f: %s)\n", title,
                input[1] == '0' ? "text" : "random", a->second / 1e6, b->second / 1e6, ratio, goal,
                ratio >= goal ? "met" : "missed");
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nLZSS / zlib throughput\n");
  PrintRatio(reporter, "compression", "BM_LZSSCompress", "BM_ZlibDeflate", 0.5);
  PrintRatio(reporter, "expansion", "BM_LZSSExpand", "BM_ZlibInflate", 1.0);
  benchmark::Shutdown();
  return 0;
}
