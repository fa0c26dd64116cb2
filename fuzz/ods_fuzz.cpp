// ODS reader on arbitrary bytes, both as a whole package and as the sheet's content.xml:
// either a table or a DataError, never a crash or a hang.
#include <cstdint>
#include <string_view>

#include "data/exchange/ods.h"

namespace {
// Rows with at least one cell (a row whose only text did not fit its numeric column is kept
// empty, and an empty row is not written back).
int RowsWithCells(const tolmex::data::DataTable& t) {
  int n = 0;
  for (int r = 0; r < t.RecordCount(); ++r)
    for (int c = 0; c < t.FieldCount(); ++c)
      if (!t.IsNull(r, c)) {
        ++n;
        break;
      }
  return n;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolmex::data;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    exchange::ReadOds(bytes);
  } catch (const DataError&) {
  }
  try {
    auto r = exchange::ReadOdsContent(bytes);
    if (r.read) {
      auto again = exchange::ReadOds(exchange::WriteOds(r.table));
      if (!again.read || RowsWithCells(again.table) != RowsWithCells(r.table)) __builtin_trap();
    }
  } catch (const DataError&) {
  }
  return 0;
}
