#include "data/graph_form.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <set>

#include "data/table_convert.h"
#include "data/table_file.h"
#include "shell/format.h"
#include "shell/text_utils.h"

namespace tolmex::data {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLoadTail = "Verifique se o arquivo é válido e não contém acentos no caminho.";

// Delphi-like StrToIntDef(text, 0): a decimal integer, the whole text; anything else 0.
int IntOrZero(const std::string& text) {
  const std::string_view s = shell::Trim(text);
  const char* b = s.data();
  const char* e = s.data() + s.size();
  if (b != e && *b == '+') ++b;
  int v = 0;
  auto [p, ec] = std::from_chars(b, e, v);
  if (ec != std::errc() || p != e) return 0;
  return v;
}

std::string WithFdtExtension(const std::string& path) {
  if (fs::path(path).extension().empty()) return path + ".fdt";
  return path;
}

std::string FolderOf(const std::string& path) { return fs::path(path).parent_path().string(); }

}  // namespace

std::string FormatGridNumber(double v, const shell::NumberLocale& locale) {
  if (std::isnan(v)) return "Nan";
  if (std::isinf(v)) return v > 0 ? "+Inf" : "-Inf";
  char buf[400];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::fixed, 2);
  if (ec != std::errc()) return shell::FormatGeneral(v, locale);
  std::string digits(buf, p);
  const std::size_t dot = digits.find('.');
  const std::string intPart = digits.substr(0, dot);
  const std::string frac = digits.substr(dot + 1);
  std::string out;
  for (std::size_t i = 0; i < intPart.size(); ++i) {
    if (i > 0 && (intPart.size() - i) % 3 == 0) out += locale.thousandsSeparator;
    out += intPart[i];
  }
  out += locale.decimalSeparator;
  out += frac;
  // A value that rounds to zero is shown without a sign.
  if (v < 0 && digits.find_first_not_of("0.") != std::string::npos) out = "-" + out;
  return out;
}

bool HasReservedNameChars(std::string_view name) {
  return name.find_first_of("*()") != std::string_view::npos;
}

TGraphForm::TGraphForm(shell::Prompter& prompter, shell::WindowHost& host)
    : Form_nomes(prompter), prompter_(prompter), host_(host) {
  Form_nomes.Owner = this;
  RefreshStatus(false);
}

// ---------------------------------------------------------------- notifications

void TGraphForm::NotifyTable() {
  if (view_) view_->TableChanged();
}

void TGraphForm::NotifyState() {
  if (view_) view_->StateChanged();
}

int TGraphForm::TitleWidthOf(const std::string& s) const {
  if (TitleWidth) return TitleWidth(s);
  return 7 * static_cast<int>(shell::Utf8Length(s));
}

// ---------------------------------------------------------------- unsaved edits

void TGraphForm::MarkSaved() { savedStamp_ = Table1.ChangeCount(); }

bool TGraphForm::HasUnsavedEdits() const {
  if (!Table1.Active()) return false;
  return Table1.ChangeCount() != savedStamp_ ||
         Table1.GetState() != DataTable::State::dsBrowse;
}

bool TGraphForm::SaveOrAskName() {
  if (FCurrentFileName.empty()) {
    shell::FileDialogRequest req;
    req.filter = kSaveAsFilter;
    req.defaultExt = "fdt";
    req.initialDir = FLastOpenDir;
    auto r = prompter_.SaveFile(req);
    if (!r) return false;
    FCurrentFileName = WithFdtExtension(r->path);
  }
  return SaveTable();
}

bool TGraphForm::ConfirmDiscardEdits() {
  if (!HasUnsavedEdits()) return true;
  switch (prompter_.AskYesNoCancel(kCloseQuestion)) {
    case shell::Answer::Yes: return SaveOrAskName();
    case shell::Answer::No: return true;
    default: return false;
  }
}

// ---------------------------------------------------------------- LoadTable / SaveTable

