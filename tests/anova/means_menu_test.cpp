// Tests of means from the "&Anava" menu command to the run report, with a scripted user, on
// the bean cultivar example (completely randomised, five cultivars, four replicates).
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "anova/setup_forms.h"
#include "data/data_table.h"
#include "data/table_file.h"
#include "scripted_prompter.h"
#include "shell/chains/anova_chain.h"
#include "shell/number_locale.h"
#include "shell/report.h"
#include "shell/text_utils.h"

namespace tolmex::chains {
namespace {

using shell::Answer;

const std::string R(80, '-');
const std::string E = "\r\n";

class ExampleTable : public anova::TableSource {
 public:
  explicit ExampleTable(std::string path) : path_(std::move(path)) {}
  data::DataTable& Table() override { return table_; }
  void LoadTable() override {
    data::LoadTableFile(path_, table_);
    name_ = path_;
  }
  void CloseTable() override { table_.Close(); }
  std::string FileName() const override { return name_; }

 private:
  std::string path_, name_;
  data::DataTable table_;
};

std::string Example(const std::string& name) {
  const char* src = std::getenv("TOLMEX_SOURCE_DIR");
  return std::string(src ? src : ".") + "/examples/" + name;
}

// The number after `prefix` at the start of a line, its text in *as_text.
double NumberAfter(const std::string& text, const std::string& prefix, std::string* as_text) {
  const std::size_t at = text.find(E + prefix);
  if (at == std::string::npos) return std::nan("");
  const std::size_t from = at + E.size() + prefix.size();
  std::size_t to = from;
  while (to < text.size() && text[to] != ' ' && text[to] != '\r') ++to;
  *as_text = text.substr(from, to - from);
  double x = std::nan("");
  std::from_chars(as_text->data(), as_text->data() + as_text->size(), x);
  return x;
}

TEST(MeansFromTheMenu, TukeySnkAndScottKnottOnTheBeanExample) {
  shell::SetCurrentNumberLocale(shell::NumberLocale::Dot());
  testing::ScriptedPrompter prompter;
  testing::ScriptedWindowHost host;
  ExampleTable source(Example("dic_feijao.fdt"));
  AnovaWindows windows(source, prompter, host);
  shell::Report mainReport;
  std::vector<std::unique_ptr<shell::Report>> runs;

  host.Expect("TForm_modelo", [&](shell::Form& f) {
    auto& m = static_cast<anova::TForm_modelo&>(f);
    m.AbrirArquivo();
    ASSERT_EQ(m.Columns(), (std::vector<std::string>{"Cultivar", "Rep", "Prod", "Peso100"}));
    m.SelectColumn(0);
    m.Adicionar();
    m.Fim();
  });
  prompter.ExpectYesNo("Quer encerrar o quadro de análise de variância?", Answer::Yes);
  host.Expect("TForm_Opcoes_ANAVA", [&](shell::Form& f) {
    auto& o = static_cast<anova::TForm_Opcoes_ANAVA&>(f);
    o.ClickLine(0);
    o.ClickLine(0);
    o.ClickLine(0);
    o.Ok();
  });
  const int codes[] = {anova::kTukey, anova::kSNK, anova::kScottKnott};
  for (int code : codes) {
    host.Expect("TForm_Opcao_FV", [code](shell::Form& f) {
      auto& w = static_cast<anova::TForm_Opcao_FV&>(f);
      w.Opcao = code;
      w.Ed_alpha = "0.05";
      w.Ok();
    });
  }
  host.Expect("TForm_Variaveis", [](shell::Form& f) {
    auto& v = static_cast<anova::TForm_Variaveis&>(f);
    v.ClickColumn(2);
    v.Finalizar();
  });
  host.Expect("TForm_Transf", [](shell::Form& f) { static_cast<anova::TForm_Transf&>(f).Finalizar(); });

  AnovaChainPorts ports{prompter, host, source, mainReport, [&]() -> shell::Report& {
                          runs.push_back(std::make_unique<shell::Report>());
                          return *runs.back();
                        }};
  RunAnovaChain(windows, ports);
  prompter.VerifyDone();
  host.VerifyDone();
  ASSERT_EQ(runs.size(), 1u);
  const std::string& text = runs[0]->Text();

  const std::size_t start = text.find(R + E + "   Teste Tukey para a FV Cultivar" + E);
  ASSERT_NE(start, std::string::npos);
  // The table comes first and ends with its blank lines.
  EXPECT_EQ(text.substr(start - 5 * E.size() - R.size(), R.size() + 5 * E.size()), R + E + E + E + E + E);
  const std::string got = text.substr(start);

  // R: anova(lm(Prod ~ Cultivar)) gives QME 40226.98333 on 15 df;
  // qtukey(0.95, s, 15) * sqrt(40226.98333 / 4) for s = 5, 4, 3, 2.
  std::string tukey, se, snk[4];
  EXPECT_NEAR(NumberAfter(got, "DMS: ", &tukey), 437.935756885, 1e-3 * 437.94);
  EXPECT_NEAR(NumberAfter(got, "Erro padrão: ", &se), std::sqrt(40226.98333 / 4), 1e-6);
  const double want_snk[] = {437.935756885, 408.752208884, 368.378532475, 302.286521489};
  for (int s = 5; s >= 2; --s)
    EXPECT_NEAR(NumberAfter(got, std::to_string(s) + "          ", &snk[5 - s]), want_snk[5 - s],
                1e-3 * want_snk[5 - s]);

  auto table = [&](const std::vector<std::string>& groups) {
    const char* names[] = {"Jalo", "Carioca", "IAC-Alvorada", "BRS-Estilo", "Perola"};
    const char* means[] = {"     2241.000000 ", "     2551.500000 ", "     2685.750000 ",
                           "     2720.500000 ", "     2822.000000 "};
    std::string t = "Média harmonica do número de repetições (r): 4" + E + "Erro padrão: " + se + E + R +
                    E + E + E + "Tratamentos                             Médias      Resultados do teste " +
                    E + R + E;
    for (int i = 0; i < 5; ++i) t += shell::PadRight(names[i], 30) + " " + means[i] + groups[i] + E;
    return t + R + E + E + E;
  };
  // Tukey: Jalo differs from the three best cultivars (by 444.75 and more); SNK finds the
  // range of four first (a1), then Jalo alone (a2), since Jalo - Carioca = 310.5 > 302.3;
  // Scott-Knott (R, an independent implementation): Jalo apart (P = 0.016), no further split.
  const std::string want =
      R + E + "   Teste Tukey para a FV Cultivar" + E + R + E + E + E + "DMS: " + tukey + "  NMS: 0.05" +
      E + R + E + E + E + table({"a1    ", "a1 a2 ", "   a2 ", "   a2 ", "   a2 "}) +
      R + E + "Teste SNK para a FV Cultivar" + E + "Médias                DMS " + E + "  NMS: 0.05" + E + R +
      E + "5          " + snk[0] + E + "4          " + snk[1] + E + "3          " + snk[2] + E +
      "2          " + snk[3] + E + R + E + table({"   a2 ", "a1    ", "a1    ", "a1    ", "a1    "}) +
      R + E + "Teste Scott-Knott (1974) para a FV Cultivar" + E + R + E + E + "  NMS: 0.05" + E + R + E +
      E + E + table({"a1 ", "a2 ", "a2 ", "a2 ", "a2 "});
  EXPECT_EQ(got, want);
}

}  // namespace
}  // namespace tolmex::chains
