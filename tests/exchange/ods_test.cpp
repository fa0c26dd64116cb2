#include "data/exchange/ods.h"

#include <gtest/gtest.h>

#include <cstring>

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

class OdsTest : public ::testing::Test {
 protected:
  void SetUp() override { shell::SetCurrentNumberLocale(NumberLocale::Dot()); }
  void TearDown() override { shell::SetCurrentNumberLocale(NumberLocale::Dot()); }
};

const char kHead[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
    "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
    "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
    "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" office:version=\"1.2\">"
    "<office:body><office:spreadsheet><table:table table:name=\"Dados\">";
const char kTail[] = "</table:table></office:spreadsheet></office:body></office:document-content>";

std::string Str(const std::string& t) {
  return "<table:table-cell office:value-type=\"string\"><text:p>" + t +
         "</text:p></table:table-cell>";
}
std::string Flt(const std::string& v, const std::string& t) {
  return "<table:table-cell office:value-type=\"float\" office:value=\"" + v + "\"><text:p>" + t +
         "</text:p></table:table-cell>";
}
std::string Row(const std::string& cells) { return "<table:table-row>" + cells + "</table:table-row>"; }

// ---- writer ----

TEST_F(OdsTest, ContentIsOneLineWithTypedCellsAndEscapedText) {
  shell::SetCurrentNumberLocale(NumberLocale::Comma());
  DataTable t = MakeTable({{"nome <&>", FieldType::ftString, 30}, {"peso", FieldType::ftFloat, 0}},
                          {{std::string("12"), 3.5},
                           {std::string("a\"b'c&d"), CellValue{}},
                           {CellValue{}, -1e-9}});
  const std::string want = std::string(kHead) +
                           Row(Str("nome &lt;&amp;&gt;") + Str("peso")) +
                           Row(Flt("12", "12") + Flt("3.5", "3,5")) +
                           Row(Str("a&quot;b&apos;c&amp;d") + Str("")) +
                           Row(Str("") + Flt("-1E-9", "-1E-9")) + kTail;
  EXPECT_EQ(BuildOdsContent(t), want);
}

// Local file headers of a ZIP archive in file order: name and compression method.
std::vector<std::pair<std::string, int>> LocalEntries(const std::string& zip) {
  std::vector<std::pair<std::string, int>> out;
  std::size_t p = 0;
  auto u16 = [&](std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(zip[at])) |
           static_cast<unsigned>(static_cast<unsigned char>(zip[at + 1])) << 8;
  };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  while (p + 30 <= zip.size() && zip.compare(p, 4, "PK\x03\x04") == 0) {
    const unsigned method = u16(p + 8), csize = u32(p + 18), nlen = u16(p + 26), xlen = u16(p + 28);
    out.emplace_back(zip.substr(p + 30, nlen), static_cast<int>(method));
    p += 30 + nlen + xlen + csize;
  }
  return out;
}

TEST_F(OdsTest, PackageHasMimetypeStoredFirstThenContentAndManifestDeflated) {
  DataTable t = MakeTable({{"x", FieldType::ftFloat, 0}}, {{1.0}, {2.0}});
  const std::string pkg = WriteOds(t);
  const auto entries = LocalEntries(pkg);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], (std::pair<std::string, int>{"mimetype", 0}));
  EXPECT_EQ(entries[1], (std::pair<std::string, int>{"content.xml", 8}));
  EXPECT_EQ(entries[2], (std::pair<std::string, int>{"META-INF/manifest.xml", 8}));
  // The mimetype's bytes follow its header directly, readable without inflating.
  EXPECT_EQ(pkg.substr(38, 46), "application/vnd.oasis.opendocument.spreadsheet");
  ZipReader zip(pkg);
  EXPECT_EQ(*zip.Read("content.xml"), BuildOdsContent(t));
  EXPECT_EQ(*zip.Read("META-INF/manifest.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><manifest:manifest "
            "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
            "<manifest:file-entry manifest:full-path=\"/\" "
            "manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>"
            "<manifest:file-entry manifest:full-path=\"content.xml\" "
            "manifest:media-type=\"text/xml\"/></manifest:manifest>");
}

// ---- reader ----

TEST_F(OdsTest, ReadsASheetWrittenByASpreadsheetProgramLikeItsCsvSource) {
  // Calc wrote the first data row's two equal numbers as one repeated cell.
  auto ods = ReadOds(ReadFileBytes(FixturePath("ensaio.ods")));
  auto csv = ReadCsv(ReadFileBytes(FixturePath("ensaio.csv")));
  ASSERT_TRUE(ods.read);
  ASSERT_TRUE(csv.read);
  ExpectSameCells(ods.table, csv.table);
  EXPECT_EQ(ods.table.FieldName(3), "altura");
  EXPECT_EQ(ods.table.DataType(3), FieldType::ftFloat);
  EXPECT_EQ(ods.table.GetFloat(0, 3), 12.5);
  EXPECT_EQ(ods.message, "ODS Importado!");
}

struct ContentCase {
  const char* what;
  std::string rows;
  std::vector<std::string> names;
  std::vector<bool> numeric;
  std::vector<std::vector<std::string>> cells;  // AsString of every cell
};

