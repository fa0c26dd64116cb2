#pragma once
// Small builders shared by the analysis-of-variance tests.
#include <initializer_list>
#include <string>
#include <vector>

#include "data/data_table.h"

namespace tolmex::anova::testdata {

struct Col {
  Col(std::string n, std::initializer_list<double> v) : name(std::move(n)), num(v) {}
  Col(std::string n, std::initializer_list<const char*> v) : name(std::move(n)), isText(true) {
    for (const char* s : v) text.emplace_back(s);
  }
  std::string name;
  std::vector<double> num;
  std::vector<std::string> text;
  bool isText = false;
  std::size_t size() const { return isText ? text.size() : num.size(); }
};

inline data::DataTable MakeTable(const std::vector<Col>& cols) {
  data::DataTable t;
  for (const auto& c : cols)
    t.AddField({c.name, c.isText ? data::FieldType::ftString : data::FieldType::ftFloat, c.isText ? 40 : 0});
  t.Open();
  const std::size_t rows = cols.empty() ? 0 : cols[0].size();
  for (std::size_t r = 0; r < rows; ++r) {
    const int row = t.AppendRow();
    for (std::size_t c = 0; c < cols.size(); ++c) {
      if (cols[c].isText)
        t.SetString(row, static_cast<int>(c), cols[c].text.at(r));
      else
        t.SetFloat(row, static_cast<int>(c), cols[c].num.at(r));
    }
  }
  return t;
}

}  // namespace tolmex::anova::testdata
