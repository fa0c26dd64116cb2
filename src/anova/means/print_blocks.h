#pragma once
// Pieces shared by the printing of the tests of means.
#include <string>

namespace tolmex::anova {

// The rule line of the report blocks: 80 "-".
const std::string& RegraMedias();

}  // namespace tolmex::anova