void TGraphForm::LoadTable() {
  shell::FileDialogRequest req;
  req.filter = kLoadTableFilter;
  req.filterIndex = 1;
  req.defaultExt = "fdt";
  req.initialDir = FLastOpenDir;
  auto r = prompter_.OpenFile(req);
  if (!r) return;
  FCurrentFileName = r->path;
  appendedUntouched_ = false;
  try {
    LoadTableFile(FCurrentFileName, Table1);
    FLastOpenDir = FolderOf(FCurrentFileName);
    MarkSaved();
    CurrentCol = Table1.FieldCount() > 0 ? 0 : -1;
    AlignFieldsRight();
  } catch (const std::exception& e) {
    // No table belongs to the file name now.
    FCurrentFileName.clear();
    Columns.clear();
    CurrentCol = -1;
    NotifyTable();
    prompter_.Error(std::string("Erro ao carregar: ") + e.what() + "\r\n" + kLoadTail);
  }
  RefreshStatus(false);
}

bool TGraphForm::SaveTable() {
  if (FCurrentFileName.empty() || !Table1.Active()) return false;
  try {
    Table1.Post();
  } catch (const std::exception& e) {
    prompter_.Error(std::string("Erro ao salvar tabela: ") + e.what());
    return false;
  }
  appendedUntouched_ = false;
  std::error_code ec;
  if (fs::exists(FCurrentFileName, ec) &&
      prompter_.AskYesNo("O arquivo \"" + FCurrentFileName +
                         "\" já existe. Deseja sobrescrever?") != shell::Answer::Yes)
    return false;
  try {
    SaveTableFile(Table1, FCurrentFileName);
  } catch (const std::exception& e) {
    prompter_.Error(std::string("Erro ao salvar tabela: ") + e.what());
    return false;
  }
  MarkSaved();
  NotifyState();
  return true;
}

// ---------------------------------------------------------------- CreateNewTable

void TGraphForm::CreateNewTable() {
  shell::FileDialogRequest req;
  req.title = "Criar nova tabela";
  req.filter = kCreateTableFilter;
  req.filterIndex = 1;
  req.defaultExt = "fdt";
  req.initialDir = ExeDir;
  auto r = prompter_.SaveFile(req);
  if (!r) return;
  const std::string chosen = WithFdtExtension(r->path);

  int count = 0;
  while (count < 1) {
    auto text = prompter_.InputBox("Número de campos", "Digite o número de campos (colunas):", "");
    // Cancelled: the open table and the file it belongs to stay as they were.
    if (!text) return;
    count = IntOrZero(*text);
  }
  FCurrentFileName = chosen;
  try {
    Table1.ClearFields();
    appendedUntouched_ = false;
    CurrentCol = -1;
    Columns.clear();
    NotifyTable();
    std::vector<FieldDef> defs;
    for (int i = 1; i <= count; ++i) {
      std::string name;
      for (;;) {
        auto text = prompter_.InputBox("Campo " + std::to_string(i), "Nome da variável:", "");
        name = text ? *text : "Var" + std::to_string(i);
        if (!HasReservedNameChars(name)) break;
        prompter_.Warning(kBadNameChars);
      }
      const bool numeric =
          prompter_.AskYesNo("O campo \"" + name + "\" é numérico?") == shell::Answer::Yes;
      defs.push_back(numeric ? FieldDef{name, FieldType::ftFloat, 0}
                             : FieldDef{name, FieldType::ftString, 30});
    }
    CheckFieldNames(defs);
    Table1.SetFields(defs);
    Table1.Open();
    CurrentCol = 0;
    // A new table has no edits of its own: it is "unsaved" only if the save below fails.
    savedStamp_ = 0;
    AlignFieldsRight();
    SaveTable();
  } catch (const std::exception& e) {
    prompter_.Error(std::string("Erro ao criar tabela: ") + e.what());
  }
  RefreshStatus(false);
  NotifyTable();
}

// ---------------------------------------------------------------- AlignFieldsRight

