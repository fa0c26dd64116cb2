#pragma once
// The command line of tolmex-batch: "anova" and its options, and the help text.
#include <string>
#include <vector>

#include "batch/batch_options.h"

namespace tolmex::batch {

struct CommandLine {
  bool help = false;  // --help: print HelpText() and stop
  BatchOptions options;
};

// Parses the arguments after the program name and checks their form (CheckOptions).
// Throws BatchRefusal with a Portuguese message.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The text of --help (Portuguese).
const std::string& HelpText();

}  // namespace tolmex::batch
