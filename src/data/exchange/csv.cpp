#include "data/exchange/csv.h"

#include <algorithm>
#include <deque>
#include <vector>

#include "shell/text_utils.h"

namespace tolmex::data::exchange {

namespace {

// A name holding a separator candidate, a quote or a line break is quoted, so that it can
// neither split the header nor sway the separator vote.
bool NeedsQuotes(std::string_view name) {
  return name.find_first_of(";,\t|\"\r\n") != std::string_view::npos;
}

void AppendQuoted(std::string& out, std::string_view s) {
  out.push_back('"');
  for (char c : s) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

// Offset of the first byte that breaks UTF-8, or npos.
std::size_t FirstInvalidUtf8(std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t len;
    unsigned cp;
    if ((c & 0xE0) == 0xC0) {
      len = 2, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4, cp = c & 0x07;
    } else {
      return i;
    }
    if (i + len > n) return i;
    for (std::size_t k = 1; k < len; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) return i;
      cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF.
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
        cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      return i;
    i += len;
  }
  return std::string_view::npos;
}

// Splits the text into records of fields. A field that starts with a double quote runs to
// its closing quote (a doubled quote reads as one) and may hold the separator and line
// breaks; a quote never closed before the end of the file ends at the end of its line, and
// from then on quotes no longer span lines. Fields are views into the text, or into the
// scanner's own buffers for fields whose quotes had to be taken out.
class CsvScanner {
 public:
  CsvScanner(std::string_view text, char sep) : s_(text), sep_(sep) {}

  // Next record; false at the end of the text. `raw` is the record's text. The views stay
  // valid until the next call.
  bool Next(std::vector<std::string_view>& fields, std::string_view& raw) {
    const std::size_t n = s_.size();
    if (p_ >= n) return false;
    const std::size_t start = p_;
    fields.clear();
    used_ = 0;
    for (;;) {
      fields.push_back(ReadField());
      if (p_ < n && s_[p_] == sep_) {
        ++p_;
        continue;
      }
      // End of line or of text.
      raw = s_.substr(start, p_ - start);
      if (p_ < n && s_[p_] == '\r') {
        ++p_;
        if (p_ < n && s_[p_] == '\n') ++p_;
      } else if (p_ < n && s_[p_] == '\n') {
        ++p_;
      }
      return true;
    }
  }

 private:
  static bool IsEol(char c) { return c == '\r' || c == '\n'; }

  std::string& Buffer() {
    if (used_ == buffers_.size()) buffers_.emplace_back();
    std::string& b = buffers_[used_++];
    b.clear();
    return b;
  }

  std::string_view ReadField() {
    const std::size_t n = s_.size();
    if (p_ < n && s_[p_] == '"') return ReadQuoted();
    const std::size_t start = p_;
    bool quotes = false;
    while (p_ < n) {
      const char c = s_[p_];
      if (c == sep_ || IsEol(c)) break;
      quotes = quotes || c == '"';
      ++p_;
    }
    std::string_view v = s_.substr(start, p_ - start);
    if (!quotes) return v;
    // Stray quotes in an unquoted field are dropped.
    std::string& f = Buffer();
    for (char c : v)
      if (c != '"') f.push_back(c);
    return f;
  }

  std::string_view ReadQuoted() {
    const std::size_t n = s_.size();
    const std::size_t open = p_;
    std::string& f = Buffer();
    bool closed = false;
    std::size_t q = open + 1;
    while (q < n) {
      const char c = s_[q];
      if (c == '"') {
        if (q + 1 < n && s_[q + 1] == '"') {
          f.push_back('"');
          q += 2;
          continue;
        }
        closed = true;
        ++q;
        break;
      }
      if (lineMode_ && IsEol(c)) break;
      f.push_back(c);
      ++q;
    }
    if (!closed && q >= n && !lineMode_) {
      // Never closed: read it again as ending at the end of its line.
      lineMode_ = true;
      --used_;
      return ReadQuoted();
    }
    p_ = q;
    // What follows the closing quote up to the separator belongs to the field too.
    while (p_ < n) {
      const char c = s_[p_];
      if (c == sep_ || IsEol(c)) break;
      if (c != '"') f.push_back(c);
      ++p_;
    }
    return f;
  }

