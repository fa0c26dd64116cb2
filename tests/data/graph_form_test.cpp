// The data-table window's logic, driven by a scripted person.
#include "data/graph_form.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "data/table_file.h"
#include "data_test_util.h"
#include "scripted_prompter.h"
#include "shell/number_locale.h"

using namespace tolmex::data;
using tolmex::datatest::ExpectSameTable;
using tolmex::datatest::ReadBytes;
using tolmex::datatest::TempDir;
using tolmex::datatest::WriteBytes;
using tolmex::shell::Answer;
using tolmex::shell::BoxKind;
using tolmex::shell::FileDialogRequest;
using tolmex::shell::FileDialogResult;
using tolmex::shell::NumberLocale;
using tolmex::testing::ScriptedPrompter;
using tolmex::testing::ScriptedWindowHost;
namespace fs = std::filesystem;

namespace {

const std::string kOverwrite = "\" já existe. Deseja sobrescrever?";
std::string Overwrite(const std::string& path) { return "O arquivo \"" + path + kOverwrite; }

const std::string kLoadTail =
    "\r\nVerifique se o arquivo é válido e não contém acentos no caminho.";

FileDialogResult File(const std::string& path) { return FileDialogResult{path, 1}; }

// Trat (text), Rep (numeric), Peso (numeric), with an empty cell in row 2.
DataTable Sample() {
  DataTable t;
  t.AddField({"Trat", FieldType::ftString, 30});
  t.AddField({"Rep", FieldType::ftFloat});
  t.AddField({"Peso", FieldType::ftFloat});
  t.Open();
  const char* trat[] = {"A", "B", "C"};
  for (int i = 0; i < 3; ++i) {
    const int r = t.AppendRow();
    t.SetString(r, 0, trat[i]);
    t.SetFloat(r, 1, i + 1);
    if (i != 1) t.SetFloat(r, 2, 10.25 * (i + 1));
  }
  return t;
}

struct Fixture {
  ScriptedPrompter prompter;
  ScriptedWindowHost host;
  TGraphForm form{prompter, host};
  TempDir dir;

  Fixture() { tolmex::shell::SetCurrentNumberLocale(NumberLocale::Dot()); }

  // Opens `table`, saved as `name`, through "&Abrir".
  std::string Open(const DataTable& table, const std::string& name = "t.fdt") {
    const std::string path = dir.File(name);
    SaveTableFile(table, path);
    prompter.ExpectOpenFile(File(path));
    form.Abrir1Click();
    EXPECT_TRUE(form.Table1.Active());
    return path;
  }
};

}  // namespace

// The whole path of a new table: created through its dialogs, rows typed in the grid,
// saved on closing, reopened with every cell (empty ones included).
TEST(GraphForm, CreateTypeSaveCloseReopen) {
  Fixture f;
  f.form.ExeDir = f.dir.Path();
  const std::string path = f.dir.File("ensaio.fdt");
  f.prompter
      .ExpectSaveFile(File(f.dir.File("ensaio")),
                      [&](const FileDialogRequest& r) {
                        EXPECT_EQ(r.title, "Criar nova tabela");
                        EXPECT_EQ(r.filter, kCreateTableFilter);
                        EXPECT_EQ(r.filterIndex, 1);
                        EXPECT_EQ(r.defaultExt, "fdt");
                        EXPECT_EQ(r.initialDir, f.dir.Path());
                      })
      .ExpectInput("Número de campos", "Digite o número de campos (colunas):", "dois")
      .ExpectInput("Número de campos", "Digite o número de campos (colunas):", "0")
      .ExpectInput("Número de campos", "Digite o número de campos (colunas):", " 3 ")
      .ExpectInput("Campo 1", "Nome da variável:", "peso(kg)")
      .ExpectMessage(kBadNameChars)
      .ExpectInput("Campo 1", "Nome da variável:", "Trat")
      .ExpectYesNo("O campo \"Trat\" é numérico?", Answer::No)
      .ExpectInput("Campo 2", "Nome da variável:", std::nullopt)
      .ExpectYesNo("O campo \"Var2\" é numérico?", Answer::Yes)
      .ExpectInput("Campo 3", "Nome da variável:", "Peso")
      .ExpectYesNo("O campo \"Peso\" é numérico?", Answer::Yes);
  f.form.Criar1Click();
  ASSERT_TRUE(f.form.Table1.Active());
  EXPECT_EQ(f.form.FCurrentFileName, path);
  EXPECT_TRUE(f.form.GridEditable);
  EXPECT_TRUE(fs::exists(path));  // written at once, empty
  EXPECT_EQ(f.form.Table1.FieldDefs(),
            (std::vector<FieldDef>{{"Trat", FieldType::ftString, 30},
                                   {"Var2", FieldType::ftFloat, 0},
                                   {"Peso", FieldType::ftFloat, 0}}));
  EXPECT_FALSE(f.form.HasUnsavedEdits());

  // Typing: one empty row is offered; Enter walks the columns and appends rows.
  EXPECT_EQ(f.form.GridRowCount(), 1);
  const std::vector<std::vector<std::string>> typed = {
      {"T1", "1", "12,5"}, {"T2", "", "13.25"}, {"", "3", ""}};
  for (std::size_t r = 0; r < typed.size(); ++r) {
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(f.form.CurrentCol, c);
      if (!typed[r][c].empty()) ASSERT_TRUE(f.form.SetCell(static_cast<int>(r), c, typed[r][c]));
      f.form.EnterPressed();
    }
  }
  // The last Enter appended an untouched row; moving back up drops it.
  EXPECT_EQ(f.form.Table1.RecordCount(), 4);
  f.form.GridCellChanged(0, 0);
  EXPECT_EQ(f.form.Table1.RecordCount(), 3);
  EXPECT_TRUE(f.form.HasUnsavedEdits());

  f.prompter.ExpectYesNoCancel(kCloseQuestion, Answer::Yes).ExpectYesNo(Overwrite(path), Answer::Yes);
  f.form.Fechar1Click();
  EXPECT_FALSE(f.form.Table1.Active());
  EXPECT_EQ(f.form.FCurrentFileName, "");

  f.prompter.ExpectOpenFile(File(path));
  f.form.Abrir1Click();
  const DataTable& t = f.form.Table1;
  ASSERT_EQ(t.RecordCount(), 3);
  EXPECT_EQ(t.GetString(0, 0), "T1");
  EXPECT_EQ(t.GetFloat(0, 1), 1.0);
  EXPECT_EQ(t.GetFloat(0, 2), 12.5);
  EXPECT_EQ(t.GetString(1, 0), "T2");
  EXPECT_TRUE(t.IsNull(1, 1));
  EXPECT_EQ(t.GetFloat(1, 2), 13.25);
  EXPECT_TRUE(t.IsNull(2, 0));
  EXPECT_EQ(t.GetFloat(2, 1), 3.0);
  EXPECT_TRUE(t.IsNull(2, 2));
  EXPECT_EQ(f.form.FLastOpenDir, f.dir.Path());
}

