#pragma once
// TGraphForm: the logic of the data-table window. It holds the table (Table1), the file it
// belongs to, and the handlers of the "&Arquivo", "&Registros" and "&Campos" menus and of
// the grid; it talks to the person only through the Prompter and shows its dialogs through
// the WindowHost. The Qt window binds a grid and menus to it.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_table.h"
#include "data/field_dialogs.h"
#include "shell/form.h"
#include "shell/number_locale.h"
#include "shell/prompter.h"
#include "shell/window_host.h"

namespace tolmex::data {

inline constexpr const char* kLoadTableFilter =
    "Arquivos MemTable (*.fdt)|*.fdt|Arquivos Paradox (*.db)|*.db|Arquivos dBase/FoxPro "
    "(*.dbf)|*.dbf|Arquivos Texto (*.txt)|*.txt|Todos os arquivos (*.*)|*.*";
inline constexpr const char* kCreateTableFilter =
    "Arquivos MemTable (*.fdt)|*.fdt|Arquivos Paradox (*.db)|*.db|Arquivos dBase/FoxPro "
    "(*.dbf)|*.dbf|Todos os arquivos (*.*)|*.*";
inline constexpr const char* kSaveAsFilter = "Arquivo FireDAC (*.fdt)|*.fdt";
inline constexpr const char* kCloseQuestion = "Deseja salvar as alterações antes de fechar?";
inline constexpr const char* kBadNameChars = "Caracteres não permitidos: *, ( ou )";

// Grid display of a number: the pattern "#,##0.00" (thousands separator, two decimals)
// with the locale's separators.
std::string FormatGridNumber(double v, const shell::NumberLocale& locale);

// True when a name holds "*", "(" or ")", which the model language reserves.
bool HasReservedNameChars(std::string_view name);

// How the grid shows one column (set by AlignFieldsRight).
struct ColumnDisplay {
  bool alignRight = true;
  bool numberPattern = false;  // shown with FormatGridNumber
  int width = 80;              // pixels
  bool titleCentered = true;
};

// What the window does when the form changes.
class TGraphFormView {
 public:
  virtual ~TGraphFormView() = default;
  virtual void TableChanged() = 0;  // columns, rows or cells changed: refresh the grid
  virtual void StateChanged() = 0;  // grid mode, menus, current cell or status bar changed
  virtual void CloseWindow() = 0;   // "&Sair"
};

class TGraphForm : public shell::Form {
 public:
  TGraphForm(shell::Prompter& prompter, shell::WindowHost& host);
  std::string_view FormName() const override { return "TGraphForm"; }
  static constexpr const char* kCaption = "Tabela de dados";

  shell::WindowHost& Host() { return host_; }

  DataTable Table1;  // the one table the procedures read
  DataTable Table2;  // second table of the rebuilds
  std::string FCurrentFileName;
  std::string FLastOpenDir;
  std::string ExeDir;  // the executable's folder: start folder of "&Criar" and "&Deletar"

  TField_Del Field_Del;
  TForm_nomes Form_nomes;

  void SetView(TGraphFormView* view) { view_ = view; }
  // Width in pixels of a column title in the grid's font (the window sets it; by default
  // 7 pixels a character).
  std::function<int(const std::string&)> TitleWidth;

  // ---- operations used by other windows ----
  // Asks for a file and loads it into Table1; afterwards Table1.Active() tells.
  void LoadTable();
  // Writes Table1 to FCurrentFileName (asking before overwriting); true when written.
  bool SaveTable();
  void CreateNewTable();
  void AlignFieldsRight();
  // Closes Table1 (a command chain that ends with the table closed); FCurrentFileName is
  // kept. Code that replaces or fills Table1 itself calls AlignFieldsRight afterwards, so
  // that the grid shows the new columns.
  void CloseTable();
  // The table has changes (or a pending edit) that its file does not have.
  bool HasUnsavedEdits() const;
  // Before something closes the table (or the program ends): when it has unsaved edits,
  // asks "Deseja salvar as alterações antes de fechar?"; false when the person cancelled
  // or the save did not happen.
  bool ConfirmDiscardEdits();
  // Marks the table as matching its file (after a load, a save, or an import that set
  // FCurrentFileName).
  void MarkSaved();
  // Puts `t` in place of Table1 and sets up the display (used by the rebuilds and import).
  void ReplaceTable(DataTable&& t);

  // ---- "&Arquivo" ----
  void Abrir1Click();
  void Criar1Click();
  void SalvarComo1Click();
  void Fechar1Click();
  void Deletar1Click();
  void Sair1Click();

  // ---- "&Registros" ----
  void Deletar2Click();    // "&Deletar": row-selection mode
  void Desativar1Click();  // "D&esativar": delete SelectedRows

  // ---- "&Campos" ----
  void Acrescentar1Click();
  void Deletar3Click();
  void Renomear1Click();
  void AlterarTipoColunaClick();

  // ---- grid ----
  bool GridEditable = false;     // cells can be edited (after "&Abrir" or "&Criar")
  bool RowSelectMode = false;    // whole rows, multiple selection
  bool DeletarVisible = true;    // "&Registros" -> "&Deletar"
  bool DesativarVisible = false; // "&Registros" -> "D&esativar"
  int CurrentCol = -1;           // the grid's current column, -1 none
  std::vector<int> SelectedRows; // 0-based rows picked in row-selection mode
  std::vector<ColumnDisplay> Columns;
  std::string StatusPanel[3];
  static constexpr int kStatusWidths[3] = {200, 300, 400};

  // Rows the grid shows: the table's rows, or one empty row to type into when an editable
  // table has none.
  int GridRowCount() const;
  // Text of a cell in the grid / in its editor (pending edits of the current row included).
  std::string DisplayText(int row, int col) const;
  std::string EditText(int row, int col) const;
  // The person moved to another cell (posts the pending edit when the row changes).
  void GridCellChanged(int row, int col);
  // The person typed `text` into a cell; false (after a message) when refused.
  bool SetCell(int row, int col, const std::string& text);
  // Enter: next column; in the last column, post and go to the next row or append one.
  void EnterPressed();
  // Escape: drop the pending edit of the current row.
  void CancelPressed();

 private:
  void RefreshStatus(bool scrolled);
  void NotifyTable();
  void NotifyState();
  bool SaveOrAskName();
  std::string CellText(int row, int col) const;
  int TitleWidthOf(const std::string& s) const;

  shell::Prompter& prompter_;
  shell::WindowHost& host_;
  TGraphFormView* view_ = nullptr;
  std::uint64_t savedStamp_ = 0;
  bool appendedUntouched_ = false;
};

}  // namespace tolmex::data
