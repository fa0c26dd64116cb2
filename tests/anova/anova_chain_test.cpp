// The "&Anava" command from the menu to the run report, with a scripted user.
#include "shell/chains/anova_chain.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "data/data_table.h"
#include "data/table_file.h"
#include "scripted_prompter.h"
#include "shell/number_locale.h"
#include "shell/report.h"

namespace tolmex::chains {
namespace {

using shell::Answer;
using testing::ScriptedPrompter;
using testing::ScriptedWindowHost;

std::string ExamplePath(const std::string& name) {
  const char* src = std::getenv("TOLMEX_SOURCE_DIR");
  return std::string(src ? src : ".") + "/examples/" + name;
}

// The program's data table; "Abrir arquivo" opens the file the user picks.
class FileTableSource : public anova::TableSource {
 public:
  explicit FileTableSource(std::string path) : path_(std::move(path)) {}
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

struct Program {
  explicit Program(std::string path) : source(std::move(path)), windows(source, prompter, host) {}
  ScriptedPrompter prompter;
  ScriptedWindowHost host;
  FileTableSource source;
  AnovaWindows windows;
  shell::Report mainReport;
  std::vector<std::unique_ptr<shell::Report>> runs;
  int Count = 0;
  void Anava(anova::TestesMediasFn procedures = {}) {
    AnovaChainPorts ports{prompter, host, source, mainReport, [this]() -> shell::Report& {
                            runs.push_back(std::make_unique<shell::Report>());
                            runs.back()->caption = std::string(shell::kReportCaption) + std::to_string(++Count);
                            runs.back()->fontSize = 8;
                            return *runs.back();
                          }};
    ports.procedures = std::move(procedures);
    RunAnovaChain(windows, ports);
  }
};

void TypeLine(anova::TForm_modelo& m, const std::vector<int>& columns, const std::string& joiner,
              bool erro = false) {
  if (erro) m.BotaoErro();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i) m.BotaoAsterisco();
    m.SelectColumn(columns[i]);
  }
  m.Adicionar();
}

const std::string E = "\r\n";
const std::string D(80, '-');

TEST(AnovaChain, SplitPlotFromTheMenuToTheRunReport) {
  shell::SetCurrentNumberLocale(shell::NumberLocale::Dot());
  const std::string path = ExamplePath("parcela_subdividida_soja.fdt");
  Program app(path);
  app.mainReport.SetText("texto antigo");
  auto& host = app.host;
  auto& prompter = app.prompter;
  host.Expect("TForm_modelo", [&](shell::Form& f) {
    auto& m = static_cast<anova::TForm_modelo&>(f);
    m.AbrirArquivo();
    ASSERT_EQ(m.Columns(), (std::vector<std::string>{"Bloco", "Preparo", "Cultivar", "Prod"}));
    TypeLine(m, {0}, "");
    TypeLine(m, {1}, "");
    TypeLine(m, {0, 1}, "*", true);
    TypeLine(m, {2}, "");
    TypeLine(m, {1, 2}, "*");
    m.Fim();
  });
  prompter.ExpectYesNo("Quer encerrar o quadro de análise de variância?", Answer::Yes);
  host.Expect("TForm_Opcoes_ANAVA", [&](shell::Form& f) {
    auto& o = static_cast<anova::TForm_Opcoes_ANAVA&>(f);
    EXPECT_EQ(o.Lines(), (std::vector<std::string>{"Bloco", "Preparo", "erro=Bloco*Preparo", "Cultivar",
                                                   "Preparo*Cultivar"}));
    o.ClickLine(3);
    o.ClickLine(4);
    o.ClickLine(4);
    o.Ok();
  });
  host.Expect("TForm_Opcao_FV", [](shell::Form& f) {
    auto& w = static_cast<anova::TForm_Opcao_FV&>(f);
    w.Opcao = anova::kTukey;
    w.Ed_alpha = "0.05";
    w.Ok();
  });
  prompter.ExpectYesNo("Voce vai usar variância complexa?", Answer::No);
  host.Expect("TForm_Opcao_FV", [](shell::Form& f) {
    auto& w = static_cast<anova::TForm_Opcao_FV&>(f);
    w.Opcao = anova::kRegressao;
    w.FatorSelecionado = 1;
    w.Ok();
  });
  prompter.ExpectYesNo("Voce vai usar variância complexa?", Answer::No);
  host.Expect("TForm_Opcao_FV", [](shell::Form&) {});  // closed without "Ok"
  host.Expect("TForm_Reg_OP_Fv", [](shell::Form& f) {
    auto& r = static_cast<anova::TForm_Reg_OP_Fv&>(f);
    EXPECT_EQ(r.Lb1, "Preparo*Cultivar");
    EXPECT_EQ(r.Lb2, "1");
    // closed without "Ok": the slot becomes "Nenhum teste"
  });
  host.Expect("TForm_Variaveis", [](shell::Form& f) {
    auto& v = static_cast<anova::TForm_Variaveis&>(f);
    v.ClickColumn(3);
    v.Finalizar();
  });
  host.Expect("TForm_Transf", [](shell::Form& f) { static_cast<anova::TForm_Transf&>(f).Finalizar(); });

  std::vector<std::string> calls;
  app.Anava([&](anova::AnovaContext& ctx, int v, int t, int fv) {
    calls.push_back(std::to_string(fv) + ":" + std::to_string(ctx.state.Op_FV[fv][0]));
  });
  prompter.VerifyDone();
  host.VerifyDone();

  const auto& st = app.windows.state;
  EXPECT_EQ(st.Op_FV[4][1], anova::kTukey);
  EXPECT_EQ(st.Op_FV[5][0], 2);
  EXPECT_EQ(st.Op_FV[5][1], anova::kNenhumTeste);
  EXPECT_EQ(st.Op_FV[5][2], anova::kNenhumTeste);
  EXPECT_EQ(calls, (std::vector<std::string>{"1:0", "2:0", "4:1", "5:2"}));
  EXPECT_EQ(app.mainReport.Text(), "");
  ASSERT_EQ(app.runs.size(), 1u);
  ASSERT_EQ(host.shownReports.size(), 1u);
  EXPECT_EQ(host.shownReports[0], app.runs[0].get());
  EXPECT_EQ(host.busyChanges, (std::vector<bool>{true, false}));
  EXPECT_FALSE(app.source.Table().ControlsDisabled());
  EXPECT_TRUE(app.source.Table().Active());  // the chain leaves the table open

  // Sums of squares, F and P: R 4.2, aov(Prod ~ Bloco + Preparo + Bloco:Preparo + Cultivar +
  // Preparo:Cultivar) with Bloco and Preparo tested against Bloco:Preparo.
  const std::string want =
      "Arquivo analisado:" + E + E + path + E + E +
      D + E + E + " Variável analisada: Prod" + E + E +
      " Opção de transformação: Variável sem transformação ( Y )" + E + E + D + E + E + E +
      "                     TABELA DE ANÁLISE DE VARIÂNCIA" + E + E + E + D + E +
      "FV                     GL                 SQ                QM        Fc P(F>Fc)" + E + D + E +
      "Bloco                   3     1697492.916667     565830.972222      8.618 0.0135" + E +
      "Preparo                 2      796276.541667     398138.270833      6.064 0.0363" + E +
      "erro 1                  6      393949.958333      65658.326389" + E +
      "Cultivar                3     1450466.750000     483488.916667     42.982 0.0000" + E +
      "Preparo*Cultivar        6      140297.625000      23382.937500      2.079 0.0893" + E +
      "erro 2                 27      303714.125000      11248.671296" + E + D + E +
      "Total corrigido        47     4782197.916667" + E + D + E +
      "CV 1 (%) =               8.01" + E +
      "CV 2 (%) =               3.32" + E +
      "Média geral:       3198.9583333      Número de observações:           48" + E + D + E + E +
      E + E + E;
  EXPECT_EQ(testing::Visible(app.runs[0]->Text()), testing::Visible(want));
}

TEST(AnovaChain, GivingUpStopsAndUsesARunNumber) {
  Program app(ExamplePath("dic_feijao.fdt"));
  // First run: given up in the model window; second run: no response chosen.
  app.host.Expect("TForm_modelo", [](shell::Form& f) {
    auto& m = static_cast<anova::TForm_modelo&>(f);
    m.Edit_FV = "Trat";
    m.Adicionar();
    if (m.CloseQuery()) m.ClosedByBox();
  });
  app.prompter.ExpectOkCancel("Abandonar a análise?", Answer::Ok);
  app.Anava();
  app.host.Expect("TForm_modelo", [](shell::Form& f) {
    auto& m = static_cast<anova::TForm_modelo&>(f);
    m.AbrirArquivo();
    m.SelectColumn(0);
    m.Adicionar();
    m.Fim();
  });
  app.prompter.ExpectYesNo("Quer encerrar o quadro de análise de variância?", Answer::Yes);
  app.host.Expect("TForm_Opcoes_ANAVA", [](shell::Form& f) { static_cast<anova::TForm_Opcoes_ANAVA&>(f).Ok(); });
  app.host.Expect("TForm_Variaveis", [](shell::Form& f) { static_cast<anova::TForm_Variaveis&>(f).Finalizar(); });
  app.prompter.ExpectYesNo("Nenhuma variável foi selecionada! Vai finalizar assim mesmo?", Answer::Yes);
  app.Anava();
  app.prompter.VerifyDone();
  app.host.VerifyDone();
  EXPECT_EQ(app.runs.size(), 2u);
  EXPECT_EQ(app.runs[1]->caption, "Relatórios em RTF2");
  EXPECT_TRUE(app.host.shownReports.empty());
  EXPECT_TRUE(app.host.busyChanges.empty());
}

TEST(AnovaChain, TableOfMoreThanSixtyColumnsIsRefused) {
  Program app("");
  data::DataTable& t = app.source.Table();
  for (int c = 0; c < 61; ++c) t.AddField({"c" + std::to_string(c), data::FieldType::ftFloat});
  t.Open();
  t.AppendRow();
  auto& st = app.windows.state;
  app.host.Expect("TForm_modelo", [&](shell::Form& f) {
    auto& m = static_cast<anova::TForm_modelo&>(f);
    st.ListBox_Variaveis = {"c0"};  // the table is already open in the program
    m.Edit_FV = "c0";
    m.Adicionar();
    m.Fim();
  });
  app.prompter.ExpectYesNo("Quer encerrar o quadro de análise de variância?", Answer::Yes);
  app.host.Expect("TForm_Opcoes_ANAVA", [](shell::Form& f) { static_cast<anova::TForm_Opcoes_ANAVA&>(f).Ok(); });
  app.host.Expect("TForm_Variaveis", [](shell::Form& f) {
    auto& v = static_cast<anova::TForm_Variaveis&>(f);
    v.ClickColumn(1);
    v.Finalizar();
  });
  app.host.Expect("TForm_Transf", [](shell::Form& f) { static_cast<anova::TForm_Transf&>(f).Finalizar(); });
  app.prompter.ExpectMessage(
      "Tolmex não suporta arquivos com mais de 60 colunas\rPara fins de análise de variância!\r"
      "Quebre seu arquivo em dois, ou mais arquivos com parte das variáveis!");
  app.Anava();
  app.prompter.VerifyDone();
  EXPECT_EQ(app.host.shownReports.size(), 1u);
  EXPECT_EQ(app.runs[0]->Text().find("TABELA"), std::string::npos);
}

}  // namespace
}  // namespace tolmex::chains
