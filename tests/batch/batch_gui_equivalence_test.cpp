// The same analysis run twice on the shipped examples: through the "&Anava" chain with a
// scripted user clicking the windows, and through tolmex-batch with the options; the two
// run reports must be the same text, character for character.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <array>
#include <optional>
#include <sstream>

#include "anova/levels/contrast_form.h"
#include "batch/batch_run.h"
#include "data/table_file.h"
#include "scripted_prompter.h"
#include "shell/app_state.h"
#include "shell/chains/anova_chain.h"
#include "shell/number_locale.h"

namespace tolmex::batch {
namespace {

using shell::Answer;
using testing::ScriptedPrompter;
using testing::ScriptedWindowHost;

std::string Example(const std::string& name) {
  const char* d = std::getenv("TOLMEX_SOURCE_DIR");
  return std::string(d ? d : ".") + "/examples/" + name;
}

std::string TempDir() {
  static const std::string dir = [] {
    std::string t = (std::filesystem::temp_directory_path() / "tolmex-batch-gui-XXXXXX").string();
    return std::string(mkdtemp(t.data()));
  }();
  return dir;
}

// What the person does in the windows.
struct Slot {
  int line;           // 0-based in the options list
  int code;           // radio button
  std::string alpha;  // level box
  int factor = -1;    // 0-based in the factor list (interactions and nested sources)
  std::optional<std::array<std::string, 4>> vc;  // QMEa, QMEb, b, k
  std::vector<int> boxes;                        // regression boxes checked, 0-based
  std::vector<std::vector<std::string>> contrasts;
};

struct Scenario {
  const char* name;
  std::string file;
  std::vector<std::string> model;
  int errors;  // error terms of the model
  std::vector<Slot> slots;
  std::vector<int> responses;  // column positions
  std::vector<std::pair<int, int>> transforms;  // (response position in the list, code)
  std::string k;                                // typed into the Waller-Duncan box
  int contrastSessions = 0;                     // how often the contrasts are asked per analysis
  std::vector<std::string> batchArgs;           // after "anova --tabela FILE"
};

class FileTableSource : public anova::TableSource {
 public:
  explicit FileTableSource(std::string path) : path_(std::move(path)) {}
  data::DataTable& Table() override { return table_; }
  void LoadTable() override { data::LoadTableFile(path_, table_); }
  void CloseTable() override { table_.Close(); }
  std::string FileName() const override { return table_.Active() ? path_ : std::string(); }

