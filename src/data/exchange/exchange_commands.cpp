#include "data/exchange/exchange_commands.h"

#include <exception>
#include <filesystem>

#include "data/exchange/csv.h"
#include "data/exchange/exchange_common.h"
#include "data/exchange/ods.h"
#include "data/exchange/xlsx.h"

namespace tolmex::data::exchange {

namespace fs = std::filesystem;

std::string TableFileNameFor(const std::string& path) {
  fs::path p = fs::u8path(path);
  p.replace_extension(".fdt");
  const std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

namespace {
// The wait cursor for the reading or writing of a file, whatever happens there.
class Busy {
 public:
  explicit Busy(ExchangeWindow& w) : w_(w) { w_.SetBusy(true); }
  ~Busy() { w_.SetBusy(false); }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  ExchangeWindow& w_;
};

// A name typed without an extension gets the one of the chosen format.
std::string WithExtension(const std::string& path, const char* ext) {
  if (fs::u8path(path).has_extension()) return path;
  return path + ext;
}
}  // namespace

void ExchangeCommands::Exportar() {
  DataTable& table = window_.Table1();
  if (!table.Active()) {
    prompter_.Warning("Nenhuma tabela aberta para exportar.");
    return;
  }
  shell::FileDialogRequest req;
  req.title = "Exportar tabela";
  req.filter = kExportFilter;
  req.filterIndex = 1;
  req.defaultExt = "xlsx";
  req.initialDir = programDir_;
  req.overwritePrompt = true;
  auto chosen = prompter_.SaveFile(req);
  if (!chosen) return;
  try {
    // A pending edit of the current row is part of the table being written.
    table.Post();
    const char* done = nullptr;
    {
      ControlsDisabled frozen(table);
      Busy busy(window_);
      switch (chosen->filterIndex) {
        case 1:
          WriteXlsx(table, WithExtension(chosen->path, ".xlsx"));
          done = "Exportação para Excel concluída com sucesso!";
          break;
        case 2:
          WriteFileAtomic(WithExtension(chosen->path, ".ods"), WriteOds(table));
          done = "Arquivo ODS exportado com sucesso!";
          break;
        case 3:
          WriteFileAtomic(WithExtension(chosen->path, ".csv"), WriteCsv(table));
          done = "Exportação para CSV concluída com sucesso!";
          break;
        default:
          break;  // "Todos os arquivos": no format, nothing is written
      }
    }
    if (done) prompter_.Information(done);
  } catch (const std::exception& e) {
    prompter_.Error(std::string("Erro ao exportar: ") + e.what());
  }
}

void ExchangeCommands::Importar() {
  shell::FileDialogRequest req;
  req.title = "Importar arquivo";
  req.filter = kImportFilter;
  req.filterIndex = 1;
  req.initialDir = programDir_;
  req.mustExist = true;
  auto chosen = prompter_.OpenFile(req);
  if (!chosen) return;
  ImportResult result;
  try {
    Busy busy(window_);
    switch (chosen->filterIndex) {
      case 1: result = ReadXlsx(ReadFileBytes(chosen->path)); break;
      case 2: result = ReadOds(ReadFileBytes(chosen->path)); break;
      case 3: result = ReadCsv(ReadFileBytes(chosen->path)); break;
      default: break;  // "Todos os arquivos": no format, nothing is read
    }
  } catch (const std::bad_alloc&) {
    prompter_.Error("Erro ao importar: memória insuficiente para ler o arquivo.");
    return;
  } catch (const std::exception& e) {
    prompter_.Error(std::string("Erro ao importar: ") + e.what());
    return;
  }
  if (!result.read) {
    // Nothing to import: the open table stays as it was and nothing is saved.
    prompter_.Warning(result.message.empty() ? "Nenhum dado foi importado." : result.message);
    return;
  }
  if (!window_.ConfirmDiscardEdits()) return;
  // The ODS reader leaves the grid's editing mode as it was.
  window_.ReplaceTable(std::move(result.table), chosen->filterIndex != 2);
  prompter_.Information(result.message);
  window_.SetCurrentFileName(TableFileNameFor(chosen->path));
  window_.SaveTable();
}

}  // namespace tolmex::data::exchange
