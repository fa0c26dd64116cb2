// Writes the example tables into a folder: make_examples <folder>.
#include <cstdio>
#include <string>

#include "data/table_file.h"
#include "example_tables.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "uso: make_examples <pasta>\n");
    return 2;
  }
  try {
    for (auto& e : tolmex::datatest::BuildExampleTables()) {
      const std::string path = std::string(argv[1]) + "/" + e.fileName;
      tolmex::data::SaveTableFile(e.table, path);
      std::printf("%s: %d registros\n", path.c_str(), e.table.RecordCount());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "erro: %s\n", e.what());
    return 1;
  }
  return 0;
}
