#pragma once
// Small tables for the exchange tests, and a cell-by-cell comparison.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "data/data_table.h"

namespace tolmex::data::testing {

inline DataTable MakeTable(const std::vector<FieldDef>& fields,
                           const std::vector<std::vector<CellValue>>& rows) {
  DataTable t;
  for (const auto& f : fields) t.AddField(f);
  t.Open();
  for (const auto& row : rows) {
    const int r = t.AppendRow();
    for (std::size_t c = 0; c < row.size(); ++c) t.Set(r, static_cast<int>(c), row[c]);
  }
  t.First();
  return t;
}

// Same column names, numeric-ness and cells (numbers exactly, texts byte for byte).
inline void ExpectSameCells(const DataTable& a, const DataTable& b) {
  ASSERT_EQ(a.FieldCount(), b.FieldCount());
  for (int c = 0; c < a.FieldCount(); ++c) {
    EXPECT_EQ(a.FieldName(c), b.FieldName(c));
    EXPECT_EQ(IsNumeric(a.DataType(c)), IsNumeric(b.DataType(c))) << a.FieldName(c);
  }
  ASSERT_EQ(a.RecordCount(), b.RecordCount());
  for (int r = 0; r < a.RecordCount(); ++r)
    for (int c = 0; c < a.FieldCount(); ++c) {
      ASSERT_EQ(a.IsNull(r, c), b.IsNull(r, c)) << "row " << r << " col " << c;
      if (a.IsNull(r, c)) continue;
      if (IsNumeric(a.DataType(c)))
        EXPECT_EQ(a.GetFloat(r, c), b.GetFloat(r, c)) << "row " << r << " col " << c;
      else
        EXPECT_EQ(a.GetString(r, c), b.GetString(r, c)) << "row " << r << " col " << c;
    }
}

inline std::string FixturePath(const std::string& name) {
  const char* root = std::getenv("TOLMEX_SOURCE_DIR");
  return std::string(root ? root : ".") + "/tests/fixtures/exchange/" + name;
}

}  // namespace tolmex::data::testing
