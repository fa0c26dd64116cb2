// Fuzz target of the table-file loader: any bytes either load as a table or are refused
// with DataError, never crash. A table that loads must survive a save and a reload intact.
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "data/table_file.h"

using namespace tolmex::data;

namespace {

std::string TempPath(const char* tag) {
  static const std::string dir = [] {
    std::string t = (std::filesystem::temp_directory_path() / "tolmex-fdt-fuzz-XXXXXX").string();
    return std::string(mkdtemp(t.data()));
  }();
  return dir + "/" + tag + ".fdt";
}

bool Same(const DataTable& a, const DataTable& b) {
  if (a.FieldDefs() != b.FieldDefs() || a.RecordCount() != b.RecordCount()) return false;
  for (int r = 0; r < a.RecordCount(); ++r)
    for (int c = 0; c < a.FieldCount(); ++c) {
      if (a.IsNull(r, c) != b.IsNull(r, c)) return false;
      if (a.IsNull(r, c)) continue;
      if (IsNumeric(a.DataType(c))) {
        const double x = a.GetFloat(r, c), y = b.GetFloat(r, c);
        if (!(x == y || (std::isnan(x) && std::isnan(y)) || (std::isnan(x) && b.IsNull(r, c))))
          return false;
      } else if (a.GetString(r, c) != b.GetString(r, c)) {
        return false;
      }
    }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string in = TempPath("entrada");
  if (FILE* f = std::fopen(in.c_str(), "wb")) {
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  DataTable t;
  try {
    LoadTableFile(in, t);
  } catch (const DataError&) {
    if (t.Active() || t.FieldCount() != 0) std::abort();  // a refused file leaves no table
    return 0;
  }
  const std::string out = TempPath("saida");
  DataTable back;
  try {
    SaveTableFile(t, out);
    LoadTableFile(out, back);
  } catch (const DataError&) {
    std::abort();  // what loaded must save and load again
  }
  // NaN cannot be stored by SQLite: it comes back as an empty cell.
  if (!Same(t, back)) std::abort();
  return 0;
}
