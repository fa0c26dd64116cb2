#include "data/exchange/exchange_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "data/exchange/csv.h"
#include "data/exchange/graph_form_exchange.h"
#include "data/exchange/ods.h"
#include "data/exchange/xlsx.h"
#include "data/exchange/zip_archive.h"
#include "data/table_file.h"
#include "scripted_prompter.h"
#include "shell/number_locale.h"
#include "table_helpers.h"

namespace tolmex::data::exchange {
namespace {

namespace fs = std::filesystem;
using data::testing::ExpectSameCells;
using data::testing::MakeTable;
using shell::Answer;
using shell::FileDialogRequest;
using shell::FileDialogResult;
using tolmex::testing::ScriptedPrompter;

// The window side: SaveTable as the data-table window does it (asks before overwriting).
class FakeWindow : public ExchangeWindow {
 public:
  explicit FakeWindow(shell::Prompter& p) : prompter_(p) {}
  DataTable table;
  std::string fileName;
  bool confirm = true;
  bool editable = false;
  int replaced = 0;

  DataTable& Table1() override { return table; }
  bool ConfirmDiscardEdits() override { return confirm; }
  void ReplaceTable(DataTable&& t, bool cellEditing) override {
    table = std::move(t);
    editable = editable || cellEditing;
    ++replaced;
  }
  void SetCurrentFileName(const std::string& path) override { fileName = path; }
  void SaveTable() override {
    if (fs::exists(fileName) &&
        prompter_.AskYesNo("O arquivo \"" + fileName + "\" já existe. Deseja sobrescrever?") !=
            Answer::Yes)
      return;
    SaveTableFile(table, fileName);
  }