  std::string_view s_;
  char sep_;
  std::size_t p_ = 0;
  bool lineMode_ = false;
  std::deque<std::string> buffers_;  // stable addresses while a record grows
  std::size_t used_ = 0;
};

}  // namespace

char VoteCsvSeparator(std::string_view firstLine) {
  // Characters inside a quoted field are text, not separators.
  std::size_t counts[4] = {0, 0, 0, 0};
  const char candidates[] = {';', ',', '\t', '|'};
  bool quoted = false, justClosed = false, fieldStart = true;
  for (char ch : firstLine) {
    if (quoted) {
      if (ch == '"') quoted = false, justClosed = true;
      continue;
    }
    if (ch == '"' && (fieldStart || justClosed)) {  // opening, or a doubled quote
      quoted = true;
      fieldStart = justClosed = false;
      continue;
    }
    fieldStart = justClosed = false;
    for (int i = 0; i < 4; ++i)
      if (ch == candidates[i]) {
        ++counts[i];
        fieldStart = true;
      }
  }
  char best = ';';
  std::size_t bestCount = 0;
  for (int i = 0; i < 4; ++i)
    if (counts[i] > bestCount) best = candidates[i], bestCount = counts[i];
  return best;
}

std::string WriteCsv(const DataTable& table) {
  std::string out = "\xEF\xBB\xBF";
  const int cols = table.FieldCount();
  for (int c = 0; c < cols; ++c) {
    if (c > 0) out.push_back(';');
    const std::string& name = table.FieldName(c);
    if (NeedsQuotes(name))
      AppendQuoted(out, name);
    else
      out += name;
  }
  out += "\r\n";
  const int rows = table.Active() ? table.RecordCount() : 0;
  // A date column carries the time of day only when some cell has one.
  std::vector<bool> withTime(static_cast<std::size_t>(cols), false);
  for (int c = 0; c < cols; ++c) {
    if (table.DataType(c) != FieldType::ftDateTime) continue;
    for (int r = 0; r < rows && !withTime[c]; ++r) {
      if (table.IsNull(r, c)) continue;
      const double v = table.GetFloat(r, c);
      auto p = SplitDateSerial(v);
      if (p && (p->hour || p->minute || p->second)) withTime[c] = true;
    }
  }
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      if (c > 0) out.push_back(';');
      if (table.IsNull(r, c)) continue;
      switch (table.DataType(c)) {
        case FieldType::ftString:
          AppendQuoted(out, table.GetString(r, c));
          break;
        case FieldType::ftDateTime: {
          std::string d = FormatDateSerial(table.GetFloat(r, c), withTime[c]);
          out += d.empty() ? ReplaceAll(table.AsString(r, c), '.', ',') : d;
          break;
        }
        default:
          out += ReplaceAll(table.AsString(r, c), '.', ',');
      }
    }
    out += "\r\n";
  }
  return out;
}

ImportResult ReadCsv(std::string_view bytes) {
  std::string_view text = bytes;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (const std::size_t bad = FirstInvalidUtf8(text); bad != std::string_view::npos) {
    const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(bad), '\n');
    throw DataError("o arquivo não é um texto UTF-8 válido (byte inválido na linha " +
                    std::to_string(line) + "). Salve-o com a codificação UTF-8.");
  }
  ImportResult result;
  const std::size_t eol = text.find_first_of("\r\n");
  const char sep = VoteCsvSeparator(text.substr(0, eol));

  CsvScanner scan(text, sep);
  std::vector<std::string_view> fields;
  std::string_view raw;
  // The header; a text of blank lines only holds nothing to import.
  if (shell::Trim(text).empty() || !scan.Next(fields, raw)) return result;

  std::vector<std::string> names;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    std::string name(shell::Trim(fields[i]));
    if (name.empty()) name = "Campo" + std::to_string(i + 1);
    names.push_back(std::move(name));
  }
  // The records after the header; the first non-blank one is the sample of the types.
  bool haveSample = false;
  while (scan.Next(fields, raw)) {
    if (shell::Trim(raw).empty()) continue;
    haveSample = true;
    break;
  }
  TableBuilder b;
  for (std::size_t i = 0; i < names.size(); ++i) {
    FieldType type = FieldType::ftString;
    if (haveSample && i < fields.size()) {
      std::string_view v = shell::Trim(fields[i]);
      // With ";" between fields a "," in the sample is a decimal point.
      const bool comma = sep == ';' && v.find('.') == std::string_view::npos;
      if (!v.empty() && ParseNumberWithPoint(v, comma ? ',' : '.')) type = FieldType::ftFloat;
    }
    b.AddColumn(names[i], type, type == FieldType::ftString ? 100 : 0);
  }
  // Room for about as many rows as the text has line ends.
  b.Reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  const std::size_t ncols = static_cast<std::size_t>(b.ColumnCount());
  std::vector<bool> numeric(ncols);
  for (std::size_t i = 0; i < ncols; ++i) numeric[i] = b.Type(static_cast<int>(i)) == FieldType::ftFloat;
  bool more = haveSample;
  while (more) {
    b.BeginRow();
    bool any = false;
    const std::size_t m = std::min(fields.size(), ncols);
    for (std::size_t i = 0; i < m; ++i) {
      std::string_view v = shell::Trim(fields[i]);
      if (v.empty()) continue;
      any = true;
      const int col = static_cast<int>(i);
      if (numeric[i]) {
        // "," reads as a decimal point whatever the separator.
        auto d = v.find('.') == std::string_view::npos ? ParseNumberWithPoint(v, ',')
                                                        : ParseNumberWithPoint(v, '.');
        if (d) b.SetNumber(col, *d);
      } else {
        b.SetText(col, v);
      }
    }
    if (any)
      b.CommitRow();
    else
      b.DropRow();
    if (b.RowCount() > static_cast<std::size_t>(INT32_MAX / 2))
      throw DataError("o arquivo tem linhas demais.");
    more = false;
    while (scan.Next(fields, raw)) {
      if (shell::Trim(raw).empty()) continue;
      more = true;
      break;
    }
  }
  result.read = true;
  result.table = b.Build();
  result.message = std::string("Importado com sucesso usando separador [\"") + sep + "\"]";
  return result;
}

}  // namespace tolmex::data::exchange