TEST(GraphForm, CreateCancelledAtTheCountKeepsTableAndFile) {
  Fixture f;
  const std::string path = f.Open(Sample());
  f.prompter.ExpectSaveFile(File(f.dir.File("nova.fdt")))
      .ExpectInput("Número de campos", "Digite o número de campos (colunas):", std::nullopt);
  f.form.Criar1Click();
  EXPECT_EQ(f.form.FCurrentFileName, path);
  ExpectSameTable(f.form.Table1, Sample());
  f.prompter.ExpectSaveFile(std::nullopt);
  f.form.Criar1Click();
  ExpectSameTable(f.form.Table1, Sample());
}

TEST(GraphForm, CreateOverExistingFileAnsweredNoLeavesEmptyTableUnwritten) {
  Fixture f;
  const std::string path = WriteBytes(f.dir.File("velha.fdt"), "conteudo antigo");
  f.prompter.ExpectSaveFile(File(path))
      .ExpectInput("Número de campos", "Digite o número de campos (colunas):", "1")
      .ExpectInput("Campo 1", "Nome da variável:", "X")
      .ExpectYesNo("O campo \"X\" é numérico?", Answer::Yes)
      .ExpectYesNo(Overwrite(path), Answer::No);
  f.form.Criar1Click();
  EXPECT_TRUE(f.form.Table1.Active());
  EXPECT_EQ(f.form.Table1.RecordCount(), 0);
  EXPECT_EQ(ReadBytes(path), "conteudo antigo");
  // Never written: closing it through "&Abrir" asks first.
  EXPECT_TRUE(f.form.HasUnsavedEdits());
  f.prompter.ExpectYesNoCancel(kCloseQuestion, Answer::Cancel);
  f.form.Abrir1Click();
  EXPECT_TRUE(f.form.Table1.Active());
}

TEST(GraphForm, CreateWithDuplicateNamesFails) {
  Fixture f;
  f.prompter.ExpectSaveFile(File(f.dir.File("d.fdt")))
      .ExpectInput("Número de campos", "Digite o número de campos (colunas):", "2")
      .ExpectInput("Campo 1", "Nome da variável:", "X")
      .ExpectYesNo("O campo \"X\" é numérico?", Answer::Yes)
      .ExpectInput("Campo 2", "Nome da variável:", "X")
      .ExpectYesNo("O campo \"X\" é numérico?", Answer::No)
      .ExpectMessage("Erro ao criar tabela: Nome de campo duplicado: X", BoxKind::Error);
  f.form.Criar1Click();
  EXPECT_FALSE(f.form.Table1.Active());
  EXPECT_FALSE(fs::exists(f.dir.File("d.fdt")));
}