 private:
  shell::Prompter& prompter_;
};

class ExchangeCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell::SetCurrentNumberLocale(shell::NumberLocale::Comma());
    dir_ = fs::temp_directory_path() /
           ("tolmex_exchange_cmd_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    shell::SetCurrentNumberLocale(shell::NumberLocale::Dot());
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  DataTable Sample() const {
    return MakeTable({{"trat", FieldType::ftString, 30}, {"peso", FieldType::ftFloat, 0}},
                     {{std::string("A"), 3.5}, {std::string("B"), CellValue{}}, {std::string("C"), -2.0}});
  }
  fs::path dir_;
};

// ---- "&Exportar" ----

TEST_F(ExchangeCommandsTest, ExportWithoutATableSaysSo) {
  ScriptedPrompter p;
  p.ExpectMessage("Nenhuma tabela aberta para exportar.");
  FakeWindow w(p);
  ExchangeCommands(w, p, dir_.string()).Exportar();
  p.VerifyDone();
}

TEST_F(ExchangeCommandsTest, ExportFormatFollowsTheChosenFilterNotTheExtension) {
  struct Case {
    int filter;
    std::string name, written, message;
  } cases[] = {
      {1, "saida.dat", "saida.dat", "Exportação para Excel concluída com sucesso!"},
      {2, "saida.xlsx", "saida.xlsx", "Arquivo ODS exportado com sucesso!"},
      {3, "saida.ods", "saida.ods", "Exportação para CSV concluída com sucesso!"},
      {3, "semextensao", "semextensao.csv", "Exportação para CSV concluída com sucesso!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedPrompter p;
    p.ExpectSaveFile(FileDialogResult{Path(c.name), c.filter}, [&](const FileDialogRequest& r) {
      EXPECT_EQ(r.title, "Exportar tabela");
      EXPECT_EQ(r.filter, kExportFilter);
      EXPECT_EQ(r.filterIndex, 1);
      EXPECT_EQ(r.defaultExt, "xlsx");
      EXPECT_EQ(r.initialDir, dir_.string());
      EXPECT_TRUE(r.overwritePrompt);
    });
    p.ExpectMessage(c.message);
    FakeWindow w(p);
    w.table = Sample();
    ExchangeCommands(w, p, dir_.string()).Exportar();
    p.VerifyDone();
    const std::string bytes = ReadFileBytes(Path(c.written));
    ImportResult back = c.filter == 1   ? ReadXlsx(bytes)
                        : c.filter == 2 ? ReadOds(bytes)
                                        : ReadCsv(bytes);
    ASSERT_TRUE(back.read);
    ExpectSameCells(back.table, Sample());
    ExpectSameCells(w.table, Sample());  // the table is not changed
  }
}

TEST_F(ExchangeCommandsTest, ExportWithTheFourthFilterOrCancelWritesNothing) {
  for (bool cancel : {false, true}) {
    ScriptedPrompter p;
    if (cancel)
      p.ExpectSaveFile(std::nullopt);
    else
      p.ExpectSaveFile(FileDialogResult{Path("todos.xlsx"), 4});
    FakeWindow w(p);
    w.table = Sample();
    ExchangeCommands(w, p, dir_.string()).Exportar();
    p.VerifyDone();
    EXPECT_TRUE(fs::is_empty(dir_));
  }
}

TEST_F(ExchangeCommandsTest, ExportWritesThePendingEditAndReportsFailures) {
  ScriptedPrompter p;
  p.ExpectSaveFile(FileDialogResult{Path("x.csv"), 3});
  p.ExpectMessage("Exportação para CSV concluída com sucesso!");
  const std::string bad = Path("sem/pasta.csv");
  p.ExpectSaveFile(FileDialogResult{bad, 3});
  p.ExpectMessage("Erro ao exportar: não foi possível criar o arquivo \"" + bad + "\".");
  FakeWindow w(p);
  w.table = Sample();
  w.table.SetRecNo(2);
  w.table.SetCurrentValue(1, std::string("7,25"));
  ExchangeCommands cmd(w, p, dir_.string());
  cmd.Exportar();
  cmd.Exportar();
  p.VerifyDone();
  auto back = ReadCsv(ReadFileBytes(Path("x.csv")));
  EXPECT_EQ(back.table.GetFloat(1, 1), 7.25);
}

// ---- "&Importar" ----

TEST_F(ExchangeCommandsTest, ImportSavesTheTableBesideTheSource) {
  WriteFileAtomic(Path("dados.csv"), "trat;peso\r\nA;3,5\r\nB;\r\nC;-2\r\n");
  ScriptedPrompter p;
  p.ExpectOpenFile(FileDialogResult{Path("dados.csv"), 3}, [&](const FileDialogRequest& r) {
    EXPECT_EQ(r.title, "Importar arquivo");
    EXPECT_EQ(r.filter, kImportFilter);
    EXPECT_EQ(r.filterIndex, 1);
    EXPECT_EQ(r.initialDir, dir_.string());
  });
  p.ExpectMessage("Importado com sucesso usando separador [\";\"]");
  FakeWindow w(p);
  ExchangeCommands(w, p, dir_.string()).Importar();
  p.VerifyDone();
  EXPECT_EQ(w.fileName, Path("dados.fdt"));
  EXPECT_TRUE(w.editable);
  DataTable saved;
  LoadTableFile(Path("dados.fdt"), saved);
  ExpectSameCells(saved, w.table);
  EXPECT_EQ(w.table.RecordCount(), 3);
}

TEST_F(ExchangeCommandsTest, ImportOverAnExistingTableFileAsksFirst) {
  WriteFileAtomic(Path("dados.csv"), "a\r\n1\r\n");
  WriteFileAtomic(Path("dados.fdt"), "old");
  ScriptedPrompter p;
  p.ExpectOpenFile(FileDialogResult{Path("dados.csv"), 3});
  p.ExpectMessage("Importado com sucesso usando separador [\";\"]");
  p.ExpectYesNo("O arquivo \"" + Path("dados.fdt") + "\" já existe. Deseja sobrescrever?", Answer::No);
  FakeWindow w(p);
  ExchangeCommands(w, p, dir_.string()).Importar();
  p.VerifyDone();
  EXPECT_EQ(ReadFileBytes(Path("dados.fdt")), "old");
  EXPECT_EQ(w.table.RecordCount(), 1);
}

TEST_F(ExchangeCommandsTest, FailedOrEmptyImportsLeaveTheOpenTableAndSaveNothing) {
  WriteFileAtomic(Path("latin1.csv"), "a;b\r\n1;caf\xE9\r\n");
  WriteFileAtomic(Path("vazio.csv"), "");
  WriteFileAtomic(Path("texto.ods"), "a;b\r\n1;2\r\n");
  WriteFileAtomic(Path("bom.csv"), "a;b\r\n1;2\r\n");
  struct Case {
    std::string file;
    int filter;
    std::string message;
  } cases[] = {
      {"latin1.csv", 3,
       "Erro ao importar: o arquivo não é um texto UTF-8 válido (byte inválido na linha 2). "
       "Salve-o com a codificação UTF-8."},
      {"vazio.csv", 3, "Nenhum dado foi importado."},
      {"texto.ods", 2, "Erro ao importar: o arquivo não é um pacote ZIP válido."},
      {"bom.csv", 4, "Nenhum dado foi importado."},
      {"falta.csv", 3, "Erro ao importar: não foi possível ler o arquivo \"" + Path("falta.csv") + "\"."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ScriptedPrompter p;
    p.ExpectOpenFile(FileDialogResult{Path(c.file), c.filter});
    p.ExpectMessage(c.message);
    FakeWindow w(p);
    w.table = Sample();
    w.fileName = Path("antes.fdt");
    ExchangeCommands(w, p, dir_.string()).Importar();
    p.VerifyDone();
    ExpectSameCells(w.table, Sample());
    EXPECT_EQ(w.fileName, Path("antes.fdt"));
    EXPECT_EQ(w.replaced, 0);
  }
  for (const auto& e : fs::directory_iterator(dir_)) EXPECT_NE(e.path().extension(), ".fdt");
}

TEST_F(ExchangeCommandsTest, EmptyExcelSheetSaysTheFileIsEmpty) {
  WriteFileAtomic(Path("branca.xlsx"),
                  WriteZip({{"xl/workbook.xml", "<workbook/>"},
                            {"xl/worksheets/sheet1.xml", "<worksheet><sheetData/></worksheet>"}}));
  ScriptedPrompter p;
  p.ExpectOpenFile(FileDialogResult{Path("branca.xlsx"), 1});
  p.ExpectMessage("O arquivo selecionado está vazio.");
  FakeWindow w(p);
  w.table = Sample();
  ExchangeCommands(w, p, dir_.string()).Importar();
  p.VerifyDone();
  ExpectSameCells(w.table, Sample());
}

TEST_F(ExchangeCommandsTest, ImportKeepsTheTableWhenThePersonKeepsUnsavedEdits) {
  WriteFileAtomic(Path("dados.csv"), "a\r\n1\r\n");
  ScriptedPrompter p;
  p.ExpectOpenFile(FileDialogResult{Path("dados.csv"), 3});
  FakeWindow w(p);
  w.table = Sample();
  w.confirm = false;
  ExchangeCommands(w, p, dir_.string()).Importar();
  p.VerifyDone();
  ExpectSameCells(w.table, Sample());
  EXPECT_FALSE(fs::exists(Path("dados.fdt")));
}

TEST_F(ExchangeCommandsTest, OdsImportLeavesTheGridModeAsItWas) {
  DataTable t = Sample();
  WriteFileAtomic(Path("p.ods"), WriteOds(t));
  ScriptedPrompter p;
  p.ExpectOpenFile(FileDialogResult{Path("p.ods"), 2});
  p.ExpectMessage("ODS Importado!");
  FakeWindow w(p);
  ExchangeCommands(w, p, dir_.string()).Importar();
  p.VerifyDone();
  EXPECT_FALSE(w.editable);
  EXPECT_EQ(w.replaced, 1);
  ExpectSameCells(w.table, t);
}

// ---- the data-table window's logic ----

TEST_F(ExchangeCommandsTest, ImportIntoTheDataTableWindow) {
  WriteFileAtomic(Path("ensaio.csv"), "trat;peso\r\nA;3,5\r\nB;4\r\n");
  ScriptedPrompter p;
  tolmex::testing::ScriptedWindowHost host;
  TGraphForm form(p, host);
  p.ExpectOpenFile(FileDialogResult{Path("ensaio.csv"), 3});
  p.ExpectMessage("Importado com sucesso usando separador [\";\"]");
  GraphFormExchange window(form);
  ExchangeCommands(window, p, dir_.string()).Importar();
  p.VerifyDone();
  // A wait cursor while the file was read.
  EXPECT_EQ(host.busyChanges, (std::vector<bool>{true, false}));
  EXPECT_EQ(form.FCurrentFileName, Path("ensaio.fdt"));
  EXPECT_TRUE(form.GridEditable);
  EXPECT_FALSE(form.HasUnsavedEdits());
  EXPECT_EQ(form.CurrentCol, 0);
  EXPECT_EQ(form.StatusPanel[0], "Registro: 1 de 2");
  EXPECT_EQ(form.StatusPanel[1], "Campo: trat");
  EXPECT_EQ(form.StatusPanel[2], "Valor: A");
  ASSERT_EQ(form.Table1.RecordCount(), 2);
  EXPECT_EQ(form.Table1.GetFloat(0, 1), 3.5);
  DataTable saved;
  LoadTableFile(Path("ensaio.fdt"), saved);
  ExpectSameCells(saved, form.Table1);
}

}  // namespace
}  // namespace tolmex::data::exchange
