#include "batch/batch_run.h"

#include "batch/batch_cli.h"
#include "data/exchange/csv.h"
#include "data/exchange/exchange_common.h"
#include "data/table_file.h"

namespace tolmex::batch {

namespace {

std::string LowerExtension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext;
}

}  // namespace

data::DataTable ReadInputTable(const std::string& path) {
  const std::string ext = LowerExtension(path);
  try {
    if (ext == ".fdt") {
      data::DataTable table;
      data::LoadTableFile(path, table);
      return table;
    }
    if (ext == ".csv") {
      data::exchange::ImportResult r = data::exchange::ReadCsv(data::exchange::ReadFileBytes(path));
      if (!r.read) throw BatchRefusal("--tabela \"" + path + "\": o arquivo não tem linhas");
      return std::move(r.table);
    }
  } catch (const data::DataError& e) {
    throw BatchRefusal("--tabela \"" + path + "\": " + e.what());
  }
  throw BatchRefusal("--tabela \"" + path + "\": use um arquivo .fdt, .csv, .ods ou .xlsx");
}

int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    const CommandLine cl = ParseCommandLine(args);
    if (cl.help) {
      out << HelpText();
      return kExitOk;
    }
    data::DataTable table = ReadInputTable(cl.options.tabela);
    err << "tolmex-batch: a análise de variância sem janelas ainda não está disponível\n";
    return kExitFailure;
  } catch (const BatchRefusal& e) {
    err << "tolmex-batch: " << e.what() << '\n';
    return kExitRefused;
  } catch (const std::exception& e) {
    err << "tolmex-batch: " << e.what() << '\n';
    return kExitFailure;
  }
}

}  // namespace tolmex::batch
