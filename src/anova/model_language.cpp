#include "anova/model_language.h"

#include <algorithm>

namespace tolmex::anova {

namespace {
constexpr std::string_view kErro = "erro=";

bool Contains(std::string_view s, std::string_view what) { return s.find(what) != std::string_view::npos; }

std::vector<std::string> SplitAt(std::string_view s, std::string_view seps) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= s.size(); ++i) {
    if (i == s.size() || seps.find(s[i]) != std::string_view::npos) {
      if (i > start) out.emplace_back(s.substr(start, i - start));
      start = i + 1;
    }
  }
  return out;
}

void AddOnce(std::vector<std::string>& list, const std::string& name) {
  if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
}
}  // namespace

FvKind ClassifyLine(std::string_view line) {
  if (Contains(line, kErro)) return kErrorTerm;
  if (Contains(line, "(")) return kNested;
  if (Contains(line, "*")) return kInteraction;
  return kMainEffect;
}

FvKind ComputationKind(std::string_view line) {
  if (Contains(line, "(")) return kNested;
  if (Contains(line, "*")) return kInteraction;
  return kMainEffect;
}

std::string WithoutErro(std::string_view line) {
  std::string s(line);
  const auto p = s.find(kErro);
  if (p != std::string::npos) s.erase(p, kErro.size());
  return s;
}

std::vector<std::string> LineNames(std::string_view line) {
  const std::string s = WithoutErro(line);
  if (!Contains(s, "*") && !Contains(s, "(") && !Contains(s, ")")) return {s};
  return SplitAt(s, "*()");
}

std::vector<std::string> TermFactors(std::string_view line) {
  std::vector<std::string> out;
  for (const auto& n : LineNames(line)) AddOnce(out, n);
  return out;
}

NestedParts SplitNested(std::string_view line) {
  const std::string s = WithoutErro(line);
  NestedParts parts;
  int depth = 0;
  std::string name;
  auto flush = [&] {
    if (!name.empty()) {
      // A name inside parentheses nests; every other name is nested.
      if (depth > 0)
        AddOnce(parts.nesting, name);
      else
        AddOnce(parts.outer, name);
      name.clear();
    }
  };
  for (char ch : s) {
    if (ch == '(') {
      flush();
      ++depth;
    } else if (ch == ')') {
      flush();
      if (depth > 0) --depth;
    } else if (ch == '*') {
      flush();
    } else {
      name += ch;
    }
  }
  flush();
  // A name both outside and inside the parentheses is a nesting factor.
  std::erase_if(parts.outer, [&](const std::string& n) {
    return std::find(parts.nesting.begin(), parts.nesting.end(), n) != parts.nesting.end();
  });
  return parts;
}

int ColumnOf(const AnovaState& st, std::string_view name) {
  const auto& cols = st.ListBox_Variaveis;
  for (std::size_t i = 0; i < cols.size(); ++i)
    if (cols[i] == name) return static_cast<int>(i);
  return -1;
}

int ResponseColumn(const AnovaState& st, int v) {
  if (v < 1 || v > static_cast<int>(st.responses.size())) return -1;
  return ColumnOf(st, st.responses[static_cast<std::size_t>(v - 1)]);
}

std::vector<int> FactorColumns(const AnovaState& st, const std::vector<std::string>& names) {
  std::vector<int> out;
  out.reserve(names.size());
  for (const auto& n : names) out.push_back(ColumnOf(st, n));
  return out;
}

int ErrorLineOf(const AnovaState& st, int fv) {
  for (int e = std::max(fv, 1); e <= st.nfv && e <= kMaxFV; ++e)
    if (st.identifica_FV[static_cast<std::size_t>(e)] == kErrorTerm) return e;
  return 0;
}

}  // namespace tolmex::anova
