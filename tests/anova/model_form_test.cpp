#include "anova/model_form.h"

#include <gtest/gtest.h>

#include "anova_test_support.h"
#include "data/data_table.h"
#include "scripted_prompter.h"
#include "shell/report.h"

namespace tolmex::anova {
namespace {

using shell::Answer;
using testdata::Col;
using testdata::MakeTable;

// The data table of the program, opened by "Abrir arquivo" from a prepared table.
class FakeTableSource : public TableSource {
 public:
  explicit FakeTableSource(data::DataTable prepared) : prepared_(std::move(prepared)) {}
  data::DataTable& Table() override { return table_; }
  void LoadTable() override {
    table_ = prepared_;
    name_ = "/dados/ensaio.fdt";
  }
  void CloseTable() override { table_.Close(); }
  std::string FileName() const override { return name_; }

 private:
  data::DataTable prepared_, table_;
  std::string name_;
};

class ModelWindow : public ::testing::Test {
 protected:
  FakeTableSource source{MakeTable({Col("Bloco", {1.0}), Col("A", {"a"}), Col("y", {1.0})})};
  AnovaState st;
  testing::ScriptedPrompter prompter;
  shell::Report report;
  TForm_modelo form{st, source, prompter};
  void SetUp() override {
    form.SetReport(&report);
    form.Show();
  }
  void Add(const std::string& line) {
    form.Edit_FV = line;
    form.Adicionar();
  }
};

TEST_F(ModelWindow, CountersFollowAddRemoveAndClear) {
  form.AbrirArquivo();
  EXPECT_EQ(form.Columns(), (std::vector<std::string>{"Bloco", "A", "y"}));
  form.SelectColumn(0);
  form.BotaoAsterisco();
  form.SelectColumn(1);
  EXPECT_EQ(form.Edit_FV, "Bloco*A");
  form.BotaoErro();
  EXPECT_EQ(form.Edit_FV, "erro=");
  form.SelectColumn(0);
  form.BotaoAbre();
  form.SelectColumn(1);
  form.BotaoFecha();
  EXPECT_EQ(form.Edit_FV, "erro=Bloco(A)");
  form.Adicionar();
  EXPECT_EQ(form.Edit_FV, "");
  Add("A");
  form.Adicionar();  // empty box: nothing
  EXPECT_EQ(st.nfv, 2);
  EXPECT_EQ(st.num_erros, 2);
  form.Remover(0);
  EXPECT_EQ(st.nfv, 1);
  EXPECT_EQ(st.num_erros, 1);
  EXPECT_EQ(form.Lines(), (std::vector<std::string>{"A"}));
  Add("erro=Bloco*A");
  form.Limpar();
  EXPECT_EQ(st.nfv, 0);
  EXPECT_EQ(st.num_erros, 1);
  EXPECT_TRUE(form.Lines().empty());
  form.ColumnListFocus(true);
  EXPECT_EQ(form.Hint(), "Dê um duplo clique para adicionar FV");
  form.ColumnListFocus(false);
  EXPECT_EQ(form.Hint(), "Dê preferência aos duplos cliques nas variáveis ao invés de digitá-las");
}

TEST_F(ModelWindow, StructureChecksNameEveryFaultyLine) {
  struct Case {
    std::vector<std::string> lines;
    std::vector<std::string> warnings;
  };
  const std::vector<Case> cases = {
      {{}, {"Erro: Arquivo não tem FV's' definidas!"}},
      {{"A(B", "A)B", "(A", "((A)", "A**B"},
       {"Erro: Faltando parênteses em, \rA(B!", "Erro: Faltando parênteses em, \rA)B!",
        "Erro: Faltando parênteses em, \r(A!", "Erro: duplo * em, \rA**B!"}},
      {{"A", "B", "A", "B"}, {"Erro: Fontes de variação duplicadas em, \rA\rA!"}},
      {{"A*B", "A*B "}, {}},
  };
  for (const auto& c : cases) {
    form.Show();
    form.AbrirArquivo();
    for (const auto& l : c.lines) Add(l);
    for (const auto& w : c.warnings) prompter.ExpectMessage(w, shell::BoxKind::Warning);
    prompter.ExpectYesNo("Quer encerrar o quadro de análise de variância?", Answer::No);
    form.Fim();
    prompter.VerifyDone();
    EXPECT_FALSE(st.tem_erro);  // No clears the failure
    EXPECT_FALSE(form.Closed());
  }
}

TEST_F(ModelWindow, YesAfterAFailedCheckClosesAndStopsTheRun) {
  form.AbrirArquivo();
  Add("A");
  Add("A");
  prompter.ExpectMessage("Erro: Fontes de variação duplicadas em, \rA\rA!");
  prompter.ExpectYesNo("Quer encerrar o quadro de análise de variância?", Answer::Yes);
  form.Fim();
  prompter.VerifyDone();
  EXPECT_TRUE(st.tem_erro);
  EXPECT_TRUE(form.Closed());
}

TEST_F(ModelWindow, FimClosesTheModelAndNamesTheFile) {
  form.AbrirArquivo();
  Add("Bloco");
  Add("A");
  prompter.ExpectYesNo("Quer encerrar o quadro de análise de variância?", Answer::Yes);
  form.Fim();
  prompter.VerifyDone();
  EXPECT_TRUE(form.Closed());
  EXPECT_TRUE(st.press_fim);
  EXPECT_FALSE(st.tem_erro);
  EXPECT_EQ(st.nfv, 3);
  EXPECT_EQ(form.Lines().back(), "Fim");
  EXPECT_EQ(report.Text(), "Arquivo analisado:\r\n\r\n/dados/ensaio.fdt\r\n\r\n");
  EXPECT_TRUE(form.CloseQuery());  // after "Fim" no question
}

TEST_F(ModelWindow, ClosedTableWarnsButTheModelCanClose) {
  Add("A");
  prompter.ExpectMessage("Cuidado arquivo esta desativado!!");
  prompter.ExpectYesNo("Quer encerrar o quadro de análise de variância?", Answer::Yes);
  form.Fim();
  prompter.VerifyDone();
  EXPECT_TRUE(form.Closed());
  // The later name check fails: the column list is empty.
  testing::ScriptedPrompter later;
  later.ExpectMessage("Fontes de variação com digitação errada, \rou faltando * ou parenteses!");
  EXPECT_FALSE(CheckModelNames(st, later));
  later.VerifyDone();
  EXPECT_TRUE(st.tem_erro);
}

TEST_F(ModelWindow, FileButtons) {
  prompter.ExpectMessage("O arquivo já está fechado!");
  form.FecharArquivo();
  form.AbrirArquivo();
  EXPECT_EQ(form.Columns().size(), 3u);
  form.FecharArquivo();
  EXPECT_TRUE(form.Columns().empty());
  EXPECT_FALSE(source.Table().Active());
  prompter.VerifyDone();
}

TEST_F(ModelWindow, GivingUp) {
  struct Case {
    std::vector<std::string> lines;
    bool escape;
    Answer first, second;
    bool closes, temErro;
  };
  const std::vector<Case> cases = {
      {{"A"}, false, Answer::Ok, Answer::Ok, true, true},
      {{"A"}, false, Answer::Cancel, Answer::Ok, false, false},
      {{}, false, Answer::Ok, Answer::Ok, true, true},
      {{"A"}, true, Answer::Yes, Answer::Cancel, true, true},  // closes whatever the answer
      {{"A"}, true, Answer::No, Answer::Ok, false, false},
  };
  for (const auto& c : cases) {
    form.Show();
    for (const auto& l : c.lines) Add(l);
    const std::string close = c.lines.empty() ? "Abandonar?" : "Abandonar a análise?";
    bool closes = false;
    if (c.escape) {
      prompter.ExpectYesNo(" Deseja realmente abandonar a ANAVA?", c.first);
      if (c.first == Answer::Yes) prompter.ExpectOkCancel(close, c.second);
      form.Escape();
      closes = form.Closed();
    } else {
      prompter.ExpectOkCancel(close, c.first);
      closes = form.CloseQuery();
    }
    prompter.VerifyDone();
    EXPECT_EQ(closes, c.closes);
    EXPECT_EQ(st.tem_erro, c.temErro);
  }
}

TEST_F(ModelWindow, AtMost199LinesBesidesFim) {
  for (int i = 0; i < 199; ++i) Add("A" + std::to_string(i));
  EXPECT_EQ(st.nfv, 199);
  prompter.ExpectMessage("O modelo pode ter no máximo 199 fontes de variação!");
  Add("B");
  prompter.VerifyDone();
  EXPECT_EQ(st.nfv, 199);
  EXPECT_EQ(form.Edit_FV, "B");  // kept for correction
}

TEST(ModelNames, CheckedOncePerRunAgainstTheColumns) {
  struct Case {
    std::vector<std::string> lines;
    bool ok;
  };
  const std::vector<Case> cases = {
      {{"Bloco", "A", "erro=Bloco*A", "B", "A*B", "Fim"}, true},
      {{"B(A)", "erro=Bloco(A)", "Fim"}, true},
      {{"A*B ", "Fim"}, false},
      {{"A*C", "Fim"}, false},
      {{"erro=", "Fim"}, false},
  };
  for (const auto& c : cases) {
    AnovaState st;
    st.ListBox_Variaveis = {"Bloco", "A", "B", "y"};
    st.LB_Anova = c.lines;
    st.nfv = static_cast<int>(c.lines.size());
    st.press_fim = true;
    testing::ScriptedPrompter p;
    if (!c.ok) p.ExpectMessage("Fontes de variação com digitação errada, \rou faltando * ou parenteses!");
    EXPECT_EQ(CheckModelNames(st, p), c.ok) << c.lines[0];
    p.VerifyDone();
  }
}

}  // namespace
}  // namespace tolmex::anova
