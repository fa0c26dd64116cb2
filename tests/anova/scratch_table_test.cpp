#include "anova/scratch_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/data_table.h"

namespace tolmex::anova {
namespace {

using data::DataTable;
using data::FieldType;

DataTable TwoColumns(const std::vector<std::string>& texts, const std::vector<double>& nums) {
  DataTable t;
  t.AddField({"T", FieldType::ftString, 60});
  t.AddField({"X", FieldType::ftFloat, 0});
  t.Open();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    int r = t.AppendRow();
    t.SetString(r, 0, texts[i]);
    t.SetFloat(r, 1, nums[i]);
  }
  return t;
}

TEST(ScratchTable, CellsAreTaggedAndTextsCutTo30Characters) {
  DataTable t;
  t.AddField({"T", FieldType::ftString, 60});
  t.AddField({"X", FieldType::ftFloat, 0});
  t.Open();
  int r = t.AppendRow();
  t.SetString(r, 0, "ação-0123456789012345678901234567890");
  t.SetFloat(r, 1, 2.5);
  t.AppendRow();  // both cells empty
  ScratchTable s;
  ASSERT_TRUE(s.CopyFrom(t));
  ASSERT_EQ(s.RecordCount(), 2);
  auto c = s.ReadCell(1, 0);
  EXPECT_EQ(c.tipo, 2);
  EXPECT_EQ(c.v2, "ação-0123456789012345678901234");  // 30 characters, 32 bytes
  c = s.ReadCell(1, 1);
  EXPECT_EQ(c.tipo, 1);
  EXPECT_EQ(c.v1, 2.5);
  c = s.ReadCell(2, 1);
  EXPECT_EQ(c.tipo, 1);
  EXPECT_EQ(c.v1, 0.0);
  EXPECT_TRUE(s.IsEmpty(2, 1));
  EXPECT_FALSE(s.IsEmpty(1, 1));
  EXPECT_EQ(s.ReadCell(2, 0).v2, "");
}

TEST(ScratchTable, SixtyColumnsAcceptedSixtyOneRefused) {
  for (int n : {60, 61}) {
    DataTable t;
    for (int c = 0; c < n; ++c) t.AddField({"c" + std::to_string(c), FieldType::ftFloat, 0});
    t.Open();
    t.AppendRow();
    ScratchTable s;
    EXPECT_EQ(s.CopyFrom(t), n == 60) << n;
    EXPECT_EQ(s.ColumnCount(), n == 60 ? 60 : 0);
  }
}

TEST(ScratchTable, LevelsOrderedByValueOrOrdinalText) {
  struct Case {
    std::vector<std::string> texts;
    std::vector<double> nums;
    int column;
    std::vector<int> expectedRows;  // data rows in record order
  };
  const std::vector<Case> cases = {
      {{"x", "x", "x"}, {10, 9, 100}, 1, {1, 0, 2}},
      {{"a", "B", "A"}, {0, 0, 0}, 0, {2, 1, 0}},  // "A" < "B" < "a"
      {{"b", "a", "b", "a"}, {1, 1, 1, 1}, 0, {1, 3, 0, 2}},  // stable
      {{"", "z", ""}, {0, 0, 0}, 0, {0, 2, 1}},
  };
  for (const auto& c : cases) {
    DataTable t = TwoColumns(c.texts, c.nums);
    ScratchTable s;
    ASSERT_TRUE(s.CopyFrom(t));
    s.OrderByFactors({c.column});
    std::vector<int> rows;
    for (int r = 1; r <= s.RecordCount(); ++r) rows.push_back(s.RowOf(r));
    EXPECT_EQ(rows, c.expectedRows);
  }
}

TEST(ScratchTable, TextsEqualInTheirFirst30CharactersAreOneLevel) {
  const std::string base(30, 'k');
  DataTable t = TwoColumns({base + "1", base + "2", "j"}, {0, 0, 0});
  ScratchTable s;
  ASSERT_TRUE(s.CopyFrom(t));
  EXPECT_EQ(s.LevelCount(0), 2);
  EXPECT_EQ(s.LevelCode(1, 0), s.LevelCode(2, 0));
}

TEST(ScratchTable, OrderByAllFactorsKeepsCombinationsTogether) {
  // A run of equal B values across the boundary of two A levels must not be merged.
  DataTable t = TwoColumns({"a2", "a1", "a2", "a1", "a1"}, {2, 2, 1, 1, 2});
  ScratchTable s;
  ASSERT_TRUE(s.CopyFrom(t));
  s.OrderByFactors({0, 1});
  std::vector<std::pair<std::string, double>> got;
  for (int r = 1; r <= s.RecordCount(); ++r) got.emplace_back(s.Text(r, 0), s.Number(r, 1));
  const std::vector<std::pair<std::string, double>> want = {
      {"a1", 1}, {"a1", 2}, {"a1", 2}, {"a2", 1}, {"a2", 2}};
  EXPECT_EQ(got, want);
}

TEST(ScratchTable, RestrictLeavesOutRows) {
  DataTable t = TwoColumns({"b", "a", "c"}, {1, 2, 3});
  ScratchTable s;
  ASSERT_TRUE(s.CopyFrom(t));
  s.Restrict({1, 0, 1});
  ASSERT_EQ(s.RecordCount(), 2);
  s.OrderByFactors({0});
  EXPECT_EQ(s.Text(1, 0), "b");
  EXPECT_EQ(s.Text(2, 0), "c");
  s.Unrestrict();
  EXPECT_EQ(s.RecordCount(), 3);
  EXPECT_THROW(s.Restrict({1}), std::invalid_argument);
}

}  // namespace
}  // namespace tolmex::anova
