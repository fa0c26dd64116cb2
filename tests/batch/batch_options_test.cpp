#include "batch/batch_options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

#include "batch/batch_cli.h"

namespace tolmex::batch {
namespace {

using ::testing::HasSubstr;

struct GoodOption {
  const char* text;
  const char* fv;
  int code;
  std::optional<std::string> alpha;
  std::optional<std::string> desdobrar;
};

class GoodOptionTest : public ::testing::TestWithParam<GoodOption> {};

TEST_P(GoodOptionTest, ParsesSourceTestLevelAndSplit) {
  const GoodOption& c = GetParam();
  const OptionSpec s = ParseOptionSpec(c.text);
  EXPECT_EQ(s.fv, c.fv);
  EXPECT_EQ(s.code, c.code);
  EXPECT_EQ(s.alpha, c.alpha);
  EXPECT_EQ(s.desdobrar, c.desdobrar);
  EXPECT_EQ(s.text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GoodOptionTest,
    ::testing::Values(
        GoodOption{"Trat:tukey", "Trat", 1, std::nullopt, std::nullopt},
        GoodOption{"Trat:Tukey:0.01", "Trat", 1, "0.01", std::nullopt},
        GoodOption{"Trat:nenhum", "Trat", 0, std::nullopt, std::nullopt},
        GoodOption{"Trat:snk", "Trat", 2, std::nullopt, std::nullopt},
        GoodOption{"Trat:bonferroni", "Trat", 3, std::nullopt, std::nullopt},
        GoodOption{"Trat:lsd", "Trat", 4, std::nullopt, std::nullopt},
        GoodOption{"Trat:scott-knott", "Trat", 5, std::nullopt, std::nullopt},
        GoodOption{"2:waller:0.10", "2", 8, "0.10", std::nullopt},
        // The level is kept as typed: the option window corrects what it cannot read.
        GoodOption{"Trat:lsd:0,05", "Trat", 4, "0,05", std::nullopt},
        GoodOption{"A*B:snk:desdobrar= B ", "A*B", 2, std::nullopt, "B"},
        GoodOption{"B(A):tukey:0.05:desdobrar=B", "B(A)", 1, "0.05", "B"},
        // A source holding ":" is taken up to the first part that names a test.
        GoodOption{"Dose:x:tukey", "Dose:x", 1, std::nullopt, std::nullopt},
        // The source is kept exactly, blanks included ("A*B " is another line).
        GoodOption{"A*B :tukey:desdobrar=A", "A*B ", 1, std::nullopt, "A"}));

TEST(OptionSpec, ComplexVarianceKeepsTheFourTexts) {
  const OptionSpec s = ParseOptionSpec("A*B:tukey:desdobrar=A:vc=1, 2,2.5,3");
  ASSERT_TRUE(s.vc);
  EXPECT_EQ(s.vc->qmeA, "1");
  EXPECT_EQ(s.vc->qmeB, "2");
  EXPECT_EQ(s.vc->b, "2.5");
  EXPECT_EQ(s.vc->k, "3");
}

TEST(OptionSpec, ContrastsSplitAtSemicolonsAndBlanks) {
  const OptionSpec s = ParseOptionSpec("Trat:contrastes:coef=1 -1 0; 2  -1 -1;");
  using V = std::vector<std::vector<std::string>>;
  EXPECT_EQ(s.contrasts, (V{{"1", "-1", "0"}, {"2", "-1", "-1"}}));
  // Quotes kept by the shell are dropped.
  EXPECT_EQ(ParseContrastList("\"0.5 0.5 -1\""), (V{{"0.5", "0.5", "-1"}}));
}

TEST(OptionSpec, RegressionTermsKeptAsGiven) {
  const OptionSpec s = ParseOptionSpec("Dose:regressao:0.05:termos=X, X^2 ,3");
  EXPECT_EQ(s.terms, (std::vector<std::string>{"X", "X^2", "3"}));
  EXPECT_EQ(s.code, 7);
}

struct BadOption {
  const char* text;
  const char* message;  // part of the refusal
};

class BadOptionTest : public ::testing::TestWithParam<BadOption> {};

TEST_P(BadOptionTest, IsRefusedWithAClearMessage) {
  const BadOption& c = GetParam();
  try {
    ParseOptionSpec(c.text);
    FAIL() << "accepted: " << c.text;
  } catch (const BatchRefusal& e) {
    EXPECT_THAT(e.what(), HasSubstr(c.message)) << c.text;
    EXPECT_THAT(e.what(), HasSubstr(c.text));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadOptionTest,
    ::testing::Values(BadOption{"Trat", "falta o teste"}, BadOption{"Trat:tukei", "falta o teste"},
                      BadOption{":tukey", "falta a FV"},
                      BadOption{"Trat:tukey:0.05:0.01", "CHAVE=VALOR"},
                      BadOption{"Trat:tukey:cor=azul", "chave desconhecida"},
                      BadOption{"A*B:tukey:desdobrar=", "desdobrar= sem fator"},
                      BadOption{"A*B:tukey:desdobrar=A:desdobrar=B", "mais de uma vez"},
                      BadOption{"A*B:tukey:desdobrar=A:vc=1,2,3", "quatro valores"},
                      BadOption{"A*B:tukey:desdobrar=A:vc=1,,2,3", "quatro valores"},
                      BadOption{"Trat:contrastes", "pede os coeficientes"},
                      BadOption{"Trat:contrastes:coef=", "sem coeficientes"},
                      BadOption{"Trat:contrastes:coef=1", "menos de 2 coeficientes"},
                      BadOption{"Trat:contrastes:coef=1 -1; 3", "contraste 2 tem menos de 2"},
                      BadOption{"Trat:tukey:coef=1 -1", "só vale com contrastes"},
                      BadOption{"Dose:regressao", "pede os termos"},
                      BadOption{"Dose:regressao:termos=X,,X^2", "termo vazio"},
                      BadOption{"Dose:tukey:termos=X", "só vale com regressao"}));

TEST(RegressionTerms, CaptionsIgnoreBlanksAndCaseOrCodes) {
  constexpr std::array<const char*, 5> captions = {"X", "X^2", "SQRT(X)", "Log (X)", "Ln (X)"};
  EXPECT_EQ(ResolveRegressionTerms({"x^2", "X", "log(x)", " Ln ( X ) ", "3"}, captions),
            (std::vector<int>{2, 1, 4, 5, 3}));
  for (const char* bad : {"X^3", "0", "6", "-1", "2.0"}) {
    EXPECT_THROW(ResolveRegressionTerms({bad}, captions), BatchRefusal) << bad;
  }
  // A box is checked once: the same term twice (by caption and by code) is refused.
  EXPECT_THROW(ResolveRegressionTerms({"X^2", "2"}, captions), BatchRefusal);
}

TEST(Transformations, NamesAndCodes) {
  const TransformSpec s = ParseTransformSpec("Prod=raiz,RAIZ+0.5, raiz+1,log10,ln");
  EXPECT_EQ(s.response, "Prod");
  EXPECT_EQ(s.codes, (std::vector<int>{1, 2, 3, 4, 5}));
  for (const char* bad : {"Prod", "=raiz", "Prod=", "Prod=sqrt", "Prod=raiz,,ln", "Prod=log"}) {
    EXPECT_THROW(ParseTransformSpec(bad), BatchRefusal) << bad;
  }
}

TEST(DotDecimal, WholeTextWithDotOnly) {
  EXPECT_EQ(ParseDotDecimal(" 2.5 "), 2.5);
  EXPECT_EQ(ParseDotDecimal("1e3"), 1000.0);
  EXPECT_EQ(ParseDotDecimal("-4"), -4.0);
  for (const char* bad : {"", "2,5", "+2", "2.5x", "inf", "nan", "0x10", "1 0"}) {
    EXPECT_FALSE(ParseDotDecimal(bad)) << bad;
  }
}

BatchOptions Minimal() {
  BatchOptions o;
  o.tabela = "t.fdt";
  o.modelo = {"Trat"};
  o.respostas = {"Prod", "Peso"};
  return o;
}

TEST(CheckOptions, MergesTransformationsPerResponseInOrder) {
  BatchOptions o = Minimal();
  o.transformacoes = {ParseTransformSpec("Peso=ln"), ParseTransformSpec("Prod=raiz"),
                      ParseTransformSpec("Peso=raiz,raiz")};
  CheckOptions(o);
  ASSERT_EQ(o.transformacoes.size(), 2u);
  EXPECT_EQ(o.transformacoes[0].response, "Peso");
  EXPECT_EQ(o.transformacoes[0].codes, (std::vector<int>{5, 1, 1}));
  EXPECT_EQ(o.transformacoes[1].codes, (std::vector<int>{1}));
}

TEST(CheckOptions, Refusals) {
  struct Case {
    const char* what;
    std::function<void(BatchOptions&)> change;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"no table", [](BatchOptions& o) { o.tabela.clear(); }, "--tabela"},
      {"no response", [](BatchOptions& o) { o.respostas.clear(); }, "--resposta"},
      {"transformation of another column",
       [](BatchOptions& o) { o.transformacoes = {ParseTransformSpec("Trat=ln")}; },
       "não é uma das variáveis"},
      {"six transformations",
       [](BatchOptions& o) {
         o.transformacoes = {ParseTransformSpec("Prod=raiz,ln,ln"),
                             ParseTransformSpec("Prod=log10,raiz,raiz+1")};
       },
       "no máximo 5"},
      {"K of 1", [](BatchOptions& o) { o.kWaller = "1"; }, "maior que 1"},
      {"K with a comma", [](BatchOptions& o) { o.kWaller = "1,5"; }, "maior que 1"},
      {"K not a number", [](BatchOptions& o) { o.kWaller = "cem"; }, "maior que 1"},
      {"output .pdf", [](BatchOptions& o) { o.saida = "rel.pdf"; }, ".txt ou .rtf"},
      {"output without extension", [](BatchOptions& o) { o.saida = "pasta.txt/rel"; },
       ".txt ou .rtf"},
  };
  for (const Case& c : cases) {
    BatchOptions o = Minimal();
    c.change(o);
    try {
      CheckOptions(o);
      ADD_FAILURE() << "accepted: " << c.what;
    } catch (const BatchRefusal& e) {
      EXPECT_THAT(e.what(), HasSubstr(c.message)) << c.what;
    }
  }
}

TEST(CheckOptions, KAndOutputKind) {
  BatchOptions o = Minimal();
  o.kWaller = "1.01";
  o.saida = "out/Rel.TXT";
  CheckOptions(o);
  EXPECT_DOUBLE_EQ(o.kWallerValue, 1.01);
  EXPECT_EQ(o.outputKind, OutputKind::Text);
  o.saida = "rel.rtf";
  CheckOptions(o);
  EXPECT_EQ(o.outputKind, OutputKind::Rtf);
  o.saida.clear();
  CheckOptions(o);
  EXPECT_EQ(o.outputKind, OutputKind::Stdout);
}

TEST(CommandLine, WholeCommand) {
  const CommandLine cl = ParseCommandLine(
      {"anova", "--tabela", "dados.csv", "--modelo", "Bloco", "--modelo=A", "--modelo",
       "erro=Bloco*A", "--modelo", "B", "--modelo", "A*B", "--resposta", "Prod", "--resposta",
       "Alt", "--transformacao", "Prod=raiz", "--opcao", "A:tukey", "--opcao",
       "A*B:snk:0.01:desdobrar=B", "--opcao", "B:contrastes:coef=1 -1 0", "--k-waller", "500",
       "--saida", "r.txt", "--semente", "42"});
  ASSERT_FALSE(cl.help);
  const BatchOptions& o = cl.options;
  EXPECT_EQ(o.tabela, "dados.csv");
  EXPECT_EQ(o.modelo, (std::vector<std::string>{"Bloco", "A", "erro=Bloco*A", "B", "A*B"}));
  EXPECT_EQ(o.respostas, (std::vector<std::string>{"Prod", "Alt"}));
  ASSERT_EQ(o.transformacoes.size(), 1u);
  ASSERT_EQ(o.opcoes.size(), 3u);
  EXPECT_EQ(o.opcoes[1].fv, "A*B");
  EXPECT_EQ(o.opcoes[2].contrasts.size(), 1u);
  EXPECT_DOUBLE_EQ(o.kWallerValue, 500);
  EXPECT_EQ(o.outputKind, OutputKind::Text);
  EXPECT_EQ(o.semente, 42u);
}

TEST(CommandLine, DefaultsAndHelp) {
  const CommandLine cl =
      ParseCommandLine({"anova", "--tabela", "t.fdt", "--modelo", "Trat", "--resposta", "Y"});
  EXPECT_EQ(cl.options.kWaller, "100");
  EXPECT_FALSE(cl.options.semente);
  EXPECT_EQ(cl.options.outputKind, OutputKind::Stdout);
  EXPECT_TRUE(ParseCommandLine({"--help"}).help);
  EXPECT_TRUE(ParseCommandLine({"anova", "--tabela", "x", "-h"}).help);
  EXPECT_THAT(HelpText(), HasSubstr("--opcao \"FV:TESTE[:ALFA][:CHAVE=VALOR]...\""));
}

TEST(CommandLine, Refusals) {
  const std::vector<std::pair<std::vector<std::string>, const char*>> cases = {
      {{}, "falta o comando"},
      {{"regressao"}, "comando desconhecido"},
      {{"anova", "--modelo", "Trat", "--resposta", "Y"}, "--tabela"},
      {{"anova", "--tabela", "t.fdt", "--modelo", "Trat"}, "--resposta"},
      {{"anova", "--tabela", "a.fdt", "--tabela", "b.fdt", "--resposta", "Y"},
       "mais de uma vez"},
      {{"anova", "--tabela", "t.fdt", "--resposta", "Y", "--tabel", "x"}, "não reconhecido"},
      {{"anova", "--tabela", "t.fdt", "--resposta", "Y", "sobra"}, "não reconhecido"},
      {{"anova", "--tabela", "t.fdt", "--resposta"}, "sem valor"},
      {{"anova", "--tabela", "t.fdt", "--resposta", "Y", "--semente", "-1"}, "inteiro"},
      {{"anova", "--tabela", "t.fdt", "--resposta", "Y", "--semente", "7x"}, "inteiro"},
      {{"anova", "--tabela", "t.fdt", "--resposta", "Y", "--opcao", "Trat"}, "falta o teste"},
      {{"anova", "--tabela", "t.fdt", "--resposta", "Y", "--k-waller", "0.5"}, "maior que 1"},
  };
  for (const auto& [args, message] : cases) {
    try {
      ParseCommandLine(args);
      ADD_FAILURE() << "accepted: " << ::testing::PrintToString(args);
    } catch (const BatchRefusal& e) {
      EXPECT_THAT(e.what(), HasSubstr(message)) << ::testing::PrintToString(args);
    }
  }
}

}  // namespace
}  // namespace tolmex::batch
