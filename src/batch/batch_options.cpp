#include "batch/batch_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "shell/text_utils.h"

namespace tolmex::batch {

namespace {

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

std::string TrimmedCopy(std::string_view s) { return std::string(shell::Trim(s)); }

std::vector<std::string_view> Split(std::string_view s, char sep) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t pos = s.find(sep, start);
    if (pos == std::string_view::npos) {
      out.push_back(s.substr(start));
      return out;
    }
    out.push_back(s.substr(start, pos - start));
    start = pos + 1;
  }
}

// Without blanks and in lower case: how captions and terms are compared.
std::string Folded(std::string_view s) {
  std::string r;
  for (char c : s)
    if (c != ' ' && c != '\t') r.push_back(c);
  return Lower(r);
}

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

std::string TestList() {
  std::string r;
  for (int i = 0; i < 9; ++i) {
    if (i) r += ", ";
    r += kTestNames[i];
  }
  return r;
}

std::optional<int> ParseSmallInt(std::string_view text) {
  const std::string_view s = shell::Trim(text);
  if (s.empty()) return std::nullopt;
  int v = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
  return v;
}

}  // namespace

int TestCode(std::string_view name) {
  const std::string n = Lower(shell::Trim(name));
  for (int i = 0; i < 9; ++i)
    if (n == kTestNames[i]) return i;
  return -1;
}

