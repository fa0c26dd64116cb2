// XLSX reader on arbitrary bytes: as a whole package, and with the bytes cut at "\n@@\n"
// into the sheet, shared strings, styles and workbook parts of a package built around them
// (so that the XML readers are reached past the archive's checksums).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/exchange/xlsx.h"
#include "data/exchange/zip_archive.h"
#include "shell/number_locale.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolmex::data;
  using namespace tolmex::data::exchange;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    ReadXlsx(bytes, tolmex::shell::NumberLocale::Dot());
  } catch (const DataError&) {
  }
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (parts.size() < 3) {
    const std::size_t cut = bytes.find("\n@@\n", start);
    if (cut == std::string_view::npos) break;
    parts.emplace_back(bytes.substr(start, cut - start));
    start = cut + 4;
  }
  parts.emplace_back(bytes.substr(start));
  parts.resize(4);
  if (parts[3].empty())
    parts[3] =
        "<workbook xmlns:r=\"r\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
        "</workbook>";
  try {
    const std::string pkg = WriteZip({{"xl/worksheets/sheet1.xml", parts[0]},
                                      {"xl/sharedStrings.xml", parts[1]},
                                      {"xl/styles.xml", parts[2]},
                                      {"xl/workbook.xml", parts[3]}});
    ReadXlsx(pkg, tolmex::shell::NumberLocale::Comma());
  } catch (const DataError&) {
  }
  return 0;
}
