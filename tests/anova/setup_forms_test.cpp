#include "anova/setup_forms.h"

#include <gtest/gtest.h>

#include "anova/model_language.h"
#include "anova_test_support.h"
#include "scripted_prompter.h"
#include "shell/number_locale.h"

namespace tolmex::anova {
namespace {

using shell::Answer;
using testdata::Col;
using testdata::MakeTable;

class SetUpDialogs : public ::testing::Test {
 protected:
  AnovaState st;
  testing::ScriptedPrompter prompter;
  testing::ScriptedWindowHost host;
  TForm_VarComp varComp{st, prompter};
  TForm_Opcao_FV option{st, prompter, host, varComp};
  TForm_Opcoes_ANAVA options{st, prompter, host, option};

  void Model(std::vector<std::string> lines) {
    st.LB_Anova = std::move(lines);
    st.LB_Anova.push_back("Fim");
    st.nfv = static_cast<int>(st.LB_Anova.size());
    st.num_erros = 1;
    for (const auto& l : st.LB_Anova)
      if (l.find("erro=") != std::string::npos) ++st.num_erros;
    st.press_fim = true;
    options.Show();
  }
  // The user picks `code` with level text `alpha` and presses Ok.
  void Pick(int code, std::string alpha, int factor = -1) {
    host.Expect(TForm_Opcao_FV::kName, [=](shell::Form& f) {
      auto& w = static_cast<TForm_Opcao_FV&>(f);
      w.Opcao = code;
      w.Ed_alpha = alpha;
      w.FatorSelecionado = factor;
      w.Ok();
    });
  }
};

TEST_F(SetUpDialogs, OptionsDialogClassifiesAndResets) {
  st.Op_FV[2][0] = 5;  // from an earlier run
  Model({"Bloco", "A", "erro=Bloco*A", "B(A)", "A*B"});
  EXPECT_EQ(options.Lines().size(), 5u);
  const std::vector<int> kinds = {1, 1, 4, 3, 2, 4};
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(st.identifica_FV[i], kinds[i - 1]) << i;
  EXPECT_EQ(st.Op_FV[2][0], 0);
}

TEST_F(SetUpDialogs, SlotsLevelsAndLimits) {
  Model({"Trat", "erro=Bloco"});
  const std::vector<std::pair<std::string, double>> levels = {
      {"0.05", 0.05}, {"0.10", 0.1}, {"0,05", 0.05}, {"abc", 0.05}, {"", 0.05}, {"0.3", 0.3}, {"1e-2", 0.01}};
  for (std::size_t i = 0; i < levels.size() && i < 7; ++i) {
    Pick(kTukey, levels[i].first);
    if (levels[i].first != "0.05" && levels[i].first != "0.10" && levels[i].first != "0.3" &&
        levels[i].first != "1e-2")
      prompter.ExpectMessage("nível de significância errado!\rCorrigido para alpha:=0.05");
    options.ClickLine(0);
    EXPECT_DOUBLE_EQ(st.Op_Alpha[1][i + 1], levels[i].second) << levels[i].first;
    EXPECT_EQ(st.Op_FV[1][i + 1], kTukey);
  }
  EXPECT_EQ(st.Op_FV[1][0], 7);
  prompter.ExpectMessage("Limite de opções para essa FV foi ultrapassado!");
  options.ClickLine(0);
  prompter.ExpectMessage("Essa fonte de variação é erro e não se pode fazer teste!");
  options.ClickLine(1);
  prompter.VerifyDone();
  host.VerifyDone();
  EXPECT_EQ(st.Op_FV[1][0], 7);
  EXPECT_EQ(st.Op_FV[2][0], 0);
}

TEST_F(SetUpDialogs, WindowClosedWithoutOkIsNoTest) {
  Model({"Trat"});
  st.Op_FV[1][1] = kScottKnott;  // from an earlier run
  host.Expect(TForm_Opcao_FV::kName, [](shell::Form&) {});
  options.ClickLine(0);
  EXPECT_EQ(st.Op_FV[1][0], 1);
  EXPECT_EQ(st.Op_FV[1][1], kNenhumTeste);
}

TEST_F(SetUpDialogs, WallerDuncanKIsAskedUntilValid) {
  shell::SetCurrentNumberLocale(shell::NumberLocale::Comma());
  Model({"Trat"});
  EXPECT_EQ(st.k_waller, 100.0);
  Pick(kWallerDuncan, "0.05");
  const std::string title = "Entre com K: ", prompt = "(K: 50: 10%, 100: 5% e 500:1%, > 1):";
  prompter.ExpectInput(title, prompt, "1");
  prompter.ExpectMessage("O valor deve ser um número maior que 1.");
  prompter.ExpectInput(title, prompt, "2.5");  // the user's separator is ","
  prompter.ExpectMessage("O valor deve ser um número maior que 1.");
  prompter.ExpectInput(title, prompt, "2,5");
  options.ClickLine(0);
  EXPECT_EQ(st.k_waller, 2.5);
  Pick(kWallerDuncan, "0.05");
  prompter.ExpectInput(title, prompt, std::nullopt);
  options.ClickLine(0);
  EXPECT_EQ(st.k_waller, 2.5);
  EXPECT_EQ(st.Op_FV[1][2], kWallerDuncan);
  prompter.VerifyDone();
  shell::SetCurrentNumberLocale(shell::NumberLocale::Dot());
}

TEST_F(SetUpDialogs, InteractionNeedsTheFactorToSplit) {
  Model({"A", "B", "A*B(C)"});
  host.Expect(TForm_Opcao_FV::kName, [&](shell::Form& f) {
    auto& w = static_cast<TForm_Opcao_FV&>(f);
    EXPECT_TRUE(w.ShowsFactors());
    EXPECT_EQ(w.Factors(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(w.Label(), "FV: A*B(C)");
    w.Opcao = kTukey;
    w.Ok();
    EXPECT_FALSE(w.Closed());
    w.FatorSelecionado = 1;
    w.Ok();
    EXPECT_TRUE(w.Closed());
  });
  prompter.ExpectMessage(
      "Você não escolheu nenhuma variável na listagem apresentada!\r"
      "Escolha uma para ser dedobrada em relação a todos os níveis das demais");
  options.ClickLine(2);  // one error term: no complex-variance question
  prompter.VerifyDone();
  EXPECT_EQ(st.Op_FVC[3][1], 2);
  EXPECT_EQ(st.Op_FV[3][1], kTukey);
  EXPECT_EQ(st.OP_VarComp[3][1].usa, 0);
}

TEST_F(SetUpDialogs, ComplexVariances) {
  struct Case {
    std::string b, k, a, bb;
    bool ok;
    double storedB;
  };
  const std::vector<Case> cases = {
      {"2.5", "3", "1", "2", true, 2}, {"3.5", "3", "1", "2", true, 4},
      {"1", "3", "3", "1", false, 0},  {"1", "3", "2", "2", false, 0},
      {"1", "3", "0", "2", false, 0},  {"1", "0.4", "1", "2", false, 0},
      {"1", "x", "1", "2", false, 0},  {"1", "2", "2", "1", true, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.b + " " + c.k + " " + c.a + " " + c.bb);
    Model({"Bloco", "A", "erro=Bloco*A", "B", "A*B"});
    host.Expect(TForm_VarComp::kName, [&](shell::Form& f) {
      auto& w = static_cast<TForm_VarComp&>(f);
      EXPECT_EQ(w.ErrosLabel(), "Número de erros da TABELA de ANAVA é: 2");
      w.Ed_b = c.b, w.Ed_k = c.k, w.Ed_QMEa = c.a, w.Ed_QMEb = c.bb;
      w.Ok();
      EXPECT_EQ(w.Closed(), c.ok);
    });
    host.Expect(TForm_Opcao_FV::kName, [&](shell::Form& f) {
      auto& w = static_cast<TForm_Opcao_FV&>(f);
      w.Opcao = kTukey;
      w.FatorSelecionado = 0;
      w.Ok();
    });
    // The complex-variance window opens before the option window.
    prompter.ExpectYesNo("Voce vai usar variância complexa?", Answer::Yes);
    if (!c.ok) prompter.ExpectMessage("Favor alterar valores pois esses possuem erros");
    options.ClickLine(4);
    prompter.VerifyDone();
    // A window left with wrong values uses no complex variance.
    EXPECT_EQ(st.OP_VarComp[5][1].usa, c.ok ? 1 : 0);
    if (c.ok) EXPECT_EQ(st.OP_VarComp[5][1].b, c.storedB);
  }
}

TEST(RegressionModels, OneToTenBoxesStoredInBoxOrder) {
  AnovaState st;
  st.LB_Anova = {"Dose", "Fim"};
  st.nfv = 2;
  st.identifica_FV[1] = kMainEffect;
  st.identifica_FV[2] = kErrorTerm;
  st.Op_FV[1] = {3, kRegressao, kTukey, kRegressao};
  testing::ScriptedPrompter prompter;
  testing::ScriptedWindowHost host;
  TForm_Reg_OP_Fv dialog(prompter);
  host.Expect(TForm_Reg_OP_Fv::kName, [&](shell::Form& f) {
    auto& d = static_cast<TForm_Reg_OP_Fv&>(f);
    EXPECT_EQ(d.Lb1, "Dose");
    EXPECT_EQ(d.Lb2, "1");
    d.Ok();  // no box
    for (int c = 0; c < 11; ++c) d.cb[c] = true;
    d.Ok();  // eleven boxes
    EXPECT_FALSE(d.Closed());
    d.cb.fill(false);
    d.cb[10] = d.cb[1] = d.cb[0] = true;  // Ln (X), X^2, X
    d.Ok();
    EXPECT_TRUE(d.Closed());
  });
  host.Expect(TForm_Reg_OP_Fv::kName, [&](shell::Form& f) {
    auto& d = static_cast<TForm_Reg_OP_Fv&>(f);
    EXPECT_EQ(d.Lb2, "3");
    EXPECT_EQ(std::count(d.cb.begin(), d.cb.end(), true), 0);  // cleared on activation
    d.cb[3] = true;
    // closed by its close box, without "Ok"
  });
  prompter.ExpectMessage("Modelo com mais de 10 parâmetros, ou sem parâmetro!");
  prompter.ExpectMessage("Modelo com mais de 10 parâmetros, ou sem parâmetro!");
  AskRegressionModels(st, host, dialog);
  prompter.VerifyDone();
  host.VerifyDone();
  EXPECT_EQ(st.Op_Reg[1][1][0], 3);
  EXPECT_EQ(st.Op_Reg[1][1][1], 1);
  EXPECT_EQ(st.Op_Reg[1][1][2], 2);
  EXPECT_EQ(st.Op_Reg[1][1][3], 11);
  EXPECT_EQ(st.Op_FV[1][3], kNenhumTeste);
  EXPECT_EQ(st.Op_Reg[1][3][0], 0);
}

TEST(ResponsesDialog, RefusesFactorsRepeatsAndTexts) {
  const auto table = MakeTable({Col("Bloco", {1.0}), Col("A", {"a"}), Col("Nome", {"x"}),
                                Col("y", {1.0}), Col("z", {2.0}), Col("Bloco2", {1.0})});
  AnovaState st;
  st.LB_Anova = {"erro=Bloco2", "A*Bloco", "Fim"};
  st.nfv = 3;
  st.press_fim = true;
  testing::ScriptedPrompter p2;
  TForm_Variaveis f2(st, table, p2);
  f2.Show();
  EXPECT_EQ(f2.Counter(), "N. variáveis: 0");
  p2.ExpectMessage("Esta variável já foi usada como fonte de variação");
  f2.ClickColumn(0);
  p2.ExpectMessage("Esta variável já foi usada como fonte de variação");
  f2.ClickColumn(1);
  p2.ExpectMessage("Esta variável não é numérica, e \rnão pode ser analisada!");
  f2.ClickColumn(2);
  f2.ClickColumn(3);
  p2.ExpectMessage("Esta variável já foi selecionada");
  f2.ClickColumn(3);
  f2.ClickColumn(5);  // "erro=Bloco2" keeps its prefix: Bloco2 is not a factor here
  f2.ClickColumn(4);
  EXPECT_EQ(f2.Chosen(), (std::vector<std::string>{"y", "Bloco2", "z"}));
  f2.Remover(1);
  EXPECT_EQ(f2.Counter(), "N. variáveis: 2");
  f2.Finalizar();
  EXPECT_TRUE(f2.Closed());
  p2.VerifyDone();
}

TEST(ResponsesDialog, FinishingWithoutResponses) {
  const auto table = MakeTable({Col("y", {1.0})});
  for (Answer a : {Answer::No, Answer::Yes}) {
    AnovaState st;
    testing::ScriptedPrompter prompter;
    TForm_Variaveis form(st, table, prompter);
    form.Show();
    prompter.ExpectYesNo("Nenhuma variável foi selecionada! Vai finalizar assim mesmo?", a);
    form.Finalizar();
    EXPECT_EQ(form.Closed(), a == Answer::Yes);
    EXPECT_EQ(st.tem_erro, a == Answer::Yes);
    // The close box asks again unless the dialog was finished.
    if (a == Answer::No)
      prompter.ExpectYesNo("Nenhuma variável foi selecionada! Vai finalizar assim mesmo?", Answer::No);
    EXPECT_EQ(form.CloseQuery(), a == Answer::Yes);
    prompter.VerifyDone();
  }
}

TEST(TransformationsDialog, CodesInOrderNoneAndLimit) {
  AnovaState st;
  st.responses = {"y", "z"};
  st.nva = 2;
  st.Op_VarToAna[1][0] = 4;  // earlier run
  testing::ScriptedPrompter prompter;
  testing::ScriptedWindowHost host;
  TForm_Opcao_Transf window(st);
  TForm_Transf form(st, prompter, host, window);
  form.Show();
  EXPECT_EQ(st.Op_VarToAna[1][0], 0);
  form.MouseOverList(true);
  EXPECT_EQ(form.Status(), "Clique na variável para escolher a transformação!");
  form.MouseOverList(false);
  EXPECT_EQ(form.Status(), "Clique em finalizar quando terminar de escolher as opções");
  auto choose = [&](int code) {
    host.Expect(TForm_Opcao_Transf::kName, [code](shell::Form& f) {
      auto& w = static_cast<TForm_Opcao_Transf&>(f);
      EXPECT_EQ(w.Label(), "y");
      w.Codigo = code;
      w.Ok();
    });
    form.ClickResponse(0);
  };
  choose(4);
  choose(0);  // "Nenhuma" adds nothing
  choose(1);
  choose(4);  // the same twice is analysed twice
  host.Expect(TForm_Opcao_Transf::kName, [](shell::Form&) {});  // closed by its close box
  form.ClickResponse(0);
  choose(5);
  prompter.ExpectMessage("Limite de opções para essa FV foi ultrapassado!");
  form.ClickResponse(0);
  prompter.VerifyDone();
  host.VerifyDone();
  const std::array<std::uint8_t, 6> want = {5, 4, 1, 4, 0, 5};
  EXPECT_EQ(st.Op_VarToAna[1], want);
  EXPECT_EQ(st.Op_VarToAna[2][0], 0);
}

}  // namespace
}  // namespace tolmex::anova
