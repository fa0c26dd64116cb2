#include "data/exchange/exchange_common.h"

#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "shell/convert.h"
#include "shell/text_utils.h"

namespace tolmex::data::exchange {

namespace fs = std::filesystem;

std::optional<double> ParseNumberWithPoint(std::string_view text, char point) {
  // Only plain decimal forms: sign, digits with one point, optional exponent.
  const std::size_t n = text.size();
  if (n == 0) return std::nullopt;
  char stack[128];
  std::string heap;
  if (n > sizeof stack) heap.resize(n);
  char* buf = n > sizeof stack ? heap.data() : stack;
  std::size_t i = 0, digits = 0;
  bool hasExp = false, negExp = false;
  if (text[0] == '+' || text[0] == '-') ++i;
  while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < n && text[i] == point) {
    ++i;
    while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1, ed = 0;
    if (j < n && (text[j] == '+' || text[j] == '-')) negExp = text[j] == '-', ++j;
    while (j < n && text[j] >= '0' && text[j] <= '9') ++j, ++ed;
    if (ed == 0) return std::nullopt;
    hasExp = true;
    i = j;
  }
  if (i != n) return std::nullopt;
  // from_chars ignores the C locale, which the GUI toolkit may have changed.
  std::size_t m = 0;
  for (std::size_t k = text[0] == '+' ? 1 : 0; k < n; ++k)
    buf[m++] = text[k] == point ? '.' : text[k];
  double v = 0;
  auto [ptr, ec] = std::from_chars(buf, buf + m, v);
  if (ptr != buf + m) return std::nullopt;
  if (ec == std::errc::result_out_of_range) {
    // Beyond the range of a double: an infinity would spoil every sum of the column, so such a
    // text is not a number. Underflow gives a zero of the same sign.
    if (!(hasExp && negExp)) return std::nullopt;
    v = text[0] == '-' ? -0.0 : 0.0;
  }
  return v;
}

std::optional<double> ParseDotNumber(std::string_view text) {
  return ParseNumberWithPoint(text, '.');
}

std::optional<double> ParseLocaleNumber(std::string_view text, char decimalSeparator) {
  return ParseNumberWithPoint(text, decimalSeparator);
}

std::string ReplaceAll(std::string_view s, char from, char to) {
  std::string out(s);
  for (char& c : out)
    if (c == from) c = to;
  return out;
}

std::string RemoveAll(std::string_view s, char c) {
  std::string out;
  out.reserve(s.size());
  for (char ch : s)
    if (ch != c) out.push_back(ch);
  return out;
}

// ---- TableBuilder ----

void TableBuilder::AddColumn(std::string name, FieldType type, int size) {
  if (table_.FieldIndex(name) >= 0) throw DataError("Nome de campo duplicado: \"" + name + "\".");
  if (table_.FieldCount() >= kMaxColumns)
    throw DataError("A planilha tem mais de " + std::to_string(kMaxColumns) + " colunas.");
  table_.AddField(FieldDef{std::move(name), type, IsNumeric(type) ? 0 : size});
}

void TableBuilder::EnsureOpen() {
  if (!table_.Active()) table_.Open();
}

void TableBuilder::Reserve(std::size_t rows) {
  EnsureOpen();
  table_.Reserve(static_cast<int>(std::min<std::size_t>(rows, static_cast<std::size_t>(kMaxSheetRows) * 4)));
}

void TableBuilder::BeginRow() {
  EnsureOpen();
  if (row_ >= 0) DropRow();
  row_ = table_.AppendRow();
}

void TableBuilder::SetNumber(int col, double v) { table_.SetFloat(row_, col, v); }

void TableBuilder::SetText(int col, std::string_view v) {
  const int size = table_.Field(col).size;
  // Characters only need counting when the bytes exceed the size.
  if (v.size() > static_cast<std::size_t>(size) &&
      shell::Utf8Length(v) > static_cast<std::size_t>(size)) {
    long_.emplace_back(col, std::string(v));
    return;
  }
  table_.SetString(row_, col, v);
}