 private:
  std::string path_;
  data::DataTable table_;
};

bool IsSplit(const std::string& line) {
  return line.find('*') != std::string::npos || line.find('(') != std::string::npos;
}

// The run report of the GUI chain, the person playing every window.
std::string GuiReport(const Scenario& s) {
  ScriptedPrompter prompter;
  ScriptedWindowHost host;
  FileTableSource source(s.file);
  chains::AnovaWindows windows(source, prompter, host);
  shell::AppState app(prompter, host);
  anova::levels::TCont tcont(prompter);
  anova::levels::TContPort contrasts(tcont, host);

  host.Expect("TForm_modelo", [&](shell::Form& f) {
    auto& m = static_cast<anova::TForm_modelo&>(f);
    m.AbrirArquivo();
    for (const auto& line : s.model) {
      m.Edit_FV = line;
      m.Adicionar();
    }
    m.Fim();
  });
  prompter.ExpectYesNo("Quer encerrar o quadro de análise de variância?", Answer::Yes);
  host.Expect("TForm_Opcoes_ANAVA", [&](shell::Form& f) {
    auto& o = static_cast<anova::TForm_Opcoes_ANAVA&>(f);
    for (const Slot& slot : s.slots) o.ClickLine(slot.line);
    o.Ok();
  });
  for (const Slot& slot : s.slots) {
    if (IsSplit(s.model[static_cast<std::size_t>(slot.line)]) && s.errors >= 2) {
      prompter.ExpectYesNo("Voce vai usar variância complexa?", slot.vc ? Answer::Yes : Answer::No);
      if (slot.vc)
        host.Expect("TForm_VarComp", [&slot](shell::Form& f) {
          auto& w = static_cast<anova::TForm_VarComp&>(f);
          w.Ed_QMEa = (*slot.vc)[0];
          w.Ed_QMEb = (*slot.vc)[1];
          w.Ed_b = (*slot.vc)[2];
          w.Ed_k = (*slot.vc)[3];
          w.Ok();
        });
    }
    host.Expect("TForm_Opcao_FV", [&slot](shell::Form& f) {
      auto& w = static_cast<anova::TForm_Opcao_FV&>(f);
      w.Opcao = slot.code;
      w.Ed_alpha = slot.alpha;
      w.FatorSelecionado = slot.factor;
      w.Ok();
    });
    if (slot.alpha.find(',') != std::string::npos)
      prompter.ExpectMessage("nível de significância errado!\rCorrigido para alpha:=0.05");
    if (slot.code == anova::kWallerDuncan)
      prompter.ExpectInput("Entre com K: ", "(K: 50: 10%, 100: 5% e 500:1%, > 1):", s.k);
  }
  // Regression models: by source, then by slot.
  for (std::size_t line = 0; line < s.model.size(); ++line)
    for (const Slot& slot : s.slots)
      if (slot.line == static_cast<int>(line) && slot.code == anova::kRegressao)
        host.Expect("TForm_Reg_OP_Fv", [&slot](shell::Form& f) {
          auto& r = static_cast<anova::TForm_Reg_OP_Fv&>(f);
          for (int b : slot.boxes) r.cb[static_cast<std::size_t>(b)] = true;
          r.Ok();
        });
  host.Expect("TForm_Variaveis", [&](shell::Form& f) {
    auto& v = static_cast<anova::TForm_Variaveis&>(f);
    for (int c : s.responses) v.ClickColumn(c);
    v.Finalizar();
  });
  host.Expect("TForm_Transf", [&](shell::Form& f) {
    auto& t = static_cast<anova::TForm_Transf&>(f);
    for (const auto& [resp, code] : s.transforms) t.ClickResponse(resp);
    t.Finalizar();
  });
  for (const auto& [resp, code] : s.transforms)
    host.Expect("TForm_Opcao_Transf", [code = code](shell::Form& f) {
      auto& w = static_cast<anova::TForm_Opcao_Transf&>(f);
      w.Codigo = code;
      w.Ok();
    });
  // The contrasts dialog: every analysis asks each contrast slot (once per combination
  // when splitting), and every contrast of the list is typed in turn.
  const std::size_t analyses = s.responses.size() + s.transforms.size();
  for (std::size_t a = 0; a < analyses; ++a)
    for (const Slot& slot : s.slots) {
      if (slot.code != anova::kContrastes) continue;
      for (int session = 0; session < s.contrastSessions; ++session)
        for (std::size_t c = 0; c < slot.contrasts.size(); ++c)
          host.Expect("TCont", [&slot, c](shell::Form& f) {
            auto& t = static_cast<anova::levels::TCont&>(f);
            for (const auto& coef : slot.contrasts[c]) {
              t.Ed_coef = coef;
              t.Acrescentar();
            }
            if (c + 1 == slot.contrasts.size())
              t.Finalizar();
            else
              t.NovoContraste();
          });
    }

  chains::AnovaChainPorts ports{prompter, host, source, app.FormNotaRich,
                                [&app]() -> shell::Report& { return app.NewRunReport(); },
                                &contrasts};
  chains::RunAnovaChain(windows, ports);
  prompter.VerifyDone();
  host.VerifyDone();
  if (host.shownReports.size() != 1) {
    ADD_FAILURE() << "the chain showed " << host.shownReports.size() << " reports";
    return {};
  }
  return host.shownReports[0]->Text();
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class GuiEquivalenceTest : public ::testing::TestWithParam<Scenario> {
 protected:
  void SetUp() override { shell::SetCurrentNumberLocale(shell::NumberLocale::Dot()); }
};

TEST_P(GuiEquivalenceTest, BatchReportIsTheGuiRunReport) {
  const Scenario& s = GetParam();
  const std::string gui = GuiReport(s);
  ASSERT_FALSE(::testing::Test::HasFailure());

  const std::string out = TempDir() + "/" + s.name + ".txt";
  std::vector<std::string> args = {"anova", "--tabela", s.file};
  args.insert(args.end(), s.batchArgs.begin(), s.batchArgs.end());
  args.insert(args.end(), {"--saida", out});
  std::ostringstream o, e;
  ASSERT_EQ(Main(args, o, e), kExitOk) << e.str();
  const std::string batch = ReadAll(out);
  EXPECT_EQ(testing::Visible(batch), testing::Visible(gui));
  EXPECT_EQ(batch, gui);  // CR LF included

  // Standard output holds the same text with LF line ends.
  args.resize(args.size() - 2);
  std::ostringstream o2, e2;
  ASSERT_EQ(Main(args, o2, e2), kExitOk) << e2.str();
  std::string lf = gui;
  for (std::size_t p; (p = lf.find("\r\n")) != std::string::npos;) lf.erase(p, 1);
  EXPECT_EQ(o2.str(), lf);
}

const std::vector<std::string> kSplitModel = {"Bloco", "Preparo", "erro=Bloco*Preparo",
                                              "Cultivar", "Preparo*Cultivar"};

INSTANTIATE_TEST_SUITE_P(
    Examples, GuiEquivalenceTest,
    ::testing::Values(
        // Completely randomised: every test of means, Waller-Duncan and contrasts on one
        // source (seven slots), two responses, two transformations.
        Scenario{"dic",
                 Example("dic_feijao.fdt"),
                 {"Cultivar"},
                 1,
                 {{0, anova::kTukey, "0.05"},
                  {0, anova::kSNK, "0.01"},
                  {0, anova::kBonferroni, "0.05"},
                  {0, anova::kLSD, "0.10"},
                  {0, anova::kScottKnott, "0.05"},
                  {0, anova::kWallerDuncan, "0.05"},
                  {0, anova::kContrastes, "0.05", -1, std::nullopt, {},
                   {{"4", "-1", "-1", "-1", "-1"}, {"0", "1", "1", "-1", "-1"}}}},
                 {2, 3},
                 {{0, 1}, {0, 4}},
                 "500",
                 1,
                 {"--modelo", "Cultivar", "--resposta", "Prod", "--resposta", "Peso100",
                  "--transformacao", "Prod=raiz,log10", "--opcao", "Cultivar:tukey", "--opcao",
                  "Cultivar:snk:0.01", "--opcao", "Cultivar:bonferroni", "--opcao",
                  "Cultivar:lsd:0.10", "--opcao", "1:scott-knott", "--opcao", "Cultivar:waller",
                  "--opcao", "Cultivar:contrastes:coef=4 -1 -1 -1 -1; 0 1 1 -1 -1", "--k-waller",
                  "500"}},
        // Randomised blocks: a level typed with a comma is corrected; "nenhum".
        Scenario{"dbc",
                 Example("dbc_milho.fdt"),
                 {"Bloco", "Hibrido"},
                 1,
                 {{1, anova::kTukey, "0,05"}, {1, anova::kNenhumTeste, "0.05"}},
                 {2, 3},
                 {{1, 5}},
                 "100",
                 0,
                 {"--modelo", "Bloco", "--modelo", "Hibrido", "--resposta", "Prod", "--resposta",
                  "Altura", "--transformacao", "Altura=ln", "--opcao", "Hibrido:tukey:0,05",
                  "--opcao", "2:nenhum"}},
        // Factorial in blocks: the interaction split both ways.
        Scenario{"fatorial",
                 Example("fatorial_dbc_arroz.fdt"),
                 {"Bloco", "Fonte", "Irrig", "Fonte*Irrig"},
                 1,
                 {{1, anova::kTukey, "0.05"},
                  {3, anova::kTukey, "0.05", 0},
                  {3, anova::kSNK, "0.05", 1}},
                 {3},
                 {},
                 "100",
                 0,
                 {"--modelo", "Bloco", "--modelo", "Fonte", "--modelo", "Irrig", "--modelo",
                  "Fonte*Irrig", "--resposta", "Prod", "--opcao", "Fonte:tukey", "--opcao",
                  "Fonte*Irrig:tukey:desdobrar=Fonte", "--opcao",
                  "4:snk:desdobrar=Irrig"}},
        // Split plot: two error terms, the interaction split with and without a complex
        // variance, contrasts within each tillage.
        Scenario{"parcela",
                 Example("parcela_subdividida_soja.fdt"),
                 kSplitModel,
                 2,
                 {{1, anova::kTukey, "0.05"},
                  {3, anova::kScottKnott, "0.05"},
                  {4, anova::kTukey, "0.05", 1},
                  {4, anova::kTukey, "0.05", 0, std::array<std::string, 4>{"1", "2", "3", "4"}},
                  {4, anova::kContrastes, "0.05", 1, std::nullopt, {},
                   {{"1", "-1", "0", "0"}, {"1", "1", "-1", "-1"}}}},
                 {3},
                 {},
                 "100",
                 3,
                 {"--modelo", "Bloco", "--modelo", "Preparo", "--modelo", "erro=Bloco*Preparo",
                  "--modelo", "Cultivar", "--modelo", "Preparo*Cultivar", "--resposta", "Prod",
                  "--opcao", "Preparo:tukey", "--opcao", "Cultivar:scott-knott", "--opcao",
                  "Preparo*Cultivar:tukey:desdobrar=Cultivar", "--opcao",
                  "Preparo*Cultivar:tukey:desdobrar=Preparo:vc=1,2,3,4", "--opcao",
                  "Preparo*Cultivar:contrastes:desdobrar=Cultivar:coef=\"1 -1 0 0; 1 1 -1 -1\""}},
        // Dose-response: regressions by caption and by code, and a test of means.
        Scenario{"dose",
                 Example("dose_resposta_trigo.fdt"),
                 {"Bloco", "Dose"},
                 1,
                 {{1, anova::kRegressao, "0.05", -1, std::nullopt, {0, 1}},
                  {1, anova::kRegressao, "0.05", -1, std::nullopt, {0, 1, 2, 6}},
                  {1, anova::kLSD, "0.05"}},
                 {2},
                 {},
                 "100",
                 0,
                 {"--modelo", "Bloco", "--modelo", "Dose", "--resposta", "Prod", "--opcao",
                  "Dose:regressao:termos=X,X^2", "--opcao", "Dose:regressao:termos=1,2,3,SQRT(X)",
                  "--opcao", "Dose:lsd"}}),
    [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tolmex::batch