void TGraphForm::AlignFieldsRight() {
  ControlsDisabled off(Table1);
  Columns.clear();
  for (int c = 0; c < Table1.FieldCount(); ++c) {
    ColumnDisplay d;
    d.alignRight = true;
    d.numberPattern = IsNumeric(Table1.DataType(c));
    const int tw = TitleWidthOf(Table1.FieldName(c));
    d.width = tw > 60 ? tw + 20 : 80;
    d.titleCentered = true;
    Columns.push_back(d);
  }
  if (CurrentCol >= Table1.FieldCount()) CurrentCol = Table1.FieldCount() - 1;
  NotifyTable();
}

void TGraphForm::CloseTable() {
  Table1.Close();
  Columns.clear();
  CurrentCol = -1;
  appendedUntouched_ = false;
  RefreshStatus(false);
  NotifyTable();
  NotifyState();
}

// ---------------------------------------------------------------- "&Arquivo"

void TGraphForm::Abrir1Click() {
  if (!ConfirmDiscardEdits()) return;
  Table1.Close();
  Columns.clear();
  CurrentCol = -1;
  NotifyTable();
  LoadTable();
  if (Table1.Active()) GridEditable = true;
  NotifyState();
}

void TGraphForm::Criar1Click() {
  if (!ConfirmDiscardEdits()) return;
  CreateNewTable();
  if (Table1.Active()) GridEditable = true;
  NotifyState();
}

void TGraphForm::SalvarComo1Click() {
  if (!Table1.Active()) return;
  shell::FileDialogRequest req;
  req.filter = kSaveAsFilter;
  req.defaultExt = "fdt";
  req.overwritePrompt = true;
  auto r = prompter_.SaveFile(req);
  if (!r) return;
  try {
    Table1.Post();
    const DataTable converted = ConvertForSaveAs(Table1, Table1.CurrentRow());
    SaveTableFile(converted, WithFdtExtension(r->path));
    prompter_.Information("Tabela convertida e salva com sucesso!");
  } catch (const std::exception& e) {
    prompter_.Error(std::string("Erro ao salvar tabela: ") + e.what());
  }
  NotifyTable();
}

void TGraphForm::Fechar1Click() {
  if (!Table1.Active()) return;
  switch (prompter_.AskYesNoCancel(kCloseQuestion)) {
    case shell::Answer::Yes:
      // The table stays open when it could not be saved: closing would lose it.
      if (!SaveOrAskName()) return;
      break;
    case shell::Answer::No: break;
    default: return;
  }
  Table1.Close();
  FCurrentFileName.clear();
  Columns.clear();
  CurrentCol = -1;
  appendedUntouched_ = false;
  GridEditable = false;
  RefreshStatus(false);
  NotifyTable();
  NotifyState();
}

void TGraphForm::Deletar1Click() {
  // Closing the table here would lose unsaved edits: ask first, as "&Abrir" does.
  if (!ConfirmDiscardEdits()) return;
  if (Table1.Active()) {
    Table1.Close();
    Columns.clear();
    CurrentCol = -1;
    GridEditable = false;
    RefreshStatus(false);
    NotifyTable();
  }
  shell::FileDialogRequest req;
  req.title = "Selecione o arquivo para deletar";
  req.filter = kCreateTableFilter;
  req.filterIndex = 4;
  req.initialDir = ExeDir;
  auto r = prompter_.OpenFile(req);
  if (r) {
    const std::string name = fs::path(r->path).filename().string();
    if (prompter_.AskYesNo("Tem certeza que deseja deletar o arquivo " + name + "?") ==
        shell::Answer::Yes) {
      std::error_code ec;
      if (fs::exists(r->path, ec)) {
        fs::remove(r->path, ec);
        if (ec) prompter_.Error("Erro ao deletar: " + ec.message());
      }
    }
  }
  NotifyState();
}

void TGraphForm::Sair1Click() {
  if (view_) view_->CloseWindow();
}

// ---------------------------------------------------------------- "&Registros"

void TGraphForm::Deletar2Click() {
  if (!Table1.Active()) return;
  prompter_.Information(
      "Selecione os registros com Ctrl + Clique ou Shift + Clique. Depois clique em "
      "\"Desativar\" para excluir.");
  DeletarVisible = false;
  DesativarVisible = true;
  RowSelectMode = true;
  SelectedRows.clear();
  NotifyState();
}