TEST(GraphForm, LoadRefusesForeignFileAndRemembersFolderOfGoodOne) {
  Fixture f;
  const std::string bad = WriteBytes(f.dir.File("dados.db"), "Trat;Y\nA;1\n");
  f.prompter.ExpectOpenFile(File(bad), [](const FileDialogRequest& r) {
    EXPECT_EQ(r.filter, kLoadTableFilter);
    EXPECT_EQ(r.filterIndex, 1);
    EXPECT_EQ(r.defaultExt, "fdt");
    EXPECT_EQ(r.initialDir, "");
  });
  f.prompter.ExpectMessage("Erro ao carregar: o arquivo não é uma tabela do Tolmex (formato "
                           "desconhecido)" + kLoadTail,
                           BoxKind::Error);
  f.form.LoadTable();
  EXPECT_FALSE(f.form.Table1.Active());
  EXPECT_EQ(f.form.FCurrentFileName, "");
  EXPECT_EQ(f.form.FLastOpenDir, "");

  fs::create_directory(f.dir.File("sub"));
  const std::string good = f.dir.File("sub/t.fdt");
  SaveTableFile(Sample(), good);
  f.prompter.ExpectOpenFile(File(good));
  f.form.LoadTable();
  ExpectSameTable(f.form.Table1, Sample());
  EXPECT_EQ(f.form.FLastOpenDir, f.dir.File("sub"));
  // A cancelled dialog changes nothing; it starts in the last folder.
  f.prompter.ExpectOpenFile(std::nullopt, [&](const FileDialogRequest& r) {
    EXPECT_EQ(r.initialDir, f.dir.File("sub"));
  });
  f.form.LoadTable();
  EXPECT_TRUE(f.form.Table1.Active());
  EXPECT_EQ(f.form.FCurrentFileName, good);
}

TEST(GraphForm, SaveTableFailureIsReportedAndKeepsTable) {
  Fixture f;
  f.Open(Sample());
  f.form.FCurrentFileName = f.dir.File("nao/existe.fdt");
  f.form.Table1.SetFloat(0, 1, 99);
  f.prompter.ExpectMessage("Erro ao salvar tabela: a pasta não existe", BoxKind::Error);
  EXPECT_FALSE(f.form.SaveTable());
  EXPECT_TRUE(f.form.HasUnsavedEdits());
  // "&Fechar" -> Yes with a failed save keeps the table open.
  f.prompter.ExpectYesNoCancel(kCloseQuestion, Answer::Yes)
      .ExpectMessage("Erro ao salvar tabela: a pasta não existe");
  f.form.Fechar1Click();
  EXPECT_TRUE(f.form.Table1.Active());
}

TEST(GraphForm, SaveAsInfersTypesFromCurrentRow) {
  Fixture f;
  DataTable t;
  t.AddField({"A", FieldType::ftString, 30});  // "3,5" in the current row: numeric
  t.AddField({"B", FieldType::ftFloat});       // empty in the current row: text 100
  t.AddField({"C", FieldType::ftString, 30});  // "x": text
  t.AddField({"D", FieldType::ftFloat});       // numbers: numeric, values exact
  t.Open();
  const char* a[] = {"3,5", "1,234.5", " 7 ", ""};
  for (int i = 0; i < 4; ++i) {
    const int r = t.AppendRow();
    if (a[i][0]) t.SetString(r, 0, a[i]);
    if (i != 1) t.SetFloat(r, 1, 2.5 * i);
    t.SetString(r, 2, i == 1 ? "x" : "4");
    t.SetFloat(r, 3, 0.1 + 0.2 * i);
  }
  const std::string path = f.Open(t);
  f.form.GridCellChanged(1, 0);
  const std::string out = f.dir.File("convertida");
  f.prompter
      .ExpectSaveFile(File(out),
                      [](const FileDialogRequest& r) {
                        EXPECT_EQ(r.filter, kSaveAsFilter);
                        EXPECT_EQ(r.defaultExt, "fdt");
                      })
      .ExpectMessage("Tabela convertida e salva com sucesso!");
  f.form.SalvarComo1Click();
  ExpectSameTable(f.form.Table1, t);
  EXPECT_EQ(f.form.FCurrentFileName, path);

  DataTable c;
  LoadTableFile(out + ".fdt", c);
  EXPECT_EQ(c.FieldDefs(), (std::vector<FieldDef>{{"A", FieldType::ftString, 100},
                                                  {"B", FieldType::ftString, 100},
                                                  {"C", FieldType::ftString, 100},
                                                  {"D", FieldType::ftFloat, 0}}));
  EXPECT_EQ(c.GetString(0, 1), "0");
  EXPECT_TRUE(c.IsNull(1, 1));
  EXPECT_EQ(c.GetFloat(3, 3), 0.1 + 0.2 * 3);  // not rounded through its text

  // From the first row, "3,5" makes A numeric; "1,234.5" does not read and stays empty.
  f.form.GridCellChanged(0, 0);
  f.prompter.ExpectSaveFile(File(out + ".fdt")).ExpectMessage("Tabela convertida e salva com sucesso!");
  f.form.SalvarComo1Click();
  LoadTableFile(out + ".fdt", c);
  EXPECT_EQ(c.DataType(0), FieldType::ftFloat);
  EXPECT_EQ(c.GetFloat(0, 0), 3.5);
  EXPECT_TRUE(c.IsNull(1, 0));
  EXPECT_EQ(c.GetFloat(2, 0), 7.0);
  EXPECT_TRUE(c.IsNull(3, 0));
  EXPECT_EQ(c.DataType(1), FieldType::ftFloat);
  EXPECT_TRUE(c.IsNull(1, 1));
}

