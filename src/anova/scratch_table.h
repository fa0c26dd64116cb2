#pragma once
// The scratch table of an analysis-of-variance run: a copy of the data table taken once
// after the dialogs, held in memory. Every column becomes a column of tagged cells
// (`Var_arq_ord`): numeric columns give tag 1 and the value (0.0 for an empty cell), text
// columns tag 2 and the text cut to 30 characters (empty text for an empty cell).
//
// Records are numbered 1 .. RecordCount() in the current order. `OrderByFactors` puts them
// in ascending lexicographic order of the given columns (numbers by value, texts by
// ordinal comparison of their bytes, case-sensitive), so that the records of one
// combination of levels of ALL the given columns are consecutive; records of equal keys
// keep their previous relative order (the ordering is stable).
//
// An analysis may restrict the table to some rows (`Restrict`): records 1 .. RecordCount()
// are then only those rows, so a walk over the records never sees an excluded row (the
// analysis of a response leaves out the rows whose response cell is empty).
//
// Usage by the procedures that follow the table:
//   tab.OrderByFactors({FactorColumn(st, "A"), FactorColumn(st, "B")});
//   for (int r = 1; r <= tab.RecordCount(); ++r) { tab.LevelCode(r, colA) ...; tab.ReadCell(r, c); }
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace tolmex::data {
class DataTable;
}

namespace tolmex::anova {

inline constexpr int kMaxScratchColumns = 60;
inline constexpr int kScratchTextLength = 30;

// One tagged cell: tipo 1 number (v1), 2 text (v2, at most 30 characters).
struct Var_arq_ord {
  std::uint8_t tipo = 0;
  double v1 = 0.0;
  std::string v2;
};

class ScratchTable {
 public:
  // The refusal shown for tables of more than 60 columns.
  static const char* const kTooManyColumnsMessage;

  // Copies `table` (all rows, column order). Returns false, and copies nothing, when the
  // table has more than 60 columns.
  bool CopyFrom(const data::DataTable& table);
  void Clear();

  int ColumnCount() const { return static_cast<int>(cols_.size()); }
  // Rows of the data table copied.
  int RowCount() const { return rows_; }
  // Records of the current analysis (all rows unless restricted).
  int RecordCount() const { return static_cast<int>(order_.size()); }

  // Keeps only the rows with include[row] != 0 (include has RowCount() entries), in their
  // data-table order. `Unrestrict` brings back every row in data-table order.
  void Restrict(const std::vector<std::uint8_t>& include);
  void Unrestrict();

  // Orders records 1 .. RecordCount() by the columns (0-based positions), first column
  // first. An empty list leaves the order as it is.
  void OrderByFactors(std::span<const int> columns);
  void OrderByFactors(std::initializer_list<int> columns) {
    OrderByFactors(std::span<const int>(columns.begin(), columns.size()));
  }

  // Cell `column` (0-based) of record `record` (1-based, current order).
  Var_arq_ord ReadCell(int record, int column) const;
  bool IsText(int column) const { return cols_.at(static_cast<std::size_t>(column)).text; }
  // Numeric cells: the value (0.0 for an empty cell). Text cells: 0.
  double Number(int record, int column) const;
  // Text cells: the text cut to 30 characters. Numeric cells: empty.
  const std::string& Text(int record, int column) const;
  // The data-table cell was empty.
  bool IsEmpty(int record, int column) const;
  // Rank of the cell's value among the distinct values of its column, 0-based, ascending
  // in the ordering rule above: two cells of a column hold the same level exactly when
  // their codes are equal. LevelCount is the number of distinct values over all rows.
  std::int32_t LevelCode(int record, int column) const;
  std::int32_t LevelCount(int column) const;
  // Data-table row (0-based) of a record.
  int RowOf(int record) const { return order_.at(static_cast<std::size_t>(record - 1)); }
  // Codes and rows by 0-based position in the current order, for fast walks.
  const std::vector<std::int32_t>& Order() const { return order_; }
  const std::vector<std::int32_t>& CodesByRow(int column) const;
  double NumberByRow(int row, int column) const;

 private:
  struct Column {
    bool text = false;
    std::vector<double> num;
    std::vector<std::string> str;
    std::vector<std::uint8_t> empty;
    // Level codes per row, computed on first use as a factor.
    mutable std::vector<std::int32_t> code;
    mutable std::int32_t levels = 0;
    mutable bool coded = false;
  };
  const Column& Coded(int column) const;
  std::vector<Column> cols_;
  int rows_ = 0;
  std::vector<std::int32_t> order_;  // record -> row
};

}  // namespace tolmex::anova
