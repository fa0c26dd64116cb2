// Speed of the spreadsheet exchange: CSV import of a 1,000,000-row x 5-column table (the goal
// is under 2 s on the project machine), CSV export, and ODS / XLSX round trips of smaller ones.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "data/exchange/csv.h"
#include "data/exchange/ods.h"
#include "data/exchange/xlsx.h"

namespace {

using namespace tolmex::data;
using namespace tolmex::data::exchange;

// A designed-experiment layout: a text treatment, block, two measurements and a count.
std::string MakeCsv(int rows) {
  std::string s = "\xEF\xBB\xBFtrat;bloco;peso;altura;contagem\r\n";
  s.reserve(static_cast<std::size_t>(rows) * 34);
  for (int i = 0; i < rows; ++i) {
    s += "\"T" + std::to_string(i % 12) + "\";" + std::to_string(i % 4 + 1) + ";" +
         std::to_string(10 + i % 997) + "," + std::to_string(i % 89) + ";" +
         std::to_string(i % 431) + "," + std::to_string(100 + i % 900) + ";" +
         std::to_string(i % 37) + "\r\n";
  }
  return s;
}

void BM_CsvImport(benchmark::State& state) {
  const std::string csv = MakeCsv(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto r = ReadCsv(csv);
    benchmark::DoNotOptimize(r.table.RecordCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * csv.size()));
}
BENCHMARK(BM_CsvImport)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CsvExport(benchmark::State& state) {
  const DataTable t = ReadCsv(MakeCsv(static_cast<int>(state.range(0)))).table;
  for (auto _ : state) benchmark::DoNotOptimize(WriteCsv(t).size());
}
BENCHMARK(BM_CsvExport)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OdsExport(benchmark::State& state) {
  const DataTable t = ReadCsv(MakeCsv(static_cast<int>(state.range(0)))).table;
  for (auto _ : state) benchmark::DoNotOptimize(WriteOds(t).size());
}
BENCHMARK(BM_OdsExport)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_OdsImport(benchmark::State& state) {
  const std::string bytes = WriteOds(ReadCsv(MakeCsv(static_cast<int>(state.range(0)))).table);
  for (auto _ : state) benchmark::DoNotOptimize(ReadOds(bytes).table.RecordCount());
}
BENCHMARK(BM_OdsImport)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_OdsRoundTrip(benchmark::State& state) {
  const DataTable t = ReadCsv(MakeCsv(static_cast<int>(state.range(0)))).table;
  for (auto _ : state) benchmark::DoNotOptimize(ReadOds(WriteOds(t)).table.RecordCount());
}
BENCHMARK(BM_OdsRoundTrip)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_XlsxRoundTrip(benchmark::State& state) {
  const DataTable t = ReadCsv(MakeCsv(static_cast<int>(state.range(0)))).table;
  const std::string path =
      (std::filesystem::temp_directory_path() / "tolmex_exchange_bench.xlsx").string();
  for (auto _ : state) {
    WriteXlsx(t, path);
    benchmark::DoNotOptimize(ReadXlsx(ReadFileBytes(path)).table.RecordCount());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_XlsxRoundTrip)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