TEST(GraphForm, CloseAnsweredCancelNoAndYes) {
  Fixture f;
  const std::string path = f.Open(Sample());
  f.prompter.ExpectYesNoCancel(kCloseQuestion, Answer::Cancel);
  f.form.Fechar1Click();
  EXPECT_TRUE(f.form.Table1.Active());
  EXPECT_EQ(f.form.FCurrentFileName, path);

  f.form.Table1.SetFloat(0, 1, 42);
  f.prompter.ExpectYesNoCancel(kCloseQuestion, Answer::No);
  f.form.Fechar1Click();
  EXPECT_FALSE(f.form.Table1.Active());
  EXPECT_EQ(f.form.FCurrentFileName, "");
  DataTable onDisk;
  LoadTableFile(path, onDisk);
  ExpectSameTable(onDisk, Sample());
  // Nothing open: nothing asked.
  f.form.Fechar1Click();
}

// "&Abrir", "&Criar" and "&Deletar" close the table: with unsaved edits they ask first.
TEST(GraphForm, ClosingCommandsAskOnlyWithUnsavedEdits) {
  struct Case {
    const char* name;
    void (TGraphForm::*command)();
  };
  for (Case c : {Case{"Abrir", &TGraphForm::Abrir1Click}, Case{"Criar", &TGraphForm::Criar1Click},
                 Case{"Deletar", &TGraphForm::Deletar1Click}}) {
    SCOPED_TRACE(c.name);
    Fixture f;
    const std::string path = f.Open(Sample());
    const bool open = c.command == &TGraphForm::Deletar1Click;
    auto dialog = [&] {
      if (open || c.command == &TGraphForm::Abrir1Click)
        f.prompter.ExpectOpenFile(std::nullopt);
      else
        f.prompter.ExpectSaveFile(std::nullopt);
    };
    // No edits: straight to the dialog.
    dialog();
    (f.form.*c.command)();
    if (c.command == &TGraphForm::Criar1Click) {
      EXPECT_TRUE(f.form.Table1.Active());
    } else {
      f.prompter.ExpectOpenFile(File(path));
      f.form.LoadTable();
    }
    f.form.GridEditable = true;
    ASSERT_TRUE(f.form.SetCell(0, 1, "77"));  // a pending edit
    f.prompter.ExpectYesNoCancel(kCloseQuestion, Answer::Cancel);
    (f.form.*c.command)();
    EXPECT_TRUE(f.form.Table1.Active());
    EXPECT_EQ(std::get<double>(f.form.Table1.CurrentValue(1)), 77.0);
    f.prompter.ExpectYesNoCancel(kCloseQuestion, Answer::Yes).ExpectYesNo(Overwrite(path), Answer::Yes);
    dialog();
    (f.form.*c.command)();
    DataTable onDisk;
    LoadTableFile(path, onDisk);
    EXPECT_EQ(onDisk.GetFloat(0, 1), 77.0);
  }
}

TEST(GraphForm, DeleteFileAsksWithItsNameAndKeepsFileName) {
  Fixture f;
  f.form.ExeDir = f.dir.Path();
  const std::string path = f.Open(Sample());
  const std::string victim = WriteBytes(f.dir.File("velho.fdt"), "x");
  f.prompter
      .ExpectOpenFile(File(victim),
                      [&](const FileDialogRequest& r) {
                        EXPECT_EQ(r.title, "Selecione o arquivo para deletar");
                        EXPECT_EQ(r.filter, kCreateTableFilter);
                        EXPECT_EQ(r.filterIndex, 4);
                        EXPECT_EQ(r.initialDir, f.dir.Path());
                      })
      .ExpectYesNo("Tem certeza que deseja deletar o arquivo velho.fdt?", Answer::No);
  f.form.Deletar1Click();
  EXPECT_FALSE(f.form.Table1.Active());
  EXPECT_TRUE(fs::exists(victim));
  f.prompter.ExpectOpenFile(File(victim))
      .ExpectYesNo("Tem certeza que deseja deletar o arquivo velho.fdt?", Answer::Yes);
  f.form.Deletar1Click();
  EXPECT_FALSE(fs::exists(victim));
  EXPECT_EQ(f.form.FCurrentFileName, path);
}

TEST(GraphForm, RowDeletionMode) {
  Fixture f;
  const std::string path = f.Open(Sample());
  f.prompter.ExpectMessage(
      "Selecione os registros com Ctrl + Clique ou Shift + Clique. Depois clique em "
      "\"Desativar\" para excluir.");
  f.form.Deletar2Click();
  EXPECT_TRUE(f.form.RowSelectMode);
  EXPECT_FALSE(f.form.DeletarVisible);
  EXPECT_TRUE(f.form.DesativarVisible);

  // Nothing selected: the normal mode comes back anyway.
  f.prompter.ExpectMessage("Nenhum registro selecionado para exclusão.")
      .ExpectMessage("Modo de edição normal restaurado.");
  f.form.Desativar1Click();
  EXPECT_FALSE(f.form.RowSelectMode);
  EXPECT_TRUE(f.form.DeletarVisible);
  EXPECT_FALSE(f.form.DesativarVisible);

  f.prompter.ExpectMessage(
      "Selecione os registros com Ctrl + Clique ou Shift + Clique. Depois clique em "
      "\"Desativar\" para excluir.");
  f.form.Deletar2Click();
  f.form.SelectedRows = {0, 2};
  f.prompter.ExpectYesNo("Excluir 2 registro(s) selecionado(s)?", Answer::No)
      .ExpectMessage("Modo de edição normal restaurado.");
  f.form.Desativar1Click();
  EXPECT_EQ(f.form.Table1.RecordCount(), 3);

  f.prompter.ExpectMessage(
      "Selecione os registros com Ctrl + Clique ou Shift + Clique. Depois clique em "
      "\"Desativar\" para excluir.");
  f.form.Deletar2Click();
  f.form.SelectedRows = {2, 0};
  f.prompter.ExpectYesNo("Excluir 2 registro(s) selecionado(s)?", Answer::Yes)
      .ExpectYesNo(Overwrite(path), Answer::Yes)
      .ExpectMessage("Modo de edição normal restaurado.");
  f.form.Desativar1Click();
  ASSERT_EQ(f.form.Table1.RecordCount(), 1);
  EXPECT_EQ(f.form.Table1.GetString(0, 0), "B");
  EXPECT_TRUE(f.form.Table1.IsNull(0, 2));
  DataTable onDisk;
  LoadTableFile(path, onDisk);
  ExpectSameTable(onDisk, f.form.Table1);
}