void TGraphForm::Desativar1Click() {
  if (!Table1.Active()) return;
  std::set<int, std::greater<int>> rows;
  for (int r : SelectedRows)
    if (r >= 0 && r < Table1.RecordCount()) rows.insert(r);
  if (rows.empty()) {
    prompter_.Information("Nenhum registro selecionado para exclusão.");
  } else if (prompter_.AskYesNo("Excluir " + std::to_string(rows.size()) +
                                " registro(s) selecionado(s)?") == shell::Answer::Yes) {
    try {
      ControlsDisabled off(Table1);
      Table1.Post();
      appendedUntouched_ = false;
      // From the last row up, so that the positions still to delete do not move.
      for (int r : rows) Table1.DeleteRow(r);
    } catch (const std::exception& e) {
      prompter_.Error(e.what());
    }
    RefreshStatus(false);
    NotifyTable();
    SaveTable();
  }
  prompter_.Information("Modo de edição normal restaurado.");
  DeletarVisible = true;
  DesativarVisible = false;
  RowSelectMode = false;
  SelectedRows.clear();
  NotifyState();
}

// ---------------------------------------------------------------- "&Campos"

void TGraphForm::ReplaceTable(DataTable&& t) {
  const int recNo = Table1.RecNo();
  Table1 = std::move(t);
  Table2 = DataTable();
  appendedUntouched_ = false;
  if (recNo > 0) Table1.SetRecNo(recNo);
  AlignFieldsRight();
  RefreshStatus(false);
}

void TGraphForm::Acrescentar1Click() {
  if (!Table1.Active()) {
    LoadTable();
    if (!Table1.Active()) return;
    GridEditable = true;
  }
  try {
    int count = 0;
    while (count <= 0) {
      auto text =
          prompter_.InputBox("Número de novos campos", "Digite o número de novos campos:", "");
      if (!text) return;
      count = IntOrZero(*text);
    }
    std::vector<FieldDef> defs = Table1.FieldDefs();
    std::vector<int> from;
    for (int c = 0; c < Table1.FieldCount(); ++c) from.push_back(c);
    const int existing = Table1.FieldCount();
    for (int j = 1; j <= count; ++j) {
      auto text = prompter_.InputBox("Novo campo " + std::to_string(j), "Digite o nome:", "");
      const std::string name = text ? *text : "Var" + std::to_string(existing + j);
      const bool numeric =
          prompter_.AskYesNo("Campo \"" + name + "\" é numérico?") == shell::Answer::Yes;
      defs.push_back(numeric ? FieldDef{name, FieldType::ftFloat, 0}
                             : FieldDef{name, FieldType::ftString, 30});
      from.push_back(-1);
    }
    Table1.Post();
    // The new table is complete before it replaces the old one: a refused column list
    // leaves Table1 as it was.
    Table2 = RebuildTable(Table1, defs, from);
    ReplaceTable(std::move(Table2));
    SaveTable();
  } catch (const std::exception& e) {
    Table2 = DataTable();
    prompter_.Error(std::string("Erro ao adicionar campos: ") + e.what());
  }
  NotifyState();
}

void TGraphForm::Deletar3Click() {
  if (!Table1.Active()) {
    LoadTable();
    if (!Table1.Active()) return;
    GridEditable = true;
  }
  try {
    std::vector<std::string> names;
    for (const FieldDef& d : Table1.FieldDefs()) names.push_back(d.name);
    Field_Del.PopulateFields(names);
    host_.ShowModal(Field_Del);
    if (Field_Del.Result != ModalResult::Ok || Field_Del.LB_VarIndex < 0 ||
        Field_Del.LB_VarIndex >= Table1.FieldCount())
      return;
    const int col = Field_Del.LB_VarIndex;
    if (Table1.FieldCount() == 1) {
      if (prompter_.AskYesNo("Deletar o único campo apagará todos os dados. Continuar?") ==
          shell::Answer::Yes) {
        CloseTable();
        GridEditable = false;
        std::error_code ec;
        if (!FCurrentFileName.empty() && fs::exists(FCurrentFileName, ec)) {
          fs::remove(FCurrentFileName, ec);
          if (ec) throw DataError(ec.message());
        }
        FCurrentFileName.clear();
        RefreshStatus(false);
      }
      NotifyState();
      return;
    }
    std::vector<FieldDef> defs;
    std::vector<int> from;
    for (int c = 0; c < Table1.FieldCount(); ++c) {
      if (c == col) continue;
      defs.push_back(Table1.Field(c));
      from.push_back(c);
    }
    Table1.Post();
    Table2 = RebuildTable(Table1, defs, from);
    ReplaceTable(std::move(Table2));
    SaveTable();
  } catch (const std::exception& e) {
    Table2 = DataTable();
    prompter_.Error(std::string("Erro ao deletar campo: ") + e.what());
  }
  NotifyState();
}

