#include "data/exchange/xlsx.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

#include <pugixml.hpp>

#include "data/exchange/zip_archive.h"
#include "shell/format.h"
#include "shell/text_utils.h"

namespace tolmex::data::exchange {

namespace {

// ---- writing ----

constexpr std::size_t kMaxCellText = 32767;  // the longest text an Excel cell holds

class Workbook {
 public:
  explicit Workbook(const std::string& path) {
    lxw_workbook_options opt{};
    opt.constant_memory = LXW_TRUE;
    opt.use_zip64 = LXW_TRUE;
    wb_ = workbook_new_opt(path.c_str(), &opt);
    if (!wb_) throw DataError("não foi possível criar a pasta de trabalho.");
  }
  ~Workbook() {
    if (wb_) workbook_close(wb_);  // after an error: releases memory; the file is removed
  }
  lxw_workbook* get() { return wb_; }
  void Close() {
    lxw_error err = workbook_close(wb_);
    wb_ = nullptr;
    if (err != LXW_NO_ERROR) throw DataError(std::string("erro ao gravar a pasta de trabalho: ") +
                                             lxw_strerror(err) + ".");
  }

 private:
  lxw_workbook* wb_ = nullptr;
};

void Check(lxw_error err) {
  if (err != LXW_NO_ERROR)
    throw DataError(std::string("erro ao gravar a pasta de trabalho: ") + lxw_strerror(err) + ".");
}

// ---- reading ----

std::string_view LocalName(const char* qualified) {
  std::string_view n(qualified);
  const auto colon = n.find(':');
  return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

bool Is(const pugi::xml_node& n, std::string_view local) {
  return n.type() == pugi::node_element && LocalName(n.name()) == local;
}

pugi::xml_node Child(const pugi::xml_node& n, std::string_view local) {
  for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
    if (Is(c, local)) return c;
  return {};
}

const char* Attr(const pugi::xml_node& n, std::string_view local) {
  for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
    if (LocalName(a.name()) == local) return a.value();
  return nullptr;
}

void Parse(pugi::xml_document& doc, const std::string& xml, const std::string& part) {
  CheckXmlTreeFits(xml);
  const pugi::xml_parse_result r =
      doc.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata);
  if (!r)
    throw DataError("a parte \"" + part + "\" da pasta de trabalho não é um XML válido (" +
                    r.description() + ").");
}

// Text of <t> elements of a string item (runs included, phonetic hints left out).
void ItemText(const pugi::xml_node& n, std::string& out) {
  for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
    if (Is(c, "t")) {
      for (pugi::xml_node t = c.first_child(); t; t = t.next_sibling())
        if (t.type() == pugi::node_pcdata || t.type() == pugi::node_cdata) out += t.value();
    } else if (Is(c, "r")) {
      ItemText(c, out);
    }
  }
}

// A part named by a relationship target, relative to the folder of `base`.
std::string ResolveTarget(const std::string& baseFolder, std::string target) {
  if (!target.empty() && target[0] == '/') return target.substr(1);
  std::string path = baseFolder + target;
  // Fold "x/../" segments.
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    std::string seg = path.substr(start, slash - start);
    if (seg == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!seg.empty() && seg != ".") {
      parts.push_back(seg);
    }
    start = slash + 1;
  }
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "/" : "") + parts[i];
  return out;
}

// "B12" -> column 2, row 12 (1-based); false when it is not a cell reference in range.
bool ParseRef(const char* ref, int& col, int& row) {
  col = 0;
  row = 0;
  const char* p = ref;
  while ((*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z')) {
    col = col * 26 + ((*p | 0x20) - 'a' + 1);
    if (col > kMaxColumns) return false;
    ++p;
  }
  if (p == ref) return false;
  const char* digits = p;
  while (*p >= '0' && *p <= '9') {
    row = row * 10 + (*p - '0');
    if (row > kMaxSheetRows) return false;
    ++p;
  }
  return p != digits && *p == '\0' && row >= 1;
}

bool ParseIndex(const char* s, std::int64_t& out) {
  if (!s) return false;
  std::string_view v = shell::Trim(s);
  auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), out);
  return ec == std::errc() && p == v.data() + v.size();
}

enum class Kind : std::uint8_t { Number, Date, Text, Bool };

struct Cell {
  std::int32_t row, col;
  Kind kind;
  double num;          // Number, Date (our day serial), Bool (0 or 1)
  std::uint32_t text;  // Text: index into the string pool
};

struct Sheet {
  std::vector<std::string> pool;  // shared strings, then inline and formula texts
  std::vector<Cell> cells;
};

