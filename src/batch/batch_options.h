#pragma once
// The options of the batch runner: what the analysis-of-variance dialogs would collect,
// given on the command line. Parsing here checks only the form of each option; what needs
// the model or the table is checked by the dialogs' own code when the runner drives them.
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tolmex::batch {

// Exit statuses of the runner.
inline constexpr int kExitOk = 0;       // the report was produced
inline constexpr int kExitFailure = 1;  // any other failure
inline constexpr int kExitRefused = 2;  // bad arguments or refused input, nothing ran

// A refusal of the arguments or of the input (exit status 2). The text is Portuguese.
class BatchRefusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Complex variance VC = [QMEa + b*QMEb] / k of one slot: the four texts as they are typed
// into the complex-variance window (the window parses and rounds them).
struct ComplexVarianceSpec {
  std::string qmeA, qmeB, b, k;
};

// One "--opcao FV:TESTE[:ALFA][:CHAVE=VALOR]..." : one option slot of a source.
struct OptionSpec {
  std::string text;  // the option as given, for messages
  std::string fv;    // the model line's text or its 1-based number
  int code = 0;      // option code 0..8
  std::optional<std::string> alpha;       // significance level as typed
  std::optional<std::string> desdobrar;   // factor to split
  std::optional<ComplexVarianceSpec> vc;  // complex variance
  std::vector<std::vector<std::string>> contrasts;  // coef=: coefficients as typed
  std::vector<std::string> terms;                   // termos=: captions or codes, as given
};

// Transformations of one response ("--transformacao NOME=COD[,COD]...").
struct TransformSpec {
  std::string response;
  std::vector<int> codes;  // 1..5
};

enum class OutputKind { Stdout, Text, Rtf };

struct BatchOptions {
  std::string tabela;               // table path as given
  std::vector<std::string> modelo;  // model lines, in order ("Fim" is added by the window)
  std::vector<std::string> respostas;
  std::vector<TransformSpec> transformacoes;  // merged per response, in order of mention
  std::vector<OptionSpec> opcoes;
  std::string kWaller = "100";  // "." decimals, a number above 1
  double kWallerValue = 100.0;
  std::string saida;
  OutputKind outputKind = OutputKind::Stdout;
  std::optional<std::uint64_t> semente;
};

// Names of the tests in the option syntax, by option code.
inline constexpr const char* kTestNames[9] = {"nenhum",  "tukey",       "snk",
                                              "bonferroni", "lsd",      "scott-knott",
                                              "contrastes", "regressao", "waller"};

// Option code of a test name (case-insensitive), or -1.
int TestCode(std::string_view name);

// Parses one "--opcao" text. Throws BatchRefusal with a Portuguese message.
OptionSpec ParseOptionSpec(std::string_view text);

// The coefficients of "coef=": contrasts separated by ";", coefficients by blanks.
std::vector<std::vector<std::string>> ParseContrastList(std::string_view text);

// Regression terms of "termos=", resolved against the captions of the regression-model
// dialog's boxes (box i is code i + 1): each item is a caption (blanks and letter case
// ignored) or a code 1..24. Returns the codes in the order given. Throws BatchRefusal.
std::vector<int> ResolveRegressionTerms(const std::vector<std::string>& items,
                                        std::span<const char* const> captions);

// Transformation code of "raiz", "raiz+0.5", "raiz+1", "log10", "ln", or -1.
int TransformCodeOf(std::string_view name);

// Parses one "--transformacao NOME=COD[,COD]..." text. Throws BatchRefusal.
TransformSpec ParseTransformSpec(std::string_view text);

// A number with "." as the decimal separator, the whole text (blanks around allowed).
std::optional<double> ParseDotDecimal(std::string_view text);

// The output kind of "--saida" by its extension (.txt or .rtf, any letter case).
// Throws BatchRefusal.
OutputKind OutputKindOf(const std::string& path);

// Checks that need all options together (responses of the transformations, counts).
// Throws BatchRefusal.
void CheckOptions(BatchOptions& options);

}  // namespace tolmex::batch
