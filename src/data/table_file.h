#pragma once
// Table files (.fdt): a DataTable stored as an SQLite database. The layout is described in
// docs/formato-fdt.md, so that other tools (R, Python, the sqlite3 shell) can read and
// write our tables.
#include <string>

#include "data/data_table.h"

namespace tolmex::data {

// Format version written by this program; files of a newer version are refused.
inline constexpr int kTableFileVersion = 1;
// PRAGMA application_id of a table file ("TOLM").
inline constexpr int kTableFileApplicationId = 0x544F4C4D;

// Reads a table file into `table` (closed first; left closed when the file is refused).
// Throws DataError with a Portuguese reason when the file is missing, is not a Tolmex
// table, is damaged, or was written by a newer version.
void LoadTableFile(const std::string& path, DataTable& table);

// Writes an open table to `path` atomically: the data go to a temporary file in the same
// folder, which then replaces the target. On failure the previous file is left intact and
// DataError is thrown with the reason.
void SaveTableFile(const DataTable& table, const std::string& path);

// The column name used in the SQLite table `dados` for each column: the table's own name,
// or, where it would collide in SQLite (which compares names without regard to ASCII case)
// with an earlier one or with a row-id alias, that name with a suffix "_2", "_3", ...
std::vector<std::string> StoredColumnNames(const std::vector<FieldDef>& defs);

}  // namespace tolmex::data
