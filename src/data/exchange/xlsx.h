#pragma once
// Excel workbooks (.xlsx): written with libxlsxwriter (sheet "Dados", bold header row,
// numbers, dates and texts as typed cells); read with our own ZIP and XML reader (first
// sheet, shared and inline strings, numbers, booleans, dates through the cells' number
// formats, the used range). .xls and .xlsb files are refused with a clear message.
#include <string>
#include <string_view>

#include "data/data_table.h"
#include "data/exchange/exchange_common.h"
#include "shell/number_locale.h"

namespace tolmex::data::exchange {

// Writes the workbook to `path` (through a temporary file beside it). Throws DataError.
void WriteXlsx(const DataTable& table, const std::string& path);

// Reads a workbook. `read` is false with the message "O arquivo selecionado está vazio."
// when the first sheet has no cell. Throws DataError.
ImportResult ReadXlsx(std::string_view bytes,
                      const shell::NumberLocale& locale = shell::CurrentNumberLocale());

// True for a number format that shows a date or a time (built-in id or format code).
bool IsDateNumberFormat(int id, std::string_view code);

}  // namespace tolmex::data::exchange
