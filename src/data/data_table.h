#pragma once
// DataTable: the one table of observations the procedures read. Columns in order, each
// numeric or text, rows in order, empty cells, a cursor and the edit state of the current
// row. Stored column by column: a numeric column is a vector of doubles plus an
// empty-cell mask, so that a million rows is ordinary.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tolmex::data {

enum class FieldType { ftFloat, ftString, ftDateTime };

struct FieldDef {
  std::string name;
  FieldType type = FieldType::ftFloat;
  int size = 0;  // maximum length of a text cell in characters (ftString only)
  bool operator==(const FieldDef&) const = default;
};

// True when readers treat the column as numeric (every type but ftString).
inline bool IsNumeric(FieldType t) { return t != FieldType::ftString; }

// Errors of table operations (the message is shown to the person).
class DataError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A cell value: empty, a number or a text.
using CellValue = std::variant<std::monostate, double, std::string>;

class DataTable {
 public:
  enum class State { dsInactive, dsBrowse, dsEdit, dsInsert };

  // ---- definition (while closed) ----
  void ClearFields();
  void AddField(FieldDef def);
  void SetFields(std::vector<FieldDef> defs);
  const std::vector<FieldDef>& FieldDefs() const { return defs_; }
  int FieldCount() const { return static_cast<int>(defs_.size()); }
  const FieldDef& Field(int col) const { return defs_.at(static_cast<std::size_t>(col)); }
  const std::string& FieldName(int col) const { return Field(col).name; }
  FieldType DataType(int col) const { return Field(col).type; }
  // Renames a column; allowed while the table is open (cells are kept).
  void RenameField(int col, std::string name);
  // Column index of a name (whole, case-sensitive), or -1.
  int FieldIndex(std::string_view name) const;
  // Widens a text column to `size` characters (never narrows); allowed while open, so that
  // an import keeps texts longer than the column's nominal size.
  void WidenField(int col, int size);

  // ---- life cycle ----
  // Creates the empty data set of the current definitions and opens it.
  void Open();
  // Closes the table: rows are dropped, definitions kept.
  void Close();
  bool Active() const { return active_; }

  // ---- rows, by 0-based index (the stored data; pending edits are not seen here) ----
  int RecordCount() const { return rows_; }
  bool IsNull(int row, int col) const;
  // Numeric columns: the number (0 for an empty cell).
  double GetFloat(int row, int col) const;
  // Text columns: the text (empty for an empty cell).
  const std::string& GetString(int row, int col) const;
  CellValue Get(int row, int col) const;
  void SetNull(int row, int col);
  void SetFloat(int row, int col, double v);
  // Text is cut to the column's size in characters.
  void SetString(int row, int col, std::string_view v);
  void Set(int row, int col, const CellValue& v);
  // Cell as text: empty cell "", number in the general format with the locale's decimal
  // separator, text as is.
  std::string AsString(int row, int col) const;
  // Cell as number: empty 0, numeric the value, text parsed with "," or "." as decimal
  // separator (throws DataError when it is not a number).
  double AsFloat(int row, int col) const;

  // Appends an empty row / inserts one before `row` / deletes one; returns its index.
  int AppendRow();
  void InsertRow(int row);
  void DeleteRow(int row);
  void Reserve(int rows);

  // ---- cursor (current row; record number is 1-based, 0 when there are no rows) ----
  void First();
  void Next();
  void Prior();
  void Last();
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  int RecNo() const { return rows_ == 0 ? 0 : cursor_ + 1; }
  void SetRecNo(int recNo);  // moves (posting a pending edit)
  int CurrentRow() const { return rows_ == 0 ? -1 : cursor_; }

  // ---- edit state of the current row ----
  State GetState() const;
  void Edit();    // begin editing the current row
  void Append();  // append an empty row, make it current, state insert
  void Post();    // commit pending edits
  void Cancel();  // drop pending edits (an appended row is removed)
  // Current-row access that sees pending edits.
  CellValue CurrentValue(int col) const;
  void SetCurrentValue(int col, const CellValue& v);  // enters edit state if browsing

  // Stamp renewed by every change of definitions, rows or cells (cursor moves and pending
  // edits do not count): the table is unchanged since a moment when the stamp is the same.
  // Stamps are unique across all tables.
  std::uint64_t ChangeCount() const { return changes_; }

  // ---- grid-update suspension ----
  void DisableControls() { ++disabled_; }
  void EnableControls() {
    if (disabled_ > 0) --disabled_;
  }
  bool ControlsDisabled() const { return disabled_ > 0; }

 private:
  struct Column {
    std::vector<double> num;
    std::vector<std::string> text;
    std::vector<std::uint8_t> null;  // 1 = empty cell
  };
  void CheckCell(int row, int col) const;
  void CheckActive() const;
  void MoveTo(int row);

  std::vector<FieldDef> defs_;
  std::vector<Column> cols_;
  int rows_ = 0;
  bool active_ = false;
  int cursor_ = 0;
  bool eof_ = true, bof_ = true;
  State state_ = State::dsBrowse;
  std::vector<std::optional<CellValue>> pending_;  // per column, during edit/insert
  int disabled_ = 0;
  std::uint64_t changes_ = 0;
};

// RAII pair of DisableControls / EnableControls.
class ControlsDisabled {
 public:
  explicit ControlsDisabled(DataTable& t) : t_(t) { t_.DisableControls(); }
  ~ControlsDisabled() { t_.EnableControls(); }
  ControlsDisabled(const ControlsDisabled&) = delete;
  ControlsDisabled& operator=(const ControlsDisabled&) = delete;

 private:
  DataTable& t_;
};

// Parses a number written with "." or "," as the decimal separator (the whole text after
// trimming blanks; no thousands separators). nullopt when it is not a number.
std::optional<double> ParseDecimal(std::string_view text);

}  // namespace tolmex::data
