#include "batch/batch_cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>

#include "shell/text_utils.h"

namespace tolmex::batch {

namespace {

std::string Join(const std::vector<std::string>& items) {
  std::string r;
  for (const auto& s : items) {
    if (!r.empty()) r += ' ';
    r += s;
  }
  return r;
}

// The single value of an option that may be given at most once.
bool Single(const std::vector<std::string>& values, const char* name, std::string& out) {
  if (values.size() > 1)
    throw BatchRefusal(std::string("a opção ") + name + " foi dada mais de uma vez");
  if (values.empty()) return false;
  out = values.front();
  return true;
}

}  // namespace

const std::string& HelpText() {
  static const std::string text =
      "tolmex-batch: análise de variância sem janelas, com o relatório na saída padrão.\n"
      "\n"
      "Uso:\n"
      "  tolmex-batch anova --tabela ARQUIVO [--modelo LINHA]... --resposta NOME [--resposta NOME]...\n"
      "        [--transformacao NOME=COD[,COD]...]\n"
      "        [--opcao \"FV:TESTE[:ALFA][:CHAVE=VALOR]...\"]...\n"
      "        [--k-waller K] [--saida ARQUIVO.txt|ARQUIVO.rtf] [--semente N]\n"
      "  tolmex-batch --help\n"
      "\n"
      "Opções:\n"
      "  --tabela ARQUIVO   tabela .fdt, ou arquivo .csv, .ods ou .xlsx lido com as regras de\n"
      "                     importação (nada é gravado). O relatório cita o caminho como foi dado.\n"
      "  --modelo LINHA     uma fonte de variação (FV) por opção, na ordem do quadro, como na\n"
      "                     janela do modelo: Trat, A*B, Rep(A), erro=Bloco*A. \"Fim\" é acrescentado.\n"
      "  --resposta NOME    variável resposta (coluna numérica); repita para várias.\n"
      "  --transformacao NOME=COD[,COD]...\n"
      "                     transformações da resposta NOME (até 5), analisadas depois da variável\n"
      "                     sem transformação. COD: raiz | raiz+0.5 | raiz+1 | log10 | ln\n"
      "  --opcao \"FV:TESTE[:ALFA][:CHAVE=VALOR]...\"\n"
      "                     um procedimento para a FV (o texto da linha do modelo ou o seu número,\n"
      "                     a partir de 1); repita para até 7 por FV, na ordem. ALFA: nível de\n"
      "                     significância com \".\" decimal (padrão 0.05).\n"
      "                     TESTE: nenhum | tukey | snk | bonferroni | lsd | scott-knott |\n"
      "                            contrastes | regressao | waller\n"
      "                     CHAVE: desdobrar=FATOR  fator a desdobrar (obrigatório em interações e\n"
      "                                             FV aninhadas, recusado em efeitos principais)\n"
      "                            vc=ORDEM_A,ORDEM_B,b,k  variância complexa\n"
      "                                             VC = [QMEa + b*QMEb] / k (só com mais de um erro)\n"
      "                            coef=\"1 -1 0; 2 -1 -1\"  contrastes (obrigatório com contrastes):\n"
      "                                             um por \";\", coeficientes na ordem dos níveis\n"
      "                            termos=X,X^2,...  termos da regressão (obrigatório com regressao):\n"
      "                                             legenda da caixa ou código de 1 a 24, de 1 a 10\n"
      "  --k-waller K       razão K do teste de Waller-Duncan, número maior que 1 (padrão 100).\n"
      "  --saida ARQUIVO    grava o relatório: .txt com o texto exato (linhas CR LF) ou .rtf como\n"
      "                     a janela de relatório gravaria. Sem --saida: saída padrão, linhas LF.\n"
      "  --semente N        semente do gerador pseudoaleatório (inteiro não negativo).\n"
      "  -h, --help         mostra este texto.\n"
      "\n"
      "As mensagens que o programa mostraria em caixas vão para a saída de erros, e as perguntas\n"
      "são respondidas pelas opções.\n"
      "\n"
      "Situação de saída: 0 relatório produzido; 2 argumentos errados ou dados recusados, antes de\n"
      "qualquer cálculo; 1 qualquer outra falha.\n"
      "\n"
      "Exemplo (parcela subdividida):\n"
      "  tolmex-batch anova --tabela examples/parcela_subdividida_soja.fdt \\\n"
      "    --modelo Bloco --modelo Preparo --modelo erro=Bloco*Preparo --modelo Cultivar \\\n"
      "    --modelo Preparo*Cultivar --resposta Prod --opcao Cultivar:tukey \\\n"
      "    --opcao \"Preparo*Cultivar:tukey:desdobrar=Cultivar\"\n";
  return text;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  if (std::find(args.begin(), args.end(), "--help") != args.end() ||
      std::find(args.begin(), args.end(), "-h") != args.end()) {
    cl.help = true;
    return cl;
  }
  if (args.empty())
    throw BatchRefusal("falta o comando; use: tolmex-batch anova --tabela ARQUIVO ... "
                       "(tolmex-batch --help mostra todas as opções)");
  if (args.front() != "anova")
    throw BatchRefusal("comando desconhecido \"" + args.front() +
                       "\"; o único comando é anova (tolmex-batch --help)");

  CLI::App app{"tolmex-batch"};
  app.set_help_flag();
  app.allow_extras();
  CLI::App* sub = app.add_subcommand("anova");
  sub->set_help_flag();
  sub->allow_extras();

  std::vector<std::string> tabela, modelo, resposta, transformacao, opcao, kWaller, saida,
      semente;
  auto many = [&](const char* name, std::vector<std::string>& into) {
    sub->add_option(name, into)->expected(1)->allow_extra_args(false)->multi_option_policy(
        CLI::MultiOptionPolicy::TakeAll);
  };
  many("--tabela", tabela);
  many("--modelo", modelo);
  many("--resposta", resposta);
  many("--transformacao", transformacao);
  many("--opcao", opcao);
  many("--k-waller", kWaller);
  many("--saida", saida);
  many("--semente", semente);

  // CLI11 takes the arguments in reverse order.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ArgumentMismatch& e) {
    throw BatchRefusal(std::string("uma opção ficou sem valor (") + e.what() + ")");
  } catch (const CLI::ParseError& e) {
    throw BatchRefusal(std::string("argumentos inválidos (") + e.what() + ")");
  }
  std::vector<std::string> extra = sub->remaining();
  const auto top = app.remaining();
  extra.insert(extra.end(), top.begin(), top.end());
  if (!extra.empty())
    throw BatchRefusal("argumento não reconhecido: " + Join(extra) +
                       " (tolmex-batch --help mostra as opções)");

  BatchOptions& o = cl.options;
  Single(tabela, "--tabela", o.tabela);
  o.modelo = modelo;
  o.respostas = resposta;
  for (const auto& t : transformacao) o.transformacoes.push_back(ParseTransformSpec(t));
  for (const auto& t : opcao) o.opcoes.push_back(ParseOptionSpec(t));
  Single(kWaller, "--k-waller", o.kWaller);
  Single(saida, "--saida", o.saida);
  std::string seed;
  if (Single(semente, "--semente", seed)) {
    const std::string_view s = shell::Trim(seed);
    std::uint64_t v = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || ptr != s.data() + s.size())
      throw BatchRefusal("--semente \"" + seed + "\": use um inteiro não negativo");
    o.semente = v;
  }
  CheckOptions(o);
  return cl;
}

}  // namespace tolmex::batch
