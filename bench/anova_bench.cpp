// Analysis-of-variance table of a factorial A(5) x B(4) x C(3) in 10 blocks, one response,
// the model Bloco, A, B, C, A*B, A*C, B*C, A*B*C, at 10^4, 10^5 and 10^6 rows (random data,
// fixed seed): sums of squares of every line and the printed table. "WithCopy" also copies
// the data table into the scratch table, as each run of the command does.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "anova/anova_run.h"
#include "data/data_table.h"
#include "shell/prompter.h"
#include "shell/report.h"

using namespace tolmex;

namespace {

class SilentPrompter : public shell::Prompter {
 public:
  void Message(shell::BoxKind, const std::string&, const std::string&) override {}
  shell::Answer AskYesNo(const std::string&, const std::string&) override { return shell::Answer::Yes; }
  shell::Answer AskYesNoCancel(const std::string&, const std::string&) override { return shell::Answer::Yes; }
  shell::Answer AskOkCancel(const std::string&, const std::string&) override { return shell::Answer::Ok; }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<shell::FileDialogResult> OpenFile(const shell::FileDialogRequest&) override { return std::nullopt; }
  std::optional<shell::FileDialogResult> SaveFile(const shell::FileDialogRequest&) override { return std::nullopt; }
  std::optional<shell::Rgb> ChooseColor(const shell::Rgb&) override { return std::nullopt; }
  std::optional<shell::FontChoice> ChooseFont(const shell::FontChoice&) override { return std::nullopt; }
};

data::DataTable Factorial(int rows) {
  data::DataTable t;
  t.AddField({"Bloco", data::FieldType::ftFloat});
  t.AddField({"A", data::FieldType::ftString, 10});
  t.AddField({"B", data::FieldType::ftFloat});
  t.AddField({"C", data::FieldType::ftString, 10});
  t.AddField({"y", data::FieldType::ftFloat});
  t.Open();
  t.Reserve(rows);
  std::mt19937_64 gen(20261211);
  std::normal_distribution<double> noise(0.0, 3.0);
  const char* a[] = {"a1", "a2", "a3", "a4", "a5"};
  const char* c[] = {"c1", "c2", "c3"};
  for (int r = 0; r < rows; ++r) {
    const int cell = static_cast<int>(gen() % 600);
    const int bl = cell % 10, ia = (cell / 10) % 5, ib = (cell / 50) % 4, ic = cell / 200;
    const int row = t.AppendRow();
    t.SetFloat(row, 0, bl + 1);
    t.SetString(row, 1, a[ia]);
    t.SetFloat(row, 2, (ib + 1) * 10.0);
    t.SetString(row, 3, c[ic]);
    t.SetFloat(row, 4, 50.0 + bl + 2.0 * ia + ib * ic * 0.5 + noise(gen));
  }
  return t;
}

void Prepare(anova::AnovaState& st, const data::DataTable& t) {
  st.LB_Anova = {"Bloco", "A", "B", "C", "A*B", "A*C", "B*C", "A*B*C", "Fim"};
  st.nfv = 9;
  st.num_erros = 1;
  st.press_fim = true;
  st.ListBox_Variaveis = {"Bloco", "A", "B", "C", "y"};
  st.responses = {"y"};
  st.nva = 1;
}

void BM_AnovaTable(benchmark::State& state, bool withCopy) {
  const data::DataTable table = Factorial(static_cast<int>(state.range(0)));
  SilentPrompter prompter;
  anova::AnovaState st;
  Prepare(st, table);
  anova::CopyToScratch(st, table, prompter);
  for (auto _ : state) {
    if (withCopy) anova::CopyToScratch(st, table, prompter);
    shell::Report report;
    anova::AnovaContext ctx{st, table, report, prompter};
    anova::RunAnova(ctx);
    benchmark::DoNotOptimize(report.Text().data());
  }
  state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK_CAPTURE(BM_AnovaTable, Table, false)
    ->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
BENCHMARK_CAPTURE(BM_AnovaTable, WithCopy, true)
    ->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