TEST(GraphForm, AddColumnsKeepsEveryCell) {
  Fixture f;
  const std::string path = f.Open(Sample());
  f.prompter.ExpectInput("Número de novos campos", "Digite o número de novos campos:", "x")
      .ExpectInput("Número de novos campos", "Digite o número de novos campos:", "2")
      .ExpectInput("Novo campo 1", "Digite o nome:", std::nullopt)
      .ExpectYesNo("Campo \"Var4\" é numérico?", Answer::Yes)
      .ExpectInput("Novo campo 2", "Digite o nome:", std::nullopt)
      .ExpectYesNo("Campo \"Var5\" é numérico?", Answer::No)
      .ExpectYesNo(Overwrite(path), Answer::Yes);
  f.form.Acrescentar1Click();
  const DataTable& t = f.form.Table1;
  ASSERT_EQ(t.FieldCount(), 5);
  EXPECT_EQ(t.Field(3), (FieldDef{"Var4", FieldType::ftFloat, 0}));
  EXPECT_EQ(t.Field(4), (FieldDef{"Var5", FieldType::ftString, 30}));
  const DataTable s = Sample();
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) EXPECT_EQ(t.Get(r, c), s.Get(r, c));
    EXPECT_TRUE(t.IsNull(r, 3));
    EXPECT_TRUE(t.IsNull(r, 4));
  }
  DataTable onDisk;
  LoadTableFile(path, onDisk);
  ExpectSameTable(onDisk, t);
}

// A column list the rebuild refuses keeps the table as it was, cells and file.
TEST(GraphForm, FailedRebuildKeepsTheTable) {
  struct Case {
    std::string name, message;
  };
  for (const Case& c : {Case{"Peso", "Erro ao adicionar campos: Nome de campo duplicado: Peso"},
                        Case{"", "Erro ao adicionar campos: Nome de campo vazio."}}) {
    SCOPED_TRACE(c.name);
    Fixture f;
    const std::string path = f.Open(Sample());
    const std::string before = ReadBytes(path);
    f.prompter.ExpectInput("Número de novos campos", "Digite o número de novos campos:", "1")
        .ExpectInput("Novo campo 1", "Digite o nome:", c.name)
        .ExpectYesNo("Campo \"" + c.name + "\" é numérico?", Answer::Yes)
        .ExpectMessage(c.message, BoxKind::Error);
    f.form.Acrescentar1Click();
    ExpectSameTable(f.form.Table1, Sample());
    EXPECT_TRUE(f.form.Table1.Active());
    EXPECT_EQ(ReadBytes(path), before);
  }
}

TEST(GraphForm, AddColumnsWithoutTableOpensOneFirst) {
  Fixture f;
  f.prompter.ExpectOpenFile(std::nullopt);
  f.form.Acrescentar1Click();
  EXPECT_FALSE(f.form.Table1.Active());
}

TEST(GraphForm, DeleteColumn) {
  Fixture f;
  const std::string path = f.Open(Sample());
  f.host.Expect("TField_Del", [](tolmex::shell::Form& form) {
    auto& d = dynamic_cast<TField_Del&>(form);
    EXPECT_EQ(d.LB_Var, (std::vector<std::string>{"Trat", "Rep", "Peso"}));
    d.LB_VarIndex = 1;
    d.CancelarClick();
  });
  f.form.Deletar3Click();
  EXPECT_EQ(f.form.Table1.FieldCount(), 3);

  f.host.Expect("TField_Del", [](tolmex::shell::Form& form) {
    auto& d = dynamic_cast<TField_Del&>(form);
    d.LB_VarIndex = 1;
    d.OkClick();
  });
  f.prompter.ExpectYesNo(Overwrite(path), Answer::Yes);
  f.form.Deletar3Click();
  const DataTable& t = f.form.Table1;
  ASSERT_EQ(t.FieldCount(), 2);
  EXPECT_EQ(t.FieldName(0), "Trat");
  EXPECT_EQ(t.FieldName(1), "Peso");
  const DataTable s = Sample();
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(t.Get(r, 0), s.Get(r, 0));
    EXPECT_EQ(t.Get(r, 1), s.Get(r, 2));
  }
}