TEST_F(OdsTest, ContentCases) {
  const std::string R3 = "<table:table-cell table:number-columns-repeated=\"3\"><text:p>x</text:p></table:table-cell>";
  const ContentCase cases[] = {
      {"repeated cell fills three columns",
       Row(Str("a") + Str("b") + Str("c") + Str("d")) + Row(Str("t") + R3) +
           Row(Flt("1", "1") + Str("y")),
       {"a", "b", "c", "d"}, {false, false, false, false},
       {{"t", "x", "x", "x"}, {"1", "y", "", ""}}},
      {"repeated cells in the sample row give the later columns their types",
       Row(Str("a") + Str("b") + Str("c")) +
           Row("<table:table-cell table:number-columns-repeated=\"2\" office:value-type=\"float\" "
               "office:value=\"2.5\"><text:p>2,5</text:p></table:table-cell>" + Flt("7", "7")),
       {"a", "b", "c"}, {true, true, true}, {{"2.5", "2.5", "7"}}},
      {"empty first name is named, an empty later name ends the header",
       Row(Str("") + Str("b") + Str("") + Str("d")) + Row(Str("1,5") + Str("z") + Str("q") + Str("w")),
       {"Coluna1", "b"}, {true, false}, {{"1.5", "z"}}},
      {"repeated rows with content are read each time, empty rows never",
       Row(Str("n")) +
           "<table:table-row table:number-rows-repeated=\"3\">" + Flt("4", "4") + "</table:table-row>" +
           "<table:table-row table:number-rows-repeated=\"1048000\"><table:table-cell/></table:table-row>" +
           Row(Str("abc")) + Row(Flt("5", "5")),
       {"n"}, {true}, {{"4"}, {"4"}, {"4"}, {""}, {"5"}}},
      {"rows inside header-row and row groups",
       "<table:table-header-rows>" + Row(Str("h")) + "</table:table-header-rows>"
       "<table:table-row-group>" + Row(Str("g1")) + "<table:table-row-group>" + Row(Str("g2")) +
           "</table:table-row-group></table:table-row-group>",
       {"h"}, {false}, {{"g1"}, {"g2"}}},
      {"notes are not text; spaces, tabs and paragraphs are",
       Row(Str("a") + Str("b")) +
           Row("<table:table-cell><office:annotation><text:p>nota</text:p></office:annotation>"
               "<text:p>um<text:s text:c=\"2\"/>dois<text:tab/>tres</text:p><text:p>quatro</text:p>"
               "</table:table-cell>" + Str("<text:span>x</text:span> <text:span>y</text:span>")),
       {"a", "b"}, {false, false}, {{"um  dois\ttres\nquatro", "x y"}}},
      {"covered cells keep their column positions",
       Row(Str("a") + Str("b") + Str("c")) +
           Row("<table:table-cell table:number-columns-spanned=\"2\"><text:p>m</text:p></table:table-cell>"
               "<table:covered-table-cell/>" + Str("k")),
       {"a", "b", "c"}, {false, false, false}, {{"m", "", "k"}}},
      {"a numeric column keeps the row of a text that is not a number",
       Row(Str("v") + Str("w")) + Row(Flt("1", "1") + Str("a")) + Row(Str("abc") + Str("")),
       {"v", "w"}, {true, false}, {{"1", "a"}, {"", ""}}},
      {"huge repetition in a data row stops at the last column",
       Row(Str("a") + Str("b")) +
           Row("<table:table-cell table:number-columns-repeated=\"2000000000\"><text:p>9</text:p>"
               "</table:table-cell>"),
       {"a", "b"}, {true, true}, {{"9", "9"}}},
      {"bad repetition counts read as one",
       Row(Str("a") + Str("b")) +
           Row("<table:table-cell table:number-columns-repeated=\"-4\"><text:p>1</text:p></table:table-cell>"
               "<table:table-cell table:number-columns-repeated=\"x\"><text:p>2</text:p></table:table-cell>"),
       {"a", "b"}, {true, true}, {{"1", "2"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto r = ReadOdsContent(kHead + c.rows + kTail);
    ASSERT_TRUE(r.read);
    ASSERT_EQ(r.table.FieldCount(), static_cast<int>(c.names.size()));
    for (int col = 0; col < r.table.FieldCount(); ++col) {
      EXPECT_EQ(r.table.FieldName(col), c.names[col]);
      EXPECT_EQ(r.table.DataType(col) == FieldType::ftFloat, c.numeric[col]) << c.names[col];
    }
    ASSERT_EQ(r.table.RecordCount(), static_cast<int>(c.cells.size()));
    for (int row = 0; row < r.table.RecordCount(); ++row)
      for (int col = 0; col < r.table.FieldCount(); ++col)
        EXPECT_EQ(r.table.AsString(row, col), c.cells[row][col]) << row << "," << col;
  }
}

TEST_F(OdsTest, LocalNamesMatchWithAnyPrefixAndCase) {
  auto r = ReadOdsContent(
      "<doc xmlns:t=\"urn:x\"><t:TABLE><t:Table-Row><t:table-CELL><p>n</p></t:table-CELL>"
      "</t:Table-Row><t:table-row><t:table-cell value=\"3\"><p>três</p></t:table-cell>"
      "</t:table-row></t:TABLE></doc>");
  ASSERT_TRUE(r.read);
  EXPECT_EQ(r.table.FieldName(0), "n");
  EXPECT_EQ(r.table.GetFloat(0, 0), 3.0);
}

TEST_F(OdsTest, NothingToImport) {
  for (std::string xml : {std::string("<a><b/></a>"), std::string(kHead) + kTail,
                          std::string(kHead) + Row("") + kTail}) {
    EXPECT_FALSE(ReadOdsContent(xml).read) << xml;
  }
  // A ZIP package without content.xml.
  EXPECT_FALSE(ReadOds(WriteZip({{"mimetype", "x", false}})).read);
}

TEST_F(OdsTest, RefusesBrokenFilesAndSheetsBeyondTheLimits) {
  const std::string huge =
      std::string(kHead) +
      Row("<table:table-cell table:number-columns-repeated=\"100000\"><text:p>n</text:p></table:table-cell>") +
      kTail;
  const std::string manyRows = std::string(kHead) + Row(Str("a")) +
                               "<table:table-row table:number-rows-repeated=\"99999999\">" + Str("1") +
                               "</table:table-row>" + kTail;
  EXPECT_THROW(ReadOdsContent(huge), DataError);
  EXPECT_THROW(ReadOdsContent(manyRows), DataError);
  EXPECT_THROW(ReadOdsContent(std::string(kHead) + "<table:table-row>"), DataError);
  EXPECT_THROW(ReadOdsContent(kHead + Row(Str("a") + Str("a")) + kTail), DataError);
  EXPECT_THROW(ReadOds("PK\x03\x04 this is not an archive at all, really not"), DataError);
  EXPECT_THROW(ReadOds(""), DataError);
}

// A sheet of more cells than the limit allows in little text: refused before its XML tree is
// built, which would take many times the memory of the text.
TEST_F(OdsTest, RefusesXmlWhoseTreeWouldExhaustMemory) {
  const std::size_t elements = kMaxXmlTreeBytes / 128 + 1000;
  std::string xml = std::string(kHead) + "<table:table-row>";
  xml.reserve(xml.size() + elements * 4 + 100);
  for (std::size_t i = 0; i < elements; ++i) xml += "<a/>";
  xml += std::string("</table:table-row>") + kTail;
  try {
    ReadOdsContent(xml);
    FAIL() << "accepted";
  } catch (const DataError& e) {
    EXPECT_EQ(std::string(e.what()),
              "a planilha é grande demais para ser lida (seriam precisos mais de 4 GB de memória).");
  }
}

TEST_F(OdsTest, ZipEntriesNeverInflateBeyondTheLimit) {
  const std::string pkg = WriteZip({{"content.xml", std::string(5000, 'a'), true}});
  ZipReader zip(pkg);
  EXPECT_EQ(zip.Read("content.xml", 5000)->size(), 5000u);
  EXPECT_THROW(zip.Read("content.xml", 4999), DataError);
  EXPECT_FALSE(zip.Read("other.xml"));
}

TEST_F(OdsTest, RoundTripKeepsEveryCellInBothLocales) {
  for (auto locale : {NumberLocale::Dot(), NumberLocale::Comma()}) {
    shell::SetCurrentNumberLocale(locale);
    DataTable t = MakeTable({{"trat", FieldType::ftString, 30},
                             {"peso", FieldType::ftFloat, 0},
                             {"obs <&>", FieldType::ftString, 30}},
                            {{std::string("ç & \"ã\" <b>"), 0.1, std::string("x,y")},
                             {std::string("b"), -123456.789012345, std::string("'q'")},
                             {std::string("c"), 6.02214076e23, CellValue{}},
                             {std::string("d"), CellValue{}, std::string("12")}});
    auto r = ReadOds(WriteOds(t));
    ASSERT_TRUE(r.read);
    ExpectSameCells(r.table, t);
  }
}

// Line breaks of both kinds come back; control characters XML cannot hold are dropped when
// read, so a sheet read with them can be written back.
TEST_F(OdsTest, LineBreaksSurviveAndControlCharactersAreDropped) {
  DataTable t = MakeTable({{"obs", FieldType::ftString, 30}},
                          {{std::string("a\r\nb\rc\nd")}});
  auto r = ReadOds(WriteOds(t));
  ASSERT_TRUE(r.read);
  EXPECT_EQ(r.table.AsString(0, 0), "a\r\nb\rc\nd");

  auto c = ReadOdsContent(std::string(kHead) + Row(Str("no\x05me")) + Row(Str("x\x01y")) + kTail);
  ASSERT_TRUE(c.read);
  EXPECT_EQ(c.table.FieldName(0), "nome");
  EXPECT_EQ(c.table.AsString(0, 0), "xy");
  EXPECT_EQ(ReadOds(WriteOds(c.table)).table.AsString(0, 0), "xy");
}

}  // namespace
}  // namespace tolmex::data::exchange