void TGraphForm::Renomear1Click() {
  if (!Table1.Active()) {
    prompter_.Information("Nenhuma tabela aberta para renomear campos.");
    return;
  }
  Form_nomes.Owner = this;
  Form_nomes.FormActivate();
  host_.ShowModal(Form_nomes);
  RefreshStatus(false);
  NotifyState();
}

void TGraphForm::AlterarTipoColunaClick() {
  if (!Table1.Active() || Table1.RecordCount() == 0) {
    prompter_.Information("Abra uma tabela com dados primeiro.");
    return;
  }
  if (CurrentCol < 0 || CurrentCol >= Table1.FieldCount()) {
    prompter_.Information("Clique em uma coluna do Grid para selecioná-la.");
    return;
  }
  const int col = CurrentCol;
  const std::string name = Table1.FieldName(col);
  const bool toText = Table1.DataType(col) == FieldType::ftFloat;
  const std::string question =
      toText ? "A coluna \"" + name + "\" é NUMÉRICA.\r\nDeseja converter para TEXTO?"
             : "A coluna \"" + name + "\" é TEXTO.\r\nDeseja converter para NUMÉRICO?";
  if (prompter_.AskYesNo(question) != shell::Answer::Yes) return;
  try {
    ControlsDisabled off(Table1);
    Table1.Post();
    DataTable converted = ConvertColumnType(Table1, col, !toText);
    ReplaceTable(std::move(converted));
    CurrentCol = col;
    prompter_.Information("Sucesso! Coluna \"" + name + "\" agora é " +
                          (toText ? "Texto" : "Numérica"));
  } catch (const std::exception& e) {
    prompter_.Error(std::string("Erro ao converter coluna: ") + e.what());
  }
  NotifyState();
}

// ---------------------------------------------------------------- grid

int TGraphForm::GridRowCount() const {
  if (!Table1.Active()) return 0;
  const int n = Table1.RecordCount();
  return (n == 0 && GridEditable && Table1.FieldCount() > 0) ? 1 : n;
}

std::string TGraphForm::CellText(int row, int col) const {
  if (!Table1.Active() || col < 0 || col >= Table1.FieldCount()) return {};
  CellValue v;
  if (row == Table1.CurrentRow())
    v = Table1.CurrentValue(col);
  else if (row >= 0 && row < Table1.RecordCount())
    v = Table1.Get(row, col);
  if (auto* d = std::get_if<double>(&v)) return shell::FormatGeneral(*d);
  if (auto* s = std::get_if<std::string>(&v)) return *s;
  return {};
}

std::string TGraphForm::DisplayText(int row, int col) const {
  if (!Table1.Active() || col < 0 || col >= Table1.FieldCount()) return {};
  CellValue v;
  if (row == Table1.CurrentRow())
    v = Table1.CurrentValue(col);
  else if (row >= 0 && row < Table1.RecordCount())
    v = Table1.Get(row, col);
  if (auto* d = std::get_if<double>(&v)) {
    if (col < static_cast<int>(Columns.size()) && Columns[col].numberPattern)
      return FormatGridNumber(*d, shell::CurrentNumberLocale());
    return shell::FormatGeneral(*d);
  }
  if (auto* s = std::get_if<std::string>(&v)) return *s;
  return {};
}

std::string TGraphForm::EditText(int row, int col) const { return CellText(row, col); }

