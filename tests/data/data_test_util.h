#pragma once
// Helpers of the data-table tests: a temporary folder, whole-file reads and writes, and a
// cell-by-cell comparison of two tables.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "data/data_table.h"

namespace tolmex::datatest {

class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tolmex-data-XXXXXX").string();
    path_ = mkdtemp(tmpl.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::string WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return path;
}

// Same definitions, same rows, same cells (empty cells, equal values, texts).
inline void ExpectSameTable(const data::DataTable& a, const data::DataTable& b) {
  ASSERT_EQ(a.Active(), b.Active());
  ASSERT_EQ(a.FieldDefs(), b.FieldDefs());
  ASSERT_EQ(a.RecordCount(), b.RecordCount());
  for (int r = 0; r < a.RecordCount(); ++r)
    for (int c = 0; c < a.FieldCount(); ++c) {
      SCOPED_TRACE("row " + std::to_string(r) + ", column " + a.FieldName(c));
      ASSERT_EQ(a.IsNull(r, c), b.IsNull(r, c));
      if (a.IsNull(r, c)) continue;
      if (data::IsNumeric(a.DataType(c))) {
        const double x = a.GetFloat(r, c), y = b.GetFloat(r, c);
        EXPECT_TRUE(x == y || (std::isnan(x) && std::isnan(y))) << x << " vs " << y;
      } else {
        EXPECT_EQ(a.GetString(r, c), b.GetString(r, c));
      }
    }
}

}  // namespace tolmex::datatest
