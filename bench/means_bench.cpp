// Tests of means on many levels: Scott-Knott with 200 means and Student-Newman-Keuls with
// 50 means (one studentized-range quantile per span), each with its whole report block.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "anova/means/means_tests.h"
#include "shell/report.h"

using namespace tolmex::anova;

namespace {

// Means in clusters, so that the tests find several groups; shuffled so the sort works.
std::vector<LevelMean> Means(int k) {
  std::vector<LevelMean> v;
  for (int i = 0; i < k; ++i) {
    const int j = (i * 37) % k;
    LevelMean m;
    m.n = 4;
    m.media = 100 + (j / 8) * 6.0 + (j % 8) * 0.35;
    m.nivel = i + 1;
    m.ultimo = 4 * (i + 1);
    m.label = "Tratamento " + std::to_string(i + 1);
    v.push_back(m);
  }
  return v;
}

void Run(benchmark::State& state, std::int32_t code, int k) {
  const std::vector<LevelMean> base = Means(k);
  std::size_t groups = 0;
  for (auto _ : state) {
    std::vector<LevelMean> means = base;
    double op_alpha = 0.05, alpha = 0, t_waller = 0;
    tolmex::shell::Report out;
    MeansTestInput in;
    in.code = code;
    in.name = "Trat";
    in.error = ErrorLine{3 * k, 2.5};
    const auto res = RunMeansTest(in, means, 4, SignificanceRefs{op_alpha, alpha, t_waller}, out);
    groups = res.groups.size();
    benchmark::DoNotOptimize(out.Text().data());
  }
  state.counters["groups"] = static_cast<double>(groups);
}

void BM_ScottKnott200(benchmark::State& state) { Run(state, kScottKnott, 200); }
void BM_SNK50(benchmark::State& state) { Run(state, kSNK, 50); }
void BM_Tukey200(benchmark::State& state) { Run(state, kTukey, 200); }

}  // namespace

BENCHMARK(BM_ScottKnott200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SNK50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tukey200)->Unit(benchmark::kMillisecond);
