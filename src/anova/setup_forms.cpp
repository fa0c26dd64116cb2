#include "anova/setup_forms.h"

#include <algorithm>

#include "anova/model_language.h"
#include "data/data_table.h"
#include "shell/convert.h"
#include "shell/number_locale.h"
#include "shell/prompter.h"
#include "shell/window_host.h"

namespace tolmex::anova {

namespace {
std::size_t U(int i) { return static_cast<std::size_t>(i); }

// A number written with the user's decimal separator (the whole text).
std::optional<double> ParseLocaleNumber(std::string s) {
  const char dec = shell::CurrentNumberLocale().decimalSeparator;
  if (dec != '.') {
    if (s.find('.') != std::string::npos) return std::nullopt;
    std::replace(s.begin(), s.end(), dec, '.');
  }
  return ParseDotNumber(s);
}
}  // namespace

// ---------------------------------------------------------------- complex variances

void TForm_VarComp::Show(int fv, int slot) {
  Reopen();
  fv_ = fv;
  slot_ = slot;
  accepted_ = false;
}

std::string TForm_VarComp::ErrosLabel() const {
  return "Número de erros da TABELA de ANAVA é: " + std::to_string(st_.num_erros);
}

void TForm_VarComp::Ok() {
  VarComplexa& rec = st_.OP_VarComp[U(fv_)][U(slot_)];
  bool wrong = false;
  auto take = [&](const std::string& text, double& field) -> std::optional<std::int32_t> {
    const auto v = ParseDotNumber(text);
    if (!v) {
      wrong = true;
      return std::nullopt;
    }
    const auto r = shell::TryRoundToInt(*v);
    if (!r) {
      wrong = true;
      return std::nullopt;
    }
    field = *r;
    return r;
  };
  take(Ed_b, rec.b);
  const auto k = take(Ed_k, rec.k);
  const auto a = take(Ed_QMEa, rec.QMEa);
  const auto b = take(Ed_QMEb, rec.QMEb);
  if (a && (*a > st_.num_erros || *a < 1)) wrong = true;
  if (b && (*b > st_.num_erros || *b < 1)) wrong = true;
  if (a && b && *a == *b) wrong = true;
  if (k && *k == 0) wrong = true;
  if (wrong) {
    prompter_.Warning("Favor alterar valores pois esses possuem erros");
    return;
  }
  accepted_ = true;
  Close();
}

// ---------------------------------------------------------------- option window

void TForm_Opcao_FV::Show(int fv, int slot) {
  Reopen();
  fv_ = fv;
  slot_ = slot;
  const std::string& line = Linha(st_, fv);
  label_ = "FV: " + line;
  const auto kind = st_.identifica_FV[U(fv)];
  // Closed without "Ok", the slot is "Nenhum teste".
  st_.Op_FV[U(fv)][U(slot)] = kNenhumTeste;
  FatorSelecionado = -1;
  factors_.clear();
  showFactors_ = kind == kInteraction || kind == kNested;
  VarComplexa& vc = st_.OP_VarComp[U(fv)][U(slot)];
  if (showFactors_) {
    factors_ = TermFactors(line);
    if (st_.num_erros < 2) {
      vc.usa = 0;
    } else if (prompter_.AskYesNo("Voce vai usar variância complexa?") == shell::Answer::Yes) {
      vc.usa = 1;
      varComp_.Show(fv, slot);
      host_.ShowModal(varComp_);
      // A window closed without valid values uses no complex variance.
      if (!varComp_.Accepted()) vc.usa = 0;
    } else {
      vc.usa = 0;
    }
  } else {
    vc.usa = 0;
  }
}

void TForm_Opcao_FV::Ok() {
  const auto parsed = ParseDotNumber(Ed_alpha);
  const double level = parsed ? *parsed : 0.05;
  st_.alpha = level;
  st_.Op_Alpha[U(fv_)][U(slot_)] = level;
  if (!parsed) prompter_.Warning("nível de significância errado!\rCorrigido para alpha:=0.05");
  const int code = std::clamp(Opcao, 0, 8);
  if (code == kWallerDuncan) {
    for (;;) {
      const auto text =
          prompter_.InputBox("Entre com K: ", "(K: 50: 10%, 100: 5% e 500:1%, > 1):", "100");
      if (!text) break;
      const auto k = ParseLocaleNumber(*text);
      if (k && *k > 1) {
        st_.k_waller = *k;
        break;
      }
      prompter_.Error("O valor deve ser um número maior que 1.");
    }
  }
  if (showFactors_) {
    if (FatorSelecionado < 0 || FatorSelecionado >= static_cast<int>(factors_.size())) {
      prompter_.Warning(
          "Você não escolheu nenhuma variável na listagem apresentada!\r"
          "Escolha uma para ser dedobrada em relação a todos os níveis das demais");
      return;
    }
    st_.Op_FVC[U(fv_)][U(slot_)] = static_cast<std::uint8_t>(FatorSelecionado + 1);
  }
  st_.Op_FV[U(fv_)][U(slot_)] = static_cast<std::uint8_t>(code);
  Close();
}

// ---------------------------------------------------------------- options dialog

void TForm_Opcoes_ANAVA::Show() {
  Reopen();
  lines_.clear();
  for (int i = 1; i <= st_.nfv - 1 && i <= kMaxFV; ++i) {
    lines_.push_back(Linha(st_, i));
    st_.identifica_FV[U(i)] = ClassifyLine(Linha(st_, i));
    st_.Op_FV[U(i)][0] = 0;
  }
  if (st_.nfv >= 1 && st_.nfv <= kMaxFV) st_.identifica_FV[U(st_.nfv)] = kErrorTerm;
}

void TForm_Opcoes_ANAVA::ClickLine(int index) {
  if (index < 0 || index >= static_cast<int>(lines_.size())) return;
  const int fv = index + 1;
  auto& ops = st_.Op_FV[U(fv)];
  if (ops[0] >= kMaxSlots) {
    prompter_.Warning("Limite de opções para essa FV foi ultrapassado!");
    return;
  }
  if (lines_[U(index)].find("erro=") != std::string::npos) {
    prompter_.Warning("Essa fonte de variação é erro e não se pode fazer teste!");
    return;
  }
  ++ops[0];
  option_.Show(fv, ops[0]);
  host_.ShowModal(option_);
}

// ---------------------------------------------------------------- regression models

const std::array<const char*, 24> TForm_Reg_OP_Fv::kCaptions = {
    "X",         "X^2",         "X^3",         "X^4",
    "X^5",       "X^6",         "SQRT(X)",     "X^(1/3)",
    "1/X",       "Log (X)",     "Ln (X)",      "Sen (X)",
    "Cos (X)",   "Tg (X)",      "1 / ( X + 0.5 )", "Exp ( X)",
    "Exp [ - (X^2) / 2 ]", "Log2 ( X )", "SenH ( X )", "CosH ( X )",
    "TangH ( X )", "Cotg ( X )", "Ln(X)*Tg(X)", "Exp (X) * SenH (X)"};

void TForm_Reg_OP_Fv::Show() {
  Reopen();
  cb.fill(false);
  accepted_ = false;
}

void TForm_Reg_OP_Fv::Ok() {
  conta = static_cast<int>(std::count(cb.begin(), cb.end(), true));
  if (conta >= 1 && conta <= kMaxRegTerms) {
    accepted_ = true;
    Close();
  } else {
    prompter_.Warning("Modelo com mais de 10 parâmetros, ou sem parâmetro!");
  }
}

void AskRegressionModels(AnovaState& st, shell::WindowHost& host, TForm_Reg_OP_Fv& dialog) {
  for (int i = 1; i <= st.nfv - 1 && i <= kMaxFV; ++i) {
    if (st.identifica_FV[U(i)] == kErrorTerm) continue;
    const int slots = std::min<int>(st.Op_FV[U(i)][0], kMaxSlots);
    for (int s = 1; s <= slots; ++s) {
      if (st.Op_FV[U(i)][U(s)] != kRegressao) continue;
      dialog.Lb1 = Linha(st, i);
      dialog.Lb2 = std::to_string(s);
      dialog.Show();
      host.ShowModal(dialog);
      auto& reg = st.Op_Reg[U(i)][U(s)];
      reg.fill(0);
      if (!dialog.Accepted()) {
        st.Op_FV[U(i)][U(s)] = kNenhumTeste;
        continue;
      }
      int n = 0;
      for (int c = 0; c < 24 && n < kMaxRegTerms; ++c)
        if (dialog.cb[U(c)]) reg[U(++n)] = static_cast<std::uint8_t>(c + 1);
      reg[0] = static_cast<std::uint8_t>(n);
    }
  }
}

// ---------------------------------------------------------------- responses

void TForm_Variaveis::Show() {
  Reopen();
  columns_.clear();
  if (table_.Active() || table_.FieldCount() > 0)
    for (int c = 0; c < table_.FieldCount(); ++c) columns_.push_back(table_.FieldName(c));
  st_.responses.clear();
  st_.nva = 0;
  finished_ = false;
}

std::string TForm_Variaveis::Counter() const { return "N. variáveis: " + std::to_string(st_.nva); }

void TForm_Variaveis::ClickColumn(int index) {
  if (index < 0 || index >= static_cast<int>(columns_.size())) return;
  const std::string& name = columns_[U(index)];
  const int lastModelLine = st_.press_fim ? st_.nfv - 1 : st_.nfv;
  for (int i = 1; i <= lastModelLine && i <= static_cast<int>(st_.LB_Anova.size()); ++i) {
    const std::string& line = Linha(st_, i);
    // Split at "*", "(" and ")"; the "erro=" prefix stays on the first name.
    std::size_t start = 0;
    for (std::size_t p = 0; p <= line.size(); ++p) {
      if (p == line.size() || line[p] == '*' || line[p] == '(' || line[p] == ')') {
        if (line.compare(start, p - start, name) == 0 && p - start == name.size()) {
          prompter_.Warning("Esta variável já foi usada como fonte de variação");
          return;
        }
        start = p + 1;
      }
    }
  }
  if (std::find(st_.responses.begin(), st_.responses.end(), name) != st_.responses.end()) {
    prompter_.Warning("Esta variável já foi selecionada");
    return;
  }
  if (!data::IsNumeric(table_.DataType(index))) {
    prompter_.Warning("Esta variável não é numérica, e \rnão pode ser analisada!");
    return;
  }
  ++st_.nva;
  st_.responses.push_back(name);
}

void TForm_Variaveis::Remover(int index) {
  if (index < 0 || index >= static_cast<int>(st_.responses.size())) return;
  st_.responses.erase(st_.responses.begin() + index);
  --st_.nva;
}

void TForm_Variaveis::Finalizar() {
  if (st_.nva > 0) {
    finished_ = true;
    Close();
    return;
  }
  if (prompter_.AskYesNo("Nenhuma variável foi selecionada! Vai finalizar assim mesmo?") ==
      shell::Answer::Yes) {
    st_.tem_erro = true;
    finished_ = true;
    Close();
  }
}

bool TForm_Variaveis::CloseQuery() {
  if (finished_ || st_.nva > 0) return true;
  if (prompter_.AskYesNo("Nenhuma variável foi selecionada! Vai finalizar assim mesmo?") ==
      shell::Answer::Yes) {
    st_.tem_erro = true;
    return true;
  }
  return false;
}

// ---------------------------------------------------------------- transformations

void TForm_Opcao_Transf::Show(int v) {
  Reopen();
  v_ = v;
  label_ = st_.responses.at(U(v - 1));
  auto& ops = st_.Op_VarToAna[U(v)];
  ops[ops[0]] = 0;  // closed by its close box: analysed once more without transformation
}

void TForm_Opcao_Transf::Ok() {
  auto& ops = st_.Op_VarToAna[U(v_)];
  if (Codigo >= 1 && Codigo <= 5)
    ops[ops[0]] = static_cast<std::uint8_t>(Codigo);
  else if (ops[0] > 0)
    --ops[0];
  Close();
}

void TForm_Transf::Show() {
  Reopen();
  for (int v = 1; v <= static_cast<int>(st_.responses.size()) && v <= kMaxFV; ++v)
    st_.Op_VarToAna[U(v)][0] = 0;
  status_.clear();
}

void TForm_Transf::MouseOverList(bool overList) {
  status_ = overList ? "Clique na variável para escolher a transformação!"
                     : "Clique em finalizar quando terminar de escolher as opções";
}

void TForm_Transf::ClickResponse(int index) {
  if (index < 0 || index >= static_cast<int>(st_.responses.size()) || index + 1 > kMaxFV) return;
  auto& ops = st_.Op_VarToAna[U(index + 1)];
  if (ops[0] >= kMaxTransforms) {
    prompter_.Warning("Limite de opções para essa FV foi ultrapassado!");
    return;
  }
  ++ops[0];
  window_.Show(index + 1);
  host_.ShowModal(window_);
}

}  // namespace tolmex::anova