void TableBuilder::CommitRow() {
  if (row_ < 0) return;
  for (auto& [col, text] : long_) {
    table_.WidenField(col, static_cast<int>(shell::Utf8Length(text)));
    table_.SetString(row_, col, text);
  }
  long_.clear();
  row_ = -1;
  ++committed_;
}

void TableBuilder::DropRow() {
  if (row_ < 0) return;
  long_.clear();
  table_.DeleteRow(row_);
  row_ = -1;
}

DataTable TableBuilder::Build() {
  EnsureOpen();
  if (row_ >= 0) DropRow();
  table_.First();
  DataTable out = std::move(table_);
  table_ = DataTable();
  committed_ = 0;
  return out;
}

// ---- files ----

std::string ReadFileBytes(const std::string& path) {
  std::error_code ec;
  const auto size = fs::file_size(fs::u8path(path), ec);
  if (ec) throw DataError("não foi possível ler o arquivo \"" + path + "\".");
  if (size > kMaxFileBytes)
    throw DataError("o arquivo é grande demais (mais de " +
                    std::to_string(kMaxFileBytes >> 20) + " MB).");
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) throw DataError("não foi possível abrir o arquivo \"" + path + "\".");
  std::string out(static_cast<std::size_t>(size), '\0');
  const std::size_t got = out.empty() ? 0 : std::fread(out.data(), 1, out.size(), f);
  const bool bad = std::ferror(f) != 0;
  std::fclose(f);
  if (bad) throw DataError("erro de leitura no arquivo \"" + path + "\".");
  out.resize(got);
  return out;
}

std::string TemporarySibling(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  return path + ".tmp" + std::to_string(stamp % 1000000007) + "_" + std::to_string(++counter);
}

void ReplaceFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::rename(fs::u8path(from), fs::u8path(to), ec);
  if (ec) {
    fs::remove(fs::u8path(from), ec);
    throw DataError("não foi possível gravar o arquivo \"" + to + "\".");
  }
}

void WriteFileAtomic(const std::string& path, std::string_view bytes) {
  const std::string tmp = TemporarySibling(path);
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) throw DataError("não foi possível criar o arquivo \"" + path + "\".");
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;
  if (!ok) {
    std::error_code ec;
    fs::remove(fs::u8path(tmp), ec);
    throw DataError("erro de escrita no arquivo \"" + path + "\" (disco cheio?).");
  }
  ReplaceFile(tmp, path);
}

// ---- dates ----

namespace {
// Days from 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}
void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}
const std::int64_t kEpoch = DaysFromCivil(1899, 12, 30);

bool ValidDate(int y, int m, int d) {
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= kDays[m - 1] + (m == 2 && leap ? 1 : 0);
}

// Reads 1..maxDigits digits at s[i]; false when there are none.
bool ReadInt(std::string_view s, std::size_t& i, int maxDigits, int& out) {
  int n = 0, v = 0;
  while (i < s.size() && n < maxDigits && s[i] >= '0' && s[i] <= '9') {
    v = v * 10 + (s[i] - '0');
    ++i, ++n;
  }
  out = v;
  return n > 0;
}
}  // namespace

double DateSerial(int year, int month, int day) {
  return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month),
                                           static_cast<unsigned>(day)) -
                             kEpoch);
}

std::optional<DateParts> SplitDateSerial(double serial) {
  if (!std::isfinite(serial)) return std::nullopt;
  // Years 1..9999.
  if (serial < -693593.0 || serial >= 2958466.0) return std::nullopt;
  const double dayPart = std::floor(serial);
  auto day = shell::TryTruncToInt64(dayPart);
  auto secs = shell::TryRoundToInt((serial - dayPart) * 86400.0);
  if (!day || !secs) return std::nullopt;
  std::int64_t days = *day;
  int s = *secs;
  if (s >= 86400) {
    s -= 86400;
    ++days;
  }
  DateParts p{};
  CivilFromDays(days + kEpoch, p.year, p.month, p.day);
  if (p.year < 1 || p.year > 9999) return std::nullopt;
  p.hour = s / 3600;
  p.minute = s / 60 % 60;
  p.second = s % 60;
  return p;
}

