// ODS reader on arbitrary bytes, both as a whole package and as the sheet's content.xml:
// either a table or a DataError, never a crash or a hang.
#include <cstdint>
#include <string_view>

#include "data/exchange/ods.h"

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
      if (!again.read || again.table.RecordCount() != r.table.RecordCount()) __builtin_trap();
    }
  } catch (const DataError&) {
  }
  return 0;
}