double FromExcelSerial(double v, bool date1904) {
  if (date1904) return v + 1462.0;
  // Day 60 of the 1900 system is the nonexistent 29 February 1900.
  if (v >= 1.0 && v < 61.0) return v + 1.0;
  return v;
}

std::string CellTextOf(const Cell& c, const Sheet& s, const shell::NumberLocale& locale) {
  switch (c.kind) {
    case Kind::Text: return s.pool[c.text];
    case Kind::Bool: return c.num != 0 ? "VERDADEIRO" : "FALSO";
    case Kind::Date: {
      const double frac = c.num - std::floor(c.num);
      std::string d = FormatDateSerial(c.num, frac != 0);
      return d.empty() ? shell::FormatGeneral(c.num, locale) : d;
    }
    case Kind::Number: return shell::FormatGeneral(c.num, locale);
  }
  return {};
}

}  // namespace

bool IsDateNumberFormat(int id, std::string_view code) {
  if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
      (id >= 50 && id <= 58))
    return true;
  if (id < 164) return false;  // other built-in formats are numbers or text
  // Quoted and escaped literals, colour and locale brackets, padding: not part of the test.
  std::string bare;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (c == '"') {
      const auto close = code.find('"', i + 1);
      if (close == std::string_view::npos) break;
      i = close;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;
    } else if (c == '[') {
      const auto close = code.find(']', i + 1);
      if (close == std::string_view::npos) break;
      std::string_view inside = code.substr(i + 1, close - i - 1);
      // [h], [mm], [ss]: elapsed time.
      if (!inside.empty() && inside.find_first_not_of("hHmMsS") == std::string_view::npos)
        return true;
      i = close;
    } else if (c == ';') {
      break;  // the first section decides
    } else {
      bare.push_back(static_cast<char>(c | 0x20));
    }
  }
  if (bare.find("general") != std::string::npos) return false;
  return bare.find_first_of("dmyhs") != std::string::npos;
}

void WriteXlsx(const DataTable& table, const std::string& path) {
  const int cols = table.FieldCount();
  const int rows = table.Active() ? table.RecordCount() : 0;
  if (cols > kMaxColumns)
    throw DataError("uma planilha do Excel comporta no máximo " + std::to_string(kMaxColumns) +
                    " colunas.");
  if (rows + 1 > kMaxSheetRows)
    throw DataError("uma planilha do Excel comporta no máximo " +
                    std::to_string(kMaxSheetRows - 1) + " registros abaixo dos nomes.");
  const std::string tmp = TemporarySibling(path);
  try {
    Workbook wb(tmp);
    lxw_worksheet* ws = workbook_add_worksheet(wb.get(), "Dados");
    lxw_format* bold = workbook_add_format(wb.get());
    format_set_bold(bold);
    lxw_format* dateFmt = workbook_add_format(wb.get());
    format_set_num_format(dateFmt, "dd/mm/yyyy");
    lxw_format* dateTimeFmt = workbook_add_format(wb.get());
    format_set_num_format(dateTimeFmt, "dd/mm/yyyy hh:mm:ss");
    if (!ws || !bold || !dateFmt || !dateTimeFmt)
      throw DataError("não foi possível criar a pasta de trabalho.");

    // Column widths fitted to the names and the first rows' texts.
    const int probe = std::min(rows, 2000);
    for (int c = 0; c < cols; ++c) {
      std::size_t w = shell::Utf8Length(table.FieldName(c)) + 1;
      for (int r = 0; r < probe; ++r) {
        std::size_t len = table.DataType(c) == FieldType::ftDateTime ? 19
                                                                     : shell::Utf8Length(table.AsString(r, c));
        w = std::max(w, len);
      }
      Check(worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                 std::min<double>(static_cast<double>(w) * 1.1 + 2.0, 80.0),
                                 nullptr));
    }
    for (int c = 0; c < cols; ++c)
      Check(worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c),
                                   XmlSafeText(table.FieldName(c)).c_str(), bold));
    for (int r = 0; r < rows; ++r) {
      const auto xr = static_cast<lxw_row_t>(r + 1);
      for (int c = 0; c < cols; ++c) {
        if (table.IsNull(r, c)) continue;
        const auto xc = static_cast<lxw_col_t>(c);
        const FieldType type = table.DataType(c);
        if (type == FieldType::ftString) {
          const std::string& s = table.GetString(r, c);
          if (s.empty()) continue;
          if (shell::Utf8Length(s) > kMaxCellText)
            throw DataError("o texto da linha " + std::to_string(r + 1) + ", coluna \"" +
                            table.FieldName(c) + "\", passa de 32767 caracteres.");
          Check(worksheet_write_string(ws, xr, xc, s.c_str(), nullptr));
          continue;
        }
        const double v = table.GetFloat(r, c);
        if (type == FieldType::ftDateTime) {
          auto p = SplitDateSerial(v);
          if (p && p->year >= 1900 && v >= 2.0) {
            lxw_datetime dt{p->year, p->month, p->day, p->hour, p->minute,
                            static_cast<double>(p->second)};
            const bool withTime = p->hour || p->minute || p->second;
            Check(worksheet_write_datetime(ws, xr, xc, &dt, withTime ? dateTimeFmt : dateFmt));
            continue;
          }
        } else if (std::isfinite(v)) {
          Check(worksheet_write_number(ws, xr, xc, v, nullptr));
          continue;
        }
        // What a sheet cannot hold as a number (infinities, dates before 1900) goes as text.
        Check(worksheet_write_string(ws, xr, xc, table.AsString(r, c).c_str(), nullptr));
      }
    }
    wb.Close();
  } catch (...) {
    std::error_code ec;
    std::filesystem::remove(std::filesystem::u8path(tmp), ec);
    throw;
  }
  ReplaceFile(tmp, path);
}

