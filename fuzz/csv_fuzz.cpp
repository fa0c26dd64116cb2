// CSV reader on arbitrary bytes: either a table or a DataError, never a crash or a hang;
// what it reads is written back and read again, with the same column names.
#include <cstdint>
#include <string_view>

#include "data/exchange/csv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolmex::data;
  try {
    auto r = exchange::ReadCsv(std::string_view(reinterpret_cast<const char*>(data), size));
    if (r.read) {
      auto again = exchange::ReadCsv(exchange::WriteCsv(r.table));
      if (!again.read || again.table.FieldCount() != r.table.FieldCount()) __builtin_trap();
      for (int c = 0; c < r.table.FieldCount(); ++c)
        if (again.table.FieldName(c) != r.table.FieldName(c)) __builtin_trap();
    }
  } catch (const DataError&) {
  }
  return 0;
}
