#include "data/exchange/ods.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <vector>

#include <pugixml.hpp>

#include "data/exchange/zip_archive.h"
#include "shell/text_utils.h"

namespace tolmex::data::exchange {

namespace {

const char kMime[] = "application/vnd.oasis.opendocument.spreadsheet";

void AppendEscaped(std::string& out, std::string_view s) {
  for (char c : XmlSafeText(s)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      // A carriage return written as is would be read back as a line feed.
      case '\r': out += "&#13;"; break;
      default: out.push_back(c);
    }
  }
}

void AppendStringCell(std::string& out, std::string_view text) {
  out += "<table:table-cell office:value-type=\"string\"><text:p>";
  AppendEscaped(out, text);
  out += "</text:p></table:table-cell>";
}

// ---- reading ----

bool IEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string_view LocalName(const char* qualified) {
  std::string_view n(qualified);
  const auto colon = n.find(':');
  return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

bool LocalIs(const pugi::xml_node& n, std::string_view name) {
  return n.type() == pugi::node_element && IEquals(LocalName(n.name()), name);
}

// The first element in document order whose local name is `name`.
pugi::xml_node FindFirst(const pugi::xml_node& root, std::string_view name) {
  // Iterative walk: deep documents must not exhaust the stack.
  pugi::xml_node n = root.first_child();
  while (n) {
    if (LocalIs(n, name)) return n;
    if (n.first_child()) {
      n = n.first_child();
      continue;
    }
    while (n && !n.next_sibling() && n != root) n = n.parent();
    if (!n || n == root) break;
    n = n.next_sibling();
  }
  return {};
}

// Count from a repetition attribute: 1 when missing or not a positive integer.
std::int64_t Repeat(const pugi::xml_node& n, std::string_view localAttr) {
  for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
    if (!IEquals(LocalName(a.name()), localAttr)) continue;
    const char* v = a.value();
    std::int64_t k = 0;
    auto [p, ec] = std::from_chars(v, v + std::strlen(v), k);
    if (ec != std::errc() || *p != '\0' || k < 1) return 1;
    return k;
  }
  return 1;
}

// Text inside a paragraph or span: text nodes, with the space, tab and line-break elements;
// notes attached to the cell are not part of its text.
void GatherText(const pugi::xml_node& n, std::string& out, int depth) {
  for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
      out += c.value();
    } else if (c.type() == pugi::node_element) {
      if (LocalIs(c, "annotation")) continue;
      if (LocalIs(c, "s")) {
        out.append(static_cast<std::size_t>(std::min<std::int64_t>(Repeat(c, "c"), 1000)), ' ');
      } else if (LocalIs(c, "tab")) {
        out.push_back('\t');
      } else if (LocalIs(c, "line-break")) {
        out.push_back('\n');
      } else if (depth < 64) {
        GatherText(c, out, depth + 1);
      }
    }
  }
}

std::string CellTextRaw(const pugi::xml_node& cell) {
  for (pugi::xml_attribute a = cell.first_attribute(); a; a = a.next_attribute())
    if (std::strcmp(LocalName(a.name()).data(), "value") == 0) return a.value();
  std::string out;
  bool firstPara = true;
  for (pugi::xml_node c = cell.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
      if (!shell::Trim(c.value()).empty()) out += c.value();
      continue;
    }
    if (c.type() != pugi::node_element || LocalIs(c, "annotation")) continue;
    // Paragraphs of one cell are its lines.
    if (!firstPara) out.push_back('\n');
    firstPara = false;
    GatherText(c, out, 0);
  }
  return out;
}

// Control characters that XML 1.0 does not allow are dropped, so that what is read can be
// written back.
std::string CellText(const pugi::xml_node& cell) { return XmlSafeText(CellTextRaw(cell)); }

bool IsCell(const pugi::xml_node& n) {
  return LocalIs(n, "table-cell") || LocalIs(n, "covered-table-cell");
}

// The rows of a sheet in order, also those inside header-row and row groups.
void CollectRows(const pugi::xml_node& parent, std::vector<pugi::xml_node>& rows, int depth) {
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (LocalIs(c, "table-row")) {
      rows.push_back(c);
    } else if (depth < 32 && (LocalIs(c, "table-header-rows") || LocalIs(c, "table-rows") ||
                              LocalIs(c, "table-row-group"))) {
      CollectRows(c, rows, depth + 1);
    }
  }
}

// The texts of a row's first `limit` cell positions, repeated cells expanded.
std::vector<std::string> RowTexts(const pugi::xml_node& row, std::size_t limit) {
  std::vector<std::string> out;
  for (pugi::xml_node c = row.first_child(); c && out.size() < limit; c = c.next_sibling()) {
    if (!IsCell(c)) continue;
    const std::string text(shell::Trim(CellText(c)));
    const std::int64_t rep = Repeat(c, "number-columns-repeated");
    for (std::int64_t k = 0; k < rep && out.size() < limit; ++k) out.push_back(text);
  }
  return out;
}

}  // namespace

