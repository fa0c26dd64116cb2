#include "data/exchange/xlsx.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "data/exchange/csv.h"
#include "data/exchange/zip_archive.h"
#include "shell/number_locale.h"
#include "table_helpers.h"

namespace tolmex::data::exchange {
namespace {

using data::testing::ExpectSameCells;
using data::testing::FixturePath;
using data::testing::MakeTable;
using shell::NumberLocale;

class XlsxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell::SetCurrentNumberLocale(NumberLocale::Dot());
    path_ = (std::filesystem::temp_directory_path() /
             ("tolmex_xlsx_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              ".xlsx"))
                .string();
  }
  void TearDown() override {
    shell::SetCurrentNumberLocale(NumberLocale::Dot());
    std::filesystem::remove(path_);
  }
  std::string path_;
};

const char kNs[] = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";

// A minimal workbook: one sheet with the given sheetData rows, optional shared strings and
// cell formats (numFmtId of each xf in order, with custom format codes).
std::string MiniXlsx(const std::string& rows, const std::vector<std::string>& shared = {},
                     const std::string& styles = "", bool date1904 = false) {
  std::vector<ZipEntry> e;
  e.push_back({"xl/workbook.xml",
               std::string("<workbook ") + kNs +
                   " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">" +
                   (date1904 ? "<workbookPr date1904=\"1\"/>" : "") +
                   "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId7\"/></sheets></workbook>"});
  e.push_back({"xl/_rels/workbook.xml.rels",
               "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
               "<Relationship Id=\"rId7\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
               "relationships/worksheet\" Target=\"/xl/worksheets/folha.xml\"/>"
               "<Relationship Id=\"rId8\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
               "relationships/sharedStrings\" Target=\"strings.xml\"/>"
               "<Relationship Id=\"rId9\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
               "relationships/styles\" Target=\"styles.xml\"/></Relationships>"});
  e.push_back({"xl/worksheets/folha.xml",
               std::string("<worksheet ") + kNs + "><dimension ref=\"A1:Z9\"/><sheetData>" + rows +
                   "</sheetData></worksheet>"});
  std::string sst = std::string("<sst ") + kNs + ">";
  for (const auto& s : shared) sst += "<si>" + s + "</si>";
  e.push_back({"xl/strings.xml", sst + "</sst>"});
  if (!styles.empty()) e.push_back({"xl/styles.xml", std::string("<styleSheet ") + kNs + ">" + styles + "</styleSheet>"});
  return WriteZip(e);
}

// ---- reading files made by a spreadsheet program ----

TEST_F(XlsxTest, ReadsAWorkbookWrittenByASpreadsheetProgramLikeItsCsvSource) {
  auto x = ReadXlsx(ReadFileBytes(FixturePath("ensaio.xlsx")));
  auto csv = ReadCsv(ReadFileBytes(FixturePath("ensaio.csv")));
  ASSERT_TRUE(x.read);
  ASSERT_EQ(x.table.FieldCount(), 6);
  // The date column comes through its cells' number format.
  EXPECT_EQ(x.table.DataType(5), FieldType::ftDateTime);
  ASSERT_EQ(x.table.RecordCount(), 4);
  const double dates[] = {DateSerial(2024, 1, 15), DateSerial(2024, 1, 15), DateSerial(2024, 2, 29),
                          DateSerial(2023, 12, 31)};
  for (int r = 0; r < 4; ++r) EXPECT_EQ(x.table.GetFloat(r, 5), dates[r]);
  // Every other column as the CSV source reads.
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(x.table.FieldName(c), csv.table.FieldName(c));
    EXPECT_EQ(x.table.DataType(c), csv.table.DataType(c));
    for (int r = 0; r < 4; ++r) EXPECT_EQ(x.table.AsString(r, c), csv.table.AsString(r, c)) << r << "," << c;
  }
  EXPECT_EQ(x.table.Field(0).size, 255);
  EXPECT_EQ(x.message, "Importação de Excel concluída: 4 registros.");
}

TEST_F(XlsxTest, RefusesXlsAndXlsbWithAClearMessage) {
  struct Case {
    std::string bytes;
    std::string mention;
  } cases[] = {
      {ReadFileBytes(FixturePath("ensaio.xls")), ".xls"},
      {WriteZip({{"xl/workbook.bin", "\x83\x01\x00", true}}), ".xlsb"},
      {WriteZip({{"content.xml", "<a/>", true}}), ".xlsx"},
      {"not a workbook at all, only some text", "ZIP"},
  };
  for (const auto& c : cases) {
    try {
      ReadXlsx(c.bytes);
      ADD_FAILURE() << "accepted " << c.mention;
    } catch (const DataError& e) {
      EXPECT_NE(std::string(e.what()).find(c.mention), std::string::npos) << e.what();
    }
  }
}

// ---- writer ----

TEST_F(XlsxTest, RoundTripKeepsTypesAndCellsInBothLocales) {
  for (auto locale : {NumberLocale::Dot(), NumberLocale::Comma()}) {
    shell::SetCurrentNumberLocale(locale);
    DataTable t = MakeTable({{"trat", FieldType::ftString, 30},
                             {"peso", FieldType::ftFloat, 0},
                             {"quando", FieldType::ftDateTime, 0}},
                            {{std::string("ç & <b>"), 0.1, DateSerial(2024, 1, 15)},
                             {std::string("12"), -123456.789012345, DateSerial(1999, 12, 31) + 0.25},
                             {CellValue{}, 6.02214076e23, CellValue{}},
                             {std::string("d"), CellValue{}, DateSerial(1900, 3, 1)}});
    WriteXlsx(t, path_);
    auto r = ReadXlsx(ReadFileBytes(path_), locale);
    ASSERT_TRUE(r.read);
    ExpectSameCells(r.table, t);
    EXPECT_EQ(r.table.DataType(2), FieldType::ftDateTime);
  }
}

TEST_F(XlsxTest, SheetIsNamedDadosWithABoldHeaderRow) {
  DataTable t = MakeTable({{"a", FieldType::ftFloat, 0}, {"b", FieldType::ftString, 9}},
                          {{1.0, std::string("x")}});
  WriteXlsx(t, path_);
  ZipReader zip(ReadFileBytes(path_));
  const std::string wb = *zip.Read("xl/workbook.xml");
  EXPECT_NE(wb.find("name=\"Dados\""), std::string::npos);
  const std::string sheet = *zip.Read("xl/worksheets/sheet1.xml");
  const std::string styles = *zip.Read("xl/styles.xml");
  // Header cells carry a style whose font is bold; data cells do not.
  const auto a1 = sheet.find("r=\"A1\"");
  ASSERT_NE(a1, std::string::npos);
  EXPECT_EQ(sheet.compare(a1, 12, "r=\"A1\" s=\"1\""), 0) << sheet.substr(a1, 40);
  EXPECT_NE(styles.find("<b/>"), std::string::npos);
  EXPECT_EQ(sheet.find("r=\"A2\" s="), std::string::npos);
}

TEST_F(XlsxTest, RefusesTablesBeyondASheet) {
  DataTable t = MakeTable({{"a", FieldType::ftFloat, 0}}, {});
  for (int r = 0; r < 1048576; ++r) t.AppendRow();
  EXPECT_THROW(WriteXlsx(t, path_), DataError);
  EXPECT_FALSE(std::filesystem::exists(path_));
}

// ---- hand-made sheets ----

std::string C(const std::string& ref, const std::string& inner, const std::string& attrs = "") {
  return "<c r=\"" + ref + "\"" + attrs + ">" + inner + "</c>";
}
std::string V(const std::string& v) { return "<v>" + v + "</v>"; }
std::string Row(int r, const std::string& cells) {
  return "<row r=\"" + std::to_string(r) + "\">" + cells + "</row>";
}

TEST_F(XlsxTest, UsedRangeTypesAndCellKinds) {
  // The used range starts at B3; row 5 is empty and kept; the third column has no name.
  const std::string rows =
      Row(3, C("B3", V("0"), " t=\"s\"") + C("C3", "<is><t>inline</t></is>", " t=\"inlineStr\"")) +
      Row(4, C("B4", V("1.5")) + C("C4", V("1"), " t=\"b\"") + C("D4", V("45306"), " s=\"1\"")) +
      "<row r=\"5\"><c r=\"B5\" s=\"1\"/></row>" +
      Row(6, C("B6", V("1"), " t=\"s\"") + C("C6", V("#DIV/0!"), " t=\"e\"") +
                 C("D6", V("2024-02-29T12:00:00"), " t=\"d\"")) +
      Row(7, "<c r=\"B7\" t=\"str\"><v>fórmula</v></c><c><v>2E-3</v></c>");
  const std::string styles =
      "<numFmts><numFmt numFmtId=\"170\" formatCode=\"[$-416]dd/mm/yyyy;@\"/></numFmts>"
      "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"170\"/></cellXfs>";
  auto r = ReadXlsx(MiniXlsx(rows, {"<t>nome</t>", "<r><t>ri</t></r><r><t>co</t></r><rPh><t>x</t></rPh>"},
                             styles));
  ASSERT_TRUE(r.read);
  ASSERT_EQ(r.table.FieldCount(), 3);
  EXPECT_EQ(r.table.FieldName(0), "nome");
  EXPECT_EQ(r.table.FieldName(1), "inline");
  EXPECT_EQ(r.table.FieldName(2), "Campo3");
  EXPECT_EQ(r.table.DataType(0), FieldType::ftFloat);
  EXPECT_EQ(r.table.DataType(1), FieldType::ftString);  // a boolean sample is not a number
  EXPECT_EQ(r.table.DataType(2), FieldType::ftDateTime);
  ASSERT_EQ(r.table.RecordCount(), 4);
  EXPECT_EQ(r.table.GetFloat(0, 0), 1.5);
  EXPECT_EQ(r.table.GetString(0, 1), "VERDADEIRO");
  EXPECT_EQ(r.table.GetFloat(0, 2), DateSerial(2024, 1, 15));
  for (int c = 0; c < 3; ++c) EXPECT_TRUE(r.table.IsNull(1, c));
  EXPECT_TRUE(r.table.IsNull(2, 0));  // "rico" is not a number
  EXPECT_EQ(r.table.GetString(2, 1), "#DIV/0!");
  EXPECT_EQ(r.table.GetFloat(2, 2), DateSerial(2024, 2, 29) + 0.5);
  // A cell without a reference follows the one before it.
  EXPECT_TRUE(r.table.IsNull(3, 0));
  EXPECT_EQ(r.table.GetString(3, 1), "0.002");
  EXPECT_EQ(r.message, "Importação de Excel concluída: 4 registros.");
}

TEST_F(XlsxTest, TextInANumericColumnIsReadWithTheUsersDecimalSeparator) {
  // Every "," and "." becomes the user's separator before the number is read.
  const std::string rows = Row(1, C("A1", "<is><t>v</t></is>", " t=\"inlineStr\"")) +
                           Row(2, C("A2", V("1"))) +
                           Row(3, C("A3", "<is><t> 3,5 </t></is>", " t=\"inlineStr\"")) +
                           Row(4, C("A4", "<is><t>2.25</t></is>", " t=\"inlineStr\"")) +
                           Row(5, C("A5", "<is><t>1.234,5</t></is>", " t=\"inlineStr\"")) +
                           Row(6, C("A6", "<is><t>abc</t></is>", " t=\"inlineStr\""));
  for (auto locale : {NumberLocale::Dot(), NumberLocale::Comma()}) {
    auto r = ReadXlsx(MiniXlsx(rows), locale);
    ASSERT_TRUE(r.read);
    ASSERT_EQ(r.table.RecordCount(), 5);
    EXPECT_EQ(r.table.GetFloat(1, 0), 3.5) << locale.decimalSeparator;
    EXPECT_EQ(r.table.GetFloat(2, 0), 2.25) << locale.decimalSeparator;
    EXPECT_TRUE(r.table.IsNull(3, 0)) << locale.decimalSeparator;
    EXPECT_TRUE(r.table.IsNull(4, 0)) << locale.decimalSeparator;
  }
}

TEST_F(XlsxTest, DateSystemsOfTheWorkbook) {
  const std::string rows = Row(1, C("A1", "<is><t>d</t></is>", " t=\"inlineStr\"")) +
                           Row(2, C("A2", V("45306"), " s=\"1\"")) + Row(3, C("A3", V("1"), " s=\"1\""));
  const std::string styles = "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs>";
  auto r1900 = ReadXlsx(MiniXlsx(rows, {}, styles));
  EXPECT_EQ(FormatDateSerial(r1900.table.GetFloat(0, 0), false), "15/01/2024");
  EXPECT_EQ(FormatDateSerial(r1900.table.GetFloat(1, 0), false), "01/01/1900");
  auto r1904 = ReadXlsx(MiniXlsx(rows, {}, styles, true));
  EXPECT_EQ(FormatDateSerial(r1904.table.GetFloat(0, 0), false), "16/01/2028");
  EXPECT_EQ(FormatDateSerial(r1904.table.GetFloat(1, 0), false), "02/01/1904");
}

TEST_F(XlsxTest, EmptySheetSaysSo) {
  for (const std::string& rows : {std::string(), std::string("<row r=\"1\"><c r=\"A1\" s=\"0\"/></row>")}) {
    auto r = ReadXlsx(MiniXlsx(rows));
    EXPECT_FALSE(r.read);
    EXPECT_EQ(r.message, "O arquivo selecionado está vazio.");
  }
}

TEST_F(XlsxTest, RefusesDamagedSheetsAndHugeRanges) {
  const std::string cases[] = {
      Row(1, C("A1", V("1")) + C("XFD1048576", V("2"))),          // used range of 17e9 cells
      Row(1, C("A1", V("5"), " t=\"s\"")),                         // no such shared string
      Row(1, C("XFE1", V("1"))),                                   // beyond the last column
      Row(1, C("A1", V("1,5"))),                                   // not a number
      "<row r=\"99999999\"><c><v>1</v></c></row>",                 // beyond the last row
      "<row><c r=\"A1\"><v>1</v></c>",                             // broken XML
  };
  for (const auto& rows : cases) EXPECT_THROW(ReadXlsx(MiniXlsx(rows, {"<t>a</t>"})), DataError) << rows;
}

TEST(XlsxDateFormats, BuiltInIdsAndCodes) {
  struct Case {
    int id;
    const char* code;
    bool date;
  } cases[] = {
      {0, "", false},           {2, "", false},           {14, "", true},
      {22, "", true},           {49, "", false},          {164, "General", false},
      {165, "yyyy\\-mm\\-dd", true}, {166, "0.00", false},  {167, "[Red]0.00", false},
      {168, "0.0 \"m\"", false}, {169, "[h]:mm", true},    {170, "[$-416]d/m/yy;@", true},
      {171, "#,##0_);(#,##0)", false}, {172, "hh:mm:ss", true}, {173, "0.00E+00", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsDateNumberFormat(c.id, c.code), c.date) << c.id << " " << c.code;
}

}  // namespace
}  // namespace tolmex::data::exchange
