#pragma once
// OpenDocument spreadsheets: the writer builds the package (mimetype stored first, then
// content.xml and the manifest, deflated); the reader takes the first sheet of content.xml.
#include <string>
#include <string_view>

#include "data/data_table.h"
#include "data/exchange/exchange_common.h"

namespace tolmex::data::exchange {

// "content.xml" for the table, one line.
std::string BuildOdsContent(const DataTable& table);
// The whole package.
std::string WriteOds(const DataTable& table);

// Reads an ODS package. Throws DataError when it is not a ZIP archive, the XML is broken, a
// name is repeated or the sheet is beyond the size limits.
ImportResult ReadOds(std::string_view bytes);
// The same from the text of content.xml.
ImportResult ReadOdsContent(std::string_view xml);

}  // namespace tolmex::data::exchange
