#pragma once
// Pieces shared by the spreadsheet readers and writers: number tests, the builder that
// collects an imported table before it replaces the open one, size limits, file access
// and date serial numbers.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_table.h"

namespace tolmex::data::exchange {

// Limits on what an import accepts; beyond them the file is refused with a clear message
// instead of exhausting memory (spreadsheet programs stop at the same sizes).
inline constexpr int kMaxColumns = 16384;
inline constexpr int kMaxSheetRows = 1048576;
inline constexpr std::int64_t kMaxSheetCells = 10'000'000;
inline constexpr std::size_t kMaxFileBytes = std::size_t{1} << 30;    // 1 GiB
inline constexpr std::size_t kMaxEntryBytes = std::size_t{256} << 20;  // one zip entry
// The XML of a sheet (ODS content, XLSX worksheet and shared strings): a full sheet of numbers
// takes about 100 bytes a cell in ODS.
inline constexpr std::size_t kMaxSheetXmlBytes = std::size_t{1} << 30;
// Memory the parsed XML tree of a sheet may take (about 340 bytes a cell of a full sheet).
inline constexpr std::size_t kMaxXmlTreeBytes = std::size_t{4} << 30;

// The whole text is a decimal number with "." as the decimal separator, no thousands
// separators, no blanks (sign and exponent allowed). nullopt otherwise.
std::optional<double> ParseDotNumber(std::string_view text);
// The same with `decimalSeparator` as the decimal separator.
std::optional<double> ParseLocaleNumber(std::string_view text, char decimalSeparator);
// The same with `point` as the decimal point: "," reads "1,5" and "." reads "1.5".
std::optional<double> ParseNumberWithPoint(std::string_view text, char point);

// Every occurrence of `from` replaced by `to`.
std::string ReplaceAll(std::string_view s, char from, char to);
// Every occurrence of `c` removed.
std::string RemoveAll(std::string_view s, char c);

// An imported table under construction. Columns are defined first; rows are then filled
// and committed or dropped. Build() gives the open DataTable; a text column is widened
// beyond its nominal size when a value is longer, so that no text is cut on import.
class TableBuilder {
 public:
  // Throws DataError on a duplicate column name or too many columns.
  void AddColumn(std::string name, FieldType type, int size);
  int ColumnCount() const { return table_.FieldCount(); }
  FieldType Type(int col) const { return table_.DataType(col); }
  std::size_t RowCount() const { return static_cast<std::size_t>(committed_); }

  // Room for this many rows (a hint).
  void Reserve(std::size_t rows);
  void BeginRow();
  void SetNumber(int col, double v);
  void SetText(int col, std::string_view v);
  // Keeps the row begun last / forgets it.
  void CommitRow();
  void DropRow();

  DataTable Build();

 private:
  void EnsureOpen();
  DataTable table_;
  int committed_ = 0;
  int row_ = -1;  // the row begun and not yet committed or dropped
  // Texts longer than their column, set when the row is kept (a dropped row widens nothing).
  std::vector<std::pair<int, std::string>> long_;
};

// The outcome of a reader: `read` is false when the file held nothing to import (the table
// is then meaningless); otherwise `table` is open with the imported columns and rows.
struct ImportResult {
  bool read = false;
  DataTable table;
  std::string message;  // the success message of the format
};

// Whole file as bytes (DataError with a clear reason when it cannot be read or is larger
// than kMaxFileBytes).
std::string ReadFileBytes(const std::string& path);
// Writes the bytes to a temporary file beside `path` and renames it over `path`, so a
// failed write never damages an existing file. Throws DataError.
void WriteFileAtomic(const std::string& path, std::string_view bytes);
// A temporary name beside `path` for writers that need a file name of their own.
std::string TemporarySibling(const std::string& path);
// Renames `from` over `to` (DataError on failure; `from` is removed then).
void ReplaceFile(const std::string& from, const std::string& to);

// Dates as day numbers counted from 30 December 1899 (the fraction is the time of day),
// the serial convention of spreadsheets for dates after 28 February 1900.
double DateSerial(int year, int month, int day);
struct DateParts {
  int year, month, day, hour, minute, second;
};
// nullopt when the serial is out of the years 1..9999 or not finite.
std::optional<DateParts> SplitDateSerial(double serial);
// "dd/mm/yyyy", or "dd/mm/yyyy hh:nn:ss" with `withTime`.
std::string FormatDateSerial(double serial, bool withTime);
// Reads "dd/mm/yyyy", "dd/mm/yyyy hh:nn[:ss]", "yyyy-mm-dd" and "yyyy-mm-ddThh:nn[:ss]".
std::optional<double> ParseDateText(std::string_view text);

// XML 1.0 forbids most control characters; they are dropped from written text.
std::string XmlSafeText(std::string_view s);
// Throws DataError when the parsed tree of this XML would take more than kMaxXmlTreeBytes.
void CheckXmlTreeFits(std::string_view xml);

}  // namespace tolmex::data::exchange
