#include "data/data_table.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <cctype>
#include <cstdlib>

#include "shell/format.h"
#include "shell/text_utils.h"

namespace tolmex::data {

namespace {
const std::string kEmpty;
// Change stamps are unique across tables, so that a table moved into another never
// carries a stamp that was seen before.
std::atomic<std::uint64_t> g_stamp{0};
std::uint64_t NextStamp() { return ++g_stamp; }
}  // namespace

void DataTable::ClearFields() {
  changes_ = NextStamp();
  if (active_) Close();
  defs_.clear();
  cols_.clear();
}

void DataTable::AddField(FieldDef def) {
  changes_ = NextStamp();
  if (active_) throw DataError("A tabela está aberta: não é possível alterar os campos.");
  if (def.type == FieldType::ftString && def.size <= 0) def.size = 30;
  defs_.push_back(std::move(def));
}

void DataTable::SetFields(std::vector<FieldDef> defs) {
  ClearFields();
  for (auto& d : defs) AddField(std::move(d));
}

void DataTable::RenameField(int col, std::string name) {
  if (col < 0 || col >= FieldCount()) throw DataError("Posição fora da tabela.");
  changes_ = NextStamp();
  defs_[static_cast<std::size_t>(col)].name = std::move(name);
}

int DataTable::FieldIndex(std::string_view name) const {
  for (std::size_t i = 0; i < defs_.size(); ++i)
    if (defs_[i].name == name) return static_cast<int>(i);
  return -1;
}

void DataTable::WidenField(int col, int size) {
  if (col < 0 || col >= FieldCount()) throw DataError("Posição fora da tabela.");
  FieldDef& d = defs_[static_cast<std::size_t>(col)];
  if (d.type == FieldType::ftString && size > d.size) d.size = size;
}

void DataTable::Open() {
  changes_ = NextStamp();
  if (active_) return;
  cols_.assign(defs_.size(), Column{});
  rows_ = 0;
  active_ = true;
  state_ = State::dsBrowse;
  pending_.clear();
  First();
}

void DataTable::Close() {
  changes_ = NextStamp();
  cols_.clear();
  rows_ = 0;
  active_ = false;
  state_ = State::dsBrowse;
  pending_.clear();
  cursor_ = 0;
  eof_ = bof_ = true;
}

void DataTable::CheckActive() const {
  if (!active_) throw DataError("A tabela não está aberta.");
}

void DataTable::CheckCell(int row, int col) const {
  CheckActive();
  if (row < 0 || row >= rows_ || col < 0 || col >= FieldCount())
    throw DataError("Posição fora da tabela.");
}

bool DataTable::IsNull(int row, int col) const {
  CheckCell(row, col);
  return cols_[col].null[row] != 0;
}

double DataTable::GetFloat(int row, int col) const {
  CheckCell(row, col);
  const Column& c = cols_[col];
  return c.num.empty() ? 0.0 : c.num[row];
}

const std::string& DataTable::GetString(int row, int col) const {
  CheckCell(row, col);
  const Column& c = cols_[col];
  return c.text.empty() ? kEmpty : c.text[row];
}

CellValue DataTable::Get(int row, int col) const {
  CheckCell(row, col);
  if (cols_[col].null[row]) return std::monostate{};
  if (IsNumeric(defs_[col].type)) return cols_[col].num[row];
  return cols_[col].text[row];
}

void DataTable::SetNull(int row, int col) {
  changes_ = NextStamp();
  CheckCell(row, col);
  Column& c = cols_[col];
  c.null[row] = 1;
  if (!c.num.empty()) c.num[row] = 0.0;
  if (!c.text.empty()) c.text[row].clear();
}

void DataTable::SetFloat(int row, int col, double v) {
  changes_ = NextStamp();
  CheckCell(row, col);
  if (!IsNumeric(defs_[col].type)) {
    SetString(row, col, shell::FormatGeneral(v));
    return;
  }
  cols_[col].num[row] = v;
  cols_[col].null[row] = 0;
}

void DataTable::SetString(int row, int col, std::string_view v) {
  changes_ = NextStamp();
  CheckCell(row, col);
  if (IsNumeric(defs_[col].type)) {
    auto d = ParseDecimal(v);
    if (!d) {
      if (shell::Trim(v).empty()) {
        SetNull(row, col);
        return;
      }
      throw DataError("'" + std::string(v) + "' não é um valor numérico válido.");
    }
    SetFloat(row, col, *d);
    return;
  }
  Column& c = cols_[col];
  const int size = defs_[col].size;
  c.text[row] = size > 0 ? shell::Utf8Left(v, static_cast<std::size_t>(size)) : std::string(v);
  c.null[row] = 0;
}

void DataTable::Set(int row, int col, const CellValue& v) {
  if (std::holds_alternative<std::monostate>(v))
    SetNull(row, col);
  else if (auto* d = std::get_if<double>(&v))
    SetFloat(row, col, *d);
  else
    SetString(row, col, std::get<std::string>(v));
}

std::string DataTable::AsString(int row, int col) const {
  if (IsNull(row, col)) return {};
  if (IsNumeric(defs_[col].type)) return shell::FormatGeneral(cols_[col].num[row]);
  return cols_[col].text[row];
}

double DataTable::AsFloat(int row, int col) const {
  if (IsNull(row, col)) return 0.0;
  if (IsNumeric(defs_[col].type)) return cols_[col].num[row];
  const std::string& s = cols_[col].text[row];
  auto d = ParseDecimal(s);
  if (!d) throw DataError("'" + s + "' não é um valor numérico válido.");
  return *d;
}

int DataTable::AppendRow() {
  changes_ = NextStamp();
  CheckActive();
  for (std::size_t i = 0; i < cols_.size(); ++i) {
    Column& c = cols_[i];
    if (IsNumeric(defs_[i].type))
      c.num.push_back(0.0);
    else
      c.text.emplace_back();
    c.null.push_back(1);
  }
  return rows_++;
}

void DataTable::InsertRow(int row) {
  changes_ = NextStamp();
  CheckActive();
  if (row < 0 || row > rows_) throw DataError("Posição fora da tabela.");
  for (std::size_t i = 0; i < cols_.size(); ++i) {
    Column& c = cols_[i];
    if (IsNumeric(defs_[i].type))
      c.num.insert(c.num.begin() + row, 0.0);
    else
      c.text.insert(c.text.begin() + row, std::string());
    c.null.insert(c.null.begin() + row, 1);
  }
  ++rows_;
}

void DataTable::DeleteRow(int row) {
  changes_ = NextStamp();
  CheckCell(row, 0 < FieldCount() ? 0 : -1);
  for (std::size_t i = 0; i < cols_.size(); ++i) {
    Column& c = cols_[i];
    if (!c.num.empty()) c.num.erase(c.num.begin() + row);
    if (!c.text.empty()) c.text.erase(c.text.begin() + row);
    c.null.erase(c.null.begin() + row);
  }
  --rows_;
  if (cursor_ >= rows_) cursor_ = rows_ > 0 ? rows_ - 1 : 0;
  eof_ = bof_ = rows_ == 0;
}

void DataTable::Reserve(int rows) {
  if (rows <= 0) return;
  for (std::size_t i = 0; i < cols_.size(); ++i) {
    Column& c = cols_[i];
    if (IsNumeric(defs_[i].type))
      c.num.reserve(static_cast<std::size_t>(rows));
    else
      c.text.reserve(static_cast<std::size_t>(rows));
    c.null.reserve(static_cast<std::size_t>(rows));
  }
}

// ---- cursor ----

void DataTable::MoveTo(int row) {
  if (state_ != State::dsBrowse) Post();
  if (rows_ == 0) {
    cursor_ = 0;
    eof_ = bof_ = true;
    return;
  }
  cursor_ = row < 0 ? 0 : (row >= rows_ ? rows_ - 1 : row);
}

void DataTable::First() {
  MoveTo(0);
  bof_ = true;
  eof_ = rows_ == 0;
}

void DataTable::Last() {
  MoveTo(rows_ - 1);
  eof_ = true;
  bof_ = rows_ == 0;
}

void DataTable::Next() {
  if (state_ != State::dsBrowse) Post();
  bof_ = false;
  if (rows_ == 0 || cursor_ >= rows_ - 1) {
    eof_ = true;
    return;
  }
  ++cursor_;
  eof_ = false;
}

void DataTable::Prior() {
  if (state_ != State::dsBrowse) Post();
  eof_ = false;
  if (cursor_ <= 0) {
    bof_ = true;
    return;
  }
  --cursor_;
  bof_ = false;
}

void DataTable::SetRecNo(int recNo) {
  MoveTo(recNo - 1);
  eof_ = rows_ == 0;
  bof_ = rows_ == 0;
}

// ---- edit state ----

DataTable::State DataTable::GetState() const { return active_ ? state_ : State::dsInactive; }

void DataTable::Edit() {
  CheckActive();
  if (state_ != State::dsBrowse) return;
  if (rows_ == 0) {
    Append();
    return;
  }
  pending_.assign(defs_.size(), std::nullopt);
  state_ = State::dsEdit;
}

void DataTable::Append() {
  CheckActive();
  if (state_ != State::dsBrowse) Post();
  cursor_ = AppendRow();
  eof_ = bof_ = false;
  pending_.assign(defs_.size(), std::nullopt);
  state_ = State::dsInsert;
}

void DataTable::Post() {
  if (state_ == State::dsBrowse) return;
  // Validate every pending value before writing any of them.
  std::vector<std::optional<CellValue>> pending;
  pending.swap(pending_);
  state_ = State::dsBrowse;
  for (std::size_t c = 0; c < pending.size(); ++c)
    if (pending[c]) Set(cursor_, static_cast<int>(c), *pending[c]);
}

void DataTable::Cancel() {
  if (state_ == State::dsInsert) {
    state_ = State::dsBrowse;
    pending_.clear();
    DeleteRow(cursor_);
    return;
  }
  state_ = State::dsBrowse;
  pending_.clear();
}

CellValue DataTable::CurrentValue(int col) const {
  CheckActive();
  if (state_ != State::dsBrowse && col >= 0 && col < static_cast<int>(pending_.size()) &&
      pending_[col])
    return *pending_[col];
  if (rows_ == 0) return std::monostate{};
  return Get(cursor_, col);
}

void DataTable::SetCurrentValue(int col, const CellValue& v) {
  CheckActive();
  if (col < 0 || col >= FieldCount()) throw DataError("Posição fora da tabela.");
  if (state_ == State::dsBrowse) Edit();
  // Numeric columns accept only numbers: check the text now, so Post cannot fail later.
  if (auto* s = std::get_if<std::string>(&v); s && IsNumeric(defs_[col].type)) {
    if (shell::Trim(*s).empty()) {
      pending_[col] = CellValue{};
      return;
    }
    auto d = ParseDecimal(*s);
    if (!d) throw DataError("'" + *s + "' não é um valor numérico válido.");
    pending_[col] = *d;
    return;
  }
  pending_[col] = v;
}

std::optional<double> ParseDecimal(std::string_view text) {
  std::string s(shell::Trim(text));
  if (s.empty()) return std::nullopt;
  for (char& ch : s)
    if (ch == ',') ch = '.';
  // Only plain decimal forms: sign, digits, one point, optional exponent.
  std::size_t i = 0, digits = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    std::size_t ed = 0;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j, ++ed;
    if (ed == 0) return std::nullopt;
    i = j;
  }
  if (i != s.size()) return std::nullopt;
  // from_chars ignores the C locale, which the GUI toolkit may have changed.
  const char* b = s.c_str();
  if (*b == '+') ++b;
  double v = 0;
  auto [ptr, ec] = std::from_chars(b, s.c_str() + s.size(), v);
  if (ptr != s.c_str() + s.size()) return std::nullopt;
  if (ec == std::errc::result_out_of_range) {
    // Overflow and underflow: keep the sign, like strtod.
    v = (s.find_first_of("eE") != std::string::npos && s[s.find_first_of("eE") + 1] == '-')
            ? 0.0
            : HUGE_VAL;
    if (s[0] == '-') v = -v;
  }
  return v;
}

}  // namespace tolmex::data
