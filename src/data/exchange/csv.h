#pragma once
// CSV exchange: the writer (UTF-8 with byte-order mark, CR LF, ";" between fields, text in
// double quotes, decimal comma) and the reader (separator chosen by a vote over the first
// line, quoted fields, column types from the first data line).
#include <string>
#include <string_view>

#include "data/data_table.h"
#include "data/exchange/exchange_common.h"

namespace tolmex::data::exchange {

// The file contents for the table's stored rows.
std::string WriteCsv(const DataTable& table);

// Reads CSV bytes. Throws DataError (invalid UTF-8, too much data, duplicate names).
ImportResult ReadCsv(std::string_view bytes);

// The separator the reader would use for this first line.
char VoteCsvSeparator(std::string_view firstLine);

}  // namespace tolmex::data::exchange