ImportResult ReadXlsx(std::string_view bytes, const shell::NumberLocale& locale) {
  if (bytes.substr(0, 8) == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
    throw DataError(
        "arquivos .xls (Excel 97-2003) não são lidos. Abra-o na planilha e salve-o como .xlsx, "
        ".ods ou .csv.");
  ZipReader zip(bytes);
  if (zip.Has("xl/workbook.bin"))
    throw DataError(
        "arquivos .xlsb (pasta de trabalho binária) não são lidos. Abra-o na planilha e salve-o "
        "como .xlsx, .ods ou .csv.");
  auto workbookXml = zip.Read("xl/workbook.xml");
  if (!workbookXml) throw DataError("o arquivo não é uma pasta de trabalho do Excel (.xlsx).");

  // The first sheet, the shared strings and the styles, through the relationships.
  pugi::xml_document wbDoc;
  Parse(wbDoc, *workbookXml, "xl/workbook.xml");
  const pugi::xml_node wbRoot = wbDoc.document_element();
  bool date1904 = false;
  if (const char* d = Attr(Child(wbRoot, "workbookPr"), "date1904"))
    date1904 = std::strcmp(d, "1") == 0 || std::strcmp(d, "true") == 0;
  const char* firstSheetId = Attr(Child(Child(wbRoot, "sheets"), "sheet"), "id");

  std::string sheetPath, stringsPath = "xl/sharedStrings.xml", stylesPath = "xl/styles.xml";
  if (auto rels = zip.Read("xl/_rels/workbook.xml.rels")) {
    pugi::xml_document relDoc;
    Parse(relDoc, *rels, "xl/_rels/workbook.xml.rels");
    for (pugi::xml_node r = relDoc.document_element().first_child(); r; r = r.next_sibling()) {
      if (!Is(r, "Relationship")) continue;
      const char* id = Attr(r, "Id");
      const char* type = Attr(r, "Type");
      const char* target = Attr(r, "Target");
      if (!type || !target) continue;
      std::string_view t(type);
      auto endsWith = [&](std::string_view s) {
        return t.size() >= s.size() && t.substr(t.size() - s.size()) == s;
      };
      if (endsWith("/worksheet") && id && firstSheetId && std::strcmp(id, firstSheetId) == 0)
        sheetPath = ResolveTarget("xl/", target);
      else if (endsWith("/sharedStrings"))
        stringsPath = ResolveTarget("xl/", target);
      else if (endsWith("/styles"))
        stylesPath = ResolveTarget("xl/", target);
    }
  }
  if (sheetPath.empty()) sheetPath = "xl/worksheets/sheet1.xml";
  auto sheetXml = zip.Read(sheetPath, kMaxSheetXmlBytes);
  if (!sheetXml) throw DataError("a pasta de trabalho não tem planilhas.");

  Sheet sheet;
  if (auto sst = zip.Read(stringsPath, kMaxSheetXmlBytes)) {
    pugi::xml_document doc;
    Parse(doc, *sst, stringsPath);
    for (pugi::xml_node si = doc.document_element().first_child(); si; si = si.next_sibling()) {
      if (!Is(si, "si")) continue;
      std::string text;
      ItemText(si, text);
      sheet.pool.push_back(std::move(text));
    }
  }
  const std::size_t sharedCount = sheet.pool.size();

  // Cell style index -> shows a date.
  std::vector<bool> dateStyle;
  if (auto styles = zip.Read(stylesPath)) {
    pugi::xml_document doc;
    Parse(doc, *styles, stylesPath);
    const pugi::xml_node root = doc.document_element();
    std::map<std::int64_t, std::string> codes;
    for (pugi::xml_node f = Child(root, "numFmts").first_child(); f; f = f.next_sibling()) {
      std::int64_t id;
      if (Is(f, "numFmt") && ParseIndex(Attr(f, "numFmtId"), id))
        codes[id] = Attr(f, "formatCode") ? Attr(f, "formatCode") : "";
    }
    for (pugi::xml_node xf = Child(root, "cellXfs").first_child(); xf; xf = xf.next_sibling()) {
      if (!Is(xf, "xf")) continue;
      std::int64_t id = 0;
      if (!ParseIndex(Attr(xf, "numFmtId"), id)) id = 0;
      auto it = codes.find(id);
      dateStyle.push_back(id >= 0 && id < 100000 &&
                          IsDateNumberFormat(static_cast<int>(id),
                                             it == codes.end() ? std::string_view() : it->second));
    }
  }

  {
    pugi::xml_document doc;
    Parse(doc, *sheetXml, sheetPath);
    const pugi::xml_node data = Child(doc.document_element(), "sheetData");
    int rowNo = 0;
    for (pugi::xml_node row = data.first_child(); row; row = row.next_sibling()) {
      if (!Is(row, "row")) continue;
      std::int64_t r = 0;
      if (ParseIndex(Attr(row, "r"), r)) {
        if (r < 1 || r > kMaxSheetRows) throw DataError("número de linha inválido na planilha.");
        rowNo = static_cast<int>(r);
      } else {
        ++rowNo;
        if (rowNo > kMaxSheetRows) throw DataError("a planilha tem linhas demais.");
      }
      int colNo = 0;
      for (pugi::xml_node c = row.first_child(); c; c = c.next_sibling()) {
        if (!Is(c, "c")) continue;
        int col = colNo + 1, rr = rowNo;
        if (const char* ref = Attr(c, "r")) {
          if (!ParseRef(ref, col, rr)) throw DataError(std::string("referência de célula inválida: ") + ref + ".");
        } else if (col > kMaxColumns) {
          throw DataError("a planilha tem colunas demais.");
        }
        colNo = col;
        const char* t = Attr(c, "t");
        const std::string_view type = t ? t : "n";
        const pugi::xml_node v = Child(c, "v");
        const char* vtext = v ? v.child_value() : nullptr;
        Cell cell{rr, col, Kind::Text, 0.0, 0};
        if (type == "inlineStr") {
          const pugi::xml_node is = Child(c, "is");
          if (!is) continue;
          std::string text;
          ItemText(is, text);
          if (text.empty()) continue;
          cell.text = static_cast<std::uint32_t>(sheet.pool.size());
          sheet.pool.push_back(std::move(text));
        } else {
          if (!vtext || !*vtext) continue;
          if (type == "s") {
            std::int64_t idx;
            if (!ParseIndex(vtext, idx) || idx < 0 || static_cast<std::size_t>(idx) >= sharedCount)
              throw DataError("índice de texto compartilhado inválido na planilha.");
            cell.text = static_cast<std::uint32_t>(idx);
          } else if (type == "b") {
            cell.kind = Kind::Bool;
            cell.num = std::strcmp(vtext, "1") == 0 || std::strcmp(vtext, "true") == 0 ? 1.0 : 0.0;
          } else if (type == "d") {
            auto d = ParseDateText(vtext);
            if (d) {
              cell.kind = Kind::Date;
              cell.num = *d;
            } else {
              cell.text = static_cast<std::uint32_t>(sheet.pool.size());
              sheet.pool.emplace_back(vtext);
            }
          } else if (type == "n") {
            auto d = ParseDotNumber(shell::Trim(vtext));
            if (!d) throw DataError(std::string("valor numérico inválido na planilha: ") +
                                    std::string(vtext).substr(0, 40) + ".");
            std::int64_t style = 0;
            const bool isDate = ParseIndex(Attr(c, "s"), style) && style >= 0 &&
                                static_cast<std::size_t>(style) < dateStyle.size() &&
                                dateStyle[static_cast<std::size_t>(style)];
            cell.kind = isDate ? Kind::Date : Kind::Number;
            cell.num = isDate ? FromExcelSerial(*d, date1904) : *d;
          } else {  // "str" (a formula's text), "e" (an error such as #DIV/0!)
            cell.text = static_cast<std::uint32_t>(sheet.pool.size());
            sheet.pool.emplace_back(vtext);
          }
        }
        if (sheet.pool.size() > UINT32_MAX / 2 ||
            sheet.cells.size() >= static_cast<std::size_t>(kMaxSheetCells))
          throw DataError("a planilha passa do limite de " + std::to_string(kMaxSheetCells) +
                          " células.");
        sheet.cells.push_back(cell);
      }
    }
  }

  ImportResult result;
  if (sheet.cells.empty()) {
    result.message = "O arquivo selecionado está vazio.";
    return result;
  }
  // The used range: the smallest block holding every cell with a value.
  std::stable_sort(sheet.cells.begin(), sheet.cells.end(), [](const Cell& a, const Cell& b) {
    return a.row != b.row ? a.row < b.row : a.col < b.col;
  });
  int minRow = sheet.cells.front().row, maxRow = sheet.cells.back().row;
  int minCol = kMaxColumns, maxCol = 1;
  for (const Cell& c : sheet.cells) {
    minCol = std::min(minCol, static_cast<int>(c.col));
    maxCol = std::max(maxCol, static_cast<int>(c.col));
  }
  const std::int64_t R = maxRow - minRow + 1, C = maxCol - minCol + 1;
  if (R * C > kMaxSheetCells)
    throw DataError("a área usada da planilha (" + std::to_string(R) + " linhas por " +
                    std::to_string(C) + " colunas) passa do limite de " +
                    std::to_string(kMaxSheetCells) + " células.");

  // Index of the first cell of each row (a later duplicate of a cell wins).
  auto at = [&](std::size_t& i, int row, int col) -> const Cell* {
    while (i < sheet.cells.size() &&
           (sheet.cells[i].row < row || (sheet.cells[i].row == row && sheet.cells[i].col < col)))
      ++i;
    const Cell* found = nullptr;
    while (i < sheet.cells.size() && sheet.cells[i].row == row && sheet.cells[i].col == col)
      found = &sheet.cells[i++];
    return found;
  };

  TableBuilder b;
  std::size_t i = 0;
  std::vector<const Cell*> header(static_cast<std::size_t>(C), nullptr);
  for (int c = 0; c < C; ++c) header[c] = at(i, minRow, minCol + c);
  std::size_t j = i;
  std::vector<const Cell*> sample(static_cast<std::size_t>(C), nullptr);
  if (R > 1)
    for (int c = 0; c < C; ++c) sample[c] = at(j, minRow + 1, minCol + c);
  for (int c = 0; c < C; ++c) {
    std::string name = header[c] ? std::string(shell::Trim(CellTextOf(*header[c], sheet, locale)))
                                 : std::string();
    if (name.empty()) name = "Campo" + std::to_string(c + 1);
    FieldType type = FieldType::ftString;
    if (sample[c] && sample[c]->kind == Kind::Number) type = FieldType::ftFloat;
    if (sample[c] && sample[c]->kind == Kind::Date) type = FieldType::ftDateTime;
    b.AddColumn(std::move(name), type, type == FieldType::ftString ? 255 : 0);
  }
  const char dec = locale.decimalSeparator;
  for (int r = minRow + 1; r <= maxRow; ++r) {
    b.BeginRow();
    for (int c = 0; c < C; ++c) {
      const Cell* cell = at(i, r, minCol + c);
      if (!cell) continue;
      switch (b.Type(c)) {
        case FieldType::ftFloat:
          if (cell->kind == Kind::Number || cell->kind == Kind::Date) {
            b.SetNumber(c, cell->num);
          } else {
            std::string s = CellTextOf(*cell, sheet, locale);
            for (char& ch : s)
              if (ch == ',' || ch == '.') ch = dec;
            if (auto d = ParseLocaleNumber(shell::Trim(s), dec)) b.SetNumber(c, *d);
          }
          break;
        case FieldType::ftDateTime:
          if (cell->kind == Kind::Number || cell->kind == Kind::Date) {
            b.SetNumber(c, cell->kind == Kind::Number ? FromExcelSerial(cell->num, date1904)
                                                      : cell->num);
          } else if (cell->kind == Kind::Text) {
            if (auto d = ParseDateText(sheet.pool[cell->text])) b.SetNumber(c, *d);
          }
          break;
        default:
          b.SetText(c, CellTextOf(*cell, sheet, locale));
      }
    }
    b.CommitRow();
  }
  result.read = true;
  result.table = b.Build();
  result.message = "Importação de Excel concluída: " + std::to_string(R - 1) + " registros.";
  return result;
}

}  // namespace tolmex::data::exchange