std::optional<double> ParseDotDecimal(std::string_view text) {
  const std::string_view s = shell::Trim(text);
  if (s.empty() || s.front() == '+') return std::nullopt;
  double v = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::vector<std::vector<std::string>> ParseContrastList(std::string_view text) {
  std::string_view s = shell::Trim(text);
  // coef="1 -1 0; 2 -1 -1": the quotes may reach the program when the shell kept them.
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
  std::vector<std::vector<std::string>> out;
  for (std::string_view piece : Split(s, ';')) {
    std::vector<std::string> coefs;
    std::size_t i = 0;
    while (i < piece.size()) {
      while (i < piece.size() && (piece[i] == ' ' || piece[i] == '\t')) ++i;
      std::size_t j = i;
      while (j < piece.size() && piece[j] != ' ' && piece[j] != '\t') ++j;
      if (j > i) coefs.emplace_back(piece.substr(i, j - i));
      i = j;
    }
    if (!coefs.empty()) out.push_back(std::move(coefs));
  }
  return out;
}

std::vector<int> ResolveRegressionTerms(const std::vector<std::string>& items,
                                        std::span<const char* const> captions) {
  std::vector<int> codes;
  for (const std::string& item : items) {
    int code = -1;
    const std::string f = Folded(item);
    for (std::size_t i = 0; i < captions.size(); ++i)
      if (Folded(captions[i]) == f) code = static_cast<int>(i) + 1;
    if (code < 0) {
      const auto n = ParseSmallInt(item);
      if (n && *n >= 1 && *n <= static_cast<int>(captions.size())) code = *n;
    }
    if (code < 0)
      throw BatchRefusal("termo de regressão desconhecido: " + Quoted(item) +
                         " (use a legenda da caixa do modelo ou o código de 1 a " +
                         std::to_string(captions.size()) + ")");
    if (std::find(codes.begin(), codes.end(), code) != codes.end())
      throw BatchRefusal("termo de regressão repetido: " + Quoted(item));
    codes.push_back(code);
  }
  return codes;
}

OptionSpec ParseOptionSpec(std::string_view text) {
  OptionSpec spec;
  spec.text = std::string(text);
  const std::string where = "--opcao " + Quoted(text) + ": ";
  const std::vector<std::string_view> parts = Split(text, ':');

  // The source may itself hold ":"; the test is the first part after it that names one.
  std::size_t t = 1;
  while (t < parts.size() && TestCode(parts[t]) < 0) ++t;
  if (t >= parts.size())
    throw BatchRefusal(where + "falta o teste depois da FV (" + TestList() + ")");
  for (std::size_t i = 0; i < t; ++i) {
    if (i) spec.fv += ':';
    spec.fv += parts[i];
  }
  if (shell::Trim(spec.fv).empty()) throw BatchRefusal(where + "falta a FV");
  spec.code = TestCode(parts[t]);

  bool haveCoef = false, haveTerms = false;
  for (std::size_t i = t + 1; i < parts.size(); ++i) {
    const std::string_view part = parts[i];
    const std::size_t eq = part.find('=');
    if (eq == std::string_view::npos) {
      if (i != t + 1 || spec.alpha)
        throw BatchRefusal(where + "o nível de significância vem logo depois do teste; " +
                           Quoted(part) + " não é CHAVE=VALOR");
      spec.alpha = TrimmedCopy(part);
      continue;
    }
    const std::string key = Lower(shell::Trim(part.substr(0, eq)));
    const std::string_view value = part.substr(eq + 1);
    auto once = [&](bool seen) {
      if (seen) throw BatchRefusal(where + "a chave " + key + "= aparece mais de uma vez");
    };
    if (key == "desdobrar") {
      once(spec.desdobrar.has_value());
      spec.desdobrar = TrimmedCopy(value);
      if (spec.desdobrar->empty()) throw BatchRefusal(where + "desdobrar= sem fator");
    } else if (key == "vc") {
      once(spec.vc.has_value());
      const auto items = Split(value, ',');
      if (items.size() != 4)
        throw BatchRefusal(where + "vc= pede quatro valores: ORDEM_A,ORDEM_B,b,k");
      for (auto it : items)
        if (shell::Trim(it).empty())
          throw BatchRefusal(where + "vc= pede quatro valores: ORDEM_A,ORDEM_B,b,k");
      spec.vc = ComplexVarianceSpec{TrimmedCopy(items[0]), TrimmedCopy(items[1]),
                                    TrimmedCopy(items[2]), TrimmedCopy(items[3])};
    } else if (key == "coef") {
      once(haveCoef);
      haveCoef = true;
      spec.contrasts = ParseContrastList(value);
      if (spec.contrasts.empty()) throw BatchRefusal(where + "coef= sem coeficientes");
      for (std::size_t c = 0; c < spec.contrasts.size(); ++c)
        if (spec.contrasts[c].size() < 2)
          throw BatchRefusal(where + "o contraste " + std::to_string(c + 1) +
                             " tem menos de 2 coeficientes");
    } else if (key == "termos") {
      once(haveTerms);
      haveTerms = true;
      for (auto it : Split(value, ',')) {
        if (shell::Trim(it).empty()) throw BatchRefusal(where + "termos= com termo vazio");
        spec.terms.push_back(TrimmedCopy(it));
      }
    } else {
      throw BatchRefusal(where + "chave desconhecida " + Quoted(key) +
                         " (desdobrar=, vc=, coef=, termos=)");
    }
  }

  if (spec.code == 6 && !haveCoef)
    throw BatchRefusal(where + "contrastes pede os coeficientes em coef=");
  if (spec.code != 6 && haveCoef) throw BatchRefusal(where + "coef= só vale com contrastes");
  if (spec.code == 7 && !haveTerms)
    throw BatchRefusal(where + "regressao pede os termos do modelo em termos=");
  if (spec.code != 7 && haveTerms) throw BatchRefusal(where + "termos= só vale com regressao");
  return spec;
}

int TransformCodeOf(std::string_view name) {
  static constexpr const char* kNames[] = {"raiz", "raiz+0.5", "raiz+1", "log10", "ln"};
  const std::string n = Folded(name);
  for (int i = 0; i < 5; ++i)
    if (n == kNames[i]) return i + 1;
  return -1;
}

TransformSpec ParseTransformSpec(std::string_view text) {
  const std::string where = "--transformacao " + Quoted(text) + ": ";
  const std::size_t eq = text.rfind('=');
  if (eq == std::string_view::npos)
    throw BatchRefusal(where + "use NOME=COD[,COD]... (COD: raiz, raiz+0.5, raiz+1, log10, ln)");
  TransformSpec spec;
  spec.response = TrimmedCopy(text.substr(0, eq));
  if (spec.response.empty()) throw BatchRefusal(where + "falta o nome da variável resposta");
  for (auto item : Split(text.substr(eq + 1), ',')) {
    const int code = TransformCodeOf(item);
    if (code < 0)
      throw BatchRefusal(where + "transformação desconhecida " + Quoted(shell::Trim(item)) +
                         " (raiz, raiz+0.5, raiz+1, log10, ln)");
    spec.codes.push_back(code);
  }
  return spec;
}

OutputKind OutputKindOf(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.find_last_of("/\\");
  const std::string ext =
      dot == std::string::npos || (slash != std::string::npos && dot < slash)
          ? std::string()
          : Lower(std::string_view(path).substr(dot));
  if (ext == ".txt") return OutputKind::Text;
  if (ext == ".rtf") return OutputKind::Rtf;
  throw BatchRefusal("--saida " + Quoted(path) + ": o arquivo deve terminar em .txt ou .rtf");
}

void CheckOptions(BatchOptions& o) {
  if (o.tabela.empty()) throw BatchRefusal("falta --tabela ARQUIVO (.fdt, .csv, .ods ou .xlsx)");
  if (o.respostas.empty()) throw BatchRefusal("falta --resposta NOME (ao menos uma)");

  // Transformations given in several options for one response are merged in order.
  std::vector<TransformSpec> merged;
  for (const TransformSpec& t : o.transformacoes) {
    if (std::find(o.respostas.begin(), o.respostas.end(), t.response) == o.respostas.end())
      throw BatchRefusal("--transformacao: " + Quoted(t.response) +
                         " não é uma das variáveis de --resposta");
    auto it = std::find_if(merged.begin(), merged.end(),
                           [&](const TransformSpec& m) { return m.response == t.response; });
    if (it == merged.end()) {
      merged.push_back(t);
    } else {
      it->codes.insert(it->codes.end(), t.codes.begin(), t.codes.end());
    }
  }
  for (const TransformSpec& m : merged)
    if (m.codes.size() > 5)
      throw BatchRefusal("--transformacao: no máximo 5 transformações por variável (" +
                         Quoted(m.response) + " tem " + std::to_string(m.codes.size()) + ")");
  o.transformacoes = std::move(merged);

  const auto k = ParseDotDecimal(o.kWaller);
  if (!k || !(*k > 1))
    throw BatchRefusal("--k-waller " + Quoted(o.kWaller) +
                       ": K deve ser um número maior que 1, com \".\" como separador decimal");
  o.kWallerValue = *k;

  o.outputKind = o.saida.empty() ? OutputKind::Stdout : OutputKindOf(o.saida);
}

}  // namespace tolmex::batch
