// Workbooks written by the program open in a common spreadsheet program with their contents:
// LibreOffice, when installed, converts our .ods and .xlsx to CSV (skipped otherwise).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "data/exchange/ods.h"
#include "data/exchange/xlsx.h"
#include "shell/file_io.h"
#include "shell/number_locale.h"
#include "table_helpers.h"
#include "temp_dir.h"

namespace tolmex::data::exchange {
namespace {

// LibreOffice's CSV (asked for in UTF-8): comma-separated, text quoted when it holds a comma
// or a quote.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (quoted) {
        if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
          fields.back() += '"';
          ++i;
        } else if (c == '"') {
          quoted = false;
        } else {
          fields.back() += c;
        }
      } else if (c == '"') {
        quoted = true;
      } else if (c == ',') {
        fields.emplace_back();
      } else {
        fields.back() += c;
      }
    }
    rows.push_back(fields);
  }
  return rows;
}

TEST(SpreadsheetInterop, LibreOfficeReadsOurOdsAndXlsx) {
  if (std::system("command -v libreoffice >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "libreoffice is not installed";
  shell::SetCurrentNumberLocale(shell::NumberLocale::Dot());
  tolmex::testing::TempDir dir;
  const DataTable t =
      testing::MakeTable({{"Tratamento", FieldType::ftString, 30},
                          {"Peso", FieldType::ftFloat, 0},
                          {"Obs", FieldType::ftString, 30}},
                         {{std::string("Adubação, alta"), 3.5, std::string("a \"b\"")},
                          {std::string("ç q"), -12.0, CellValue{}},
                          {std::string("C"), 1234.25, std::string("<x>&")}});
  shell::WriteFileAtomic(dir.File("tabela.ods"), WriteOds(t));
  WriteXlsx(t, dir.File("planilha.xlsx"));
  const std::string folder = dir.path().string();
  const std::string cmd =
      "cd '" + folder + "' && timeout 300 libreoffice -env:UserInstallation=file://" +
      dir.File("perfil") +
      " --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' --outdir '" + folder +
      "' tabela.ods planilha.xlsx >/dev/null 2>&1";
  const int rc = std::system(cmd.c_str());
  const std::vector<std::vector<std::string>> want = {{"Tratamento", "Peso", "Obs"},
                                                      {"Adubação, alta", "3.5", "a \"b\""},
                                                      {"ç q", "-12", ""},
                                                      {"C", "1234.25", "<x>&"}};
  for (const char* name : {"tabela.csv", "planilha.csv"}) {
    const std::string csv = dir.File(name);
    if (rc != 0 || !std::filesystem::exists(csv))
      GTEST_SKIP() << "libreoffice could not convert (no spreadsheet filter installed?)";
    EXPECT_EQ(ParseCsv(shell::ReadWholeFile(csv)), want) << name;
  }
}

}  // namespace
}  // namespace tolmex::data::exchange
