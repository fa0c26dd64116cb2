#include "anova/scratch_table.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <unordered_map>

#include "data/data_table.h"
#include "shell/text_utils.h"

namespace tolmex::anova {

const char* const ScratchTable::kTooManyColumnsMessage =
    "Tolmex não suporta arquivos com mais de 60 colunas\rPara fins de análise de variância!\r"
    "Quebre seu arquivo em dois, ou mais arquivos com parte das variáveis!";

namespace {

// Dense ascending ranks of the values of a column: distinct values are collected with a
// hash table (a table has few levels and many rows), sorted, and numbered.
template <typename T, typename Hash, typename Eq, typename Less>
std::int32_t RankValues(const std::vector<T>& values, std::vector<std::int32_t>& code, Hash hash,
                        Eq eq, Less less) {
  const std::size_t n = values.size();
  std::unordered_map<T, std::int32_t, Hash, Eq> first(16, hash, eq);
  std::vector<const T*> distinct;
  code.assign(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    auto [it, inserted] = first.try_emplace(values[i], static_cast<std::int32_t>(distinct.size()));
    if (inserted) distinct.push_back(&it->first);
    code[i] = it->second;
  }
  std::vector<std::int32_t> byValue(distinct.size());
  std::iota(byValue.begin(), byValue.end(), 0);
  std::sort(byValue.begin(), byValue.end(),
            [&](std::int32_t x, std::int32_t y) { return less(*distinct[x], *distinct[y]); });
  std::vector<std::int32_t> rank(distinct.size());
  for (std::size_t r = 0; r < byValue.size(); ++r) rank[static_cast<std::size_t>(byValue[r])] = static_cast<std::int32_t>(r);
  for (auto& c : code) c = rank[static_cast<std::size_t>(c)];
  return static_cast<std::int32_t>(distinct.size());
}

// Numbers compare by value: -0 equals 0, and every NaN is one level placed after the numbers.
struct NumHash {
  std::size_t operator()(double x) const {
    if (x == 0) x = 0;
    if (x != x) return 0x9e3779b9u;
    return std::hash<double>()(x);
  }
};
struct NumEq {
  bool operator()(double a, double b) const { return a == b || (a != a && b != b); }
};

}  // namespace

bool ScratchTable::CopyFrom(const data::DataTable& table) {
  Clear();
  if (table.FieldCount() > kMaxScratchColumns) return false;
  rows_ = table.Active() ? table.RecordCount() : 0;
  cols_.resize(static_cast<std::size_t>(table.FieldCount()));
  for (int c = 0; c < table.FieldCount(); ++c) {
    Column& col = cols_[static_cast<std::size_t>(c)];
    col.text = !data::IsNumeric(table.DataType(c));
    col.empty.resize(static_cast<std::size_t>(rows_));
    if (col.text) {
      col.str.resize(static_cast<std::size_t>(rows_));
      for (int r = 0; r < rows_; ++r) {
        const bool e = table.IsNull(r, c);
        col.empty[static_cast<std::size_t>(r)] = e;
        if (!e) {
          const std::string& text = table.GetString(r, c);
          // Texts of at most 30 bytes have at most 30 characters: no cut needed.
          col.str[static_cast<std::size_t>(r)] =
              text.size() <= static_cast<std::size_t>(kScratchTextLength) ? text
                                                                          : shell::Utf8Left(text, kScratchTextLength);
        }
      }

    } else {
      col.num.resize(static_cast<std::size_t>(rows_));
      for (int r = 0; r < rows_; ++r) {
        const bool e = table.IsNull(r, c);
        col.empty[static_cast<std::size_t>(r)] = e;
        col.num[static_cast<std::size_t>(r)] = e ? 0.0 : table.GetFloat(r, c);
      }
    }
  }
  Unrestrict();
  return true;
}

// Level codes are computed the first time a column is used as a factor.
const ScratchTable::Column& ScratchTable::Coded(int column) const {
  const Column& col = cols_.at(static_cast<std::size_t>(column));
  if (!col.coded) {
    if (col.text) {
      // Ordinal comparison of the bytes (UTF-8 keeps code-point order).
      col.levels = RankValues(col.str, col.code, std::hash<std::string>(), std::equal_to<std::string>(),
                              [](const std::string& a, const std::string& b) { return a < b; });
    } else {
      col.levels = RankValues(col.num, col.code, NumHash(), NumEq(), [](double a, double b) {
        const bool na = a != a, nb = b != b;
        if (na || nb) return !na && nb;
        return a < b;
      });
    }
    col.coded = true;
  }
  return col;
}

void ScratchTable::Clear() {
  cols_.clear();
  rows_ = 0;
  order_.clear();
}

void ScratchTable::Restrict(const std::vector<std::uint8_t>& include) {
  if (include.size() != static_cast<std::size_t>(rows_))
    throw std::invalid_argument("ScratchTable::Restrict: wrong mask size");
  order_.clear();
  for (int r = 0; r < rows_; ++r)
    if (include[static_cast<std::size_t>(r)]) order_.push_back(r);
}

void ScratchTable::Unrestrict() {
  order_.resize(static_cast<std::size_t>(rows_));
  std::iota(order_.begin(), order_.end(), 0);
}

void ScratchTable::OrderByFactors(std::span<const int> columns) {
  if (columns.empty() || order_.size() < 2) return;
  // Least-significant-first stable counting sorts: the result is ordered by the first
  // column, then the second, ... and keeps the previous order between equal keys.
  std::vector<std::int32_t> tmp(order_.size());
  std::vector<std::int32_t> count;
  for (auto it = columns.rbegin(); it != columns.rend(); ++it) {
    const Column& col = Coded(*it);
    count.assign(static_cast<std::size_t>(col.levels) + 1, 0);
    for (std::int32_t row : order_) ++count[static_cast<std::size_t>(col.code[row]) + 1];
    for (std::size_t l = 1; l < count.size(); ++l) count[l] += count[l - 1];
    for (std::int32_t row : order_) tmp[static_cast<std::size_t>(count[col.code[row]]++)] = row;
    order_.swap(tmp);
  }
}

Var_arq_ord ScratchTable::ReadCell(int record, int column) const {
  const Column& col = cols_.at(static_cast<std::size_t>(column));
  const std::size_t row = static_cast<std::size_t>(RowOf(record));
  Var_arq_ord cell;
  if (col.text) {
    cell.tipo = 2;
    cell.v2 = col.str[row];
  } else {
    cell.tipo = 1;
    cell.v1 = col.num[row];
  }
  return cell;
}

double ScratchTable::Number(int record, int column) const {
  return NumberByRow(RowOf(record), column);
}

double ScratchTable::NumberByRow(int row, int column) const {
  const Column& col = cols_.at(static_cast<std::size_t>(column));
  return col.text ? 0.0 : col.num.at(static_cast<std::size_t>(row));
}

const std::string& ScratchTable::Text(int record, int column) const {
  static const std::string kEmpty;
  const Column& col = cols_.at(static_cast<std::size_t>(column));
  return col.text ? col.str.at(static_cast<std::size_t>(RowOf(record))) : kEmpty;
}

bool ScratchTable::IsEmpty(int record, int column) const {
  return cols_.at(static_cast<std::size_t>(column)).empty.at(static_cast<std::size_t>(RowOf(record)));
}

std::int32_t ScratchTable::LevelCode(int record, int column) const {
  return Coded(column).code.at(static_cast<std::size_t>(RowOf(record)));
}

std::int32_t ScratchTable::LevelCount(int column) const { return Coded(column).levels; }

const std::vector<std::int32_t>& ScratchTable::CodesByRow(int column) const { return Coded(column).code; }

}  // namespace tolmex::anova
