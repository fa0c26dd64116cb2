// tolmex-batch: analyses of variance from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_run.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return tolmex::batch::Main(args, std::cout, std::cerr);
}