TEST(GraphForm, DeletingTheOnlyColumnRemovesTheFileAfterWarning) {
  Fixture f;
  DataTable one;
  one.AddField({"X", FieldType::ftFloat});
  one.Open();
  one.SetFloat(one.AppendRow(), 0, 1);
  const std::string path = f.Open(one);
  auto pick = [](tolmex::shell::Form& form) {
    auto& d = dynamic_cast<TField_Del&>(form);
    d.LB_VarIndex = 0;
    d.OkClick();
  };
  f.host.Expect("TField_Del", pick);
  f.prompter.ExpectYesNo("Deletar o único campo apagará todos os dados. Continuar?", Answer::No);
  f.form.Deletar3Click();
  EXPECT_TRUE(f.form.Table1.Active());
  EXPECT_TRUE(fs::exists(path));
  f.host.Expect("TField_Del", pick);
  f.prompter.ExpectYesNo("Deletar o único campo apagará todos os dados. Continuar?", Answer::Yes);
  f.form.Deletar3Click();
  EXPECT_FALSE(f.form.Table1.Active());
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(f.form.FCurrentFileName, "");
}

TEST(GraphForm, RenameColumns) {
  Fixture f;
  f.prompter.ExpectMessage("Nenhuma tabela aberta para renomear campos.");
  f.form.Renomear1Click();

  const std::string path = f.Open(Sample());
  // Efetivar with nothing changed.
  f.host.Expect("TForm_nomes", [](tolmex::shell::Form& form) {
    auto& d = dynamic_cast<TForm_nomes&>(form);
    EXPECT_EQ(d.LB_nomes, (std::vector<std::string>{"Trat", "Rep", "Peso"}));
    EXPECT_EQ(d.LB_nomesIndex, 0);
    EXPECT_TRUE(d.EditFocused);
    d.EfetivarClick();
    EXPECT_TRUE(d.Closed);
  });
  f.prompter.ExpectMessage("Nenhum campo foi marcado para renomear.");
  f.form.Renomear1Click();

  f.host.Expect("TForm_nomes", [&](tolmex::shell::Form& form) {
    auto& d = dynamic_cast<TForm_nomes&>(form);
    // Refused names, each with its message, change nothing.
    struct Bad {
      std::string name, message;
    };
    for (const Bad& b : {Bad{"  ", "Digite o novo nome do campo!"},
                         Bad{"peso(kg)", kBadNameChars}, Bad{"a*b", kBadNameChars},
                         Bad{"Rep", "Já existe um campo chamado \"Rep\"."}}) {
      f.prompter.ExpectMessage(b.message);
      d.Edit_nn = b.name;
      d.TrocarClick();
      EXPECT_EQ(d.LB_nomes[0], "Trat");
      EXPECT_EQ(d.LB_nomesIndex, 0);
    }
    d.Edit_nn = " Tratamento ";
    d.Edit_nnEnter();
    EXPECT_EQ(d.LB_nomes[0], "Tratamento");
    EXPECT_EQ(d.Edit_nn, "");
    EXPECT_EQ(d.LB_nomesIndex, 1);
    d.LB_nomesIndex = 2;
    d.Edit_nn = "peso";  // differs in case only: allowed
    d.TrocarClick();
    EXPECT_EQ(d.LB_nomesIndex, 2);  // last entry: the selection stays
    f.prompter.ExpectMessage("Campos renomeados com sucesso!");
    d.EfetivarClick();
  });
  f.form.Renomear1Click();
  const DataTable& t = f.form.Table1;
  EXPECT_EQ(t.FieldName(0), "Tratamento");
  EXPECT_EQ(t.FieldName(1), "Rep");
  EXPECT_EQ(t.FieldName(2), "peso");
  const DataTable s = Sample();
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(t.Get(r, c), s.Get(r, c));
  // Not saved here.
  EXPECT_TRUE(f.form.HasUnsavedEdits());
  DataTable onDisk;
  LoadTableFile(path, onDisk);
  EXPECT_EQ(onDisk.FieldName(0), "Trat");

  // "Trocar" with no entry selected shows only that message; "Abandonar" forgets.
  f.host.Expect("TForm_nomes", [&](tolmex::shell::Form& form) {
    auto& d = dynamic_cast<TForm_nomes&>(form);
    d.LB_nomesIndex = -1;
    d.Edit_nn = "Novo";
    f.prompter.ExpectMessage("Nenhum campo foi selecionado!");
    d.TrocarClick();
    d.LB_nomesIndex = 1;
    d.TrocarClick();
    d.AbandonarClick();
  });
  f.form.Renomear1Click();
  EXPECT_EQ(t.FieldName(1), "Rep");
}

TEST(GraphForm, RenameDialogWithoutOwner) {
  ScriptedPrompter p;
  TForm_nomes d(p);
  p.ExpectMessage("Tabela principal não encontrada.");
  d.FormActivate();
  EXPECT_TRUE(d.LB_nomes.empty());
  p.ExpectMessage("Nenhuma tabela aberta para renomear.");
  d.EfetivarClick();
  EXPECT_TRUE(d.Closed);
}

