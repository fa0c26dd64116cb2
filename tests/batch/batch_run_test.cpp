// The batch runner as a whole: arguments in, report, messages and exit status out.
#include "batch/batch_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/exchange/csv.h"
#include "data/exchange/ods.h"
#include "data/exchange/xlsx.h"
#include "data/table_file.h"
#include "shell/number_locale.h"

namespace tolmex::batch {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string SourceDir() {
  const char* d = std::getenv("TOLMEX_SOURCE_DIR");
  return d ? d : ".";
}
std::string Example(const std::string& name) { return SourceDir() + "/examples/" + name; }

std::string TempDir() {
  static const std::string dir = [] {
    std::string t = (std::filesystem::temp_directory_path() / "tolmex-batch-test-XXXXXX").string();
    return std::string(mkdtemp(t.data()));
  }();
  return dir;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

struct Result {
  int status;
  std::string out, err;
};

Result RunBatch(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = Main(args, out, err);
  return {status, out.str(), err.str()};
}

class BatchRunTest : public ::testing::Test {
 protected:
  void SetUp() override { shell::SetCurrentNumberLocale(shell::NumberLocale::Dot()); }
};

// ---------------------------------------------------------------- refusals

struct Refusal {
  const char* what;
  std::vector<std::string> args;  // after "anova"
  const char* message;            // on standard error
};

class RefusalTest : public BatchRunTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, ExitsWithStatus2BeforeAnythingRuns) {
  const Refusal& c = GetParam();
  std::vector<std::string> args = {"anova"};
  for (const auto& a : c.args)
    args.push_back(a.rfind("@", 0) == 0 ? Example(a.substr(1)) : a);
  const Result r = RunBatch(args);
  EXPECT_EQ(r.status, kExitRefused) << c.what << "\n" << r.err;
  EXPECT_THAT(r.err, HasSubstr(c.message)) << c.what;
  EXPECT_EQ(r.out, "") << c.what;
}

const std::vector<std::string> kDic = {"--tabela", "@dic_feijao.fdt", "--modelo", "Cultivar"};
const std::vector<std::string> kSplit = {
    "--tabela", "@parcela_subdividida_soja.fdt", "--modelo", "Bloco", "--modelo", "Preparo",
    "--modelo", "erro=Bloco*Preparo", "--modelo", "Cultivar", "--modelo", "Preparo*Cultivar",
    "--resposta", "Prod"};
const std::vector<std::string> kFactorial = {
    "--tabela", "@fatorial_dbc_arroz.fdt", "--modelo", "Bloco", "--modelo", "Fonte",
    "--modelo", "Irrig", "--modelo", "Fonte*Irrig", "--resposta", "Prod"};

std::vector<std::string> With(std::vector<std::string> base, std::vector<std::string> more) {
  base.insert(base.end(), more.begin(), more.end());
  return base;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusalTest,
    ::testing::Values(
        Refusal{"missing table", {"--tabela", "/nao/existe.fdt", "--resposta", "Y"}, "--tabela"},
        Refusal{"table of unknown kind", {"--tabela", "dados.txt", "--resposta", "Y"},
                ".fdt, .csv, .ods ou .xlsx"},
        Refusal{"model name that is no column",
                With(kDic, {"--modelo", "Trat", "--resposta", "Prod"}),
                "Fontes de variação com digitação errada, \nou faltando * ou parenteses!"},
        Refusal{"duplicate model lines",
                With(kDic, {"--modelo", "Cultivar", "--resposta", "Prod"}),
                "Erro: Fontes de variação duplicadas em, \nCultivar\nCultivar!"},
        Refusal{"unbalanced parenthesis",
                With(kDic, {"--modelo", "Rep(Cultivar", "--resposta", "Prod"}),
                "Erro: Faltando parênteses em, \nRep(Cultivar!"},
        Refusal{"response that is no column", With(kDic, {"--resposta", "Altura"}),
                "não há essa coluna"},
        Refusal{"response that is a factor", With(kDic, {"--resposta", "Cultivar"}),
                "Esta variável já foi usada como fonte de variação"},
        Refusal{"response chosen twice", With(kDic, {"--resposta", "Prod", "--resposta", "Prod"}),
                "Esta variável já foi selecionada"},
        Refusal{"text response",
                {"--tabela", "@fatorial_dbc_arroz.fdt", "--modelo", "Bloco", "--resposta",
                 "Fonte"},
                "Esta variável não é numérica, e \nnão pode ser analisada!"},
        Refusal{"option on a source not in the model",
                With(kDic, {"--resposta", "Prod", "--opcao", "Rep:tukey"}),
                "não é uma linha do modelo"},
        Refusal{"option by a number beyond the model",
                With(kDic, {"--resposta", "Prod", "--opcao", "2:tukey"}),
                "não é uma linha do modelo"},
        Refusal{"option on an error line", With(kSplit, {"--opcao", "3:tukey"}),
                "Essa fonte de variação é erro e não se pode fazer teste!"},
        Refusal{"eighth option of a source",
                With(kDic, {"--resposta", "Prod", "--opcao", "Cultivar:tukey", "--opcao",
                            "Cultivar:snk", "--opcao", "Cultivar:lsd", "--opcao",
                            "Cultivar:bonferroni", "--opcao", "Cultivar:tukey:0.01", "--opcao",
                            "Cultivar:snk:0.01", "--opcao", "Cultivar:lsd:0.01", "--opcao",
                            "Cultivar:scott-knott"}),
                "Limite de opções para essa FV foi ultrapassado!"},
        Refusal{"split on a main effect",
                With(kSplit, {"--opcao", "Cultivar:tukey:desdobrar=Cultivar"}),
                "só vale em interações"},
        Refusal{"interaction without the factor to split",
                With(kSplit, {"--opcao", "Preparo*Cultivar:tukey"}), "falta desdobrar=FATOR"},
        Refusal{"split factor not in the source",
                With(kSplit, {"--opcao", "Preparo*Cultivar:tukey:desdobrar=Bloco"}),
                "não é fator de"},
        Refusal{"complex variance with a single error",
                With(kFactorial, {"--opcao", "Fonte*Irrig:tukey:desdobrar=Fonte:vc=1,2,1,2"}),
                "mais de um erro"},
        Refusal{"complex variance order beyond the errors",
                With(kSplit, {"--opcao", "Preparo*Cultivar:tukey:desdobrar=Preparo:vc=3,1,1,2"}),
                "Favor alterar valores pois esses possuem erros"},
        Refusal{"complex variance with equal orders",
                With(kSplit, {"--opcao", "Preparo*Cultivar:tukey:desdobrar=Preparo:vc=2,2,1,2"}),
                "Favor alterar valores pois esses possuem erros"},
        Refusal{"contrast longer than the levels",
                With(kDic, {"--resposta", "Prod", "--opcao",
                            "Cultivar:contrastes:coef=1 1 1 1 1 -5"}),
                "mas \"Cultivar\" tem 5 níveis"},
        Refusal{"contrast that does not add up to zero",
                With(kDic, {"--resposta", "Prod", "--opcao", "Cultivar:contrastes:coef=1 1 -1"}),
                "Esse não é um contraste, pois não soma zero!"},
        Refusal{"coefficient that is no number",
                With(kDic, {"--resposta", "Prod", "--opcao", "Cultivar:contrastes:coef=1 x -1"}),
                "Erro no coeficiente 2"},
        Refusal{"split contrast longer than the split factor's levels",
                With(kSplit, {"--opcao",
                              "Preparo*Cultivar:contrastes:desdobrar=Preparo:coef=1 1 -1 -1"}),
                "mas \"Preparo\" tem 3 níveis"},
        Refusal{"eleven regression terms",
                {"--tabela", "@dose_resposta_trigo.fdt", "--modelo", "Bloco", "--modelo", "Dose",
                 "--resposta", "Prod", "--opcao", "Dose:regressao:termos=1,2,3,4,5,6,7,8,9,10,11"},
                "Modelo com mais de 10 parâmetros, ou sem parâmetro!"},
        Refusal{"unknown regression term",
                {"--tabela", "@dose_resposta_trigo.fdt", "--modelo", "Bloco", "--modelo", "Dose",
                 "--resposta", "Prod", "--opcao", "Dose:regressao:termos=X,X^7"},
                "termo de regressão desconhecido"}));

// ---------------------------------------------------------------- reports

TEST_F(BatchRunTest, ReportOnStandardOutputWithLineFeeds) {
  const std::string table = Example("dic_feijao.fdt");
  const Result r = RunBatch({"anova", "--tabela", table, "--modelo", "Cultivar", "--resposta",
                             "Prod", "--opcao", "Cultivar:tukey"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out.rfind("Arquivo analisado:\n\n" + table + "\n\n", 0), 0u) << r.out;
  EXPECT_THAT(r.out, Not(HasSubstr("\r")));
  EXPECT_THAT(r.out, HasSubstr("Cultivar"));
  EXPECT_THAT(r.out, HasSubstr("Tukey"));
  // The closing question of the model window was answered on standard error.
  EXPECT_THAT(r.err, HasSubstr("Quer encerrar o quadro de análise de variância? [Sim]"));
}

TEST_F(BatchRunTest, TextFileHoldsTheExactReportAndRtfTheSavedReport) {
  const std::vector<std::string> base = {"anova", "--tabela", Example("dbc_milho.fdt"),
                                         "--modelo", "Bloco", "--modelo", "Hibrido",
                                         "--resposta", "Prod", "--opcao", "Hibrido:snk"};
  const Result toStdout = RunBatch(base);
  ASSERT_EQ(toStdout.status, kExitOk) << toStdout.err;

  const std::string txt = TempDir() + "/milho.txt";
  Result r = RunBatch(With(base, {"--saida", txt}));
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out, "");
  const std::string text = ReadAll(txt);
  EXPECT_THAT(text, HasSubstr("\r\n"));
  std::string lf = text;
  for (std::size_t p; (p = lf.find("\r\n")) != std::string::npos;) lf.erase(p, 1);
  EXPECT_EQ(lf, toStdout.out);

  const std::string rtf = TempDir() + "/milho.rtf";
  r = RunBatch(With(base, {"--saida", rtf}));
  ASSERT_EQ(r.status, kExitOk) << r.err;
  const std::string doc = ReadAll(rtf);
  EXPECT_EQ(doc.rfind("{\\rtf", 0), 0u);
  EXPECT_THAT(doc, HasSubstr("Hibrido"));
}

TEST_F(BatchRunTest, LevelWithCommaIsCorrectedAsTheWindowDoes) {
  const Result r = RunBatch({"anova", "--tabela", Example("dic_feijao.fdt"), "--modelo",
                             "Cultivar", "--resposta", "Prod", "--opcao", "Cultivar:tukey:0,05"});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_THAT(r.err, HasSubstr("nível de significância errado!\nCorrigido para alpha:=0.05"));
  const Result dot = RunBatch({"anova", "--tabela", Example("dic_feijao.fdt"), "--modelo",
                               "Cultivar", "--resposta", "Prod", "--opcao", "Cultivar:tukey"});
  // The report names the table as given; the rest is the same analysis.
  EXPECT_EQ(r.out, dot.out);
}

TEST_F(BatchRunTest, CsvTableGivesTheReportOfTheSameTableFile) {
  // The dose-response example written as CSV by hand (";" and decimal commas).
  data::DataTable t;
  data::LoadTableFile(Example("dose_resposta_trigo.fdt"), t);
  std::string csv = "Bloco;Dose;Prod\r\n";
  for (int r = 0; r < t.RecordCount(); ++r) {
    for (int c = 0; c < 3; ++c) {
      std::string cell = t.AsString(r, c);
      for (char& ch : cell)
        if (ch == '.') ch = ',';
      csv += cell + (c < 2 ? ";" : "\r\n");
    }
  }
  const std::string path = TempDir() + "/trigo.csv";
  WriteAll(path, csv);
  const std::vector<std::string> rest = {"--modelo", "Bloco", "--modelo", "Dose", "--resposta",
                                         "Prod", "--opcao", "Dose:regressao:termos=X,X^2"};
  const Result fromCsv = RunBatch(With({"anova", "--tabela", path}, rest));
  const Result fromFdt =
      RunBatch(With({"anova", "--tabela", Example("dose_resposta_trigo.fdt")}, rest));
  ASSERT_EQ(fromCsv.status, kExitOk) << fromCsv.err;
  ASSERT_EQ(fromFdt.status, kExitOk) << fromFdt.err;
  std::string a = fromCsv.out, b = fromFdt.out;
  a.replace(a.find(path), path.size(), "T");
  b.replace(b.find(Example("dose_resposta_trigo.fdt")), Example("dose_resposta_trigo.fdt").size(),
            "T");
  EXPECT_EQ(a, b);
}

TEST_F(BatchRunTest, SpreadsheetsExportedByTheProgramGiveTheSameReport) {
  // Text factors and a split interaction, read back from each exchange format.
  data::DataTable t;
  data::LoadTableFile(Example("fatorial_dbc_arroz.fdt"), t);
  const std::string dir = TempDir();
  data::exchange::WriteFileAtomic(dir + "/arroz.csv", data::exchange::WriteCsv(t));
  data::exchange::WriteFileAtomic(dir + "/arroz.ods", data::exchange::WriteOds(t));
  data::exchange::WriteXlsx(t, dir + "/arroz.xlsx");
  const std::vector<std::string> rest = {
      "--modelo", "Bloco", "--modelo", "Fonte", "--modelo", "Irrig", "--modelo", "Fonte*Irrig",
      "--resposta", "Prod", "--opcao", "Fonte:tukey", "--opcao",
      "Fonte*Irrig:snk:desdobrar=Irrig"};
  auto report = [&](const std::string& path) {
    const Result r = RunBatch(With({"anova", "--tabela", path}, rest));
    EXPECT_EQ(r.status, kExitOk) << path << "\n" << r.err;
    std::string text = r.out;
    const std::size_t at = text.find(path);
    if (at != std::string::npos) text.replace(at, path.size(), "T");
    return text;
  };
  const std::string fdt = report(Example("fatorial_dbc_arroz.fdt"));
  EXPECT_THAT(fdt, HasSubstr("Irrig"));
  for (const char* ext : {".csv", ".ods", ".xlsx"}) {
    EXPECT_EQ(report(dir + "/arroz" + ext), fdt) << ext;
  }
}

TEST_F(BatchRunTest, TransformationOutsideItsDomainFailsWithThePartialReport) {
  // A zero response: its logarithm does not exist.
  const std::string path = TempDir() + "/zero.csv";
  WriteAll(path, "Trat;Y\nA;1\nA;2\nB;0\nB;3\n");
  const Result r = RunBatch({"anova", "--tabela", path, "--modelo", "Trat", "--resposta", "Y",
                             "--transformacao", "Y=log10"});
  EXPECT_EQ(r.status, kExitFailure) << r.err;
  EXPECT_THAT(r.out, HasSubstr("Arquivo analisado:"));
  EXPECT_THAT(r.err, HasSubstr("incompleto"));
}

}  // namespace
}  // namespace tolmex::batch
