#pragma once
// The batch runner: reads the table, drives the analysis-of-variance chain with the
// options, and writes the report.
#include <ostream>
#include <string>
#include <vector>

#include "batch/batch_options.h"
#include "data/data_table.h"

namespace tolmex::batch {

// The table named by --tabela: a table file (.fdt) or a spreadsheet read with the import
// rules (.csv, .ods, .xlsx); nothing is saved. Throws BatchRefusal when it cannot be read.
data::DataTable ReadInputTable(const std::string& path);

// The whole program: arguments after the program name; the report goes to `out` (or to
// --saida), the boxes' texts to `err`. Returns the exit status.
int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tolmex::batch
