#pragma once
// The example tables shipped in examples/: small designed experiments with realistic
// values, generated from a fixed seed so that they can be rebuilt exactly.
#include <string>
#include <vector>

#include "data/data_table.h"

namespace tolmex::datatest {

struct ExampleTable {
  std::string fileName;  // e.g. "dic_feijao.fdt"
  data::DataTable table;
};

std::vector<ExampleTable> BuildExampleTables();

}  // namespace tolmex::datatest
