#include "data/table_convert.h"

#include <set>

#include "shell/text_utils.h"

namespace tolmex::data {

void CheckFieldNames(const std::vector<FieldDef>& defs) {
  if (defs.empty()) throw DataError("A tabela não tem campos.");
  std::set<std::string> seen;
  for (const FieldDef& d : defs) {
    if (d.name.empty()) throw DataError("Nome de campo vazio.");
    if (!seen.insert(d.name).second) throw DataError("Nome de campo duplicado: " + d.name);
  }
}

std::optional<double> ParseCellNumber(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c == ',') c = '.';
  return ParseDecimal(shell::Trim(s));
}

namespace {

DataTable OpenTable(const std::vector<FieldDef>& defs, int rows) {
  DataTable t;
  t.SetFields(defs);
  t.Open();
  t.Reserve(rows);
  for (int r = 0; r < rows; ++r) t.AppendRow();
  return t;
}

}  // namespace

DataTable ConvertForSaveAs(const DataTable& src, int currentRow) {
  std::vector<FieldDef> defs;
  const bool hasRow = currentRow >= 0 && currentRow < src.RecordCount();
  for (int c = 0; c < src.FieldCount(); ++c) {
    FieldDef d{src.FieldName(c), FieldType::ftString, 100};
    if (hasRow && ParseCellNumber(src.AsString(currentRow, c))) d = {d.name, FieldType::ftFloat, 0};
    defs.push_back(d);
  }
  DataTable out = OpenTable(defs, src.RecordCount());
  for (int c = 0; c < src.FieldCount(); ++c) {
    const bool toNum = defs[c].type == FieldType::ftFloat;
    const bool fromNum = IsNumeric(src.DataType(c));
    for (int r = 0; r < src.RecordCount(); ++r) {
      if (src.IsNull(r, c)) continue;
      if (toNum && fromNum) {
        out.SetFloat(r, c, src.GetFloat(r, c));
      } else if (toNum) {
        if (auto v = ParseCellNumber(src.GetString(r, c))) out.SetFloat(r, c, *v);
      } else {
        out.SetString(r, c, src.AsString(r, c));
      }
    }
  }
  out.First();
  return out;
}

DataTable ConvertColumnType(const DataTable& src, int col, bool toNumeric) {
  if (col < 0 || col >= src.FieldCount()) throw DataError("Posição fora da tabela.");
  std::vector<FieldDef> defs = src.FieldDefs();
  defs[col] = toNumeric ? FieldDef{defs[col].name, FieldType::ftFloat, 0}
                        : FieldDef{defs[col].name, FieldType::ftString, 100};
  std::vector<int> from(defs.size());
  for (std::size_t i = 0; i < from.size(); ++i) from[i] = static_cast<int>(i);
  from[col] = -1;
  DataTable out = RebuildTable(src, defs, from);
  for (int r = 0; r < src.RecordCount(); ++r) {
    if (toNumeric) {
      auto v = src.IsNull(r, col) ? std::nullopt : ParseCellNumber(src.AsString(r, col));
      out.SetFloat(r, col, v ? *v : 0.0);
    } else {
      out.SetString(r, col, src.AsString(r, col));
    }
  }
  return out;
}

DataTable RebuildTable(const DataTable& src, const std::vector<FieldDef>& defs,
                       const std::vector<int>& from) {
  if (from.size() != defs.size()) throw DataError("Lista de campos inconsistente.");
  CheckFieldNames(defs);
  DataTable out = OpenTable(defs, src.RecordCount());
  for (std::size_t i = 0; i < defs.size(); ++i) {
    const int s = from[i];
    if (s < 0) continue;
    if (s >= src.FieldCount()) throw DataError("Posição fora da tabela.");
    const int c = static_cast<int>(i);
    for (int r = 0; r < src.RecordCount(); ++r) out.Set(r, c, src.Get(r, s));
  }
  out.First();
  return out;
}

}  // namespace tolmex::data