TEST(GraphForm, ChangeColumnType) {
  for (NumberLocale loc : {NumberLocale::Dot(), NumberLocale::Comma()}) {
    SCOPED_TRACE(std::string(1, loc.decimalSeparator));
    Fixture f;
    tolmex::shell::SetCurrentNumberLocale(loc);
    f.prompter.ExpectMessage("Abra uma tabela com dados primeiro.");
    f.form.AlterarTipoColunaClick();

    DataTable t;
    t.AddField({"Y", FieldType::ftFloat});
    t.AddField({"T", FieldType::ftString, 30});
    t.Open();
    const char* texts[] = {"1,234.5", "3,5", nullptr, "abc"};
    for (int i = 0; i < 4; ++i) {
      const int r = t.AppendRow();
      if (i != 2) t.SetFloat(r, 0, 3.5 * (i + 1));
      if (texts[i]) t.SetString(r, 1, texts[i]);
    }
    f.Open(t);
    f.form.CurrentCol = -1;
    f.prompter.ExpectMessage("Clique em uma coluna do Grid para selecioná-la.");
    f.form.AlterarTipoColunaClick();

    // Numeric to text and back.
    f.form.GridCellChanged(0, 0);
    f.prompter.ExpectYesNo("A coluna \"Y\" é NUMÉRICA.\r\nDeseja converter para TEXTO?", Answer::Yes)
        .ExpectMessage("Sucesso! Coluna \"Y\" agora é Texto");
    f.form.AlterarTipoColunaClick();
    EXPECT_EQ(f.form.Table1.Field(0), (FieldDef{"Y", FieldType::ftString, 100}));
    EXPECT_EQ(f.form.Table1.GetString(0, 0), loc.decimalSeparator == ',' ? "3,5" : "3.5");
    f.prompter.ExpectYesNo("A coluna \"Y\" é TEXTO.\r\nDeseja converter para NUMÉRICO?", Answer::Yes)
        .ExpectMessage("Sucesso! Coluna \"Y\" agora é Numérica");
    f.form.AlterarTipoColunaClick();
    EXPECT_EQ(f.form.Table1.GetFloat(0, 0), 3.5);
    EXPECT_EQ(f.form.Table1.GetFloat(3, 0), 14.0);
    EXPECT_FALSE(f.form.Table1.IsNull(2, 0));  // an empty cell became 0
    EXPECT_EQ(f.form.Table1.GetFloat(2, 0), 0.0);

    // Text to numeric.
    f.form.GridCellChanged(0, 1);
    f.prompter.ExpectYesNo("A coluna \"T\" é TEXTO.\r\nDeseja converter para NUMÉRICO?", Answer::No);
    f.form.AlterarTipoColunaClick();
    EXPECT_EQ(f.form.Table1.DataType(1), FieldType::ftString);
    f.prompter.ExpectYesNo("A coluna \"T\" é TEXTO.\r\nDeseja converter para NUMÉRICO?", Answer::Yes)
        .ExpectMessage("Sucesso! Coluna \"T\" agora é Numérica");
    f.form.AlterarTipoColunaClick();
    const double expected[] = {0, 3.5, 0, 0};
    for (int r = 0; r < 4; ++r) EXPECT_EQ(f.form.Table1.GetFloat(r, 1), expected[r]) << r;
    EXPECT_TRUE(f.form.HasUnsavedEdits());
  }
  tolmex::shell::SetCurrentNumberLocale(NumberLocale::Dot());
}

TEST(GraphForm, GridDisplayAndColumnWidths) {
  Fixture f;
  f.form.TitleWidth = [](const std::string& s) { return 10 * static_cast<int>(s.size()); };
  DataTable t;
  t.AddField({"Produtividade", FieldType::ftFloat});  // 130 px title
  t.AddField({"Nome", FieldType::ftString, 30});
  t.AddField({"Altura", FieldType::ftFloat});  // 60 px: not wider than 60
  t.Open();
  t.SetFloat(t.AppendRow(), 0, 1234567.891);
  t.SetString(0, 1, "1234.5");
  t.SetFloat(0, 2, -0.004);
  f.Open(t);
  ASSERT_EQ(f.form.Columns.size(), 3u);
  EXPECT_EQ(f.form.Columns[0].width, 150);
  EXPECT_EQ(f.form.Columns[1].width, 80);
  EXPECT_EQ(f.form.Columns[2].width, 80);
  for (const auto& c : f.form.Columns) {
    EXPECT_TRUE(c.alignRight);
    EXPECT_TRUE(c.titleCentered);
  }
  EXPECT_TRUE(f.form.Columns[0].numberPattern);
  EXPECT_FALSE(f.form.Columns[1].numberPattern);
  EXPECT_EQ(f.form.DisplayText(0, 0), "1,234,567.89");
  EXPECT_EQ(f.form.EditText(0, 0), "1234567.891");  // full precision in the editor
  EXPECT_EQ(f.form.DisplayText(0, 1), "1234.5");
  EXPECT_EQ(f.form.DisplayText(0, 2), "0.00");
  tolmex::shell::SetCurrentNumberLocale(NumberLocale::Comma());
  EXPECT_EQ(f.form.DisplayText(0, 0), "1.234.567,89");
  EXPECT_EQ(f.form.EditText(0, 0), "1234567,891");
  tolmex::shell::SetCurrentNumberLocale(NumberLocale::Dot());
}

