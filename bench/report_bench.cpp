// Long reports: appending 200,000 lines one by one, and writing and reading them as RTF.
#include <benchmark/benchmark.h>

#include <string>

#include "shell/format.h"
#include "shell/report.h"
#include "shell/rich_text.h"
#include "shell/rtf.h"

namespace {

using namespace tolmex::shell;

constexpr int kLines = 200000;

std::string Line(int i) {
  return FormatInt(i, 8) + FormatFixed(i * 0.731, 14, 4) + FormatFixed(1.0 / (i + 1), 14, 6) +
         "   previsão média\r\n";
}

void BM_AppendText200kLines(benchmark::State& state) {
  std::vector<std::string> lines;
  lines.reserve(kLines);
  for (int i = 0; i < kLines; ++i) lines.push_back(Line(i));
  for (auto _ : state) {
    Report r;
    for (const auto& l : lines) r.AppendText(l);
    benchmark::DoNotOptimize(r.Text().size());
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_AppendText200kLines)->Unit(benchmark::kMillisecond);

std::string LongReport() {
  std::string s;
  for (int i = 0; i < kLines; ++i) s += Line(i);
  return s;
}

void BM_WriteRtf200kLines(benchmark::State& state) {
  CharFormat f;
  f.size = 8;
  const RichDocument doc = RichDocument::FromPlainText(LongReport(), f);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string rtf = WriteRtf(doc);
    bytes = rtf.size();
    benchmark::DoNotOptimize(rtf.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_WriteRtf200kLines)->Unit(benchmark::kMillisecond);

void BM_ReadRtf200kLines(benchmark::State& state) {
  CharFormat f;
  f.size = 8;
  const std::string rtf = WriteRtf(RichDocument::FromPlainText(LongReport(), f));
  for (auto _ : state) {
    const RichDocument doc = ReadRtf(rtf);
    benchmark::DoNotOptimize(doc.paragraphs.size());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadRtf200kLines)->Unit(benchmark::kMillisecond);

}  // namespace
