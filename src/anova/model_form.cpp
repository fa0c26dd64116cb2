#include "anova/model_form.h"

#include "anova/model_language.h"
#include "data/data_table.h"
#include "shell/prompter.h"
#include "shell/report.h"

namespace tolmex::anova {

namespace {
bool HasErro(const std::string& s) { return s.find("erro=") != std::string::npos; }
constexpr int kMaxModelLines = kMaxFV - 1;  // "Fim" makes the 200th line
}  // namespace

void TForm_modelo::Show() {
  Reopen();
  st_.nfv = 0;
  st_.num_erros = 1;
  st_.LB_Anova.clear();
  st_.ListBox_Variaveis.clear();
  st_.tem_erro = false;
  st_.press_fim = false;
  st_.erro = false;
  Edit_FV.clear();
  hint_ = kHintLeft;
}

void TForm_modelo::ColumnListFocus(bool focused) { hint_ = focused ? kHintFocused : kHintLeft; }

void TForm_modelo::SelectColumn(int index) {
  if (index < 0 || index >= static_cast<int>(st_.ListBox_Variaveis.size())) return;
  Edit_FV += st_.ListBox_Variaveis[static_cast<std::size_t>(index)];
}

void TForm_modelo::FillColumns() {
  st_.ListBox_Variaveis.clear();
  const data::DataTable& t = source_.Table();
  if (!t.Active()) return;
  for (int c = 0; c < t.FieldCount(); ++c) st_.ListBox_Variaveis.push_back(t.FieldName(c));
}

void TForm_modelo::AbrirArquivo() {
  source_.CloseTable();
  source_.LoadTable();
  if (source_.Table().Active()) FillColumns();
}

void TForm_modelo::FecharArquivo() {
  if (source_.Table().Active())
    source_.CloseTable();
  else
    prompter_.Information("O arquivo já está fechado!");
  if (!source_.Table().Active()) st_.ListBox_Variaveis.clear();
}

void TForm_modelo::BotaoErro() { Edit_FV = "erro="; }
void TForm_modelo::BotaoAsterisco() { Edit_FV += "*"; }
void TForm_modelo::BotaoAbre() { Edit_FV += "("; }
void TForm_modelo::BotaoFecha() { Edit_FV += ")"; }

void TForm_modelo::Adicionar() {
  if (Edit_FV.empty()) return;
  if (st_.nfv >= kMaxModelLines) {
    prompter_.Warning("O modelo pode ter no máximo 199 fontes de variação!");
    return;
  }
  st_.LB_Anova.push_back(Edit_FV);
  if (HasErro(Edit_FV)) ++st_.num_erros;
  ++st_.nfv;
  Edit_FV.clear();
}

void TForm_modelo::Remover(int index) {
  if (index < 0 || index >= static_cast<int>(st_.LB_Anova.size())) return;
  --st_.nfv;
  if (HasErro(st_.LB_Anova[static_cast<std::size_t>(index)])) --st_.num_erros;
  st_.LB_Anova.erase(st_.LB_Anova.begin() + index);
}

void TForm_modelo::Limpar() {
  st_.LB_Anova.clear();
  st_.nfv = 0;
  st_.num_erros = 1;
}

void TForm_modelo::Fim() {
  if (st_.press_fim) return;
  // 1. Structure.
  if (st_.nfv <= 0) {
    prompter_.Warning("Erro: Arquivo não tem FV's' definidas!");
    st_.tem_erro = true;
  }
  for (const std::string& line : st_.LB_Anova) {
    const bool open = line.find('(') != std::string::npos;
    const bool close = line.find(')') != std::string::npos;
    if (open != close) {
      prompter_.Warning("Erro: Faltando parênteses em, \r" + line + "!");
      st_.tem_erro = true;
    }
    if (line.find("**") != std::string::npos) {
      prompter_.Warning("Erro: duplo * em, \r" + line + "!");
      st_.tem_erro = true;
    }
  }
  // 2. Duplicates, only when the structure is sound.
  if (!st_.tem_erro) {
    const auto& l = st_.LB_Anova;
    bool found = false;
    for (std::size_t i = 0; i < l.size() && !found; ++i)
      for (std::size_t j = i + 1; j < l.size() && !found; ++j)
        if (l[i] == l[j]) {
          prompter_.Warning("Erro: Fontes de variação duplicadas em, \r" + l[i] + "\r" + l[j] + "!");
          st_.tem_erro = true;
          found = true;
        }
  }
  // 3. The table should be open.
  if (!source_.Table().Active()) prompter_.Warning("Cuidado arquivo esta desativado!!");
  // 4. Close?
  if (prompter_.AskYesNo("Quer encerrar o quadro de análise de variância?") != shell::Answer::Yes) {
    st_.tem_erro = false;
    return;
  }
  st_.LB_Anova.push_back("Fim");
  ++st_.nfv;
  Edit_FV.clear();
  st_.press_fim = true;
  Close();
  if (report_) {
    report_->AppendText("Arquivo analisado:\r\n\r\n");
    report_->AppendText(source_.FileName());
    report_->AppendText("\r\n\r\n");
  }
}

void TForm_modelo::Ajuda() {
  if (help_) help_(kAnovaHelpFile);
}

void TForm_modelo::Escape() {
  if (prompter_.AskYesNo(" Deseja realmente abandonar a ANAVA?") != shell::Answer::Yes) return;
  st_.tem_erro = true;
  CloseQuery();  // the close question is still asked; the window closes whatever the answer
  Close();
}

bool TForm_modelo::CloseQuery() {
  if (st_.press_fim) return true;
  const char* q = st_.nfv > 0 ? "Abandonar a análise?" : "Abandonar?";
  if (prompter_.AskOkCancel(q) == shell::Answer::Ok) st_.tem_erro = true;
  return st_.tem_erro;
}

bool CheckModelNames(AnovaState& st, shell::Prompter& prompter) {
  const int lines = static_cast<int>(st.LB_Anova.size());
  if (lines > kMaxFV) {
    st.tem_erro = true;
    prompter.Error("O modelo tem mais de 200 linhas!");
    return false;
  }
  bool ok = true;
  for (int i = 0; i < lines; ++i) {
    const std::string& line = st.LB_Anova[static_cast<std::size_t>(i)];
    if (st.press_fim && i == lines - 1) break;  // the closing "Fim"
    for (const auto& name : LineNames(line))
      if (ColumnOf(st, name) < 0) ok = false;
  }
  if (!ok) {
    st.tem_erro = true;
    prompter.Warning("Fontes de variação com digitação errada, \rou faltando * ou parenteses!");
    return false;
  }
  for (int i = 0; i < lines - (st.press_fim ? 1 : 0); ++i) {
    const std::string& line = st.LB_Anova[static_cast<std::size_t>(i)];
    if (TermFactors(line).size() > static_cast<std::size_t>(kMaxFactors)) {
      st.tem_erro = true;
      prompter.Error("A fonte de variação tem mais de 12 fatores:\r" + line);
      return false;
    }
  }
  return true;
}

}  // namespace tolmex::anova
