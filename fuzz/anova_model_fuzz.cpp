// The model language: any text, one model line per input line, goes through the model
// window's checks, the name check and the computation on a small table without crashing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "anova/anova_run.h"
#include "anova/model_language.h"
#include "data/data_table.h"
#include "shell/prompter.h"
#include "shell/report.h"

namespace {

class QuietPrompter : public tolmex::shell::Prompter {
 public:
  void Message(tolmex::shell::BoxKind, const std::string&, const std::string&) override {}
  tolmex::shell::Answer AskYesNo(const std::string&, const std::string&) override { return tolmex::shell::Answer::Yes; }
  tolmex::shell::Answer AskYesNoCancel(const std::string&, const std::string&) override {
    return tolmex::shell::Answer::Yes;
  }
  tolmex::shell::Answer AskOkCancel(const std::string&, const std::string&) override { return tolmex::shell::Answer::Ok; }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<tolmex::shell::FileDialogResult> OpenFile(const tolmex::shell::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<tolmex::shell::FileDialogResult> SaveFile(const tolmex::shell::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<tolmex::shell::Rgb> ChooseColor(const tolmex::shell::Rgb&) override { return std::nullopt; }
  std::optional<tolmex::shell::FontChoice> ChooseFont(const tolmex::shell::FontChoice&) override {
    return std::nullopt;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolmex;
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size() && lines.size() < 250; ++i)
    if (i == text.size() || text[i] == '\n') {
      if (i > start) lines.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  static data::DataTable table = [] {
    data::DataTable t;
    t.AddField({"A", data::FieldType::ftString, 10});
    t.AddField({"B", data::FieldType::ftFloat});
    t.AddField({"C", data::FieldType::ftString, 10});
    t.AddField({"y", data::FieldType::ftFloat});
    t.Open();
    for (int r = 0; r < 24; ++r) {
      const int row = t.AppendRow();
      t.SetString(row, 0, r % 3 ? "a1" : "a2");
      t.SetFloat(row, 1, r % 4);
      t.SetString(row, 2, r % 5 ? "c" : "d");
      if (r != 7) t.SetFloat(row, 3, r * 1.5 - (r % 3));
    }
    return t;
  }();
  for (const auto& l : lines) {
    (void)anova::ClassifyLine(l);
    (void)anova::TermFactors(l);
    (void)anova::SplitNested(l);
  }
  anova::AnovaState st;
  st.LB_Anova = lines;
  st.LB_Anova.push_back("Fim");
  st.nfv = static_cast<int>(st.LB_Anova.size());
  st.press_fim = true;
  for (const auto& l : lines)
    if (l.find("erro=") != std::string::npos) ++st.num_erros;
  st.ListBox_Variaveis = {"A", "B", "C", "y"};
  st.responses = {"y"};
  st.nva = 1;
  st.Op_VarToAna[1][0] = 1;
  st.Op_VarToAna[1][1] = static_cast<std::uint8_t>(size % 6);
  QuietPrompter prompter;
  shell::Report report;
  if (anova::CopyToScratch(st, table, prompter)) {
    anova::AnovaContext ctx{st, table, report, prompter};
    anova::RunAnova(ctx);
  }
  return 0;
}
