// ODS reader on arbitrary bytes, both as a whole package and as the sheet's content.xml:
// either a table or a DataError, never a crash or a hang. A table read from content.xml is
// also written back and read again: the columns keep their names, and unless a text column
// whose first cell looks like a number came back numeric (the import types a column by its
// first data row, so its other texts are then left out), every cell comes back the same, a
// text that reads as a number with a decimal comma coming back with a point.
#include <cstdint>
#include <string>
#include <string_view>

#include "data/exchange/ods.h"

namespace {
using tolmex::data::DataTable;

bool EmptyRow(const DataTable& t, int r) {
  for (int c = 0; c < t.FieldCount(); ++c)
    if (!t.IsNull(r, c)) return false;
  return true;
}

// A text that reads as a number is written as a number cell whose value, with "." for ",",
// is what comes back.
std::string Comparable(const DataTable& t, int r, int c) {
  std::string s = t.AsString(r, c);
  if (t.DataType(c) != tolmex::data::FieldType::ftFloat)
    for (char& ch : s)
      if (ch == ',') ch = '.';
  return s;
}

// Rows that hold no cell (their only texts did not fit numeric columns) are not written back.
bool SameCells(const DataTable& a, const DataTable& b) {
  int rb = 0;
  for (int r = 0; r < a.RecordCount(); ++r) {
    if (EmptyRow(a, r)) continue;
    if (rb >= b.RecordCount()) return false;
    for (int c = 0; c < a.FieldCount(); ++c)
      if (a.IsNull(r, c) != b.IsNull(rb, c) || Comparable(a, r, c) != Comparable(b, rb, c)) return false;
    ++rb;
  }
  return rb == b.RecordCount();
}

void CheckRoundTrip(const DataTable& original, const DataTable& again) {
  if (again.FieldCount() != original.FieldCount()) __builtin_trap();
  bool retyped = false;
  for (int c = 0; c < original.FieldCount(); ++c) {
    if (again.FieldName(c) != original.FieldName(c)) __builtin_trap();
    if (again.DataType(c) != original.DataType(c)) {
      // Only a text column can turn numeric, never the other way round.
      if (original.DataType(c) == tolmex::data::FieldType::ftFloat) __builtin_trap();
      retyped = true;
    }
  }
  if (!retyped && !SameCells(original, again)) __builtin_trap();
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
      if (!again.read) __builtin_trap();
      CheckRoundTrip(r.table, again.table);
    }
  } catch (const DataError&) {
  }
  return 0;
}
