#include "data/exchange/exchange_common.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "table_helpers.h"

namespace tolmex::data::exchange {
namespace {

TEST(ParseNumbers, DotAndLocaleForms) {
  struct Case {
    const char* text;
    char sep;
    std::optional<double> want;
  } cases[] = {
      {"3.5", '.', 3.5},      {"-2e3", '.', -2000.0}, {"+7", '.', 7.0},
      {"3,5", '.', {}},       {" 3.5", '.', {}},      {"1,234.5", '.', {}},
      {"", '.', {}},          {"abc", '.', {}},       {"1e", '.', {}},
      {"3,5", ',', 3.5},      {"3.5", ',', {}},       {"-0,25E-2", ',', -0.0025},
      {"1.234,5", ',', {}},   {"inf", '.', {}},       {"0x10", '.', {}},
      {"nan", '.', {}},       {"1e999", '.', {}},     {"-1e999", '.', {}},
      {"1e-999", '.', 0.0},   {"-2,5e-999", ',', 0.0},
  };
  for (const auto& c : cases) {
    auto got = ParseLocaleNumber(c.text, c.sep);
    ASSERT_EQ(got.has_value(), c.want.has_value()) << c.text << " sep " << c.sep;
    if (got) {
      EXPECT_DOUBLE_EQ(*got, *c.want) << c.text;
    }
  }
}

TEST(DateSerials, KnownDaysAndTexts) {
  // Serial numbers as spreadsheets count them (R: as.numeric(as.Date(x) - as.Date("1899-12-30"))).
  struct Case {
    int y, m, d;
    double serial;
    const char* text;
  } cases[] = {
      {1899, 12, 30, 0, "30/12/1899"},   {1900, 3, 1, 61, "01/03/1900"},
      {2024, 1, 15, 45306, "15/01/2024"}, {2000, 2, 29, 36585, "29/02/2000"},
      {1, 1, 1, -693593, "01/01/0001"},  {9999, 12, 31, 2958465, "31/12/9999"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateSerial(c.y, c.m, c.d), c.serial) << c.text;
    EXPECT_EQ(FormatDateSerial(c.serial, false), c.text);
    auto back = ParseDateText(c.text);
    ASSERT_TRUE(back) << c.text;
    EXPECT_EQ(*back, c.serial);
  }
  EXPECT_EQ(FormatDateSerial(45306.75, true), "15/01/2024 18:00:00");
  EXPECT_EQ(*ParseDateText("2024-01-15T18:00:00Z"), 45306.75);
  EXPECT_EQ(*ParseDateText("15/01/2024 06:30"), 45306 + 6.5 / 24);
  for (const char* bad : {"31/02/2024", "2024-13-01", "15/01/24", "abc", "15/01/2024 25:00"})
    EXPECT_FALSE(ParseDateText(bad)) << bad;
  EXPECT_FALSE(SplitDateSerial(NAN));
  EXPECT_FALSE(SplitDateSerial(1e300));
}

TEST(TableBuilder, DroppedRowsAndWidenedTexts) {
  TableBuilder b;
  b.AddColumn("n", FieldType::ftFloat, 0);
  b.AddColumn("t", FieldType::ftString, 5);
  EXPECT_THROW(b.AddColumn("n", FieldType::ftString, 5), DataError);
  b.BeginRow();
  b.SetNumber(0, 1.5);
  b.CommitRow();
  b.BeginRow();
  b.SetText(1, "dropped");
  b.DropRow();
  b.BeginRow();
  b.SetText(1, "sete ç");  // 6 characters, 7 bytes
  b.CommitRow();
  DataTable t = b.Build();
  ASSERT_TRUE(t.Active());
  ASSERT_EQ(t.RecordCount(), 2);
  EXPECT_EQ(t.GetFloat(0, 0), 1.5);
  EXPECT_TRUE(t.IsNull(0, 1));
  EXPECT_TRUE(t.IsNull(1, 0));
  EXPECT_EQ(t.GetString(1, 1), "sete ç");
  EXPECT_EQ(t.Field(1).size, 6);
}

TEST(TableBuilder, WidenFieldOnlyWidensTextColumns) {
  DataTable t;
  t.AddField({"t", FieldType::ftString, 10});
  t.AddField({"n", FieldType::ftFloat, 0});
  t.Open();
  t.WidenField(0, 40);
  t.WidenField(0, 20);
  t.WidenField(1, 40);
  EXPECT_EQ(t.Field(0).size, 40);
  EXPECT_EQ(t.Field(1).size, 0);
  EXPECT_THROW(t.WidenField(2, 5), DataError);
  const int r = t.AppendRow();
  t.SetString(r, 0, std::string(40, 'x'));
  EXPECT_EQ(t.GetString(r, 0).size(), 40u);
}

TEST(Files, AtomicWriteReplacesAndReadsBack) {
  const std::string path =
      (std::filesystem::temp_directory_path() / "tolmex_atomic_test.bin").string();
  WriteFileAtomic(path, "first");
  WriteFileAtomic(path, std::string("se\0cond", 7));
  EXPECT_EQ(ReadFileBytes(path), std::string("se\0cond", 7));
  std::filesystem::remove(path);
  EXPECT_THROW(ReadFileBytes(path), DataError);
  EXPECT_THROW(WriteFileAtomic("/nonexistent-folder/x.csv", "x"), DataError);
}

}  // namespace
}  // namespace tolmex::data::exchange