TEST(GraphForm, FormatGridNumberCases) {
  struct Case {
    double v;
    const char* dot;
    const char* comma;
  };
  const Case cases[] = {
      {0, "0.00", "0,00"},
      {0.005, "0.01", "0,01"},  // the binary value is above one half
      {2.675, "2.67", "2,67"},  // ... and this one below
      {-1234.5, "-1,234.50", "-1.234,50"},
      {999.999, "1,000.00", "1.000,00"},
      {123456789012.0, "123,456,789,012.00", "123.456.789.012,00"},
      {-0.001, "0.00", "0,00"},
      {1e-300, "0.00", "0,00"},
      {std::numeric_limits<double>::infinity(), "+Inf", "+Inf"},
      {std::nan(""), "Nan", "Nan"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatGridNumber(c.v, NumberLocale::Dot()), c.dot) << c.v;
    EXPECT_EQ(FormatGridNumber(c.v, NumberLocale::Comma()), c.comma) << c.v;
  }
}

TEST(GraphForm, StatusBarAndEnterNavigation) {
  Fixture f;
  f.Open(Sample());
  EXPECT_EQ(f.form.StatusPanel[0], "Registro: 1 de 3");
  EXPECT_EQ(f.form.StatusPanel[1], "Campo: Trat");
  EXPECT_EQ(f.form.StatusPanel[2], "Valor: A");
  f.form.GridCellChanged(1, 2);  // row and column moved
  EXPECT_EQ(f.form.StatusPanel[0], "Registro: 2/3");
  EXPECT_EQ(f.form.StatusPanel[1], "Campo: Peso");
  EXPECT_EQ(f.form.StatusPanel[2], "Valor: ");
  ASSERT_TRUE(f.form.SetCell(1, 2, "4,75"));  // an edit: the "de" form
  EXPECT_EQ(f.form.StatusPanel[0], "Registro: 2 de 3");
  EXPECT_EQ(f.form.StatusPanel[2], "Valor: 4.75");
  EXPECT_EQ(f.form.DisplayText(1, 2), "4.75");  // pending edit shown
  EXPECT_TRUE(f.form.Table1.IsNull(1, 2));      // not yet posted
  // Enter in the last column posts and goes to the next row's first column.
  f.form.EnterPressed();
  EXPECT_EQ(f.form.Table1.GetFloat(1, 2), 4.75);
  EXPECT_EQ(f.form.Table1.RecNo(), 3);
  EXPECT_EQ(f.form.CurrentCol, 0);
  EXPECT_EQ(f.form.StatusPanel[0], "Registro: 3/3");
  // Refused text keeps the cell and says why.
  f.form.GridCellChanged(2, 1);
  f.prompter.ExpectMessage("'abc' não é um valor numérico válido.", BoxKind::Error);
  EXPECT_FALSE(f.form.SetCell(2, 1, "abc"));
  EXPECT_EQ(f.form.Table1.GetFloat(2, 1), 3.0);
  // Escape drops a pending edit.
  ASSERT_TRUE(f.form.SetCell(2, 1, "8"));
  f.form.CancelPressed();
  EXPECT_EQ(f.form.DisplayText(2, 1), "3.00");
  // Enter through the last row appends an empty row.
  f.form.EnterPressed();
  EXPECT_EQ(f.form.CurrentCol, 2);
  f.form.EnterPressed();
  EXPECT_EQ(f.form.Table1.RecordCount(), 4);
  EXPECT_EQ(f.form.Table1.RecNo(), 4);
  ASSERT_TRUE(f.form.SetCell(3, 0, "D"));
  f.form.GridCellChanged(0, 0);
  EXPECT_EQ(f.form.Table1.RecordCount(), 4);  // typed into: kept
  EXPECT_EQ(f.form.Table1.GetString(3, 0), "D");
  // Closed table: the counts are zero, no field, no value.
  f.prompter.ExpectYesNoCancel(kCloseQuestion, Answer::No);
  f.form.Fechar1Click();
  EXPECT_EQ(f.form.StatusPanel[0], "Registro: 0 de 0");
  EXPECT_EQ(f.form.StatusPanel[1], "Campo: ");
  EXPECT_EQ(f.form.StatusPanel[2], "Valor: ");
}

TEST(GraphForm, GridIsReadOnlyUntilOpenedThroughTheMenu) {
  Fixture f;
  const std::string path = f.dir.File("t.fdt");
  SaveTableFile(Sample(), path);
  f.prompter.ExpectOpenFile(File(path));
  f.form.LoadTable();  // as a procedure's "open file" button does
  EXPECT_FALSE(f.form.GridEditable);
  EXPECT_FALSE(f.form.SetCell(0, 1, "5"));
  f.prompter.ExpectOpenFile(File(path));
  f.form.Abrir1Click();
  EXPECT_TRUE(f.form.GridEditable);
  EXPECT_TRUE(f.form.SetCell(0, 1, "5"));
}

TEST(GraphForm, CloseTableKeepsFileNameAndAsksNothing) {
  Fixture f;
  const std::string path = f.Open(Sample());
  f.form.Table1.SetFloat(0, 1, 5);
  f.form.CloseTable();
  EXPECT_FALSE(f.form.Table1.Active());
  EXPECT_EQ(f.form.FCurrentFileName, path);
  EXPECT_FALSE(f.form.HasUnsavedEdits());
  EXPECT_TRUE(f.form.ConfirmDiscardEdits());
  EXPECT_EQ(f.form.GridRowCount(), 0);
  EXPECT_EQ(f.form.StatusPanel[0], "Registro: 0 de 0");
}