std::string BuildOdsContent(const DataTable& table) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
      "<office:document-content"
      " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
      " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
      " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
      " office:version=\"1.2\">"
      "<office:body><office:spreadsheet><table:table table:name=\"Dados\">";
  const int cols = table.FieldCount();
  out += "<table:table-row>";
  for (int c = 0; c < cols; ++c) AppendStringCell(out, table.FieldName(c));
  out += "</table:table-row>";
  const int rows = table.Active() ? table.RecordCount() : 0;
  for (int r = 0; r < rows; ++r) {
    out += "<table:table-row>";
    for (int c = 0; c < cols; ++c) {
      // A date's text is the date, as the grid shows it.
      const std::string t = table.DataType(c) == FieldType::ftDateTime && !table.IsNull(r, c)
                                ? FormatDateSerial(table.GetFloat(r, c), false)
                                : table.AsString(r, c);
      const std::string v = ReplaceAll(t, ',', '.');
      if (ParseDotNumber(v)) {
        out += "<table:table-cell office:value-type=\"float\" office:value=\"";
        out += v;
        out += "\"><text:p>";
        out += t;
        out += "</text:p></table:table-cell>";
      } else {
        AppendStringCell(out, t);
      }
    }
    out += "</table:table-row>";
  }
  out += "</table:table></office:spreadsheet></office:body></office:document-content>";
  return out;
}

std::string WriteOds(const DataTable& table) {
  std::vector<ZipEntry> entries;
  entries.push_back({"mimetype", kMime, false});
  entries.push_back({"content.xml", BuildOdsContent(table), true});
  entries.push_back(
      {"META-INF/manifest.xml",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
       "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
       "<manifest:file-entry manifest:full-path=\"/\" "
       "manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>"
       "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
       "</manifest:manifest>",
       true});
  return WriteZip(entries);
}

namespace {

// Parses the XML in place (the text is overwritten), which spares a copy of a large sheet.
ImportResult ReadOdsXml(std::string& xml) {
  ImportResult result;
  CheckXmlTreeFits(xml);
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer_inplace(
      xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata);
  if (!parsed)
    throw DataError(std::string("o conteúdo da planilha não é um XML válido (") +
                    parsed.description() + ").");
  const pugi::xml_node sheet = FindFirst(doc, "table");
  if (!sheet) return result;
  std::vector<pugi::xml_node> rows;
  CollectRows(sheet, rows, 0);
  if (rows.empty()) return result;

  // Header: the names up to the first empty one; an empty first name gets a name.
  TableBuilder b;
  std::vector<std::string> names;
  {
    const std::vector<std::string> header = RowTexts(rows[0], kMaxColumns + 1);
    for (const std::string& h : header) {
      if (h.empty() && !names.empty()) break;
      names.push_back(h.empty() ? "Coluna" + std::to_string(names.size() + 1) : h);
    }
  }
  if (names.empty()) return result;
  const std::vector<std::string> sample =
      rows.size() > 1 ? RowTexts(rows[1], names.size()) : std::vector<std::string>{};
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string s = i < sample.size() ? ReplaceAll(sample[i], ',', '.') : std::string();
    const bool numeric = !s.empty() && ParseDotNumber(s);
    b.AddColumn(names[i], numeric ? FieldType::ftFloat : FieldType::ftString,
                numeric ? 0 : 50);
  }
  const std::size_t ncols = names.size();
  std::int64_t totalRows = 0;
  for (std::size_t r = 1; r < rows.size(); ++r) {
    const std::vector<std::string> texts = RowTexts(rows[r], ncols);
    bool any = false;
    for (const std::string& t : texts) any = any || !t.empty();
    if (!any) continue;
    // Equal neighbouring rows are written as one repeated row.
    const std::int64_t rep = Repeat(rows[r], "number-rows-repeated");
    totalRows += rep;
    if (totalRows > kMaxSheetRows || totalRows * static_cast<std::int64_t>(ncols) > kMaxSheetCells)
      throw DataError("a planilha passa do limite de " + std::to_string(kMaxSheetRows) +
                      " linhas ou de " + std::to_string(kMaxSheetCells) + " células.");
    for (std::int64_t k = 0; k < rep; ++k) {
      b.BeginRow();
      for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i].empty()) continue;
        const int col = static_cast<int>(i);
        if (b.Type(col) == FieldType::ftFloat) {
          if (auto d = ParseDotNumber(ReplaceAll(texts[i], ',', '.'))) b.SetNumber(col, *d);
        } else {
          b.SetText(col, texts[i]);
        }
      }
      b.CommitRow();
    }
  }
  result.read = true;
  result.table = b.Build();
  result.message = "ODS Importado!";
  return result;
}

}  // namespace

ImportResult ReadOds(std::string_view bytes) {
  ZipReader zip(bytes);
  auto content = zip.Read("content.xml", kMaxSheetXmlBytes);
  if (!content) return {};
  return ReadOdsXml(*content);
}

ImportResult ReadOdsContent(std::string_view xml) {
  std::string text(xml);
  return ReadOdsXml(text);
}

}  // namespace tolmex::data::exchange
