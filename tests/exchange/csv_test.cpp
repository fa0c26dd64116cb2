#include "data/exchange/csv.h"

#include <gtest/gtest.h>

#include "shell/number_locale.h"
#include "table_helpers.h"

namespace tolmex::data::exchange {
namespace {

using data::testing::ExpectSameCells;
using data::testing::MakeTable;
using shell::NumberLocale;

const FieldDef kTrat{"trat", FieldType::ftString, 30};
const FieldDef kPeso{"peso", FieldType::ftFloat, 0};
const FieldDef kData{"data", FieldType::ftDateTime, 0};

class CsvTest : public ::testing::Test {
 protected:
  void SetUp() override { shell::SetCurrentNumberLocale(NumberLocale::Dot()); }
  void TearDown() override { shell::SetCurrentNumberLocale(NumberLocale::Dot()); }
};

// ---- writer ----

TEST_F(CsvTest, WritesBomCrLfSemicolonsQuotedTextAndDecimalCommaInBothLocales) {
  for (auto locale : {NumberLocale::Dot(), NumberLocale::Comma()}) {
    shell::SetCurrentNumberLocale(locale);
    DataTable t = MakeTable({kTrat, kPeso, kData},
                            {{std::string("a\"b"), 3.5, DateSerial(2024, 1, 15)},
                             {CellValue{}, CellValue{}, CellValue{}},
                             {std::string("x;y"), -1250.0, CellValue{}},
                             {std::string(""), 1e-7, DateSerial(1999, 12, 31)}});
    EXPECT_EQ(WriteCsv(t),
              "\xEF\xBB\xBFtrat;peso;data\r\n"
              "\"a\"\"b\";3,5;15/01/2024\r\n"
              ";;\r\n"
              "\"x;y\";-1250;\r\n"
              "\"\";1E-7;31/12/1999\r\n");
  }
}

TEST_F(CsvTest, DateColumnWithATimeOfDayWritesDateAndTime) {
  DataTable t = MakeTable({kData}, {{DateSerial(2024, 3, 1) + 0.5}, {DateSerial(2024, 3, 2)}});
  EXPECT_EQ(WriteCsv(t), "\xEF\xBB\xBF" "data\r\n01/03/2024 12:00:00\r\n02/03/2024 00:00:00\r\n");
}

TEST_F(CsvTest, NamesAreWrittenUnchangedUnlessTheyWouldBreakTheHeader) {
  DataTable t = MakeTable({{"peso (kg)", FieldType::ftFloat, 0},
                           {"a;b", FieldType::ftFloat, 0},
                           {"peso,kg", FieldType::ftFloat, 0},
                           {"diz \"x\"", FieldType::ftString, 30}},
                          {});
  EXPECT_EQ(WriteCsv(t), "\xEF\xBB\xBFpeso (kg);\"a;b\";\"peso,kg\";\"diz \"\"x\"\"\"\r\n");
}

// ---- separator vote ----

TEST(CsvSeparator, HighestCountWinsEarlierOnATieSemicolonWhenNone) {
  struct Case {
    const char* line;
    char sep;
  } cases[] = {
      {"a,b;c", ';'},  {"a,b,c;d", ','},   {"a\tb\tc", '\t'}, {"a|b|c", '|'},
      {"abc", ';'},    {"", ';'},          {"a|b\tc", '\t'},  {"x;y;z,w,v,u", ','},
      // Separators inside quoted fields are text.
      {"\"a;b;c\",d", ','}, {"\"x,y,z\";w", ';'}, {"\"a\"\";b\",c", ','}, {"\"p,q\"", ';'},
  };
  for (const auto& c : cases) EXPECT_EQ(VoteCsvSeparator(c.line), c.sep) << c.line;
}

// ---- reader ----

struct ColumnExpect {
  std::string name;
  bool numeric;
};

void ExpectColumns(const DataTable& t, const std::vector<ColumnExpect>& cols) {
  ASSERT_EQ(t.FieldCount(), static_cast<int>(cols.size()));
  for (int c = 0; c < t.FieldCount(); ++c) {
    EXPECT_EQ(t.FieldName(c), cols[c].name);
    EXPECT_EQ(t.DataType(c) == FieldType::ftFloat, cols[c].numeric) << cols[c].name;
    if (!cols[c].numeric) {
      EXPECT_GE(t.Field(c).size, 100);
    }
  }
}

TEST_F(CsvTest, HeaderNamesSampleTypesAndValues) {
  auto r = ReadCsv("\xEF\xBB\xBF\"trat\"; peso ;;alt\r\nA;3,5;x;\r\nB;1.25;y;7\r\nC;abc;;1e3\r\n");
  ASSERT_TRUE(r.read);
  ExpectColumns(r.table, {{"trat", false}, {"peso", true}, {"Campo3", false}, {"alt", false}});
  DataTable want = MakeTable({{"trat", FieldType::ftString, 100},
                              {"peso", FieldType::ftFloat, 0},
                              {"Campo3", FieldType::ftString, 100},
                              {"alt", FieldType::ftString, 100}},
                             {{std::string("A"), 3.5, std::string("x"), CellValue{}},
                              {std::string("B"), 1.25, std::string("y"), std::string("7")},
                              // "abc" does not parse: the numeric cell stays empty.
                              {std::string("C"), CellValue{}, CellValue{}, std::string("1e3")}});
  ExpectSameCells(r.table, want);
  EXPECT_EQ(r.message, "Importado com sucesso usando separador [\";\"]");
}

TEST_F(CsvTest, QuotedSampleIsNotConvertedWithCommaSeparatorButLaterValuesAre) {
  auto r = ReadCsv("a,b\n\"1,5\",2\n\"3,5\",\"4,5\"\n");
  ASSERT_TRUE(r.read);
  ExpectColumns(r.table, {{"a", false}, {"b", true}});
  ASSERT_EQ(r.table.RecordCount(), 2);
  EXPECT_EQ(r.table.GetString(0, 0), "1,5");
  EXPECT_EQ(r.table.GetString(1, 0), "3,5");
  EXPECT_EQ(r.table.GetFloat(0, 1), 2.0);
  EXPECT_EQ(r.table.GetFloat(1, 1), 4.5);
  EXPECT_EQ(r.message, "Importado com sucesso usando separador [\",\"]");
}

TEST_F(CsvTest, BlankLinesAndLinesOfEmptyFieldsAddNoRows) {
  // Also every kind of line end, and a blank line before the sample.
  auto r = ReadCsv("x;y\r\n\r\n1;2\n\n   \r;\r\n ; \"\" \r\n3;4");
  ASSERT_TRUE(r.read);
  ExpectColumns(r.table, {{"x", true}, {"y", true}});
  DataTable want = MakeTable({kPeso, kPeso}, {{1.0, 2.0}, {3.0, 4.0}});
  ASSERT_EQ(r.table.RecordCount(), 2);
  EXPECT_EQ(r.table.GetFloat(1, 0), 3.0);
  EXPECT_EQ(r.table.GetFloat(1, 1), 4.0);
}

TEST_F(CsvTest, FieldsBeyondTheHeaderAreIgnoredAndMissingOnesAreEmpty) {
  auto r = ReadCsv("a;b;\r\n1;2;3;4\r\n5\r\n");
  ASSERT_TRUE(r.read);
  // The separator at the end of the header adds a third, unnamed column.
  ExpectColumns(r.table, {{"a", true}, {"b", true}, {"Campo3", true}});
  ASSERT_EQ(r.table.RecordCount(), 2);
  EXPECT_EQ(r.table.GetFloat(0, 2), 3.0);
  EXPECT_EQ(r.table.GetFloat(1, 0), 5.0);
  EXPECT_TRUE(r.table.IsNull(1, 1));
  EXPECT_TRUE(r.table.IsNull(1, 2));
}

TEST_F(CsvTest, QuotedFieldsHoldSeparatorsQuotesAndLineBreaks) {
  auto r = ReadCsv("nome;obs\r\n\"a;b\";\"linha 1\r\nlinha 2\"\r\n\"diz \"\"oi\"\"\";x\r\n");
  ASSERT_TRUE(r.read);
  ASSERT_EQ(r.table.RecordCount(), 2);
  EXPECT_EQ(r.table.GetString(0, 0), "a;b");
  EXPECT_EQ(r.table.GetString(0, 1), "linha 1\r\nlinha 2");
  EXPECT_EQ(r.table.GetString(1, 0), "diz \"oi\"");
}

TEST_F(CsvTest, QuoteNeverClosedEndsAtTheEndOfItsLine) {
  auto r = ReadCsv("a;b\r\n\"x;y\r\n1;2\r\n");
  ASSERT_TRUE(r.read);
  ASSERT_EQ(r.table.RecordCount(), 2);
  EXPECT_EQ(r.table.GetString(0, 0), "x;y");
  EXPECT_TRUE(r.table.IsNull(0, 1));
  EXPECT_EQ(r.table.GetString(1, 0), "1");
  EXPECT_EQ(r.table.GetString(1, 1), "2");
}

TEST_F(CsvTest, NothingToImport) {
  for (const char* text : {"", "\xEF\xBB\xBF", "\r\n", "\n\n  \r\n"}) {
    auto r = ReadCsv(text);
    EXPECT_FALSE(r.read) << '"' << text << '"';
  }
}

TEST_F(CsvTest, HeaderOnlyGivesColumnsWithoutRows) {
  auto r = ReadCsv("a;b\r\n");
  ASSERT_TRUE(r.read);
  ExpectColumns(r.table, {{"a", false}, {"b", false}});
  EXPECT_EQ(r.table.RecordCount(), 0);
}

TEST_F(CsvTest, RefusesInvalidUtf8NamingTheLine) {
  struct Case {
    std::string text;
    std::string line;
  } cases[] = {
      {"a;b\r\n1;caf\xE9\r\n", "linha 2"},          // Latin-1 byte
      {"a\xC0\x80;b\r\n", "linha 1"},               // overlong
      {"a;b\n1;2\n3;\xED\xA0\x80\n", "linha 3"},    // surrogate
      {"a;b\n1;\xE2\x82", "linha 2"},               // cut sequence
  };
  for (const auto& c : cases) {
    try {
      ReadCsv(c.text);
      ADD_FAILURE() << "accepted " << c.line;
    } catch (const DataError& e) {
      EXPECT_NE(std::string(e.what()).find("UTF-8"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.line), std::string::npos) << e.what();
    }
  }
}

TEST_F(CsvTest, DuplicateColumnNameIsAnError) {
  EXPECT_THROW(ReadCsv("a;b;a\r\n1;2;3\r\n"), DataError);
}

TEST_F(CsvTest, LongTextsAreNotCut) {
  const std::string longText(250, 'x');
  auto r = ReadCsv("t\r\n" + longText + "\r\n");
  ASSERT_TRUE(r.read);
  EXPECT_EQ(r.table.GetString(0, 0), longText);
}

TEST_F(CsvTest, RoundTripKeepsEveryCellInBothLocales) {
  for (auto locale : {NumberLocale::Dot(), NumberLocale::Comma()}) {
    shell::SetCurrentNumberLocale(locale);
    DataTable t = MakeTable(
        {kTrat, {"peso,kg|t", FieldType::ftFloat, 0}, {"obs, \"x\"", FieldType::ftString, 30}},
        {{std::string("ç; \"ã\""), 0.1, std::string("12a")},
         {std::string("b"), -123456.789012345, std::string("12")},
         {CellValue{}, 6.02214076e23, std::string("x,y")},
         {std::string("d"), CellValue{}, std::string("multi\nlinha")}});
    auto r = ReadCsv(WriteCsv(t));
    ASSERT_TRUE(r.read);
    ExpectSameCells(r.table, t);
  }
}

}  // namespace
}  // namespace tolmex::data::exchange
