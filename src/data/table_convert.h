#pragma once
// Whole-table transformations of the data-table window: the conversion of "Salvar Como",
// the change of one column's type, and the rebuild with a new list of columns. Each builds
// a new table and leaves the source untouched, so a failure never loses data.
#include <string>
#include <vector>

#include "data/data_table.h"

namespace tolmex::data {

// Refuses a column list that cannot form a table: no columns, an empty name, or two
// columns of the same name (names compare whole and case-sensitively).
void CheckFieldNames(const std::vector<FieldDef>& defs);

// The text of a cell read as a number: every "," becomes ".", blanks and control
// characters are trimmed, and the whole text must be a decimal number (no thousands
// separators).
std::optional<double> ParseCellNumber(std::string_view text);

// "Salvar Como": the same column names; a column is numeric when the text of its cell in
// `currentRow` reads as a number (-1: no current row), otherwise text of size 100. Numeric
// cells of numeric columns keep their value; every other cell of a numeric column is
// converted from its text (empty when it does not read as a number); text columns get the
// cells' texts.
DataTable ConvertForSaveAs(const DataTable& src, int currentRow);

// The table with column `col` converted to numeric (texts read as numbers, unreadable and
// empty cells 0) or to text of size 100 (the cells' texts, empty cells empty texts).
DataTable ConvertColumnType(const DataTable& src, int col, bool toNumeric);

// A table with the columns `defs`; column i takes the cells of source column `from[i]`, or
// stays empty when `from[i]` is -1. Every row is kept.
DataTable RebuildTable(const DataTable& src, const std::vector<FieldDef>& defs,
                       const std::vector<int>& from);

}  // namespace tolmex::data
