#pragma once
// The model language: one source of variation (FV) per line. A main effect is a column
// name ("Trat"); an interaction joins names with "*" ("A*B"); a nested source puts the
// nested names before "(" and the nesting names inside ("B(A)", "C*D(A*B)"); a line
// containing "erro=" is an error term ("erro=Bloco*A"); "Fim" closes the model and stands
// for the residual.
#include <string>
#include <string_view>
#include <vector>

#include "anova/anova_state.h"

namespace tolmex::anova {

// Kind of a line: contains "erro=" -> 4; else "(" -> 3; else "*" -> 2; else 1.
FvKind ClassifyLine(std::string_view line);

// How the sums of squares of a line are computed: its kind, or for an error term the kind
// of the form after "erro=" (1, 2 or 3).
FvKind ComputationKind(std::string_view line);

// The line without its "erro=" prefix (the first occurrence of "erro=" removed).
std::string WithoutErro(std::string_view line);

// Every name of a line, in order, for the name check: a main effect is its whole text;
// other lines are split at "*", "(" and ")" (empty pieces skipped). Error terms are taken
// after removing "erro=".
std::vector<std::string> LineNames(std::string_view line);

// The factors of a term, each once, in order of first appearance.
std::vector<std::string> TermFactors(std::string_view line);

// A nested term split in its nested (outer) names and its nesting names (inside the
// parentheses), each once, in order of first appearance.
struct NestedParts {
  std::vector<std::string> outer;
  std::vector<std::string> nesting;
};
NestedParts SplitNested(std::string_view line);

// Position (0-based) of a name in the model window's column list, or -1.
int ColumnOf(const AnovaState& st, std::string_view name);

// Column (0-based) of the v-th chosen response (1-based), or -1.
int ResponseColumn(const AnovaState& st, int v);

// Columns (0-based) of a list of factor names; -1 for a name not found.
std::vector<int> FactorColumns(const AnovaState& st, const std::vector<std::string>& names);

// The error line of FV i: the first line at or after i of kind 4 (0 when there is none).
int ErrorLineOf(const AnovaState& st, int fv);

}  // namespace tolmex::anova