std::string FormatDateSerial(double serial, bool withTime) {
  auto p = SplitDateSerial(serial);
  if (!p) return {};
  auto two = [](int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
  };
  std::string y = std::to_string(p->year);
  while (y.size() < 4) y.insert(y.begin(), '0');
  std::string out = two(p->day) + "/" + two(p->month) + "/" + y;
  if (withTime) out += " " + two(p->hour) + ":" + two(p->minute) + ":" + two(p->second);
  return out;
}

std::optional<double> ParseDateText(std::string_view text) {
  std::string_view s = shell::Trim(text);
  std::size_t i = 0;
  int a = 0, b = 0, c = 0, y = 0, m = 0, d = 0;
  if (!ReadInt(s, i, 4, a)) return std::nullopt;
  if (i < s.size() && s[i] == '-' && i == 4) {  // yyyy-mm-dd
    ++i;
    if (!ReadInt(s, i, 2, b) || i >= s.size() || s[i] != '-') return std::nullopt;
    ++i;
    if (!ReadInt(s, i, 2, c)) return std::nullopt;
    y = a, m = b, d = c;
  } else if (i < s.size() && s[i] == '/' && i <= 2) {  // dd/mm/yyyy
    ++i;
    if (!ReadInt(s, i, 2, b) || i >= s.size() || s[i] != '/') return std::nullopt;
    ++i;
    const std::size_t start = i;
    if (!ReadInt(s, i, 4, c) || i - start != 4) return std::nullopt;
    d = a, m = b, y = c;
  } else {
    return std::nullopt;
  }
  if (!ValidDate(y, m, d)) return std::nullopt;
  double serial = DateSerial(y, m, d);
  if (i == s.size()) return serial;
  if (s[i] != ' ' && s[i] != 'T') return std::nullopt;
  ++i;
  int hh = 0, nn = 0, ss = 0;
  if (!ReadInt(s, i, 2, hh) || i >= s.size() || s[i] != ':') return std::nullopt;
  ++i;
  if (!ReadInt(s, i, 2, nn)) return std::nullopt;
  if (i < s.size() && s[i] == ':') {
    ++i;
    if (!ReadInt(s, i, 2, ss)) return std::nullopt;
    // Fractions of a second are dropped.
    if (i < s.size() && s[i] == '.') {
      ++i;
      while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    }
  }
  if (i < s.size() && s[i] == 'Z') ++i;
  if (i != s.size() || hh > 23 || nn > 59 || ss > 59) return std::nullopt;
  return serial + (hh * 3600 + nn * 60 + ss) / 86400.0;
}

namespace {

// Memory the parsed tree of `xml` will take, from its count of elements (each may bring a text
// node as well) and of attributes ('=' signs): small elements in great number, as in a forged
// file, would need far more memory than the text itself.
std::size_t TreeBytesEstimate(std::string_view xml) {
  constexpr std::size_t kNodeBytes = 64, kAttributeBytes = 40;
  std::size_t elements = 0, equals = 0;
  for (std::size_t i = 0; i < xml.size(); ++i) {
    const char c = xml[i];
    if (c == '<') {
      const char next = i + 1 < xml.size() ? xml[i + 1] : '\0';
      if (next != '/' && next != '!' && next != '?') ++elements;
    } else if (c == '=') {
      ++equals;
    }
  }
  return elements * 2 * kNodeBytes + equals * kAttributeBytes;
}

}  // namespace

void CheckXmlTreeFits(std::string_view xml) {
  if (TreeBytesEstimate(xml) > kMaxXmlTreeBytes)
    throw DataError("a planilha é grande demais para ser lida (seriam precisos mais de " +
                    std::to_string(kMaxXmlTreeBytes >> 30) + " GB de memória).");
}

std::string XmlSafeText(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char ch : s) {
    const auto u = static_cast<unsigned char>(ch);
    if (u < 0x20 && ch != '\t' && ch != '\n' && ch != '\r') continue;
    out.push_back(ch);
  }
  return out;
}

}  // namespace tolmex::data::exchange
