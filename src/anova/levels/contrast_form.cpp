#include "anova/levels/contrast_form.h"

#include <charconv>
#include <cmath>

#include "shell/prompter.h"
#include "shell/text_utils.h"
#include "shell/window_host.h"

namespace tolmex::anova::levels {

bool ParseCoefficient(std::string_view text, double& value) {
  std::string_view s = shell::Trim(text);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty() || s.front() == '+') return false;
  double v = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
}

void TCont::SelectLevel(std::size_t i) {
  if (i < LB_Niveis.size()) {
    nivelSelecionado = static_cast<int>(i);
    Lbl_nivel = LB_Niveis[i];
  } else {
    nivelSelecionado = -1;
    Lbl_nivel.clear();
  }
}

void TCont::Activate() {
  SelectLevel(0);
  Ed_coef.clear();
  focoEdCoef = true;
  Ach_erro = false;
  closed_ = false;
  coefSelecionado = -1;
}

void TCont::Acrescentar() {
  if (Ed_coef.empty() || Ed_coef == " " || Ed_coef == "  ") return;
  const std::size_t count = LB_Coef.size();
  if (Numniv < 0 || count >= static_cast<std::size_t>(Numniv)) return;
  if (count + 1 < static_cast<std::size_t>(Numniv)) SelectLevel(count + 1);
  LB_Coef.push_back(Ed_coef);
  Ed_coef.clear();
  focoEdCoef = true;
}

void TCont::Alterar() {
  if (coefSelecionado < 0 || static_cast<std::size_t>(coefSelecionado) >= LB_Coef.size()) return;
  LB_Coef[static_cast<std::size_t>(coefSelecionado)] = Ed_coef;
}

void TCont::Limpar() {
  LB_Coef.clear();
  coefSelecionado = -1;
  SelectLevel(0);
  focoEdCoef = true;
}

bool TCont::ContrasteErrado() {
  coef_.clear();
  if (LB_Coef.size() < 2) return true;
  double sum = 0;
  for (std::size_t i = 0; i < LB_Coef.size(); ++i) {
    double v = 0;
    if (!ParseCoefficient(LB_Coef[i], v)) {
      prompter_.Error("Erro no coeficiente " + std::to_string(i + 1));
      coef_.clear();
      return true;
    }
    coef_.push_back(v);
    sum += v;
  }
  if (sum != 0 && std::fabs(sum) > 1e-6) {
    prompter_.Error("Esse não é um contraste, pois não soma zero!");
    coef_.clear();
    return true;
  }
  return false;
}

void TCont::NovoContraste() {
  if (ContrasteErrado()) {
    prompter_.Error("Erros foram encontrados!");
    focoEdCoef = true;
    return;
  }
  finalizou = false;
  closed_ = true;
}

void TCont::Finalizar() {
  if (ContrasteErrado()) {
    prompter_.Warning("Aviso: ERROS foram encontrados!\rNada foi feito para esse contraste!");
    Ach_erro = true;
  }
  finalizou = true;
  closed_ = true;
}

bool TCont::CloseQuery() {
  if (closed_) return true;
  NovoContraste();
  return closed_;
}

std::optional<ContrastAnswer> TContPort::AskContrast(const ContrastRequest& request) {
  TCont& f = form_;
  f.Lb1 = request.fvName;
  f.Lb2 = request.variable;
  f.LB_Niveis = request.levels;
  f.Numniv = static_cast<int>(request.levels.size());
  f.LB_Coef.clear();
  f.Lb3 = request.context;
  f.Lb3Visivel = !request.context.empty();
  f.finalizou = false;
  f.Activate();
  host_.ShowModal(f);
  if (!f.Closed()) {
    // The window went away without any of its closing paths: end the contrasts and
    // compute nothing for the coefficients left in it.
    f.Ach_erro = true;
    f.finalizou = true;
  }
  ContrastAnswer a;
  a.coefficients = f.LB_Coef;
  a.finalizou = f.finalizou;
  a.Ach_erro = f.Ach_erro;
  f.LB_Coef.clear();
  if (f.finalizou) f.Lb3Visivel = false;
  return a;
}

}  // namespace tolmex::anova::levels
