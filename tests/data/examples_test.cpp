// The shipped example tables load and hold exactly what the generator builds.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "data/table_file.h"
#include "data_test_util.h"
#include "example_tables.h"

using namespace tolmex::data;

TEST(Examples, ShippedFilesMatchTheGenerator) {
  for (auto& e : tolmex::datatest::BuildExampleTables()) {
    SCOPED_TRACE(e.fileName);
    DataTable t;
    LoadTableFile(std::string(TOLMEX_EXAMPLES_DIR) + "/" + e.fileName, t);
    tolmex::datatest::ExpectSameTable(e.table, t);
  }
}

// Every design is complete and balanced: each combination of its factors once per block
// or replicate, no empty cell.
TEST(Examples, DesignsAreCompleteAndBalanced) {
  struct Design {
    std::string file;
    std::vector<std::string> factors;
    int levels;  // number of distinct combinations of the factors
  };
  const std::vector<Design> designs = {
      {"dic_feijao.fdt", {"Cultivar", "Rep"}, 20},
      {"dbc_milho.fdt", {"Hibrido", "Bloco"}, 24},
      {"fatorial_dbc_arroz.fdt", {"Bloco", "Fonte", "Irrig"}, 24},
      {"parcela_subdividida_soja.fdt", {"Bloco", "Preparo", "Cultivar"}, 48},
      {"dose_resposta_trigo.fdt", {"Bloco", "Dose"}, 20},
  };
  for (const auto& d : designs) {
    SCOPED_TRACE(d.file);
    DataTable t;
    LoadTableFile(std::string(TOLMEX_EXAMPLES_DIR) + "/" + d.file, t);
    EXPECT_EQ(t.RecordCount(), d.levels);
    std::set<std::string> combos;
    for (int r = 0; r < t.RecordCount(); ++r) {
      std::string key;
      for (const auto& f : d.factors) {
        const int c = t.FieldIndex(f);
        ASSERT_GE(c, 0) << f;
        key += t.AsString(r, c) + "|";
      }
      combos.insert(key);
      for (int c = 0; c < t.FieldCount(); ++c) EXPECT_FALSE(t.IsNull(r, c));
    }
    EXPECT_EQ(static_cast<int>(combos.size()), d.levels);
  }
}
