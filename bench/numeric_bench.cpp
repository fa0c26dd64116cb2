// Speed of the distribution functions that sit inside loops: ProbF for every line of an
// analysis-of-variance table, the studentized-range quantile once per range of means, the
// Waller-Duncan t once per test.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "numeric/distributions.h"
#include "numeric/noncentral.h"
#include "numeric/studentized_range.h"
#include "numeric/waller_duncan.h"

namespace {

using namespace tolmex::numeric;

void BM_ProbF(benchmark::State& state) {
  const auto m = static_cast<std::int32_t>(state.range(0));
  const auto n = static_cast<std::int32_t>(state.range(1));
  double f = 0.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ProbF(m, n, f));
    f = f < 8 ? f * 1.1 : 0.5;
  }
}
BENCHMARK(BM_ProbF)->Args({3, 12})->Args({5, 60})->Args({24, 200})->Args({3, 1000});

void BM_apinvte(benchmark::State& state) {
  const auto df = static_cast<std::int32_t>(state.range(0));
  double p = 0.9;
  for (auto _ : state) {
    benchmark::DoNotOptimize(apinvte(df, p));
    p = p < 0.999 ? p + 0.001 : 0.9;
  }
}
BENCHMARK(BM_apinvte)->Arg(3)->Arg(10)->Arg(60);

void BM_QuantilAmplitude(benchmark::State& state) {
  const double v = static_cast<double>(state.range(0));
  const double r = static_cast<double>(state.range(1));
  for (auto _ : state) {
    std::int32_t error = 0;
    benchmark::DoNotOptimize(QuantilAmplitude(0.95, v, r, error));
  }
}
BENCHMARK(BM_QuantilAmplitude)
    ->ArgsProduct({{5, 10, 20, 60, 1000}, {2, 3, 5, 10, 20}})
    ->Unit(benchmark::kMicrosecond);

void BM_TCriticoWaller(benchmark::State& state) {
  const double f = static_cast<double>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(TCriticoWaller(100, 4, f, 6.5));
}
BENCHMARK(BM_TCriticoWaller)->Arg(12)->Arg(60)->Unit(benchmark::kMicrosecond);

void BM_ProbTNC(benchmark::State& state) {
  const double delta = static_cast<double>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(ProbTNC(2.1, 15, delta));
}
BENCHMARK(BM_ProbTNC)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMicrosecond);

}  // namespace
