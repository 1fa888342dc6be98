// Cost of the moist-air functions that the selection, the result tables and
// the charts call for every air state and every chart point.

#include "psychro/Air.h"

#include <benchmark/benchmark.h>

namespace {

// Dry bulbs across the chart's range, so both saturation branches run.
double DryBulbOf(std::int64_t i) { return -20.0 + double(i % 61); }

void BM_AbsoluteHumidity(benchmark::State& state) {
  const TAir air(350);
  std::int64_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(air.AbsoluteHumidity(55, DryBulbOf(i++)));
}
BENCHMARK(BM_AbsoluteHumidity);

void BM_Enthalpy(benchmark::State& state) {
  std::int64_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(TAir::Enthalpy(0.008, DryBulbOf(i++)));
}
BENCHMARK(BM_Enthalpy);

void BM_WetBulb(benchmark::State& state) {
  const TAir air(350);
  std::int64_t i = 0;
  for (auto _ : state) {
    const double t = DryBulbOf(i++);
    benchmark::DoNotOptimize(air.WetBulbTemp(t, TAir::Enthalpy(air.AbsoluteHumidity(55, t), t)));
  }
}
BENCHMARK(BM_WetBulb);

void BM_DewPoint(benchmark::State& state) {
  const TAir air(350);
  std::int64_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(air.DewPoint(0.001 + 0.0002 * double(i++ % 100)));
}
BENCHMARK(BM_DewPoint);

}  // namespace
