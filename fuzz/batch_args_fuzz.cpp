// Fuzz target of the batch runner's option parser: the input is a command line, one
// argument per line. Any arguments either parse into options whose parts hold what the
// syntax allows, or are refused with BatchRefusal; nothing else may escape.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_cli.h"
#include "batch/batch_options.h"

using namespace tolmex::batch;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args;
  std::size_t start = 0;
  while (start <= input.size()) {
    const std::size_t nl = input.find('\n', start);
    const std::size_t end = nl == std::string_view::npos ? input.size() : nl;
    args.emplace_back(input.substr(start, end - start));
    if (nl == std::string_view::npos) break;
    start = nl + 1;
  }
  try {
    const CommandLine cl = ParseCommandLine(args);
    if (!cl.help) {
      const BatchOptions& o = cl.options;
      Check(!o.tabela.empty() && !o.respostas.empty() && o.kWallerValue > 1);
      for (const OptionSpec& s : o.opcoes) {
        Check(s.code >= 0 && s.code <= 8 && !s.fv.empty());
        Check((s.code == 6) == !s.contrasts.empty());
        Check((s.code == 7) == !s.terms.empty());
        for (const auto& c : s.contrasts) Check(c.size() >= 2);
      }
      for (const TransformSpec& t : o.transformacoes) {
        Check(t.codes.size() <= 5);
        for (int c : t.codes) Check(c >= 1 && c <= 5);
      }
    }
  } catch (const BatchRefusal&) {
  }
  // The single-option parsers on the whole input too.
  try {
    ParseOptionSpec(input);
  } catch (const BatchRefusal&) {
  }
  try {
    ParseTransformSpec(input);
  } catch (const BatchRefusal&) {
  }
  return 0;
}
