// Opening and saving a large table file: 1,000,000 rows by 10 numeric and 2 text columns.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "data/table_file.h"

using namespace tolmex::data;

namespace {

constexpr int kRows = 1000000;

DataTable BigTable() {
  DataTable t;
  for (int c = 0; c < 10; ++c) t.AddField({"X" + std::to_string(c + 1), FieldType::ftFloat});
  t.AddField({"Trat", FieldType::ftString, 30});
  t.AddField({"Obs", FieldType::ftString, 30});
  t.Open();
  t.Reserve(kRows);
  for (int r = 0; r < kRows; ++r) {
    t.AppendRow();
    for (int c = 0; c < 10; ++c)
      if ((r + c) % 97 != 0) t.SetFloat(r, c, r * 0.001 + c * 1.25);
    t.SetString(r, 10, "T" + std::to_string(r % 12));
    if (r % 5) t.SetString(r, 11, "parcela " + std::to_string(r));
  }
  return t;
}

const std::string& Dir() {
  static const std::string d = [] {
    std::string t = (std::filesystem::temp_directory_path() / "tolmex-bench-XXXXXX").string();
    return std::string(mkdtemp(t.data()));
  }();
  return d;
}

void BM_SaveTable(benchmark::State& state) {
  const DataTable t = BigTable();
  const std::string path = Dir() + "/grande.fdt";
  for (auto _ : state) SaveTableFile(t, path);
}
BENCHMARK(BM_SaveTable)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadTable(benchmark::State& state) {
  const std::string path = Dir() + "/grande_l.fdt";
  SaveTableFile(BigTable(), path);
  for (auto _ : state) {
    DataTable t;
    LoadTableFile(path, t);
    benchmark::DoNotOptimize(t.RecordCount());
  }
  std::filesystem::remove_all(Dir());
}
BENCHMARK(BM_LoadTable)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
