#pragma once
// The "&Exportar" and "&Importar" commands of the data-table window: the file dialogs, the
// format chosen by the dialog's filter (not by the file's extension), the messages, and the
// saving of an imported table as a table file beside its source.
#include <string>

#include "data/data_table.h"
#include "shell/prompter.h"

namespace tolmex::data::exchange {

// What the commands need of the data-table window.
class ExchangeWindow {
 public:
  virtual ~ExchangeWindow() = default;
  virtual DataTable& Table1() = 0;
  // Before the open table is replaced: offers to save unsaved edits; false when the person
  // cancelled.
  virtual bool ConfirmDiscardEdits() = 0;
  // Puts the imported table in place of Table1 and sets up the display (alignment, widths,
  // first row and column current, status bar); `cellEditing` also makes the grid editable.
  virtual void ReplaceTable(DataTable&& table, bool cellEditing) = 0;
  virtual void SetCurrentFileName(const std::string& path) = 0;
  // Writes Table1 to the current file name, asking before it overwrites a file and showing
  // its own failure message.
  virtual void SaveTable() = 0;
  // A wait cursor while a file is read or written (large sheets take seconds).
  virtual void SetBusy(bool busy) {}
};

inline constexpr char kExportFilter[] =
    "Arquivo Excel (*.xlsx)|*.xlsx|Arquivo ODS (LibreOffice) (*.ods)|*.ods|"
    "Arquivo CSV (*.csv)|*.csv|Todos os arquivos (*.*)|*.*";
inline constexpr char kImportFilter[] =
    "Arquivo Excel (*.xlsx;*.xls;*.xlsb)|*.xlsx;*.xls;*.xlsb|Arquivo ODS (LibreOffice) (*.ods)|"
    "*.ods|Arquivo CSV (*.csv)|*.csv|Todos os arquivos (*.*)|*.*";

class ExchangeCommands {
 public:
  // `programDir`: the folder both dialogs start in.
  ExchangeCommands(ExchangeWindow& window, shell::Prompter& prompter, std::string programDir)
      : window_(window), prompter_(prompter), programDir_(std::move(programDir)) {}

  // "&Exportar": writes Table1 as .xlsx, .ods or .csv; the table is not changed.
  void Exportar();
  // "&Importar": replaces Table1 by a file's contents and saves it as a table file beside
  // the source. A failed import, or one that read nothing, leaves Table1 as it was.
  void Importar();

 private:
  ExchangeWindow& window_;
  shell::Prompter& prompter_;
  std::string programDir_;
};

// The file name with its extension replaced by ".fdt".
std::string TableFileNameFor(const std::string& path);

}  // namespace tolmex::data::exchange