void TGraphForm::RefreshStatus(bool scrolled) {
  const bool active = Table1.Active();
  const int recNo = active ? Table1.RecNo() : 0;
  const int count = active ? Table1.RecordCount() : 0;
  const bool hasCol = active && CurrentCol >= 0 && CurrentCol < Table1.FieldCount();
  const bool hasRow = active && Table1.CurrentRow() >= 0;
  if (scrolled) {
    if (hasCol && hasRow)
      StatusPanel[0] = "Registro: " + std::to_string(recNo) + "/" + std::to_string(count);
    return;
  }
  StatusPanel[0] = "Registro: " + std::to_string(recNo) + " de " + std::to_string(count);
  StatusPanel[1] = "Campo: " + (hasCol ? Table1.FieldName(CurrentCol) : std::string());
  StatusPanel[2] = "Valor: " + (hasRow && hasCol ? CellText(Table1.CurrentRow(), CurrentCol)
                                                 : std::string());
}

void TGraphForm::GridCellChanged(int row, int col) {
  if (!Table1.Active()) return;
  const bool colChanged = col != CurrentCol;
  CurrentCol = (col >= 0 && col < Table1.FieldCount()) ? col : -1;
  bool rowChanged = false;
  if (row >= 0 && row < Table1.RecordCount() && row != Table1.CurrentRow()) {
    rowChanged = true;
    // An appended row left without typing anything is dropped.
    if (appendedUntouched_ && Table1.GetState() == DataTable::State::dsInsert) {
      const int cur = Table1.CurrentRow();
      Table1.Cancel();
      if (row > cur) --row;
      NotifyTable();
    }
    appendedUntouched_ = false;
    Table1.SetRecNo(row + 1);
    NotifyTable();
  }
  if (rowChanged) RefreshStatus(false);
  if (rowChanged || colChanged) RefreshStatus(true);
  NotifyState();
}

bool TGraphForm::SetCell(int row, int col, const std::string& text) {
  if (!GridEditable || RowSelectMode || !Table1.Active()) return false;
  if (col < 0 || col >= Table1.FieldCount()) return false;
  try {
    if (row == Table1.RecordCount() && row == 0) {
      Table1.Append();
    } else if (row >= 0 && row < Table1.RecordCount()) {
      if (row != Table1.CurrentRow()) Table1.SetRecNo(row + 1);
    } else {
      return false;
    }
    // An emptied cell becomes an empty cell, in text columns as in numeric ones.
    if (shell::Trim(text).empty())
      Table1.SetCurrentValue(col, CellValue{});
    else
      Table1.SetCurrentValue(col, text);
  } catch (const std::exception& e) {
    prompter_.Error(e.what());
    NotifyTable();
    return false;
  }
  appendedUntouched_ = false;
  CurrentCol = col;
  RefreshStatus(false);
  NotifyTable();
  NotifyState();
  return true;
}

void TGraphForm::EnterPressed() {
  if (!GridEditable || RowSelectMode || !Table1.Active() || Table1.FieldCount() == 0) return;
  if (CurrentCol < 0) CurrentCol = 0;
  if (CurrentCol < Table1.FieldCount() - 1) {
    ++CurrentCol;
    RefreshStatus(true);
    NotifyState();
    return;
  }
  try {
    Table1.Post();
  } catch (const std::exception& e) {
    prompter_.Error(e.what());
    return;
  }
  const int cur = Table1.CurrentRow();
  if (cur < 0 || cur >= Table1.RecordCount() - 1) {
    Table1.Append();
    appendedUntouched_ = true;
  } else {
    Table1.Next();
    appendedUntouched_ = false;
  }
  CurrentCol = 0;
  RefreshStatus(false);
  RefreshStatus(true);
  NotifyTable();
  NotifyState();
}

void TGraphForm::CancelPressed() {
  if (!Table1.Active() || Table1.GetState() == DataTable::State::dsBrowse) return;
  Table1.Cancel();
  appendedUntouched_ = false;
  RefreshStatus(false);
  NotifyTable();
  NotifyState();
}

}  // namespace tolmex::data
